#include "scene/FallLeavesScene.h"

#include "base/Geometry.h"
#include "figures/Figure.h"
#include "generators/OutlineTemplates.h"
#include "generators/ProfileBuilder.h"

namespace tessaly {

namespace {
// The three leaf shapes, always in this order within one scene.
enum LeafShape { kOutlineA = 0, kOutlineB = 1, kProfileLeaf = 2 };
constexpr int kLeafProfile = 1;
}  // namespace

FallLeavesScene::FallLeavesScene(GardenState& gardenState) : Scene(gardenState) {
    palette = std::make_unique<ColourPalette>(state.random);
    BuildFigures();
}

FallLeavesScene::~FallLeavesScene() { palette.reset(); }

void FallLeavesScene::SetColours(CPen* pen, PenBrushSet* brushes) {
    AssignStockObject(*pen, kStockBlackPen);
    // ReplaceSolidBrush with the colour draw between the delete and the create.
    brushes->fallLeafBrush.DeleteObject();
    const int r = Rand();
    const ColourRef colour = (r > kGoldUpTo) ? palette->orangeColour : palette->goldColour;
    brushes->fallLeafBrush.Attach(brushes->fallLeafBrush.Objects().CreateSolidBrush(colour));
}

void FallLeavesScene::BuildFigures() {
    int nextShape = kOutlineA;
    for (int leaf = 0; leaf < kLeafCount; ++leaf) {
        const int rx = Rand();
        const int x = rx * logicalWidth / 32768;
        // The vertical range is the width too: some leaves start below the bottom edge.
        const int ry = Rand();
        const int y = ry * logicalWidth / 32768;
        const int rs = Rand();
        const int size = rs * 12 / 32768 + 6;
        state.shapeRotation = state.shapeRotation + kRotationStep;
        figures.Push(std::make_unique<FallLeafFigure>());
        Figure* figure = figures.Newest();
        switch (nextShape) {
            case kOutlineA: {
                const int r = Rand();
                const double stretch = r * 0.3 / 32768.0 + 0.3;
                FillFromOutline(*figure, stretch, state.shapeRotation, static_cast<double>(size), x, y, 0);
                nextShape = kOutlineB;
                break;
            }
            case kOutlineB: {
                const int r = Rand();
                const double stretch = r * 0.3 / 32768.0 + 0.3;
                FillFromOutline(*figure, stretch, state.shapeRotation, static_cast<double>(size), x, y, 1);
                nextShape = kProfileLeaf;
                break;
            }
            default: {
                const int r = Rand();
                const double width = r * 0.2 / 32768.0 + 0.05;
                FillFromProfile(*figure, width, state.shapeRotation, static_cast<double>(size), x, y, kLeafProfile);
                nextShape = kOutlineA;
                break;
            }
        }
    }
}

}  // namespace tessaly
