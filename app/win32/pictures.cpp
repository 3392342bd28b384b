#include "pictures.h"

#include <wincodec.h>

namespace app::win32 {
namespace {

// A COM interface pointer released when it goes out of scope.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (pointer_) pointer_->Release();
  }
  Interface** out() { return &pointer_; }
  Interface* operator->() const { return pointer_; }
  Interface* get() const { return pointer_; }

 private:
  Interface* pointer_ = nullptr;
};

struct ResourceBytes {
  BYTE* data = nullptr;
  DWORD size = 0;
};

ResourceBytes find_resource(int id) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), RT_RCDATA);
  if (!found) return {};
  HGLOBAL loaded = LoadResource(module, found);
  if (!loaded) return {};
  return {static_cast<BYTE*>(LockResource(loaded)), SizeofResource(module, found)};
}

// The first frame of the picture in `bytes`, converted to 32-bit BGRA.
bool decode_frame(const ResourceBytes& bytes, const GUID& format, ComPtr<IWICFormatConverter>& converted) {
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.out()))))
    return false;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  return SUCCEEDED(factory->CreateStream(stream.out())) &&
         SUCCEEDED(stream->InitializeFromMemory(bytes.data, bytes.size)) &&
         SUCCEEDED(
             factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnLoad, decoder.out())) &&
         SUCCEEDED(decoder->GetFrame(0, frame.out())) && SUCCEEDED(factory->CreateFormatConverter(converted.out())) &&
         SUCCEEDED(converted->Initialize(frame.get(), format, WICBitmapDitherTypeNone, nullptr, 0.0,
                                         WICBitmapPaletteTypeCustom));
}

Bitmap top_down_dib(SIZE size, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;  // negative: the first row is the top one
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return Bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

}  // namespace

Picture load_picture(int id, Alpha alpha) {
  const ResourceBytes bytes = find_resource(id);
  if (!bytes.data) return {};
  const GUID& format = alpha == Alpha::Premultiplied ? GUID_WICPixelFormat32bppPBGRA : GUID_WICPixelFormat32bppBGRA;
  ComPtr<IWICFormatConverter> converted;
  if (!decode_frame(bytes, format, converted)) return {};
  UINT width = 0;
  UINT height = 0;
  if (FAILED(converted->GetSize(&width, &height)) || width == 0 || height == 0) return {};

  Picture picture;
  picture.size = {static_cast<LONG>(width), static_cast<LONG>(height)};
  void* bits = nullptr;
  picture.bitmap = top_down_dib(picture.size, &bits);
  if (!picture.bitmap) return {};
  const UINT stride = width * 4;
  if (FAILED(converted->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits)))) return {};
  return picture;
}

}  // namespace app::win32
