#pragma once
// The program's two kinds of message box: the application's own (exclamation icon) and a dialog's own (no icon).
// Both have one OK button and the executable's name as caption.

#include <QString>

#include <functional>

class QMessageBox;
class QWidget;

namespace trelmo {

enum class MessageBoxKind { Application, Dialog };

void ShowAppMessage(QWidget* parent, const QString& text);
void ShowDialogMessage(QWidget* parent, const QString& text);
// The application's message box without waiting for OK: it stays beside the window until OK or until the caller
// closes it (the box returned, which deletes itself on closing; null while a test hook takes the messages).
QMessageBox* ShowAppNotice(QWidget* parent, const QString& text);

// Tests may observe messages instead of showing modal boxes; an empty hook shows them again.
using MessageBoxHook = std::function<void(MessageBoxKind kind, const QString& text)>;
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);

} // namespace trelmo
