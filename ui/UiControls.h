#pragma once
// Control lookup for the object tool windows.

#include "DialogTemplate.h"

#include <QKeyEvent>

namespace trelmo {

// A press of Return or of the keypad's Enter.
inline bool IsEnterKey(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
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
