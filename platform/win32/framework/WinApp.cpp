#include "win32/framework/WinApp.h"

#include "shell/ExitCodes.h"

namespace tessaly::win32 {

WinApp* WinApp::current_ = nullptr;

WinApp::WinApp() { current_ = this; }

WinApp::~WinApp() {
    if (current_ == this) current_ = nullptr;
}

void WinApp::SetInstance(HINSTANCE instance) {
    instance_ = instance;
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(instance, path, MAX_PATH);
    appName_ = ProgramBaseName(std::string(path, length));
}

int WinApp::Run() {
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return kExitFailed;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::string ProgramBaseName(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/:");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

}  // namespace tessaly::win32
