#include "ConfigurationDialog.h"

#include "DecimalText.h"
#include "MessageBoxes.h"
#include "StringTable.h"

#include <QComboBox>
#include <QLineEdit>

#include <array>

namespace trelmo {
namespace {


// The mode list holds the operating modes in their enum's order; the fixed ones are not translated.
const char* const OperatingMode9600 = "UART 9600bps";
const char* const OperatingMode115200 = "UART 115200bps";
constexpr int ModeFixed9600 = static_cast<int>(OperatingMode::Uart9600);
constexpr int ModeFixed115200 = static_cast<int>(OperatingMode::Uart115200);
constexpr int Baud9600Position = 0;
constexpr int Baud115200Position = 4;

const std::array<int, 4> WatchdogTimeouts = {0, 300, 500, 1000};

// A position that names no fixed mode (none selected) is the detecting mode.
OperatingMode ModeAtPosition(int position)
{
    const bool fixed = position == ModeFixed9600 || position == ModeFixed115200;
    return fixed ? static_cast<OperatingMode>(position) : OperatingMode::AutoBaud;
}

} // namespace

CConfigurationDialog::RememberedChoices& CConfigurationDialog::Remembered()
{
    static RememberedChoices choices;
    return choices;
}

CConfigurationDialog::CConfigurationDialog(const LineSettings& current, QWidget* parent)
    : CToolWindow(ConfigurationControl::Template, parent, Kind::Dialog), settings_(current)
{
    modeList_ = RequiredControl<QComboBox>(this, ConfigurationControl::OperatingMode);
    baudList_ = RequiredControl<QComboBox>(this, ConfigurationControl::BaudRate);
    watchdogList_ = RequiredControl<QComboBox>(this, ConfigurationControl::Watchdog);
    busAddressEdit_ = RequiredControl<QLineEdit>(this, ConfigurationControl::BusAddress);

    modeList_->addItems({LoadText(TextId::AutoBaudRate), QString::fromLatin1(OperatingMode9600),
                         QString::fromLatin1(OperatingMode115200)});
    baudList_->addItems({QStringLiteral("9600"), QStringLiteral("19200"), QStringLiteral("38400"),
                         QStringLiteral("57600"), QStringLiteral("115200")});
    watchdogList_->addItems({LoadText(TextId::None), QStringLiteral("300ms"), QStringLiteral("500ms"),
                             QStringLiteral("1000ms")});
    RequiredControl<QLineEdit>(this, ConfigurationControl::DataBits)->setText(QStringLiteral("8"));
    RequiredControl<QLineEdit>(this, ConfigurationControl::CheckBit)->setText(LoadText(TextId::None));
    RequiredControl<QLineEdit>(this, ConfigurationControl::StopBits)->setText(QStringLiteral("1"));
    RequiredControl<QLineEdit>(this, ConfigurationControl::CommunicateWatchdog)->setText(LoadText(TextId::None));

    const RememberedChoices& remembered = Remembered();
    modeList_->setCurrentIndex(remembered.OperatingModeIndex);
    baudList_->setCurrentIndex(remembered.BaudRateIndex);
    OnModeChanged(remembered.OperatingModeIndex);
    watchdogList_->setCurrentIndex(0);
    busAddressEdit_->setText(remembered.BusAddressText);

    connect(modeList_, &QComboBox::currentIndexChanged, this, &CConfigurationDialog::OnModeChanged);
    WhenFocusLost(modeList_, [this] { Remembered().OperatingModeIndex = modeList_->currentIndex(); });
    WhenFocusLost(baudList_, [this] { Remembered().BaudRateIndex = baudList_->currentIndex(); });
    WhenFocusLost(busAddressEdit_, [this] { OnBusAddressFocusLost(); });
}

// A fixed mode shows its rate in the locked baud list; the detecting mode leaves the list to the user. Any position
// but the detecting mode's locks the list, so that a remembered position beyond the list opens at 115200 as before.
void CConfigurationDialog::OnModeChanged(int position)
{
    const bool fixed = position != static_cast<int>(OperatingMode::AutoBaud);
    if (fixed)
        baudList_->setCurrentIndex(position == ModeFixed9600 ? Baud9600Position : Baud115200Position);
    baudList_->setEnabled(!fixed);
}

void CConfigurationDialog::OnBusAddressFocusLost()
{
    Remembered().BusAddressText = busAddressEdit_->text();
    const int value = LeadingDigitsValue(busAddressEdit_->text().toStdString());
    if (value < MinBusAddress || value > MaxBusAddress)
        busAddressEdit_->clear();
}

void CConfigurationDialog::accept()
{
    QString busAddress = busAddressEdit_->text();

    // OK reached with Enter from the address field (or with a remembered address never revisited) has seen no
    // range check: apply it here, so that only 1..126 is ever stored and sent. Zero is left to its own message.
    if (LeadingDigitsValue(busAddress.toStdString()) > MaxBusAddress) {
        Remembered().BusAddressText = busAddress;
        busAddress.clear();
        busAddressEdit_->clear();
    }
    if (busAddress.isEmpty()) {
        ShowDialogMessage(this, LoadText(TextId::BusAddressEmpty));
        return;
    }
    if (LeadingDigitsValue(busAddress.toStdString()) == 0) {
        ShowDialogMessage(this, LoadText(TextId::BusAddressZero));
        return;
    }
    // A refused OK stores nothing, so that Cancel after it leaves the settings as they were.
    settings_.BaudRate = baudList_->currentText().toInt();
    settings_.OperatingMode = ModeAtPosition(modeList_->currentIndex());
    const int watchdog = watchdogList_->currentIndex();
    settings_.WatchdogTimeout =
        watchdog >= 0 && watchdog < int(WatchdogTimeouts.size()) ? WatchdogTimeouts[watchdog] : 0;
    settings_.BusAddress = ParseDecimalValue(busAddress.toStdString());
    QDialog::accept();
}

} // namespace trelmo
