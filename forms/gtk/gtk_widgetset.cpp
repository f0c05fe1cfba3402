#include "forms/gtk/gtk_widgetset.h"

#include <fontconfig/fontconfig.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <string>

#include "forms/gtk/gtk_keys.h"
#include "rtl/exceptions.h"

namespace qor::forms::gtk {

namespace {

// ---- fonts

class TGtkFont final : public IFont {
 public:
  explicit TGtkFont(PangoFontDescription* desc) : Desc(desc) {}
  ~TGtkFont() override { pango_font_description_free(Desc); }
  TGtkFont(const TGtkFont&) = delete;
  TGtkFont& operator=(const TGtkFont&) = delete;
  PangoFontDescription* Desc;
};

bool FontconfigHasFamily(const char* family) {
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
  if (!pattern) return false;
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  bool found = false;
  if (match) {
    FcChar8* name = nullptr;
    for (int i = 0; !found && FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i)
      found = g_ascii_strcasecmp(reinterpret_cast<const char*>(name), family) == 0;
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return found;
}

std::string Utf8(rtl::StringView s) { return rtl::StringToUtf8(s); }

void SetColor(cairo_t* cr, TColor c) { cairo_set_source_rgb(cr, c.R / 255.0, c.G / 255.0, c.B / 255.0); }

// "&Yes" -> "_Yes": the toolkit's mnemonic marker; "&&" is an ampersand.
std::string MnemonicCaption(rtl::StringView caption) {
  rtl::String out;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    char16_t c = caption[i];
    if (c == u'&') {
      if (i + 1 < caption.size() && caption[i + 1] == u'&') {
        out += u'&';
        ++i;
      } else {
        out += u'_';
      }
    } else if (c == u'_') {
      out += u"__";
    } else {
      out += c;
    }
  }
  return Utf8(out);
}

cairo_surface_t* PictureSurface(const TPicture& picture) {
  // The pixel layout is cairo's ARGB32 with a stride of width * 4; cairo only reads it.
  return cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(picture.Pixels())), CAIRO_FORMAT_ARGB32,
      picture.Width(), picture.Height(), picture.Width() * 4);
}

GdkPixbuf* PictureToPixbuf(const TPicture& picture) {
  if (picture.Empty()) return nullptr;
  GdkPixbuf* pb = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, picture.Width(), picture.Height());
  if (!pb) return nullptr;
  int stride = gdk_pixbuf_get_rowstride(pb);
  guchar* pixels = gdk_pixbuf_get_pixels(pb);
  for (int y = 0; y < picture.Height(); ++y) {
    const std::uint32_t* src = picture.Pixels() + static_cast<std::size_t>(y) * picture.Width();
    guchar* dst = pixels + static_cast<std::size_t>(y) * stride;
    for (int x = 0; x < picture.Width(); ++x, dst += 4) {
      std::uint32_t p = src[x];
      unsigned a = p >> 24;
      auto un = [a](unsigned c) -> guchar { return a ? static_cast<guchar>(std::min(255u, (c * 255 + a / 2) / a)) : 0; };
      dst[0] = un((p >> 16) & 0xFF);
      dst[1] = un((p >> 8) & 0xFF);
      dst[2] = un(p & 0xFF);
      dst[3] = static_cast<guchar>(a);
    }
  }
  return pb;
}

class TGtkWidgetset;

// ---- canvas

class TGtkCanvas final : public ICanvas {
 public:
  TGtkCanvas(cairo_t* cr, PangoContext* context) : FCr(cr), FContext(context) {}

  void FillRect(const TRect& r, TColor color) override {
    if (r.Empty()) return;
    SetColor(FCr, color);
    cairo_rectangle(FCr, r.Left, r.Top, r.Width(), r.Height());
    cairo_fill(FCr);
  }

  void DrawPicture(const TPicture& picture, const TRect& source, const TRect& dest) override {
    if (picture.Empty() || source.Empty() || dest.Empty()) return;
    cairo_surface_t* surface = PictureSurface(picture);
    cairo_save(FCr);
    cairo_rectangle(FCr, dest.Left, dest.Top, dest.Width(), dest.Height());
    cairo_clip(FCr);
    cairo_translate(FCr, dest.Left, dest.Top);
    bool scaled = source.Width() != dest.Width() || source.Height() != dest.Height();
    if (scaled) cairo_scale(FCr, double(dest.Width()) / source.Width(), double(dest.Height()) / source.Height());
    cairo_set_source_surface(FCr, surface, -source.Left, -source.Top);
    cairo_pattern_set_filter(cairo_get_source(FCr), scaled ? CAIRO_FILTER_GOOD : CAIRO_FILTER_NEAREST);
    cairo_paint(FCr);
    cairo_restore(FCr);
    cairo_surface_destroy(surface);
  }

