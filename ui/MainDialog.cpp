#include "MainDialog.h"

#include "AboutDialog.h"
#include "AppConfigObjectDialog.h"
#include "AppDataObjectsDialog.h"
#include "ConfigurationDialog.h"
#include "DecimalText.h"
#include "DialogTemplate.h"
#include "LinkStatisticsDialog.h"
#include "MessageBoxes.h"
#include "MessageDisplayDialog.h"
#include "MessageLog.h"
#include "ModuleInfoDialog.h"
#include "ObjectAccessDialog.h"
#include "OutcomeTexts.h"
#include "PortSelectionDialog.h"
#include "StringTable.h"
#include "UiControls.h"

#include <QContextMenuEvent>
#include <QIcon>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QTableView>

namespace trelmo {
namespace {

const char* const WindowIconPath = ":/trelmo/icons/trelmo-demo.png";
// The on-line state button's captions are the same in both languages.
const char* const OnlineCaption = "ONLINE";

// A modeless tool window the main window keeps one of: made and shown on the first request, brought forward after.
template <typename Window, typename Make>
void ShowTheOneWindow(QPointer<Window>& window, Make make)
{
    if (!window) {
        window = make();
        window->show();
    }
    window->raise();
    window->activateWindow();
}

} // namespace

CMainDialog::CMainDialog(QWidget* parent, std::unique_ptr<SerialBackend> backend)
    : QDialog(parent), link_(std::make_unique<LinkController>(std::move(backend)))
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    BuildDialogFromTemplate(this, DialogTemplate::Load(MainControl::Template));
    cellEditor_ = RequiredControl<QLineEdit>(this, MainControl::CellEditor);
    readLengthEdit_ = RequiredControl<QLineEdit>(this, MainControl::ReadLength);
    writeLengthEdit_ = RequiredControl<QLineEdit>(this, MainControl::WriteLength);
    readGrid_ = new IoGrid(RequiredControl<QTableView>(this, MainControl::ReadGrid));
    writeGrid_ = new IoGrid(RequiredControl<QTableView>(this, MainControl::WriteGrid));
    readLengthEdit_->clear(); // empty until the module's first I/O data
    // Both Length edits share their label's text as name; the grid each belongs to tells them apart.
    readLengthEdit_->setAccessibleDescription(readGrid_->Widget()->accessibleName());
    writeLengthEdit_->setAccessibleDescription(writeGrid_->Widget()->accessibleName());

    // Enter is the dialog's OK command, which this window ignores: no button may take it as a default.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    const QString aboutText = LoadText(TextId::AboutMenu);
    systemMenu_ = new QMenu(this);
    if (!aboutText.isEmpty()) {
        systemMenu_->addSeparator();
        QAction* about = systemMenu_->addAction(aboutText, this, &CMainDialog::OnAbout);
        about->setData(AboutCommandId);
    }
    // Button 1005 stays hidden; its window opens from this menu instead, under the button's label.
    if (QPushButton* appDataObjects = Button(MainControl::ApplicationDataObjects))
        systemMenu_->addAction(appDataObjects->text(), this, &CMainDialog::OnApplicationDataObjects);
    systemMenu_->addAction(LoadText(TextId::LinkStatisticsMenu), this, &CMainDialog::OnLinkStatistics);

    setWindowIcon(QIcon(QString::fromLatin1(WindowIconPath)));

    // The configuration dialog's remembered choices start afresh with the main window.
    CConfigurationDialog::Remembered() = {};

    // The template starts Connect and the connection buttons disabled, Disconnect hidden.
    writeGrid_->EnableEditing(
        cellEditor_, [this](int row, int column) { return IsWriteCellEditable(row, column, writeData_); },
        [this](CellPosition cell, const QString& text) { return CommitCellEdit(cell, text); });
    writeGrid_->SetAllDataCellsActive(false);
    readGrid_->SetAllDataCellsActive(false);
    writeLengthEdit_->setText(QStringLiteral("0"));
    disconnectCaption_ = Button(MainControl::Disconnect)->text();

