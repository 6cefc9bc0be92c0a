// A file that appears whole or not at all: written under a temporary name in
// the same folder and renamed over the real name on Commit. Until then the
// temporary file is removed when the object goes away, or when the process is
// interrupted (SIGINT, SIGTERM, SIGHUP).
#pragma once

#include <string>

namespace tessaly {

class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file beside `path`; false with `error` set when
    // the folder cannot be written or `path` is a folder.
    bool Open(const std::string& path, std::string& error);
    // Where to write the contents meanwhile.
    const std::string& TempPath() const { return tempPath_; }
    // Renames the temporary file to the real name.
    bool Commit(std::string& error);
    // Removes the temporary file.
    void Discard();

    // Interrupt handlers that remove every pending temporary file.
    static void InstallSignalCleanup();

private:
    std::string path_;
    std::string tempPath_;
    int slot_ = -1;
};

}  // namespace tessaly
