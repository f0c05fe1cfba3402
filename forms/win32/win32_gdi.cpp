#include "forms/win32/win32_gdi.h"

#include <algorithm>
#include <cstring>

#include "forms/win32/win32_text.h"

namespace qor::forms::win32 {

namespace {

HFONT CreateFontHandle(const TFontDesc& desc, BYTE charset) {
  rtl::String face = desc.Name.substr(0, LF_FACESIZE - 1);
  return CreateFontW(-desc.Height, 0, 0, 0, desc.Bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, charset,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                     Wide(face));
}

// Whether the font mapper gave the face that was asked for.
bool HasFace(HFONT font, const rtl::String& name) {
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return true;
  HGDIOBJ old = SelectObject(dc, font);
  wchar_t face[LF_FACESIZE] = {};
  int n = GetTextFaceW(dc, LF_FACESIZE, face);
  SelectObject(dc, old);
  DeleteDC(dc);
  if (n <= 0) return true;
  rtl::String got = FromWide(face, static_cast<std::size_t>(std::wcslen(face)));
  return rtl::SameTextAscii(got, name);
}

}  // namespace

TWin32Font::TWin32Font(const TFontDesc& desc) : FDesc(desc) {
  // The captions are Russian and Ukrainian: ask for the Cyrillic character set,
  // and take any set when the face has no Cyrillic one.
  FHandle = CreateFontHandle(desc, RUSSIAN_CHARSET);
  if (FHandle && !HasFace(FHandle, desc.Name)) {
    if (HFONT any = CreateFontHandle(desc, DEFAULT_CHARSET)) {
      DeleteObject(FHandle);
      FHandle = any;
    }
  }
  if (!FHandle) FHandle = CreateFontHandle(desc, DEFAULT_CHARSET);
}

TWin32Font::~TWin32Font() {
  if (FHandle) DeleteObject(FHandle);
}

UINT DrawTextFormat(unsigned flags) {
  UINT format = DT_NOPREFIX | DT_EXPANDTABS;
  if (flags & tfWordWrap) format |= DT_WORDBREAK;
  if (flags & tfCenter) format |= DT_CENTER;
  return format;
}

TSize MeasureTextOn(HDC dc, const TWin32Font& font, rtl::StringView text, int wrapWidth, unsigned flags) {
  rtl::String s = text.empty() ? rtl::String(u" ") : rtl::String(text);
  bool wrap = (flags & tfWordWrap) && wrapWidth > 0;
  RECT r{0, 0, wrap ? wrapWidth : 0, 0};
  HGDIOBJ old = SelectObject(dc, font.Handle());
  DrawTextW(dc, Wide(s), static_cast<int>(s.size()), &r, DrawTextFormat(wrap ? unsigned{tfWordWrap} : 0u) | DT_CALCRECT);
  SelectObject(dc, old);
  return TSize{r.right - r.left, r.bottom - r.top};
}

// ---- TScratchBitmap

TScratchBitmap::~TScratchBitmap() {
  if (FBitmap) DeleteObject(FBitmap);
}

bool TScratchBitmap::Ensure(HDC compatible, int width, int height) {
  if (FBitmap && width <= FWidth && height <= FHeight) return true;
  int w = std::max(width, FWidth);
  int h = std::max(height, FHeight);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;  // top-down, as the pictures' rows are
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(compatible, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) return false;
  if (FBitmap) DeleteObject(FBitmap);
  FBitmap = bitmap;
  FBits = static_cast<std::uint32_t*>(bits);
  FWidth = w;
  FHeight = h;
  return true;
}

// ---- TWin32Canvas

TWin32Canvas::TWin32Canvas(HDC dc, const RECT& clip, TScratchBitmap& scratch)
    : FDC(dc), FClip(FromRECT(clip)), FScratch(scratch) {
  FSavedState = SaveDC(FDC);
  IntersectClipRect(FDC, clip.left, clip.top, clip.right, clip.bottom);
  SetBkMode(FDC, TRANSPARENT);
}

TWin32Canvas::~TWin32Canvas() {
  if (FSourceDC) DeleteDC(FSourceDC);
  if (FSavedState) RestoreDC(FDC, FSavedState);
}

void TWin32Canvas::FillRect(const TRect& rect, TColor color) {
  TRect r = rect.Intersect(FClip);
  if (r.Empty()) return;
  RECT rc = ToRECT(r);
  SetDCBrushColor(FDC, ColorRef(color));
  ::FillRect(FDC, &rc, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void TWin32Canvas::DrawPicture(const TPicture& picture, const TRect& source, const TRect& dest) {
  if (picture.Empty() || dest.Empty()) return;
  TRect src = source.Intersect(TRect{0, 0, picture.Width(), picture.Height()});
  if (src.Empty()) return;
  TRect target = dest;
  bool scaled = source.Width() != dest.Width() || source.Height() != dest.Height();
  if (!scaled) {
    // Only the visible part is copied and blended.
    target = Bounds(dest.Left + (src.Left - source.Left), dest.Top + (src.Top - source.Top), src.Width(),
                    src.Height())
                 .Intersect(FClip);
    if (target.Empty()) return;
    src = Bounds(src.Left + (target.Left - (dest.Left + (src.Left - source.Left))),
                 src.Top + (target.Top - (dest.Top + (src.Top - source.Top))), target.Width(), target.Height());
  } else if (target.Intersect(FClip).Empty()) {
    return;
  }
  if (!FScratch.Ensure(FDC, src.Width(), src.Height())) return;
  if (!FSourceDC && !(FSourceDC = CreateCompatibleDC(FDC))) return;
  GdiFlush();  // the scratch bits may still be in use by an earlier blend
  const std::uint32_t* pixels = picture.Pixels();
  for (int y = 0; y < src.Height(); ++y)
    std::memcpy(FScratch.Bits() + static_cast<std::size_t>(y) * FScratch.Width(),
                pixels + static_cast<std::size_t>(src.Top + y) * picture.Width() + src.Left,
                static_cast<std::size_t>(src.Width()) * sizeof(std::uint32_t));
  HGDIOBJ old = SelectObject(FSourceDC, FScratch.Handle());
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(FDC, target.Left, target.Top, target.Width(), target.Height(), FSourceDC, 0, 0, src.Width(),
             src.Height(), blend);
  SelectObject(FSourceDC, old);
}

void TWin32Canvas::DrawText(const IFont& font, TColor color, const TRect& rect, rtl::StringView text,
                            unsigned flags) {
  if (text.empty() || rect.Intersect(FClip).Empty()) return;
  const auto& f = static_cast<const TWin32Font&>(font);
  rtl::String s(text);
  RECT r = ToRECT(rect);
  UINT format = DrawTextFormat(flags);
  HGDIOBJ old = SelectObject(FDC, f.Handle());
  if (flags & tfVCenter) {
    // DT_VCENTER centres single lines only; centre the whole block.
    RECT m{0, 0, rect.Width(), 0};
    DrawTextW(FDC, Wide(s), static_cast<int>(s.size()), &m, format | DT_CALCRECT);
    r.top += (rect.Height() - (m.bottom - m.top)) / 2;
  }
  SetTextColor(FDC, ColorRef(color));
  // Clipped to the rectangle (no DT_NOCLIP).
  DrawTextW(FDC, Wide(s), static_cast<int>(s.size()), &r, format);
  SelectObject(FDC, old);
}

void TWin32Canvas::DrawButtonFrame(const TRect& rect, TButtonFrame state) {
  RECT r = ToRECT(rect);
  switch (state) {
    case bfHot: DrawEdge(FDC, &r, BDR_RAISEDINNER, BF_RECT); break;
    case bfDown: DrawEdge(FDC, &r, BDR_SUNKENOUTER, BF_RECT); break;
    case bfUp: DrawEdge(FDC, &r, EDGE_RAISED, BF_RECT); break;
  }
}

}  // namespace qor::forms::win32