  void DrawText(const IFont& font, TColor color, const TRect& r, rtl::StringView text, unsigned flags) override {
    if (r.Empty() || text.empty()) return;
    PangoLayout* layout = pango_layout_new(FContext);
    pango_layout_set_font_description(layout, static_cast<const TGtkFont&>(font).Desc);
    std::string utf8 = Utf8(text);
    pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
    if (flags & (tfWordWrap | tfCenter)) pango_layout_set_width(layout, r.Width() * PANGO_SCALE);
    if (flags & tfWordWrap) pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
    if (flags & tfCenter) pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
    int w = 0, h = 0;
    pango_layout_get_pixel_size(layout, &w, &h);
    int y = r.Top;
    if (flags & tfVCenter) y += (r.Height() - h) / 2;
    cairo_save(FCr);
    cairo_rectangle(FCr, r.Left, r.Top, r.Width(), r.Height());
    cairo_clip(FCr);
    SetColor(FCr, color);
    cairo_move_to(FCr, r.Left, y);
    pango_cairo_show_layout(FCr, layout);
    cairo_restore(FCr);
    g_object_unref(layout);
  }

  void DrawButtonFrame(const TRect& r, TButtonFrame state) override {
    if (r.Width() < 2 || r.Height() < 2) return;
    static constexpr TColor kHighlight = RGB(255, 255, 255), kLight = RGB(227, 227, 227),
                            kShadow = RGB(160, 160, 160), kDarkShadow = RGB(105, 105, 105);
    switch (state) {
      case bfHot: Edge(r, kHighlight, kShadow); break;
      case bfDown: Edge(r, kShadow, kHighlight); break;
      case bfUp:
        Edge(r, kHighlight, kDarkShadow);
        Edge(TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, kLight, kShadow);
        break;
    }
  }

 private:
  // A one-pixel frame: top and left in one colour, bottom and right in the other.
  void Edge(const TRect& r, TColor topLeft, TColor bottomRight) {
    if (r.Empty()) return;
    cairo_set_line_width(FCr, 1);
    SetColor(FCr, topLeft);
    cairo_move_to(FCr, r.Left + 0.5, r.Bottom - 1);
    cairo_line_to(FCr, r.Left + 0.5, r.Top + 0.5);
    cairo_line_to(FCr, r.Right - 1, r.Top + 0.5);
    cairo_stroke(FCr);
    SetColor(FCr, bottomRight);
    cairo_move_to(FCr, r.Left, r.Bottom - 0.5);
    cairo_line_to(FCr, r.Right - 0.5, r.Bottom - 0.5);
    cairo_line_to(FCr, r.Right - 0.5, r.Top);
    cairo_stroke(FCr);
  }

  cairo_t* FCr;
  PangoContext* FContext;
};

// ---- windows

TShiftState ShiftFromState(guint state) {
  TShiftState s;
  if (state & GDK_SHIFT_MASK) s |= ssShift;
  if (state & GDK_CONTROL_MASK) s |= ssCtrl;
  if (state & GDK_MOD1_MASK) s |= ssAlt;
  if (state & GDK_BUTTON1_MASK) s |= ssLeft;
  if (state & GDK_BUTTON3_MASK) s |= ssRight;
  if (state & GDK_BUTTON2_MASK) s |= ssMiddle;
  return s;
}

class TGtkWindow final : public INativeWindow {
 public:
  TGtkWindow(TGtkWidgetset& owner, const TWindowParams& params, IWindowEvents& events);
  ~TGtkWindow() override;
  TGtkWindow(const TGtkWindow&) = delete;
  TGtkWindow& operator=(const TGtkWindow&) = delete;

