#include "AboutDlg.h"

#include "Resource.h"

CAboutDlg::CAboutDlg(QWidget* pParent) : CDialog(GetAboutBoxTemplate(), pParent) {}
