#include "shading.h"

namespace app::win32 {
namespace {

COLOR16 channel(BYTE value) { return static_cast<COLOR16>(value << 8); }

TRIVERTEX vertex(LONG x, LONG y, COLORREF colour) {
  return {x, y, channel(GetRValue(colour)), channel(GetGValue(colour)), channel(GetBValue(colour)), 0};
}

}  // namespace

void shade_vertically(HDC dc, const RECT& area, COLORREF top, COLORREF bottom) {
  TRIVERTEX corners[2] = {vertex(area.left, area.top, top), vertex(area.right, area.bottom, bottom)};
  GRADIENT_RECT whole{0, 1};
  GradientFill(dc, corners, 2, &whole, 1, GRADIENT_FILL_RECT_V);
}

}  // namespace app::win32
