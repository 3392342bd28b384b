// Texts on their way into the Win32 API, which takes UTF-16.
#pragma once

#include <string>

namespace app::win32 {

// The run's texts are UTF-8; a text that is not valid UTF-8 (a server
// message in the 8-bit Windows code page) is read as Windows-1252.
std::wstring to_wide(const std::string& text);

// UTF-16 back to UTF-8; for what tests read from the screen.
std::string to_utf8(const std::wstring& text);

}  // namespace app::win32