    ConnectControls();
    writeLengthEdit_->installEventFilter(this);
    auto* systemMenuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
    connect(systemMenuKey, &QShortcut::activated, this, [this] {
        const QWidget* focus = focusWidget() ? focusWidget() : this;
        ShowSystemMenu(focus->mapToGlobal(QPoint(0, 0)));
    });
    Button(MainControl::OperatingMode)->setFocus(Qt::OtherFocusReason);
}

CMainDialog::~CMainDialog() = default;

void CMainDialog::ConnectControls()
{
    const std::pair<int, void (CMainDialog::*)()> actions[] = {
        {MainControl::OperatingMode, &CMainDialog::OnOperatingMode},
        {MainControl::Connect, &CMainDialog::ConnectToModule},
        {MainControl::Disconnect, &CMainDialog::DisconnectFromModule},
        {MainControl::ModuleInformation, &CMainDialog::OnModuleInformation},
        {MainControl::ObjectModuleAccess, &CMainDialog::OnObjectModuleAccess},
        {MainControl::ApplicationConfigurationObject, &CMainDialog::OnApplicationConfigurationObject},
        {MainControl::MessageDisplay, &CMainDialog::OnMessageDisplay},
    };
    for (const auto& [id, action] : actions)
        connect(Button(id), &QPushButton::clicked, this, action);
    // The link's signals come from its own thread and are taken here in turn, on the window's.
    connect(link_.get(), &LinkController::ConnectionFinished, this, &CMainDialog::OnConnectionFinished);
    connect(link_.get(), &LinkController::CycleInputWanted, this, &CMainDialog::OnCycleInputWanted);
    connect(link_.get(), &LinkController::CycleFinished, this, &CMainDialog::OnCycleFinished);
    connect(link_.get(), &LinkController::ModuleInfoRead, this, &CMainDialog::OnModuleInfoRead);
    connect(link_.get(), &LinkController::Reconnected, this, &CMainDialog::OnReconnected);
}

QPushButton* CMainDialog::Button(int controlId) const
{
    return RequiredControl<QPushButton>(this, controlId);
}

void CMainDialog::SetConnectionButtonsEnabled(bool enabled)
{
    for (int id : {MainControl::ModuleInformation, MainControl::ObjectModuleAccess, MainControl::OnlineState,
                   MainControl::Disconnect, MainControl::ApplicationConfigurationObject})
        Button(id)->setEnabled(enabled);
}

