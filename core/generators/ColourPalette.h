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

    // The three rings and the disc, then the colours they come from.
    ColourRef petalColour0 = 0, petalColour1 = 0, petalColour2 = 0, discColour = 0;
    ColourRef redColour = 0, orangeColour = 0, pinkColour = 0, goldColour = 0, greenColour = 0;
    ColourRef blueColour = 0, paleBlueColour = 0, purpleColour = 0, snowColour = 0;

private:
    void SetPetals(ColourRef colour, uint32_t dr, uint32_t dg, uint32_t db);

    Random& random_;
};

}  // namespace tessaly
