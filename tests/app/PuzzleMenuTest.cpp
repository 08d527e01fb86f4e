#include "DialogFixture.h"

#include "CandidateGrid.h"
#include "PuzzleRater.h"
#include "SolutionCounter.h"
#include "SudokuBoard.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include <functional>
#include <stop_token>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

// kPuzzle's solution, row by row.
const char* const kSolution[9] = {"534678912", "672195348", "198342567", "859761423", "426853791",
                                  "713924856", "961537284", "287419635", "345286179"};

using Rows = std::array<std::string, 9>;

Rows rowsOf(const char* const rows[9])
{
    Rows out;
    std::copy(rows, rows + 9, out.begin());
    return out;
}

// kPuzzle as one line, blanks as '.'.
std::string puzzleLine()
{
    std::string line;
    for (const char* row : kPuzzle)
        line += row;
    std::replace(line.begin(), line.end(), '0', '.');
    return line;
}

// What the boxes show for rows.
GridText gridOf(const Rows& rows)
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
    // kPuzzle typed over a solved grid: the figures, Revert and the board of that
    // Solve (8 at r5c5) are what the items must leave alone.
    void SetUp() override
    {
        DialogFixture::SetUp();
        put(4, 4, "8");
        dlg->SendCommand(IDC_SOLVE);
        putRows(kPuzzle);
    }

    void show(const Rows& rows)
    {
        const char* texts[9];
        for (int r = 0; r < 9; ++r)
            texts[r] = rows[r].c_str();
        putRows(texts);
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
        EXPECT_TRUE(dlg->IsGenerating());
        EXPECT_EQ(screen(), before) << "the boxes change only when the puzzle is ready";
        host.FinishJob();
        EXPECT_FALSE(dlg->IsGenerating());
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

TEST_F(PuzzleMenuTest, EscCancelsNewPuzzleAtWorkAndQuitsOnlyWhenNothingIsAtWork)
{
    const Screen before = screen();
    dlg->OnSysCommand(IDM_NEW_EASY, 0);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BusyCursor);
    QTest::keyClick(box(3, 3), Qt::Key_Escape);
    EXPECT_FALSE(dlg->IsGenerating());
    EXPECT_FALSE(dlg->IsDestroyed());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    host.FinishJob(false);  // a puzzle made all the same is not shown
    EXPECT_EQ(screen(), before);
    EXPECT_TRUE(host.messageBoxes.empty());
    QTest::keyClick(box(3, 3), Qt::Key_Escape);
    EXPECT_TRUE(dlg->IsDestroyed());
}

