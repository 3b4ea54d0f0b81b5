#pragma once
// The tool's main window, run modally for the whole life of the process: the buttons that connect to the module
// and open the tools on the left, the two I/O grids with their Length fields on the right.

#include "AppDataObjectTable.h"
#include "DialogControls.h"
#include "Frame.h"
#include "IoExchange.h"
#include "IoGrid.h"
#include "LineSettings.h"
#include "LinkController.h"
#include "WriteData.h"

#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QString>

#include <memory>

class QLineEdit;
class QMenu;
class QPushButton;

namespace trelmo {

constexpr int AboutCommandId = 16;

class CAppDataObjectsDialog;
class CLinkStatisticsDialog;

class CMainDialog : public QDialog {
    Q_OBJECT
public:
    // The link's port is opened through backend (the real serial port unless a test passes another).
    explicit CMainDialog(QWidget* parent = nullptr, std::unique_ptr<SerialBackend> backend = MakeQtSerialBackend());
    ~CMainDialog() override;

    // Runs every exchange with the module on its own thread and holds the frame log.
    LinkController& Link() { return *link_; }
    // The line settings the configuration dialog chose last.
    const LineSettings& Settings() const { return settings_; }
    // The configuration and parameter data the module handed over last.
    const AppConfigObjectData& HandedOver() const { return handedOver_; }
    // From pressing Connect's OK in the port dialog until the first cycle has ended or the connection failed.
    bool IsConnecting() const { return linkState_ == LinkState::Connecting; }
    bool IsConnected() const { return linkState_ == LinkState::Connected; }
    // From a lost link until the module is back on line, or Disconnect.
    bool IsReconnecting() const { return linkState_ == LinkState::Reconnecting; }
    // The notice of the lost link while it shows; it goes once the link is back.
    QMessageBox* LinkLostNotice() const { return linkLostNotice_; }

    IoGrid& ReadGrid() { return *readGrid_; }
    IoGrid& WriteGrid() { return *writeGrid_; }
    QLineEdit* CellEditor() const { return cellEditor_; }
    QLineEdit* ReadLengthEdit() const { return readLengthEdit_; }
    QLineEdit* WriteLengthEdit() const { return writeLengthEdit_; }
    QPushButton* Button(int controlId) const;
    QPushButton* OnlineStateButton() const { return Button(MainControl::OnlineState); }
    // The context menu that carries "About Trelmo(&A)..." (command 16).
    QMenu* SystemMenu() const { return systemMenu_; }

    // Module Information, Object Module Access, Application Configuration Object, the online-state button and
    // Disconnect, together.
    void SetConnectionButtonsEnabled(bool enabled);

    // Port dialog, then on the link: handshake (automatic baud mode), bus address, on-line request and the first
    // cycle. "Connecting..." shows until the first cycle has ended; the window answers all the while.
    void ConnectToModule();
    // Stops the exchange (or the attempts to reconnect) and closes the port after the exchange under way; the
    // module is told nothing.
    void DisconnectFromModule();
    // Validates the typed write length, recolours the write grid and rebuilds WriteData.
    void ApplyWriteLength();

    // What each cycle sends; the write grid and the write Length edit show it.
    const trelmo::WriteData& WriteData() const { return writeData_; }
    // The application data objects the cyclic exchange serves when the module asks for one.
    AppDataObjectTable& AppDataObjects() { return appDataObjects_; }
    // The open Application Data Objects window, or nullptr.
    CAppDataObjectsDialog* AppDataObjectsDialog() const;
    // The open Link Statistics window, or nullptr.
    CLinkStatisticsDialog* LinkStatisticsDialog() const;

    // The dialog's OK command (Enter) never closes the main window.
    void accept() override {}

public slots:
    void OnOperatingMode();
    void OnModuleInformation();
    void OnObjectModuleAccess();
    void OnApplicationConfigurationObject();
    void OnMessageDisplay();
    void OnAbout();
    // Opens the Application Data Objects window on the table above, or brings the open one forward.
    void OnApplicationDataObjects();
    // Opens the Link Statistics window, or brings the open one forward.
    void OnLinkStatistics();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class LinkState { Disconnected, Connecting, Connected, Reconnecting };

    void ConnectControls();
    // Stores an edited write-grid cell's text; refuses anything but uppercase hex with a message, and false.
    bool CommitCellEdit(CellPosition cell, const QString& text);
    void ShowSystemMenu(const QPoint& globalPosition);
    void ShowConnectionState(bool connected);
    // A cycle starts: the typed write length is applied, then the link gets what the cycle sends and serves.
    void OnCycleInputWanted(RequestId cycle);
    void OnCycleFinished(const IoCycleOutcome& outcome);
    void OnConnectionFinished(const ConnectionResult& result);
    void OnModuleInfoRead(RequestId request, const ModuleInfoResult& result);
    // The link was lost: the link looks for the port again each second, and a notice says so without waiting.
    void ShowLinkLost();
    void OnReconnected();

    std::unique_ptr<LinkController> link_;
    LineSettings settings_;
    AppConfigObjectData handedOver_;
    LinkState linkState_ = LinkState::Disconnected;
    bool keyboardOnConnect_ = false; // Connect had the keyboard focus when it was pressed
    RequestId moduleInfoRequest_ = 0; // the module information read under way; 0 when none
    IoGrid* readGrid_ = nullptr; // owned by their views
    IoGrid* writeGrid_ = nullptr;
    QLineEdit* cellEditor_ = nullptr;
    QLineEdit* readLengthEdit_ = nullptr;
    QLineEdit* writeLengthEdit_ = nullptr;
    QMenu* systemMenu_ = nullptr;
    trelmo::WriteData writeData_;
    int readLength_ = 0; // read grid cells in use
    bool applyingWriteLength_ = false;
    AppDataObjectTable appDataObjects_;
    QPointer<CAppDataObjectsDialog> appDataObjectsDialog_;
    QPointer<CLinkStatisticsDialog> linkStatisticsDialog_;
    QPointer<QMessageBox> linkLostNotice_;
    QString disconnectCaption_; // the template's; "Reconnecting..." takes its place while the link is lost
};

} // namespace trelmo
