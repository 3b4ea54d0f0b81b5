#include "Startup.h"
#include "StringTable.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/trelmo/icons/trelmo-demo.png")));
    trelmo::InstallToolkitTranslation(trelmo::ActiveLanguage());
    return trelmo::RunStartUp();
}
