#include "GnomeIdleRules.h"

#include <string_view>

namespace tessaly {

bool IsGnomeDesktop(const char* currentDesktop) {
    if (currentDesktop == nullptr) return false;
    std::string_view list(currentDesktop);
    for (std::size_t start = 0; start <= list.size();) {
        const std::size_t colon = list.find(':', start);
        const std::size_t end = colon == std::string_view::npos ? list.size() : colon;
        if (list.substr(start, end - start) == "GNOME") return true;
        start = end + 1;
    }
    return false;
}

std::string GnomeDelayNote(uint32_t delaySeconds) {
    if (delaySeconds == 0) return "GNOME never blanks the screen.";
    const bool minutes = delaySeconds % 60 == 0;
    const uint32_t count = minutes ? delaySeconds / 60 : delaySeconds;
    return "GNOME blanks the screen after " + std::to_string(count) + (minutes ? " minute" : " second") +
           (count == 1 ? "" : "s") + " idle.";
}

bool GnomeBlanksFirst(uint32_t delaySeconds, int32_t waitMinutes) {
    return delaySeconds != 0 && static_cast<int64_t>(waitMinutes) * 60 >= delaySeconds;
}

}  // namespace tessaly
