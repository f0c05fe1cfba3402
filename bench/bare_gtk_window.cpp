// The baseline of bench_first_paint: a bare GTK window of the launcher's size
// (887 x 591 client area, fixed, white) that reports its first paint the way the
// launcher does: with NOL_FIRST_PAINT naming a file, that file is written
// (atomically) once the first complete frame has been drawn.
#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool g_painted = false;

void WriteMarker() {
  const char* path = std::getenv("NOL_FIRST_PAINT");
  if (path == nullptr || *path == '\0') return;
  const std::string tmp = std::string(path) + ".tmp";
  if (FILE* f = std::fopen(tmp.c_str(), "w")) {
    std::fputs("painted\n", f);
    std::fclose(f);
    std::rename(tmp.c_str(), path);
  }
}

gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer) {
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  return FALSE;
}

// The frame clock's after-paint phase: the frame holding the first draw is complete.
void OnAfterPaint(GdkFrameClock* clock, gpointer) {
  if (g_painted) return;
  g_painted = true;
  WriteMarker();
  g_signal_handlers_disconnect_by_func(clock, reinterpret_cast<gpointer>(OnAfterPaint), nullptr);
}

void OnRealize(GtkWidget* window, gpointer) {
  GdkWindow* gdk = gtk_widget_get_window(window);
  gdk_window_set_functions(gdk, static_cast<GdkWMFunction>(GDK_FUNC_MOVE | GDK_FUNC_CLOSE));
  gdk_window_set_decorations(gdk, static_cast<GdkWMDecoration>(GDK_DECOR_BORDER | GDK_DECOR_TITLE | GDK_DECOR_MENU));
  g_signal_connect(gdk_window_get_frame_clock(gdk), "after-paint", G_CALLBACK(OnAfterPaint), nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "bare window");
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
  GtkWidget* area = gtk_drawing_area_new();
  gtk_widget_set_size_request(area, 887, 591);
  gtk_container_add(GTK_CONTAINER(window), area);
  g_signal_connect(area, "draw", G_CALLBACK(OnDraw), nullptr);
  g_signal_connect(window, "realize", G_CALLBACK(OnRealize), nullptr);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