  void Show() override { gtk_widget_show_all(FWindow); }
  void Hide() override { gtk_widget_hide(FWindow); }
  void SetCaption(rtl::StringView caption) override { gtk_window_set_title(GTK_WINDOW(FWindow), Utf8(caption).c_str()); }
  void SetEnabled(bool enabled) override { gtk_widget_set_sensitive(FWindow, enabled); }
  void Invalidate(const TRect& r) override {
    if (!r.Empty()) gtk_widget_queue_draw_area(FArea, r.Left, r.Top, r.Width(), r.Height());
  }
  void SetCursor(TCursor cursor) override;
  std::optional<TPoint> PointerPosition() const override;

  GtkWindow* Window() const { return GTK_WINDOW(FWindow); }

 private:
  static void OnRealize(GtkWidget* widget, gpointer self);
  static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, gpointer self);
  static gboolean OnMotion(GtkWidget* widget, GdkEventMotion* event, gpointer self);
  static gboolean OnButton(GtkWidget* widget, GdkEventButton* event, gpointer self);
  static gboolean OnCrossing(GtkWidget* widget, GdkEventCrossing* event, gpointer self);
  static gboolean OnKey(GtkWidget* widget, GdkEventKey* event, gpointer self);
  static gboolean OnDelete(GtkWidget* widget, GdkEvent* event, gpointer self);

  TGtkWidgetset& FOwner;
  IWindowEvents& FEvents;
  TWindowParams FParams;
  GtkWidget* FWindow = nullptr;
  GtkWidget* FArea = nullptr;
  TCursor FCursor = crDefault;
};

// ---- the widgetset

class TGtkWidgetset final : public IWidgetset {
 public:
  TGtkWidgetset() {
    FContext = gdk_pango_context_get();
    // Fixed rendering options, the same for measuring and drawing, so that a
    // label's measured size is the size it draws at.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    pango_cairo_context_set_font_options(FContext, options);
    pango_cairo_context_set_resolution(FContext, 96);
    cairo_font_options_destroy(options);
    FHaveTahoma = FontconfigHasFamily("Tahoma");
  }
  ~TGtkWidgetset() override {
    if (FIdle) g_source_remove(FIdle);
    g_object_unref(FContext);
  }