TEST_F(PuzzleMenuTest, ASecondNewPuzzleReplacesTheFirst)
{
    const GridText before = grid();
    dlg->OnSysCommand(IDM_NEW_EXTREME, 0);
    dlg->OnSysCommand(IDM_NEW_EASY, 0);
    host.pendingJobs.front().work = [](std::stop_token) -> std::function<void()> { return [] { FAIL(); }; };
    host.FinishJob(false);
    EXPECT_EQ(grid(), before);
    EXPECT_TRUE(dlg->IsGenerating());
    host.FinishJob();
    EXPECT_NE(grid(), before);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(PuzzleMenuTest, HintShowsTheNextStepOrWhyThereIsNoneAndLeavesTheGrid)
{
    Rows nearly = rowsOf(kSolution), invalid = rowsOf(kPuzzle), blank, unsolvable;
    nearly[0][1] = '0';
    invalid[0][8] = '5';
    blank.fill("000000000");
    unsolvable = blank;
    unsolvable[0] = "123456780";
    unsolvable[1] = "000000009";
    const struct {
        Rows rows;
        UINT type;
        const char* says;
    } cases[] = {
        {nearly, MB_ICONINFORMATION, "r1c2 = 3"},
        {rowsOf(kPuzzle), MB_ICONINFORMATION, ": r"},
        {rowsOf(kSolution), MB_ICONWARNING, "already solved"},
        {invalid, MB_ICONWARNING, "invalid"},
        {unsolvable, MB_ICONWARNING, "no solution"},
        {blank, MB_ICONWARNING, "more than one solution"},
    };
    for (const auto& c : cases) {
        show(c.rows);
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

// The value a hint names last: "... so r4c1 = 5 (only candidate left)".
bool placementOf(const std::string& hint, int& row, int& col, int& value)
{
    const std::size_t equals = hint.rfind(" = ");
    const std::size_t cell = hint.rfind('r', equals);
    return equals != std::string::npos && cell != std::string::npos &&
           std::sscanf(hint.c_str() + cell, "r%dc%d = %d", &row, &col, &value) == 3;
}

TEST_F(PuzzleMenuTest, HintLeadsToAValueAndOnceItIsEnteredMovesOnUntilTheGridIsSolved)
{
    // Hard: after a dozen singles only eliminations lead on.
    const std::string hard = "...6..2....7.284.9..2.....1...43.9...1.......4.......6.5...4.238..7..5..26...5...";
    for (int i = 0; i < 81; ++i)
        put(i / 9, i % 9, hard[i] == '.' ? "" : std::string(1, hard[i]).c_str());
    std::vector<std::string> hints;
    int throughEliminations = 0;
    for (int placed = 0; placed <= 81; ++placed) {
        host.messageBoxes.clear();
        dlg->OnSysCommand(IDM_HINT, 0);
        ASSERT_EQ(host.messageBoxes.size(), 1u);
        const std::string hint = host.messageBoxes[0].text;
        if (host.messageBoxes[0].type != (MB_OK | MB_ICONINFORMATION)) {
            EXPECT_NE(hint.find("already solved"), std::string::npos) << hint;
            break;
        }
        EXPECT_EQ(std::count(hints.begin(), hints.end(), hint), 0) << "repeated: " << hint;
        hints.push_back(hint);
        if (hint.find(",\nso r") != std::string::npos)
            ++throughEliminations;
        int row = 0, col = 0, value = 0;
        ASSERT_TRUE(placementOf(hint, row, col, value)) << hint;
        ASSERT_EQ(box(row - 1, col - 1)->text(), QString()) << hint;
        put(row - 1, col - 1, std::to_string(value).c_str());
    }
    SudokuBoard shown(3);
    dlg->ReadGrid(&shown);
    const auto solved = CandidateGrid::fromBoard(shown);
    ASSERT_TRUE(solved);
    EXPECT_TRUE(solved->isSolved());
    EXPECT_EQ(hints.size(), static_cast<std::size_t>(std::count(hard.begin(), hard.end(), '.')));
    EXPECT_GT(throughEliminations, 0);
    // The pointing on 1 that comes first does not lead to this value.
    EXPECT_EQ(std::count(hints.begin(), hints.end(),
                         "Pointing: 6 in box 1 lies only in column 1: r4c1<>6,\nso r4c1 = 5 (only candidate left)"),
              1);
}

TEST_F(PuzzleMenuTest, CopyPutsTheGridOnTheClipboardAsOneLineWithDotsForBlanks)
{
    put(8, 0, "12");  // no value: a blank
    dlg->OnSysCommand(IDM_COPY, 0);
    EXPECT_EQ(clipboard(), puzzleLine());
}

TEST_F(PuzzleMenuTest, PasteFillsTheBoxesWithAPuzzleAndRefusesAnythingElse)
{
    Rows sdkRows = rowsOf(kSolution);
    sdkRows[0][0] = '.';
    std::string sdk = "# from a file\n";
    for (const std::string& row : sdkRows)
        sdk += row + "\n";
    sdkRows[0][0] = '0';
    const struct {
        std::string text;
        std::optional<Rows> shows;  // nothing: refused
        const char* says;
    } cases[] = {
        {puzzleLine(), rowsOf(kPuzzle), ""},
        {sdk, sdkRows, ""},
        {"hello, world", std::nullopt, "notations"},
        {"3\n1 2 x", std::nullopt, "line 2, column 5"},
        {"1234341221434321", std::nullopt, "4x4"},
        {puzzleLine() + "\n" + puzzleLine(), std::nullopt, "2 puzzles"},
        {"", std::nullopt, "empty"},
    };
    for (const auto& c : cases) {
        put(0, 0, "9");
        Screen expected = screen();
        if (c.shows)
            expected.grid = gridOf(*c.shows);
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
