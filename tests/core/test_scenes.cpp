// The six scenes: what each queues, in which order, from which draws, and
// how they advance the running values and load the canvas's brushes.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "support/Fakes.h"
#include "device/PortableGdiObjects.h"
#include "figures/Figure.h"
#include "generators/ColourPalette.h"
#include "generators/OutlineTemplates.h"
#include "generators/ProfileBuilder.h"
#include "generators/RunningValues.h"
#include "state/GardenState.h"
#include "scene/BasalLeafFlowerScene.h"
#include "scene/BroadLeafFlowerScene.h"
#include "scene/FallLeavesScene.h"
#include "scene/FlowerHeadScene.h"
#include "scene/NarrowLeafFlowerScene.h"
#include "scene/SceneCycle.h"
#include "scene/SnowScene.h"

namespace tessaly {
namespace {

// The garden these tests build in; each test starts it afresh.
GardenState garden;

using testing::ScriptedRandom;
using Figures = std::vector<std::unique_ptr<Figure>>;

// A new figure of the kind of `f`.
template <class... Kinds>
std::unique_ptr<Figure> NewOfKind(const Figure& f) {
    std::unique_ptr<Figure> made;
    ((dynamic_cast<const Kinds*>(&f) != nullptr ? void(made = std::make_unique<Kinds>()) : void()), ...);
    return made;
}

// Copies every figure of a scene's queue, oldest first (its kind, every point
// it stores, its colour, a disc's circle), and empties the queue.
Figures TakeFigures(Scene& scene) {
    Figures taken;
    for (; scene.figures.Size() > 0; scene.figures.PopOldest()) {
        const Figure& f = *scene.figures.Oldest();
        auto copy = NewOfKind<PolylineFigure, StemLeafFigure, FallLeafFigure, PetalFigure, SnowflakeFigure,
                              DiscFigure>(f);
        for (int i = 0; i < kFigurePointCapacity; ++i) copy->points[i] = f.points[i];
        copy->pointCount = f.pointCount;
        copy->colourIndex = f.colourIndex;
        if (const auto* disc = dynamic_cast<const DiscFigure*>(&f)) {
            auto& to = static_cast<DiscFigure&>(*copy);
            to.bounds = disc->bounds;
            to.radius = disc->radius;
            to.centre = disc->centre;
        }
        taken.push_back(std::move(copy));
    }
    return taken;
}

template <class T>
bool Is(const std::unique_ptr<Figure>& f) {
    return dynamic_cast<T*>(f.get()) != nullptr;
}

bool SamePoints(const Figure& a, const Figure& b) {
    if (a.pointCount != b.pointCount) return false;
    for (int i = 0; i < a.pointCount; ++i)
        if (a.points[i] != b.points[i]) return false;
    return true;
}

// How many draws a palette makes for a given seed: the scene's own draws
// start right after them.
std::size_t PaletteDraws(uint32_t seed) {
    ScriptedRandom random(garden.random, seed);
    ColourPalette palette(garden.random);
    return random.Count();
}

class Scenes : public ::testing::Test {
protected:
    void SetUp() override {
        garden = GardenState{};
        garden.random.Seed(20240601);
    }
    void TearDown() override {
        garden.random.SetSource({});
        garden = GardenState{};
    }
};

// The head at the end of a flower's queue, from index `first` on: three rings
// of petalsPerRing petals coloured 0, 1, 2, or one ring of colour 0 and a disc.
void ExpectHead(const Figures& figures, std::size_t first, int petalsPerRing) {
    const std::size_t petals = figures.size() - first;
    const bool single = Is<DiscFigure>(figures.back());
    if (single) {
        ASSERT_EQ(petals, static_cast<std::size_t>(petalsPerRing) + 1);
        EXPECT_GE(static_cast<DiscFigure&>(*figures.back()).radius, 1);
    } else {
        ASSERT_EQ(petals, static_cast<std::size_t>(3 * petalsPerRing));
    }
    for (std::size_t i = first; i < first + petalsPerRing * (single ? 1 : 3); ++i) {
        ASSERT_TRUE(Is<PetalFigure>(figures[i])) << i;
        EXPECT_EQ(figures[i]->colourIndex, single ? 0 : static_cast<int>((i - first) / petalsPerRing));
    }
}

template <class S>
void ExpectStemmedFlower(int minHeight, int maxHeight, bool basal) {
    for (int k = 0; k < 30; ++k) {
        S scene(garden);
        const int leafCount = scene.leafNodes.count;
        const int petalsPerRing = scene.petalsPerRing;
        Figures figures = TakeFigures(scene);
        ASSERT_TRUE(Is<PolylineFigure>(figures[0]));
        const Figure& stem = *figures[0];
        EXPECT_GE(stem.pointCount, minHeight);
        EXPECT_LE(stem.pointCount, maxHeight);
        EXPECT_EQ(stem.points[0].y, logicalHeight);  // grows from the bottom edge
        if (basal) {
            ASSERT_EQ(leafCount, 5);
            for (int i = 0; i < 5; ++i) EXPECT_EQ(scene.leafNodes.items[i], stem.points[0]);
        } else {
            ASSERT_GE(leafCount, 1);
            EXPECT_EQ(scene.leafNodes.items[0], stem.points[0]);
        }
        for (int i = 1; i <= leafCount; ++i) ASSERT_TRUE(Is<StemLeafFigure>(figures[i])) << i;
        ExpectHead(figures, 1 + leafCount, petalsPerRing);
        if (Is<DiscFigure>(figures.back())) {
            // The head sits on the stem's top point.
            EXPECT_EQ(static_cast<DiscFigure&>(*figures.back()).centre, stem.points[stem.pointCount]);
        }
    }
}

TEST_F(Scenes, BasalLeafFlowerQueuesStemFiveFootLeavesAndHead) {
    ExpectStemmedFlower<BasalLeafFlowerScene>(126, 619, true);
}

TEST_F(Scenes, NarrowLeafFlowerQueuesStemLeavesAndHead) {
    ExpectStemmedFlower<NarrowLeafFlowerScene>(150, 949, false);
}

TEST_F(Scenes, BroadLeafFlowerQueuesStemLeavesAndHead) {
    ExpectStemmedFlower<BroadLeafFlowerScene>(190, 989, false);
}

TEST_F(Scenes, FlowerHeadSceneQueuesOnlyAHead) {
    for (int k = 0; k < 30; ++k) {
        FlowerHeadScene scene(garden);
        const int petalsPerRing = scene.petalsPerRing;
        Figures figures = TakeFigures(scene);
        ExpectHead(figures, 0, petalsPerRing);
    }
}

TEST_F(Scenes, PetalsPerRingFollowTheStepCycleWhateverTheKind) {
    const SceneKind kinds[] = {SceneKind::BasalLeafFlower, SceneKind::FlowerHead, SceneKind::NarrowLeafFlower,
                               SceneKind::BroadLeafFlower, SceneKind::FlowerHead, SceneKind::BasalLeafFlower,
                               SceneKind::NarrowLeafFlower, SceneKind::BroadLeafFlower, SceneKind::FlowerHead};
    const int expected[] = {4, 15, 12, 9, 8, 6, 5, 4, 15};
    for (int i = 0; i < 9; ++i) {
        std::unique_ptr<Scene> scene = CreateScene(kinds[i], garden);
        EXPECT_EQ(static_cast<FlowerScene&>(*scene).petalsPerRing, expected[i]) << "head " << i + 1;
        EXPECT_EQ(garden.shapeRotation, 360) << "head " << i + 1;
        // Leaves and snow between flowers leave the step cycle alone.
        CreateScene(i % 2 ? SceneKind::Snow : SceneKind::FallLeaves, garden);
    }
}

TEST_F(Scenes, PetalShapeAdvancesPerHeadUnlessForced) {
    const int expected[] = {1, 2, 3, 4, 5, 0, 1};
    for (int shape : expected) {
        FlowerHeadScene scene(garden);
        EXPECT_EQ(garden.petalShape, shape);
    }
}

// Builds scenes of kind S from successive seeds until one has the wanted head.
template <class S>
std::unique_ptr<S> BuildWithHead(bool single) {
    for (uint32_t seed = 1; seed < 200; ++seed) {
        garden = GardenState{};
        garden.random.Seed(seed);
        auto scene = std::make_unique<S>(garden);
        Figures figures = TakeFigures(*scene);
        if (Is<DiscFigure>(figures.back()) == single) return scene;
    }
    return nullptr;
}

TEST_F(Scenes, SingleRingHeadsOfBasalAndNarrowFlowersForceShapeFour) {
    ASSERT_NE(BuildWithHead<BasalLeafFlowerScene>(true), nullptr);
    EXPECT_EQ(garden.petalShape, 4);
    FlowerHeadScene next(garden);
    EXPECT_EQ(garden.petalShape, 5);

    ASSERT_NE(BuildWithHead<NarrowLeafFlowerScene>(true), nullptr);
    EXPECT_EQ(garden.petalShape, 4);

    // Their triple rings, and the single rings of the other two kinds, are not forced.
    ASSERT_NE(BuildWithHead<BasalLeafFlowerScene>(false), nullptr);
    EXPECT_EQ(garden.petalShape, 1);
    ASSERT_NE(BuildWithHead<BroadLeafFlowerScene>(true), nullptr);
    EXPECT_EQ(garden.petalShape, 1);
    ASSERT_NE(BuildWithHead<FlowerHeadScene>(true), nullptr);
    EXPECT_EQ(garden.petalShape, 1);
}

// Builds a flower head with the step index about to become `index` and the
// width draw `widthDraw`; returns whether its first petal has width `factor`
// times the drawn width (and not the drawn width itself).
bool HeadPetalWidthScaledBy(bool triple, int index, int widthDraw, double factor) {
    const uint32_t seed = 11;
    garden = GardenState{};
    garden.ringStepIndex = index - 1;
    const std::size_t k = PaletteDraws(seed);
    ScriptedRandom random(garden.random, seed);
    random.Override(k + 3, triple ? 16384 : 0);  // the head's coin
    const std::size_t widthAt = triple ? k + 5 : k + 4;
    random.Override(widthAt, widthDraw);
    FlowerHeadScene scene(garden);
    const std::vector<int> d = random.Drawn();
    Figures figures = TakeFigures(scene);
    const int cx = d[k] * 1400 / 32768, cy = d[k + 1] * 1400 / 32768;
    const int size = triple ? d[k + 4] * 4 / 32768 + 4 : d[k + 2] * 8 / 32768 + 2;
    const double drawn = widthDraw * 0.4 / 32768.0 + 0.1;
    PetalFigure scaled, plain;
    FillPetal(scaled, scaled, drawn * factor, 0, size, cx, cy, garden.petalShape, ringAngleSteps[garden.ringStepIndex]);
    FillPetal(plain, plain, drawn, 0, size, cx, cy, garden.petalShape, ringAngleSteps[garden.ringStepIndex]);
    return SamePoints(*figures[0], scaled) && (factor == 1.0 || !SamePoints(*figures[0], plain));
}

TEST_F(Scenes, HeadWidthRulesDifferBetweenTheBuilders) {
    const int w035 = 20480;  // 0.35
    const int w025 = 12288;  // 0.25
    const int w045 = 28672;  // 0.45
    EXPECT_TRUE(HeadPetalWidthScaledBy(true, 4, w035, 0.5));   // triple: index < 6, above 0.3
    EXPECT_TRUE(HeadPetalWidthScaledBy(false, 4, w035, 1.0));  // single: not above 0.4
    EXPECT_TRUE(HeadPetalWidthScaledBy(false, 4, w045, 0.5));
    EXPECT_TRUE(HeadPetalWidthScaledBy(true, 8, w025, 2.0));   // both: index > 6, below 0.3
    EXPECT_TRUE(HeadPetalWidthScaledBy(false, 8, w025, 2.0));
    EXPECT_TRUE(HeadPetalWidthScaledBy(true, 6, w035, 1.0));   // index 6: neither
    EXPECT_TRUE(HeadPetalWidthScaledBy(false, 6, w045, 1.0));
}

TEST_F(Scenes, BasalSizeMeasureByFootPosition) {
    struct Row {
        int x;
        double dtemp;
        int adjust_factor;
    };
    const Row rows[] = {
        {0, 1000, 2},       {108, 1000, 2},     {109, 997.946, 2}, {205, 700.071, 2},  {206, 697.246, 3},
        {300, 457.143, 4},  {400, 257.143, 6},  {500, 114.286, 13}, {650, 7.14286, 100}, {700, 0.01, 100},
        {1194, 697.246, 3}, {1195, 700.071, 2}, {1399, 1000, 2},
    };
    for (const Row& row : rows) {
        const double dtemp = BasalLeafFlowerScene::DistanceMeasure(row.x);
        EXPECT_NEAR(dtemp, row.dtemp, 0.001) << row.x;
        EXPECT_EQ(BasalLeafFlowerScene::AdjustFactor(dtemp), row.adjust_factor) << row.x;
    }
}

// Builds a basal flower whose foot draw is `footDraw`; returns the stem height.
int BasalHeightWithFootDraw(uint32_t seed, int footDraw, int* plantSizeDraw, int* heightDraw) {
    const std::size_t k = PaletteDraws(seed);
    ScriptedRandom random(garden.random, seed);
    random.Override(k, footDraw);
    BasalLeafFlowerScene scene(garden);
    *plantSizeDraw = random.Drawn()[k + 1];
    *heightDraw = random.Drawn()[k + 2];
    Figures figures = TakeFigures(scene);
    return figures[0]->pointCount;
}

TEST_F(Scenes, BasalFlowerNearTheMiddleStaysShort) {
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        int nDraw = 0, hDraw = 0;
        // 16384 x 1400 / 32768 = 700: the middle, factor 100, n always 4.
        const int h = BasalHeightWithFootDraw(seed, 16384, &nDraw, &hDraw);
        EXPECT_EQ(h, (hDraw * 800 / 32768 + 190) / 100 + 125);
        EXPECT_GE(h, 126);
        EXPECT_LE(h, 134);
        // 11703 x 1400 / 32768 = 500: factor 13, 20 / 13 = 1, still n = 4.
        const int h500 = BasalHeightWithFootDraw(seed, 11703, &nDraw, &hDraw);
        EXPECT_EQ(h500, (hDraw * 800 / 32768 + 190) / 13 + 125);
        // At the edge (x = 0) the factor is 2 and the plant reaches 619.
        const int h0 = BasalHeightWithFootDraw(seed, 0, &nDraw, &hDraw);
        EXPECT_EQ(h0, (hDraw * 800 / 32768 + 190) / 2 + 125);
    }
}

// The angles, among `candidates`, at which a leaf of plant size n and width w
// on `node` reproduces `leaf` for a leaf size n - 1, n or n + 1 and profile 1 or 3.
std::set<int> LeafAngles(const Figure& leaf, double w, int n, Point node, int lo, int hi) {
    std::set<int> angles;
    StemLeafFigure probe;
    for (int a = lo; a <= hi; ++a)
        for (int size = n - 1; size <= n + 1; ++size)
            for (int profile : {1, 3}) {
                FillFromProfile(probe, w, a, size, node.x, node.y, profile);
                if (SamePoints(probe, leaf)) angles.insert(a);
            }
    return angles;
}

struct LeafBands {
    int lowerMin, lowerMax, upperMin, upperMax, upperFrom;
};

// Recovers each leaf's angle where it is unambiguous and checks the band rule:
// an angle at or above upperFrom is followed by a lower one, any other by an upper one.
void ExpectLeafAngles(StemmedFlowerScene& scene, const Figures& figures, double w, int n, const LeafBands& bands,
                      int* checkedPairs) {
    int previous = -1;
    for (int i = 0; i < scene.leafNodes.count; ++i) {
        std::set<int> angles = LeafAngles(*figures[1 + i], w, n, scene.leafNodes.items[i], 90, 270);
        ASSERT_FALSE(angles.empty()) << "leaf " << i;
        const int a = angles.size() == 1 ? *angles.begin() : -1;
        if (a >= 0) {
            const bool lower = a >= bands.lowerMin && a <= bands.lowerMax;
            const bool upper = a >= bands.upperMin && a <= bands.upperMax;
            EXPECT_TRUE(lower || upper) << a;
            if (previous >= 0) {
                ++*checkedPairs;
                if (previous >= bands.upperFrom) {
                    EXPECT_TRUE(lower) << previous << " then " << a;
                } else {
                    EXPECT_TRUE(upper) << previous << " then " << a;
                }
            }
        }
        previous = a;
    }
}

// Each stemmed kind over eight seeds: the plant's size n, the leaf width w and
// the stem height as drawn, and every leaf angle within the kind's bands.
template <class S>
int CheckLeafBands(int nRange, int nOffset, std::size_t wAt, double wRange, double wOffset, int heightOffset,
                   LeafBands bands, bool footAtEdge) {
    int checked = 0;
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        const std::size_t k = PaletteDraws(seed);
        ScriptedRandom random(garden.random, seed);
        if (footAtEdge) random.Override(k, 0);  // factor 2, larger leaves
        S scene(garden);
        const std::vector<int> drawn = random.Drawn();
        const int n = drawn[k + 1] * nRange / 32768 + nOffset;
        const double w = drawn[k + wAt] * wRange / 32768.0 + wOffset;
        Figures figures = TakeFigures(scene);
        if (heightOffset > 0) {
            EXPECT_EQ(figures[0]->pointCount, drawn[k + 3] * 800 / 32768 + heightOffset);
        }
        if (bands.lowerMin == 106) {  // broad leaves: the first stands at 110
            EXPECT_EQ(LeafAngles(*figures[1], w, n, scene.leafNodes.items[0], 110, 110).size(), 1u);
        }
        ExpectLeafAngles(scene, figures, w, n, bands, &checked);
    }
    return checked;
}

