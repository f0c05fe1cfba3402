#pragma once
// The presentations window: three bands of its background picture, each opening
// one of the CD's further materials. A tool window owned by the main window.
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/layout.h"
#include "rtl/strings.h"

namespace qor {

// The window's controls in creation (and drawing) order: the buttons lie over the
// labels, so a click anywhere in a band, its caption included, reaches the band's
// button. The names do not pair: btnPharm covers lblNereval, btnNereval lblPharm.
forms::TLayout FormAdditionalLayout();

class TFormAdditional : public forms::TForm {
 public:
  explicit TFormAdditional(forms::TForm& owner);

  // Top band (caption C1): the slide show.
  void btnPharmClick(forms::TObject* Sender);
  // Middle band (caption C2): the market review in the outside PDF reader.
  void btnNerevalClick(forms::TObject* Sender);
  // Bottom band (caption C3): the video.
  void btnLorantaClick(forms::TObject* Sender);
  // A closed presentations window is destroyed, not hidden.
  void FormClose(forms::TObject* Sender, forms::TCloseAction& Action);
  // Releasing Escape closes the window; other keys do nothing.
  void FormKeyUp(forms::TObject* Sender, forms::TKey& Key, forms::TShiftState Shift);

  // The controls, in declaration order.
  forms::TImage* imgBackground = nullptr;
  forms::TLabel* lblPharm = nullptr;
  forms::TLabel* lblLoranta = nullptr;
  forms::TLabel* lblNereval = nullptr;
  forms::TSpeedButton* btnPharm = nullptr;
  forms::TSpeedButton* btnNereval = nullptr;
  forms::TSpeedButton* btnLoranta = nullptr;
};

}  // namespace qor
