// The settings dialog's rules against the real canvas: what the sliders show,
// what the preview is told, and what OK confirms.
#include <gtest/gtest.h>

#include <vector>

#include "shell/SettingsDialogModel.h"
#include "canvas/CanvasWindow.h"
#include "device/PortableGdiObjects.h"
#include "support/Fakes.h"
#include "settings/Settings.h"
#include "shell/SliderRules.h"

namespace tessaly {
namespace {

using testing::FakeHost;
using testing::RecordingDevice;

class DialogModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        state.cycleLengthSetting = 5;
        state.random.Seed(7);
        preview.AttachHost(&host);
        preview.OnCreate();
    }
    void TearDown() override { preview.OnWindowDestroyed(); }
    void Open(int32_t cycle, int32_t speed, int32_t build) {
        SettingsValues values;
        values.cycleLength = cycle;
        values.speed = speed;
        values.build = build;
        model.Initialise(values);
    }

    GardenState state;
    PortableGdiObjects objects;
    FakeHost host;
    CanvasWindow preview{state, objects};
    SettingsDialogModel model{preview};
};

TEST_F(DialogModelTest, OutOfRangeSettingsShowAtTheNearestEndAndOkConfirmsThem) {
    Open(200, 0, 0);
    EXPECT_EQ(model.Position(Slider::Cycle), 30);
    EXPECT_EQ(model.Position(Slider::Speed), 1);
    // The preview runs with the speed as loaded until a slider moves: 505 - 5 x 0.
    EXPECT_EQ(host.periods.back(), 505u);
    EXPECT_EQ(state.speedSetting, 0);
    const SettingsValues confirmed = model.Confirmed();
    EXPECT_EQ(confirmed.cycleLength, 30);
    EXPECT_EQ(confirmed.speed, 1);
    EXPECT_EQ(confirmed.build, 0);

    Open(-4, 250, 0);
    EXPECT_EQ(model.Position(Slider::Cycle), 1);
    EXPECT_EQ(model.Position(Slider::Speed), 100);
    // 250 is no speed: the preview keeps the one it had and still restarts its timer.
    EXPECT_EQ(state.speedSetting, 0);
    EXPECT_EQ(host.periods.back(), 505u);
}

TEST_F(DialogModelTest, InitialisationHandsThePreviewTheLoadedValues) {
    const size_t timersBefore = host.periods.size();
    Open(12, 40, 1);
    EXPECT_EQ(host.periods.size(), timersBefore + 1);
    EXPECT_EQ(host.periods.back(), 305u);
    EXPECT_EQ(state.speedSetting, 40);
    EXPECT_EQ(state.buildSetting, 1);
    EXPECT_TRUE(model.BuildChecked());
    // A new cycle length repaints the preview at once.
    EXPECT_EQ(host.repaints, 1);
}

TEST_F(DialogModelTest, CycleSliderStepsPagesAndEnds) {
    Open(5, 60, 0);
    EXPECT_EQ(model.Scroll(Slider::Cycle, kScrollLineRight), 6);
    EXPECT_EQ(model.Scroll(Slider::Cycle, kScrollLineLeft), 5);
    EXPECT_EQ(model.Scroll(Slider::Cycle, kScrollPageRight), 15);
    EXPECT_EQ(model.Scroll(Slider::Cycle, kScrollPageRight), 25);
    EXPECT_EQ(model.Scroll(Slider::Cycle, kScrollPageRight), 30);  // a page past the end stops there
    EXPECT_EQ(model.Scroll(Slider::Cycle, kScrollLineRight), 30);
    EXPECT_EQ(model.Scroll(Slider::Cycle, kScrollLeft), 1);
    EXPECT_EQ(model.Scroll(Slider::Cycle, kScrollLineLeft), 1);
    EXPECT_EQ(model.Scroll(Slider::Cycle, kScrollRight), 30);  // End goes to the bar's end, not 100
    EXPECT_EQ(model.Scroll(Slider::Cycle, kScrollPageLeft), 20);
    EXPECT_EQ(model.Scroll(Slider::Cycle, kScrollThumbTrack, 17), 17);
    EXPECT_EQ(model.Scroll(Slider::Cycle, kScrollThumbPosition, 45), 30);
    EXPECT_EQ(model.Scroll(Slider::Cycle, kScrollEnd, 3), 30);
    EXPECT_EQ(model.Position(Slider::Speed), 60);  // the other slider never moves
}

