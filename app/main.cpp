#include "GridlarkApp.h"
#include "GridlarkVersion.h"

#include <CLI/CLI.hpp>
#include <QApplication>
#include <QFileInfo>

#include <string>

namespace {

constexpr int kExitUsage = 64;

} // namespace

int main(int argc, char** argv)
{
    // Parsed before Qt starts, so that --help and --version need no display.
    CLI::App cli{"Solves Sudoku puzzles in a small dialog window.", "gridlark"};
    cli.set_version_flag("--version", "gridlark " GRIDLARK_VERSION);
    std::string file;
    cli.add_option("FILE", file, "Grid file to load at start, as the Load button would");
    try {
        cli.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return cli.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return cli.exit(e);
    } catch (const CLI::ParseError& e) {
        cli.exit(e);
        return kExitUsage;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Gridlark"));
    QApplication::setApplicationVersion(QStringLiteral(GRIDLARK_VERSION));
    // Lets the desktop match the window to its menu entry and icon.
    QApplication::setDesktopFileName(QStringLiteral(GRIDLARK_APP_ID));
    // The file dialogs give full paths; so the folder that Load enters is the same.
    if (!file.empty())
        theApp.SetStartFile(QFileInfo(QString::fromLocal8Bit(file)).absoluteFilePath().toLocal8Bit().toStdString());
    theApp.InitInstance();
    return 0;
}
