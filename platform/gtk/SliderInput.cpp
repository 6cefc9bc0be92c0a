#include "SliderInput.h"

#include "shell/SliderRules.h"

namespace tessaly {

namespace {

struct KeyCode {
    guint keyval;
    int code;
};

constexpr KeyCode kSliderKeys[] = {
    {GDK_KEY_Left, kScrollLineLeft},       {GDK_KEY_KP_Left, kScrollLineLeft},
    {GDK_KEY_Up, kScrollLineLeft},         {GDK_KEY_KP_Up, kScrollLineLeft},
    {GDK_KEY_Right, kScrollLineRight},     {GDK_KEY_KP_Right, kScrollLineRight},
    {GDK_KEY_Down, kScrollLineRight},      {GDK_KEY_KP_Down, kScrollLineRight},
    {GDK_KEY_Page_Up, kScrollPageLeft},    {GDK_KEY_KP_Page_Up, kScrollPageLeft},
    {GDK_KEY_Page_Down, kScrollPageRight}, {GDK_KEY_KP_Page_Down, kScrollPageRight},
    {GDK_KEY_Home, kScrollLeft},           {GDK_KEY_KP_Home, kScrollLeft},
    {GDK_KEY_End, kScrollRight},           {GDK_KEY_KP_End, kScrollRight},
};

struct TypeCode {
    GtkScrollType type;
    int code;
};

constexpr TypeCode kScrollTypes[] = {
    {GTK_SCROLL_STEP_BACKWARD, kScrollLineLeft}, {GTK_SCROLL_STEP_LEFT, kScrollLineLeft},
    {GTK_SCROLL_STEP_UP, kScrollLineLeft},       {GTK_SCROLL_STEP_FORWARD, kScrollLineRight},
    {GTK_SCROLL_STEP_RIGHT, kScrollLineRight},   {GTK_SCROLL_STEP_DOWN, kScrollLineRight},
    {GTK_SCROLL_PAGE_BACKWARD, kScrollPageLeft}, {GTK_SCROLL_PAGE_LEFT, kScrollPageLeft},
    {GTK_SCROLL_PAGE_UP, kScrollPageLeft},       {GTK_SCROLL_PAGE_FORWARD, kScrollPageRight},
    {GTK_SCROLL_PAGE_RIGHT, kScrollPageRight},   {GTK_SCROLL_PAGE_DOWN, kScrollPageRight},
    {GTK_SCROLL_START, kScrollLeft},             {GTK_SCROLL_END, kScrollRight},
    {GTK_SCROLL_JUMP, kScrollThumbTrack},
};

}  // namespace

int ScrollCodeForKey(guint keyval) {
    for (const KeyCode& k : kSliderKeys) {
        if (k.keyval == keyval) return k.code;
    }
    return kNotASliderKey;
}

int ScrollCodeForScrollType(GtkScrollType type) {
    for (const TypeCode& t : kScrollTypes) {
        if (t.type == type) return t.code;
    }
    return kScrollEnd;  // GTK_SCROLL_NONE: nothing moves
}

int ScrollCodeForWheel(GdkScrollDirection direction, double deltaX, double deltaY) {
    switch (direction) {
        case GDK_SCROLL_UP:
        case GDK_SCROLL_LEFT: return kScrollLineLeft;
        case GDK_SCROLL_DOWN:
        case GDK_SCROLL_RIGHT: return kScrollLineRight;
        case GDK_SCROLL_SMOOTH: {
            const double delta = deltaY != 0.0 ? deltaY : deltaX;
            if (delta < 0.0) return kScrollLineLeft;
            if (delta > 0.0) return kScrollLineRight;
            return kNotASliderKey;
        }
    }
    return kNotASliderKey;
}

}  // namespace tessaly
