#pragma once

#include "GridPicture.h"

#include <memory>
#include <string>
#include <vector>

class QGuiApplication;

// Grid pictures for the commands that draw (print, explain --format html). The painter
// lays out text, which needs a GUI application; these commands alone start one.
class CliPictures {
public:
    // A GUI application for as long as it lives, on the offscreen platform unless
    // QT_QPA_PLATFORM names another: files need no display, and a display that is set
    // but gone would end the program.
    class Gui {
    public:
        Gui();
        ~Gui();
        Gui(const Gui&) = delete;
        Gui& operator=(const Gui&) = delete;

    private:
        int m_argc = 1;
        char* m_argv[2];
        std::unique_ptr<QGuiApplication> m_app;
    };

    // The picture as an SVG element of side by side pixels, ready to be put inline in
    // a page, with a title given as markup (escaped).
    static std::string inlineSvg(const GridPicture& picture, int side, const std::string& titleMarkup);
};
