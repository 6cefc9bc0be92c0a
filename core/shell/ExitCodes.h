// The exit codes of every Tessaly program: tessaly (Linux), tessaly.scr and
// both builds of tessaly-render. One table, so that a code means the same to
// whoever runs any of them.
#pragma once

namespace tessaly {

// A normal end: a trigger, a closed window or dialog, a written file, the
// help or the version.
constexpr int kExitOk = 0;
// The run failed: tessaly or tessaly.scr could not start (no display, a
// window or dialog that could not be made), lost its display server, or could
// not store the settings; tessaly-render could not read or write a file.
constexpr int kExitFailed = 1;
// A command line the program does not take (for tessaly.scr also a preview
// window handle that names no window).
constexpr int kExitUsage = 2;

}  // namespace tessaly
