// gridlark-cli print and explain --format html: the book's pages, captions and files,
// and the explanation page as a browser shows it. Tests that need poppler-utils or
// chromium skip without them; make test installs both.
#include "CandidateGrid.h"
#include "TestSupport.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string kData = GRIDLARK_CLI_DATA "/";

// Three easy and three expert puzzles (generate --seed 3 --count 6).
const char* const kSix[] = {
    "..........75..8..9.8..32..7...9..7....934.51..1........9.....48.216.5............",
    ".....8...65.3...9....27.6..345...96.....6.2....7...4...23.........51..4..74......",
    "3...1.27.7...56..9..93..1..9....4..7...5..4......9...8..1.7...........2...41..6..",
    "....3.64....74...3..5...1.9.7......164..5..97..1...5....9.6.......38.25.........6",
    "..9.1...3......6.8...2.4.1.....48..57.5........83...7....6..9...84..5.2..7.......",
    ".2.1.....69......27..4.3........56......1......593...8.7...9..65....2.79....8....",
};

bool hasTool(const char* name)
{
    return runCommand(std::string("command -v ") + name).code == 0;
}

std::string quoted(const std::string& path)
{
    return "'" + path + "'";
}

// A folder of its own for each test's files.
class CliPicture : public testing::Test {
protected:
    void SetUp() override
    {
        dir = temporaryPath(testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string file(const std::string& name) const { return dir + "/" + name; }

    std::string puzzles(const std::string& name, std::size_t count) const
    {
        std::string text;
        for (std::size_t i = 0; i < count; ++i)
            text += std::string(kSix[i % 6]) + "\n";
        writeFile(file(name), text);
        return file(name);
    }

    static int pages(const std::string& pdf)
    {
        int count = -1;
        for (const std::string& line : lines(runCommand("pdfinfo " + quoted(pdf)).out))
            std::sscanf(line.c_str(), "Pages: %d", &count);
        return count;
    }

    static std::string pageText(const std::string& pdf, int page)
    {
        const std::string n = std::to_string(page);
        return runCommand("pdftotext -f " + n + " -l " + n + " " + quoted(pdf) + " -").out;
    }

    // What rate says of each puzzle, as print's caption puts it: "easy, rating 1.5".
    static std::vector<std::string> ratings(const std::string& input)
    {
        std::vector<std::string> all;
        for (const std::string& line : lines(runCli("rate " + quoted(input)).out)) {
            char level[16] = "";
            double rating = 0;
            if (std::sscanf(line.c_str(), "%lf %15s", &rating, level) == 2) {
                char caption[64];
                std::snprintf(caption, sizeof caption, "%s, rating %.1f", level, rating);
                all.push_back(caption);
            }
        }
        return all;
    }

    std::string dir;
};

std::size_t digits(const std::string& text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }));
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST_F(CliPicture, PrintWritesPuzzlePagesWithTheirRatingsThenSolutionPages)
{
    if (!hasTool("pdfinfo"))
        GTEST_SKIP() << "poppler-utils is not installed";
    const std::string input = puzzles("six.txt", 6);
    const std::vector<std::string> rated = ratings(input);
    ASSERT_EQ(rated.size(), 6u);

    const CommandResult r = runCli("print --per-page 4 --solutions " + quoted(input) + " -o " + quoted(file("book.pdf")));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    ASSERT_EQ(pages(file("book.pdf")), 4) << "two pages of puzzles, two of solutions";
    for (int page = 1; page <= 4; ++page) {
        const std::string text = pageText(file("book.pdf"), page);
        const bool solutions = page > 2;
        for (int n = 1; n <= 6; ++n) {
            const bool here = (n - 1) / 4 == (page - 1) % 2;
            const std::string puzzle = "Puzzle " + std::to_string(n) + ": " + rated[static_cast<std::size_t>(n - 1)];
            const std::string solution = "Solution " + std::to_string(n);
            EXPECT_EQ(contains(text, puzzle), here && !solutions) << "page " << page << ": " << puzzle << '\n' << text;
            EXPECT_EQ(contains(text, solution), here && solutions) << "page " << page << ": " << solution;
        }
        // Solutions fill every cell; the puzzles leave most blank.
        if (solutions)
            EXPECT_GE(digits(text), (page == 3 ? 4u : 2u) * 81) << text;
        else
            EXPECT_LT(digits(text), (page == 1 ? 4u : 2u) * 40) << text;
    }

    const struct {
        const char* options;
        int pages;
    } layouts[] = {{"", 6}, {"--per-page 2", 3}, {"--per-page 6", 1}, {"--per-page 6 --solutions", 2}};
    for (const auto& layout : layouts) {
        const CommandResult book =
            runCli(std::string("print ") + layout.options + " " + quoted(input) + " -o " + quoted(file("other.pdf")));
        EXPECT_EQ(book.code, 0) << layout.options << book.err;
        EXPECT_EQ(pages(file("other.pdf")), layout.pages) << layout.options;
    }
}

