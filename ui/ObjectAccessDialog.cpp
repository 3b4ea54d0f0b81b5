#include "ObjectAccessDialog.h"

#include "HexText.h"
#include "MessageBoxes.h"
#include "ObjectAccess.h"
#include "OutcomeTexts.h"
#include "StringTable.h"
#include "TypedInput.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace trelmo {
CObjectAccessDialog::CObjectAccessDialog(LinkController& link, QWidget* parent)
    : CToolWindow(ObjectAccessControl::Template, parent), link_(link)
{
    modeList_ = RequiredControl<QComboBox>(this, ObjectAccessControl::AccessMode);
    objectCode_ = RequiredControl<QLineEdit>(this, ObjectAccessControl::ObjectCode);
    instanceCode_ = RequiredControl<QLineEdit>(this, ObjectAccessControl::InstanceCode);
    attributeCode_ = RequiredControl<QLineEdit>(this, ObjectAccessControl::AttributeCode);
    inputData_ = RequiredControl<QPlainTextEdit>(this, ObjectAccessControl::InputData);
    status_ = RequiredControl<QLineEdit>(this, ObjectAccessControl::ResponseStatus);
    responseData_ = RequiredControl<QPlainTextEdit>(this, ObjectAccessControl::ResponseData);

    modeList_->addItems({LoadText(TextId::Read), LoadText(TextId::Write)});
    modeList_->setCurrentIndex(ReadMode);
    inputData_->setEnabled(false);
    IgnoreEnterIn({inputData_}); // the bytes are typed as one line of pieces
    connect(modeList_, &QComboBox::currentIndexChanged, this, &CObjectAccessDialog::OnModeChanged);
    send_ = RequiredControl<QPushButton>(this, ObjectAccessControl::Send);
    connect(send_, &QPushButton::clicked, this, &CObjectAccessDialog::OnSend);
    connect(&link_, &LinkController::AttributeAccessed, this, &CObjectAccessDialog::OnAttributeAccessed);
}

CObjectAccessDialog::AccessMode CObjectAccessDialog::Mode() const
{
    return modeList_->currentIndex() == WriteMode ? WriteMode : ReadMode;
}

// Each mode starts with empty input and response data and no status; writing takes input, reading shows a response.
// The code fields and the status stay enabled in both modes.
void CObjectAccessDialog::OnModeChanged()
{
    const bool write = Mode() == WriteMode;
    inputData_->setEnabled(write);
    responseData_->setEnabled(!write);
    inputData_->clear();
    responseData_->clear();
    status_->clear();
}

void CObjectAccessDialog::OnSend()
{
    const bool write = Mode() == WriteMode;
    const std::string object = objectCode_->text().toStdString();
    const std::string instance = instanceCode_->text().toStdString();
    const std::string attribute = attributeCode_->text().toStdString();
    const std::string input = inputData_->toPlainText().toStdString();
    if (request_ != 0)
        return;
    const AccessCheck check = CheckAccessTexts(object, instance, attribute, write, input);
    if (check != AccessCheck::Ready) {
        ShowDialogMessage(this, LoadText(AccessCheckText(check)));
        return;
    }
    const ObjectAddress address = AddressFromTexts(object, instance, attribute);
    if (write) {
        const WriteInputBytes data = ParseWriteInput(input);
        if (data.check != WriteInput::Ready) {
            for (TextId message : WriteInputTexts(data.check))
                ShowDialogMessage(this, LoadText(message));
            return;
        }
        request_ = link_.WriteAttribute(address, data.bytes);
    } else {
        request_ = link_.ReadAttribute(address);
    }
    // Send is off until the result is in; the keyboard comes back to it then.
    keyboardOnSend_ = send_->hasFocus();
    send_->setEnabled(false);
}

void CObjectAccessDialog::OnAttributeAccessed(RequestId request, const AccessResult& result)
{
    if (request != request_)
        return;
    request_ = 0;
    send_->setEnabled(true);
    if (keyboardOnSend_)
        send_->setFocus(Qt::OtherFocusReason);
    ShowResult(result);
}

void CObjectAccessDialog::ShowResult(const AccessResult& result)
{
    const AccessOutcomeTexts texts = TextsForAccessOutcome(result.outcome);
    if (texts.status != TextId::NoText)
        status_->setText(LoadText(texts.status));
    if (result.responseData) {
        const QString response = QString::fromStdString(FormatResponseData(*result.responseData));
        // Set only when it changed, so that the same data read again keeps the field's scroll position.
        if (responseData_->toPlainText() != response)
            responseData_->setPlainText(response);
    }
    for (TextId message : texts.messages)
        ShowDialogMessage(this, LoadText(message));
}

} // namespace trelmo