  TFontRef CreateFont(const TFontDesc& desc) override {
    PangoFontDescription* d = pango_font_description_new();
    std::string family = Utf8(desc.Name);
    // Tahoma when the system has it; otherwise the face whose widths come closest.
    if (!FHaveTahoma && g_ascii_strcasecmp(family.c_str(), "Tahoma") == 0) family = "DejaVu Sans Condensed";
    pango_font_description_set_family(d, family.c_str());
    pango_font_description_set_absolute_size(d, double(desc.Height) * PANGO_SCALE);
    pango_font_description_set_weight(d, desc.Bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    return std::make_shared<TGtkFont>(d);
  }

  TSize MeasureText(const IFont& font, rtl::StringView text, int wrapWidth, unsigned flags) override {
    PangoLayout* layout = pango_layout_new(FContext);
    pango_layout_set_font_description(layout, static_cast<const TGtkFont&>(font).Desc);
    std::string utf8 = Utf8(text);
    pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
    if ((flags & tfWordWrap) && wrapWidth > 0) {
      pango_layout_set_width(layout, wrapWidth * PANGO_SCALE);
      pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
    }
    int w = 0, h = 0;
    pango_layout_get_pixel_size(layout, &w, &h);
    g_object_unref(layout);
    return TSize{w, h};
  }

  std::unique_ptr<INativeWindow> CreateWindow(const TWindowParams& params, IWindowEvents& events) override {
    return std::make_unique<TGtkWindow>(*this, params, events);
  }

  int ShowBox(const TBoxRequest& request) override {
    GtkWindow* parent = request.Owner ? static_cast<TGtkWindow*>(request.Owner)->Window() : nullptr;
    GtkMessageType type = GTK_MESSAGE_OTHER;
    const char* icon = nullptr;
    switch (request.Icon) {
      case TBoxIcon::Error: type = GTK_MESSAGE_ERROR; icon = "dialog-error"; break;
      case TBoxIcon::Warning: type = GTK_MESSAGE_WARNING; icon = "dialog-warning"; break;
      case TBoxIcon::Information: type = GTK_MESSAGE_INFO; icon = "dialog-information"; break;
      case TBoxIcon::Question: type = GTK_MESSAGE_QUESTION; icon = "dialog-question"; break;
      case TBoxIcon::None: break;
    }
    GtkWidget* dialog = gtk_message_dialog_new(parent, static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT), type,
                                               GTK_BUTTONS_NONE, "%s", Utf8(request.Text).c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), Utf8(request.Caption).c_str());
    if (icon) {
      // The message type alone draws no icon in GTK 3; the box's kind should show.
      G_GNUC_BEGIN_IGNORE_DEPRECATIONS
      GtkWidget* image = gtk_image_new_from_icon_name(icon, GTK_ICON_SIZE_DIALOG);
      gtk_message_dialog_set_image(GTK_MESSAGE_DIALOG(dialog), image);
      gtk_widget_show(image);
      G_GNUC_END_IGNORE_DEPRECATIONS
    }
    gtk_window_set_position(GTK_WINDOW(dialog), parent ? GTK_WIN_POS_CENTER_ON_PARENT : GTK_WIN_POS_CENTER);
    gtk_window_set_resizable(GTK_WINDOW(dialog), FALSE);
    // Our own buttons: stock ones would follow the locale, not the program's captions.
    for (std::size_t i = 0; i < request.Buttons.size(); ++i)
      gtk_dialog_add_button(GTK_DIALOG(dialog), MnemonicCaption(request.Buttons[i].Caption).c_str(),
                            static_cast<gint>(i));
    if (request.DefaultButton >= 0 && request.DefaultButton < static_cast<int>(request.Buttons.size()))
      gtk_dialog_set_default_response(GTK_DIALOG(dialog), request.DefaultButton);
    ++FBoxDepth;
    gint response = gtk_dialog_run(GTK_DIALOG(dialog));
    --FBoxDepth;
    gtk_widget_destroy(dialog);
    SchedulePosted();
    if (response >= 0 && response < static_cast<gint>(request.Buttons.size()))
      return request.Buttons[static_cast<std::size_t>(response)].Result;
    return request.CloseResult;
  }

  void Run() override {
    if (FQuit) return;
    FRunning = true;
    gtk_main();
    FRunning = false;
  }

  void Quit() override {
    if (FQuit) return;
    FQuit = true;
    if (FRunning) gtk_main_quit();
  }

  void Post(std::function<void()> callback) override {
    FPosted.push_back(std::move(callback));
    SchedulePosted();
  }

  void Sync() override {
    GdkDisplay* display = gdk_display_get_default();
    if (display) gdk_display_sync(display);
  }

  // The theme's named colours, as a window's style context resolves them.
  std::optional<TColor> SystemColor(TSystemColor which) override {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    GdkRGBA rgba{};
    const gboolean found = gtk_style_context_lookup_color(
        gtk_widget_get_style_context(window), which == TSystemColor::BtnFace ? "theme_bg_color" : "theme_fg_color",
        &rgba);
    gtk_widget_destroy(window);
    if (!found) return std::nullopt;
    auto byte = [](double v) { return static_cast<std::uint8_t>(std::clamp(v, 0.0, 1.0) * 255.0 + 0.5); };
    return TColor{byte(rgba.red), byte(rgba.green), byte(rgba.blue)};
  }

  PangoContext* Context() const { return FContext; }

 private:
  // Posted callbacks run from an idle source below the toolkit's redraw priority,
  // never inside a modal box's own loop (that would be inside the current event).
  void SchedulePosted() {
    if (FIdle || FPosted.empty() || FBoxDepth > 0) return;
    FIdle = g_idle_add_full(G_PRIORITY_DEFAULT_IDLE, &TGtkWidgetset::OnIdle, this, nullptr);
  }

  static gboolean OnIdle(gpointer self) {
    auto* ws = static_cast<TGtkWidgetset*>(self);
    ws->FIdle = 0;
    while (!ws->FPosted.empty() && ws->FBoxDepth == 0 && !ws->FQuit) {
      auto callback = std::move(ws->FPosted.front());
      ws->FPosted.pop_front();
      callback();
    }
    if (!ws->FQuit) ws->SchedulePosted();
    return G_SOURCE_REMOVE;
  }

  PangoContext* FContext = nullptr;
  bool FHaveTahoma = false;
  std::deque<std::function<void()>> FPosted;
  guint FIdle = 0;
  int FBoxDepth = 0;
  bool FRunning = false;
  bool FQuit = false;
};

// ---- TGtkWindow

