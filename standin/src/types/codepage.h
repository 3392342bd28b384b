// The server's 8-bit Western code page (Windows-1252): what a varchar can
// hold. Text is kept as UTF-8; a character the code page lacks becomes '?'
// when it is stored in a varchar, and bytes read as varchar are decoded
// through the code page.
#pragma once

#include <string>
#include <string_view>

namespace standin {

// UTF-8 -> UTF-8 restricted to the code page ('?' for the rest).
std::string to_codepage_text(std::string_view utf8);
// The code-page bytes of a UTF-8 text ('?' for characters it lacks).
std::string to_codepage_bytes(std::string_view utf8);
// Code-page bytes -> UTF-8.
std::string from_codepage_bytes(std::string_view bytes);
// UTF-16LE bytes of a UTF-8 text, and back.
std::string to_utf16le_bytes(std::string_view utf8);
std::string from_utf16le_bytes(std::string_view bytes);

}  // namespace standin
