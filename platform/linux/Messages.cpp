#include "Messages.h"

#include <cerrno>
#include <cstring>

namespace tessaly {

bool WriteText(std::FILE* out, const std::string& text, std::string& error) {
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), out) == text.size() && std::fflush(out) == 0) return true;
    error = std::strerror(errno != 0 ? errno : EIO);
    return false;
}

}  // namespace tessaly
