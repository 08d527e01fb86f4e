// Renders the main dialog with a grid file loaded and solved to a PNG, without a
// display: gridlark-screenshot OUTPUT.png GRID-FILE [CANDIDATES.png GRID-FILE]; with
// the second pair, also the candidates window with that grid loaded and its next
// step shown. Used by `make screenshot`.

#include "CandidatesWnd.h"
#include "GridlarkDlg.h"
#include "platform/CModalHost.h"

#include <QApplication>
#include <QFileInfo>
#include <QPixmap>

#include <cstdio>

namespace {

// Answers the Load dialog with the given file; nothing else may ask the user.
class CScreenshotHost : public CQtModalHost {
public:
    explicit CScreenshotHost(std::string path) : m_path(std::move(path)) {}

protected:
    INT_PTR DoFileDialog(bool, OPENFILENAME& ofn) override
    {
        StorePathName(ofn, m_path);
        return IDOK;
    }

private:
    std::string m_path;
};

int ShootCandidates(const QString& output, const QFileInfo& grid, const char* outputName)
{
    CScreenshotHost host(grid.absoluteFilePath().toStdString());
    CModalHost::Install(&host);
    CGridlarkDlg dlg;
    dlg.Create();
    dlg.show();
    dlg.OnLoad();
    dlg.OnCandidates();
    CCandidatesWnd* wnd = dlg.GetCandidatesWnd();
    wnd->OnNextStep();
    QApplication::processEvents();
    const bool saved = wnd->grab().save(output, "PNG");
    dlg.OnQuit();
    CModalHost::Install(nullptr);
    if (!saved) {
        std::fprintf(stderr, "gridlark-screenshot: cannot write %s\n", outputName);
        return 73;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: gridlark-screenshot OUTPUT.png GRID-FILE [CANDIDATES.png GRID-FILE]\n");
        return 64;
    }
    QApplication app(argc, argv);
    const QString output = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QFileInfo grid(QString::fromLocal8Bit(argv[2]));
    if (!grid.isFile()) {
        std::fprintf(stderr, "gridlark-screenshot: cannot read %s\n", argv[2]);
        return 66;
    }
    // Taken before Load moves the current directory.
    const QString candidatesOutput = argc == 5 ? QFileInfo(QString::fromLocal8Bit(argv[3])).absoluteFilePath() : QString();
    const QFileInfo candidatesGrid(argc == 5 ? QFileInfo(QString::fromLocal8Bit(argv[4])).absoluteFilePath() : QString());
    if (argc == 5 && !candidatesGrid.isFile()) {
        std::fprintf(stderr, "gridlark-screenshot: cannot read %s\n", argv[4]);
        return 66;
    }
    CScreenshotHost host(grid.absoluteFilePath().toStdString());
    CModalHost::Install(&host);

    CGridlarkDlg dlg;
    dlg.Create();
    dlg.show();
    dlg.OnLoad();
    dlg.OnSolve();
    QApplication::processEvents();
    const bool saved = dlg.grab().save(output, "PNG");
    dlg.OnQuit();
    CModalHost::Install(nullptr);
    if (!saved) {
        std::fprintf(stderr, "gridlark-screenshot: cannot write %s\n", argv[1]);
        return 73;
    }
    return argc == 5 ? ShootCandidates(candidatesOutput, candidatesGrid, argv[3]) : 0;
}
