#include "runtime/win32/toolkit/drawing.h"

#include <vector>

#include "runtime/image/icon_file.h"
#include "runtime/win32/wide_text.h"

namespace kesto::win32 {

namespace {

// The screen the layouts' pixels are made for.
constexpr int kLayoutDpi = 96;

BITMAPINFO TopDownInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// Blue, green, red, alpha, as DIB sections hold them; premultiplied where GDI blends.
HBITMAP MakeDib(const image::RgbaImage& image, bool premultiplied) {
  if (image.width <= 0 || image.height <= 0) return nullptr;
  BITMAPINFO info = TopDownInfo(image.width, image.height);
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib) return nullptr;
  auto* out = static_cast<std::uint8_t*>(bits);
  const std::size_t pixels = std::size_t(image.width) * image.height;
  for (std::size_t i = 0; i < pixels; ++i) {
    const std::uint8_t* in = &image.pixels[i * 4];
    const unsigned alpha = premultiplied ? in[3] : 255;
    out[i * 4 + 0] = std::uint8_t(in[2] * alpha / 255);
    out[i * 4 + 1] = std::uint8_t(in[1] * alpha / 255);
    out[i * 4 + 2] = std::uint8_t(in[0] * alpha / 255);
    out[i * 4 + 3] = in[3];
  }
  return dib;
}

}  // namespace

Bitmap::Bitmap(const image::RgbaImage& image)
    : handle_(DibOf(image)), width_(image.width), height_(image.height) {}

Bitmap::~Bitmap() {
  if (handle_) DeleteObject(handle_);
}

void Bitmap::Paint(HDC dc, int x, int y, int width, int height) const {
  if (!handle_ || width <= 0 || height <= 0) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ previous = SelectObject(source, handle_);
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  SetStretchBltMode(dc, HALFTONE);
  AlphaBlend(dc, x, y, width, height, source, 0, 0, width_, height_, blend);
  SelectObject(source, previous);
  DeleteDC(source);
}

std::unique_ptr<Bitmap> DecodeBitmap(const Bytes& picture) {
  std::optional<image::RgbaImage> decoded = image::DecodePicture(picture);
  if (!decoded) return std::make_unique<Bitmap>();
  return std::make_unique<Bitmap>(*decoded);
}

HBITMAP DibOf(const image::RgbaImage& image) {
  return MakeDib(image, true);
}

HICON IconOf(const Bytes& iconFile, int size) {
  std::optional<image::RgbaImage> picked = image::PickIconImage(iconFile, size);
  return picked ? IconOf(*picked) : nullptr;
}

HICON IconOf(const image::RgbaImage& picture) {
  // Icons take straight alpha; the mask covers the systems that ignore it.
  HBITMAP colour = MakeDib(picture, false);
  HBITMAP mask = CreateBitmap(picture.width, picture.height, 1, 1, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, mask);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      SetPixel(dc, x, y, picture.Pixel(x, y)[3] == 0 ? RGB(255, 255, 255) : RGB(0, 0, 0));
    }
  }
  SelectObject(dc, previous);
  DeleteDC(dc);
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = colour;
  info.hbmMask = mask;
  HICON icon = colour ? CreateIconIndirect(&info) : nullptr;
  if (colour) DeleteObject(colour);
  DeleteObject(mask);
  return icon;
}

COLORREF ColourRefOf(std::uint32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

bool HighContrast() {
  HIGHCONTRASTW theme{};
  theme.cbSize = sizeof theme;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof theme, &theme, 0) &&
         (theme.dwFlags & HCF_HIGHCONTRASTON);
}

void FillColour(HDC dc, std::uint32_t rgb, int width, int height) {
  HBRUSH brush = CreateSolidBrush(HighContrast() ? GetSysColor(COLOR_WINDOW) : ColourRefOf(rgb));
  RECT area{0, 0, width, height};
  FillRect(dc, &area, brush);
  DeleteObject(brush);
}

HFONT FontOf(const ui::Font& font) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  LOGFONTW look = metrics.lfMessageFont;
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  if (dpi > kLayoutDpi) look.lfHeight = MulDiv(look.lfHeight, kLayoutDpi, dpi);
  if (font.height > 0) look.lfHeight = -font.height;
  if (!font.face.empty()) {
    const std::wstring face = ToWide(font.face);
    lstrcpynW(look.lfFaceName, face.c_str(), LF_FACESIZE);
  }
  look.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  look.lfUnderline = font.underline;
  // The texts are Chinese: a face that lacks them gives way to one that has them.
  look.lfCharSet = GB2312_CHARSET;
  return CreateFontIndirectW(&look);
}

void PaintText(HDC dc, const Text& text, const TextLook& look, int width, int height) {
  if (text.empty() || width <= 0 || height <= 0) return;
  const std::wstring wide = ToWide(text);
  HFONT font = FontOf(look.font);
  HGDIOBJ previous = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, HighContrast() ? GetSysColor(COLOR_WINDOWTEXT) : ColourRefOf(look.colour));
  const UINT format = DT_WORDBREAK | DT_NOPREFIX | (look.centred ? DT_CENTER : DT_LEFT);
  RECT measured{0, 0, width, height};
  DrawTextW(dc, wide.c_str(), int(wide.size()), &measured, format | DT_CALCRECT);
  const int textHeight = measured.bottom - measured.top;
  RECT area{0, (height - textHeight) / 2, width, (height - textHeight) / 2 + textHeight};
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, 0, 0, width, height);
  DrawTextW(dc, wide.c_str(), int(wide.size()), &area, format);
  RestoreDC(dc, saved);
  SelectObject(dc, previous);
  DeleteObject(font);
}

}  // namespace kesto::win32
