#pragma once
// What the windows share: control lookup, relabelling, and the key and focus events they watch for.

#include "DialogTemplate.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPushButton>

namespace trelmo {

// A relabelled button is announced by its new caption: the name the template gave it would otherwise stay.
inline void SetCaption(QPushButton* button, const QString& caption)
{
    button->setText(caption);
    button->setAccessibleName(caption);
}

// A press of Return or of the keypad's Enter.
inline bool IsEnterKey(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The focus leaving a control for good: a drop-down list opening its popup takes the focus only for a moment.
inline bool IsFocusLoss(const QEvent* event)
{
    return event->type() == QEvent::FocusOut
        && static_cast<const QFocusEvent*>(event)->reason() != Qt::PopupFocusReason;
}

// The template's control with this id. The templates are built into the program, so a control missing from one is
// a fault of the build: it stops the program at once instead of leaving a window with a control quietly gone.
template <typename T>
T* RequiredControl(const QWidget* dialog, int controlId)
{
    T* control = Control<T>(dialog, controlId);
    if (!control)
        qFatal("control %d of %s is missing from its template", controlId, qPrintable(dialog->objectName()));
    return control;
}

} // namespace trelmo
