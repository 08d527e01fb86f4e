// The window menu's puzzle items: New Puzzle, Hint, Copy and Paste. They change only
// the cell boxes, as typing would; the board of the last Solve, the buttons and the
// two lines stay as they were.

#include "GridlarkDlg.h"

#include "Resource.h"
#include "platform/CClipboard.h"
#include "platform/CModalHost.h"
#include "platform/CWaitCursor.h"

#include "CandidateGrid.h"
#include "LogicalSolver.h"
#include "PlacementHint.h"
#include "PuzzleGenerator.h"
#include "PuzzleText.h"
#include "PuzzleRater.h"
#include "SudokuBoard.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <stop_token>
#include <string>

namespace {

const char kNewPuzzleCaption[] = "New Puzzle";
const char kHintCaption[] = "Hint";
const char kPasteCaption[] = "Paste";

const char kNoPuzzleMade[] = "No puzzle of this level turned up this time; the grid stays as it was. Try again.";
const char kHintInvalid[] =
    "The grid is invalid - a value is repeated in a row, column or subsquare - so there is no next step.";
const char kHintNoSolution[] = "The grid has no solution, so there is no next step. Check the values entered.";
const char kHintManySolutions[] =
    "The grid has more than one solution, so no step follows from it by logic. Enter more values.";
const char kHintSolved[] = "The grid is already solved.";
const char kHintNoStep[] = "No logical step was found for this grid.";
const char kNotAPuzzle[] = "The clipboard holds no 9x9 puzzle, so the grid stays as it was:\n";

struct NewPuzzleItem {
    UINT command;
    int text;
    Level level;
};

const NewPuzzleItem kNewPuzzleItems[] = {
    {IDM_NEW_EASY, IDS_LEVEL_EASY, Level::Easy},          {IDM_NEW_MEDIUM, IDS_LEVEL_MEDIUM, Level::Medium},
    {IDM_NEW_HARD, IDS_LEVEL_HARD, Level::Hard},          {IDM_NEW_EXPERT, IDS_LEVEL_EXPERT, Level::Expert},
    {IDM_NEW_EXTREME, IDS_LEVEL_EXTREME, Level::Extreme},
};

// Runs on the generation's thread: one attempt at a time, so that a cancel is heard
// between them; as many attempts in all as the generator makes by itself.
std::optional<GeneratedPuzzle> generate(Level level, int innerSize, std::uint64_t seed, const std::stop_token& stop)
{
    GeneratorOptions options;
    options.innerSize = innerSize;
    options.level = level;
    options.seed = seed;
    const int attempts = options.maxAttempts;
    options.maxAttempts = 1;
    PuzzleGenerator generator(options);
    std::optional<GeneratedPuzzle> puzzle;
    for (int attempt = 0; attempt < attempts && !puzzle && !stop.stop_requested(); ++attempt)
        puzzle = generator.next();
    return puzzle;
}

std::string place(const PuzzleDiagnostic& where)
{
    return "line " + std::to_string(where.line) + ", column " + std::to_string(where.column) + ": " + where.message;
}

// Why text is no puzzle for the grid, or empty when it is one 9x9 puzzle, which then
// goes to board. A reading with warnings is refused: where the grid file reader
// stops at stray text or skips a value, the rest is a guess.
std::string readPuzzle(const std::string& text, SudokuBoard& board)
{
    PuzzleText reader;
    if (!reader.read(text, PuzzleFormat::automatic)) {
        if (reader.getFailure() == PuzzleText::Failure::malformed ||
            reader.getFailure() == PuzzleText::Failure::ambiguous)
            return place(reader.getError());
        return text.find_first_not_of(" \t\n\v\f\r") == std::string::npos
                   ? "it is empty."
                   : "the text fits none of the notations line, sdk, ss, boxed or grid file.";
    }
    if (!reader.getWarnings().empty())
        return place(reader.getWarnings().front());
    const auto& puzzles = reader.getPuzzles();
    if (puzzles.size() != 1)
        return "it holds " + std::to_string(puzzles.size()) + " puzzles; copy one at a time.";
    const int side = puzzles[0].innerSize * puzzles[0].innerSize;
    if (puzzles[0].innerSize != board.getInnerSize())
        return "it holds a " + std::to_string(side) + "x" + std::to_string(side) + " puzzle.";
    for (int i = 0; i < side * side; ++i)
        board.cellAt(i / side, i % side)->setValue(puzzles[0].values[static_cast<std::size_t>(i)]);
    return {};
}

} // namespace

