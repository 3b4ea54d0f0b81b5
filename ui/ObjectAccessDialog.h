#pragma once
// The Object Module Access window: reads or writes one attribute of the module's object model by the codes the
// user types. Modal; a new dialog with empty fields for each opening. The link runs the read or write; the dialog
// reads the typed texts, keeps Send disabled until the result is in, and shows status words and messages.

#include "LinkController.h"
#include "ToolWindow.h"

class QComboBox;
class QPushButton;
class QLineEdit;
class QPlainTextEdit;

namespace trelmo {


// Dialog template 138 and its control ids.
namespace ObjectAccessControl {
constexpr int Template = 138;
constexpr int AccessMode = 1033;
constexpr int ObjectCode = 1025;
constexpr int InstanceCode = 1026;
constexpr int AttributeCode = 1027;
constexpr int InputData = 1028;
constexpr int ResponseStatus = 1029;
constexpr int ResponseData = 1030;
constexpr int Send = 1019;
} // namespace ObjectAccessControl

class CObjectAccessDialog : public CToolWindow {
    Q_OBJECT

public:
    enum AccessMode { ReadMode = 0, WriteMode = 1 };

    explicit CObjectAccessDialog(LinkController& link, QWidget* parent = nullptr);

    AccessMode Mode() const;

public slots:
    void OnSend();
    void OnModeChanged();

private:
    void OnAttributeAccessed(RequestId request, const AccessResult& result);
    void ShowResult(const AccessResult& result);

    LinkController& link_;
    RequestId request_ = 0; // the read or write under way; 0 when none
    bool keyboardOnSend_ = false;
    QPushButton* send_ = nullptr;
    QComboBox* modeList_ = nullptr;
    QLineEdit* objectCode_ = nullptr;
    QLineEdit* instanceCode_ = nullptr;
    QLineEdit* attributeCode_ = nullptr;
    QPlainTextEdit* inputData_ = nullptr;
    QLineEdit* status_ = nullptr;
    QPlainTextEdit* responseData_ = nullptr;
};

} // namespace trelmo
