#pragma once
// The serial port selection dialog: lists the system's serial ports and the live virtual modules, and opens the
// chosen one (or a typed device path) at the configured baud rate. It ends with OK only when the port is open.

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
    QComboBox* portList_ = nullptr;
    QString portName_;
};

} // namespace trelmo
