// One drawing: built whole in its constructor, then passive while the canvas
// paints and deletes its figures from the oldest end of the queue.
#pragma once

#include <memory>

#include "generators/ColourPalette.h"
#include "scene/FigureQueue.h"
#include "scene/PenBrushSet.h"

namespace tessaly {

class Scene {
public:
    Scene();
    virtual ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Loads the scene's stock pen and brush colours; the plain scene sets none.
    virtual void SetColours(CPen* pen, PenBrushSet* brushes);

    FigureQueue figures;
    std::unique_ptr<ColourPalette> palette;
};

}  // namespace tessaly