TEST_F(CliPicture, PrintWithCandidatesDrawsEveryCandidateOfTheBlankCells)
{
    if (!hasTool("pdftotext"))
        GTEST_SKIP() << "poppler-utils is not installed";
    const std::string input = puzzles("one.txt", 1);
    std::vector<int> values;
    for (const char c : std::string(kSix[0]))
        values.push_back(c == '.' ? 0 : c - '0');
    const std::optional<CandidateGrid> grid = CandidateGrid::fromValues(values);
    ASSERT_TRUE(grid);
    std::size_t givens = 0, candidates = 0;
    for (int cell = 0; cell < 81; ++cell) {
        givens += values[static_cast<std::size_t>(cell)] != 0;
        candidates += static_cast<std::size_t>(std::popcount(grid->getCandidates(cell)));
    }
    const std::size_t caption = digits("Puzzle 1: " + ratings(input).at(0));

    ASSERT_EQ(runCli("print " + quoted(input) + " -o " + quoted(file("plain.pdf"))).code, 0);
    ASSERT_EQ(runCli("print --candidates " + quoted(input) + " -o " + quoted(file("marks.pdf"))).code, 0);
    EXPECT_EQ(digits(pageText(file("plain.pdf"), 1)), givens + caption);
    EXPECT_EQ(digits(pageText(file("marks.pdf"), 1)), givens + candidates + caption);
}

TEST_F(CliPicture, PrintTakesGridsFrom4x4To25x25AndMarksPuzzlesWithoutOneSolution)
{
    if (!hasTool("pdftotext"))
        GTEST_SKIP() << "poppler-utils is not installed";
    // A 25x25 grid filled by a pattern, one cell of each row blank: full houses.
    std::string large;
    for (int r = 0; r < 25; ++r)
        for (int c = 0; c < 25; ++c)
            large += c == r * 7 % 25 ? '.' : "123456789ABCDEFGHIJKLMNOP"[(r % 5 * 5 + r / 5 + c) % 25];
    writeFile(file("large.txt"), large + "\n");
    writeFile(file("small.txt"), "1..4.4..2..3...1\n");
    for (const char* name : {"small.txt", "large.txt"}) {
        const std::vector<std::string> rated = ratings(file(name));
        ASSERT_EQ(rated.size(), 1u) << name;
        const CommandResult r = runCli("print --solutions " + quoted(file(name)) + " -o " + quoted(file("book.pdf")));
        EXPECT_EQ(r.code, 0) << name << r.err;
        EXPECT_EQ(pages(file("book.pdf")), 2) << name;
        EXPECT_TRUE(contains(pageText(file("book.pdf"), 1), "Puzzle 1: " + rated[0])) << name;
        std::filesystem::remove(file("book.pdf"));
    }

    // Printed without a rating, and the code tells; the solution's place says why.
    const struct {
        const char* input;
        int code;
        const char* what;
    } unsolved[] = {{"four.txt", 5, "more than one solution"}, {"none.txt", 4, "no solution"}};
    for (const auto& c : unsolved) {
        const CommandResult r = runCli("print --solutions " + kData + c.input + " -o " + quoted(file("book.pdf")));
        EXPECT_EQ(r.code, c.code) << c.input;
        EXPECT_EQ(r.err, kData + c.input + ": " + c.what + "; printed without a rating\n");
        ASSERT_EQ(pages(file("book.pdf")), 2) << c.input;
        for (int page = 1; page <= 2; ++page)
            EXPECT_TRUE(contains(pageText(file("book.pdf"), page), std::string("Puzzle 1: ") + c.what)) << c.input;
        std::filesystem::remove(file("book.pdf"));
    }

    // Nothing is written when a puzzle cannot go into the book.
    std::string huge = "6\n";
    for (int row = 0; row < 36; ++row) {
        huge += row % 6 == 0 ? "\n" : "";
        for (int column = 0; column < 36; ++column)
            huge += column % 6 == 0 ? "  0" : " 0";
        huge += "\n";
    }
    writeFile(file("huge.txt"), huge);
    const struct {
        std::string input;
        int code;
        std::string message;
    } refused[] = {
        {kData + "invalid.txt", 3, kData + "invalid.txt: SORRY, the current grid is invalid"},
        {file("huge.txt"), 64, file("huge.txt") + ": print draws grids from 4x4 to 25x25\n"},
        {kData + "missing.txt", 1, "cannot open " + kData + "missing.txt: No such file or directory\n"},
    };
    for (const auto& c : refused) {
        const CommandResult r =
            runCli("print " + quoted(file("small.txt")) + " " + quoted(c.input) + " -o " + quoted(file("book.pdf")));
        EXPECT_EQ(r.code, c.code) << c.input;
        EXPECT_EQ(r.err.rfind(c.message, 0), 0u) << r.err;
        EXPECT_FALSE(fs::exists(file("book.pdf"))) << c.input;
    }
}

