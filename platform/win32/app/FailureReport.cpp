#include "win32/app/FailureReport.h"

#include <windows.h>

#include <cctype>

namespace tessaly::win32 {

void ReportFailure(const std::string& reason, bool userIsLooking) {
    OutputDebugStringA(("tessaly: " + reason + "\n").c_str());
    if (!userIsLooking) return;
    std::string sentence = reason;
    if (!sentence.empty()) sentence[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(sentence[0])));
    MessageBoxA(nullptr, (sentence + ".").c_str(), "Tessaly Saver", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

}  // namespace tessaly::win32
