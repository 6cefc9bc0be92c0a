// The resources inside tessaly.scr, read from the file itself: both dialog
// templates control by control, the two strings, the icon, the invisible
// cursor and the version information.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Scenarios.h"

namespace tessaly::testhost {

namespace {

struct Control {
    int id;
    std::string kind;  // window class
    std::string text;  // "#N" for a resource ordinal
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
};

struct Template {
    bool extended = false;
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string caption, font;
    int pointSize = 0;
    std::vector<Control> controls;
};

class Reader {
public:
    explicit Reader(const BYTE* data) : p_(data) {}
    WORD Word() { WORD v; std::memcpy(&v, p_, 2); p_ += 2; return v; }
    DWORD Dword() { DWORD v; std::memcpy(&v, p_, 4); p_ += 4; return v; }
    short Short() { return static_cast<short>(Word()); }
    void Align4(const BYTE* base) { while ((p_ - base) % 4 != 0) ++p_; }
    std::string Text() {
        std::string s;
        for (WORD c = Word(); c != 0; c = Word()) s += static_cast<char>(c < 128 ? c : '?');
        return s;
    }
    // A string or, after 0xFFFF, an ordinal.
    std::string TextOrOrdinal() {
        WORD first;
        std::memcpy(&first, p_, 2);
        if (first == 0xFFFF) {
            p_ += 2;
            return "#" + std::to_string(Word());
        }
        return Text();
    }
    void Skip(size_t n) { p_ += n; }

private:
    const BYTE* p_;
};

std::string ClassName(const std::string& raw) {
    if (raw == "#128") return "Button";
    if (raw == "#130") return "Static";
    if (raw == "#132") return "ScrollBar";
    std::string lower;
    for (char c : raw) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "button") return "Button";
    if (lower == "static") return "Static";
    if (lower == "scrollbar") return "ScrollBar";
    return raw;
}

Template ParseTemplate(const BYTE* data) {
    Template t;
    Reader r(data);
    WORD version = r.Word();
    WORD signature = r.Word();
    int count = 0;
    if (version == 1 && signature == 0xFFFF) {
        t.extended = true;
        r.Dword();  // help id
        t.exStyle = r.Dword();
        t.style = r.Dword();
    } else {
        Reader again(data);
        r = again;
        t.style = r.Dword();
        t.exStyle = r.Dword();
    }
    count = r.Word();
    t.x = r.Short(); t.y = r.Short(); t.cx = r.Short(); t.cy = r.Short();
    r.TextOrOrdinal();  // menu
    r.TextOrOrdinal();  // class
    t.caption = r.Text();
    if (t.style & DS_SETFONT) {
        t.pointSize = r.Word();
        if (t.extended) {
            r.Word();  // weight
            r.Skip(2); // italic, charset
        }
        t.font = r.Text();
    }
    for (int i = 0; i < count; ++i) {
        r.Align4(data);
        Control c{};
        if (t.extended) {
            r.Dword();  // help id
            c.exStyle = r.Dword();
            c.style = r.Dword();
        } else {
            c.style = r.Dword();
            c.exStyle = r.Dword();
        }
        c.x = r.Short(); c.y = r.Short(); c.cx = r.Short(); c.cy = r.Short();
        c.id = t.extended ? static_cast<int>(r.Dword()) : static_cast<short>(r.Word());
        c.kind = ClassName(r.TextOrOrdinal());
        c.text = r.TextOrOrdinal();
        r.Skip(r.Word());
        t.controls.push_back(c);
    }
    return t;
}

const BYTE* FindResourceData(HMODULE module, LPCSTR name, LPCSTR type) {
    HRSRC found = FindResourceA(module, name, type);
    if (found == nullptr) return nullptr;
    return static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
}

std::string Hex(DWORD v) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", v);
    return text;
}

void CompareTemplate(const std::string& name, const Template& got, const Template& want) {
    Check(got.extended == want.extended, name + ": " + (want.extended ? "extended" : "classic") + " template");
    Check(got.style == want.style, name + ": style " + Hex(want.style) + " (got " + Hex(got.style) + ")");
    Check(got.exStyle == want.exStyle, name + ": extended style " + Hex(want.exStyle));
    Check(got.x == want.x && got.y == want.y && got.cx == want.cx && got.cy == want.cy,
          name + ": position and size");
    Check(got.caption == want.caption, name + ": caption \"" + want.caption + "\" (got \"" + got.caption + "\")");
    Check(got.font == want.font && got.pointSize == want.pointSize, name + ": font " + want.font + " 8 point");
    if (!Check(got.controls.size() == want.controls.size(),
               name + ": " + std::to_string(want.controls.size()) + " controls (got " +
                   std::to_string(got.controls.size()) + ")"))
        return;
    for (size_t i = 0; i < want.controls.size(); ++i) {
        const Control& g = got.controls[i];
        const Control& w = want.controls[i];
        const std::string what = name + " control " + std::to_string(i + 1) + " (" + std::to_string(w.id) + " " +
                                 w.kind + " \"" + w.text.substr(0, 24) + "\")";
        Check(g.id == w.id && g.kind == w.kind && g.text == w.text && g.style == w.style &&
                  g.exStyle == w.exStyle && g.x == w.x && g.y == w.y && g.cx == w.cx && g.cy == w.cy,
              what + (g.style != w.style ? " style " + Hex(w.style) + " got " + Hex(g.style) : "") +
                  (g.text != w.text ? " text got \"" + g.text + "\"" : ""));
    }
}

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