TEST_F(Scenes, LeavesKeepToTheirKindsBands) {
    EXPECT_GT(CheckLeafBands<NarrowLeafFlowerScene>(5, 5, 2, 0.04, 0.04, 150, {136, 156, 204, 224, 190}, false), 10);
    EXPECT_GT(CheckLeafBands<BasalLeafFlowerScene>(10, 4, 3, 0.04, 0.06, 0, {141, 181, 179, 219, 190}, true), 10);
    // Broad leaves start at 110, then alternate.
    EXPECT_GT(CheckLeafBands<BroadLeafFlowerScene>(6, 2, 2, 0.2, 0.08, 190, {106, 111, 246, 251, 240}, false), 5);
}

// Builds a scattered scene (fall leaves, snow) from a seed, the rotation at
// 60, and checks its figures in turn: the i-th has pointCounts[i] points and
// `drawsEach` draws of its own, x and y first, turns the rotation by 25 and
// matches what `fill(expected, i, angle, x, y, its draws)` draws.
template <class S, class F, class Fill>
void CheckScattered(uint32_t seed, std::size_t drawsEach, const std::vector<int>& pointCounts, Fill fill) {
    garden.shapeRotation = 60;
    const std::size_t k = PaletteDraws(seed);
    ScriptedRandom random(garden.random, seed);
    S scene(garden);
    const int count = static_cast<int>(pointCounts.size());
    ASSERT_EQ(random.Count(), k + drawsEach * count);
    EXPECT_EQ(garden.shapeRotation, 60 + 25 * count);
    const std::vector<int> d = random.Drawn();
    Figures figures = TakeFigures(scene);
    ASSERT_EQ(figures.size(), pointCounts.size());
    for (int i = 0; i < count; ++i) {
        ASSERT_TRUE(Is<F>(figures[i]));
        EXPECT_EQ(figures[i]->pointCount, pointCounts[i]);
        const int* own = &d[k + drawsEach * i];
        F expected;
        fill(expected, i, 60 + 25 * (i + 1), own[0] * 1400 / 32768, own[1] * 1400 / 32768, own);
        EXPECT_TRUE(SamePoints(*figures[i], expected)) << "seed " << seed << " figure " << i;
    }
}

