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

// The template's control with this id, or a hidden stand-in when the template lacks it, so that a damaged template
// gives a window with a missing control rather than a crash.
template <typename T>
T* ControlOrSpare(QWidget* dialog, int controlId)
{
    if (T* control = Control<T>(dialog, controlId))
        return control;
    auto* spare = new T(dialog);
    spare->hide();
    return spare;
}

} // namespace trelmo
