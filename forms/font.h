#pragma once
// Fonts: what the model asks for (face, pixel height, weight) plus a colour.
#include <functional>
#include <memory>

#include "forms/types.h"
#include "rtl/strings.h"

namespace qor::forms {

struct TFontDesc {
  rtl::String Name = u"Tahoma";
  int Height = 11;  // character height in pixels
  bool Bold = false;
  friend bool operator==(const TFontDesc&, const TFontDesc&) = default;
};

// A font realised by a widgetset; opaque to the model.
class IFont {
 public:
  virtual ~IFont() = default;
};
using TFontRef = std::shared_ptr<const IFont>;

// The font property of forms and controls. Changes are reported through OnChange
// (the owner re-measures and repaints).
class TFont {
 public:
  TFont() = default;
  explicit TFont(TFontDesc desc, TColor color = clWindowText) : FDesc(std::move(desc)), FColor(color) {}
  TFont(const TFont& o) : FDesc(o.FDesc), FColor(o.FColor) {}
  TFont& operator=(const TFont& o) {
    Assign(o);
    return *this;
  }

  const rtl::String& Name() const { return FDesc.Name; }
  void SetName(rtl::StringView name);
  int Height() const { return FDesc.Height; }
  void SetHeight(int height);
  bool Bold() const { return FDesc.Bold; }
  void SetBold(bool bold);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  const TFontDesc& Desc() const { return FDesc; }
  // Copies face, height, weight and colour (not the change handler).
  void Assign(const TFont& o);

  std::function<void()> OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange();
  }
  TFontDesc FDesc;
  TColor FColor = clWindowText;
};

}  // namespace qor::forms
