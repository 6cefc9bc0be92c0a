// The one application object of tessaly.scr, constructed before WinMain runs.
#include "win32/app/ScreenSaverApp.h"

namespace {
tessaly::win32::ScreenSaverApp theApp;
}  // namespace
