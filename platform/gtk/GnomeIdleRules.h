// What the settings dialog says of GNOME's own idle delay (the GSettings key
// org.gnome.desktop.session idle-delay, in seconds, 0 for never): GNOME
// blanks the screen, and locks it, at that delay whatever else runs, so a
// wait that is not shorter means the garden never shows. Free of GTK, for
// the unit tests.
#pragma once

#include <cstdint>
#include <string>

namespace tessaly {

// Whether XDG_CURRENT_DESKTOP (a list such as "ubuntu:GNOME") names GNOME.
bool IsGnomeDesktop(const char* currentDesktop);
// "GNOME blanks the screen after 5 minutes idle.", or that it never does.
std::string GnomeDelayNote(uint32_t delaySeconds);
// Whether GNOME blanks the screen before (or as) the wait ends.
bool GnomeBlanksFirst(uint32_t delaySeconds, int32_t waitMinutes);

}  // namespace tessaly
