// The shell-link refresh through COM: the shell's link object (ANSI
// interface) loads the file, resolves it and takes the new description.
// Paths reach the persist interface as UTF-16; the description and the
// folder paths pass through the ANSI code page, as the ANSI interfaces want.
#include <windows.h>
// after windows.h
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <string>

#include "code_pages_win32.h"
#include "platform/shell_links.h"

namespace platform {
namespace {

std::string ansi_from_utf8(const std::string& text) { return narrow_from(CP_ACP, wide_from(CP_UTF8, text)); }
std::string utf8_from_ansi(const std::string& text) { return narrow_from(CP_UTF8, wide_from(CP_ACP, text)); }

// The system's message table entry for `code`; empty when it has none.
std::wstring system_message(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring message(buffer ? buffer : L"", length);
  if (buffer) LocalFree(buffer);
  return message;
}

ShellFault fault_of(HRESULT result) {
  const DWORD code = static_cast<DWORD>(result);
  std::wstring message = system_message(code);
  // Not every system lists the HRESULT form of a Win32 error; its Win32
  // code has the same message.
  if (message.empty() && HRESULT_FACILITY(result) == FACILITY_WIN32) message = system_message(HRESULT_CODE(result));
  while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' '))
    message.pop_back();
  ShellFault fault{code, narrow_from(CP_UTF8, message)};
  if (fault.text.empty()) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(code));
    fault.text = hex;
  }
  return fault;
}

// COM for the length of one refresh, in the apartment a window thread has.
// A thread whose COM runs in another mode keeps it, and is not uninitialised.
class ComForThisCall {
 public:
  ComForThisCall() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComForThisCall() {
    if (initialised_) CoUninitialize();
  }
  ComForThisCall(const ComForThisCall&) = delete;
  ComForThisCall& operator=(const ComForThisCall&) = delete;

 private:
  bool initialised_;
};

// Releases an interface when the refresh leaves, before COM is uninitialised.
template <typename Interface>
class Held {
 public:
  Held() = default;
  ~Held() {
    if (pointer_) pointer_->Release();
  }
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  Interface* operator->() const { return pointer_; }
  void** out() { return reinterpret_cast<void**>(&pointer_); }

 private:
  Interface* pointer_ = nullptr;
};

std::optional<ShellFault> load_resolve_describe_save(const std::wstring& path, const std::string& description_ansi) {
  constexpr DWORD kShareDenyWrite = STGM_SHARE_DENY_WRITE;               // 0x20
  const DWORD kResolveQuietly = SLR_NO_UI | SLR_ANY_MATCH | SLR_UPDATE;  // 7
  Held<IShellLinkA> link;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.out());
  if (FAILED(result)) return fault_of(result);
  Held<IPersistFile> file;
  result = link->QueryInterface(IID_IPersistFile, file.out());
  if (FAILED(result)) return fault_of(result);
  result = file->Load(path.c_str(), kShareDenyWrite);
  if (FAILED(result)) return fault_of(result);
  result = link->Resolve(nullptr, kResolveQuietly);
  if (FAILED(result)) return fault_of(result);
  result = link->SetDescription(description_ansi.c_str());
  if (FAILED(result)) return fault_of(result);
  // A shortcut that cannot be written back keeps its old state; nobody is
  // told, as with every earlier release.
  file->Save(path.c_str(), TRUE);
  return std::nullopt;
}

class SystemShellLinks final : public ShellLinks {
 public:
  std::string special_folder_path(int csidl) override {
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &items)) || !items) return {};
    char buffer[MAX_PATH + 1] = {};
    const bool found = SHGetPathFromIDListA(items, buffer) != FALSE;
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
      allocator->Free(items);
      allocator->Release();
    }
    return found ? utf8_from_ansi(buffer) : std::string();
  }

  std::optional<ShellFault> refresh_shortcut(const std::string& path_utf8, const std::string& description) override {
    ComForThisCall com;
    return load_resolve_describe_save(wide_from(CP_UTF8, path_utf8), ansi_from_utf8(description));
  }
};

}  // namespace

ShellLinks* system_shell_links() {
  static SystemShellLinks shell;
  return &shell;
}

}  // namespace platform
