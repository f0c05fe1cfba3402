#pragma once
// Plain value types of the form model: colours, geometry, cursors, keys, shift state.
#include <algorithm>
#include <cstdint>

namespace qor::forms {

// Colours are plain RGB.
struct TColor {
  std::uint8_t R = 0, G = 0, B = 0;
  friend constexpr bool operator==(TColor, TColor) = default;
};
constexpr TColor RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return TColor{r, g, b}; }

inline constexpr TColor clBlack = RGB(0, 0, 0);
inline constexpr TColor clWhite = RGB(255, 255, 255);
// The system colours as the classic desktop draws them.
inline constexpr TColor clWindowText = RGB(0, 0, 0);
inline constexpr TColor clBtnFace = RGB(240, 240, 240);

struct TPoint {
  int X = 0, Y = 0;
  friend constexpr bool operator==(TPoint, TPoint) = default;
};

struct TSize {
  int Width = 0, Height = 0;
  friend constexpr bool operator==(TSize, TSize) = default;
};

// Left/Top inclusive, Right/Bottom exclusive.
struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  constexpr bool Empty() const { return Right <= Left || Bottom <= Top; }
  constexpr bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  constexpr TRect Intersect(const TRect& o) const {
    TRect r{std::max(Left, o.Left), std::max(Top, o.Top), std::min(Right, o.Right), std::min(Bottom, o.Bottom)};
    if (r.Empty()) return TRect{};
    return r;
  }
  friend constexpr bool operator==(const TRect&, const TRect&) = default;
};
constexpr TRect Bounds(int left, int top, int width, int height) {
  return TRect{left, top, left + width, top + height};
}

enum class TCursor { crDefault, crHandPoint };
using enum TCursor;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using enum TMouseButton;

// The modifier keys and buttons held during an input event.
enum TShiftFlag : std::uint8_t {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
};
class TShiftState {
 public:
  constexpr TShiftState() = default;
  constexpr TShiftState(TShiftFlag f) : FBits(f) {}  // NOLINT: a single flag is a state
  constexpr bool Contains(TShiftFlag f) const { return (FBits & f) != 0; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr std::uint8_t Bits() const { return FBits; }
  static constexpr TShiftState FromBits(std::uint8_t bits) {
    TShiftState s;
    s.FBits = bits;
    return s;
  }
  constexpr TShiftState operator|(TShiftState o) const { return FromBits(FBits | o.FBits); }
  constexpr TShiftState& operator|=(TShiftState o) { FBits |= o.FBits; return *this; }
  friend constexpr bool operator==(TShiftState, TShiftState) = default;

 private:
  std::uint8_t FBits = 0;
};
constexpr TShiftState operator|(TShiftFlag a, TShiftFlag b) { return TShiftState(a) | TShiftState(b); }

// Keys are Windows virtual-key codes; letters and digits are their upper-case ASCII codes.
using TKey = std::uint16_t;
inline constexpr TKey VK_BACK = 0x08;
inline constexpr TKey VK_TAB = 0x09;
inline constexpr TKey VK_RETURN = 0x0D;
inline constexpr TKey VK_SHIFT = 0x10;
inline constexpr TKey VK_CONTROL = 0x11;
inline constexpr TKey VK_MENU = 0x12;
inline constexpr TKey VK_ESCAPE = 0x1B;
inline constexpr TKey VK_SPACE = 0x20;
inline constexpr TKey VK_PRIOR = 0x21;
inline constexpr TKey VK_NEXT = 0x22;
inline constexpr TKey VK_END = 0x23;
inline constexpr TKey VK_HOME = 0x24;
inline constexpr TKey VK_LEFT = 0x25;
inline constexpr TKey VK_UP = 0x26;
inline constexpr TKey VK_RIGHT = 0x27;
inline constexpr TKey VK_DOWN = 0x28;
inline constexpr TKey VK_INSERT = 0x2D;
inline constexpr TKey VK_DELETE = 0x2E;
inline constexpr TKey VK_F1 = 0x70;  // VK_F1 + n - 1 for Fn, up to F24

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using enum TCloseAction;

}  // namespace qor::forms
