// One drawing: built whole in its constructor, then passive while the canvas
// paints and deletes its figures from the oldest end of the queue.
#pragma once

#include <memory>

#include "device/PenBrushSet.h"
#include "generators/ColourPalette.h"
#include "scene/FigureQueue.h"
#include "state/GardenState.h"

namespace tessaly {

class Scene {
public:
    explicit Scene(GardenState& state);
    virtual ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Loads the scene's stock pen and brush colours; the plain scene sets none.
    virtual void SetColours(CPen* pen, PenBrushSet* brushes);

    FigureQueue figures;
    std::unique_ptr<ColourPalette> palette;

protected:
    // The scenes are written in the garden's draw forms; each is one draw
    // from the process's generator.
    int Rand() { return state.random.Rand(); }
    int R(int n) { return state.random.R(n); }
    int Q(int n) { return state.random.Q(n); }
    double F(double a, double b) { return state.random.F(a, b); }
    bool Coin() { return state.random.Coin(); }

    GardenState& state;
};

}  // namespace tessaly
