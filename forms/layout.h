#pragma once
// Layouts as data: a form's controls in creation order with their properties,
// kept next to the form class and built by TForm::CreateControls.
#include <cstdint>
#include <span>

#include "forms/types.h"
#include "rtl/strings.h"

namespace qor::forms {

enum class TControlKind { Image, Label, SpeedButton };

struct TFontSpec {
  rtl::StringView Name = u"Tahoma";
  int Height = 11;
  bool Bold = false;
  TColor Color = clWindowText;
};

// Fields in declaration order, for designated initialisers.
struct TControlSpec {
  TControlKind Kind = TControlKind::Image;
  rtl::StringView Name;
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  bool Visible = true;
  TCursor Cursor = crDefault;
  TAlign Align = alNone;
  bool AutoSize = false;  // images and labels
  // Images: an encoded PNG or JPEG (an embedded asset); empty: no picture.
  std::span<const std::uint8_t> Picture = {};
  bool Stretch = false;
  // Labels and buttons.
  rtl::StringView Caption = {};
  bool WordWrap = false;
  bool Transparent = false;
  bool Flat = false;
  const TFontSpec* Font = nullptr;  // null: the form's font
};

using TLayout = std::span<const TControlSpec>;

}  // namespace qor::forms
