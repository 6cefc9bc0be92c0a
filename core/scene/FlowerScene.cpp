#include "scene/FlowerScene.h"

#include "base/Geometry.h"
#include "figures/Figure.h"
#include "generators/ProfileBuilder.h"
#include "generators/RunningValues.h"
#include "generators/StemBuilder.h"

namespace tessaly {

namespace {

constexpr int32_t kLastPetalShape = 5;
constexpr int32_t kFirstRingStep = 2;  // ringAngleSteps indices the heads use: 2..8
constexpr int32_t kLastRingStep = 8;
constexpr int32_t kForcedPetalShape = 4;

int DrawLeafAngle(Random& random, const LeafAngleBand& band) {
    return band.base + band.sign * random.Q(band.spread);
}

// Wide petals are halved on rings of few steps (index under `fewBelow`),
// narrow ones doubled on rings of many (index over 6).
double FitPetalWidth(double width, int32_t stepIndex, int32_t fewBelow, double wideAbove) {
    if (stepIndex < fewBelow && width > wideAbove) return width / 2;
    if (stepIndex > 6 && width < 0.3) return width * 2;
    return width;
}

}  // namespace

void AdvancePetalShape(GardenState& state) {
    ++state.petalShape;
    if (state.petalShape > kLastPetalShape) state.petalShape = 0;
}

int32_t AdvanceRingStep(GardenState& state) {
    ++state.ringStepIndex;
    if (state.ringStepIndex > kLastRingStep || state.ringStepIndex < kFirstRingStep) state.ringStepIndex = kFirstRingStep;
    return ringAngleSteps[state.ringStepIndex];
}

void FlowerScene::SetColours(CPen* pen, PenBrushSet* brushes) {
    AssignStockObject(*pen, kStockBlackPen);
    if (rules_.hasStem) ReplaceSolidBrush(brushes->stemLeafBrush, palette->greenColour);
    ReplaceSolidBrush(brushes->petalBrush0, palette->petalColour0);
    ReplaceSolidBrush(brushes->petalBrush1, palette->petalColour1);
    ReplaceSolidBrush(brushes->petalBrush2, palette->petalColour2);
    ReplaceSolidBrush(brushes->discBrush, palette->discColour);
}

void FlowerScene::BuildHead(int cx, int cy, int n) {
    if (Coin()) {
        BuildTripleRingHead(cx, cy, n);
    } else {
        BuildSingleRingHead(cx, cy, n);
    }
}

int32_t FlowerScene::StartHead() {
    AdvancePetalShape(state);
    state.shapeRotation = 0;
    const int32_t step = AdvanceRingStep(state);
    petalsPerRing = 360 / step;
    return step;
}

void FlowerScene::PushPetalRing(int cx, int cy, int size, double width, int32_t step, int32_t colourIndex) {
    Figure* first = nullptr;
    for (int j = 0; j < petalsPerRing; ++j) {
        figures.Push(std::make_unique<PetalFigure>());
        Figure* petal = figures.Newest();
        if (j == 0) first = petal;
        FillPetal(*petal, *first, width, state.shapeRotation, size, cx, cy, state.petalShape,
                  ringAngleSteps[state.ringStepIndex]);
        petal->colourIndex = colourIndex;
        state.shapeRotation += step;
    }
}

void FlowerScene::BuildTripleRingHead(int cx, int cy, int /*size: the rings draw their own*/) {
    const RingStartSize& start = rules_.tripleRingStart;
    const int drawn = R(start.range);
    int size = (drawn + start.offset) / start.divisor;
    double width = F(0.4, 0.1);
    const int32_t step = StartHead();
    width = FitPetalWidth(width, state.ringStepIndex, 6, 0.3);

    for (int ring = 0; ring < 3; ++ring) {
        // Odd rings are turned by half a step, so their petals sit in the gaps.
        state.shapeRotation = (ring % 2 == 1) ? step / 2 : 0;
        PushPetalRing(cx, cy, size, width, step, ring);
        size = size - 1;
    }
}

void FlowerScene::BuildSingleRingHead(int cx, int cy, int size) {
    size = size / rules_.singleRingDivisor;
    double width = F(0.4, 0.1);
    const int32_t step = StartHead();
    width = FitPetalWidth(width, state.ringStepIndex, 5, 0.4);
    if (rules_.forcePetalShape) {
        state.petalShape = kForcedPetalShape;
        if (state.ringStepIndex > 5 && width > 0.4) width = width * 0.5;
    }
    PushPetalRing(cx, cy, size, width, step, 0);

    auto disc = std::make_unique<DiscFigure>();
    const int r = Rand();
    const int radius = r * size * 10 / 32768 + 1;
    disc->SetCircle(cx, cy, radius);
    figures.Push(std::move(disc));
}

void StemmedFlowerScene::BuildStemmedFlower(int x, int h, int n, double w) {
    figures.Push(std::make_unique<PolylineFigure>());
    Figure* stem = figures.Newest();
    if (Rules().basalStem) {
        BuildBasalStem(state.random, stem->points, stem->pointCount, leafNodes.items, leafNodes.count, h,
                       static_cast<double>(n), x, logicalHeight);
    } else {
        BuildStem(state.random, stem->points, stem->pointCount, leafNodes.items, leafNodes.count, h,
                  static_cast<double>(n), x, logicalHeight);
    }

    const int profile = Coin() ? 1 : 3;
    const LeafAngleRule& angles = Rules().leafAngles;
    int a = angles.firstAngle;
    if (angles.firstIsDrawn) {
        if (Coin()) {
            a = DrawLeafAngle(state.random, angles.upper);
        } else {
            a = DrawLeafAngle(state.random, angles.lower);
        }
    }

    for (int i = 0; i < leafNodes.count; ++i) {
        figures.Push(std::make_unique<StemLeafFigure>());
        Figure* leaf = figures.Newest();
        const int t = Q(5) + 1;
        int leafSize = n;
        if (t == 1) {
            leafSize = n + 1;
        } else if (t == 2) {
            leafSize = n - 1;
        }
        const Point& node = leafNodes.items[i];
        FillFromProfile(*leaf, w, a, static_cast<double>(leafSize), node.x, node.y, profile);
        a = (a >= angles.upperFrom) ? DrawLeafAngle(state.random, angles.lower) : DrawLeafAngle(state.random, angles.upper);
    }

    // The stem builder leaves the stem's top point just past its counted points.
    const Point top = stem->points[stem->pointCount];
    BuildHead(top.x, top.y, n);
}

}  // namespace tessaly
