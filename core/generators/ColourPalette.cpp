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

// Entries in their fixed order, for readers that index them.
ColourRef ColourPalette::* const kEntries[13] = {
    &ColourPalette::petalColour0, &ColourPalette::petalColour1, &ColourPalette::petalColour2,
    &ColourPalette::discColour,   &ColourPalette::redColour,    &ColourPalette::orangeColour,
    &ColourPalette::pinkColour,   &ColourPalette::goldColour,   &ColourPalette::greenColour,
    &ColourPalette::blueColour,   &ColourPalette::paleBlueColour, &ColourPalette::purpleColour,
    &ColourPalette::snowColour,
};

}  // namespace

ColourPalette::ColourPalette(Random& random) : random_(random) { ChooseColours(); }

ColourRef ColourPalette::Entry(int index) const {
    if (index < 0 || index >= 13) return 0;
    return this->*kEntries[index];
}

// Each fill draws its channels in order, red first, each draw its own statement.

void ColourPalette::RandomRed() {
    const int r = random_.R(156) + 100;
    const int g = random_.R(60);
    const int b = random_.R(60);
    redColour = Rgb(r, g, b);
}

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

void ColourPalette::RandomBlue() {
    const int r = random_.R(60) + 20;
    const int g = random_.R(60) + 20;
    const int b = random_.R(156) + 100;
    blueColour = Rgb(r, g, b);
}

void ColourPalette::RandomPaleBlue() {
    const int r = 200 + random_.R(20);
    const int g = 200 + random_.R(20);
    const int b = 225 + random_.R(20);
    paleBlueColour = Rgb(r, g, b);
}

void ColourPalette::RandomPurple() {
    const int e = random_.R(50) + 55;  // shared by red and blue
    const int r = e + random_.R(150);
    const int g = random_.R(50);
    const int b = e + random_.R(150);
    purpleColour = Rgb(r, g, b);
}

void ColourPalette::RandomSnow() {
    const int r = 246 + random_.R(10);
    const int g = 246 + random_.R(6);
    const int b = 246 + random_.R(10);
    snowColour = Rgb(r, g, b);
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
            petalColour0 = redColour;
            petalColour1 = Shade(redColour, 15, 0, 0);
            petalColour2 = Shade(redColour, 30, 0, 0);
            if (random_.Coin()) {
                discColour = Complement(petalColour0);
            } else {
                RandomPink();
                discColour = pinkColour;
            }
            break;
        case 1:  // orange
            petalColour0 = orangeColour;
            petalColour1 = Shade(orangeColour, 15, 0, 0);
            petalColour2 = Shade(orangeColour, 30, 0, 0);
            discColour = goldColour;
            break;
        case 2:  // pink
            RandomPink();
            RandomRed();
            petalColour0 = pinkColour;
            petalColour1 = Shade(pinkColour, 5, 5, 5);
            petalColour2 = Shade(pinkColour, 10, 10, 10);
            discColour = redColour;
            break;
        case 3:  // gold
            petalColour0 = goldColour;
            petalColour1 = Shade(goldColour, 10, 10, 0);
            petalColour2 = Shade(goldColour, 20, 20, 0);
            if (random_.Coin()) {
                discColour = orangeColour;
            } else {
                RandomBlue();
                discColour = blueColour;
            }
            break;
        case 4:  // blue
            RandomBlue();
            petalColour0 = blueColour;
            petalColour1 = Shade(blueColour, 10, 10, 10);
            petalColour2 = Shade(blueColour, 20, 20, 20);
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
            petalColour0 = paleBlueColour;
            petalColour1 = Shade(paleBlueColour, 10, 10, 10);
            petalColour2 = Shade(paleBlueColour, 20, 20, 20);
            discColour = blueColour;
            break;
        case 6:  // purple
            RandomPurple();
            petalColour0 = purpleColour;
            petalColour1 = Shade(purpleColour, 10, 0, 10);
            petalColour2 = Shade(purpleColour, 20, 0, 20);
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
            petalColour0 = snowColour;
            petalColour1 = Shade(snowColour, 5, 5, 5);
            petalColour2 = Shade(snowColour, 10, 10, 10);
            discColour = goldColour;
            break;
    }
}

}  // namespace tessaly
