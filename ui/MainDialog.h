#pragma once
// The tool's main window, run modally for the whole life of the process: the buttons that connect to the module
// and open the tools on the left, the two I/O grids with their Length fields on the right.

#include "AppDataObjectTable.h"
#include "Frame.h"
#include "IoGrid.h"
#include "ModuleSession.h"
#include "WriteData.h"

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <memory>

class QLineEdit;
class QMenu;
class QPushButton;

namespace trelmo {

// Control ids of the main window (dialog template 102).
namespace MainControl {
constexpr int OperatingMode = 1001;
constexpr int Connect = 1040;
constexpr int ModuleInformation = 1002;
constexpr int ObjectModuleAccess = 1003;
constexpr int ApplicationConfigurationObject = 1004;
constexpr int OnlineState = 1006;
constexpr int ApplicationDataObjects = 1005;
constexpr int MessageDisplay = 1009;
constexpr int ReadGrid = 1008;
constexpr int WriteGrid = 1007;
constexpr int ReadLength = 1044;
constexpr int WriteLength = 1045;
constexpr int CellEditor = 1012;
constexpr int Disconnect = 1010;
} // namespace MainControl

constexpr int AboutCommandId = 16;

class CAppDataObjectsDialog;

class CMainDialog : public QDialog {
    Q_OBJECT
public:
    // The session's port is opened through backend (the real serial port unless a test passes another).
    explicit CMainDialog(QWidget* parent = nullptr, std::unique_ptr<SerialBackend> backend = MakeQtSerialBackend());
    ~CMainDialog() override;

    // The port, the request counter, the line settings, the handed-over data and the frame log.
    ModuleSession& Session() { return session_; }

    IoGrid& ReadGrid() { return *readGrid_; }
    IoGrid& WriteGrid() { return *writeGrid_; }
    QLineEdit* CellEditor() const { return cellEditor_; }
    QLineEdit* ReadLengthEdit() const { return readLengthEdit_; }
    QLineEdit* WriteLengthEdit() const { return writeLengthEdit_; }
    QPushButton* Button(int controlId) const;
    QPushButton* OnlineStateButton() const { return Button(MainControl::OnlineState); }
    // Timer 1 of the window: each tick runs one cycle of the I/O exchange.
    QTimer& ExchangeTimer() { return exchangeTimer_; }
    // The context menu that carries "About Trelmo(&A)..." (command 16).
    QMenu* SystemMenu() const { return systemMenu_; }

    // Module Information, Object Module Access, Application Configuration Object, the online-state button and
    // Disconnect, together.
    void SetConnectionButtonsEnabled(bool enabled);

    // Port dialog, handshake (automatic baud mode), bus address, on-line request, then the first cycle.
    void ConnectToModule();
    // Stops the exchange and closes the port; the module is told nothing.
    void DisconnectFromModule();
    // One cycle of the cyclic exchange; it re-arms the exchange timer.
    void ExchangeIoData();
    // Validates the typed write length, recolours the write grid and rebuilds WriteData.
    void ApplyWriteLength();
    // Opens the cell editor over the write-grid cell the user clicked last, if it lies within the write length.
    void BeginCellEdit();
    // Stores the cell editor's text into its cell; refuses anything but uppercase hex.
    void CommitCellEdit();

    // What each cycle sends; the write grid and the write Length edit show it.
    const trelmo::WriteData& WriteData() const { return writeData_; }
    // The application data objects the cyclic exchange serves when the module asks for one.
    AppDataObjectTable& AppDataObjects() { return appDataObjects_; }
    // The open Application Data Objects window, or nullptr.
    CAppDataObjectsDialog* AppDataObjectsDialog() const;

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ConnectControls();
    void ShowSystemMenu(const QPoint& globalPosition);
    void ShowConnectionState(bool connected);
    QRect CellEditorRect(int row, int column) const;

    ModuleSession session_;
    std::unique_ptr<IoGrid> readGrid_;
    std::unique_ptr<IoGrid> writeGrid_;
    QLineEdit* cellEditor_ = nullptr;
    QLineEdit* readLengthEdit_ = nullptr;
    QLineEdit* writeLengthEdit_ = nullptr;
    QMenu* systemMenu_ = nullptr;
    QTimer exchangeTimer_;
    CellPosition editedCell_{0, 0}; // the write-grid cell the cell editor was opened over
    trelmo::WriteData writeData_;
    int readLength_ = 0; // read grid cells in use
    bool applyingWriteLength_ = false;
    AppDataObjectTable appDataObjects_;
    QPointer<CAppDataObjectsDialog> appDataObjectsDialog_;
};

} // namespace trelmo
