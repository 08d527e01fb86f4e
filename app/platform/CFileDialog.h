#pragma once

#include "WinDefs.h"

#include <QStringList>

#include <string>

class QWidget;

// The fields of the Windows OPENFILENAME record that the dialog code sets.
struct OPENFILENAME {
    DWORD Flags = 0;
    const char* lpstrFilter = nullptr;
    const char* lpstrInitialDir = nullptr;
    const char* lpstrTitle = nullptr;
    const char* lpstrDefExt = nullptr;
    char* lpstrFile = nullptr;
    DWORD nMaxFile = 0;
};

// The common open and save dialogs in the shape of MFC's CFileDialog: settings in
// the OPENFILENAME record, DoModal through the modal host, the chosen path after.
class CFileDialog {
public:
    CFileDialog(BOOL openFileDialog, const char* defExt = nullptr, const char* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
                QWidget* parent = nullptr);

    OPENFILENAME& GetOFN() { return m_ofn; }
    const OPENFILENAME& GetOFN() const { return m_ofn; }
    BOOL IsOpenDialog() const { return m_openFileDialog; }
    QWidget* GetParent() const { return m_parent; }

    // IDOK when the user chose a file, IDCANCEL otherwise.
    INT_PTR DoModal();
    std::string GetPathName() const { return m_ofn.lpstrFile; }
    // Stores the chosen path as the dialog's answer (cut to the buffer).
    void SetPathName(const std::string& path);

    // The Windows filter string ("Label|pattern|...||") as Qt name filters.
    QStringList GetNameFilters() const;
    // Runs the Qt file dialog for these settings; used by the Qt modal host.
    INT_PTR RunQtDialog();

private:
    BOOL m_openFileDialog;
    QWidget* m_parent;
    OPENFILENAME m_ofn;
    char m_fileBuffer[_MAX_PATH] = {};
};

// Splits a Windows filter string into Qt name filters: "Text Files (*.txt)|*.txt|"
// gives "Text Files (*.txt) (*.txt)", shown with its label only. The pattern *.*
// stands for every file, as it does on Windows.
QStringList ParseFilterString(const char* filter);
