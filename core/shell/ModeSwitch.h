// The saver's command line: the mode switch in the first argument, and for
// preview the parent window in the second.
#pragma once

namespace tessaly {

enum class RunMode { Settings, Preview, Saver, None };

// Case-insensitive comparison of whole strings, as lstrcmpiA does for ASCII.
int CompareNoCase(const char* a, const char* b);
// An argument matches a letter after one leading '-' or '/' is skipped, when
// the rest equals the letter ignoring case or starts with exactly that letter.
bool MatchesSwitch(const char* argument, char letter);
// argc/argv as main receives them (argv[0] is the program).
RunMode ParseModeSwitch(int argc, const char* const* argv);

}  // namespace tessaly
