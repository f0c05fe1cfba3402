#include "forms/font.h"

namespace qor::forms {

void TFont::SetName(rtl::StringView name) {
  if (FDesc.Name == name) return;
  FDesc.Name = rtl::String(name);
  Changed();
}

void TFont::SetHeight(int height) {
  if (FDesc.Height == height) return;
  FDesc.Height = height;
  Changed();
}

void TFont::SetBold(bool bold) {
  if (FDesc.Bold == bold) return;
  FDesc.Bold = bold;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (FColor == color) return;
  FColor = color;
  Changed();
}

void TFont::Assign(const TFont& o) {
  if (this == &o || (FDesc == o.FDesc && FColor == o.FColor)) return;
  FDesc = o.FDesc;
  FColor = o.FColor;
  Changed();
}

}  // namespace qor::forms
