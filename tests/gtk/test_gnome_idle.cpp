// What the dialog says of GNOME's own idle delay beside the wait.
#include <gtest/gtest.h>

#include "gtk/GnomeIdleRules.h"

namespace tessaly {
namespace {

TEST(GnomeIdle, OnlyADesktopListNamingGnomeIsGnome) {
    for (const char* gnome : {"GNOME", "ubuntu:GNOME", "GNOME:GNOME-Classic", "pop:GNOME:x"}) EXPECT_TRUE(IsGnomeDesktop(gnome)) << gnome;
    for (const char* other : {"", "KDE", "GNOME-Classic", "XFCE:GNOMEish", "sway"}) EXPECT_FALSE(IsGnomeDesktop(other)) << other;
    EXPECT_FALSE(IsGnomeDesktop(nullptr));
}

TEST(GnomeIdle, TheDelayInWordsAndTheWaitThatComesTooLate) {
    EXPECT_EQ(GnomeDelayNote(300), "GNOME blanks the screen after 5 minutes idle.");
    EXPECT_EQ(GnomeDelayNote(60), "GNOME blanks the screen after 1 minute idle.");
    EXPECT_EQ(GnomeDelayNote(90), "GNOME blanks the screen after 90 seconds idle.");
    EXPECT_EQ(GnomeDelayNote(0), "GNOME never blanks the screen.");
    EXPECT_FALSE(GnomeBlanksFirst(300, 4));
    EXPECT_TRUE(GnomeBlanksFirst(300, 5));  // at the same moment GNOME's blank screen covers it
    EXPECT_TRUE(GnomeBlanksFirst(90, 2));
    EXPECT_FALSE(GnomeBlanksFirst(0, 120));
}

}  // namespace
}  // namespace tessaly
