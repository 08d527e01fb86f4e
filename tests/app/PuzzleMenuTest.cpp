#include "DialogFixture.h"

#include "CandidateGrid.h"
#include "PuzzleRater.h"
#include "SolutionCounter.h"
#include "SudokuBoard.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

namespace {

// kPuzzle's solution, row by row.
const char* const kSolution[9] = {"534678912", "672195348", "198342567", "859761423", "426853791",
                                  "713924856", "961537284", "287419635", "345286179"};

// kPuzzle as one line, blanks as '.'.
std::string puzzleLine()
{
    std::string line;
    for (const char* row : kPuzzle)
        for (const char* c = row; *c; ++c)
            line += *c == '0' ? '.' : *c;
    return line;
}

// The grid that rows show, as the boxes hold it.
GridText gridOf(const char* const rows[9])
{
    GridText g;
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c)
            g[r][c] = rows[r][c] == '0' ? "" : std::string(1, rows[r][c]);
    return g;
}

void setClipboard(const std::string& text) { QApplication::clipboard()->setText(QString::fromStdString(text)); }
std::string clipboard() { return QApplication::clipboard()->text().toStdString(); }

class PuzzleMenuTest : public DialogFixture {
protected:
    // Something typed that the items must leave alone, and a screen to compare with.
    void SetUp() override
    {
        DialogFixture::SetUp();
        put(4, 4, "8");
        dlg->SendCommand(IDC_SOLVE);
        putRows(kPuzzle);
    }
};

TEST_F(PuzzleMenuTest, ItemsStandBeforeAboutAndNewPuzzleOffersTheFiveLevels)
{
    const auto& items = dlg->GetSystemMenu(false)->GetItems();
    ASSERT_GE(items.size(), 7u);
    const CMenu::Item* puzzle = &items[items.size() - 7];
    EXPECT_TRUE(puzzle[0].flags & MF_SEPARATOR);
    EXPECT_TRUE(puzzle[1].flags & MF_POPUP);
    const std::vector<std::pair<UINT, std::string>> expected = {
        {IDM_HINT, "&Hint"}, {IDM_COPY, "C&opy\tCtrl+Shift+C"}, {IDM_PASTE, "&Paste\tCtrl+Shift+V"}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(puzzle[2 + i].id, expected[i].first);
        EXPECT_EQ(puzzle[2 + i].text, expected[i].second);
    }
    EXPECT_EQ(items.back().id, IDM_ABOUTBOX);
    std::vector<UINT> levels;
    for (const CMenu::Item& level : puzzle[1].popup)
        levels.push_back(level.id);
    EXPECT_EQ(levels, (std::vector<UINT>{IDM_NEW_EASY, IDM_NEW_MEDIUM, IDM_NEW_HARD, IDM_NEW_EXPERT, IDM_NEW_EXTREME}));
}

TEST_F(PuzzleMenuTest, NewPuzzleFillsTheBoxesWithAUniquePuzzleOfTheLevelAndNothingElse)
{
    const struct {
        UINT command;
        Level level;
    } cases[] = {{IDM_NEW_EASY, Level::Easy},     {IDM_NEW_MEDIUM, Level::Medium},   {IDM_NEW_HARD, Level::Hard},
                 {IDM_NEW_EXPERT, Level::Expert}, {IDM_NEW_EXTREME, Level::Extreme}};
    for (const auto& c : cases) {
        Screen before = screen();
        dlg->OnSysCommand(c.command, 0);
        SudokuBoard shown(3);
        dlg->ReadGrid(&shown);
        const auto puzzle = CandidateGrid::fromBoard(shown);
        ASSERT_TRUE(puzzle) << c.command;
        EXPECT_EQ(SolutionCounter::count(*puzzle, 2), 1) << c.command;
        EXPECT_EQ(PuzzleRater::rate(*puzzle).level, c.level) << c.command;
        before.grid = grid();
        EXPECT_EQ(screen(), before) << "only the boxes change";
        EXPECT_EQ(dlg->GetBoard()->valueAt(4, 4), 8) << "the board of the last Solve stays";
    }
    EXPECT_TRUE(host.messageBoxes.empty());
}

