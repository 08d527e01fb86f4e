#pragma once

#include "platform/CDialog.h"

// The About box: icon, version, date and a credit line, closed with OK.
class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(QWidget* pParent = nullptr);
};