TEST_F(Scenes, FallLeavesAreOutlineAThenOutlineBThenAProfileLeaf) {
    // x, y, size and then the stretch of an outline or the width of a profile.
    auto fill = [](FallLeafFigure& leaf, int i, int angle, int x, int y, const int* d) {
        const double size = d[2] * 12 / 32768 + 6;
        if (i < 2) {
            FillFromOutline(leaf, d[3] * 0.3 / 32768.0 + 0.3, angle, size, x, y, i);
        } else {
            FillFromProfile(leaf, d[3] * 0.2 / 32768.0 + 0.05, angle, size, x, y, 1);
        }
    };
    for (uint32_t seed : {3u, 4u}) CheckScattered<FallLeavesScene, FallLeafFigure>(seed, 4, {33, 61, 100}, fill);
}

TEST_F(Scenes, SnowFlakesTakeTheThreeStarsInTurn) {
    auto fill = [](SnowflakeFigure& flake, int i, int angle, int x, int y, const int* d) {
        FillFromOutline(flake, 1.0, angle, d[2] * 10 / 32768 + 2, x, y, 2 + i % 3);
    };
    for (uint32_t seed : {5u, 6u}) CheckScattered<SnowScene, SnowflakeFigure>(seed, 3, std::vector<int>(21, 12), fill);
}