TEST_F(DialogModelTest, SpeedSliderSetsThePreviewTimer) {
    Open(5, 60, 0);
    EXPECT_EQ(model.Scroll(Slider::Speed, kScrollRight), 100);
    EXPECT_EQ(host.periods.back(), 5u);
    EXPECT_EQ(state.speedSetting, 100);
    EXPECT_EQ(model.Scroll(Slider::Speed, kScrollPageLeft), 90);
    EXPECT_EQ(host.periods.back(), 55u);
    EXPECT_EQ(model.Scroll(Slider::Speed, kScrollLeft), 1);
    EXPECT_EQ(host.periods.back(), 500u);
    EXPECT_EQ(model.Scroll(Slider::Speed, kScrollPageLeft), 1);
    EXPECT_EQ(model.Scroll(Slider::Speed, kScrollThumbTrack, 73), 73);
    EXPECT_EQ(host.periods.back(), 140u);
}

TEST_F(DialogModelTest, EverySliderEventRestartsTheTimerButOnlyCycleChangesRepaint) {
    Open(5, 50, 0);
    const size_t timers = host.periods.size();
    const int kills = host.stops;
    const int repaints = host.repaints;

    model.Scroll(Slider::Cycle, kScrollEnd);  // nothing moves
    model.Scroll(Slider::Cycle, kScrollLineRight);
    model.Scroll(Slider::Speed, kScrollLineRight);
    EXPECT_EQ(host.periods.size(), timers + 3);
    EXPECT_EQ(host.stops, kills + 3);
    // The cycle slider's move restarts the timer with the speed slider's position.
    EXPECT_EQ(host.periods[timers + 1], 255u);
    EXPECT_EQ(host.periods[timers + 2], 250u);
    EXPECT_EQ(host.repaints, repaints + 1);
}

TEST_F(DialogModelTest, CheckBoxReadsTheControlsAndSwitchesThePreview) {
    Open(200, 0, 0);
    model.Scroll(Slider::Speed, kScrollPageRight);
    model.BuildClicked(true);
    EXPECT_EQ(state.buildSetting, 1);
    EXPECT_EQ(model.Confirmed().build, 1);
    model.BuildClicked(false);
    EXPECT_EQ(state.buildSetting, 0);
    EXPECT_EQ(model.Confirmed().build, 0);
}

TEST_F(DialogModelTest, AnyNonzeroBuildShowsCheckedAndConfirmsAsOne) {
    Open(5, 60, 2);
    EXPECT_TRUE(model.BuildChecked());
    EXPECT_EQ(state.buildSetting, 2);  // the preview draws whole drawings, as the saver would
    EXPECT_EQ(model.Confirmed().build, 1);
    Open(5, 60, 0);
    EXPECT_FALSE(model.BuildChecked());
}

TEST_F(DialogModelTest, PreviewPaintsOneFigureOrWholeDrawingsAsTheCheckBoxSays) {
    Open(5, 60, 0);
    model.BuildClicked(true);
    preview.OnTick();
    RecordingDevice one, rest, none;
    preview.OnPaint(one);
    EXPECT_EQ(one.Shapes(), 1);

    model.BuildClicked(false);
    preview.OnPaint(rest);
    EXPECT_GT(rest.Shapes(), 1);
    preview.OnPaint(none);
    EXPECT_EQ(none.Shapes(), 0) << "the rest of the drawing went in one paint";
}

TEST(SettingsValues, EachRowOfTheTableIsItsOwnField) {
    SettingsValues values;
    for (int row = 0; row < kSettingCount; ++row) values[row] = 100 + row;
    EXPECT_EQ(values.cycleLength, 100 + kCycleLengthSetting);
    EXPECT_EQ(values.speed, 100 + kSpeedSetting);
    EXPECT_EQ(values.build, 100 + kBuildSetting);
    EXPECT_EQ(values.idleWait, 100 + kIdleWaitSetting);
    EXPECT_EQ(values.lockAfter, 100 + kLockAfterSetting);
}

}  // namespace
}  // namespace tessaly
