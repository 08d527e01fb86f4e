#pragma once

#include "CandidateGrid.h"
#include "GridPicture.h"
#include "PuzzleRater.h"

#include <optional>
#include <string>
#include <vector>

// What print draws and where.
struct PrintOptions {
    enum class Format { pdf, svg, png };
    Format format = Format::pdf;
    int perPage = 1;
    bool solutions = false;
    bool candidates = false;
    std::string outPath;
};

// One place on a page of print's book: a grid with its caption, or a caption alone.
struct PictureEntry {
    std::optional<GridPicture> picture;
    std::string caption;
};

using PicturePage = std::vector<PictureEntry>;

// What the picture module does for the commands that draw. The module holds Qt, whose
// loading would cost every run time and memory at start-up, so only these commands
// load it. It calls back into the program's own logic code, so it fits one build: it
// names the version it was built for.
struct PictureFunctions {
    const char* version;
    // print's pages; false, with the message printed, when a file cannot be written.
    bool (*writeBook)(const PrintOptions& print, const std::vector<PicturePage>& pages);
    // explain --format html: the page's head for the inputs, one puzzle, the foot.
    std::string (*htmlHead)(const std::vector<std::string>& inputs);
    std::string (*htmlSection)(const std::string& label, const CandidateGrid& puzzle, const Rating& rating);
    std::string (*htmlFoot)();
};

// The one symbol the module exports.
extern "C" const PictureFunctions* gridlark_cli_pictures();

// Finds the module beside the program (the build tree) or where it is installed.
class PictureModule {
public:
    static constexpr const char* kFileName = "gridlark-cli-pictures.so";

    // The module's functions, loaded on the first call; nullptr, with a message naming
    // the module printed, when it cannot be loaded.
    static const PictureFunctions* load();
};