// The palette's colours, numbered as the slot cases below name them.
ColourRef ColourPalette::* const kPaletteEntries[] = {
    &ColourPalette::petalColour0, &ColourPalette::petalColour1,   &ColourPalette::petalColour2,
    &ColourPalette::discColour,   &ColourPalette::redColour,      &ColourPalette::orangeColour,
    &ColourPalette::pinkColour,   &ColourPalette::goldColour,     &ColourPalette::greenColour,
    &ColourPalette::blueColour,   &ColourPalette::paleBlueColour, &ColourPalette::purpleColour,
    &ColourPalette::snowColour};

// Gives every palette entry its own colour, so a brush shows where it came from.
void MarkPalette(Scene& scene) {
    for (int i = 0; i < 13; ++i) (*scene.palette).*kPaletteEntries[i] = Rgb(i + 1, 0, 0);
}

ColourRef BrushColour(const CBrush& brush) { return PortableGdiObjects::Record(brush.GetSafeHandle())->colour; }

TEST_F(Scenes, FallLeafColourIsGoldUpToTheThreshold) {
    FallLeavesScene scene(garden);
    MarkPalette(scene);
    testing::RecordingObjects<PortableGdiObjects> objects;
    CPen pen(objects);
    PenBrushSet brushes(objects);
    for (int r : {0, 10922, 10923, 32767}) {
        garden.random.SetSource([r] { return r; });
        scene.SetColours(&pen, &brushes);
        EXPECT_EQ(BrushColour(brushes.fallLeafBrush), r <= 10922 ? scene.palette->goldColour
                                                                 : scene.palette->orangeColour)
            << r;
        EXPECT_EQ(objects.live.size(), 1u);
    }
    EXPECT_EQ(pen.GetSafeHandle(), objects.GetStockObject(kStockBlackPen));
}

