#include "MainWindowHarness.h"

#include "ConfigurationDialog.h"
#include "DialogTemplate.h"
#include "FakeSerialBackend.h"
#include "IoGrid.h"
#include "PortSelectionDialog.h"

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>


namespace trelmo::testing {
namespace {

constexpr int OkButton = 1;

std::string ByteIndexText(GridCells& grid, int byteIndex)
{
    const CellPosition cell = CellIndex(byteIndex);
    return grid.CellText(cell.row, cell.column);
}

bool ByteIndexActive(GridCells& grid, int byteIndex)
{
    const CellPosition cell = CellIndex(byteIndex);
    return grid.IsCellActive(cell.row, cell.column);
}

// Clicks OK; a dialog that refuses to close is cancelled so the test cannot hang in its event loop.
void ConfirmOrCancel(QDialog* dialog)
{
    Control<QPushButton>(dialog, OkButton)->click();
    if (dialog->isVisible()) {
        ADD_FAILURE() << "the dialog stayed open after OK";
        dialog->reject();
    }
}

void ActivateWindow(QWidget* window)
{
    window->activateWindow();
    (void)QTest::qWaitForWindowActive(window, 2000);
}

} // namespace

Bytes HexBytes(const std::string& text)
{
    return fake::Hex(text);
}

Bytes LoggedBytes(const std::vector<std::string>& lines, char direction)
{
    Bytes bytes;
    for (const std::string& line : lines) {
        if (line.empty() || line[0] != direction)
            continue;
        const Bytes chunk = HexBytes(line.substr(1));
        bytes.insert(bytes.end(), chunk.begin(), chunk.end());
    }
    return bytes;
}

std::vector<Bytes> SplitHostStream(const Bytes& stream)
{
    std::vector<Bytes> pieces;
    std::size_t at = 0;
    while (at < stream.size()) {
        std::size_t size = stream.size() - at;
        if (size >= 2 && stream[at] == 0x55 && stream[at + 1] == 0x55)
            size = 2;
        else if (size >= ModuleFrame::HeaderSize)
            size = std::min(size, ReadBigEndian16(&stream[at + ModuleFrame::Length]) + ModuleFrame::Overhead);
        pieces.emplace_back(stream.begin() + static_cast<std::ptrdiff_t>(at),
                            stream.begin() + static_cast<std::ptrdiff_t>(at + size));
        at += size;
    }
    return pieces;
}

Bytes WithCrc(Bytes frame)
{
    frame.resize(frame.size() + 2);
    PlaceCrc(frame.data(), frame.size() - ModuleFrame::Overhead);
    return frame;
}

void MainWindowTest::SetUp()
{
    previousHook_ = SetMessageBoxHook([this](MessageBoxKind kind, const QString& text) {
        messages << (kind == MessageBoxKind::Application ? text : QStringLiteral("(dialog's own box) ") + text);
        connectCaptionsAtMessage << (window ? QString::fromStdString(ButtonName(MainControl::Connect)) : QString());
    });
    CDemoApp& app = TheApp(); // all tests of a binary share it when they run in one process
    app.ConfigurationDataText.clear();
    app.ConfigurationDataLength = 0;
    app.ParameterDataText.clear();
    app.ParameterDataLength = 0;
    window = std::make_unique<CMainDialog>();
    window->show();
    ActivateWindow(window.get());
}

void MainWindowTest::TearDown()
{
    window.reset();
    TheApp().SerialPort.CloseSerialPort();
    SetMessageBoxHook(std::move(previousHook_));
}

SimProcess& MainWindowTest::StartSim(const QStringList& arguments)
{
    SimProcess& sim = sims_.emplace_back();
    EXPECT_TRUE(sim.Start(arguments)) << sim.ErrorText().toStdString();
    return sim;
}

void MainWindowTest::Configure(Mode mode, const QString& busAddress, int baudPosition)
{
    WhenModal<CConfigurationDialog>([=](CConfigurationDialog* dialog) {
        dialog->ModeList()->setCurrentIndex(static_cast<int>(mode));
        if (mode == Mode::AutoBaud)
            dialog->BaudList()->setCurrentIndex(baudPosition);
        dialog->BusAddressEdit()->setText(busAddress);
        ConfirmOrCancel(dialog);
    });
    Button(MainControl::OperatingMode)->click();
    ActivateWindow(window.get());
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
        ConfirmOrCancel(dialog);
    });
    Button(MainControl::Connect)->click();
    ActivateWindow(window.get());
}

void MainWindowTest::ConnectAndCancel()
{
    WhenModal<CPortSelectionDialog>([](CPortSelectionDialog* dialog) { dialog->reject(); });
    Button(MainControl::Connect)->click();
    ActivateWindow(window.get());
}

void MainWindowTest::Disconnect()
{
    Button(MainControl::Disconnect)->click();
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
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(Button(controlId));
    return accessible ? accessible->text(QAccessible::Name).toStdString() : std::string();
}

std::vector<Bytes> MainWindowTest::HostFrames(const SimProcess& sim)
{
    return SplitHostStream(LoggedBytes(sim.LogLines(), '1'));
}

bool MainWindowTest::WaitForHostFrames(const SimProcess& sim, std::size_t count, int timeoutMs)
{
    return WaitFor([&] { return HostFrames(sim).size() >= count; }, timeoutMs);
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
    QTableWidget* table = window->WriteGrid().Widget();
    QTableWidgetItem* item = table->item(row - 1, column - 1);
    ASSERT_NE(item, nullptr);
    table->scrollToItem(item);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(item).center());
}

std::string MainWindowTest::ReadCell(int byteIndex)
{
    return ByteIndexText(window->ReadGrid(), byteIndex);
}

bool MainWindowTest::ReadCellActive(int byteIndex)
{
    return ByteIndexActive(window->ReadGrid(), byteIndex);
}

std::string MainWindowTest::WriteCell(int byteIndex)
{
    return ByteIndexText(window->WriteGrid(), byteIndex);
}

bool MainWindowTest::WriteCellActive(int byteIndex)
{
    return ByteIndexActive(window->WriteGrid(), byteIndex);
}

} // namespace trelmo::testing
