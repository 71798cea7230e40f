#pragma once

#include "level/tr4_level.h"

namespace veltrane::demo {

// The level's sounds: a short tone for each sound the demo's animations play, stored after the
// level data as the game stores its samples (each a 32-bit size, the size again, then a WAVE file),
// with the sound details, the sound map entries and the sample indices that lead to them.
void addDemoSounds(level::Tr4Level& level);

} // namespace veltrane::demo
