#include "MainWindowHarness.h"

#include "ConfigurationDialog.h"
#include "DialogTemplate.h"
#include "IoGrid.h"
#include "MemoryGrid.h"
#include "PortSelectionDialog.h"
#include "StringTable.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace trelmo::testing {
namespace {

constexpr int OkButton = 1;

// Clicks OK; a dialog that refuses to close is cancelled so the test cannot hang in its event loop.
void ConfirmOrCancel(QDialog* dialog)
{
    Control<QPushButton>(dialog, OkButton)->click();
    if (dialog->isVisible()) {
        ADD_FAILURE() << "the dialog stayed open after OK";
        dialog->reject();
    }
}

} // namespace

void MainWindowTest::NoteMessage(MessageBoxKind kind, const QString& text)
{
    messages << (kind == MessageBoxKind::Application ? text : QStringLiteral("(dialog's own box) ") + text);
    connectCaptionsAtMessage << (window ? QString::fromStdString(ButtonName(MainControl::Connect)) : QString());
}

void MainWindowTest::SetUp()
{
    window = std::make_unique<CMainDialog>();
    ShowActive(*window);
}

void MainWindowTest::TearDown()
{
    window.reset();
}

SimProcess& MainWindowTest::StartSim(const QStringList& arguments)
{
    SimProcess& sim = sims_.emplace_back();
    EXPECT_TRUE(sim.Start(arguments)) << sim.ErrorText().toStdString();
    return sim;
}

void MainWindowTest::Configure(OperatingMode mode, const QString& busAddress, int baudPosition)
{
    WhenModal<CConfigurationDialog>([=](CConfigurationDialog* dialog) {
        dialog->ModeList()->setCurrentIndex(static_cast<int>(mode)); // the list holds the modes in this order
        if (mode == OperatingMode::AutoBaud)
            dialog->BaudList()->setCurrentIndex(baudPosition);
        dialog->BusAddressEdit()->setText(busAddress);
        ConfirmOrCancel(dialog);
    });
    Button(MainControl::OperatingMode)->click();
    ShowActive(*window);
}

void MainWindowTest::ConnectTo(const SimProcess& sim)
{
    const QString device = QString::fromStdString(sim.DevicePath());
    WhenModal<CPortSelectionDialog>([=](CPortSelectionDialog* dialog) {
        // The module is listed from the registry; pick it there as a user would.
        const int listed = dialog->PortList()->findText(device);
        if (listed >= 0)
            dialog->PortList()->setCurrentIndex(listed);
        else
            dialog->PortList()->setEditText(device);
        Control<QPushButton>(dialog, OkButton)->click();
        // The link opens the port on its own thread; the dialog closes once it is open.
        if (!WaitFor([dialog] { return !dialog->isVisible(); })) {
            ADD_FAILURE() << "the port dialog stayed open after OK";
            WaitFor([dialog] { return !dialog->IsOpening(); });
            dialog->reject();
        }
    });
    Button(MainControl::Connect)->click();
    // The window answers while the link connects: it says so, and Connect cannot start a second connection.
    if (window->IsConnecting()) {
        EXPECT_EQ(ButtonState(MainControl::Connect), "shown, disabled, " + LoadText(TextId::Connecting).toStdString());
    }
    EXPECT_TRUE(WaitFor([this] { return !window->IsConnecting(); }, 15000)) << "the connection never ended";
    ShowActive(*window);
}

void MainWindowTest::ConnectAndCancel()
{
    WhenModal<CPortSelectionDialog>([](CPortSelectionDialog* dialog) { dialog->reject(); });
    Button(MainControl::Connect)->click();
    ShowActive(*window);
}

void MainWindowTest::Disconnect()
{
    // The link ends the cycle under way, then closes the port; what the cycle brought is shown first.
    bool disconnected = false;
    const QMetaObject::Connection done = QObject::connect(&window->Link(), &LinkController::Disconnected,
                                                          window.get(), [&disconnected] { disconnected = true; });
    Button(MainControl::Disconnect)->click();
    EXPECT_TRUE(WaitFor([&disconnected] { return disconnected; })) << "the port stayed open";
    QObject::disconnect(done);
}

QPushButton* MainWindowTest::Button(int controlId) const
{
    return window->Button(controlId);
}

std::string MainWindowTest::ButtonState(int controlId) const
{
    const QPushButton* button = Button(controlId);
    std::string state = button->isVisibleTo(window.get()) ? "shown" : "hidden";
    state += button->isEnabled() ? ", enabled, " : ", disabled, ";
    return state + ButtonName(controlId);
}

std::string MainWindowTest::ButtonName(int controlId) const
{
    return AccessibleText(Button(controlId)).toStdString();
}

bool MainWindowTest::WaitFor(const std::function<bool()>& predicate, int timeoutMs)
{
    return QTest::qWaitFor(predicate, timeoutMs);
}

void MainWindowTest::EnterWriteLength(const QString& text)
{
    QLineEdit* edit = window->WriteLengthEdit();
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    window->WriteGrid().Widget()->setFocus(Qt::TabFocusReason);
}

void MainWindowTest::ClickWriteCell(int row, int column)
{
    QTableView* view = window->WriteGrid().Widget();
    const QModelIndex cell = view->model()->index(row - 1, column - 1);
    ASSERT_TRUE(cell.isValid());
    view->scrollTo(cell);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(cell).center());
}

std::string MainWindowTest::ReadCell(int byteIndex)
{
    return ByteText(window->ReadGrid(), byteIndex);
}

bool MainWindowTest::ReadCellActive(int byteIndex)
{
    return ByteActive(window->ReadGrid(), byteIndex);
}

std::string MainWindowTest::WriteCell(int byteIndex)
{
    return ByteText(window->WriteGrid(), byteIndex);
}

bool MainWindowTest::WriteCellActive(int byteIndex)
{
    return ByteActive(window->WriteGrid(), byteIndex);
}

} // namespace trelmo::testing
