#pragma once

namespace veltrane::demo {

// Normal: a small demo that opens at once. Large: the size of a real game level, for benchmarks.
enum class DemoScale { Normal, Large };

} // namespace veltrane::demo
