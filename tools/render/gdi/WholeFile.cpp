#include "WholeFile.h"

#include <windows.h>

#include <algorithm>

#include "win32/framework/SystemError.h"
#include "shell/Printable.h"

namespace tessaly::win32 {

namespace {

// The command line's text is in the ANSI code page.
std::wstring Wide(const std::string& text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), n);
    return wide;
}

// A new, empty temporary beside `path`; INVALID_HANDLE_VALUE with the
// system's error set when none can be made.
HANDLE CreateTemporary(const std::wstring& path, std::wstring& temp) {
    const std::size_t slash = path.find_last_of(L"\\/:");
    const std::size_t nameAt = slash == std::wstring::npos ? 0 : slash + 1;
    const std::wstring stem = path.substr(0, nameAt) + L"." + path.substr(nameAt) + L".tmp-" +
                              std::to_wstring(GetCurrentProcessId()) + L"-";
    for (int n = 0;; ++n) {
        temp = stem + std::to_wstring(n);
        HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS || n == 99) return file;
    }
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) return false;
        if (written == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        done += written;
    }
    return true;
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

bool WriteWholeFile(const std::string& path, const std::string& bytes, std::string& error) {
    const std::wstring wide = Wide(path);
    const auto fail = [&](const std::string& reason) {
        error = "cannot write " + Printable(path) + ": " + reason;
        return false;
    };
    std::wstring temp;
    HANDLE file = CreateTemporary(wide, temp);
    if (file == INVALID_HANDLE_VALUE) return fail(SystemErrorText(GetLastError()));
    // Each step runs once the one before it worked; the first failure is the reason.
    bool done = WriteAll(file, bytes);
    DWORD code = GetLastError();
    if (!CloseHandle(file) && done) {
        done = false;
        code = GetLastError();
    }
    if (done && !MoveFileExW(temp.c_str(), wide.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        done = false;
        code = GetLastError();
    }
    if (done) return true;
    DeleteFileW(temp.c_str());
    return fail(IsFolder(wide) ? "it is a folder" : SystemErrorText(code));
}

}  // namespace tessaly::win32
