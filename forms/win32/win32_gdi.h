#pragma once
// GDI pieces of the widgetset: realised fonts, text measuring, and the canvas a
// paint draws on (a memory DC that the window copies to the screen afterwards).
#include <cstdint>
#include <vector>

#include "forms/widgetset.h"
#include "forms/win32/win32_api.h"

namespace qor::forms::win32 {

class TWin32Font final : public IFont {
 public:
  explicit TWin32Font(const TFontDesc& desc);
  ~TWin32Font() override;
  TWin32Font(const TWin32Font&) = delete;
  TWin32Font& operator=(const TWin32Font&) = delete;
  HFONT Handle() const { return FHandle; }
  const TFontDesc& Desc() const { return FDesc; }

 private:
  TFontDesc FDesc;
  HFONT FHandle = nullptr;
};

// DrawTextW flags for the model's text flags (no prefix characters: captions show
// '&' as it is).
UINT DrawTextFormat(unsigned flags);

// Measures on dc with the font selected; an empty text measures one blank, as a
// label does.
TSize MeasureTextOn(HDC dc, const TWin32Font& font, rtl::StringView text, int wrapWidth, unsigned flags);

// A 32-bit top-down DIB section reused between draws, grown as needed.
class TScratchBitmap {
 public:
  TScratchBitmap() = default;
  ~TScratchBitmap();
  TScratchBitmap(const TScratchBitmap&) = delete;
  TScratchBitmap& operator=(const TScratchBitmap&) = delete;
  // False when the bitmap cannot be made.
  bool Ensure(HDC compatible, int width, int height);
  HBITMAP Handle() const { return FBitmap; }
  std::uint32_t* Bits() const { return FBits; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

 private:
  HBITMAP FBitmap = nullptr;
  std::uint32_t* FBits = nullptr;
  int FWidth = 0;
  int FHeight = 0;
};

// Draws onto dc (clipped to the paint's dirty rectangle). Pictures go through a
// scratch DIB so that only the visible part of each is copied.
class TWin32Canvas final : public ICanvas {
 public:
  TWin32Canvas(HDC dc, const RECT& clip, TScratchBitmap& scratch);
  ~TWin32Canvas() override;
  TWin32Canvas(const TWin32Canvas&) = delete;
  TWin32Canvas& operator=(const TWin32Canvas&) = delete;

  void FillRect(const TRect& rect, TColor color) override;
  void DrawPicture(const TPicture& picture, const TRect& source, const TRect& dest) override;
  void DrawText(const IFont& font, TColor color, const TRect& rect, rtl::StringView text, unsigned flags) override;
  void DrawButtonFrame(const TRect& rect, TButtonFrame state) override;

 private:
  HDC FDC;
  TRect FClip;
  TScratchBitmap& FScratch;
  HDC FSourceDC = nullptr;
  int FSavedState = 0;
};

inline COLORREF ColorRef(TColor c) {
  return static_cast<COLORREF>(c.R) | (static_cast<COLORREF>(c.G) << 8) | (static_cast<COLORREF>(c.B) << 16);
}
inline RECT ToRECT(const TRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }
inline TRect FromRECT(const RECT& r) { return TRect{r.left, r.top, r.right, r.bottom}; }

}  // namespace qor::forms::win32
