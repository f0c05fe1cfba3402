// The baseline of bench_first_paint: a bare GTK window of the launcher's size
// (887 x 591 client area, fixed, white) that reports its first paint the way the
// launcher does: with NOL_FIRST_PAINT naming a file, that file is written
// (atomically) once the first paint has reached the screen.
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

// As the launcher's widgetset does it: once the first paint has returned, an idle
// callback waits for the X server to have drawn it and writes the file.
gboolean AfterFirstPaint(gpointer) {
  if (GdkDisplay* display = gdk_display_get_default()) gdk_display_sync(display);
  WriteMarker();
  return G_SOURCE_REMOVE;
}

gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer) {
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  if (!g_painted) {
    g_painted = true;
    g_idle_add_full(G_PRIORITY_DEFAULT_IDLE, AfterFirstPaint, nullptr, nullptr);
  }
  return FALSE;
}

void OnRealize(GtkWidget* window, gpointer) {
  GdkWindow* gdk = gtk_widget_get_window(window);
  gdk_window_set_functions(gdk, static_cast<GdkWMFunction>(GDK_FUNC_MOVE | GDK_FUNC_CLOSE));
  gdk_window_set_decorations(gdk, static_cast<GdkWMDecoration>(GDK_DECOR_BORDER | GDK_DECOR_TITLE | GDK_DECOR_MENU));
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
