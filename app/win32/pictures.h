// The window's pictures: JPEG and PNG files embedded as raw resources and
// decoded by the Windows Imaging Component into 32-bit bitmaps. COM must be
// initialised on the calling thread.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace app::win32 {

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;

enum class Alpha {
  Premultiplied,  // for drawing with AlphaBlend or BitBlt
  Straight,       // for cursors and icons (CreateIconIndirect)
};

struct Picture {
  Bitmap bitmap;  // a top-down DIB section; null when the picture is missing
  SIZE size{0, 0};
};

// Decodes the RCDATA resource `id` of this program. A missing resource or an
// undecodable picture gives a Picture without bitmap: the window then shows
// its background, never fails for a picture.
Picture load_picture(int id, Alpha alpha = Alpha::Premultiplied);

}  // namespace app::win32
