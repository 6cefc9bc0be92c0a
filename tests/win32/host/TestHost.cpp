// The Wine test host: runs tessaly.scr in one of its modes, plays the part of
// the user or of the screen-saver host (input, preview pane, dialog
// messages, registry) and checks what the saver does.
//   tessaly-testhost SCENARIO SCR OUTDIR [ARGUMENT]
// Prints one line per check; exits 0 when every check passed.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "HostTools.h"
#include "Scenarios.h"

using namespace tessaly::testhost;

namespace {

struct ScenarioEntry {
    const char* name;
    std::function<void(const Context&)> run;
    const char* help;
};

const ScenarioEntry kScenarios[] = {
    {"saver", RunSaverScenario, "ACTION: key, syskey, left, middle, right, stay, deactivate"},
    {"xinput", RunXInputScenario, "ARGUMENT: key, move; prints READY, then X input must end the saver"},
    {"held", RunHeldScenario, "ARGUMENT: /s or /c; prints READY once its window is up, then waits for its end"},
    {"monitors", RunMonitorsScenario, "ARGUMENT: LAYOUT:ACTION (equal or unequal; key, left, deactivate, first-move)"},
    {"switch", RunSwitchScenario, "ARGUMENT: a switch that must start the saver (/S, /scr, -s)"},
    {"preview", RunPreviewScenario, "the saver draws in a pane of ours and ends with it"},
    {"refused", RunRefusedScenario, "bad switches and preview handles end with no window"},
    {"dialog", RunDialogScenario, "ARGUMENT: the switch (none, /c, /c:1234, /C:1234)"},
    {"sliders", RunSlidersScenario, "WM_HSCROLL codes move the sliders; OK writes them"},
    {"cancel", RunCancelScenario, "Cancel and the close box write nothing"},
    {"load", RunLoadScenario, "stored values load with their defaults and range checks"},
    {"about", RunAboutScenario, "the About box opens from the system menu and the button"},
    {"templates", RunTemplatesScenario, "dialog templates 2003 and 101 and the other resources"},
};

int Usage() {
    std::fprintf(stderr, "usage: tessaly-testhost SCENARIO SCR OUTDIR [ARGUMENT]\n");
    for (const ScenarioEntry& s : kScenarios) std::fprintf(stderr, "  %-10s %s\n", s.name, s.help);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return Usage();
    // The saver's windows as they are on the screen: to a host that is not
    // DPI aware, the system reports them scaled to 96 DPI.
    SetProcessDPIAware();
    Context context;
    context.scr = argv[2];
    context.outDir = argv[3];
    context.argument = argc > 4 ? argv[4] : "";
    context.key.app = ProgramBaseName(context.scr);
    for (const ScenarioEntry& s : kScenarios) {
        if (std::strcmp(s.name, argv[1]) == 0) {
            s.run(context);
            std::printf("%s: %d failed check(s)\n", s.name, Failures());
            return Failures() == 0 ? 0 : 1;
        }
    }
    std::fprintf(stderr, "tessaly-testhost: unknown scenario '%s'\n", argv[1]);
    return Usage();
}
