// Message maps as tables of data: each window class lists the messages it
// handles and the member that handles them. A class looks a message up in its
// own table first and then asks its base class; what nobody handles gets the
// default handling of the window (or of the dialog manager).
#pragma once

#include <windows.h>

#include <cstddef>

namespace tessaly::win32 {

template <class T>
struct MessageEntry {
    UINT message;
    LRESULT (T::*handler)(WPARAM wParam, LPARAM lParam);
};

template <class T, std::size_t N>
bool DispatchFromTable(T* self, const MessageEntry<T> (&table)[N], UINT message, WPARAM wParam,
                       LPARAM lParam, LRESULT& result) {
    for (const MessageEntry<T>& entry : table) {
        if (entry.message == message) {
            result = (self->*entry.handler)(wParam, lParam);
            return true;
        }
    }
    return false;
}

// Button clicks (BN_CLICKED) by control id.
template <class T>
struct CommandEntry {
    WORD id;
    void (T::*handler)();
};

template <class T, std::size_t N>
bool DispatchClickFromTable(T* self, const CommandEntry<T> (&table)[N], WORD id) {
    for (const CommandEntry<T>& entry : table) {
        if (entry.id == id) {
            (self->*entry.handler)();
            return true;
        }
    }
    return false;
}

}  // namespace tessaly::win32
