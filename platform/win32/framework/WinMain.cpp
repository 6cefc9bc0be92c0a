// The entry point of every program built on this layer: hand the instance to
// the one application object, run InitInstance, then its message loop.
#include <windows.h>

#include "win32/framework/WinApp.h"
#include "shell/ExitCodes.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    tessaly::win32::WinApp* app = tessaly::win32::WinApp::Current();
    if (app == nullptr) return tessaly::kExitFailed;
    app->SetInstance(instance);
    if (!app->InitInstance()) return app->ExitCode();
    return app->Run();
}