void CMainDialog::OnOperatingMode()
{
    CConfigurationDialog dialog(settings_, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    settings_ = dialog.Settings();
    Button(MainControl::Connect)->setEnabled(true);
}

void CMainDialog::OnModuleInformation()
{
    // The window opens with what the two reads brought; a press while they run asks nothing more.
    if (moduleInfoRequest_ == 0)
        moduleInfoRequest_ = link_->ReadModuleInfo();
}

void CMainDialog::OnModuleInfoRead(RequestId request, const ModuleInfoResult& result)
{
    if (request != moduleInfoRequest_)
        return;
    moduleInfoRequest_ = 0;
    CModuleInfoDialog(result.info, this).exec();
}

void CMainDialog::OnObjectModuleAccess()
{
    CObjectAccessDialog(*link_, this).exec();
}

void CMainDialog::OnApplicationConfigurationObject()
{
    CAppConfigObjectDialog(handedOver_, this).exec();
}

void CMainDialog::OnMessageDisplay()
{
    // Modeless and self-deleting: every press opens another window and none is tracked here.
    auto* display = new CMessageDisplayDialog(link_->Log(), this);
    display->show();
}

void CMainDialog::OnAbout()
{
    CAboutDialog(this).exec();
}

void CMainDialog::OnApplicationDataObjects()
{
    ShowTheOneWindow(appDataObjectsDialog_, [this] { return new CAppDataObjectsDialog(appDataObjects_, this); });
}

CAppDataObjectsDialog* CMainDialog::AppDataObjectsDialog() const
{
    return appDataObjectsDialog_;
}

void CMainDialog::OnLinkStatistics()
{
    ShowTheOneWindow(linkStatisticsDialog_, [this] { return new CLinkStatisticsDialog(*link_, this); });
}

CLinkStatisticsDialog* CMainDialog::LinkStatisticsDialog() const
{
    return linkStatisticsDialog_;
}

void CMainDialog::ConnectToModule()
{
    if (linkState_ != LinkState::Disconnected)
        return;
    CPortSelectionDialog portDialog(*link_, settings_.BaudRate, this);
    if (portDialog.exec() != QDialog::Accepted)
        return;

    QPushButton* connectButton = Button(MainControl::Connect);
    keyboardOnConnect_ = connectButton->hasFocus();
    linkState_ = LinkState::Connecting;
    SetCaption(connectButton, LoadText(TextId::Connecting));
    // The window goes on answering while the module is brought on line; a second connection cannot be asked for.
    connectButton->setEnabled(false);
    Button(MainControl::OperatingMode)->setEnabled(false);
    // A lost link is taken up again on the port as chosen, should it come back under another device name.
    link_->SetReconnect(RememberPortChoice(portDialog.PortName()));
    link_->Connect(settings_.OperatingMode, settings_.BusAddress, true);
}

void CMainDialog::OnConnectionFinished(const ConnectionResult& result)
{
    // On line, the window shows the connected state once the first cycle has ended.
    if (linkState_ != LinkState::Connecting || result.step == ConnectionOutcome::Online)
        return;
    ShowAppMessage(this, LoadText(ConnectionOutcomeText(result.step)));
    linkState_ = LinkState::Disconnected;
    ShowConnectionState(false);
    if (keyboardOnConnect_)
        Button(MainControl::Connect)->setFocus(Qt::OtherFocusReason);
}

void CMainDialog::DisconnectFromModule()
{
    if (linkState_ != LinkState::Connected && linkState_ != LinkState::Reconnecting)
        return;
    const bool keyboardOnDisconnect = Button(MainControl::Disconnect)->hasFocus();
    linkState_ = LinkState::Disconnected;
    link_->Disconnect();
    ShowConnectionState(false);
    if (keyboardOnDisconnect)
        Button(MainControl::Connect)->setFocus(Qt::OtherFocusReason);
}

void CMainDialog::ShowConnectionState(bool connected)
{
    QPushButton* disconnectButton = Button(MainControl::Disconnect);
    SetCaption(disconnectButton, disconnectCaption_);
    disconnectButton->setAccessibleDescription(QString());
    QPushButton* connectButton = Button(MainControl::Connect);
    SetCaption(connectButton, LoadText(connected ? TextId::Connected : TextId::Connect));
    // Buttons are turned on before others go off: a focused button turned off hands the focus to one that is on.
    if (connected) {
        SetCaption(OnlineStateButton(), QString::fromLatin1(OnlineCaption));
        SetConnectionButtonsEnabled(true);
    }
    connectButton->setEnabled(!connected);
    Button(MainControl::OperatingMode)->setEnabled(!connected);
    if (!connected)
        SetConnectionButtonsEnabled(false);
    connectButton->setVisible(!connected);
    Button(MainControl::Disconnect)->setVisible(connected);
}

void CMainDialog::OnCycleInputWanted(RequestId cycle)
{
    if (linkState_ == LinkState::Disconnected)
        return; // the link has been told to stop; the cycle never runs
    // A length typed but not yet left takes effect with this cycle's frame.
    ApplyWriteLength();
    const int length = std::clamp(writeData_.length, 0, MaxIoWriteLength);
    link_->ProvideCycleInput(cycle, {Bytes(writeData_.bytes.begin(), writeData_.bytes.begin() + length),
                                     appDataObjects_});
}

void CMainDialog::OnCycleFinished(const IoCycleOutcome& outcome)
{
    // A cycle under way when Disconnect was pressed still ends, and what it brought is shown.
    switch (outcome.answer) {
    case IoAnswerKind::ReadData:
        readLength_ = ShowReadData(*readGrid_, outcome.data, readLength_);
        readLengthEdit_->setText(QString::number(readLength_));
        break;
    case IoAnswerKind::ConfigurationData:
        handedOver_.ConfigurationData = outcome.data;
        break;
    case IoAnswerKind::ParameterData:
        handedOver_.ParameterData = outcome.data;
        break;
    default:
        break;
    }
    if (linkState_ == LinkState::Disconnected)
        return;
    if (outcome.linkLost) {
        ShowLinkLost();
        return;
    }
    if (linkState_ == LinkState::Connecting) {
        linkState_ = LinkState::Connected;
        ShowConnectionState(true);
        if (keyboardOnConnect_)
            Button(MainControl::Disconnect)->setFocus(Qt::OtherFocusReason);
    }
}

void CMainDialog::ShowLinkLost()
{
    // The port is gone (hang-up, adapter pulled, a failed send) and the link tries to reconnect. Disconnect keeps
    // its place and ends the attempts; its caption says what goes on, the actions that need the module are off.
    if (linkState_ == LinkState::Connecting) {
        ShowConnectionState(true);
        if (keyboardOnConnect_)
            Button(MainControl::Disconnect)->setFocus(Qt::OtherFocusReason);
    }
    linkState_ = LinkState::Reconnecting;
    QPushButton* disconnectButton = Button(MainControl::Disconnect);
    SetCaption(disconnectButton, LoadText(TextId::Reconnecting));
    disconnectButton->setAccessibleDescription(disconnectCaption_);
    for (int id : {MainControl::ModuleInformation, MainControl::ObjectModuleAccess,
                   MainControl::ApplicationConfigurationObject})
        Button(id)->setEnabled(false);
    if (!linkLostNotice_)
        linkLostNotice_ = ShowAppNotice(this, LoadText(TextId::ConnectionLost));
}

void CMainDialog::OnReconnected()
{
    if (linkState_ != LinkState::Reconnecting)
        return;
    linkState_ = LinkState::Connected;
    ShowConnectionState(true);
    if (linkLostNotice_)
        linkLostNotice_->close();
}

void CMainDialog::ApplyWriteLength()
{
    // The refusal's message box takes the focus from the edit, which would apply the length once more.
    if (applyingWriteLength_)
        return;
    const QScopedValueRollback<bool> applying(applyingWriteLength_, true);
    const int typedLength = LeadingDigitsValueAfterSpace(writeLengthEdit_->text().toStdString());
    const WriteLengthOutcome outcome = trelmo::ApplyWriteLength(*writeGrid_, writeData_, typedLength);
    if (outcome != WriteLengthOutcome::Applied) {
        // The previous length is back before the message shows; cycles running meanwhile keep sending it.
        writeLengthEdit_->setText(QString::number(writeData_.length));
        ShowAppMessage(this, LoadText(WriteLengthOutcomeText(outcome)));
    }
}

bool CMainDialog::CommitCellEdit(CellPosition cell, const QString& text)
{
    const CellEditOutcome outcome = trelmo::CommitCellEdit(*writeGrid_, writeData_, cell, text.toStdString());
    if (outcome != CellEditOutcome::Stored)
        ShowAppMessage(this, LoadText(CellEditOutcomeText(outcome)));
    return outcome == CellEditOutcome::Stored;
}

bool CMainDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == writeLengthEdit_ && IsFocusLoss(event))
        ApplyWriteLength();
    return false;
}

// Enter anywhere in the window moves the focus to the write grid; with no default button it presses nothing.
void CMainDialog::keyPressEvent(QKeyEvent* event)
{
    if (IsEnterKey(event))
        writeGrid_->Widget()->setFocus(Qt::OtherFocusReason);
    else
        QDialog::keyPressEvent(event);
}

void CMainDialog::contextMenuEvent(QContextMenuEvent* event)
{
    ShowSystemMenu(event->globalPos());
}

void CMainDialog::ShowSystemMenu(const QPoint& globalPosition)
{
    if (!systemMenu_->isEmpty())
        systemMenu_->popup(globalPosition);
}

} // namespace trelmo