TEST_F(PuzzleMenuTest, HintShowsTheNextStepOrWhyThereIsNoneAndLeavesTheGrid)
{
    char nearlySolved[9][10];
    const char* nearly[9];
    char noSolution[9][10] = {"123456780", "000000009"};
    const char* unsolvable[9];
    char twice[9][10];
    const char* invalid[9];
    char empty[9][10] = {};
    const char* blank[9];
    for (int r = 0; r < 9; ++r) {
        std::snprintf(nearlySolved[r], 10, "%s", kSolution[r]);
        std::snprintf(twice[r], 10, "%s", kPuzzle[r]);
        if (r > 1)
            std::snprintf(noSolution[r], 10, "000000000");
        std::snprintf(empty[r], 10, "000000000");
        nearly[r] = nearlySolved[r];
        unsolvable[r] = noSolution[r];
        invalid[r] = twice[r];
        blank[r] = empty[r];
    }
    nearlySolved[0][1] = '0';
    twice[0][8] = '5';
    const struct {
        const char* const* rows;
        UINT type;
        const char* says;
    } cases[] = {
        {nearly, MB_ICONINFORMATION, "r1c2 = 3"},
        {kPuzzle, MB_ICONINFORMATION, ": r"},
        {kSolution, MB_ICONWARNING, "already solved"},
        {invalid, MB_ICONWARNING, "invalid"},
        {unsolvable, MB_ICONWARNING, "no solution"},
        {blank, MB_ICONWARNING, "more than one solution"},
    };
    for (const auto& c : cases) {
        putRows(c.rows);
        const Screen before = screen();
        host.messageBoxes.clear();
        dlg->OnSysCommand(IDM_HINT, 0);
        ASSERT_EQ(host.messageBoxes.size(), 1u) << c.says;
        EXPECT_EQ(host.messageBoxes[0].caption, "Hint");
        EXPECT_EQ(host.messageBoxes[0].type, MB_OK | c.type) << c.says;
        EXPECT_NE(host.messageBoxes[0].text.find(c.says), std::string::npos) << host.messageBoxes[0].text;
        EXPECT_EQ(screen(), before) << c.says;
    }
}

TEST_F(PuzzleMenuTest, CopyPutsTheGridOnTheClipboardAsOneLineWithDotsForBlanks)
{
    put(8, 0, "12");  // no value: a blank
    dlg->OnSysCommand(IDM_COPY, 0);
    EXPECT_EQ(clipboard(), puzzleLine());
}

TEST_F(PuzzleMenuTest, PasteFillsTheBoxesWithAPuzzleAndRefusesAnythingElse)
{
    std::string sdk = "# from a file\n";
    for (const char* row : kSolution)
        sdk += std::string(row) + "\n";
    sdk[sdk.find('\n') + 1] = '.';
    char sdkFirstRow[10] = "034678912";
    const char* sdkRows[9] = {sdkFirstRow};
    for (int r = 1; r < 9; ++r)
        sdkRows[r] = kSolution[r];
    const struct {
        std::string text;
        const char* const* shows;  // null: refused
        const char* says;
    } cases[] = {
        {puzzleLine(), kPuzzle, ""},
        {sdk, sdkRows, ""},
        {"hello, world", nullptr, "notations"},
        {"3\n1 2 x", nullptr, "line 2, column 5"},
        {"1234341221434321", nullptr, "4x4"},
        {puzzleLine() + "\n" + puzzleLine(), nullptr, "2 puzzles"},
        {"", nullptr, "empty"},
    };
    for (const auto& c : cases) {
        put(0, 0, "9");
        Screen expected = screen();
        if (c.shows)
            expected.grid = gridOf(c.shows);
        host.messageBoxes.clear();
        setClipboard(c.text);
        dlg->OnSysCommand(IDM_PASTE, 0);
        EXPECT_EQ(screen(), expected) << c.text;
        EXPECT_EQ(dlg->GetBoard()->valueAt(4, 4), 8) << c.text;
        ASSERT_EQ(host.messageBoxes.size(), c.shows ? 0u : 1u) << c.text;
        if (!c.shows) {
            EXPECT_EQ(host.messageBoxes[0].caption, "Paste");
            EXPECT_NE(host.messageBoxes[0].text.find(c.says), std::string::npos) << host.messageBoxes[0].text;
        }
    }
}

TEST_F(PuzzleMenuTest, KeysCopyAndPasteWherever)
{
    const GridText puzzle = grid();
    // Ctrl+Shift+C from a box and from a button.
    for (QWidget* from : std::vector<QWidget*>{box(2, 3), item(IDC_SOLVE)}) {
        setClipboard("");
        QTest::keyClick(from, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(clipboard(), puzzleLine());
    }
    putRows(kSolution);
    QTest::keyClick(item(IDC_SOLVE), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(grid(), puzzle) << "Ctrl+Shift+V pastes the puzzle copied";
    EXPECT_TRUE(host.messageBoxes.empty());

    // Ctrl+V in a box: the whole puzzle when there is one, else into the box alone.
    putRows(kSolution);
    QTest::keyClick(box(6, 6), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid(), puzzle);
    // A lone 3 also reads as a blank grid file of box size 3.
    setClipboard("3");
    put(6, 6, "");
    GridText expected = grid();
    expected[6][6] = "3";
    QTest::keyClick(box(6, 6), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid(), expected);
    EXPECT_TRUE(host.messageBoxes.empty());
}

} // namespace
