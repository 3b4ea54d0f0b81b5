// The Object Module Access window driven against the virtual module over its pseudo-terminal: what it puts on the
// wire, what it shows and which messages it asks for.

#include "ObjectAccessDialog.h"

#include "DialogTemplate.h"
#include "HexText.h"
#include "LogRecorder.h"
#include "MessageRecorder.h"
#include "LinkAwait.h"
#include "ObjectAccess.h"
#include "TrafficLog.h"
#include "WindowDriver.h"
#include "WireBytes.h"

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace trelmo;
using namespace trelmo::testing;
namespace ids = trelmo::ObjectAccessControl;

namespace {

using T = TextId;
using Ids = std::vector<TextId>;

class ObjectAccessDialogTest : public ::testing::Test {
protected:
    void SetUp() override { SetActiveLanguage(LanguageVariant::English); }

    // Starts the module at a fixed 115200 bps (no handshake needed) and has the link open its port.
    void Connect(const QStringList& scenario = {})
    {
        ASSERT_TRUE(sim_.Start(QStringList{"--mode", "115200"} + scenario)) << sim_.ErrorText().toStdString();
        const std::string device = sim_.DevicePath();
        ASSERT_EQ(AwaitLink(link_, &LinkController::PortOpened, [&] { link_.OpenPort(device, 115200); }),
                  PortOpenError::None);
        dialog_ = std::make_unique<CObjectAccessDialog>(link_);
    }

    void Type(int id, const QString& text)
    {
        if (auto* line = Control<QLineEdit>(dialog_.get(), id)) {
            line->clear();
            QTest::keyClicks(line, text);
        } else if (auto* multi = Control<QPlainTextEdit>(dialog_.get(), id)) {
            multi->setPlainText(text);
        }
    }
    void Codes(const QString& object, const QString& instance, const QString& attribute)
    {
        Type(ids::ObjectCode, object);
        Type(ids::InstanceCode, instance);
        Type(ids::AttributeCode, attribute);
    }
    void ChooseWrite() { Control<QComboBox>(dialog_.get(), ids::AccessMode)->setCurrentIndex(1); }
    void ChooseRead() { Control<QComboBox>(dialog_.get(), ids::AccessMode)->setCurrentIndex(0); }
    // Clicks Send and waits until the result is in: Send is off while the request is under way.
    void Send()
    {
        auto* send = Control<QPushButton>(dialog_.get(), ids::Send);
        QTest::mouseClick(send, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([send] { return send->isEnabled(); }));
    }

    QString Status() const { return Control<QLineEdit>(dialog_.get(), ids::ResponseStatus)->text(); }
    QString ResponseData() const { return Control<QPlainTextEdit>(dialog_.get(), ids::ResponseData)->toPlainText(); }
    QString Text(int id) const
    {
        if (auto* line = Control<QLineEdit>(dialog_.get(), id))
            return line->text();
        return Control<QPlainTextEdit>(dialog_.get(), id)->toPlainText();
    }
    bool Enabled(int id) const { return FindControl(dialog_.get(), id)->isEnabled(); }

    // The request the dialog should have sent next, taking the next expected sequence value.
    Bytes Request(std::uint8_t service, std::uint8_t object, std::uint16_t instance, std::uint16_t attribute,
                  const Bytes& data = {})
    {
        return BuildObjectRequest(expected_, service, object, instance, attribute, data);
    }

