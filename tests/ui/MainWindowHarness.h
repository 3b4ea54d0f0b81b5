#pragma once
// Drives the real main window against virtual modules: the configuration and port dialogs are operated by their
// control ids while they run modally, message box texts are recorded instead of shown, and what crossed the line
// is read back from each module's traffic log.

#include "DemoApp.h"
#include "Frame.h"
#include "MainDialog.h"
#include "MessageBoxes.h"
#include "SimProcess.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

class QPushButton;

namespace trelmo::testing {

// Operating mode positions in the configuration dialog's list.
enum class Mode { AutoBaud = 0, Fixed9600 = 1, Fixed115200 = 2 };

// "05 01 0A" -> bytes.
Bytes HexBytes(const std::string& text);

// The bytes of one direction of a traffic log, in order: '1' lines came from the tool, '0' lines from the module.
Bytes LoggedBytes(const std::vector<std::string>& lines, char direction);

// Cuts the tool's byte stream into auto-baud probes (55 55) and frames by their Length fields. A piece too short
// for the Length it declares ends the list as it is.
std::vector<Bytes> SplitHostStream(const Bytes& stream);

// The frame as the tool sends it: the given bytes (Sequence and all) closed by their CRC.
Bytes WithCrc(Bytes frameWithoutCrc);

// Calls action with the first modal dialog of type T that becomes active within timeoutMs. Call it before the
// click that opens the dialog: the dialog's own event loop delivers the polling timer.
template <typename T>
void WhenModal(std::function<void(T*)> action, int timeoutMs = 5000)
{
    auto* poll = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(poll, &QTimer::timeout, poll, [poll, clock, action, timeoutMs] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog && clock->elapsed() < timeoutMs)
            return;
        poll->stop();
        poll->deleteLater();
        if (dialog)
            action(dialog);
    });
    poll->start(5);
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts a module with these arguments; it runs until the test ends.
    SimProcess& StartSim(const QStringList& arguments);

    // Opens the configuration dialog with "Operating Mode" and confirms it with OK.
    void Configure(Mode mode, const QString& busAddress, int baudPosition = 4);
    // Presses Connect and picks the module's device in the port dialog.
    void ConnectTo(const SimProcess& sim);
    // Presses Connect and cancels the port dialog.
    void ConnectAndCancel();
    void Disconnect();

    QPushButton* Button(int controlId) const;
    // "shown, enabled, Connect": visibility, state and caption of a button, the caption as a screen reader names it.
    std::string ButtonState(int controlId) const;
    // The name assistive technology announces for a button.
    std::string ButtonName(int controlId) const;

    // The tool's frames as the module received them.
    static std::vector<Bytes> HostFrames(const SimProcess& sim);
    // Runs the event loop (and with it the exchange timer) until the module has received `count` frames from the
    // tool; false on time-out.
    bool WaitForHostFrames(const SimProcess& sim, std::size_t count, int timeoutMs = 5000);
    // Runs the event loop until the predicate holds; false on time-out.
    static bool WaitFor(const std::function<bool()>& predicate, int timeoutMs = 5000);

    // Types text into the write Length edit and moves the focus away, as a user leaving the field.
    void EnterWriteLength(const QString& text);
    // Clicks the write grid cell at (row, column) with the mouse.
    void ClickWriteCell(int row, int column);

    std::string ReadCell(int byteIndex);
    bool ReadCellActive(int byteIndex);
    std::string WriteCell(int byteIndex);
    bool WriteCellActive(int byteIndex);

    QStringList messages; // texts of application boxes; a dialog's own box is marked as such
    QStringList connectCaptionsAtMessage; // the Connect button's caption (its name) when each message was shown
    std::unique_ptr<CMainDialog> window;

private:
    SimRuntimeDir runtime_; // before the modules: they register in it
    std::list<SimProcess> sims_;
    MessageBoxHook previousHook_;
};

} // namespace trelmo::testing