TGtkWindow::TGtkWindow(TGtkWidgetset& owner, const TWindowParams& params, IWindowEvents& events)
    : FOwner(owner), FEvents(events), FParams(params) {
  FParams.Icon = nullptr;
  FWindow = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWindow* w = GTK_WINDOW(FWindow);
  gtk_window_set_title(w, Utf8(params.Caption).c_str());
  gtk_window_set_resizable(w, FALSE);
  GtkWindow* ownerWindow = params.Owner ? static_cast<TGtkWindow*>(params.Owner)->Window() : nullptr;
  if (params.Kind == TWindowKind::Tool) {
    gtk_window_set_type_hint(w, GDK_WINDOW_TYPE_HINT_UTILITY);
  }
  if (ownerWindow) {
    gtk_window_set_transient_for(w, ownerWindow);
  }
  gtk_window_set_skip_taskbar_hint(w, !params.TaskbarButton);
  switch (params.Placement) {
    case TWindowPlacement::Default: break;
    case TWindowPlacement::ScreenCenter: gtk_window_set_position(w, GTK_WIN_POS_CENTER); break;
    case TWindowPlacement::OwnerCenter:
      gtk_window_set_position(w, ownerWindow ? GTK_WIN_POS_CENTER_ON_PARENT : GTK_WIN_POS_CENTER);
      break;
  }
  if (params.Icon) {
    if (GdkPixbuf* pb = PictureToPixbuf(*params.Icon)) {
      gtk_window_set_icon(w, pb);
      g_object_unref(pb);
    }
  }

  FArea = gtk_drawing_area_new();
  gtk_widget_set_size_request(FArea, params.ClientWidth, params.ClientHeight);
  gtk_widget_add_events(FArea, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                   GDK_ENTER_NOTIFY_MASK | GDK_LEAVE_NOTIFY_MASK);
  gtk_container_add(GTK_CONTAINER(FWindow), FArea);

  g_signal_connect(FWindow, "realize", G_CALLBACK(OnRealize), this);
  g_signal_connect(FArea, "draw", G_CALLBACK(OnDraw), this);
  g_signal_connect(FArea, "motion-notify-event", G_CALLBACK(OnMotion), this);
  g_signal_connect(FArea, "button-press-event", G_CALLBACK(OnButton), this);
  g_signal_connect(FArea, "button-release-event", G_CALLBACK(OnButton), this);
  g_signal_connect(FArea, "enter-notify-event", G_CALLBACK(OnCrossing), this);
  g_signal_connect(FArea, "leave-notify-event", G_CALLBACK(OnCrossing), this);
  g_signal_connect(FWindow, "key-press-event", G_CALLBACK(OnKey), this);
  g_signal_connect(FWindow, "key-release-event", G_CALLBACK(OnKey), this);
  g_signal_connect(FWindow, "delete-event", G_CALLBACK(OnDelete), this);
}

TGtkWindow::~TGtkWindow() {
  g_signal_handlers_disconnect_by_data(FWindow, this);
  g_signal_handlers_disconnect_by_data(FArea, this);
  gtk_widget_destroy(FWindow);
}

void TGtkWindow::OnRealize(GtkWidget* widget, gpointer) {
  // The hints a window manager honours: move and close only, a title bar with its
  // menu, no resizing, no minimise or maximise.
  GdkWindow* gw = gtk_widget_get_window(widget);
  gdk_window_set_functions(gw, static_cast<GdkWMFunction>(GDK_FUNC_MOVE | GDK_FUNC_CLOSE));
  gdk_window_set_decorations(gw, static_cast<GdkWMDecoration>(GDK_DECOR_BORDER | GDK_DECOR_TITLE | GDK_DECOR_MENU));
}

gboolean TGtkWindow::OnDraw(GtkWidget*, cairo_t* cr, gpointer self) {
  auto* w = static_cast<TGtkWindow*>(self);
  GdkRectangle clip;
  TRect dirty{0, 0, w->FParams.ClientWidth, w->FParams.ClientHeight};
  if (gdk_cairo_get_clip_rectangle(cr, &clip)) dirty = Bounds(clip.x, clip.y, clip.width, clip.height);
  pango_cairo_update_context(cr, w->FOwner.Context());
  TGtkCanvas canvas(cr, w->FOwner.Context());
  w->FEvents.Paint(canvas, dirty);
  return TRUE;
}

