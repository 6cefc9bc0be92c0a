// The Linux home of the three settings: one per-user INI file,
//   $XDG_CONFIG_HOME/tessaly/tessaly.ini   (XDG_CONFIG_HOME defaults to ~/.config)
// with section [Config] and the keys cycle_length, Speed and Build, read and
// written through the same profile calls as the registry on Windows.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "settings/Settings.h"

namespace tessaly {

// The user's configuration folder: $XDG_CONFIG_HOME, or ~/.config when that
// is unset or relative. Empty when neither it nor a home directory can be found.
std::string ConfigFolder();
// Where the settings live for this user: tessaly/tessaly.ini in ConfigFolder().
// Empty when there is no such folder.
std::string SettingsFilePath();

// Creates each missing folder of `path`'s parent, private to the user as
// configuration folders are; false with the folder and the reason in `error`.
bool MakeParentFolders(const std::string& path, std::string& error);

class SettingsFile final : public ProfileReader, public ProfileWriter {
public:
    explicit SettingsFile(std::string path) : path_(std::move(path)) {}

    const std::string& Path() const { return path_; }

    // Reads the file. A missing, unreadable or malformed file leaves no
    // entries at all (so every setting takes its default); an unreadable or
    // malformed one returns false with a one-line `warning`.
    bool Read(std::string& warning);

    // Stored value of an entry of [Config], or the default when absent.
    uint32_t GetProfileInt(const char* section, const char* entry, uint32_t defaultValue) override;
    // Stages a value; nothing reaches the disk before Commit.
    bool WriteProfileInt(const char* section, const char* entry, int32_t value) override;

    // Writes the staged values atomically (see AtomicFile: through a
    // symbolic link to its target, keeping the file's permissions), flushed
    // to the disk. On failure, false with a one-line `error`: the old file is
    // untouched and no temporary file is left behind.
    bool Commit(std::string& error);

private:
    using Entries = std::map<std::string, uint32_t>;  // keys folded to lower case
    std::string path_;
    Entries entries_;
    // Entry names as written, in the order written, each once.
    std::vector<std::pair<std::string, int32_t>> staged_;
};

// Parses the text of a settings file (a leading UTF-8 byte-order mark is
// skipped) and fills `entries` with the [Config] values (keys folded to lower
// case); or returns false with what is wrong in `problem`: one line,
// printable ASCII only, whatever the text holds.
bool ParseSettingsText(const std::string& text, std::map<std::string, uint32_t>& entries, std::string& problem);

// A stored value: optional sign and decimal digits, -2147483648..4294967295,
// kept as its 32-bit pattern the way the registry keeps a DWORD.
bool ParseStoredInt(const std::string& text, uint32_t& value);

}  // namespace tessaly