void CGridlarkDlg::AppendPuzzleMenu(CMenu& menu)
{
    CMenu levels;
    for (const NewPuzzleItem& item : kNewPuzzleItems)
        levels.AppendMenu(MF_STRING, item.command, LoadResourceString(item.text));
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_POPUP, levels, LoadResourceString(IDS_NEW_PUZZLE));
    menu.AppendMenu(MF_STRING, IDM_HINT, LoadResourceString(IDS_HINT));
    menu.AppendMenu(MF_STRING, IDM_COPY, LoadResourceString(IDS_COPY));
    menu.AppendMenu(MF_STRING, IDM_PASTE, LoadResourceString(IDS_PASTE));
    SetSysAccelerators({{FVIRTKEY | FCONTROL | FSHIFT, 'C', IDM_COPY},
                        {FVIRTKEY | FCONTROL | FSHIFT, 'V', IDM_PASTE},
                        {FVIRTKEY | FCONTROL | FSHIFT, 'D', IDM_CANDIDATES},
                        {FVIRTKEY | FCONTROL | FSHIFT, 'P', IDM_PRINT},
                        {FVIRTKEY | FCONTROL | FSHIFT, 'E', IDM_EXPORT}});
}

BOOL CGridlarkDlg::OnPuzzleCommand(UINT nID)
{
    switch (nID & 0xFFF0) {
    case IDM_HINT:
        OnHint();
        return true;
    case IDM_COPY:
        OnCopy();
        return true;
    case IDM_PASTE:
        OnPaste();
        return true;
    default:
        break;
    }
    for (const NewPuzzleItem& item : kNewPuzzleItems) {
        if ((nID & 0xFFF0) == item.command) {
            OnNewPuzzle(item.level);
            return true;
        }
    }
    return false;
}

void CGridlarkDlg::OnNewPuzzle(Level level)
{
    // A second request replaces the first, whose puzzle is no longer wanted.
    CancelGeneration();
    const int innerSize = m_board->getInnerSize();
    const std::uint64_t seed = std::random_device{}();
    m_busy.emplace(Qt::BusyCursor);
    m_generation = CModalHost::Get().StartJob(
        this, [this, level, innerSize, seed](std::stop_token stop) -> std::function<void()> {
            std::optional<GeneratedPuzzle> puzzle = generate(level, innerSize, seed, stop);
            if (stop.stop_requested())
                return {};
            return [this, puzzle = std::move(puzzle)] { OnPuzzleReady(puzzle); };
        });
}

void CGridlarkDlg::CancelGeneration()
{
    m_generation.reset();
    m_busy.reset();
}

void CGridlarkDlg::OnPuzzleReady(const std::optional<GeneratedPuzzle>& puzzle)
{
    CancelGeneration();
    if (!puzzle) {
        MessageBox(kNoPuzzleMade, kNewPuzzleCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    SudokuBoard board(m_board->getInnerSize());
    const int side = board.getSize();
    for (int i = 0; i < side * side; ++i)
        board.cellAt(i / side, i % side)->setValue(puzzle->givens[static_cast<std::size_t>(i)]);
    ShowBoard(&board);
}

void CGridlarkDlg::OnHint()
{
    SudokuBoard board(m_board->getInnerSize());
    ReadGrid(&board);
    const std::optional<CandidateGrid> grid = CandidateGrid::fromBoard(board);
    const char* problem = nullptr;
    std::string step;
    if (!grid) {
        problem = kHintInvalid;
    } else {
        CWaitCursor wait;
        const int solutions = PuzzleRater::countSolutions(*grid);
        if (solutions == 0)
            problem = kHintNoSolution;
        else if (solutions > 1)
            problem = kHintManySolutions;
        else if (grid->isSolved())
            problem = kHintSolved;
        else if (const std::optional<PlacementHint> hint = PlacementHint::find(*grid, LogicalSolver(true)))
            step = hint->describe(grid->getLayout());
        else
            problem = kHintNoStep;
    }
    if (problem)
        MessageBox(problem, kHintCaption, MB_OK | MB_ICONWARNING);
    else
        MessageBox(step.c_str(), kHintCaption, MB_OK | MB_ICONINFORMATION);
}

void CGridlarkDlg::OnCopy()
{
    SudokuBoard board(m_board->getInnerSize());
    ReadGrid(&board);
    std::string line;
    PuzzleText::write(board, PuzzleFormat::line, line);
    while (!line.empty() && line.back() == '\n')
        line.pop_back();
    CClipboard::SetText(line);
}

void CGridlarkDlg::OnPaste()
{
    SudokuBoard board(m_board->getInnerSize());
    const std::string problem = readPuzzle(CClipboard::GetText(), board);
    if (!problem.empty()) {
        MessageBox((kNotAPuzzle + problem).c_str(), kPasteCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    ShowBoard(&board);
}

// A puzzle without givens is left to the box: a lone 3 reads as a grid file of box
// size 3 with every cell blank, and the user who pastes it means the digit.
BOOL CGridlarkDlg::PasteIntoBox()
{
    SudokuBoard board(m_board->getInnerSize());
    if (!readPuzzle(CClipboard::GetText(), board).empty())
        return false;
    const int side = board.getSize();
    bool given = false;
    for (int i = 0; i < side * side && !given; ++i)
        given = board.valueAt(i / side, i % side) != 0;
    if (given)
        ShowBoard(&board);
    return given;
}
