#pragma once

#include <string>

// The system clipboard's text, in the dialog's narrow text, as OpenClipboard with
// CF_TEXT gives it on Windows.
class CClipboard {
public:
    static void SetText(const std::string& text);
    // Empty when the clipboard holds no text.
    static std::string GetText();
};
