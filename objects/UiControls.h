#pragma once
// Control lookup for the object tool windows.

#include "DialogTemplate.h"

namespace trelmo {

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
