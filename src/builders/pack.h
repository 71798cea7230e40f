#pragma once

#include "io/byte_writer.h"
#include "level/tr4_level.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace veltrane::builders {

// Lays out a record that the level carries as opaque bytes: `fields` writes its fields in file
// order and must write exactly N bytes.
template <std::size_t N, class Fields>
level::Opaque<N> pack(Fields&& fields) {
    io::ByteWriter out(N);
    fields(out);
    if (out.size() != N)
        throw std::logic_error("a packed record took " + std::to_string(out.size()) + " bytes, not " +
                               std::to_string(N));
    level::Opaque<N> record{};
    std::copy(out.data().begin(), out.data().end(), record.begin());
    return record;
}

// Floats in level records are stored as their IEEE bits.
inline void writeFloat(io::ByteWriter& out, float value) { out.u32(std::bit_cast<std::uint32_t>(value)); }

} // namespace veltrane::builders
