#pragma once
// The Application Data Objects window: adds and deletes the entries of an application data object table, which the
// cyclic exchange serves when the module names one. Modeless; it frees itself when closed. It edits the table it
// is given in place, so entries reach the exchange as soon as they are added.

#include "AppDataObjectTable.h"
#include "DialogControls.h"

#include "ToolWindow.h"

class QLineEdit;
class QPlainTextEdit;
class QTreeWidget;

namespace trelmo {

class CAppDataObjectsDialog : public CToolWindow {
    Q_OBJECT

public:
    // The table must outlive the dialog. The list shows the entries already in it, newest first.
    explicit CAppDataObjectsDialog(AppDataObjectTable& table, QWidget* parent = nullptr);

    QTreeWidget* List() const { return list_; }

    // Enter never closes this window.
    void accept() override {}

public slots:
    void OnAdd();
    void OnDelete();

private:
    void SetUpList();
    void InsertRow(const AppDataObjectEntry& entry);

    AppDataObjectTable& table_;
    QLineEdit* instance_ = nullptr;
    QLineEdit* attribute_ = nullptr;
    QPlainTextEdit* data_ = nullptr;
    QTreeWidget* list_ = nullptr;
};

} // namespace trelmo
