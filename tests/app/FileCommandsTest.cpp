#include "DialogFixture.h"

#include "SudokuBoard.h"

#include <QApplication>
#include <QTest>

#include <functional>
#include <tuple>
#include <utility>

namespace {

using FileCommandsTest = DialogFixture;

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
    for (const auto& call : host.fileDialogs)
        EXPECT_EQ(call.filters, (QStringList{QStringLiteral("Text Files (*.txt) (*.txt)"),
                                             QStringLiteral("Grid Files (*.grid) (*.grid)"),
                                             QStringLiteral("All Files (*.*) (*)")}));
}

TEST_F(FileCommandsTest, EachConfirmedDialogEntersTheFolderOfItsFileAndTheNextStartsThere)
{
    ASSERT_TRUE(QDir().mkpath(dir.path() + QStringLiteral("/sub")));
    const std::string top = canonical(dir.path()), sub = canonical(dir.path() + QStringLiteral("/sub"));
    struct Step {
        int command;
        const char* file;  // nullptr: the dialog is cancelled
        const std::string& folder;
        const char* message;
    };
    const Step steps[] = {
        {IDC_SAVE, "sub/a.txt", sub, kSaved},
        {IDC_SAVE, "b.txt", top, kSaved},
        {IDC_LOAD, "sub/a.txt", sub, kInstructions},
        {IDC_SAVE, "sub", top, kSaveError},  // a folder cannot be opened for writing
        {IDC_LOAD, "sub/missing.txt", sub, kOpenError},  // the folder is entered before the file is opened
        {IDC_LOAD, nullptr, sub, kOpenError},
        {IDC_SAVE, nullptr, sub, kOpenError},
    };
    // Whatever happens, the figures go and the Revert offer stays; a.txt holds the grid
    // on screen, so no step changes the boxes.
    solveAndType("7");
    const GridText shown = grid();
    for (const Step& step : steps) {
        const std::string before = QDir::currentPath().toStdString();
        dlg->SetDlgItemText(IDC_FIGURES, "1; 2; 3");
        host.fileAnswers.push_back({step.file ? IDOK : IDCANCEL, step.file ? path(step.file) : ""});
        dlg->SendCommand(step.command);
        EXPECT_EQ(host.fileDialogs.back().initialDir, before) << step.file;
        EXPECT_EQ(canonical(QDir::currentPath()), step.folder) << step.file;
        EXPECT_EQ(screen(), (Screen{shown, step.message, "", true})) << (step.file ? step.file : "cancelled");
    }
}

TEST_F(FileCommandsTest, LoadFillsWhatTheFileReachesAndLeavesTheRestBlank)
{
    solveAndType("7");
    command(IDC_LOAD, write("three.txt", "3\n"));
    EXPECT_EQ(screen(), (Screen{{}, kInstructions, "", true}));
    command(IDC_LOAD, write("short.grid", "3\n1 0 3 0 5 0 0 8 9 0 0 0 4 3 6 5\nA comment, then 7 7 7\n"));
    GridText expected;
    expected[0] = {"1", "", "3", "", "5", "", "", "8", "9"};
    expected[1] = {"", "", "", "4", "3", "6", "5", "", ""};
    EXPECT_EQ(grid(), expected);
    dlg->SendCommand(IDC_REVERT);
    EXPECT_EQ(box(0, 0)->text(), QStringLiteral("7")) << "Load leaves the board read at the last Solve";
}

TEST_F(FileCommandsTest, SaveWritesTheBoxesAsAFreshBoardReadsThemAndLoadShowsThemAgain)
{
    put(0, 0, "4");
    dlg->SendCommand(IDC_SOLVE);
    dlg->SendCommand(IDC_REVERT);
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c) {
            const int v = (r * 9 + c) % 11;  // 0 to 9 and empty boxes
            put(r, c, v == 10 ? "" : std::to_string(v).c_str());
        }
    put(0, 0, "12");  // read as 0 into a fresh board, though the dialog's board holds 4
    put(0, 1, "x");
    const GridText typed = grid();
    GridText expected = typed;
    for (auto& row : expected)
        for (auto& cell : row)
            if (cell == "0" || cell == "12" || cell == "x")
                cell.clear();
    command(IDC_SAVE, path("round trip"));
    EXPECT_EQ(message(), kSaved);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(path("round trip")))) << "no extension added";
    EXPECT_EQ(grid(), typed) << "Save does not rewrite the boxes";
    EXPECT_EQ(dlg->GetBoard()->valueAt(0, 0), 4) << "Save leaves the dialog's board alone";
    dlg->SendCommand(IDC_RESET_ALL);
    command(IDC_LOAD, path("round trip"));
    EXPECT_EQ(grid(), expected);

    // Saving over the file replaces it: a mostly blank grid must not leave the old
    // values behind, nor come after them.
    dlg->SendCommand(IDC_RESET_ALL);
    put(8, 8, "6");
    command(IDC_SAVE, path("round trip"));
    EXPECT_EQ(message(), kSaved);
    put(8, 8, "");
    command(IDC_LOAD, path("round trip"));
    GridText overwritten;
    overwritten[8][8] = "6";
    EXPECT_EQ(grid(), overwritten);
}

// gridlark FILE: the dialog starts with FILE loaded exactly as Load loads a chosen
// file, message and current folder included.
TEST_F(FileCommandsTest, StartFileIsLoadedAsLoadWouldLoadIt)
{
    ASSERT_TRUE(QDir().mkpath(dir.path() + QStringLiteral("/sub")));
    const std::string sub = canonical(dir.path() + QStringLiteral("/sub"));
    // The file, the message and the top-left box afterwards.
    const std::tuple<std::string, const char*, const char*> files[] = {
        {write("sub/given.txt", "3\n5 3 0 0 7"), kInstructions, "5"},
        {write("sub/four.txt", "2\n1 2 3 4"), kOpenError, ""},
        {path("sub/missing.txt"), kOpenError, ""},
    };
    for (const auto& [file, expected, corner] : files) {
        dlg->OnQuit();
        dlg = std::make_unique<CGridlarkDlg>();
        dlg->Create();
        command(IDC_LOAD, file);
        const Screen loaded = screen();

        QDir::setCurrent(startDir);
        dlg->OnQuit();
        dlg = std::make_unique<CGridlarkDlg>();
        dlg->SetStartFile(file);
        dlg->Create();
        EXPECT_EQ(screen(), loaded) << file;
        EXPECT_EQ(message(), expected) << file;
        EXPECT_EQ(grid()[0][0], corner) << file;
        EXPECT_EQ(canonical(QDir::currentPath()), sub) << file;
    }
}

// Every modal window hands the keyboard back: a window manager that leaves the
// dialog inactive after the window closes is played by a window that takes the
// activation while the modal runs and then goes away.
TEST_F(FileCommandsTest, AfterEveryModalWindowTheDialogIsActiveWithItsFocusBack)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    host.duringModal = [] {
        QWidget other;
        other.show();
        other.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    };
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"Save over a file", [&] { command(IDC_SAVE, write("old.txt", "3\n")); }},
        {"Load", [&] { command(IDC_LOAD, path("old.txt")); }},
        {"About box", [&] { dlg->OnSysCommand(IDM_ABOUTBOX, 0); }},
        {"Help", [&] { dlg->SendCommand(IDC_HELP_BUTTON); }},
    };
    for (const auto& [name, run] : commands) {
        box(4, 5)->setFocus();
        run();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dlg.get())) << name;
        EXPECT_EQ(QApplication::focusWidget(), box(4, 5)) << name;
    }
}

} // namespace
