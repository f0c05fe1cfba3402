#pragma once
// TApplication: the forms of a program, the loop, message boxes and the default
// error display. One per program (tests make one per case).
#include <exception>
#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

#include "forms/form.h"
#include "forms/message_box.h"
#include "forms/widgetset.h"
#include "rtl/strings.h"

namespace qor::forms {

class TApplication {
 public:
  explicit TApplication(IWidgetset& widgetset);
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;
  // Destroys every form, owned ones before their owners, newest first.
  ~TApplication();

  IWidgetset& Widgetset() const { return FWidgetset; }

  void Initialize() {}
  // The main form carries the program's taskbar button (always so here; kept for
  // the entry sequence).
  bool MainFormOnTaskBar() const { return FMainFormOnTaskBar; }
  void SetMainFormOnTaskBar(bool value) { FMainFormOnTaskBar = value; }

  // Makes T(TApplication&, args...), runs AfterConstruction, and keeps it; the first
  // form made becomes the main form. A failing constructor or AfterConstruction
  // destroys the form and passes the exception on.
  template <class T, class... A>
  T& CreateForm(A&&... args) {
    static_assert(std::is_base_of_v<TForm, T>);
    auto form = std::make_unique<T>(*this, std::forward<A>(args)...);
    form->AfterConstruction();
    T& result = *form;
    AdoptForm(std::move(form));
    return result;
  }
  TForm* MainForm() const { return FMainForm; }
  int FormCount() const { return static_cast<int>(FForms.size()); }
  TForm& Forms(int index) const { return *FForms.at(static_cast<std::size_t>(index)); }

  // Shows the main form and runs the loop until the main form closes or
  // Terminate is called; returns at once without a main form.
  void Run();
  // Ends the loop after the current event.
  void Terminate();
  bool Terminated() const { return FTerminated; }

  // The default error box's title: the program file's name without its extension
  // unless set.
  const rtl::String& Title() const;
  void SetTitle(rtl::StringView value) { FTitle = rtl::String(value); }
  // Taken by forms whose own icon is empty.
  TPicture& Icon() { return FIcon; }

  // A modal box over the active form (or the main form) with every form disabled
  // while it is open; returns IDOK, IDYES, ... Hover, pressed state and cursor are
  // re-synchronised afterwards.
  int MessageBox(rtl::StringView text, rtl::StringView caption, unsigned flags = MB_OK);
  int ShowBox(TBoxRequest request);
  bool ModalActive() const { return FModalDepth > 0; }

  // The default error display: error icon, OK, titled Title(), the message with
  // the full-stop rule.
  void ShowException(rtl::StringView message);
  // The system's colour which, or fallback where the system gives none.
  TColor SystemColor(TSystemColor which, TColor fallback) const {
    return FWidgetset.SystemColor(which).value_or(fallback);
  }
  // Shows the exception in flight (call from a catch block); never throws.
  void HandleException() noexcept;

  // Runs callback after the current event; an exception from it is shown by the
  // default error display.
  void Post(std::function<void()> callback);

  // Cached per description.
  TFontRef Font(const TFontDesc& desc);

 private:
  friend class TForm;
  void AdoptForm(std::unique_ptr<TForm> form);
  void DestroyForms() noexcept;
  static void DestroyForm(std::unique_ptr<TForm> form) noexcept;
  // Free on close: the owner lets go of the form and it is destroyed, owned forms first.
  void ReleaseForm(TForm& form);
  void FormDestroying(TForm& form) noexcept;
  void FormPainted(TForm& form);
  // Runs an event of form: an exception is shown by the default error display.
  void Dispatch(TForm& form, const std::function<void()>& handler) noexcept;
  INativeWindow* BoxOwner() const;
  // Calls every form (owned ones too), in creation order.
  void ForEachForm(const std::function<void(TForm&)>& fn);

  IWidgetset& FWidgetset;
  std::vector<std::unique_ptr<TForm>> FForms;
  TForm* FMainForm = nullptr;
  TForm* FActiveForm = nullptr;  // the form whose event is being handled
  bool FMainFormOnTaskBar = false;
  bool FTerminated = false;
  bool FFirstPaintDone = false;
  int FModalDepth = 0;
  mutable rtl::String FTitle;
  TPicture FIcon;
  std::vector<std::pair<TFontDesc, TFontRef>> FFonts;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

}  // namespace qor::forms
