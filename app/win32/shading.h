// The light grey gradients of the panels.
#pragma once

#include <windows.h>

namespace app::win32 {

// Fills `area` from `top` at its top edge to `bottom` at its bottom edge.
void shade_vertically(HDC dc, const RECT& area, COLORREF top, COLORREF bottom);

}  // namespace app::win32