TEST_F(CliPicture, PrintWritesSvgAndPngPagesEachToAFileNumberedWhenThereAreSeveral)
{
    const std::string three = puzzles("three.txt", 3);
    const CommandResult svg = runCli("--format svg print --per-page 2 " + quoted(three) + " -o " + quoted(file("b.svg")));
    ASSERT_EQ(svg.code, 0) << svg.err;
    EXPECT_FALSE(fs::exists(file("b.svg")));
    const std::string first = readFile(file("b-1.svg")), second = readFile(file("b-2.svg"));
    for (const std::string* page : {&first, &second}) {
        EXPECT_TRUE(contains(*page, "width=\"210mm\" height=\"297mm\"") && contains(*page, "viewBox=\"0 0 1050 1485\"")) << page->substr(0, 300);
        EXPECT_TRUE(contains(*page, "</svg>"));
    }
    EXPECT_TRUE(contains(first, "Puzzle 1:") && contains(first, "Puzzle 2:") && !contains(first, "Puzzle 3:"));
    EXPECT_TRUE(contains(second, "Puzzle 3:") && !contains(second, "Puzzle 2:"));

    // The extension chooses PNG; one page keeps the name as given.
    const CommandResult png = runCli("print " + quoted(puzzles("one.txt", 1)) + " -o " + quoted(file("page.png")));
    ASSERT_EQ(png.code, 0) << png.err;
    const QImage image(QString::fromStdString(file("page.png")), "PNG");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(1240, 1754)) << "A4 at 150 dots per inch";
    // The grid and its caption, in the middle of white margins.
    QRect drawn;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                drawn |= QRect(x, y, 1, 1);
    EXPECT_GT(drawn.width(), image.width() * 3 / 4);
    EXPECT_GT(drawn.left(), image.width() / 20);
    EXPECT_LE(std::abs(drawn.left() - (image.width() - 1 - drawn.right())), 2);
    EXPECT_GT(drawn.top(), image.width() / 20);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white));

    // Ten pages: numbered 01 to 10, so that they sort.
    const CommandResult ten = runCli("--format svg print " + quoted(puzzles("ten.txt", 10)) + " -o " + quoted(file("p")));
    ASSERT_EQ(ten.code, 0) << ten.err;
    for (const char* name : {"p-01", "p-09", "p-10"})
        EXPECT_TRUE(fs::exists(file(name))) << name;
    EXPECT_FALSE(fs::exists(file("p-11")));
    EXPECT_FALSE(fs::exists(file("p-1")));
}

TEST_F(CliPicture, BadArgumentsAreUsageErrorsAndAnUnwritableOutputExitsWith1)
{
    const std::string input = quoted(puzzles("one.txt", 1));
    for (const std::string& usage :
         {"print --per-page 3 " + input + " -o x.pdf", "print --per-page 0 " + input + " -o x.pdf", "print " + input,
          std::string("print -o x.pdf"), "--format html print " + input + " -o x.pdf", "--format line print " + input + " -o x.pdf",
          "--format pdf explain " + input, "--format html hint " + input, "solve --format svg " + input}) {
        const CommandResult r = runCli(usage);
        EXPECT_EQ(r.code, 64) << usage;
        EXPECT_NE(r.err, "") << usage;
    }
    const CommandResult gone = runCli("print " + input + " -o " + quoted(file("gone/book.pdf")));
    EXPECT_EQ(gone.code, 1);
    EXPECT_EQ(gone.err, "cannot open " + file("gone/book.pdf") + " for writing: No such file or directory\n");
    for (const char* format : {"pdf", "svg", "png"}) {
        const CommandResult full = runCli(std::string("--format ") + format + " print " + input + " -o /dev/full");
        EXPECT_EQ(full.code, 1) << format;
        EXPECT_EQ(full.err.rfind("cannot write /dev/full", 0), 0u) << format << ": " << full.err;
    }
}

// The steps of explain in words, each as the page writes it.
std::vector<std::string> escapedSteps(const std::string& input)
{
    std::vector<std::string> steps = lines(runCli("explain --format line " + quoted(input)).out);
    steps.pop_back(); // the solution
    for (std::string& step : steps) {
        std::string escaped;
        for (const char c : step)
            escaped += c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '&' ? "&amp;" : std::string(1, c);
        step = escaped;
    }
    return steps;
}

