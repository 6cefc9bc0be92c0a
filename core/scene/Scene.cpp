#include "scene/Scene.h"

#include "figures/Figure.h"

namespace tessaly {

Scene::Scene() = default;

Scene::~Scene() {
    // The canvas drains the queue before it deletes a scene, so this finds it
    // empty; should a scene ever be dropped with figures left (a build cut
    // short, a tool that stops early), they are released here, oldest first.
    while (figures.Size() > 0) {
        delete figures.Oldest();
        figures.PopOldest();
    }
}

void Scene::SetColours(CPen* /*pen*/, PenBrushSet* /*brushes*/) {}

}  // namespace tessaly
