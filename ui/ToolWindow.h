#pragma once
// The base of the windows built from a dialog template: it builds the template's controls and runs the window modal,
// modeless or as its opener's dialog, and watches fields for the key and focus events the windows act on.

#include "UiControls.h"

#include <QDialog>

#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

namespace trelmo {

class CToolWindow : public QDialog {
protected:
    enum class Kind {
        Modal,    // a caption with the system menu and a close box, no other frame buttons; modal
        Modeless, // the same frame, modeless; the window frees itself when closed
        Dialog,   // the platform's ordinary dialog frame; the opener runs it with exec()
    };
    CToolWindow(int templateId, QWidget* parent, Kind kind = Kind::Modal);

    // Enter in these fields does nothing: it would start a new line, or press the window's default button.
    void IgnoreEnterIn(std::initializer_list<QWidget*> fields);
    // Calls then each time the field loses the focus for good (not for a drop-down list's popup).
    void WhenFocusLost(QWidget* field, std::function<void()> then);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Each watched field with what it does with an event; true drops the event.
    std::vector<std::pair<QObject*, std::function<bool(QEvent*)>>> watches_;
};

} // namespace trelmo
