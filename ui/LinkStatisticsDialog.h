#pragma once
// The Link Statistics window: the link's counts since the last Connect (cycles by how the module answered, bytes set
// aside, the cycle period), read from the link controller once a second. Modeless, display only; it frees itself
// when closed.

#include "DialogControls.h"
#include "LinkController.h"

#include "ToolWindow.h"

#include <QTimer>

namespace trelmo {

constexpr int LinkStatisticsRefreshMs = 1000;

class CLinkStatisticsDialog : public CToolWindow {
    Q_OBJECT

public:
    // The link must outlive the dialog.
    explicit CLinkStatisticsDialog(const LinkController& link, QWidget* parent = nullptr);

public slots:
    // Shows the link's counts as it last reported them; the periods stay empty until one was measured.
    void Refresh();

private:
    const LinkController& link_;
    QTimer refreshTimer_;
};

} // namespace trelmo
