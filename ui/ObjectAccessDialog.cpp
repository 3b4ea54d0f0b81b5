#include "ObjectAccessDialog.h"

#include "ComboBoxAccessibility.h"
#include "DialogTemplate.h"
#include "MessageBoxes.h"
#include "ModuleSession.h"
#include "ObjectAccess.h"
#include "OutcomeTexts.h"
#include "StringTable.h"
#include "UiControls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace trelmo {
namespace {

constexpr int kObjectAccessTemplate = 138;
constexpr int kTextRead = 130;
constexpr int kTextWrite = 131;

} // namespace

CObjectAccessDialog::CObjectAccessDialog(ModuleSession& session, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint),
      port_(session.Port()), counter_(session.Sequence()), log_(session.Log())
{
    setModal(true);
    InstallComboBoxAccessibility();
    BuildDialogFromTemplate(this, DialogTemplate::Load(kObjectAccessTemplate));
    modeList_ = ControlOrSpare<QComboBox>(this, ObjectAccessControl::AccessMode);
    objectCode_ = ControlOrSpare<QLineEdit>(this, ObjectAccessControl::ObjectCode);
    instanceCode_ = ControlOrSpare<QLineEdit>(this, ObjectAccessControl::InstanceCode);
    attributeCode_ = ControlOrSpare<QLineEdit>(this, ObjectAccessControl::AttributeCode);
    inputData_ = ControlOrSpare<QPlainTextEdit>(this, ObjectAccessControl::InputData);
    status_ = ControlOrSpare<QLineEdit>(this, ObjectAccessControl::ResponseStatus);
    responseData_ = ControlOrSpare<QPlainTextEdit>(this, ObjectAccessControl::ResponseData);

    modeList_->addItem(LoadText(kTextRead));
    modeList_->addItem(LoadText(kTextWrite));
    modeList_->setCurrentIndex(ReadMode);
    inputData_->setEnabled(false);
    inputData_->installEventFilter(this);
    connect(modeList_, &QComboBox::currentIndexChanged, this, &CObjectAccessDialog::OnModeChanged);
    if (auto* send = Control<QPushButton>(this, ObjectAccessControl::Send))
        connect(send, &QPushButton::clicked, this, &CObjectAccessDialog::OnSend);
}

CObjectAccessDialog::AccessMode CObjectAccessDialog::Mode() const
{
    return modeList_->currentIndex() == WriteMode ? WriteMode : ReadMode;
}

void CObjectAccessDialog::TakeTexts()
{
    objectCodeText_ = objectCode_->text();
    instanceCodeText_ = instanceCode_->text();
    attributeCodeText_ = attributeCode_->text();
    inputDataText_ = inputData_->toPlainText();
    responseDataText_ = responseData_->toPlainText();
}

void CObjectAccessDialog::ShowTexts()
{
    objectCode_->setText(objectCodeText_);
    instanceCode_->setText(instanceCodeText_);
    attributeCode_->setText(attributeCodeText_);
    if (inputData_->toPlainText() != inputDataText_)
        inputData_->setPlainText(inputDataText_);
    if (responseData_->toPlainText() != responseDataText_)
        responseData_->setPlainText(responseDataText_);
}

// Enter in the input data would start a new line; the bytes are typed as one line of pieces.
bool CObjectAccessDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == inputData_ && IsEnterKey(event))
        return true;
    return QDialog::eventFilter(watched, event);
}

void CObjectAccessDialog::SetStatus(int textId)
{
    status_->setText(LoadText(textId));
}

void CObjectAccessDialog::OnModeChanged()
{
    TakeTexts();
    inputData_->setEnabled(true);
    responseData_->setEnabled(true);
    if (Mode() == ReadMode) {
        inputData_->setEnabled(false);
    } else {
        for (int id = ObjectAccessControl::ObjectCode; id <= ObjectAccessControl::ResponseData; ++id) {
            if (QWidget* control = FindControl(this, id))
                control->setEnabled(true);
        }
        responseData_->setEnabled(false);
    }
    inputDataText_.clear();
    responseDataText_.clear();
    status_->clear();
    ShowTexts();
}

void CObjectAccessDialog::OnSend()
{
    TakeTexts();
    const bool write = Mode() == WriteMode;
    const std::string object = objectCodeText_.toStdString();
    const std::string instance = instanceCodeText_.toStdString();
    const std::string attribute = attributeCodeText_.toStdString();
    const std::string input = inputDataText_.toStdString();
    const AccessCheck check = CheckAccessTexts(object, instance, attribute, write, input);
    if (check != AccessCheck::Ready) {
        ShowDialogMessage(this, LoadText(AccessCheckText(check)));
        return;
    }
    if (write)
        ShowResult(WriteAttribute(port_, counter_, log_, object, instance, attribute, input));
    else
        ShowResult(ReadAttribute(port_, counter_, log_, object, instance, attribute));
}

void CObjectAccessDialog::ShowResult(const AccessResult& result)
{
    const AccessOutcomeTexts texts = TextsForAccessOutcome(result.outcome);
    if (texts.status != NoText)
        SetStatus(texts.status);
    if (result.responseDataText)
        responseDataText_ = QString::fromStdString(*result.responseDataText);
    ShowTexts();
    for (int message : texts.messages)
        ShowDialogMessage(this, LoadText(message));
}

} // namespace trelmo
