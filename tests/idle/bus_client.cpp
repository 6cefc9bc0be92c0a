// A D-Bus client that keeps its connection, for the idle watcher's tests:
// an inhibitor lasts as long as its program's connection, and Mutter's
// remote-desktop session ends with the connection that made it. Connects to
// the session bus (--system: the system bus), says "ready", then makes one
// call a line from stdin until it ends:
//   DESTINATION PATH INTERFACE METHOD [SIGNATURE ARGUMENT...]
// with arguments of the basic types s o u i t b d; each answered
// "reply VALUE..." or "error NAME: MESSAGE".
#include <systemd/sd-bus.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

bool Append(sd_bus_message* call, char type, const std::string& text) {
    switch (type) {
        case 's': return sd_bus_message_append_basic(call, 's', text.c_str()) >= 0;
        case 'o': return sd_bus_message_append_basic(call, 'o', text.c_str()) >= 0;
        case 'u': { uint32_t v = std::stoul(text); return sd_bus_message_append_basic(call, 'u', &v) >= 0; }
        case 'i': { int32_t v = std::stoi(text); return sd_bus_message_append_basic(call, 'i', &v) >= 0; }
        case 't': { uint64_t v = std::stoull(text); return sd_bus_message_append_basic(call, 't', &v) >= 0; }
        case 'b': { int v = text == "true" || text == "1"; return sd_bus_message_append_basic(call, 'b', &v) >= 0; }
        case 'd': { double v = std::stod(text); return sd_bus_message_append_basic(call, 'd', &v) >= 0; }
        default: return false;
    }
}

// The reply's values of basic types, space-separated.
std::string Values(sd_bus_message* reply) {
    std::string out;
    char type = 0;
    const char* contents = nullptr;
    while (sd_bus_message_peek_type(reply, &type, &contents) > 0) {
        union { const char* s; uint32_t u; int32_t i; uint64_t t; int b; double d; } v{};
        if (sd_bus_message_read_basic(reply, type, &v) <= 0) break;
        switch (type) {
            case 's': case 'o': out += std::string(" ") + v.s; break;
            case 'u': out += " " + std::to_string(v.u); break;
            case 'i': out += " " + std::to_string(v.i); break;
            case 't': out += " " + std::to_string(v.t); break;
            case 'b': out += v.b ? " true" : " false"; break;
            case 'd': out += " " + std::to_string(v.d); break;
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    const bool system = argc > 1 && std::strcmp(argv[1], "--system") == 0;
    sd_bus* bus = nullptr;
    const int opened = system ? sd_bus_open_system(&bus) : sd_bus_open_user(&bus);
    if (opened < 0) return std::fprintf(stderr, "bus_client: no bus: %s\n", std::strerror(-opened)), 1;
    std::cout << "ready" << std::endl;
    for (std::string line; std::getline(std::cin, line);) {
        std::istringstream words(line);
        std::string destination, path, interface, method, signature, argument;
        words >> destination >> path >> interface >> method >> signature;
        sd_bus_message* call = nullptr;
        bool ok = sd_bus_message_new_method_call(bus, &call, destination.c_str(), path.c_str(), interface.c_str(),
                                                 method.c_str()) >= 0;
        for (char type : signature) ok = ok && words >> argument && Append(call, type, argument);
        sd_bus_error error = SD_BUS_ERROR_NULL;
        sd_bus_message* reply = nullptr;
        if (!ok) std::cout << "error bad call: " << line << std::endl;
        else if (sd_bus_call(bus, call, 0, &error, &reply) < 0)
            std::cout << "error " << (error.name ? error.name : "?") << ": " << (error.message ? error.message : "")
                      << std::endl;
        else std::cout << "reply" << Values(reply) << std::endl;
        sd_bus_error_free(&error);
        sd_bus_message_unref(reply);
        sd_bus_message_unref(call);
    }
    sd_bus_flush_close_unref(bus);
}