TEST_F(Scenes, SetColoursLoadsTheSlotsOfItsFiguresOnePerPaint) {
    struct Case {
        SceneKind kind;
        int pen;
        std::vector<int> slots;         // in the order they are loaded
        std::vector<int> paletteEntry;  // colour of each
    };
    const Case cases[] = {
        {SceneKind::BasalLeafFlower, kStockBlackPen, {0, 3, 4, 5, 2}, {8, 0, 1, 2, 3}},
        {SceneKind::NarrowLeafFlower, kStockBlackPen, {0, 3, 4, 5, 2}, {8, 0, 1, 2, 3}},
        {SceneKind::BroadLeafFlower, kStockBlackPen, {0, 3, 4, 5, 2}, {8, 0, 1, 2, 3}},
        {SceneKind::FlowerHead, kStockBlackPen, {3, 4, 5, 2}, {0, 1, 2, 3}},
        {SceneKind::Snow, kStockWhitePen, {6}, {12}},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Scene> scene = CreateScene(c.kind, garden);
        MarkPalette(*scene);
        testing::RecordingObjects<PortableGdiObjects> objects;
        {
            CPen pen(objects);
            PenBrushSet brushes(objects);
            CBrush* slots[] = {&brushes.stemLeafBrush, &brushes.fallLeafBrush, &brushes.discBrush,
                               &brushes.petalBrush0,   &brushes.petalBrush1,   &brushes.petalBrush2,
                               &brushes.snowflakeBrush};
            for (int paint = 1; paint <= 2; ++paint) {
                scene->SetColours(&pen, &brushes);
                EXPECT_EQ(pen.GetSafeHandle(), objects.GetStockObject(c.pen)) << SceneKindName(c.kind);
                EXPECT_EQ(objects.live.size(), c.slots.size()) << SceneKindName(c.kind);
                EXPECT_EQ(objects.Created().size(), paint * c.slots.size());
            }
            std::set<int> loaded(c.slots.begin(), c.slots.end());
            for (int s = 0; s < 7; ++s) EXPECT_EQ(slots[s]->GetSafeHandle() != nullptr, loaded.count(s) == 1) << s;
            for (std::size_t i = 0; i < c.slots.size(); ++i) {
                const ColourRef want = (*scene->palette).*kPaletteEntries[c.paletteEntry[i]];
                EXPECT_EQ(BrushColour(*slots[c.slots[i]]), want);
                EXPECT_EQ(objects.Created()[i], want) << SceneKindName(c.kind) << " load " << i;
            }
        }
        EXPECT_TRUE(objects.live.empty());
        TakeFigures(*scene);
    }
}