gboolean TGtkWindow::OnMotion(GtkWidget*, GdkEventMotion* event, gpointer self) {
  auto* w = static_cast<TGtkWindow*>(self);
  TInputEvent e;
  e.Kind = TInputKind::PointerMove;
  e.Pos = TPoint{static_cast<int>(std::floor(event->x)), static_cast<int>(std::floor(event->y))};
  e.Shift = ShiftFromState(event->state);
  w->FEvents.Input(e);
  return TRUE;
}

gboolean TGtkWindow::OnButton(GtkWidget*, GdkEventButton* event, gpointer self) {
  auto* w = static_cast<TGtkWindow*>(self);
  // Double and triple presses arrive after an ordinary press each; skip the extras.
  if (event->type != GDK_BUTTON_PRESS && event->type != GDK_BUTTON_RELEASE) return TRUE;
  TInputEvent e;
  e.Kind = event->type == GDK_BUTTON_PRESS ? TInputKind::PointerDown : TInputKind::PointerUp;
  e.Pos = TPoint{static_cast<int>(std::floor(event->x)), static_cast<int>(std::floor(event->y))};
  switch (event->button) {
    case 1: e.Button = mbLeft; break;
    case 2: e.Button = mbMiddle; break;
    case 3: e.Button = mbRight; break;
    default: return TRUE;
  }
  e.Shift = ShiftFromState(event->state);
  w->FEvents.Input(e);
  return TRUE;
}

gboolean TGtkWindow::OnCrossing(GtkWidget*, GdkEventCrossing* event, gpointer self) {
  auto* w = static_cast<TGtkWindow*>(self);
  if (event->detail == GDK_NOTIFY_INFERIOR) return FALSE;
  TInputEvent e;
  e.Kind = event->type == GDK_ENTER_NOTIFY ? TInputKind::PointerMove : TInputKind::PointerLeave;
  e.Pos = TPoint{static_cast<int>(std::floor(event->x)), static_cast<int>(std::floor(event->y))};
  e.Shift = ShiftFromState(event->state);
  w->FEvents.Input(e);
  return FALSE;
}

gboolean TGtkWindow::OnKey(GtkWidget*, GdkEventKey* event, gpointer self) {
  auto* w = static_cast<TGtkWindow*>(self);
  TKey key = VirtualKeyFromEvent(event);
  if (key == 0) return FALSE;
  TInputEvent e;
  e.Kind = event->type == GDK_KEY_PRESS ? TInputKind::KeyDown : TInputKind::KeyUp;
  e.Key = key;
  e.Shift = ShiftFromState(event->state);
  w->FEvents.Input(e);
  return TRUE;
}

gboolean TGtkWindow::OnDelete(GtkWidget*, GdkEvent*, gpointer self) {
  auto* w = static_cast<TGtkWindow*>(self);
  TInputEvent e;
  e.Kind = TInputKind::CloseRequested;
  w->FEvents.Input(e);
  return TRUE;  // the model decides; the window stays until it is destroyed
}

void TGtkWindow::SetCursor(TCursor cursor) {
  if (cursor == FCursor) return;
  FCursor = cursor;
  GdkWindow* gw = gtk_widget_get_window(FArea);
  if (!gw) return;
  GdkCursor* c = nullptr;
  if (cursor == crHandPoint) c = gdk_cursor_new_from_name(gdk_window_get_display(gw), "pointer");
  gdk_window_set_cursor(gw, c);
  if (c) g_object_unref(c);
}

std::optional<TPoint> TGtkWindow::PointerPosition() const {
  GdkWindow* gw = gtk_widget_get_window(FArea);
  if (!gw || !gtk_widget_get_mapped(FArea)) return std::nullopt;
  GdkSeat* seat = gdk_display_get_default_seat(gdk_window_get_display(gw));
  GdkDevice* pointer = seat ? gdk_seat_get_pointer(seat) : nullptr;
  if (!pointer) return std::nullopt;
  double x = 0, y = 0;
  gdk_window_get_device_position_double(gw, pointer, &x, &y, nullptr);
  TPoint p{static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y))};
  if (!TRect{0, 0, FParams.ClientWidth, FParams.ClientHeight}.Contains(p)) return std::nullopt;
  return p;
}

}  // namespace

std::unique_ptr<IWidgetset> CreateGtkWidgetset(int* argc, char*** argv) {
  if (!gtk_init_check(argc, argv)) throw rtl::EInvalidOperation(u"Cannot open display");
  return std::make_unique<TGtkWidgetset>();
}

}  // namespace qor::forms::gtk
