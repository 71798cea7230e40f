#pragma once

#include "demo/demo_scale.h"
#include "wad/wad_library.h"

namespace veltrane::demo {

// The demo source: an object library built from nothing but code, the same on every run. Normal
// scale has a jointed walker of 11 meshes, a gem without animations, a bell, a blade trap and six
// static meshes (crate, pillar, barrel, obelisk, lantern, table) on five texture pages; large scale
// adds generated objects up to the size of a real library.
wad::WadLibrary demoLibrary(DemoScale scale);

} // namespace veltrane::demo
