#pragma once

#include "io/format_error.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace veltrane::io {

// The count of a table of `size` entries in a count field of type `Count`; a table too long for its
// count is refused with its name.
template <class Count>
Count checkedCount(std::size_t size, std::string_view table) {
    if (size > std::numeric_limits<Count>::max())
        throw FormatError(std::string(table) + " has " + std::to_string(size) + " entries, more than its count holds");
    return static_cast<Count>(size);
}

// Little-endian writer that appends to a growing byte buffer; the counterpart of ByteReader.
class ByteWriter {
public:
    ByteWriter() = default;
    explicit ByteWriter(std::size_t reserve) { buffer_.reserve(reserve); }

    void u8(std::uint8_t value) { buffer_.push_back(value); }
    void u16(std::uint16_t value) { scalar(value); }
    void i16(std::int16_t value) { scalar(value); }
    void u32(std::uint32_t value) { scalar(value); }
    void i32(std::int32_t value) { scalar(value); }

    void bytes(std::span<const std::uint8_t> data) { buffer_.insert(buffer_.end(), data.begin(), data.end()); }

    template <std::size_t N>
    void fixed(const std::array<std::uint8_t, N>& data) { bytes(data); }

    // Plain values (integers or byte arrays) back to back, as ByteReader::array reads them.
    template <class T>
    void array(const std::vector<T>& values) {
        static_assert(std::is_trivially_copyable_v<T>);
        const auto* first = reinterpret_cast<const std::uint8_t*>(values.data());
        buffer_.insert(buffer_.end(), first, first + values.size() * sizeof(T));
    }

    // Records written field by field by `Record::write`.
    template <class Record>
    void records(const std::vector<Record>& values) {
        for (const auto& record : values)
            record.write(*this);
    }

    // A table with a 32-bit count in front, as ByteReader::countedArray and countedRecords read it.
    template <class T>
    void countedArray(const std::vector<T>& values, std::string_view table) {
        u32(checkedCount<std::uint32_t>(values.size(), table));
        array(values);
    }
    template <class Record>
    void countedRecords(const std::vector<Record>& values, std::string_view table) {
        u32(checkedCount<std::uint32_t>(values.size(), table));
        records(values);
    }

    [[nodiscard]] std::size_t size() const { return buffer_.size(); }
    [[nodiscard]] const std::vector<std::uint8_t>& data() const { return buffer_; }
    std::vector<std::uint8_t> take() { return std::move(buffer_); }

private:
    template <class T>
    void scalar(T value) {
        std::uint8_t raw[sizeof(T)];
        std::memcpy(raw, &value, sizeof(T));
        buffer_.insert(buffer_.end(), raw, raw + sizeof(T));
    }

    std::vector<std::uint8_t> buffer_;
};

} // namespace veltrane::io
