#pragma once
// The serial port selection dialog: lists the system's serial ports and the live virtual modules, and opens the
// chosen one (or a typed device path) at the configured baud rate. It ends with OK only when the port is open.

#include "SerialBackend.h"

#include <QDialog>
#include <QString>
#include <QStringList>

class QComboBox;

namespace trelmo {

namespace PortSelectionControl {
constexpr int PortList = 1041;
} // namespace PortSelectionControl

struct ListedPort {
    QString name;     // handed to OpenSerialPort as it is
    QString toolTip;  // description and manufacturer, where the system reports them
};

// The system's serial ports by device path, in the system's order, then the registered virtual modules.
QList<ListedPort> AvailablePorts();

// The port name the user typed last, when it is not one of the listed ports; offered again by the next dialog.
// Empty at process start and after a listed port was chosen.
extern QString TypedPortName;

// The message for a port that did not open: "Error occurs! ERROR:00", then the reason on a second line when the
// system told one.
QString OpenFailureText(PortOpenError reason);

class CPortSelectionDialog : public QDialog {
    Q_OBJECT
public:
    explicit CPortSelectionDialog(QWidget* parent = nullptr);

    QComboBox* PortList() const { return portList_; }
    // The port name OK tried last.
    const QString& PortName() const { return portName_; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OfferTypedPortName();
    void RememberTypedPortName();

    QComboBox* portList_ = nullptr;
    int listedCount_ = 0; // entries from the enumeration; a remembered typed name may follow them
    QString portName_;
};

} // namespace trelmo
