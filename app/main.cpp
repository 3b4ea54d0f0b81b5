#include "Startup.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/trelmo/icons/trelmo-demo.png")));
    return trelmo::RunStartUp();
}