TEST_F(Scenes, PlainSceneIsEmptyAndSetsNoColours) {
    Scene scene(garden);
    EXPECT_EQ(scene.figures.Size(), 0u);
    EXPECT_EQ(scene.palette, nullptr);
    testing::RecordingObjects<PortableGdiObjects> objects;
    CPen pen(objects);
    PenBrushSet brushes(objects);
    scene.SetColours(&pen, &brushes);
    EXPECT_EQ(pen.GetSafeHandle(), nullptr);
    EXPECT_TRUE(objects.log.empty());
}

TEST_F(Scenes, CycleSlotsChooseTheKinds) {
    const SceneKind expected[] = {SceneKind::BasalLeafFlower, SceneKind::NarrowLeafFlower, SceneKind::BroadLeafFlower,
                                  SceneKind::FlowerHead,      SceneKind::FallLeaves,       SceneKind::Snow,
                                  SceneKind::Snow,            SceneKind::Snow};
    for (int slot = 0; slot < 8; ++slot) EXPECT_EQ(SceneKindForSlot(slot), expected[slot]) << slot;
    EXPECT_NE(dynamic_cast<FallLeavesScene*>(CreateScene(SceneKindForSlot(4), garden).get()), nullptr);
    EXPECT_NE(dynamic_cast<SnowScene*>(CreateScene(SceneKindForSlot(7), garden).get()), nullptr);
}

}  // namespace
}  // namespace tessaly
