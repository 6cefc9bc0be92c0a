#include "scene/Scene.h"

namespace tessaly {

Scene::Scene(GardenState& gardenState) : state(gardenState) {}

// The queue releases any figures left (a build cut short, a tool that stops
// early), oldest first; the canvas has normally drained it by now.
Scene::~Scene() = default;

void Scene::SetColours(CPen* /*pen*/, PenBrushSet* /*brushes*/) {}

}  // namespace tessaly
