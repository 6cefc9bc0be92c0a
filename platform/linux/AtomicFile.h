// A file that appears whole or not at all, for the settings file and every
// file the renderer writes. The contents go to a temporary beside the file
// (".NAME.tmp-XXXXXX", locked while it is written), which Commit renames over
// it. Where the name is a symbolic link (as dotfile managers make them), the
// link stays and its target is replaced, in the target's folder; a file that
// exists keeps its permissions. Until Commit the temporary is removed when the
// object goes away, or when a signal ends the process (every signal whose
// default action does so, but SIGKILL); temporaries that killed writers left
// are removed by the next writer.
#pragma once

#include <string>

namespace tessaly {

class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary for `path`; false with `error` set when the
    // folder cannot be written or `path` is a folder.
    bool Open(const std::string& path, std::string& error);
    // Where to write the contents meanwhile: by name, or through Fd().
    const std::string& TempPath() const { return tempPath_; }
    int Fd() const { return fd_; }
    // Renames the temporary over the file, after flushing it to the disk
    // when `sync` is set; false with `error` set, and nothing left behind,
    // when that fails.
    bool Commit(std::string& error, bool sync = false);
    // Removes the temporary.
    void Discard();

    // Handlers that remove every pending temporary file (and whatever
    // `alsoOnSignal` removes, which must be async-signal-safe) before the
    // signal ends the process; SIGPIPE and SIGXFSZ are ignored so that the
    // write fails and is reported instead. A signal ignored from the start
    // (as under nohup) stays ignored.
    static void InstallSignalCleanup(void (*alsoOnSignal)() = nullptr);

private:
    std::string path_;  // the file that is replaced: the end of any links
    std::string tempPath_;
    int fd_ = -1;
    int slot_ = -1;
};

// The name's folder ("." for a bare name) and its last part.
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);

}  // namespace tessaly
