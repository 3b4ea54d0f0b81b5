#pragma once
// The serial port selection dialog: lists the system's serial ports and the live virtual modules, and has the
// link open the chosen one (or a typed device path) at the configured baud rate. It ends with OK only when the
// port is open; the window answers while the link opens it.

#include "DialogControls.h"
#include "SerialBackend.h"
#include "ToolWindow.h"

#include <QString>
#include <QStringList>

class QComboBox;

namespace trelmo {

struct ListedPort {
    QString name;     // handed to OpenSerialPort as it is
    QString toolTip;  // description and manufacturer, where the system reports them
};

// The system's serial ports by device path, in the system's order, then the registered virtual modules.
QList<ListedPort> AvailablePorts();

// The message for a port that did not open: "Error occurs! ERROR:00", then the reason on a second line when the
// system told one.
QString OpenFailureText(PortOpenError reason);

class LinkController;

class CPortSelectionDialog : public CToolWindow {
    Q_OBJECT
public:
    // What the dialog remembers between openings, for the life of the process.
    struct RememberedChoice {
        int PortIndex = 0;     // the list position chosen last; -1 when none was selected
        QString TypedPortName; // a name typed last that is not a listed port, offered again; empty otherwise
    };
    static RememberedChoice& Remembered();

    explicit CPortSelectionDialog(LinkController& link, int baudRate, QWidget* parent = nullptr);

    QComboBox* PortList() const { return portList_; }
    // The port name OK tried last; after OK, the name of the port the link holds open.
    const QString& PortName() const { return portName_; }
    // Between OK and the link's answer.
    bool IsOpening() const { return opening_; }

    // Has the link open the port; the dialog closes once it is open.
    void accept() override;
    // Nothing closes the dialog while the port is being opened: a port opened after Cancel would stay held.
    void reject() override;

private:
    void OfferTypedPortName();
    void RememberTypedPortName();
    void OnPortOpened(PortOpenError error);

    LinkController& link_;
    int baudRate_ = 0;
    bool opening_ = false;
    QComboBox* portList_ = nullptr;
    int listedCount_ = 0; // entries from the enumeration; a remembered typed name may follow them
    QString portName_;
};

} // namespace trelmo
