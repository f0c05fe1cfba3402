#pragma once
// GDK key events as Windows virtual-key codes.
#include <gdk/gdk.h>

#include "forms/types.h"

namespace qor::forms::gtk {

// 0 for keys without a code here.
TKey VirtualKeyFromKeyval(guint keyval);
// Letters and digits by their place on the first keyboard layout, as Windows
// gives them whatever layout is active (Ctrl+C on a Cyrillic layout is still 'C').
TKey VirtualKeyFromEvent(const GdkEventKey* event);

}  // namespace qor::forms::gtk
