#pragma once

#include "wad/wad_library.h"

namespace veltrane::builders {

// A library with the version the reader accepts and every table empty.
inline wad::WadLibrary emptyLibrary() {
    wad::WadLibrary library;
    library.Version = wad::kWadVersion;
    return library;
}

} // namespace veltrane::builders
