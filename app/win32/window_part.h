// Every part of the window (the main window, the banner panel, the gauge) is
// a C++ object behind a window handle: the object is the creation parameter
// of its window and is found again from the handle for each message. Only
// the message's own thread calls in; nothing here is thread-safe.
#pragma once

#include <windows.h>

namespace app::win32 {

// Hands every message of a window of `Part`'s class to
// `Part::handle_message`; messages before WM_NCCREATE and after
// WM_NCDESTROY get the default treatment.
template <typename Part>
LRESULT CALLBACK dispatch_to_part(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* part = reinterpret_cast<Part*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  if (!part) return DefWindowProcW(window, message, wparam, lparam);
  return part->handle_message(window, message, wparam, lparam);
}

// Registers the window class `name` for `Part` once per process.
template <typename Part>
void register_part_class(const wchar_t* name) {
  static const bool registered = [name] {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = &dispatch_to_part<Part>;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = name;
    return RegisterClassExW(&window_class) != 0;
  }();
  (void)registered;
}

}  // namespace app::win32
