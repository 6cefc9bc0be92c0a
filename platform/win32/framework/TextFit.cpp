#include "win32/framework/TextFit.h"

#include <algorithm>
#include <string>
#include <vector>

namespace tessaly::win32 {

namespace {

constexpr int kGapDialogUnits = 4;

BOOL CALLBACK CollectChild(HWND child, LPARAM children) {
    reinterpret_cast<std::vector<HWND>*>(children)->push_back(child);
    return TRUE;
}

RECT RectInDialog(HWND dialog, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool IsWrappedText(HWND child) {
    char kind[16] = {};
    GetClassNameA(child, kind, sizeof kind);
    const LONG type = GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK;
    return lstrcmpiA(kind, "Static") == 0 && (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) &&
           GetWindowTextLengthA(child) > 0;
}

// The height the text needs when wrapped at `width`, in the control's font.
int NeededHeight(HDC dc, const std::string& text, int width) {
    RECT need{0, 0, width, 0};
    DrawTextA(dc, text.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    return need.bottom;
}

}  // namespace

void WidenClippedTexts(HWND dialog) {
    std::vector<HWND> children;
    EnumChildWindows(dialog, &CollectChild, reinterpret_cast<LPARAM>(&children));
    RECT gap{0, 0, kGapDialogUnits, 0}, client{};
    MapDialogRect(dialog, &gap);
    GetClientRect(dialog, &client);
    for (HWND text : children) {
        if (!IsWrappedText(text)) continue;
        const RECT r = RectInDialog(dialog, text);
        std::string words(static_cast<size_t>(GetWindowTextLengthA(text)) + 1, '\0');
        words.resize(static_cast<size_t>(GetWindowTextA(text, words.data(), static_cast<int>(words.size()))));
        HDC dc = GetDC(text);
        const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(text, WM_GETFONT, 0, 0)));
        if (NeededHeight(dc, words, r.right - r.left) > r.bottom - r.top) {
            // The room: up to the nearest control to the right that shares some of its rows.
            LONG limit = client.right - gap.right;
            for (HWND other : children) {
                const RECT o = RectInDialog(dialog, other);
                if (other != text && o.left >= r.right && o.top < r.bottom && o.bottom > r.top)
                    limit = std::min(limit, o.left - gap.right);
            }
            LONG width = r.right - r.left;
            while (width < limit - r.left && NeededHeight(dc, words, width) > r.bottom - r.top) ++width;
            SetWindowPos(text, nullptr, 0, 0, width, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        SelectObject(dc, old);
        ReleaseDC(text, dc);
    }
}

}  // namespace tessaly::win32
