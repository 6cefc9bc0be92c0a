// The application object: one per process, constructed statically. WinMain
// runs InitInstance; when it returns true the message loop runs until the
// main window is gone.
#pragma once

#include <windows.h>

#include <string>

namespace tessaly::win32 {

class Wnd;

class WinApp {
public:
    WinApp();
    virtual ~WinApp();
    WinApp(const WinApp&) = delete;
    WinApp& operator=(const WinApp&) = delete;

    static WinApp* Current() { return current_; }

    // False ends the process at once, without a message loop.
    virtual BOOL InitInstance() = 0;
    // The message loop; returns the exit code of the quit message.
    virtual int Run();

    HINSTANCE Instance() const { return instance_; }
    void SetInstance(HINSTANCE instance);
    // The program file's base name ("tessaly" for tessaly.scr).
    const std::string& AppName() const { return appName_; }

    // The process exit code when InitInstance returns false (0 unless set).
    int ExitCode() const { return exitCode_; }
    void SetExitCode(int code) { exitCode_ = code; }

    Wnd* MainWindow() const { return mainWindow_; }
    void SetMainWindow(Wnd* window) { mainWindow_ = window; }

private:
    static WinApp* current_;
    HINSTANCE instance_ = nullptr;
    std::string appName_;
    Wnd* mainWindow_ = nullptr;
    int exitCode_ = 0;
};

// The base name of a path: no folder, no extension.
std::string ProgramBaseName(const std::string& path);

}  // namespace tessaly::win32
