// The About box: the saver's name and description, its icon and the
// author's notice, with one OK button. Modal over its owner.
#pragma once

#include <gtk/gtk.h>

#include "DialogUnits.h"

namespace tessaly {

// Runs the About box until OK or closing; the owner stays disabled meanwhile.
void RunAboutBox(GtkWindow* owner, DialogBaseUnits base);

// The icon as an image widget of `size` pixels.
GtkWidget* NewIconImage(int size);

}  // namespace tessaly
