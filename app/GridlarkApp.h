#pragma once

#include "platform/WinDefs.h"

#include <string>

// The application: runs the main dialog modally and ends when it is gone.
class CGridlarkApp {
public:
    BOOL InitInstance();
    // The grid file named on the command line, loaded when the dialog starts.
    void SetStartFile(const std::string& path) { m_startFile = path; }

private:
    std::string m_startFile;
};

extern CGridlarkApp theApp;
