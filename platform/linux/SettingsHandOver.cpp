// Settings mode handed to tessaly-settings, the same program with the GTK
// dialog (see HandOver.h). A build with the dialog must run it: only a build
// without it answers in text.
#include "HandOver.h"
#include "SettingsDialog.h"

namespace tessaly {

bool HandOverSettingsMode(char** argv, std::string& error) {
    if (!TESSALY_SETTINGS_PROGRAM) return true;  // built without the dialog: the text answer
    return RunBeside("tessaly-settings", "the settings dialog", argv, error);
}

}  // namespace tessaly
