// The one application object of tessaly.scr, constructed before WinMain runs.
#include "app/ScreenSaverApp.h"

namespace {
tessaly::win32::ScreenSaverApp theApp;
}  // namespace
