#include "shell/ModeSwitch.h"

namespace tessaly {

namespace {

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

struct SwitchRule {
    char letter;
    RunMode mode;
};

// Tested in this order; the first match wins.
constexpr SwitchRule kSwitchRules[] = {
    {'c', RunMode::Settings},
    {'C', RunMode::Settings},
    {'p', RunMode::Preview},
    {'s', RunMode::Saver},
};

}  // namespace

int CompareNoCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        const unsigned char ca = static_cast<unsigned char>(FoldCase(*a));
        const unsigned char cb = static_cast<unsigned char>(FoldCase(*b));
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
}

bool MatchesSwitch(const char* argument, char letter) {
    if (argument == nullptr) return false;
    // Only one leading switch character is skipped: "//s" keeps "/s".
    if (*argument == '-' || *argument == '/') ++argument;
    const char whole[2] = {letter, '\0'};
    return CompareNoCase(argument, whole) == 0 || *argument == letter;
}

RunMode ParseModeSwitch(int argc, const char* const* argv) {
    if (argc <= 1) return RunMode::Settings;
    for (const SwitchRule& rule : kSwitchRules) {
        if (MatchesSwitch(argv[1], rule.letter)) return rule.mode;
    }
    return RunMode::None;
}

}  // namespace tessaly
