#include "HtmlExplanation.h"

#include "CliPictures.h"
#include "GridPainter.h"
#include "LogicalSolver.h"
#include "StepText.h"

#include <algorithm>
#include <cstdio>

namespace {

// Cells of a few dozen pixels keep the painter's candidate digits legible at any size.
int pictureSide(const CandidateGrid& grid)
{
    return std::max(360, 40 * grid.getSize());
}

std::string swatch(const QColor& colour, const char* what)
{
    char css[48];
    std::snprintf(css, sizeof css, "rgba(%d,%d,%d,%.2f)", colour.red(), colour.green(), colour.blue(), colour.alphaF());
    return "<li><span class=\"swatch\" style=\"background:" + std::string(css) + "\"></span>" + what + "</li>";
}

// Singles need no candidates to be seen, and most steps are singles: drawn on the
// values alone, they keep the page a fraction of the size.
bool isSingle(Technique technique)
{
    return technique <= Technique::NakedSingle;
}

} // namespace

std::string HtmlExplanation::escape(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string HtmlExplanation::title(const std::vector<std::string>& inputs)
{
    std::string text = "Gridlark: how to solve ";
    for (std::size_t i = 0; i < inputs.size(); ++i)
        text += (i > 0 ? ", " : "") + (inputs[i] == "-" ? std::string("the puzzles on standard input") : inputs[i]);
    return text;
}

std::string HtmlExplanation::head(const std::string& title)
{
    return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
        escape(title) +
        "</title>\n<style>\n"
        "body{font-family:\"Liberation Sans\",Arial,sans-serif;line-height:1.4;color:#111;background:#fff;"
        "max-width:60rem;margin:0 auto;padding:1rem}\n"
        "h1{font-size:1.4rem;margin:0 0 .5rem}h2{font-size:1.2rem;margin:1.5rem 0 .3rem}\n"
        "ul.legend{list-style:none;padding:0;margin:0 0 1rem;display:flex;flex-wrap:wrap;gap:.3rem 1.2rem;"
        "font-size:.9rem}\n"
        ".swatch{display:inline-block;width:.9rem;height:.9rem;border:1px solid #444;margin-right:.35rem;"
        "vertical-align:-.1rem}\n"
        "ol.steps{list-style:none;padding:0;margin:0}\n"
        "details{border:1px solid #bbb;border-radius:.4rem;margin:.35rem 0;padding:0 .6rem}\n"
        "summary{cursor:pointer;padding:.45rem 0;font-weight:bold}\n"
        ".step{display:flex;flex-wrap:wrap;gap:.8rem;align-items:flex-start;padding:0 0 .6rem}\n"
        "svg{display:block;flex:0 1 24rem;width:100%;max-width:24rem;height:auto}\n"
        ".step p{flex:1 1 12rem;margin:0}\n"
        "@media (max-width:32rem){body{padding:.5rem}details{padding:0 .4rem}}\n"
        "</style>\n</head>\n<body>\n<h1>" +
        escape(title) + "</h1>\n<ul class=\"legend\">" + swatch(CGridPainter::kPlacement, "value placed") +
        swatch(CGridPainter::kElimination, "candidate removed (crossed)") +
        swatch(CGridPainter::kPattern, "candidate of the pattern") + swatch(CGridPainter::kUnit, "unit of the pattern") +
        swatch(CGridPainter::kStrongLink, "strong link (solid arrow)") +
        swatch(CGridPainter::kWeakLink, "weak link (dashed arrow)") + "</ul>\n";
}

std::string HtmlExplanation::section(const std::string& label, const CandidateGrid& puzzle, const Rating& rating)
{
    // Runs in a worker process, which ends without tearing its statics down.
    static const CliPictures::Gui gui;
    const std::vector<int> givens = puzzle.getValues();
    const int side = pictureSide(puzzle);
    char figure[96];
    std::snprintf(figure, sizeof figure, "Rating %.1f, %s: %zu steps.", rating.rating,
                  std::string(PuzzleRater::levelName(rating.level)).c_str(), rating.steps.size());
    std::string html = "<section>\n<h2>" + escape(label) + "</h2>\n<p>" + figure + "</p>\n<ol class=\"steps\">\n";
    CandidateGrid grid = puzzle;
    for (std::size_t i = 0; i < rating.steps.size(); ++i) {
        const Step& step = rating.steps[i];
        const std::string words = escape(StepText::describe(step, grid.getLayout()));
        html += "<li><details" + std::string(i == 0 ? " open" : "") + "><summary>" + std::to_string(i + 1) + ". " +
            escape(std::string(techniqueInfo(step.technique).name)) + "</summary>\n<div class=\"step\">" +
            CliPictures::inlineSvg(GridPicture::of(grid, givens, !isSingle(step.technique), step), side,
                                   words) +
            "<p>" + words + "</p></div></details></li>\n";
        LogicalSolver::applyStep(grid, step);
    }
    html += "</ol>\n<h2>Solution</h2>\n";
    html += CliPictures::inlineSvg(GridPicture::of(grid, givens, false), side, "Solution of " + escape(label));
    return html + "</section>\n";
}

std::string HtmlExplanation::foot()
{
    return "</body>\n</html>\n";
}
