#include "HostTools.h"

#include <cstdio>
#include <cstring>
#include <set>

namespace tessaly::testhost {

namespace {
int failures = 0;
}

bool Check(bool condition, const std::string& what) {
    std::printf("%s: %s\n", condition ? "ok" : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!condition) ++failures;
    return condition;
}

int Failures() { return failures; }

Process::~Process() {
    if (!started) return;
    if (Running()) Kill();
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
}

bool Process::WaitExit(DWORD milliseconds, DWORD* code) {
    if (!started) return false;
    // Keep answering messages: the saver may be talking to our windows while it ends.
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD waited = GetTickCount() - start;
        if (waited >= milliseconds) {
            if (WaitForSingleObject(info.hProcess, 0) != WAIT_OBJECT_0) return false;
            break;
        }
        const DWORD r = MsgWaitForMultipleObjects(1, &info.hProcess, FALSE, milliseconds - waited,
                                                  QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) break;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(info.hProcess, &exitCode);
    if (code != nullptr) *code = exitCode;
    return true;
}

bool Process::Running() const {
    return started && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT;
}

void Process::Kill() {
    TerminateProcess(info.hProcess, 99);
    WaitForSingleObject(info.hProcess, 5000);
}

bool Launch(const std::string& program, const std::string& arguments, Process& process) {
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    // Wine now and then fails to start a process while its virtual desktop is
    // still settling; one more try after a pause tells that from a real fault.
    for (int attempt = 1; attempt <= 2 && !process.started; ++attempt) {
        process.started = CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                         nullptr, &startup, &process.info) != FALSE;
        if (!process.started) {
            std::printf("note: CreateProcess of %s failed with error %lu (attempt %d)\n", commandLine.c_str(),
                        GetLastError(), attempt);
            std::fflush(stdout);
            PumpFor(1000);
        }
    }
    return process.started;
}

std::string ClassOf(HWND hwnd) {
    char name[256] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::string TextOf(HWND hwnd) {
    char text[512] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

namespace {

struct Search {
    DWORD processId;
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search->processId &&
        (search->className == nullptr || ClassOf(hwnd) == search->className))
        search->found.push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK CollectWithChildren(HWND hwnd, LPARAM data) {
    Collect(hwnd, data);
    EnumChildWindows(hwnd, &Collect, data);
    return TRUE;
}

}  // namespace

std::vector<HWND> WindowsOf(DWORD processId, const char* className) {
    Search search{processId, className, {}};
    EnumWindows(&CollectWithChildren, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(DWORD processId, const char* className, bool children, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        Search search{processId, className, {}};
        EnumWindows(children ? &CollectWithChildren : &Collect, reinterpret_cast<LPARAM>(&search));
        for (HWND hwnd : search.found) {
            if (IsWindowVisible(hwnd)) return hwnd;
        }
        if (GetTickCount() - start > milliseconds) return nullptr;
        PumpFor(50);
    }
}

size_t Capture::DistinctColours() const {
    std::set<uint32_t> colours(pixels.begin(), pixels.end());
    return colours.size();
}

bool Capture::WriteBmp(const std::string& path) const {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const int rowBytes = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER fileHeader{};
    BITMAPINFOHEADER info{};
    fileHeader.bfType = 0x4D42;
    fileHeader.bfOffBits = sizeof fileHeader + sizeof info;
    fileHeader.bfSize = fileHeader.bfOffBits + rowBytes * height;
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::fwrite(&fileHeader, sizeof fileHeader, 1, file);
    std::fwrite(&info, sizeof info, 1, file);
    std::vector<unsigned char> row(rowBytes, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
            row[x * 3 + 0] = p & 0xFF;
            row[x * 3 + 1] = (p >> 8) & 0xFF;
            row[x * 3 + 2] = (p >> 16) & 0xFF;
        }
        std::fwrite(row.data(), 1, row.size(), file);
    }
    return std::fclose(file) == 0;
}

Capture CaptureScreen(const RECT& area) {
    Capture capture;
    capture.width = area.right - area.left;
    capture.height = area.bottom - area.top;
    if (capture.width <= 0 || capture.height <= 0) return capture;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = capture.width;
    info.bmiHeader.biHeight = -capture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, capture.width, capture.height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* source = static_cast<const uint32_t*>(bits);
    capture.pixels.assign(source, source + static_cast<size_t>(capture.width) * capture.height);
    for (uint32_t& p : capture.pixels) p &= 0x00FFFFFF;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return capture;
}

Capture WaitForDrawing(const RECT& area, size_t colours, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        Capture capture = CaptureScreen(area);
        if (capture.DistinctColours() >= colours || GetTickCount() - start > milliseconds)
            return capture;
        PumpFor(200);
    }
}

namespace {
std::string KeyPath(const std::string& app) {
    return "Software\\Tessaly Screen Saver\\" + app + "\\Config";
}

void WriteValue(const std::string& app, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath(app).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}
}  // namespace

void SettingsKey::Clear() const {
    RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\Tessaly Screen Saver\\" + app).c_str());
}

void SettingsKey::Set(const char* name, uint32_t value) const {
    const DWORD stored = value;
    WriteValue(app, name, REG_DWORD, &stored, sizeof stored);
}

void SettingsKey::SetText(const char* name, const char* text) const {
    WriteValue(app, name, REG_SZ, text, std::strlen(text) + 1);
}

bool SettingsKey::Get(const char* name, uint32_t& value) const {
    // RRF_RT_REG_DWORD: a value of another type is refused, not converted.
    DWORD stored = 0;
    DWORD size = sizeof stored;
    if (RegGetValueA(HKEY_CURRENT_USER, KeyPath(app).c_str(), name, RRF_RT_REG_DWORD, nullptr, &stored,
                     &size) != ERROR_SUCCESS)
        return false;
    value = stored;
    return true;
}

void SendKey(WORD key) {
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = key;
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
}

DebugOutputMonitor::DebugOutputMonitor()
    : bufferReady_(CreateEventA(nullptr, FALSE, TRUE, "DBWIN_BUFFER_READY")),
      dataReady_(CreateEventA(nullptr, FALSE, FALSE, "DBWIN_DATA_READY")),
      buffer_(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, "DBWIN_BUFFER")) {
    if (bufferReady_ != nullptr && dataReady_ != nullptr && buffer_ != nullptr)
        view_ = static_cast<const char*>(MapViewOfFile(buffer_, FILE_MAP_READ, 0, 0, 4096));
}

DebugOutputMonitor::~DebugOutputMonitor() {
    if (view_ != nullptr) UnmapViewOfFile(view_);
    for (HANDLE h : {bufferReady_, dataReady_, buffer_})
        if (h != nullptr) CloseHandle(h);
}

std::string DebugOutputMonitor::SaidBy(DWORD id) {
    // A writer waits for the buffer, fills it and says so; it is free again once read.
    while (view_ != nullptr && WaitForSingleObject(dataReady_, 0) == WAIT_OBJECT_0) {
        DWORD writer = 0;
        std::memcpy(&writer, view_, sizeof writer);
        said_.emplace_back(writer, std::string(view_ + sizeof writer, strnlen(view_ + sizeof writer, 4096 - sizeof writer)));
        SetEvent(bufferReady_);
    }
    std::string text;
    for (const auto& [writer, line] : said_)
        if (writer == id) text += line;
    return text;
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    const char last = folder.back();
    return (last == '\\' || last == '/') ? folder + name : folder + "\\" + name;
}

}  // namespace tessaly::testhost
