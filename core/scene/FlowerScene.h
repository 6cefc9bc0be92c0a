// What the four flower scenes share: one SetColours, the stem-and-leaves
// pattern and the two head builders. Each scene supplies its own constants as
// a FlowerSceneRules table and writes its own BuildFigures, so that its random
// draws come in its own order.
#pragma once

#include <cstdint>

#include "generators/PointList.h"
#include "scene/Scene.h"

namespace tessaly {

// One band of leaf angles: base + sign x Q(spread).
struct LeafAngleBand {
    int32_t base;
    int32_t sign;  // +1 or -1
    int32_t spread;
};

// How a stemmed scene turns its leaves. The first angle is drawn from one of
// the two bands by a coin (upper band on heads) or, when `firstIsDrawn` is
// false, is the constant `firstAngle`. After each leaf an angle at or above
// `upperFrom` is followed by one from the lower band, any other by one from
// the upper band.
struct LeafAngleRule {
    bool firstIsDrawn;
    int32_t firstAngle;
    int32_t upperFrom;
    LeafAngleBand lower;
    LeafAngleBand upper;
};

// The triple-ring head's start size: (R(range) + offset) / divisor.
struct RingStartSize {
    int32_t range;
    int32_t offset;
    int32_t divisor;
};

struct FlowerSceneRules {
    bool hasStem;                   // loads stemLeafBrush and grows a stem with leaves
    bool basalStem;                 // all leaves at the foot (BuildBasalStem) or along the stem
    LeafAngleRule leafAngles;       // stemmed scenes only
    RingStartSize tripleRingStart;  // start size of the three rings
    int32_t singleRingDivisor;      // the single ring's size is n / divisor
    bool forcePetalShape;           // single ring: profile 4 and the extra halving
};

class FlowerScene : public Scene {
public:
    void SetColours(CPen* pen, PenBrushSet* brushes) override;

    int32_t petalsPerRing = 0;

protected:
    FlowerScene(GardenState& gardenState, const FlowerSceneRules& rules) : Scene(gardenState), rules_(rules) {}

    virtual void BuildFigures() = 0;

    // A coin chooses the head: three rings of petals, or one ring around a disc.
    void BuildHead(int cx, int cy, int n);
    // `size` is the plant size; the triple ring draws its own start size instead.
    void BuildTripleRingHead(int cx, int cy, int size);
    void BuildSingleRingHead(int cx, int cy, int size);
    // Every head: next petal shape and ring step, rotation back to 0; sets
    // petalsPerRing and returns the angle step.
    int32_t StartHead();
    // One ring of petals from the current rotation, each tucked against the first.
    void PushPetalRing(int cx, int cy, int size, double width, int32_t step, int32_t colourIndex);

    const FlowerSceneRules& Rules() const { return rules_; }

private:
    const FlowerSceneRules& rules_;
};

// The three flowers that grow from the bottom edge on a stem with leaves.
class StemmedFlowerScene : public FlowerScene {
public:
    PointList leafNodes;

protected:
    StemmedFlowerScene(GardenState& gardenState, const FlowerSceneRules& rules)
        : FlowerScene(gardenState, rules) {}

    // Stem from the foot (x, logicalHeight) of height h, its leaves of width w,
    // then the head on the stem's top point.
    void BuildStemmedFlower(int x, int h, int n, double w);
};

// The running values each head advances before its petals.
void AdvancePetalShape(GardenState& state);
int32_t AdvanceRingStep(GardenState& state);  // returns the angle step of the new index

}  // namespace tessaly
