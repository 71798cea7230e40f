#pragma once

#include "level/tr4_level.h"
#include "demo/demo_scale.h"

namespace veltrane::demo {

// The demo target: a level built from nothing but code, the same on every run. Normal scale has a
// few rooms, seven texture pages, a jointed player figure, a crawler, a door, a lever and four static
// meshes; large scale adds rooms and generated objects up to the size of a real game level.
level::Tr4Level demoLevel(DemoScale scale);

} // namespace veltrane::demo
