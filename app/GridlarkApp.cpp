#include "GridlarkApp.h"

#include "GridlarkDlg.h"

CGridlarkApp theApp;

BOOL CGridlarkApp::InitInstance()
{
    CGridlarkDlg dlg;
    dlg.SetStartFile(m_startFile);
    dlg.DoModal();
    return false;
}
