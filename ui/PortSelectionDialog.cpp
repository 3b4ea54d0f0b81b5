#include "PortSelectionDialog.h"

#include "LinkController.h"
#include "MessageBoxes.h"
#include "OutcomeTexts.h"
#include "PortRegistry.h"
#include "StringTable.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QSerialPortInfo>

namespace trelmo {
namespace {


QString PortToolTip(const QSerialPortInfo& info)
{
    QStringList parts{info.description(), info.manufacturer()};
    parts.removeAll(QString());
    return parts.join(QStringLiteral(", "));
}

} // namespace

CPortSelectionDialog::RememberedChoice& CPortSelectionDialog::Remembered()
{
    static RememberedChoice choice;
    return choice;
}

QString OpenFailureText(PortOpenError reason)
{
    const TextId reasonText = PortOpenErrorText(reason);
    if (reasonText == TextId::NoText)
        return LoadText(TextId::OpenFailed);
    return LoadText(TextId::OpenFailed) + QLatin1Char('\n') + LoadText(reasonText);
}

QList<ListedPort> AvailablePorts()
{
    QList<ListedPort> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        if (!info.systemLocation().isEmpty())
            ports.append({info.systemLocation(), PortToolTip(info)});
    }
    for (const QString& device : RegisteredVirtualPorts())
        ports.append({device, QString()});
    return ports;
}

CPortSelectionDialog::CPortSelectionDialog(LinkController& link, int baudRate, QWidget* parent)
    : CToolWindow(PortSelectionControl::Template, parent, Kind::Dialog), link_(link), baudRate_(baudRate)
{
    connect(&link_, &LinkController::PortOpened, this, &CPortSelectionDialog::OnPortOpened);
    portList_ = RequiredControl<QComboBox>(this, PortSelectionControl::PortList);
    // Editable, so that a port no enumeration finds (a pty link, a by-id path) can be typed in.
    portList_->setEditable(true);
    portList_->setInsertPolicy(QComboBox::NoInsert);
    portList_->lineEdit()->setAccessibleName(portList_->accessibleName());

    for (const ListedPort& port : AvailablePorts()) {
        portList_->addItem(port.name);
        if (!port.toolTip.isEmpty())
            portList_->setItemData(portList_->count() - 1, port.toolTip, Qt::ToolTipRole);
    }
    listedCount_ = portList_->count();
    // Device paths are longer than the field: the open list is as wide as its longest entry.
    portList_->view()->setMinimumWidth(portList_->view()->sizeHintForColumn(0) + portList_->iconSize().width());
    // An index outside the list selects nothing.
    const int portIndex = Remembered().PortIndex;
    portList_->setCurrentIndex(portIndex >= 0 && portIndex < portList_->count() ? portIndex : -1);
    OfferTypedPortName();
    WhenFocusLost(portList_, [this] {
        Remembered().PortIndex = portList_->currentIndex();
        RememberTypedPortName();
    });
}

// A typed name was the last choice: it joins the list (unless listed already) and is selected.
void CPortSelectionDialog::OfferTypedPortName()
{
    const QString& typed = Remembered().TypedPortName;
    if (typed.isEmpty())
        return;
    if (portList_->findText(typed) < 0)
        portList_->addItem(typed);
    portList_->setCurrentIndex(portList_->findText(typed));
}

void CPortSelectionDialog::RememberTypedPortName()
{
    const QString text = portList_->currentText().trimmed();
    const int index = portList_->findText(text);
    Remembered().TypedPortName = index >= 0 && index < listedCount_ ? QString() : text;
}

void CPortSelectionDialog::accept()
{
    if (opening_)
        return;
    portName_ = portList_->currentText().trimmed();
    RememberTypedPortName();
    opening_ = true;
    link_.OpenPort(portName_.toStdString(), baudRate_);
}

void CPortSelectionDialog::reject()
{
    if (!opening_)
        QDialog::reject();
}

void CPortSelectionDialog::OnPortOpened(PortOpenError error)
{
    if (!opening_)
        return;
    opening_ = false;
    if (error == PortOpenError::None) {
        QDialog::accept();
        return;
    }
    ShowDialogMessage(this, OpenFailureText(error));
}

} // namespace trelmo
