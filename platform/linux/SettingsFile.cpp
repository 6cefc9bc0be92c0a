#include "SettingsFile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "AtomicFile.h"
#include "Messages.h"
#include "base/Decimal.h"

namespace tessaly {

namespace {

constexpr const char* kFolderName = "tessaly";
constexpr const char* kFileName = "tessaly.ini";
// A settings file is three short lines; anything this big is not one.
constexpr std::size_t kMaxFileSize = 64 * 1024;
// Some editors begin a UTF-8 file with a byte-order mark.
constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
// How much of a bad value a warning repeats.
constexpr std::size_t kShownValueLength = 40;

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string Trim(const std::string& text) {
    const char* blanks = " \t\r";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string ErrorText(int error) { return std::strerror(error); }

// A value from the file as a warning shows it: quoted, printable, and cut
// short when long.
std::string Shown(const std::string& text) {
    std::string shown = "'" + Printable(text.substr(0, kShownValueLength)) + "'";
    if (text.size() > kShownValueLength) shown += " (cut short)";
    return shown;
}

std::string HomeDirectory() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return home;
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr &&
                                                  entry->pw_dir[0] == '/')
        return entry->pw_dir;
    return "";
}


bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}


// A failure with its one-line reason.
bool Refuse(std::string& reason, std::string text) {
    reason = std::move(text);
    return false;
}

}  // namespace

bool MakeParentFolders(const std::string& path, std::string& error) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
            error = "cannot create folder " + Printable(folder) + ": " + ErrorText(errno);
            return false;
        }
    }
    return true;
}

std::string ConfigFolder() {
    // Relative values of XDG_CONFIG_HOME are to be ignored.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string folder;
    if (config != nullptr && config[0] == '/') {
        folder = config;
    } else {
        const std::string home = HomeDirectory();
        if (home.empty()) return "";
        folder = home + "/.config";
    }
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

std::string SettingsFilePath() {
    const std::string folder = ConfigFolder();
    return folder.empty() ? "" : folder + "/" + kFolderName + "/" + kFileName;
}

// Stored values are 32 bits: -2^31 .. 2^32 - 1, kept as the registry keeps them.
bool ParseStoredInt(const std::string& text, uint32_t& value) {
    long long parsed = 0;
    if (!ParseDecimal(text, -2147483648LL, 4294967295LL, parsed)) return false;
    value = static_cast<uint32_t>(parsed);
    return true;
}

bool ParseSettingsText(const std::string& text, std::map<std::string, uint32_t>& entries, std::string& problem) {
    entries.clear();
    if (text.find('\0') != std::string::npos) return Refuse(problem, "it is not a text file");
    std::map<std::string, uint32_t> found;
    std::string section;
    std::size_t lineNumber = 0;
    const std::size_t bom = text.compare(0, sizeof kUtf8Bom - 1, kUtf8Bom) == 0 ? sizeof kUtf8Bom - 1 : 0;
    for (std::size_t start = bom; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trim(text.substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        const std::string where = "line " + std::to_string(lineNumber);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            if (line.back() != ']') return Refuse(problem, where + " has no closing ']'");
            section = Lower(Trim(line.substr(1, line.size() - 2)));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) return Refuse(problem, where + " is not 'key=value'");
        const std::string key = Lower(Trim(line.substr(0, equals)));
        const std::string valueText = Trim(line.substr(equals + 1));
        if (key.empty()) return Refuse(problem, where + " has no key");
        if (section != Lower(kSettingsSection)) continue;  // other sections are not ours
        uint32_t value = 0;
        if (!ParseStoredInt(valueText, value))
            return Refuse(problem, where + ": " + Shown(valueText) + " is not a whole number");
        found[key] = value;
    }
    entries.swap(found);
    return true;
}

bool SettingsFile::Read(std::string& warning) {
    entries_.clear();
    if (path_.empty()) return Refuse(warning, "no home folder to keep settings in; using the defaults");
    const int fd = open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT) return true;  // the normal case until the dialog's first OK
        return Refuse(warning, "cannot read " + Printable(path_) + ": " + ErrorText(errno) + "; using the defaults");
    }
    std::string text;
    std::string problem;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        problem = "cannot read " + Printable(path_) + ": not a regular file";
    } else {
        char buffer[4096];
        for (;;) {
            const ssize_t n = read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                problem = "cannot read " + Printable(path_) + ": " + ErrorText(errno);
                break;
            }
            if (n == 0) break;
            text.append(buffer, static_cast<std::size_t>(n));
            if (text.size() > kMaxFileSize) {
                problem = "settings file " + Printable(path_) + " is too large";
                break;
            }
        }
    }
    close(fd);
    if (!problem.empty()) return Refuse(warning, problem + "; using the defaults");
    if (std::string error; !ParseSettingsText(text, entries_, error))
        return Refuse(warning, "settings file " + Printable(path_) + ": " + error + "; using the defaults");
    return true;
}

uint32_t SettingsFile::GetProfileInt(const char* section, const char* entry, uint32_t defaultValue) {
    if (Lower(section) != Lower(kSettingsSection)) return defaultValue;
    const auto it = entries_.find(Lower(entry));
    return it == entries_.end() ? defaultValue : it->second;
}

bool SettingsFile::WriteProfileInt(const char* section, const char* entry, int32_t value) {
    if (Lower(section) != Lower(kSettingsSection)) return false;
    for (auto& staged : staged_) {
        if (Lower(staged.first) == Lower(entry)) {
            staged.second = value;
            return true;
        }
    }
    staged_.emplace_back(entry, value);
    return true;
}

bool SettingsFile::Commit(std::string& error) {
    if (path_.empty()) return Refuse(error, "no home folder to keep settings in");
    std::string text = "; Tessaly settings, written by its settings dialog.\n[";
    text += kSettingsSection;
    text += "]\n";
    for (const auto& [entry, value] : staged_) text += entry + "=" + std::to_string(value) + "\n";

    if (!MakeParentFolders(path_, error)) return false;
    AtomicFile file;
    if (!file.Open(path_, error, PipeReader::Required)) return false;  // a dialog must not hang on a pipe
    if (!WriteAll(file.Fd(), text)) return Refuse(error, "cannot write " + Printable(path_) + ": " + ErrorText(errno));
    if (!file.Commit(error, true)) return false;
    for (const auto& [entry, value] : staged_) entries_[Lower(entry)] = static_cast<uint32_t>(value);
    return true;
}

}  // namespace tessaly
