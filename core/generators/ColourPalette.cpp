#include "generators/ColourPalette.h"

#include "random/Random.h"

namespace tessaly {

namespace {

// Lighter or darker shades of a petal colour: subtract from the named channels.
// With the ranges drawn below no channel goes under 0.
ColourRef Shade(ColourRef c, uint32_t dr, uint32_t dg, uint32_t db) {
    return Rgb(RedOf(c) - dr, GreenOf(c) - dg, BlueOf(c) - db);
}

ColourRef Complement(ColourRef c) { return Rgb(255 - RedOf(c), 255 - GreenOf(c), 255 - BlueOf(c)); }

// A colour whose channels are each a base plus a draw below a range.
struct ChannelDraws {
    int base, range;
};
using ColourDraws = ChannelDraws[3];  // red, green, blue

constexpr ColourDraws kRedDraws = {{100, 156}, {0, 60}, {0, 60}};
constexpr ColourDraws kBlueDraws = {{20, 60}, {20, 60}, {100, 156}};
constexpr ColourDraws kPaleBlueDraws = {{200, 20}, {200, 20}, {225, 20}};
constexpr ColourDraws kSnowDraws = {{246, 10}, {246, 6}, {246, 10}};

// Red first, each draw its own statement: the order of draws is the garden's.
ColourRef DrawColour(Random& random, const ColourDraws& draws) {
    const int r = draws[0].base + random.R(draws[0].range);
    const int g = draws[1].base + random.R(draws[1].range);
    const int b = draws[2].base + random.R(draws[2].range);
    return Rgb(r, g, b);
}

}  // namespace

ColourPalette::ColourPalette(Random& random) : random_(random) { ChooseColours(); }

// Each fill draws its channels in order, red first, each draw its own statement.

void ColourPalette::RandomRed() { redColour = DrawColour(random_, kRedDraws); }

void ColourPalette::RandomOrange() {
    int r = random_.R(130) + 100;
    int g = random_.R(120);
    const int b = random_.R(40);
    // Too much green and blue reads as brown: fall back to a clear orange.
    if (g + b > r) {
        r = 220;
        g = 180;
    }
    orangeColour = Rgb(r, g, b);
}

void ColourPalette::RandomPink() {
    const int e = random_.R(30);  // one lightness for all three channels
    const int r = 200 + e + random_.R(26);
    const int g = 170 + e + random_.R(20);
    const int b = 170 + e + random_.R(20);
    pinkColour = Rgb(r, g, b);
}

void ColourPalette::RandomGold() {
    const int r = 200 + random_.R(55);
    const int g = r - 10 - random_.R(30);
    const int b = random_.R(50);
    goldColour = Rgb(r, g, b);
}

void ColourPalette::RandomGreen() {
    const int r = random_.R(90);
    int g = random_.R(146) + 110;
    const int b = random_.R(90);
    // Keep the leaves green: full green when red and blue together outweigh it.
    if (r + b > g) g = 255;
    greenColour = Rgb(r, g, b);
}

void ColourPalette::RandomBlue() { blueColour = DrawColour(random_, kBlueDraws); }

void ColourPalette::RandomPaleBlue() { paleBlueColour = DrawColour(random_, kPaleBlueDraws); }

void ColourPalette::RandomPurple() {
    const int e = random_.R(50) + 55;  // shared by red and blue
    const int r = e + random_.R(150);
    const int g = random_.R(50);
    const int b = e + random_.R(150);
    purpleColour = Rgb(r, g, b);
}

void ColourPalette::RandomSnow() { snowColour = DrawColour(random_, kSnowDraws); }

// The three rings: the colour, then shaded once and twice by the step.
void ColourPalette::SetPetals(ColourRef colour, uint32_t dr, uint32_t dg, uint32_t db) {
    petalColour0 = colour;
    petalColour1 = Shade(colour, dr, dg, db);
    petalColour2 = Shade(colour, 2 * dr, 2 * dg, 2 * db);
}

void ColourPalette::ChooseColours() {
    RandomOrange();
    RandomGold();
    RandomGreen();
    RandomSnow();

    const int variant = random_.R(8);
    switch (variant) {
        case 0:  // red
            RandomRed();
            SetPetals(redColour, 15, 0, 0);
            if (random_.Coin()) {
                discColour = Complement(petalColour0);
            } else {
                RandomPink();
                discColour = pinkColour;
            }
            break;
        case 1:  // orange
            SetPetals(orangeColour, 15, 0, 0);
            discColour = goldColour;
            break;
        case 2:  // pink
            RandomPink();
            RandomRed();
            SetPetals(pinkColour, 5, 5, 5);
            discColour = redColour;
            break;
        case 3:  // gold
            SetPetals(goldColour, 10, 10, 0);
            if (random_.Coin()) {
                discColour = orangeColour;
            } else {
                RandomBlue();
                discColour = blueColour;
            }
            break;
        case 4:  // blue
            RandomBlue();
            SetPetals(blueColour, 10, 10, 10);
            if (random_.Coin()) {
                RandomGold();  // redrawn: the fall leaves see this second gold
                discColour = goldColour;
            } else {
                RandomPaleBlue();
                discColour = paleBlueColour;
            }
            break;
        case 5:  // pale blue
            RandomPaleBlue();
            RandomBlue();
            SetPetals(paleBlueColour, 10, 10, 10);
            discColour = blueColour;
            break;
        case 6:  // purple
            RandomPurple();
            SetPetals(purpleColour, 10, 0, 10);
            if (random_.Coin()) {
                RandomRed();
                discColour = redColour;
            } else {
                RandomBlue();
                discColour = blueColour;
            }
            break;
        default:  // 7, white
            RandomGold();  // redrawn, as in the blue family
            SetPetals(snowColour, 5, 5, 5);
            discColour = goldColour;
            break;
    }
}

}  // namespace tessaly
