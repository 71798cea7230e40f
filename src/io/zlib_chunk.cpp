#include "io/zlib_chunk.h"

#include <string>
#include <zlib.h>

namespace veltrane::io {

Outcome<std::vector<std::uint8_t>> inflateChunk(std::span<const std::uint8_t> packed, std::uint32_t statedSize) {
    using Result = Outcome<std::vector<std::uint8_t>>;
    if (statedSize > (packed.size() + 64) * kMaxInflateRatio)
        return Result::failure("states an inflated size of " + std::to_string(statedSize) + " bytes, more than " +
                               std::to_string(packed.size()) + " packed bytes can hold");

    std::vector<std::uint8_t> inflated(statedSize);
    uLongf produced = statedSize;
    // uncompress rejects a null destination even for an empty stream, so give it a byte to point at.
    std::uint8_t emptyTarget = 0;
    const int status = uncompress(inflated.empty() ? &emptyTarget : inflated.data(), &produced, packed.data(),
                                  static_cast<uLong>(packed.size()));
    if (status == Z_BUF_ERROR && produced == statedSize)
        return Result::failure("inflates to more than its stated " + std::to_string(statedSize) + " bytes");
    if (status != Z_OK)
        return Result::failure(std::string("cannot be inflated (zlib: ") + zError(status) + ")");
    if (produced != statedSize)
        return Result::failure("inflates to " + std::to_string(produced) + " bytes, not the stated " +
                               std::to_string(statedSize));
    return inflated;
}

Outcome<std::vector<std::uint8_t>> deflateChunk(std::span<const std::uint8_t> inflated) {
    using Result = Outcome<std::vector<std::uint8_t>>;
    std::vector<std::uint8_t> packed(compressBound(static_cast<uLong>(inflated.size())));
    uLongf packedSize = packed.size();
    const int status = compress(packed.data(), &packedSize, inflated.data(), static_cast<uLong>(inflated.size()));
    if (status != Z_OK)
        return Result::failure(std::string("cannot be compressed (zlib: ") + zError(status) + ")");
    packed.resize(packedSize);
    return packed;
}

} // namespace veltrane::io
