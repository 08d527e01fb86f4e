#pragma once

// The Win32 types, constants and answers that the dialog code is written in.
// Values are Windows' own, so that code and tables read as they would there.

#include <cstdint>

class QWidget;

// bool rather than Windows' int, and true and false rather than TRUE and FALSE,
// which other headers define as macros.
using BOOL = bool;
using UINT = unsigned int;
using DWORD = std::uint32_t;
using INT_PTR = std::intptr_t;

// Dialog box command ids and message box answers.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Message box type bits.
constexpr UINT MB_OK = 0x00;
constexpr UINT MB_OKCANCEL = 0x01;
constexpr UINT MB_YESNOCANCEL = 0x03;
constexpr UINT MB_YESNO = 0x04;
constexpr UINT MB_TYPEMASK = 0x0F;
constexpr UINT MB_ICONERROR = 0x10;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONWARNING = 0x30;
constexpr UINT MB_ICONINFORMATION = 0x40;
constexpr UINT MB_ICONMASK = 0xF0;

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;

// Window styles.
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;

// Button, edit and static control styles.
constexpr DWORD BS_PUSHBUTTON = 0x0;
constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
constexpr DWORD BS_GROUPBOX = 0x7;
constexpr DWORD BS_TYPEMASK = 0xF;
constexpr DWORD BS_NOTIFY = 0x4000;
constexpr DWORD ES_CENTER = 0x1;
constexpr DWORD ES_NUMBER = 0x2000;
constexpr DWORD SS_LEFT = 0x0;
constexpr DWORD SS_CENTER = 0x1;
constexpr DWORD SS_ICON = 0x3;
constexpr DWORD SS_BITMAP = 0xE;
constexpr DWORD SS_TYPEMASK = 0x1F;
constexpr DWORD SS_NOPREFIX = 0x80;
constexpr DWORD SS_CENTERIMAGE = 0x200;

// Common file dialog flags.
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_CREATEPROMPT = 0x00002000;
constexpr DWORD OFN_NOREADONLYRETURN = 0x00008000;
constexpr DWORD OFN_EXPLORER = 0x00080000;

// Accelerator flags: the key is a virtual key (for letters, its capital's code, which
// is also Qt's key code), with these modifiers held and no others.
constexpr unsigned char FVIRTKEY = 0x01;
constexpr unsigned char FSHIFT = 0x04;
constexpr unsigned char FCONTROL = 0x08;
constexpr unsigned char FALT = 0x10;

struct ACCEL {
    unsigned char fVirt;
    unsigned short key;
    unsigned short cmd;
};

// Path buffers, terminator included: Windows' 260 does not hold every Linux path,
// so they take the size of the longest path Linux accepts.
constexpr int kMaxPath = 4096;

// The fields of the Windows OPENFILENAME record that the dialog code sets.
struct OPENFILENAME {
    QWidget* hwndOwner = nullptr;
    DWORD Flags = 0;
    const char* lpstrFilter = nullptr;
    const char* lpstrInitialDir = nullptr;
    const char* lpstrTitle = nullptr;
    const char* lpstrDefExt = nullptr;
    char* lpstrFile = nullptr;
    DWORD nMaxFile = 0;
};
