#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "generators/ColourPalette.h"
#include "random/Random.h"
#include "support/Fakes.h"
#include "state/GardenState.h"

using namespace tessaly;

namespace {

// The garden these tests build in; each test starts it afresh.
GardenState garden;

using tessaly::testing::DrawFor;
using tessaly::testing::ScriptedDraws;

constexpr int kHeads = 16384;
constexpr int kTails = 16383;

// Raw draws for a fill whose channels are `offset + R(n)`, given the R(n) values.
std::vector<int> Channels(std::initializer_list<std::pair<int, int>> valueAndRange) {
    std::vector<int> raw;
    for (const auto& [value, n] : valueAndRange) raw.push_back(DrawFor(value, n));
    return raw;
}

// The four fixed fills: orange (150, 100, 30), gold (230, 200, 20),
// green (60, 150, 89), snow (250, 248, 252).
std::vector<int> FixedFills() {
    std::vector<int> raw = Channels({{50, 130}, {100, 120}, {30, 40},  // orange
                                     {30, 55}, {20, 30}, {20, 50},     // gold: G = 230 - 10 - 20
                                     {60, 90}, {40, 146}, {89, 90},    // green
                                     {4, 10}, {2, 6}, {6, 10}});       // snow
    return raw;
}

std::vector<int> Then(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

ColourPalette Scripted(const std::vector<int>& raw, int* used = nullptr) {
    ScriptedDraws draws(garden.random, raw);
    ColourPalette palette(garden.random);
    if (used) *used = draws.used;
    return palette;
}

// One entry filled afresh, by itself, from draws given as Channels takes them.
ColourRef Refill(void (ColourPalette::*fill)(), ColourRef ColourPalette::*entry,
                 std::initializer_list<std::pair<int, int>> valueAndRange) {
    ColourPalette p = Scripted(Then(FixedFills(), {DrawFor(1, 8)}));
    ScriptedDraws draws(garden.random, Channels(valueAndRange));
    (p.*fill)();
    return p.*entry;
}

}  // namespace

TEST(ColourPalette, FixedFillsComeFirstInOrder) {
    const ColourPalette p = Scripted(Then(FixedFills(), {DrawFor(1, 8)}));
    EXPECT_EQ(p.orangeColour, Rgb(150, 100, 30));
    EXPECT_EQ(p.goldColour, Rgb(230, 200, 20));
    EXPECT_EQ(p.greenColour, Rgb(60, 150, 89));
    EXPECT_EQ(p.snowColour, Rgb(250, 248, 252));
}

TEST(ColourPalette, VariantThresholds) {
    // Variant 0 petals are the red drawn after it, 1 the orange, 7 the snow.
    const int raw[] = {0, 4095, 4096, 32767};
    ColourRef ColourPalette::* const family[] = {&ColourPalette::redColour, &ColourPalette::redColour,
                                                  &ColourPalette::orangeColour, &ColourPalette::snowColour};
    for (int k = 0; k < 4; ++k) {
        const ColourPalette p = Scripted(Then(FixedFills(), {raw[k], 1000, 2000, 3000}));
        EXPECT_EQ(p.petalColour0, p.*family[k]) << "variant draw " << raw[k];
    }
}

TEST(ColourPalette, RedFamilyWithHeadsTakesTheComplement) {
    const ColourPalette p =
        Scripted(Then(FixedFills(), Then({DrawFor(0, 8)}, Then(Channels({{100, 156}, {30, 60}, {40, 60}}), {kHeads}))));
    EXPECT_EQ(p.redColour, Rgb(200, 30, 40));
    EXPECT_EQ(p.petalColour0, Rgb(200, 30, 40));
    EXPECT_EQ(p.petalColour1, Rgb(185, 30, 40));
    EXPECT_EQ(p.petalColour2, Rgb(170, 30, 40));
    EXPECT_EQ(p.discColour, Rgb(55, 225, 215));
}

TEST(ColourPalette, RedFamilyWithTailsDrawsAPinkCentre) {
    // Pink: e = 10, then 200 + 10 + 5, 170 + 10 + 3, 170 + 10 + 19.
    const auto pink = Channels({{10, 30}, {5, 26}, {3, 20}, {19, 20}});
    const ColourPalette p = Scripted(
        Then(FixedFills(), Then({DrawFor(0, 8)}, Then(Channels({{100, 156}, {30, 60}, {40, 60}}), Then({kTails}, pink)))));
    EXPECT_EQ(p.pinkColour, Rgb(215, 183, 199));
    EXPECT_EQ(p.discColour, p.pinkColour);
}

TEST(ColourPalette, OrangeTooBrownBecomesClearOrange) {
    EXPECT_EQ(Refill(&ColourPalette::RandomOrange, &ColourPalette::orangeColour, {{50, 130}, {100, 120}, {30, 40}}),
              Rgb(150, 100, 30));  // 130 is not above 150
    EXPECT_EQ(Refill(&ColourPalette::RandomOrange, &ColourPalette::orangeColour, {{20, 130}, {100, 120}, {30, 40}}),
              Rgb(220, 180, 30));
}

TEST(ColourPalette, GreenOutweighedBecomesFullGreen) {
    EXPECT_EQ(Refill(&ColourPalette::RandomGreen, &ColourPalette::greenColour, {{60, 90}, {40, 146}, {89, 90}}),
              Rgb(60, 150, 89));  // 149 is not above 150
    EXPECT_EQ(Refill(&ColourPalette::RandomGreen, &ColourPalette::greenColour, {{60, 90}, {30, 146}, {89, 90}}),
              Rgb(60, 255, 89));
}

TEST(ColourPalette, SharedLightnessDrawsComeFirst) {
    // Purple: e = 55 + 20, R = e + 100, G = 7, B = e + 3.
    EXPECT_EQ(Refill(&ColourPalette::RandomPurple, &ColourPalette::purpleColour, {{20, 50}, {100, 150}, {7, 50}, {3, 150}}),
              Rgb(175, 7, 78));
    // Gold: G is taken from the red just drawn.
    EXPECT_EQ(Refill(&ColourPalette::RandomGold, &ColourPalette::goldColour, {{54, 55}, {29, 30}, {49, 50}}),
              Rgb(254, 215, 49));
}

TEST(ColourPalette, BlueFamilyWithHeadsRedrawsGold) {
    const auto blue = Channels({{10, 60}, {20, 60}, {50, 156}});  // (30, 40, 150)
    const auto secondGold = Channels({{0, 55}, {0, 30}, {0, 50}});  // (200, 190, 0)
    const ColourPalette p =
        Scripted(Then(FixedFills(), Then({DrawFor(4, 8)}, Then(blue, Then({kHeads}, secondGold)))));
    EXPECT_EQ(p.petalColour0, Rgb(30, 40, 150));
    EXPECT_EQ(p.petalColour1, Rgb(20, 30, 140));
    EXPECT_EQ(p.petalColour2, Rgb(10, 20, 130));
    EXPECT_EQ(p.goldColour, Rgb(200, 190, 0));
    EXPECT_EQ(p.discColour, p.goldColour);
}

TEST(ColourPalette, WhiteFamilyRedrawsGoldForItsCentre) {
    const ColourPalette p = Scripted(Then(FixedFills(), Then({DrawFor(7, 8)}, Channels({{0, 55}, {0, 30}, {0, 50}}))));
    EXPECT_EQ(p.petalColour0, Rgb(250, 248, 252));
    EXPECT_EQ(p.petalColour1, Rgb(245, 243, 247));
    EXPECT_EQ(p.petalColour2, Rgb(240, 238, 242));
    EXPECT_EQ(p.goldColour, Rgb(200, 190, 0));
    EXPECT_EQ(p.discColour, p.goldColour);
}

TEST(ColourPalette, ShadesPerFamily) {
    // Gold shades R and G, purple R and B, pink all three by 5.
    const ColourPalette gold = Scripted(Then(FixedFills(), {DrawFor(3, 8), kHeads}));
    EXPECT_EQ(gold.petalColour1, Rgb(220, 190, 20));
    EXPECT_EQ(gold.petalColour2, Rgb(210, 180, 20));
    EXPECT_EQ(gold.discColour, gold.orangeColour);

    const ColourPalette orange = Scripted(Then(FixedFills(), {DrawFor(1, 8)}));
    EXPECT_EQ(orange.petalColour2, Rgb(120, 100, 30));
    EXPECT_EQ(orange.discColour, orange.goldColour);

    const ColourPalette purple = Scripted(
        Then(FixedFills(), Then({DrawFor(6, 8)}, Then(Channels({{20, 50}, {100, 150}, {7, 50}, {3, 150}}), {kTails}))));
    EXPECT_EQ(purple.petalColour1, Rgb(165, 7, 68));
    EXPECT_EQ(purple.petalColour2, Rgb(155, 7, 58));
    EXPECT_EQ(purple.discColour, purple.blueColour);

    const ColourPalette pink = Scripted(Then(FixedFills(), Then({DrawFor(2, 8)}, Channels({{10, 30}, {5, 26}, {3, 20}, {19, 20}}))));
    EXPECT_EQ(pink.petalColour1, Rgb(210, 178, 194));
    EXPECT_EQ(pink.discColour, pink.redColour);
}

TEST(ColourPalette, DrawCountPerVariantAndCoin) {
    // 12 fixed draws and the variant, then the variant's own draws.
    const int expected[8][2] = {
        // tails, heads
        {12 + 1 + 3 + 1 + 4, 12 + 1 + 3 + 1},  // red: pink only on tails
        {13, 13},                              // orange
        {13 + 7, 13 + 7},                      // pink, red
        {13 + 1 + 3, 13 + 1},                  // gold: blue only on tails
        {13 + 3 + 1 + 3, 13 + 3 + 1 + 3},      // blue, then pale blue or gold
        {13 + 6, 13 + 6},                      // pale blue, blue
        {13 + 4 + 1 + 3, 13 + 4 + 1 + 3},      // purple, then blue or red
        {13 + 3, 13 + 3},                      // gold again
    };
    for (int variant = 0; variant < 8; ++variant) {
        for (int heads = 0; heads < 2; ++heads) {
            // Every draw after the variant is the coin's value: channels
            // drawn from it stay in range either way.
            ScriptedDraws draws(garden.random, Then(FixedFills(), {DrawFor(variant, 8)}), heads ? kHeads : kTails);
            ColourPalette p(garden.random);
            EXPECT_EQ(draws.used, expected[variant][heads]) << "variant " << variant << " heads " << heads;
        }
    }
}

TEST(ColourPalette, EveryColourHasAZeroHighByte) {
    garden.random.Seed(7);
    for (int n = 0; n < 400; ++n) {
        const ColourPalette p(garden.random);
        const ColourRef named[13] = {p.petalColour0, p.petalColour1, p.petalColour2, p.discColour,
                                     p.redColour,    p.orangeColour, p.pinkColour,   p.goldColour,
                                     p.greenColour,  p.blueColour,   p.paleBlueColour, p.purpleColour,
                                     p.snowColour};
        for (int i = 0; i < 13; ++i) EXPECT_EQ(named[i] >> 24, 0u) << i;
        // The corrections keep orange orange and green green.
        EXPECT_LE(GreenOf(p.orangeColour) + BlueOf(p.orangeColour), RedOf(p.orangeColour));
        EXPECT_LE(RedOf(p.greenColour) + BlueOf(p.greenColour), GreenOf(p.greenColour));
        EXPECT_GE(RedOf(p.snowColour), 246u);
    }
}
