// Prints the language variant the program would choose in this process's environment.
#include "StringTable.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    std::puts(trelmo::SystemLanguageVariant() == trelmo::LanguageVariant::Chinese ? "zh_CN" : "en");
    return 0;
}
