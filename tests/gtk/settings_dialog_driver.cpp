// Runs the settings dialog on its own, for the end-to-end tests: the initial
// values come from the command line (the idle watcher's at their defaults),
// the outcome is printed on stdout as
//   OK cycle_length=C Speed=S Build=B     or     CANCEL
#include <cstdio>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "linux/SettingsDialog.h"

namespace {

bool ParseInt(const char* text, int32_t& out) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < INT32_MIN || value > INT32_MAX) return false;
    out = static_cast<int32_t>(value);
    return true;
}

int Usage(FILE* to) {
    std::fprintf(to,
                 "usage: settings_dialog_driver [--cycle-length N] [--speed N] [--build N] "
                 "[--seed N] [--file PATH] [GTK options]\n");
    return to == stdout ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
    tessaly::DialogSettings settings;
    tessaly::SettingsValues& values = settings.values;
    std::string settingsFile;
    int32_t seed = static_cast<int32_t>(std::time(nullptr));
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0) return Usage(stdout);
        int32_t* target = nullptr;
        if (std::strcmp(arg, "--cycle-length") == 0) target = &values.cycleLength;
        else if (std::strcmp(arg, "--speed") == 0) target = &values.speed;
        else if (std::strcmp(arg, "--build") == 0) target = &values.build;
        else if (std::strcmp(arg, "--seed") == 0) target = &seed;
        if (target != nullptr) {
            if (i + 1 >= argc || !ParseInt(argv[i + 1], *target)) {
                std::fprintf(stderr, "settings_dialog_driver: %s needs an integer\n", arg);
                return 2;
            }
            ++i;
        } else if (std::strcmp(arg, "--file") == 0 && i + 1 < argc) {
            settingsFile = argv[++i];
        }
        // Anything else is left for the toolkit (--display and the like).
    }
    // As start-up does: the settings as loaded, one seed for the process.
    tessaly::GardenState state;
    state.cycleLengthSetting = values.cycleLength;
    state.speedSetting = values.speed;
    state.buildSetting = values.build;
    state.random.Seed(static_cast<uint32_t>(seed));

    tessaly::DialogAnswer answer = tessaly::DialogAnswer::Cancel;
    std::string error;
    if (!tessaly::RunSettingsDialog(state, settingsFile, settings, argc, argv, answer, error)) {
        std::fprintf(stderr, "settings_dialog_driver: %s\n", error.c_str());
        return 1;
    }
    if (answer == tessaly::DialogAnswer::Ok)
        std::printf("OK cycle_length=%d Speed=%d Build=%d\n", values.cycleLength, values.speed, values.build);
    else
        std::printf("CANCEL\n");
    return 0;
}
