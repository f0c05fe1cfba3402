#include "forms/gtk/gtk_keys.h"

namespace qor::forms::gtk {

TKey VirtualKeyFromKeyval(guint k) {
  if (k >= GDK_KEY_a && k <= GDK_KEY_z) return static_cast<TKey>('A' + (k - GDK_KEY_a));
  if (k >= GDK_KEY_A && k <= GDK_KEY_Z) return static_cast<TKey>('A' + (k - GDK_KEY_A));
  if (k >= GDK_KEY_0 && k <= GDK_KEY_9) return static_cast<TKey>('0' + (k - GDK_KEY_0));
  if (k >= GDK_KEY_KP_0 && k <= GDK_KEY_KP_9) return static_cast<TKey>(0x60 + (k - GDK_KEY_KP_0));
  if (k >= GDK_KEY_F1 && k <= GDK_KEY_F24) return static_cast<TKey>(VK_F1 + (k - GDK_KEY_F1));
  switch (k) {
    case GDK_KEY_BackSpace: return VK_BACK;
    case GDK_KEY_Tab:
    case GDK_KEY_ISO_Left_Tab: return VK_TAB;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter: return VK_RETURN;
    case GDK_KEY_Shift_L:
    case GDK_KEY_Shift_R: return VK_SHIFT;
    case GDK_KEY_Control_L:
    case GDK_KEY_Control_R: return VK_CONTROL;
    case GDK_KEY_Alt_L:
    case GDK_KEY_Alt_R: return VK_MENU;
    case GDK_KEY_Escape: return VK_ESCAPE;
    case GDK_KEY_space: return VK_SPACE;
    case GDK_KEY_Page_Up: return VK_PRIOR;
    case GDK_KEY_Page_Down: return VK_NEXT;
    case GDK_KEY_End: return VK_END;
    case GDK_KEY_Home: return VK_HOME;
    case GDK_KEY_Left: return VK_LEFT;
    case GDK_KEY_Up: return VK_UP;
    case GDK_KEY_Right: return VK_RIGHT;
    case GDK_KEY_Down: return VK_DOWN;
    case GDK_KEY_Insert: return VK_INSERT;
    case GDK_KEY_Delete: return VK_DELETE;
    default: return 0;
  }
}

TKey VirtualKeyFromEvent(const GdkEventKey* event) {
  TKey key = VirtualKeyFromKeyval(event->keyval);
  if (key != 0) return key;
  guint base = 0;
  GdkKeymap* keymap = gdk_keymap_get_for_display(gdk_window_get_display(event->window));
  if (gdk_keymap_translate_keyboard_state(keymap, event->hardware_keycode, static_cast<GdkModifierType>(0), 0, &base,
                                          nullptr, nullptr, nullptr))
    return VirtualKeyFromKeyval(base);
  return 0;
}

}  // namespace qor::forms::gtk
