// A file that appears whole or not at all: written under a temporary name in
// the same folder and renamed over the real name on Commit. Until then the
// temporary file is removed when the object goes away, or when a signal ends
// the process (every signal whose default action does so, but SIGKILL).
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

    // Handlers that remove every pending temporary file before the signal
    // ends the process; SIGPIPE and SIGXFSZ are ignored so that the write
    // fails and is reported instead. A signal ignored from the start (as
    // under nohup) stays ignored.
    static void InstallSignalCleanup();

private:
    std::string path_;
    std::string tempPath_;
    int slot_ = -1;
};

}  // namespace tessaly
