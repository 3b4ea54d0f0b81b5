#include "ConfigurationDialog.h"

#include "ComboBoxAccessibility.h"
#include "DemoApp.h"
#include "DialogTemplate.h"
#include "MessageBoxes.h"
#include "StringTable.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>

#include <array>
#include <limits>

namespace trelmo {
namespace {

constexpr int ConfigurationTemplate = 134;
constexpr int TextAutoBaudRate = 138;
constexpr int TextNone = 139;
constexpr int TextBusAddressZero = 140;
constexpr int TextBusAddressEmpty = 141;

constexpr int ModeFixed9600 = 1;
constexpr int ModeFixed115200 = 2;
constexpr int Baud9600Position = 0;
constexpr int Baud115200Position = 4;

const std::array<int, 4> WatchdogTimeouts = {0, 300, 500, 1000};

} // namespace

long LeadingDecimalValue(const QString& text)
{
    constexpr long limit = std::numeric_limits<int>::max();
    long value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        value = std::min(limit, value * 10 + (c.unicode() - '0'));
    }
    return value;
}

CConfigurationDialog::CConfigurationDialog(QWidget* parent) : QDialog(parent)
{
    InstallComboBoxAccessibility();
    BuildDialogFromTemplate(this, DialogTemplate::Load(ConfigurationTemplate));
    modeList_ = Control<QComboBox>(this, ConfigurationControl::OperatingMode);
    baudList_ = Control<QComboBox>(this, ConfigurationControl::BaudRate);
    watchdogList_ = Control<QComboBox>(this, ConfigurationControl::Watchdog);
    busAddressEdit_ = Control<QLineEdit>(this, ConfigurationControl::BusAddress);

    FillLists();
    Control<QLineEdit>(this, ConfigurationControl::DataBits)->setText(QStringLiteral("8"));
    Control<QLineEdit>(this, ConfigurationControl::CheckBit)->setText(LoadText(TextNone));
    Control<QLineEdit>(this, ConfigurationControl::StopBits)->setText(QStringLiteral("1"));
    Control<QLineEdit>(this, ConfigurationControl::CommunicateWatchdog)->setText(LoadText(TextNone));

    modeList_->setCurrentIndex(OperatingModeIndex);
    if (OperatingModeIndex == 0) {
        baudList_->setCurrentIndex(BaudRateIndex);
    } else {
        baudList_->setCurrentIndex(OperatingModeIndex == ModeFixed9600 ? Baud9600Position : Baud115200Position);
        baudList_->setEnabled(false);
    }
    watchdogList_->setCurrentIndex(0);
    busAddressEdit_->setText(BusAddressText);

    connect(modeList_, &QComboBox::currentIndexChanged, this, &CConfigurationDialog::OnModeChanged);
    for (QWidget* watched : {static_cast<QWidget*>(modeList_), static_cast<QWidget*>(baudList_),
                             static_cast<QWidget*>(busAddressEdit_)})
        watched->installEventFilter(this);
}

void CConfigurationDialog::FillLists()
{
    modeList_->addItems({LoadText(TextAutoBaudRate), QString::fromLatin1(OperatingMode9600),
                         QString::fromLatin1(OperatingMode115200)});
    baudList_->addItems({QStringLiteral("9600"), QStringLiteral("19200"), QStringLiteral("38400"),
                         QStringLiteral("57600"), QStringLiteral("115200")});
    watchdogList_->addItems({LoadText(TextNone), QStringLiteral("300ms"), QStringLiteral("500ms"),
                             QStringLiteral("1000ms")});
}

void CConfigurationDialog::OnModeChanged(int position)
{
    baudList_->setEnabled(true);
    if (position == ModeFixed9600) {
        baudList_->setCurrentIndex(Baud9600Position);
        baudList_->setEnabled(false);
    } else if (position == ModeFixed115200) {
        baudList_->setCurrentIndex(Baud115200Position);
        baudList_->setEnabled(false);
    }
}

bool CConfigurationDialog::BusAddressOutOfRange(const QString& text) const
{
    const long value = LeadingDecimalValue(text);
    return value < MinBusAddress || value > MaxBusAddress;
}

void CConfigurationDialog::OnBusAddressFocusLost()
{
    BusAddressText = busAddressEdit_->text();
    if (BusAddressOutOfRange(BusAddressText))
        busAddressEdit_->clear();
}

bool CConfigurationDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        if (watched == modeList_)
            OperatingModeIndex = modeList_->currentIndex();
        else if (watched == baudList_)
            BaudRateIndex = baudList_->currentIndex();
        else if (watched == busAddressEdit_)
            OnBusAddressFocusLost();
    }
    return QDialog::eventFilter(watched, event);
}

void CConfigurationDialog::accept()
{
    CDemoApp& app = TheApp();
    QString busAddress = busAddressEdit_->text();
    app.BaudRate = baudList_->currentText().toInt();

    // OK reached with Enter from the address field (or with a remembered address never revisited) has seen no
    // range check: apply it here, so that only 1..126 is ever stored and sent. Zero is left to its own message.
    if (LeadingDecimalValue(busAddress) > MaxBusAddress) {
        BusAddressText = busAddress;
        busAddress.clear();
        busAddressEdit_->clear();
    }
    if (busAddress.isEmpty()) {
        ShowDialogMessage(this, LoadText(TextBusAddressEmpty));
        return;
    }
    if (LeadingDecimalValue(busAddress) == 0) {
        ShowDialogMessage(this, LoadText(TextBusAddressZero));
        return;
    }
    app.OperatingMode = modeList_->currentText();
    const int watchdog = watchdogList_->currentIndex();
    app.WatchdogTimeout = watchdog >= 0 && watchdog < int(WatchdogTimeouts.size()) ? WatchdogTimeouts[watchdog] : 0;
    app.BusAddress = busAddress.toInt();
    QDialog::accept();
}

} // namespace trelmo
