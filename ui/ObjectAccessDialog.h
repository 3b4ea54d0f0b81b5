#pragma once
// The Object Module Access window: reads or writes one attribute of the module's object model by the codes the
// user types. Modal; a new dialog with empty fields for each opening. The exchanges themselves are ReadAttribute
// and WriteAttribute; the dialog moves texts between its controls and them, and shows status words and messages.

#include "UiControls.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace trelmo {

struct AccessResult;
class ModuleSession;

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

    // Talks through the session's port and request counter and logs to its frame log.
    explicit CObjectAccessDialog(ModuleSession& session, QWidget* parent = nullptr);

    AccessMode Mode() const;

public slots:
    void OnSend();
    void OnModeChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowResult(const AccessResult& result);

    ModuleSession& session_;
    QComboBox* modeList_ = nullptr;
    QLineEdit* objectCode_ = nullptr;
    QLineEdit* instanceCode_ = nullptr;
    QLineEdit* attributeCode_ = nullptr;
    QPlainTextEdit* inputData_ = nullptr;
    QLineEdit* status_ = nullptr;
    QPlainTextEdit* responseData_ = nullptr;
};

} // namespace trelmo
