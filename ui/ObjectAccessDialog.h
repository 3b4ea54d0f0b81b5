#pragma once
// The Object Module Access window: reads or writes one attribute of the module's object model by the codes the
// user types. Modal; a new dialog with empty fields for each opening. The link runs the read or write; the dialog
// reads the typed texts, keeps Send disabled until the result is in, and shows status words and messages.

#include "DialogControls.h"
#include "LinkController.h"
#include "ToolWindow.h"

class QComboBox;
class QPushButton;
class QLineEdit;
class QPlainTextEdit;

namespace trelmo {

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
