#include "DialogFixture.h"

#include "GridFile.h"
#include "platform/CFileDialog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

const char* const kOpenError =
    "SORRY, File Error - could not open selected file, or the file is not in the correct format.";
const char* const kSaved = "Current Grid Saved to Selected File.  Change values and use buttons as before.";
const char* const kSaveError =
    "SORRY, File Error - could not save selected file. Check file is not set to R/O and try again.";

class FileCommandsTest : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        startDir = QDir::currentPath();
        ASSERT_TRUE(QDir().mkpath(sub()));
    }

    void TearDown() override
    {
        QDir::setCurrent(startDir);
        DialogFixture::TearDown();
    }

    std::string path(const char* name) { return (dir.path() + QLatin1Char('/') + QLatin1String(name)).toStdString(); }
    QString sub() { return dir.path() + QStringLiteral("/sub"); }
    std::string cwd() { return QDir::currentPath().toStdString(); }

    std::string write(const char* name, const char* content)
    {
        QFile file(QString::fromStdString(path(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path(name);
    }

    void load(const std::string& file)
    {
        host.fileAnswers.push_back({IDOK, file});
        dlg->SendCommand(IDC_LOAD);
    }

    void save(const std::string& file)
    {
        host.fileAnswers.push_back({IDOK, file});
        dlg->SendCommand(IDC_SAVE);
    }

    // Shows figures and offers Revert, as a solve of one given does.
    void solveWithSeven()
    {
        put(0, 0, "7");
        dlg->SendCommand(IDC_SOLVE);
        ASSERT_FALSE(figures().empty());
        ASSERT_TRUE(enabled(IDC_REVERT));
    }

    QTemporaryDir dir;
    QString startDir;
};

TEST_F(FileCommandsTest, DialogsAskWithTheirTitlesFiltersAndFlags)
{
    dlg->SendCommand(IDC_LOAD);
    dlg->SendCommand(IDC_SAVE);
    ASSERT_EQ(host.fileDialogs.size(), 2u);
    const auto& open = host.fileDialogs[0];
    const auto& saveAs = host.fileDialogs[1];
    EXPECT_TRUE(open.open);
    EXPECT_EQ(open.title, "Select Sudoku Grid File");
    EXPECT_EQ(open.flags, 0x8100Cu);
    EXPECT_FALSE(saveAs.open);
    EXPECT_EQ(saveAs.title, "Save Sudoku Grid File");
    EXPECT_EQ(saveAs.flags, 0x8A00Eu);
    EXPECT_EQ(saveAs.defExt, "") << "no extension is added";
    for (const auto& call : host.fileDialogs) {
        EXPECT_EQ(call.initialDir, cwd());
        EXPECT_EQ(call.filters, (QStringList{QStringLiteral("Text Files (*.txt) (*.txt)"),
                                             QStringLiteral("Grid Files (*.grid) (*.grid)"),
                                             QStringLiteral("All Files (*.*) (*)")}));
    }
}

TEST(FilterStringTest, PairsOfLabelAndPatternsUpToTheDoubleBar)
{
    EXPECT_EQ(ParseFilterString("Grids|*.grid;*.txt|Everything|*.*||ignored|*.x|"),
              (QStringList{QStringLiteral("Grids (*.grid *.txt)"), QStringLiteral("Everything (*)")}));
    EXPECT_TRUE(ParseFilterString("").isEmpty());
    EXPECT_TRUE(ParseFilterString(nullptr).isEmpty());
    EXPECT_TRUE(ParseFilterString("Label without pattern").isEmpty());
}

TEST_F(FileCommandsTest, CancelledDialogsClearFiguresOnly)
{
    solveWithSeven();
    const GridText shown = grid();
    const std::string msg = message();
    const std::string before = cwd();
    host.fileAnswers.push_back({IDCANCEL, ""});
    dlg->SendCommand(IDC_LOAD);
    EXPECT_EQ(figures(), "");
    EXPECT_EQ(message(), msg);
    EXPECT_EQ(cwd(), before);

    solveWithSeven();
    host.fileAnswers.push_back({IDCANCEL, ""});
    dlg->SendCommand(IDC_SAVE);
    EXPECT_EQ(figures(), "");
    EXPECT_EQ(message(), msg);
    EXPECT_EQ(cwd(), before);
    EXPECT_EQ(grid(), shown);
    EXPECT_TRUE(enabled(IDC_REVERT));
}

TEST_F(FileCommandsTest, LoadOfAFileHoldingOnlyThreeShowsABlankGrid)
{
    solveWithSeven();
    load(write("three.txt", "3\n"));
    for (const auto& row : grid())
        for (const auto& cell : row)
            EXPECT_EQ(cell, "");
    EXPECT_EQ(message(), kInstructions);
    EXPECT_EQ(figures(), "");
    EXPECT_EQ(cwd(), QDir(dir.path()).canonicalPath().toStdString());
}

TEST_F(FileCommandsTest, RefusedFilesLeaveTheGridAndGiveTheOpenError)
{
    const std::pair<const char*, const char*> files[] = {
        {"empty.txt", ""}, {"two.txt", "2\n1 2 3 4\n"}, {"word.txt", "three 5 3\n"}, {"nine.txt", "9 1 2 3"},
    };
    for (const auto& [name, content] : files) {
        solveWithSeven();
        put(8, 8, "12");
        const GridText before = grid();
        load(write(name, content));
        EXPECT_EQ(message(), kOpenError) << name;
        EXPECT_EQ(grid(), before) << name;
        EXPECT_EQ(figures(), "") << name;
    }
    host.fileAnswers.push_back({IDOK, path("sub/missing.txt")});
    dlg->SendCommand(IDC_LOAD);
    EXPECT_EQ(message(), kOpenError);
    EXPECT_EQ(cwd(), QDir(sub()).canonicalPath().toStdString()) << "the folder is entered before the file is opened";
}

TEST_F(FileCommandsTest, ShortFileFillsWhatItReachesAndLeavesTheRestBlank)
{
    load(write("short.grid", "3\n1 0 3 0 5 0 0 8 9 0 0 0 4 3 6 5\nA comment, then 7 7 7\n"));
    const GridText g = grid();
    const char* const row0[9] = {"1", "", "3", "", "5", "", "", "8", "9"};
    const char* const row1[9] = {"", "", "", "4", "3", "6", "5", "", ""};
    for (int c = 0; c < 9; ++c) {
        EXPECT_EQ(g[0][c], row0[c]);
        EXPECT_EQ(g[1][c], row1[c]);
    }
    for (int r = 2; r < 9; ++r)
        for (int c = 0; c < 9; ++c)
            EXPECT_EQ(g[r][c], "");
    EXPECT_EQ(message(), kInstructions);
}

TEST_F(FileCommandsTest, SaveThenLoadGivesTheSameGrid)
{
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c) {
            const int v = (r * 9 + c) % 11;  // 0 to 9 and empty boxes
            put(r, c, v == 10 ? "" : std::to_string(v).c_str());
        }
    dlg->SendCommand(IDC_SOLVE);  // invalid, so the boxes stay as typed
    const std::string file = (sub() + QStringLiteral("/round trip")).toStdString();
    save(file);
    EXPECT_EQ(message(), kSaved);
    EXPECT_EQ(figures(), "");
    EXPECT_TRUE(QFile::exists(QString::fromStdString(file))) << "saved under the name as typed, no extension added";
    EXPECT_EQ(cwd(), QDir(sub()).canonicalPath().toStdString());

    GridText expected = grid();
    for (auto& row : expected)
        for (auto& cell : row)
            if (cell == "0")
                cell.clear();
    dlg->SendCommand(IDC_RESET_ALL);
    load(file);
    EXPECT_EQ(grid(), expected);
}

TEST_F(FileCommandsTest, OutOfRangeBoxIsSavedAsZeroFromAFreshBoard)
{
    put(0, 0, "4");
    dlg->SendCommand(IDC_SOLVE);
    dlg->SendCommand(IDC_REVERT);
    put(0, 0, "12");  // the dialog's board still holds 4 here
    put(0, 1, "x");
    put(0, 2, "3");
    save(path("twelve.txt"));
    GridReadStatus status;
    const auto saved = readGridFile(path("twelve.txt").c_str(), status);
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(saved->valueAt(0, 0), 0);
    EXPECT_EQ(saved->valueAt(0, 1), 0);
    EXPECT_EQ(saved->valueAt(0, 2), 3);
    EXPECT_EQ(dlg->GetBoard()->valueAt(0, 0), 4) << "Save leaves the dialog's board alone";
    EXPECT_EQ(box(0, 0)->text(), QStringLiteral("12")) << "Save does not rewrite the boxes";
}

TEST_F(FileCommandsTest, SaveThatCannotOpenGivesTheSaveError)
{
    solveWithSeven();
    const GridText shown = grid();
    save(sub().toStdString());  // a folder cannot be opened for writing
    EXPECT_EQ(message(), kSaveError);
    EXPECT_EQ(figures(), "");
    EXPECT_EQ(grid(), shown);
    EXPECT_EQ(cwd(), QDir(dir.path()).canonicalPath().toStdString());
}

TEST_F(FileCommandsTest, CurrentDirectoryFollowsEachConfirmedDialog)
{
    save(path("sub/a.txt"));
    load(path("sub/a.txt"));
    ASSERT_EQ(host.fileDialogs.size(), 2u);
    EXPECT_EQ(host.fileDialogs[1].initialDir, QDir(sub()).canonicalPath().toStdString());
    save(path("b.txt"));
    host.fileAnswers.push_back({IDCANCEL, ""});
    dlg->SendCommand(IDC_LOAD);
    ASSERT_EQ(host.fileDialogs.size(), 4u);
    EXPECT_EQ(host.fileDialogs[3].initialDir, QDir(dir.path()).canonicalPath().toStdString());
    EXPECT_EQ(cwd(), QDir(dir.path()).canonicalPath().toStdString());
}

TEST_F(FileCommandsTest, LoadAndSaveLeaveTheBoardAndTheRevertOffer)
{
    put(0, 0, "7");
    dlg->SendCommand(IDC_SOLVE);
    save(path("solution.txt"));
    EXPECT_TRUE(enabled(IDC_REVERT));
    load(write("other.txt", "3 0 0 5"));
    EXPECT_TRUE(enabled(IDC_REVERT));
    EXPECT_EQ(box(0, 2)->text(), QStringLiteral("5"));
    dlg->SendCommand(IDC_REVERT);
    EXPECT_EQ(box(0, 0)->text(), QStringLiteral("7"));
    EXPECT_EQ(box(0, 2)->text(), QString()) << "Revert shows the grid read at the last Solve";

    load(path("solution.txt"));
    dlg->SendCommand(IDC_SOLVE);
    dlg->SendCommand(IDC_REVERT);
    load(path("solution.txt"));
    const GridText loaded = grid();
    dlg->SendCommand(IDC_SOLVE);
    dlg->SendCommand(IDC_REVERT);
    EXPECT_EQ(grid(), loaded) << "Load, Solve, Revert shows the loaded grid";
}

} // namespace
