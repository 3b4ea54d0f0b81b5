#include "MessageBoxes.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>

namespace trelmo {
namespace {

MessageBoxHook& Hook()
{
    static MessageBoxHook hook;
    return hook;
}

// The executable's file name without directory and extension.
QString ProgramName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void Show(QWidget* parent, MessageBoxKind kind, const QString& text)
{
    if (Hook()) {
        Hook()(kind, text);
        return;
    }
    QMessageBox box(kind == MessageBoxKind::Application ? QMessageBox::Warning : QMessageBox::NoIcon,
                    ProgramName(), text, QMessageBox::Ok, parent);
    box.setAccessibleName(ProgramName());
    box.setAccessibleDescription(text);
    box.exec();
}

} // namespace

void ShowAppMessage(QWidget* parent, const QString& text)
{
    Show(parent, MessageBoxKind::Application, text);
}

void ShowDialogMessage(QWidget* parent, const QString& text)
{
    Show(parent, MessageBoxKind::Dialog, text);
}

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook)
{
    MessageBoxHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}

} // namespace trelmo
