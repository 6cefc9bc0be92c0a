// The settings file watched for the dialog's writes, so that a new wait or
// lock takes effect without a restart: inotify on its folder (the dialog
// renames a new file over it), made if missing; where the file is a link,
// on its target's folder as well. The folder holds nothing else of note, so
// nothing wakes the watcher while the user works.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "linux/EventLoop.h"

namespace tessaly {

class SettingsWatch {
public:
    SettingsWatch() = default;
    ~SettingsWatch();
    SettingsWatch(const SettingsWatch&) = delete;
    SettingsWatch& operator=(const SettingsWatch&) = delete;

    // `changed` after each write, replacement or removal of `path`.
    bool Start(EventLoop& loop, const std::string& path, std::function<void()> changed, std::string& error);

private:
    void Read();
    struct Watched {
        int descriptor;
        std::string name;  // of the file in that folder
    };
    int fd_ = -1;
    std::vector<Watched> watched_;
    std::function<void()> changed_;
    tessaly::Watch watch_;
};

}  // namespace tessaly
