#include "MainDialog.h"

#include "AboutDialog.h"
#include "AppConfigObjectDialog.h"
#include "AppDataObjectsDialog.h"
#include "ConfigurationDialog.h"
#include "DemoApp.h"
#include "DialogTemplate.h"
#include "MessageDisplayDialog.h"
#include "ModuleInfoDialog.h"
#include "ObjectAccessDialog.h"
#include "StringTable.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>

namespace trelmo {
namespace {

constexpr int MainDialogTemplate = 102;
constexpr int AboutMenuText = 101;
const char* const WindowIconPath = ":/trelmo/icons/trelmo-demo.png";

bool IsEnterKey(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool IsShiftF10(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    return key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier;
}

} // namespace

CMainDialog::CMainDialog(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    BuildDialogFromTemplate(this, DialogTemplate::Load(MainDialogTemplate));
    cellEditor_ = Control<QLineEdit>(this, MainControl::CellEditor);
    readLengthEdit_ = Control<QLineEdit>(this, MainControl::ReadLength);
    writeLengthEdit_ = Control<QLineEdit>(this, MainControl::WriteLength);
    readGrid_ = std::make_unique<IoGrid>(Control<QTableWidget>(this, MainControl::ReadGrid));
    writeGrid_ = std::make_unique<IoGrid>(Control<QTableWidget>(this, MainControl::WriteGrid));
    readLengthEdit_->setText(ReadLengthText);
    writeLengthEdit_->setText(WriteLengthText);

    // Enter is the dialog's OK command, which this window ignores: no button may take it as a default.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    const QString aboutText = LoadText(AboutMenuText);
    systemMenu_ = new QMenu(this);
    if (!aboutText.isEmpty()) {
        QAction* about = systemMenu_->addAction(aboutText, this, &CMainDialog::OnAbout);
        about->setData(AboutCommandId);
    }
    // Button 1005 stays hidden; its window opens from this menu instead, under the button's label.
    if (QPushButton* appDataObjects = Button(MainControl::ApplicationDataObjects))
        systemMenu_->addAction(appDataObjects->text(), this, &CMainDialog::OnApplicationDataObjects);

    const QIcon icon(QString::fromLatin1(WindowIconPath));
    setWindowIcon(icon);

    BusAddressText.clear();
    BaudRateIndex = 0;
    OperatingModeIndex = 0;

    SetConnectionButtonsEnabled(false);
    cellEditor_->setMaxLength(2);
    writeGrid_->SetAllDataCellsActive(false);
    readGrid_->SetAllDataCellsActive(false);
    writeLengthEdit_->setText(QStringLiteral("0"));
    Button(MainControl::ApplicationConfigurationObject)->setEnabled(false);
    Button(MainControl::Connect)->setEnabled(false);
    Button(MainControl::Disconnect)->setVisible(false);

    ConnectControls();
    qApp->installEventFilter(this);
    Button(MainControl::OperatingMode)->setFocus(Qt::OtherFocusReason);
}

CMainDialog::~CMainDialog()
{
    qApp->removeEventFilter(this);
}

void CMainDialog::ConnectControls()
{
    const std::pair<int, void (CMainDialog::*)()> actions[] = {
        {MainControl::OperatingMode, &CMainDialog::OnOperatingMode},
        {MainControl::Connect, &CMainDialog::OnConnect},
        {MainControl::Disconnect, &CMainDialog::OnDisconnect},
        {MainControl::ModuleInformation, &CMainDialog::OnModuleInformation},
        {MainControl::ObjectModuleAccess, &CMainDialog::OnObjectModuleAccess},
        {MainControl::ApplicationConfigurationObject, &CMainDialog::OnApplicationConfigurationObject},
        {MainControl::MessageDisplay, &CMainDialog::OnMessageDisplay},
    };
    for (const auto& [id, action] : actions)
        connect(Button(id), &QPushButton::clicked, this, action);
    connect(writeGrid_.get(), &IoGrid::Clicked, this, &CMainDialog::OnWriteGridClicked);
    connect(&exchangeTimer_, &QTimer::timeout, this, &CMainDialog::OnExchangeTimer);
}

QPushButton* CMainDialog::Button(int controlId) const
{
    return Control<QPushButton>(this, controlId);
}

void CMainDialog::SetConnectionButtonsEnabled(bool enabled)
{
    for (int id : {MainControl::ModuleInformation, MainControl::ObjectModuleAccess, MainControl::OnlineState,
                   MainControl::Disconnect})
        Button(id)->setEnabled(enabled);
}

void CMainDialog::accept()
{
}

void CMainDialog::OnOperatingMode()
{
    CConfigurationDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted)
        Button(MainControl::Connect)->setEnabled(true);
}

void CMainDialog::OnConnect()
{
    // ConnectToModule: the connection sequence is wired here.
}

void CMainDialog::OnDisconnect()
{
    // DisconnectFromModule: stops the exchange and closes the port.
}

void CMainDialog::OnModuleInformation()
{
    CModuleInfoDialog dialog(this);
    dialog.exec();
}

void CMainDialog::OnObjectModuleAccess()
{
    CObjectAccessDialog dialog(this);
    dialog.exec();
}

void CMainDialog::OnApplicationConfigurationObject()
{
    CAppConfigObjectDialog dialog(this);
    dialog.exec();
}

void CMainDialog::OnMessageDisplay()
{
    // Modeless and self-deleting: every press opens another window and none is tracked here.
    auto* display = new CMessageDisplayDialog(this);
    display->show();
}

void CMainDialog::OnAbout()
{
    CAboutDialog about(this);
    about.exec();
}

void CMainDialog::OnApplicationDataObjects()
{
    if (!appDataObjectsDialog_) {
        appDataObjectsDialog_ = new CAppDataObjectsDialog(appDataObjects_, this);
        appDataObjectsDialog_->show();
    }
    appDataObjectsDialog_->raise();
    appDataObjectsDialog_->activateWindow();
}

CAppDataObjectsDialog* CMainDialog::AppDataObjectsDialog() const
{
    return appDataObjectsDialog_;
}

void CMainDialog::OnExchangeTimer()
{
    // ExchangeIoData: one cycle of the cyclic exchange.
}

void CMainDialog::OnWriteGridClicked(int /*row*/, int /*column*/)
{
    // BeginCellEdit: opens the cell editor over the clicked cell.
}

void CMainDialog::OnCellEditorFocusLost()
{
    // CommitCellEdit: stores the edited cell.
}

void CMainDialog::OnWriteLengthFocusLost()
{
    // ApplyWriteLength: applies the typed write length.
}

bool CMainDialog::IsInThisWindow(QObject* object) const
{
    auto* widget = qobject_cast<QWidget*>(object);
    return widget && widget->window() == this;
}

bool CMainDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        if (watched == cellEditor_ && cellEditor_->isVisible())
            OnCellEditorFocusLost();
        else if (watched == writeLengthEdit_)
            OnWriteLengthFocusLost();
        return false;
    }
    if (!IsInThisWindow(watched))
        return false;
    // Enter anywhere in the window first moves the focus to the write grid, which ends an open cell edit; the
    // key then goes on as usual and, having no default button to press, does nothing.
    if (IsEnterKey(event)) {
        if (QApplication::focusWidget() != writeGrid_->Widget())
            writeGrid_->Widget()->setFocus(Qt::OtherFocusReason);
        return false;
    }
    if (IsShiftF10(event)) {
        auto* widget = static_cast<QWidget*>(watched);
        ShowSystemMenu(widget->mapToGlobal(QPoint(0, 0)));
        return true;
    }
    return false;
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