    SimProcess sim_;
    LinkController link_;
    std::unique_ptr<CObjectAccessDialog> dialog_;
    SequenceCounter expected_;
    MessageRecorder messages_;
    LogRecorder logged_{link_.Log()};
};

TEST_F(ObjectAccessDialogTest, OpensInReadModeWithEmptyFields)
{
    CObjectAccessDialog dialog(link_);
    EXPECT_EQ(dialog.windowTitle(), "Object Module Access");
    auto* mode = Control<QComboBox>(&dialog, ids::AccessMode);
    ASSERT_NE(mode, nullptr);
    ASSERT_EQ(mode->count(), 2);
    EXPECT_EQ(mode->itemText(0), "Read");
    EXPECT_EQ(mode->itemText(1), "Write");
    EXPECT_EQ(mode->currentIndex(), 0);
    EXPECT_FALSE(FindControl(&dialog, ids::InputData)->isEnabled());
    EXPECT_TRUE(FindControl(&dialog, ids::ResponseData)->isEnabled());
    EXPECT_TRUE(Control<QLineEdit>(&dialog, ids::ResponseStatus)->isReadOnly());
    for (int id : {ids::ObjectCode, ids::InstanceCode, ids::AttributeCode, ids::ResponseStatus})
        EXPECT_TRUE(Control<QLineEdit>(&dialog, id)->text().isEmpty()) << id;
    EXPECT_EQ(Control<QLineEdit>(&dialog, ids::InstanceCode)->accessibleName(), "Instance Code:");
    EXPECT_EQ(AccessibleText(mode), "Operating mode:");
    EXPECT_EQ(AccessibleText(mode, QAccessible::Value), "Read");
    EXPECT_EQ(Control<QPushButton>(&dialog, ids::Send)->text(), "Send");
}

TEST_F(ObjectAccessDialogTest, ReadShowsLowerCaseDataAndRight)
{
    ASSERT_NO_FATAL_FAILURE(Connect());
    Codes("1", "1", "4");
    Send();
    EXPECT_EQ(Status(), "Right");
    EXPECT_EQ(ResponseData(), "00 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f ");
    EXPECT_TRUE(messages_.texts.empty());

    const Bytes request = Request(ServiceRead, 0x01, 1, 4);
    ASSERT_TRUE(WaitForHostBytes(sim_, request.size()));
    EXPECT_EQ(HostBytes(sim_), request);
    const Bytes answer = ModuleBytes(sim_);
    ASSERT_EQ(logged_.Size(), 2u);
    EXPECT_EQ(logged_.Lines()[0], BytesToHexText(request, 1));
    EXPECT_EQ(logged_.Lines()[1], BytesToHexText(answer, 0)); // upper case in the log
    EXPECT_EQ(answer[ModuleFrame::FrameType], Response);
}

TEST_F(ObjectAccessDialogTest, WriteProbesThenWritesAndTheValueReadsBack)
{
    ASSERT_NO_FATAL_FAILURE(Connect());
    Codes("1", "1", "3");
    ChooseWrite();
    EXPECT_TRUE(Enabled(ids::InputData));
    EXPECT_FALSE(Enabled(ids::ResponseData));
    Type(ids::InputData, "  12\nAB  "); // a pasted line break separates like a blank
    Send();
    EXPECT_EQ(Status(), "Successful");
    EXPECT_TRUE(messages_.texts.empty());
    const Bytes probe = Request(ServiceRead, 0x01, 1, 3);
    const Bytes write = Request(ServiceWrite, 0x01, 1, 3, {0x12, 0xAB});
    ASSERT_TRUE(WaitForHostBytes(sim_, probe.size() + write.size()));
    EXPECT_EQ(HostBytes(sim_), Joined({probe, write}));
    EXPECT_EQ(write[ModuleFrame::Sequence], static_cast<std::uint8_t>(probe[ModuleFrame::Sequence] + 1));
    EXPECT_EQ(logged_.Size(), 4u);

    ChooseRead();
    EXPECT_EQ(Text(ids::ObjectCode), "1"); // the codes stay, the rest is emptied
    EXPECT_EQ(Text(ids::AttributeCode), "3");
    EXPECT_EQ(Text(ids::InputData), "");
    EXPECT_EQ(Status(), "");
    Send();
    EXPECT_EQ(ResponseData(), "12 ab ");
    EXPECT_EQ(Status(), "Right");
}

TEST_F(ObjectAccessDialogTest, ErrorAnswersGiveErrorAndFailed)
{
    ASSERT_NO_FATAL_FAILURE(Connect());
    Codes("1", "1", "1");
    Send();
    ASSERT_EQ(ResponseData(), "05 ");

    // Unknown object: the module answers with an error frame; the earlier response data stay.
    Codes("7", "1", "1");
    Send();
    EXPECT_EQ(Status(), "Error");
    EXPECT_EQ(ResponseData(), "05 ");
    EXPECT_EQ(messages_.Ids(), (Ids{T::ReadFailed}));
    EXPECT_EQ(messages_.kinds, std::vector<MessageBoxKind>{MessageBoxKind::Dialog});

    // A read-only attribute: the probe is answered, the write is refused.
    messages_.Clear();
    ChooseWrite();
    Codes("1", "2", "1");
    Type(ids::InputData, "00 2B");
    Send();
    EXPECT_EQ(Status(), "Failed");
    EXPECT_EQ(messages_.Ids(), (Ids{T::WriteFailed}));
    const Bytes expectedWire = Joined({Request(ServiceRead, 0x01, 1, 1), Request(ServiceRead, 0x07, 1, 1),
                                       Request(ServiceRead, 0x01, 2, 1),
                                       Request(ServiceWrite, 0x01, 2, 1, {0x00, 0x2B})});
    ASSERT_TRUE(WaitForHostBytes(sim_, expectedWire.size()));
    EXPECT_EQ(HostBytes(sim_), expectedWire);
}

TEST_F(ObjectAccessDialogTest, SilentModule)
{
    ASSERT_NO_FATAL_FAILURE(Connect({"--silent"}));
    Codes("1", "1", "3");
    Send();
    EXPECT_EQ(Status(), "Error");
    EXPECT_EQ(messages_.Ids(), (Ids{T::ReadFailed}));
    EXPECT_EQ(logged_.Size(), 1u); // the request only

    // A write whose probe goes unanswered leaves the status as it is and sends no write request.
    messages_.Clear();
    ChooseWrite();
    Type(ids::InputData, "01 02");
    Send();
    EXPECT_EQ(Status(), "");
    EXPECT_EQ(messages_.Ids(), (Ids{T::WriteFailed}));
    const Bytes expectedWire = Joined({Request(ServiceRead, 0x01, 1, 3), Request(ServiceRead, 0x01, 1, 3)});
    ASSERT_TRUE(WaitForHostBytes(sim_, expectedWire.size()));
    QTest::qWait(100);
    EXPECT_EQ(HostBytes(sim_), expectedWire);
    EXPECT_TRUE(ModuleBytes(sim_).empty());
}

TEST_F(ObjectAccessDialogTest, ChecksBeforeSendingPutNothingOnTheWire)
{
    ASSERT_NO_FATAL_FAILURE(Connect());
    struct Case {
        bool write;
        const char* object;
        const char* instance;
        const char* attribute;
        const char* input;
        Ids messages;
    };
    const Case cases[] = {
        {false, "", "1", "1", "",          {T::CodesIncomplete}},
        {false, "1", "", "1", "",          {T::CodesIncomplete}},
        {true, "1", "1", "", "01",         {T::CodesIncomplete}},
        {true, "1", "1", "3", "",          {T::InputDataMissing}},
        {false, "F0", "1", "1", "",        {T::ReservedObject}},
        {false, "f0", "2", "1", "",        {T::ReservedObject}},
        {true, "F1", "1", "1", "01",       {T::ReservedObject}},
        {true, "f1", "1", "1", "01",       {T::ReservedObject}},
        {false, "1F0", "2", "1", "",       {T::ReservedObject}},
        {true, "00F1", "1", "1", "01",     {T::ReservedObject}},
        {true, "1", "1", "3", "  \n ",     {T::InputDataEmpty, T::WriteFailed}},
        {true, "1", "1", "3", "0102",      {T::IllegalInputData, T::WriteFailed}},
        {true, "1", "1", "3", "02\n03,04", {T::IllegalInputData, T::WriteFailed}},
    };
    for (const Case& c : cases) {
        messages_.Clear();
        if (c.write)
            ChooseWrite();
        else
            ChooseRead();
        Codes(c.object, c.instance, c.attribute);
        Type(ids::InputData, c.input);
        Send();
        EXPECT_EQ(messages_.Ids(), c.messages) << c.object << "/" << c.instance << "/" << c.attribute;
        EXPECT_EQ(Status(), "");
    }
    QTest::qWait(100);
    EXPECT_TRUE(HostBytes(sim_).empty());
    EXPECT_EQ(logged_.Size(), 0u);
}

TEST_F(ObjectAccessDialogTest, ObjectCodeTextsReachTheWireAsHex)
{
    ASSERT_NO_FATAL_FAILURE(Connect());
    // 1EF addresses object 0xEF, which the module does not have.
    Codes("1EF", "2", "1");
    Send();
    EXPECT_EQ(Status(), "Error");
    Codes("10", "300", "-1");
    Send();
    const Bytes expectedWire = Joined({Request(ServiceRead, 0xEF, 2, 1), Request(ServiceRead, 0x10, 300, 0xFFFF)});
    ASSERT_TRUE(WaitForHostBytes(sim_, expectedWire.size()));
    EXPECT_EQ(HostBytes(sim_), expectedWire);
}

TEST_F(ObjectAccessDialogTest, WriteLongerThanTheAttributeIsRefusedAfterTheProbe)
{
    ASSERT_NO_FATAL_FAILURE(Connect());
    ChooseWrite();
    Codes("1", "1", "3"); // holds two bytes
    Type(ids::InputData, "01 02 03");
    Send();
    EXPECT_EQ(messages_.Ids(), (Ids{T::WriteFailed}));
    EXPECT_EQ(Status(), "");
    EXPECT_EQ(logged_.Size(), 2u); // the probe and its answer
    const Bytes probe = Request(ServiceRead, 0x01, 1, 3);
    ASSERT_TRUE(WaitForHostBytes(sim_, probe.size()));
    QTest::qWait(100);
    EXPECT_EQ(HostBytes(sim_), probe);
}

TEST_F(ObjectAccessDialogTest, ModeChangeEnablesAndEmpties)
{
    CObjectAccessDialog dialog(link_);
    auto* mode = Control<QComboBox>(&dialog, ids::AccessMode);
    auto* status = Control<QLineEdit>(&dialog, ids::ResponseStatus);
    auto* response = Control<QPlainTextEdit>(&dialog, ids::ResponseData);
    auto* input = Control<QPlainTextEdit>(&dialog, ids::InputData);
    Control<QLineEdit>(&dialog, ids::ObjectCode)->setText("5");
    status->setText("Right");
    response->setPlainText("01 ");

    mode->setCurrentIndex(1);
    EXPECT_TRUE(input->isEnabled());
    EXPECT_FALSE(response->isEnabled());
    EXPECT_TRUE(status->text().isEmpty());
    EXPECT_TRUE(response->toPlainText().isEmpty());
    EXPECT_EQ(Control<QLineEdit>(&dialog, ids::ObjectCode)->text(), "5");

    QTest::keyClicks(input, "01");
    for (Qt::Key enter : {Qt::Key_Return, Qt::Key_Enter})
        QTest::keyClick(input, enter); // starts no new line
    EXPECT_EQ(input->toPlainText(), "01");
    status->setText("Successful");
    mode->setCurrentIndex(0);
    EXPECT_FALSE(input->isEnabled());
    EXPECT_TRUE(response->isEnabled());
    EXPECT_TRUE(input->toPlainText().isEmpty());
    EXPECT_TRUE(status->text().isEmpty());
}

TEST_F(ObjectAccessDialogTest, ClosedPortFailsWithoutAnswer)
{
    CObjectAccessDialog dialog(link_); // the link's port is not open
    Control<QLineEdit>(&dialog, ids::ObjectCode)->setText("1");
    Control<QLineEdit>(&dialog, ids::InstanceCode)->setText("1");
    Control<QLineEdit>(&dialog, ids::AttributeCode)->setText("1");
    dialog.OnSend();
    auto* send = Control<QPushButton>(&dialog, ids::Send);
    ASSERT_TRUE(QTest::qWaitFor([send] { return send->isEnabled(); }));
    EXPECT_EQ(messages_.Ids(), (Ids{T::ReadFailed}));
    EXPECT_TRUE(Control<QLineEdit>(&dialog, ids::ResponseStatus)->text().isEmpty());
    EXPECT_EQ(logged_.Size(), 0u);
}

} // namespace
