// Decoding and scaling with the Windows Imaging Component: the system's own decoders for JPEG,
// GIF, BMP, PNG and ICO. A picture is decoded by its content, whichever entry point is used.
#include <wincodec.h>
#include <wrl/client.h>

#include "runtime/image/picture.h"

namespace kesto::image {

namespace {

using Microsoft::WRL::ComPtr;

// COM for the calling thread for as long as a decode runs; a thread that already has it
// keeps its own.
class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

ComPtr<IWICImagingFactory> Factory() {
  ComPtr<IWICImagingFactory> factory;
  CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory));
  return factory;
}

// Straight RGBA pixels of any bitmap source, refused beyond the size limit.
std::optional<RgbaImage> ToRgba(IWICImagingFactory* factory, IWICBitmapSource* source) {
  UINT width = 0, height = 0;
  if (FAILED(source->GetSize(&width, &height)) || width == 0 || height == 0 ||
      std::int64_t(width) * height > kMaxPicturePixels) {
    return std::nullopt;
  }
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(&converter)) ||
      FAILED(converter->Initialize(source, GUID_WICPixelFormat32bppRGBA, WICBitmapDitherTypeNone,
                                   nullptr, 0.0, WICBitmapPaletteTypeCustom))) {
    return std::nullopt;
  }
  RgbaImage out;
  out.width = static_cast<int>(width);
  out.height = static_cast<int>(height);
  out.pixels.resize(std::size_t(width) * height * 4);
  if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(out.pixels.size()),
                                   out.pixels.data()))) {
    return std::nullopt;
  }
  return out;
}

std::optional<RgbaImage> Decode(const Bytes& file) {
  if (file.empty()) return std::nullopt;
  ComScope com;
  ComPtr<IWICImagingFactory> factory = Factory();
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  if (!factory || FAILED(factory->CreateStream(&stream)) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(file.data()),
                                          static_cast<DWORD>(file.size()))) ||
      FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              &decoder)) ||
      FAILED(decoder->GetFrame(0, &frame))) {
    return std::nullopt;
  }
  return ToRgba(factory.Get(), frame.Get());
}

}  // namespace

std::optional<RgbaImage> DecodeJpeg(const Bytes& file) {
  return Decode(file);
}

bool PictureDecodes(const Bytes& file) {
  return DecodePicture(file).has_value();
}

std::optional<RgbaImage> DecodeOtherFormats(const Bytes& file) {
  return Decode(file);
}

std::optional<RgbaImage> ScaleImage(const RgbaImage& source, int width, int height) {
  if (width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0) return std::nullopt;
  if (std::int64_t(width) * height > kMaxPicturePixels) return std::nullopt;
  if (width == source.width && height == source.height) return source;
  ComScope com;
  ComPtr<IWICImagingFactory> factory = Factory();
  ComPtr<IWICBitmap> bitmap;
  ComPtr<IWICBitmapScaler> scaler;
  auto stride = static_cast<UINT>(source.width * 4);
  if (!factory ||
      FAILED(factory->CreateBitmapFromMemory(
          static_cast<UINT>(source.width), static_cast<UINT>(source.height),
          GUID_WICPixelFormat32bppRGBA, stride, static_cast<UINT>(source.pixels.size()),
          const_cast<BYTE*>(source.pixels.data()), &bitmap)) ||
      FAILED(factory->CreateBitmapScaler(&scaler)) ||
      FAILED(scaler->Initialize(bitmap.Get(), static_cast<UINT>(width), static_cast<UINT>(height),
                                WICBitmapInterpolationModeLinear))) {
    return std::nullopt;
  }
  return ToRgba(factory.Get(), scaler.Get());
}

}  // namespace kesto::image
