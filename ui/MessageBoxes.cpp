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

// Null when a test hook took the message.
QMessageBox* MakeBox(QWidget* parent, MessageBoxKind kind, const QString& text)
{
    if (Hook()) {
        Hook()(kind, text);
        return nullptr;
    }
    auto* box = new QMessageBox(kind == MessageBoxKind::Application ? QMessageBox::Warning : QMessageBox::NoIcon,
                                ProgramName(), text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setAccessibleName(ProgramName());
    box->setAccessibleDescription(text);
    return box;
}

void Show(QWidget* parent, MessageBoxKind kind, const QString& text)
{
    if (QMessageBox* box = MakeBox(parent, kind, text))
        box->exec();
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

QMessageBox* ShowAppNotice(QWidget* parent, const QString& text)
{
    QMessageBox* box = MakeBox(parent, MessageBoxKind::Application, text);
    if (box) {
        box->setModal(false);
        box->show();
    }
    return box;
}

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook)
{
    MessageBoxHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}

} // namespace trelmo
