#pragma once
// Drives the real main window against virtual modules: the configuration and port dialogs are operated by their
// control ids while they run modally, message box texts are recorded instead of shown, and what crossed the line
// is read back from each module's traffic log.

#include "Frame.h"
#include "LineSettings.h"
#include "MainDialog.h"
#include "MessageRecorder.h"
#include "RuntimeDir.h"
#include "SimProcess.h"
#include "TrafficLog.h"
#include "WindowDriver.h"
#include "WireBytes.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

class QPushButton;

namespace trelmo::testing {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts a module with these arguments; it runs until the test ends.
    SimProcess& StartSim(const QStringList& arguments);

    // Opens the configuration dialog with "Operating Mode" and confirms it with OK.
    void Configure(OperatingMode mode, const QString& busAddress, int baudPosition = 4);
    // Presses Connect, picks the module's device in the port dialog and waits until the window is connected or
    // has said why not.
    void ConnectTo(const SimProcess& sim);
    // Presses Connect and cancels the port dialog.
    void ConnectAndCancel();
    void Disconnect();

    QPushButton* Button(int controlId) const;
    // "shown, enabled, Connect": visibility, state and caption of a button, the caption as a screen reader names it.
    std::string ButtonState(int controlId) const;
    // The name assistive technology announces for a button.
    std::string ButtonName(int controlId) const;

    // Runs the event loop (and with it the exchange timer) until the predicate holds; false on time-out.
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
    void NoteMessage(MessageBoxKind kind, const QString& text);

    MessageRecorder shown_{[this](MessageBoxKind kind, const QString& text) { NoteMessage(kind, text); }};
    RuntimeDir runtime_; // before the modules: they register in it
    std::list<SimProcess> sims_;
};

} // namespace trelmo::testing
