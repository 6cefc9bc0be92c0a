// What the fuzz targets share: turning the fuzzer's bytes into arguments,
// and stopping with a message when a property of the code under test fails
// (libFuzzer then keeps the input as a finding, like a crash).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#define FUZZ_REQUIRE(condition)                                                  \
    do {                                                                         \
        if (!(condition)) {                                                      \
            std::fprintf(stderr, "fuzz: property failed: %s\n", #condition);     \
            std::abort();                                                        \
        }                                                                        \
    } while (0)

namespace tessaly::fuzz {

inline std::string Text(const uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// The input split at NUL bytes: one argument each, as a command line.
inline std::vector<std::string> Arguments(const uint8_t* data, std::size_t size) {
    std::vector<std::string> args;
    if (size == 0) return args;
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    args.push_back(current);
    return args;
}

// argv as main gets it: the program name first, then `args`, then null.
inline std::vector<const char*> Argv(const char* program, const std::vector<std::string>& args) {
    std::vector<const char*> argv{program};
    for (const std::string& a : args) argv.push_back(a.c_str());
    argv.push_back(nullptr);
    return argv;
}

}  // namespace tessaly::fuzz