// The application manifest (resource 1 of type 24): per-monitor v2 DPI
// awareness with the per-monitor and system-aware fallbacks, and Common Controls 6.
void CheckManifest(const std::string& program) {
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = module ? FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)) : nullptr;
    const std::string xml = found ? std::string(static_cast<const char*>(LockResource(LoadResource(module, found))),
                                                 SizeofResource(module, found))
                                  : "";
    for (const char* entry :
         {"<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2, PerMonitor<",
          "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm<",
          "<assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""})
        Check(xml.find(entry) != std::string::npos, program + ": the manifest holds " + entry);
    if (module != nullptr) FreeLibrary(module);
}

}  // namespace

void RunTemplatesScenario(const Context& context) {
    HMODULE module = LoadLibraryExA(context.scr.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!Check(module != nullptr, "load tessaly.scr as a data file")) return;

    char text[256] = {};
    LoadStringA(module, 1, text, sizeof text);
    Check(std::string(text) == "Displays a sequence of flowers, autumn leaves, and snow", "string 1 (got \"" + std::string(text) + "\")");
    LoadStringA(module, 101, text, sizeof text);
    Check(std::string(text) == "&About Saver...", "string 101 (got \"" + std::string(text) + "\")");
    Check(FindResourceA(module, MAKEINTRESOURCEA(100), MAKEINTRESOURCEA(14)) != nullptr, "icon 100 (RT_GROUP_ICON)");
    const BYTE* cursorGroup = FindResourceData(module, MAKEINTRESOURCEA(129), MAKEINTRESOURCEA(12));
    if (Check(cursorGroup != nullptr, "cursor 129 (RT_GROUP_CURSOR)")) {
        // One 32 x 32 cursor: hot spot (0, 0), AND mask all ones, XOR mask all zeros.
        const WORD cursorId = *reinterpret_cast<const WORD*>(cursorGroup + 6 + 12);
        const BYTE* cursor = FindResourceData(module, MAKEINTRESOURCEA(cursorId), MAKEINTRESOURCEA(1));
        if (Check(cursor != nullptr, "the cursor image")) {
            const WORD hotX = reinterpret_cast<const WORD*>(cursor)[0];
            const WORD hotY = reinterpret_cast<const WORD*>(cursor)[1];
            const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(cursor + 4);
            const BYTE* bits = cursor + 4 + header->biSize + 2 * sizeof(RGBQUAD);
            bool blank = header->biWidth == 32 && header->biHeight == 64 && header->biBitCount == 1;
            for (int i = 0; blank && i < 32 * 4; ++i) blank = bits[i] == 0x00;             // XOR
            for (int i = 0; blank && i < 32 * 4; ++i) blank = bits[32 * 4 + i] == 0xFF;    // AND
            Check(blank && hotX == 0 && hotY == 0, "cursor 129 is 32 x 32, fully transparent, hot spot (0, 0)");
        }
    }
    const BYTE* iconGroup = FindResourceData(module, MAKEINTRESOURCEA(100), MAKEINTRESOURCEA(14));
    if (iconGroup != nullptr) {
        const BYTE* entry = iconGroup + 6;
        Check(entry[0] == 32 && entry[1] == 32 && entry[2] == 16, "icon 100 is 32 x 32 in 16 colours");
    }

    // Extended or not, style, extended style, x, y, cx, cy, caption, font, point size, controls.
    const Template settings{true, WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                            0, 0, 0, 223, 226, "Tessaly Saver", "MS Sans Serif", 8, {
        {1, "Button", "OK", kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 163, 7, 50, 14},
        {2, "Button", "Cancel", kChild | BS_PUSHBUTTON | WS_TABSTOP, 0, 163, 47, 50, 14},
        {1008, "Button", "&Step by step build", kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 0, 133, 68, 80, 20},
        {1004, "ScrollBar", "", kChild | SBS_HORZ | WS_GROUP | WS_TABSTOP, 0, 13, 57, 94, 11},
        {1002, "ScrollBar", "", kChild | SBS_HORZ | WS_GROUP | WS_TABSTOP, 0, 11, 128, 94, 11},
        {-1, "Button", "Cycle Length", kChild | BS_GROUPBOX, 0, 4, 42, 113, 42},
        {-1, "Static", "Low", kChild | SS_LEFT | WS_GROUP, 0, 13, 72, 30, 8},
        {-1, "Static", "High", kChild | SS_RIGHT | WS_GROUP, 0, 77, 72, 30, 8},
        {-1, "Button", "Speed", kChild | BS_GROUPBOX, 0, 3, 114, 113, 45},
        {-1, "Static", "Slow", kChild | SS_LEFT | WS_GROUP, 0, 11, 145, 30, 8},
        {-1, "Static", "Fast", kChild | SS_RIGHT | WS_GROUP, 0, 75, 145, 30, 8},
        {1006, "Static", "", WS_CHILD | SS_SUNKEN | SS_LEFTNOWORDWRAP, WS_EX_STATICEDGE, 126, 95, 92, 69},
        {100, "Static", "#100", kChild | SS_ICON, 0, 129, 7, 20, 20},
        {-1, "Static", "Cycle length controls how long it will be before the saver changes to the next image type.",
         kChild | SS_LEFT | WS_GROUP, 0, 8, 11, 102, 27},
        {-1, "Static", "Speed controls time between each new drawing.", kChild | SS_LEFT | WS_GROUP, 0, 5, 95, 106, 17},
        {3, "Button", "About", kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 163, 27, 50, 14},
    }};
    const BYTE* data = FindResourceData(module, MAKEINTRESOURCEA(2003), MAKEINTRESOURCEA(5));
    if (Check(data != nullptr, "dialog template 2003")) {
        Template got = ParseTemplate(data);
        // The author's notice: its text is ours to choose, everything else is fixed.
        if (got.controls.size() == settings.controls.size() + 1) {
            Control notice = got.controls.back();
            Check(notice.id == -1 && notice.kind == "Static" && !notice.text.empty() &&
                      notice.style == (kChild | SS_LEFT | WS_GROUP) && notice.x == 13 && notice.y == 172 &&
                      notice.cx == 183 && notice.cy == 45,
                  "2003: the author's notice");
            got.controls.pop_back();
        }
        CompareTemplate("2003", got, settings);
    }

    const Template about{false, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                         0, 34, 22, 246, 98, "About Tessaly Screen Saver", "MS Sans Serif", 8, {
        {100, "Static", "#100", kChild | SS_ICON, 0, 4, 4, 21, 20},
        {-1, "Static",
         "Tessaly Screen Saver.\n\nDisplays spring flowers, summer flowers, fall leaves, and snow in an ever "
         "changing sequence.",
         kChild | SS_LEFT | WS_GROUP, 0, 40, 5, 161, 41},
        {-1, "Static", "", kChild | SS_LEFT | WS_GROUP, 0, 29, 60, 183, 34},
        {1, "Button", "OK", kChild | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 0, 207, 7, 32, 14},
    }};
    data = FindResourceData(module, MAKEINTRESOURCEA(101), MAKEINTRESOURCEA(5));
    if (Check(data != nullptr, "dialog template 101")) {
        Template got = ParseTemplate(data);
        if (got.controls.size() == 4) {
            Check(!got.controls[2].text.empty(), "101: the author's notice has a text");
            got.controls[2].text.clear();
        }
        CompareTemplate("101", got, about);
    }

    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(context.scr.c_str(), &ignored);
    std::vector<BYTE> version(size);
    char* description = nullptr;
    UINT length = 0;
    const bool found = size > 0 && GetFileVersionInfoA(context.scr.c_str(), 0, size, version.data()) &&
                       VerQueryValueA(version.data(), "\\StringFileInfo\\040904B0\\FileDescription",
                                      reinterpret_cast<void**>(&description), &length);
    Check(found && std::string(description) == "Tessaly Screen Saver", "version information with a description");
    FreeLibrary(module);

    CheckManifest(context.scr);
    // The build's platform\win32\tessaly.scr and tools\render\tessaly-render.exe.
    std::string build = context.scr;
    for (int up = 0; up < 3; ++up) build = build.substr(0, build.find_last_of('\\'));
    CheckManifest(build + "\\tools\\render\\tessaly-render.exe");
}

std::string ProgramBaseName(const std::string& path) {
    const size_t slash = path.find_last_of("\\/:");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

}  // namespace tessaly::testhost
