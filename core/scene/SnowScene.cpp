#include "scene/SnowScene.h"

#include "base/Geometry.h"
#include "figures/Figure.h"
#include "generators/OutlineTemplates.h"

namespace tessaly {

namespace {
// Outline modes of the three flake stars, used in turn from the first.
constexpr int kFirstFlakeMode = 2;
constexpr int kLastFlakeMode = 4;
constexpr double kFlakeStretch = 1.0;  // the stars are round: no stretch
}  // namespace

SnowScene::SnowScene(GardenState& gardenState) : Scene(gardenState) {
    palette = std::make_unique<ColourPalette>(state.random);
    BuildFigures();
}

SnowScene::~SnowScene() { palette.reset(); }

void SnowScene::SetColours(CPen* pen, PenBrushSet* brushes) {
    AssignStockObject(*pen, kStockWhitePen);
    ReplaceSolidBrush(brushes->snowflakeBrush, palette->snowColour);
}

void SnowScene::BuildFigures() {
    int nextFlake = kFirstFlakeMode;
    for (int flake = 0; flake < kFlakeCount; ++flake) {
        const int rx = Rand();
        const int x = rx * logicalWidth / 32768;
        // The vertical range is the width too: some flakes sit below the bottom edge.
        const int ry = Rand();
        const int y = ry * logicalWidth / 32768;
        const int rs = Rand();
        const int size = rs * 10 / 32768 + 2;
        state.shapeRotation = state.shapeRotation + kRotationStep;
        figures.Push(std::make_unique<SnowflakeFigure>());
        FillFromOutline(*figures.Newest(), kFlakeStretch, state.shapeRotation, static_cast<double>(size), x, y,
                        nextFlake);
        nextFlake = (nextFlake >= kFirstFlakeMode && nextFlake < kLastFlakeMode) ? nextFlake + 1
                                                                                  : kFirstFlakeMode;
    }
}

}  // namespace tessaly
