#include "MainDialog.h"

namespace trelmo {

CMainDialog::CMainDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Trelmo Demo Software"));
}

} // namespace trelmo
