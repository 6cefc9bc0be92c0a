// The fixed cycle of drawings: which kind of scene each cycle slot builds.
#pragma once

#include <cstdint>
#include <memory>

#include "scene/Scene.h"

namespace tessaly {

enum class SceneKind {
    BasalLeafFlower,
    NarrowLeafFlower,
    BroadLeafFlower,
    FlowerHead,
    FallLeaves,
    Snow,
};

// Each slot lasts this many scenes: cycle length x 40.
constexpr int32_t kScenesPerCycleLength = 40;
// The snow built at a slot above this ends the pass and resets the counter.
constexpr int32_t kLastSnowSlot = 6;

// The kind for a cycle slot; every slot past the table is snow.
SceneKind SceneKindForSlot(int32_t cycleSlot);
const char* SceneKindName(SceneKind kind);

std::unique_ptr<Scene> CreateScene(SceneKind kind, GardenState& state);

}  // namespace tessaly
