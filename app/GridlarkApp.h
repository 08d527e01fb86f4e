#pragma once

#include "platform/WinDefs.h"

// The application: runs the main dialog modally and ends when it is gone.
class CGridlarkApp {
public:
    BOOL InitInstance();
};

extern CGridlarkApp theApp;
