#include "wait_cursor.h"

#include "pictures.h"
#include "resource_ids.h"

namespace app::win32 {
namespace {

HCURSOR system_cursor(const wchar_t* id) { return LoadCursorW(nullptr, id); }

// A colour cursor with an alpha channel; the mask is required but unused.
// The hot spot is the hourglass's waist.
HCURSOR cursor_from_picture() {
  const Picture picture = load_picture(SQLUPDATE_RESOURCE_SQL_WAIT_CURSOR, Alpha::Straight);
  if (!picture.bitmap) return nullptr;
  Bitmap mask(CreateBitmap(picture.size.cx, picture.size.cy, 1, 1, nullptr));
  ICONINFO info{};
  info.fIcon = FALSE;
  info.xHotspot = static_cast<DWORD>(picture.size.cx / 2);
  info.yHotspot = static_cast<DWORD>(picture.size.cy / 2);
  info.hbmMask = mask.get();
  info.hbmColor = picture.bitmap.get();
  return CreateIconIndirect(&info);  // copies both bitmaps
}

}  // namespace

WaitCursor::WaitCursor() : sql_wait_(cursor_from_picture()), owned_(sql_wait_ != nullptr) {
  if (!sql_wait_) sql_wait_ = system_cursor(IDC_WAIT);
}

WaitCursor::~WaitCursor() {
  set(false);
  if (owned_) DestroyCursor(sql_wait_);
}

void WaitCursor::set(bool waiting) {
  if (waiting == waiting_) return;
  waiting_ = waiting;
  SetCursor(current());
}

HCURSOR WaitCursor::current() const { return waiting_ ? sql_wait_ : system_cursor(IDC_ARROW); }

}  // namespace app::win32
