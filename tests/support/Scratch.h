// Scratch folders and whole-file reads for tests that work with real files.
#pragma once

#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tessaly::testing {

// A fresh folder under the temporary directory, removed with all it holds.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tessaly-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    std::vector<std::string> Files() const;

private:
    std::string path_;
};

// The names of the entries of a folder; none when it cannot be read.
inline std::vector<std::string> FileNames(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
        names.push_back(entry.path().filename().string());
    return names;
}

inline std::vector<std::string> ScratchFolder::Files() const { return FileNames(path_); }

// A character device to write into that a faulty writer cannot replace: a
// null device of the test's own where one can be made (as root), else
// /dev/null, which only root could replace.
inline std::string NullDevice(const ScratchFolder& folder) {
    const std::string own = folder / "null";
    return mknod(own.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 ? own : "/dev/null";
}

// The user nobody (uid and gid), to give a file away to; none unless root.
inline bool Nobody(uid_t& uid, gid_t& gid) {
    const passwd* entry = geteuid() == 0 ? getpwnam("nobody") : nullptr;
    if (entry == nullptr) return false;
    uid = entry->pw_uid;
    gid = entry->pw_gid;
    return true;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace tessaly::testing
