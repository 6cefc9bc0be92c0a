// How the toolkit's slider input becomes the scroll codes the sliders are
// defined by. Keys follow the keyboard interface of a horizontal scroll bar:
// Left and Up step back, Right and Down step on, Page Up / Page Down page,
// Home goes to the start and End to the end.
#pragma once

#include <gdk/gdk.h>
#include <gtk/gtk.h>

namespace tessaly {

constexpr int kNotASliderKey = -1;

// The scroll code for a key pressed on a focused slider, or kNotASliderKey.
int ScrollCodeForKey(guint keyval);

// The scroll code for a mouse action that reached the slider's change-value
// (trough clicks page, a drag tracks the thumb).
int ScrollCodeForScrollType(GtkScrollType type);

// The scroll code for a wheel turn, or kNotASliderKey for a smooth scroll with no direction.
int ScrollCodeForWheel(GdkScrollDirection direction, double deltaX, double deltaY);

}  // namespace tessaly
