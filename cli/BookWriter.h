#pragma once

#include "PictureModule.h"

#include <vector>

// print's drawing: a puzzle book in PDF, or a page per SVG or PNG file.
class BookWriter {
public:
    // False, with the message printed, when a file cannot be written.
    static bool write(const PrintOptions& print, const std::vector<PicturePage>& pages);
};
