// Text between the code pages of the Win32 API: UTF-8 (ours), UTF-16 (the
// W functions) and the ANSI code page (the A functions). Empty in, or a
// text the system cannot convert, gives empty out.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

std::wstring wide_from(UINT code_page, const std::string& text);
std::string narrow_from(UINT code_page, const std::wstring& wide);

}  // namespace platform
