#include "GridlarkApp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Gridlark"));
    theApp.InitInstance();
    return 0;
}
