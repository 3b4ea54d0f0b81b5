#pragma once

#include <QDialog>

namespace trelmo {

// The tool's main window, run modally for the whole life of the process.
class CMainDialog : public QDialog {
    Q_OBJECT
public:
    explicit CMainDialog(QWidget* parent = nullptr);
};

} // namespace trelmo
