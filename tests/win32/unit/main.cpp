// The unit tests of the Windows layer run as a Windows program under Wine;
// they need the application object that the layer hangs everything on.
#include <windows.h>

#include <gtest/gtest.h>

#include "win32/framework/WinApp.h"

namespace {
class UnitTestApp final : public tessaly::win32::WinApp {
public:
    BOOL InitInstance() override { return FALSE; }
};
}  // namespace

int main(int argc, char** argv) {
    UnitTestApp app;
    app.SetInstance(GetModuleHandleA(nullptr));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