std::size_t occurrences(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

TEST_F(CliPicture, ExplainHtmlIsOnePageWithEveryStepInWordsBesideItsPicture)
{
    // The second puzzle needs eliminations, whose words hold "<>".
    writeFile(file("two.txt"), std::string(kSix[0]) + "\n" + kSix[1] + "\n");
    const CommandResult r = runCli("--jobs 1 explain --format html " + quoted(file("two.txt")));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string& page = r.out;
    EXPECT_EQ(page.rfind("<!DOCTYPE html>\n", 0), 0u);
    EXPECT_TRUE(contains(page, "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"));
    EXPECT_EQ(occurrences(page, "<section>"), 2u);
    EXPECT_EQ(occurrences(page, "</html>"), 1u);
    // Nothing from elsewhere: no scripts, style sheets, pictures or fonts to fetch.
    for (const char* outside : {"<script", "<link", " src=", "href=", "url(", "@import"})
        EXPECT_FALSE(contains(page, outside)) << outside;

    // Each puzzle's steps in order, each in a details of its own with its picture;
    // only the first step of each puzzle starts open.
    const std::size_t split = page.find("<section>", page.find("<section>") + 1);
    const std::string sections[] = {page.substr(0, split), page.substr(split)};
    const std::string inputs[] = {puzzles("first.txt", 1), file("second.txt")};
    writeFile(inputs[1], std::string(kSix[1]) + "\n");
    for (int p = 0; p < 2; ++p) {
        const std::vector<std::string> steps = escapedSteps(inputs[p]);
        ASSERT_GT(steps.size(), 40u);
        const std::string& section = sections[p];
        EXPECT_EQ(occurrences(section, "<details"), steps.size());
        EXPECT_EQ(occurrences(section, "<details open>"), 1u);
        EXPECT_EQ(section.find("<details"), section.find("<details open>"));
        EXPECT_EQ(occurrences(section, "<svg"), steps.size() + 1) << "a picture per step and the solution";
        std::size_t at = 0;
        for (const std::string& step : steps) {
            at = section.find("<p>" + step + "</p>", at);
            ASSERT_NE(at, std::string::npos) << step;
        }
    }
    EXPECT_TRUE(contains(sections[1], "&lt;&gt;"));
    EXPECT_FALSE(contains(page, "<>")) << "every text escaped, the pictures' titles too";

    // Worker processes draw the same page.
    EXPECT_EQ(runCli("--jobs 2 explain --format html " + quoted(file("two.txt"))).out, page);
}

TEST_F(CliPicture, ExplainHtmlLoadsInChromiumWithoutConsoleErrorsAndShowsTheFirstStep)
{
    if (!hasTool("chromium"))
        GTEST_SKIP() << "chromium is not installed";
    // A puzzle whose steps include eliminations, whose words hold "<>".
    writeFile(file("one.txt"), std::string(kSix[1]) + "\n");
    const CommandResult r = runCli("explain --format html " + quoted(file("one.txt")) + " > " + quoted(file("page.html")));
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string chromium = "timeout 60 chromium --headless --disable-gpu --no-sandbox --user-data-dir=" +
        quoted(file("profile")) + " --enable-logging=stderr --v=0 ";
    const std::string url = quoted("file://" + file("page.html"));

    const CommandResult dom = runCommand(chromium + "--dump-dom " + url);
    ASSERT_EQ(dom.code, 0) << dom.err;
    EXPECT_FALSE(contains(dom.err, "CONSOLE")) << dom.err;
    // The browser reads every step's words as text, in order, each in its details.
    const std::vector<std::string> steps = escapedSteps(file("one.txt"));
    EXPECT_EQ(occurrences(dom.out, "<details"), steps.size()) << dom.out.substr(0, 2000);
    EXPECT_EQ(dom.out.find("<details"), dom.out.find("<details open=\"\">"));
    std::size_t at = 0;
    for (const std::string& step : steps) {
        at = dom.out.find("<p>" + step + "</p>", at);
        ASSERT_NE(at, std::string::npos) << step;
    }

    // A phone's width: the first step's picture, open at the top, shows its placement.
    const CommandResult shot =
        runCommand(chromium + "--window-size=412,900 --screenshot=" + quoted(file("shot.png")) + " " + url);
    ASSERT_EQ(shot.code, 0) << shot.err;
    EXPECT_FALSE(contains(shot.err, "CONSOLE")) << shot.err;
    const QImage image(QString::fromStdString(file("shot.png")), "PNG");
    ASSERT_EQ(image.size(), QSize(412, 900));
    const QColor placement(0, 158, 115); // the painter's colour for a placed value
    int placed = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            placed += std::abs(pixel.red() - placement.red()) + std::abs(pixel.green() - placement.green()) +
                    std::abs(pixel.blue() - placement.blue()) <= 12;
        }
    // The legend's swatch alone is about 200 pixels; the placed cell is over 1000.
    EXPECT_GT(placed, 800);
}

} // namespace
