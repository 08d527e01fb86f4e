#include "GridlarkApp.h"

#include "GridlarkDlg.h"

CGridlarkApp theApp;

BOOL CGridlarkApp::InitInstance()
{
    CGridlarkDlg dlg;
    dlg.DoModal();
    return false;
}
