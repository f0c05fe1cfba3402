// A small program on the system widgetset: one main window with a picture, labels
// and a flat button, an owned tool window, boxes and the error display. It prints
// what happens on standard output, one line per event, for scripts that drive it.
//
//   nol_forms_sample [--size WxH] [--picture FILE] [--tool]
//   Box button: a Yes/No warning.  Keys: Escape closes the active window,
//   E raises an error in a handler, T opens a tool window.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>

#include "forms/application.h"
#include "forms/widgetset_factory.h"
#include "platform/system_platform.h"

using namespace qor;
using namespace qor::forms;

namespace {

void Say(const std::string& line) {
  std::fputs((line + "\n").c_str(), stdout);
  std::fflush(stdout);
}

TBitmapData Gradient(int w, int h) {
  TBitmapData b;
  b.Width = w;
  b.Height = h;
  b.Pixels.resize(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.Pixels[static_cast<std::size_t>(y) * w + x] =
          PremultiplyPixel(static_cast<std::uint8_t>(255 * x / w), 40, 160, static_cast<std::uint8_t>(255 * y / h));
  return b;
}

const TFontSpec kCaptionFont{u"Tahoma", 16, true, RGB(1, 113, 54)};

class TToolForm : public TForm {
 public:
  explicit TToolForm(TForm& owner) : TForm(owner) {
    static const TControlSpec layout[] = {
        {.Kind = TControlKind::Label, .Name = u"lblText", .Left = 16, .Top = 16, .Width = 280, .Height = 57,
         .AutoSize = true, .Caption = u"Word-wrapped caption of an owned tool window, three lines or so",
         .WordWrap = true, .Transparent = true, .Font = &kCaptionFont},
        {.Kind = TControlKind::SpeedButton, .Name = u"btnBand", .Left = 0, .Top = 10, .Width = 300, .Height = 70,
         .Cursor = crHandPoint, .Flat = true},
    };
    SetCaption(u"Tool window");
    SetBorderStyle(bsToolWindow);
    SetPosition(poOwnerFormCenter);
    SetClientSize(320, 120);
    CreateControls(layout);
    Control<TSpeedButton>(u"btnBand").OnClick = [](TObject*) { Say("click tool band"); };
    OnKeyUp = [this](TObject*, TKey& key, TShiftState) {
      if (key == VK_ESCAPE) Close();
    };
    OnClose = [](TObject*, TCloseAction& action) {
      action = caFree;
      Say("close tool");
    };
  }
};

class TSampleForm : public TForm {
 public:
  TSampleForm(TApplication& app, int width, int height, const char* picture) : TForm(app) {
    static const TControlSpec layout[] = {
        {.Kind = TControlKind::Image, .Name = u"imgBack", .Align = alClient},
        {.Kind = TControlKind::Image, .Name = u"imgPicture", .Left = 300, .Top = 20, .Width = 187, .Height = 65,
         .Cursor = crHandPoint, .Stretch = true},
        {.Kind = TControlKind::Label, .Name = u"lblTitle", .Left = 20, .Top = 20, .AutoSize = true,
         .Caption = u"Запуск/Обновление", .Transparent = true, .Font = &kCaptionFont},
        {.Kind = TControlKind::SpeedButton, .Name = u"btnBox", .Left = 20, .Top = 200, .Width = 200, .Height = 40,
         .Cursor = crHandPoint, .Caption = u"Box", .Flat = true},
    };
    SetCaption(u"Forms sample");
    SetColor(clWhite);
    SetPosition(poScreenCenter);
    SetClientSize(width, height);
    CreateControls(layout);
    Control<TImage>(u"imgBack").Picture().Assign(Gradient(width, height));
    if (picture) Control<TImage>(u"imgPicture").Picture().LoadFromFile(rtl::Utf8ToString(picture));
    Control<TImage>(u"imgPicture").OnClick = [](TObject*) { Say("click picture"); };
    auto& title = Control<TLabel>(u"lblTitle");
    title.OnClick = [](TObject*) { Say("click label"); };
    Say("label " + std::to_string(title.Width()) + "x" + std::to_string(title.Height()));
    Control<TSpeedButton>(u"btnBox").OnClick = [this](TObject*) {
      int answer = Application().MessageBox(u"Вы действительно хотите?\r\nSecond line", u"Warning",
                                            MB_YESNO | MB_ICONWARNING);
      Say("box answer " + std::to_string(answer));
    };
    OnKeyUp = [this](TObject*, TKey& key, TShiftState shift) {
      Say("key up " + std::to_string(key) + " shift " + std::to_string(shift.Bits()));
      if (key == VK_ESCAPE) Close();
      if (key == 'E') throw rtl::EConvertError(u"'4a' is not a valid integer value");
      if (key == 'T') CreateOwnedForm<TToolForm>().Show();
    };
    OnClose = [](TObject*, TCloseAction&) { Say("close main"); };
  }
};

bool ParseSize(const char* text, int& w, int& h) {
  const char* end = text + std::strlen(text);
  auto r = std::from_chars(text, end, w);
  if (r.ec != std::errc() || r.ptr == end || *r.ptr != 'x') return false;
  r = std::from_chars(r.ptr + 1, end, h);
  return r.ec == std::errc() && r.ptr == end && w > 0 && h > 0;
}

}  // namespace

int main(int argc, char** argv) {
  int width = 887, height = 591;
  const char* picture = nullptr;
  bool tool = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
      if (!ParseSize(argv[++i], width, height)) {
        std::fprintf(stderr, "bad size: %s\n", argv[i]);
        return 2;
      }
    } else if (std::strcmp(argv[i], "--picture") == 0 && i + 1 < argc) {
      picture = argv[++i];
    } else if (std::strcmp(argv[i], "--tool") == 0) {
      tool = true;
    }
  }
  try {
    auto platform = platform::CreateSystemPlatform();
    platform::TScopedPlatform scoped(*platform);
    auto widgetset = CreateSystemWidgetset(&argc, &argv);
    {
      TApplication app(*widgetset);
      app.Initialize();
      app.SetMainFormOnTaskBar(true);
      auto& form = app.CreateForm<TSampleForm>(width, height, picture);
      if (tool) app.Post([&form] { form.CreateOwnedForm<TToolForm>().Show(); });
      app.Run();
    }
    Say("exit");
    return 0;
  } catch (const rtl::Exception& e) {
    std::fprintf(stderr, "%s\n", rtl::StringToUtf8(e.Message()).c_str());
    return 1;
  }
}
