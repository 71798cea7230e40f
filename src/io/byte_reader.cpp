#include "io/byte_reader.h"

namespace veltrane::io {

void ByteReader::require(std::size_t bytes, std::string_view field) const {
    if (bytes > remaining())
        pastEnd(bytes, field);
}

void ByteReader::requireElements(std::uint64_t count, std::size_t elementSize, std::string_view field) const {
    // Compare by division so that a huge count cannot overflow the product.
    if (elementSize != 0 && count > remaining() / elementSize)
        pastEnd(count * elementSize, field);
}

std::span<const std::uint8_t> ByteReader::bytes(std::size_t count, std::string_view field) {
    require(count, field);
    auto out = data_.subspan(position_, count);
    position_ += count;
    return out;
}

void ByteReader::pastEnd(std::uint64_t needed, std::string_view field) const {
    throw FormatError(std::string(field) + " runs past the end of the " + whole_ + " (byte " +
                      std::to_string(position_) + ": " + std::to_string(needed) + " bytes needed, " +
                      std::to_string(remaining()) + " left)");
}

} // namespace veltrane::io
