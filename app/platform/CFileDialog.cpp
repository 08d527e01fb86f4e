#include "CFileDialog.h"

#include "CModalHost.h"

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defExt, const char* fileName, DWORD flags,
                         const char* filter, QWidget* parent)
    : m_openFileDialog(openFileDialog)
{
    m_ofn.hwndOwner = parent;
    m_ofn.Flags = flags | OFN_EXPLORER;
    m_ofn.lpstrFilter = filter;
    m_ofn.lpstrDefExt = defExt;
    m_ofn.lpstrFile = m_fileBuffer;
    m_ofn.nMaxFile = sizeof m_fileBuffer;
    if (fileName)
        StorePathName(m_ofn, fileName);
}

INT_PTR CFileDialog::DoModal()
{
    return CModalHost::Get().RunFileDialog(m_openFileDialog, m_ofn);
}
