// The scenarios of the Wine test host, one per behaviour of the saver.
#pragma once

#include <string>

#include "HostTools.h"

namespace tessaly::testhost {

struct Context {
    std::string scr;       // Windows path of tessaly.scr
    std::string outDir;    // where screenshots go
    std::string argument;  // the scenario's own argument
    SettingsKey key;       // the saver's settings key
};

std::string ProgramBaseName(const std::string& path);

void RunSaverScenario(const Context& context);
void RunSwitchScenario(const Context& context);
void RunXInputScenario(const Context& context);
void RunHeldScenario(const Context& context);
void RunMonitorsScenario(const Context& context);
void RunPreviewScenario(const Context& context);
void RunRefusedScenario(const Context& context);
void RunDialogScenario(const Context& context);
void RunSlidersScenario(const Context& context);
void RunCancelScenario(const Context& context);
void RunLoadScenario(const Context& context);
void RunAboutScenario(const Context& context);
void RunTemplatesScenario(const Context& context);

}  // namespace tessaly::testhost
