#include "wide_text.h"

#include <windows.h>

namespace app::win32 {
namespace {

constexpr UINT kWindows1252 = 1252;

// Empty when `text` is not valid in `code_page` (MB_ERR_INVALID_CHARS).
std::wstring decode(UINT code_page, DWORD flags, const std::string& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(code_page, flags, text.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(code_page, flags, text.data(), size, wide.data(), length);
  return wide;
}

}  // namespace

std::wstring to_wide(const std::string& text) {
  std::wstring wide = decode(CP_UTF8, MB_ERR_INVALID_CHARS, text);
  if (wide.empty() && !text.empty()) wide = decode(kWindows1252, 0, text);
  return wide;
}

std::string to_utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string utf8(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

}  // namespace app::win32
