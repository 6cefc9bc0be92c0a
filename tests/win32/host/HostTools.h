// Helpers of the Wine test host: start and watch the saver's process, find
// its windows, read the screen, touch the saver's registry key, record checks.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tessaly::testhost {

// Check results: every failed check is printed and makes the run fail.
bool Check(bool condition, const std::string& what);
int Failures();

struct Process {
    PROCESS_INFORMATION info{};
    bool started = false;
    ~Process();
    DWORD Id() const { return info.dwProcessId; }
    // True when the process ended within the time; its exit code in code.
    bool WaitExit(DWORD milliseconds, DWORD* code = nullptr);
    bool Running() const;
    void Kill();
};

// Runs "<program> <arguments>" (program quoted).
bool Launch(const std::string& program, const std::string& arguments, Process& process);

// A window of the process of that class (top-level, or any when children is
// set), waiting up to the time for it to show up; null when none did.
HWND WaitForWindow(DWORD processId, const char* className, bool children, DWORD milliseconds);
std::vector<HWND> WindowsOf(DWORD processId, const char* className);
std::string ClassOf(HWND hwnd);
std::string TextOf(HWND hwnd);

// A screen area as 0x00RRGGBB pixels, top row first.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    size_t DistinctColours() const;
    bool WriteBmp(const std::string& path) const;
};
Capture CaptureScreen(const RECT& area);
// Waits until the area shows at least `colours` colours; the last capture is returned.
Capture WaitForDrawing(const RECT& area, size_t colours, DWORD milliseconds);

// The saver's settings key: HKCU\Software\Tessaly Screen Saver\<app>\Config.
struct SettingsKey {
    std::string app;
    void Clear() const;  // removes the whole key of the app
    void Set(const char* name, uint32_t value) const;
    void SetText(const char* name, const char* text) const;  // a REG_SZ value
    // false when the value is missing (or not a DWORD)
    bool Get(const char* name, uint32_t& value) const;
};

// What other processes say with OutputDebugString while it lives, read as a
// debug-output monitor reads it: through the shared DBWIN buffer.
class DebugOutputMonitor {
public:
    DebugOutputMonitor();
    ~DebugOutputMonitor();
    DebugOutputMonitor(const DebugOutputMonitor&) = delete;
    DebugOutputMonitor& operator=(const DebugOutputMonitor&) = delete;
    bool Ready() const { return view_ != nullptr; }
    // All that process `id` has said so far.
    std::string SaidBy(DWORD id);

private:
    HANDLE bufferReady_, dataReady_, buffer_;
    const char* view_ = nullptr;  // the writer's process id, then its text
    std::vector<std::pair<DWORD, std::string>> said_;
};

// Presses and releases one key, as the user would.
void SendKey(WORD key);
void PumpFor(DWORD milliseconds);
std::string Join(const std::string& folder, const std::string& name);

}  // namespace tessaly::testhost
