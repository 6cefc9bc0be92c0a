#include "scene/SceneCycle.h"

#include <iterator>

#include "scene/BasalLeafFlowerScene.h"
#include "scene/BroadLeafFlowerScene.h"
#include "scene/FallLeavesScene.h"
#include "scene/FlowerHeadScene.h"
#include "scene/NarrowLeafFlowerScene.h"
#include "scene/SnowScene.h"

namespace tessaly {

namespace {

constexpr SceneKind kSlotKinds[] = {
    SceneKind::BasalLeafFlower,   // slot 0
    SceneKind::NarrowLeafFlower,  // slot 1
    SceneKind::BroadLeafFlower,   // slot 2
    SceneKind::FlowerHead,        // slot 3
    SceneKind::FallLeaves,        // slot 4
};
constexpr SceneKind kLaterSlotsKind = SceneKind::Snow;  // 5, 6 and the closing 7

}  // namespace

SceneKind SceneKindForSlot(int32_t cycleSlot) {
    if (cycleSlot >= 0 && cycleSlot < static_cast<int32_t>(std::size(kSlotKinds))) return kSlotKinds[cycleSlot];
    return kLaterSlotsKind;
}

const char* SceneKindName(SceneKind kind) {
    switch (kind) {
        case SceneKind::BasalLeafFlower: return "BasalLeafFlowerScene";
        case SceneKind::NarrowLeafFlower: return "NarrowLeafFlowerScene";
        case SceneKind::BroadLeafFlower: return "BroadLeafFlowerScene";
        case SceneKind::FlowerHead: return "FlowerHeadScene";
        case SceneKind::FallLeaves: return "FallLeavesScene";
        case SceneKind::Snow: return "SnowScene";
    }
    return "Scene";
}

std::unique_ptr<Scene> CreateScene(SceneKind kind, GardenState& state) {
    switch (kind) {
        case SceneKind::BasalLeafFlower: return std::make_unique<BasalLeafFlowerScene>(state);
        case SceneKind::NarrowLeafFlower: return std::make_unique<NarrowLeafFlowerScene>(state);
        case SceneKind::BroadLeafFlower: return std::make_unique<BroadLeafFlowerScene>(state);
        case SceneKind::FlowerHead: return std::make_unique<FlowerHeadScene>(state);
        case SceneKind::FallLeaves: return std::make_unique<FallLeavesScene>(state);
        case SceneKind::Snow: return std::make_unique<SnowScene>(state);
    }
    return std::make_unique<Scene>(state);
}

}  // namespace tessaly
