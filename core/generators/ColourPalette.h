// Thirteen random colours drawn when a scene is built.
#pragma once

#include "base/Geometry.h"
#include "random/Random.h"

namespace tessaly {

class ColourPalette {
public:
    explicit ColourPalette(Random& random);  // runs ChooseColours

    void ChooseColours();
    void RandomRed();
    void RandomOrange();
    void RandomPink();
    void RandomGold();
    void RandomGreen();
    void RandomBlue();
    void RandomPaleBlue();
    void RandomPurple();
    void RandomSnow();

    ColourRef Entry(int index) const;  // 0..12, in the order below

    ColourRef petalColour0 = 0;    // 0
    ColourRef petalColour1 = 0;    // 1
    ColourRef petalColour2 = 0;    // 2
    ColourRef discColour = 0;      // 3
    ColourRef redColour = 0;       // 4
    ColourRef orangeColour = 0;    // 5
    ColourRef pinkColour = 0;      // 6
    ColourRef goldColour = 0;      // 7
    ColourRef greenColour = 0;     // 8
    ColourRef blueColour = 0;      // 9
    ColourRef paleBlueColour = 0;  // 10
    ColourRef purpleColour = 0;    // 11
    ColourRef snowColour = 0;      // 12

private:
    void SetPetals(ColourRef colour, uint32_t dr, uint32_t dg, uint32_t db);

    Random& random_;
};

}  // namespace tessaly
