#include "forms/application.h"

#include <algorithm>

#include "forms/first_paint.h"
#include "forms/program_title.h"

namespace qor::forms {

TApplication::TApplication(IWidgetset& widgetset) : FWidgetset(widgetset) {}

TApplication::~TApplication() {
  *FAlive = false;
  DestroyForms();
}

void TApplication::AdoptForm(std::unique_ptr<TForm> form) {
  if (!FMainForm) FMainForm = form.get();
  FForms.push_back(std::move(form));
}

void TApplication::DestroyForm(std::unique_ptr<TForm> form) noexcept {
  if (!form) return;
  form->DestroyOwnedForms();
  form.reset();
}

void TApplication::DestroyForms() noexcept {
  while (!FForms.empty()) {
    std::unique_ptr<TForm> f = std::move(FForms.back());
    FForms.pop_back();
    DestroyForm(std::move(f));
  }
}

void TApplication::ReleaseForm(TForm& form) {
  std::unique_ptr<TForm> owned;
  if (form.Owner()) {
    owned = form.Owner()->DetachOwned(form);
  } else {
    auto it = std::find_if(FForms.begin(), FForms.end(), [&](const auto& f) { return f.get() == &form; });
    if (it != FForms.end()) {
      owned = std::move(*it);
      FForms.erase(it);
    }
  }
  bool wasMain = owned && owned.get() == FMainForm;
  DestroyForm(std::move(owned));
  if (wasMain) Terminate();
}

void TApplication::FormDestroying(TForm& form) noexcept {
  if (FMainForm == &form) FMainForm = nullptr;
  if (FActiveForm == &form) FActiveForm = nullptr;
}

void TApplication::ForEachForm(const std::function<void(TForm&)>& fn) {
  std::function<void(TForm&)> visit = [&](TForm& f) {
    fn(f);
    for (auto& o : f.FOwned) visit(*o);
  };
  for (auto& f : FForms) visit(*f);
}

// ---- the loop

void TApplication::Run() {
  if (!FMainForm) return;
  FMainForm->Show();
  FWidgetset.Run();
}

void TApplication::Terminate() {
  FTerminated = true;
  IWidgetset* ws = &FWidgetset;
  std::weak_ptr<bool> alive = FAlive;
  FWidgetset.Post([ws, alive] {
    if (auto a = alive.lock(); a && *a) ws->Quit();
  });
}

void TApplication::Post(std::function<void()> callback) {
  std::weak_ptr<bool> alive = FAlive;
  FWidgetset.Post([this, alive, callback = std::move(callback)] {
    if (auto a = alive.lock(); !a || !*a) return;
    try {
      callback();
    } catch (...) {
      HandleException();
    }
  });
}

void TApplication::Dispatch(TForm& form, const std::function<void()>& handler) noexcept {
  TForm* previous = FActiveForm;
  FActiveForm = &form;
  std::weak_ptr<bool> formAlive = form.AliveToken();
  try {
    handler();
  } catch (...) {
    HandleException();
  }
  // The form may not be destroyed inside its own event (destruction is posted),
  // but stay safe if a handler destroyed it through other means.
  if (auto a = formAlive.lock(); a && *a) FActiveForm = previous;
  else if (FActiveForm == &form) FActiveForm = nullptr;
}

// ---- boxes

const rtl::String& TApplication::Title() const {
  if (FTitle.empty()) FTitle = ProgramTitle();
  return FTitle;
}

INativeWindow* TApplication::BoxOwner() const {
  if (FActiveForm && FActiveForm->Visible() && FActiveForm->Handle()) return FActiveForm->Handle();
  if (FMainForm && FMainForm->Visible() && FMainForm->Handle()) return FMainForm->Handle();
  return nullptr;
}

int TApplication::ShowBox(TBoxRequest request) {
  if (!request.Owner) request.Owner = BoxOwner();
  if (FModalDepth++ == 0) {
    ForEachForm([](TForm& f) {
      f.FPressed = nullptr;
      if (f.Handle()) f.Handle()->SetEnabled(false);
    });
  }
  struct TRestore {
    TApplication& App;
    ~TRestore() {
      if (--App.FModalDepth != 0) return;
      App.ForEachForm([](TForm& f) {
        if (f.Handle()) f.Handle()->SetEnabled(true);
      });
      App.ForEachForm([](TForm& f) { f.Resync(); });
    }
  } restore{*this};
  return FWidgetset.ShowBox(request);
}

int TApplication::MessageBox(rtl::StringView text, rtl::StringView caption, unsigned flags) {
  return ShowBox(MessageBoxRequest(text, caption, flags));
}

void TApplication::ShowException(rtl::StringView message) {
  ShowBox(MessageBoxRequest(ErrorBoxText(message), Title(), MB_OK | MB_ICONERROR));
}

void TApplication::HandleException() noexcept {
  rtl::String message;
  try {
    try {
      throw;
    } catch (const rtl::Exception& e) {
      message = e.Message();
    } catch (const std::exception& e) {
      message = rtl::Utf8ToString(e.what());
    } catch (...) {
      message = u"Unknown exception";
    }
    ShowException(message);
  } catch (...) {
    // Nothing more can be shown; the window stays as it was.
  }
}

// ---- fonts and the first paint

TFontRef TApplication::Font(const TFontDesc& desc) {
  for (auto& [d, f] : FFonts)
    if (d == desc) return f;
  TFontRef f = FWidgetset.CreateFont(desc);
  FFonts.emplace_back(desc, f);
  return f;
}

void TApplication::FormPainted(TForm& form) {
  if (FFirstPaintDone) return;
  FFirstPaintDone = true;
  rtl::String path = FirstPaintFileName();
  if (path.empty()) return;
  TSize size{form.ClientWidth(), form.ClientHeight()};
  rtl::String caption = form.Caption();
  IWidgetset* ws = &FWidgetset;
  // After the paint has returned and reached the screen.
  Post([ws, path, size, caption] {
    ws->Sync();
    WriteFirstPaintFile(path, size, caption);
  });
}

}  // namespace qor::forms
