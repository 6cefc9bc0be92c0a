// A file that appears whole or not at all, for the settings file and every
// file the renderer writes. The contents go to a temporary beside the file
// (".NAME.tmp-XXXXXX", locked while it is written), which Commit renames over
// it. Where the name is a symbolic link (as dotfile managers make them), the
// link stays and its target is replaced, in the target's folder; a file that
// exists keeps its owner and permissions. A name that stands for something
// other than a regular file (a pipe, a device, /dev/stdout) is written into
// as it is, as a shell's redirection would, and never replaced. Until Commit
// the temporary is removed when the object goes away, or when a signal ends
// the process (every signal whose default action does so, but SIGKILL);
// temporaries that killed writers left are removed by the next writer.
#pragma once

#include <string>

namespace tessaly {

// What Open does with a pipe that nothing reads yet: wait for a reader, as a
// shell's redirection does, or refuse at once where nobody may be kept waiting.
enum class PipeReader { Wait, Required };

class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary for `path` (or opens what `path` names, when that
    // is no regular file); false with `error` set when the folder cannot be
    // written or `path` is a folder.
    bool Open(const std::string& path, std::string& error, PipeReader pipe = PipeReader::Wait);
    // Where to write the contents meanwhile: by name (the temporary, or the
    // pipe or device itself), or through Fd().
    const std::string& TempPath() const { return tempPath_; }
    int Fd() const { return fd_; }
    // Renames the temporary over the file, after flushing it to the disk
    // when `sync` is set; false with `error` set, and nothing left behind,
    // when that fails.
    bool Commit(std::string& error, bool sync = false);
    // Removes the temporary (a pipe or device is only closed).
    void Discard();

    // Handlers that remove every pending temporary file (and whatever
    // `alsoOnSignal` removes, which must be async-signal-safe) before the
    // signal ends the process; SIGPIPE and SIGXFSZ are ignored so that the
    // write fails and is reported instead. A signal ignored from the start
    // (as under nohup) stays ignored.
    static void InstallSignalCleanup(void (*alsoOnSignal)() = nullptr);

private:
    bool OpenInPlace(const std::string& path, bool isPipe, PipeReader pipe, std::string& error);

    std::string path_;  // the file that is replaced: the end of any links
    std::string tempPath_;
    bool inPlace_ = false;  // a pipe or device, written as it is
    int fd_ = -1;
    int slot_ = -1;
};

// The name's folder ("." for a bare name) and its last part.
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);

}  // namespace tessaly
