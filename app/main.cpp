#include "GridlarkApp.h"
#include "GridlarkVersion.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Gridlark"));
    QApplication::setApplicationVersion(QStringLiteral(GRIDLARK_VERSION));
    // Lets the desktop match the window to its menu entry and icon.
    QApplication::setDesktopFileName(QStringLiteral(GRIDLARK_APP_ID));
    theApp.InitInstance();
    return 0;
}
