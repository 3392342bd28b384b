#include "message_dialogs.h"

#include "wide_text.h"

namespace app::win32 {
namespace {

using upgrade::DialogKind;
using upgrade::Dismissal;

// The dialogs of the thread whose message box is being created. A box is
// created inside MessageBoxW, so its handle is only known to a hook.
thread_local MessageDialogs* t_showing = nullptr;
thread_local HHOOK t_activation_hook = nullptr;

constexpr UINT_PTR kDismissTimer = 1;

bool is_dialog_window(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return std::wstring(name) == L"#32770";
}

}  // namespace

UINT message_box_style(DialogKind kind) {
  switch (kind) {
    case DialogKind::Warning: return MB_OK | MB_ICONWARNING;
    case DialogKind::Error: return MB_OK | MB_ICONERROR;
    case DialogKind::Information: return MB_OK | MB_ICONINFORMATION;
    case DialogKind::Plain: return MB_OK;
    case DialogKind::ErrorBox: return MB_OK | MB_ICONSTOP;
  }
  return MB_OK;
}

void MessageDialogs::show(DialogKind kind, const std::wstring& text, Dismissal dismissal) {
  const HWND outer = open_;  // none in practice: the run shows one at a time
  const bool outer_may_dismiss = open_may_dismiss_;
  MessageDialogs* const outer_showing = t_showing;
  open_ = nullptr;
  open_may_dismiss_ = dismissal == Dismissal::Normal && kind != DialogKind::ErrorBox;
  t_showing = this;
  const HHOOK hook = SetWindowsHookExW(WH_CBT, &MessageDialogs::watch_activation, nullptr, GetCurrentThreadId());
  HHOOK const outer_hook = t_activation_hook;
  t_activation_hook = hook;
  MessageBoxW(owner_, text.c_str(), to_wide(upgrade::caption_of(kind)).c_str(), message_box_style(kind));
  if (hook) UnhookWindowsHookEx(hook);
  t_activation_hook = outer_hook;
  t_showing = outer_showing;
  open_ = outer;
  open_may_dismiss_ = outer_may_dismiss;
}

void MessageDialogs::close_requested() {
  if (close_pending_) return;
  close_pending_ = true;
  if (open_ && open_may_dismiss_) dismiss_soon(open_);
}

// Learns the handle of the box when the system activates it, and starts its
// brief display if a close request is pending already.
LRESULT CALLBACK MessageDialogs::watch_activation(int code, WPARAM wparam, LPARAM lparam) {
  MessageDialogs* dialogs = t_showing;
  const auto box = reinterpret_cast<HWND>(wparam);
  if (code == HCBT_ACTIVATE && dialogs && !dialogs->open_ && is_dialog_window(box)) {
    dialogs->open_ = box;
    if (dialogs->close_pending_ && dialogs->open_may_dismiss_) dialogs->dismiss_soon(box);
  }
  return CallNextHookEx(t_activation_hook, code, wparam, lparam);
}

// The timer belongs to the box: a box closed by OK takes it along.
void MessageDialogs::dismiss_soon(HWND box) const {
  SetTimer(box, kDismissTimer, static_cast<UINT>(brief_display_.count()), &MessageDialogs::dismiss);
}

void CALLBACK MessageDialogs::dismiss(HWND box, UINT, UINT_PTR timer, DWORD) {
  KillTimer(box, timer);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

}  // namespace app::win32
