#pragma once

#include "WinDefs.h"

#include <string>

class QWidget;

// The common open and save dialogs in the shape of MFC's CFileDialog: settings in
// the OPENFILENAME record, DoModal through the modal host, the chosen path after.
class CFileDialog {
public:
    CFileDialog(BOOL openFileDialog, const char* defExt = nullptr, const char* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
                QWidget* parent = nullptr);

    OPENFILENAME& GetOFN() { return m_ofn; }

    // IDOK when the user chose a file, IDCANCEL otherwise.
    INT_PTR DoModal();
    std::string GetPathName() const { return m_ofn.lpstrFile; }

private:
    BOOL m_openFileDialog;
    OPENFILENAME m_ofn;
    char m_fileBuffer[kMaxPath] = {};
};
