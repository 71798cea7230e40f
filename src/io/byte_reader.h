#pragma once

#include "io/format_error.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace veltrane::io {

// Files are little-endian and values are copied byte for byte, so the host must be too.
static_assert(std::endian::native == std::endian::little, "Veltrane builds for little-endian machines only");

// Little-endian, bounds-checked cursor over a byte buffer. Every parser reads through it:
// a read that would pass the end throws a FormatError naming the field, and counts are
// checked against the bytes left before anything is allocated.
class ByteReader {
public:
    // `whole` names the buffer in messages: "block", "file", "mesh block".
    ByteReader(std::span<const std::uint8_t> data, std::string whole)
        : data_(data), whole_(std::move(whole)) {}

    [[nodiscard]] std::size_t position() const { return position_; }
    [[nodiscard]] std::size_t size() const { return data_.size(); }
    [[nodiscard]] std::size_t remaining() const { return data_.size() - position_; }
    [[nodiscard]] bool atEnd() const { return position_ == data_.size(); }

    // Throws unless `bytes` more bytes are there.
    void require(std::size_t bytes, std::string_view field) const;
    // Throws unless `count` elements of `elementSize` bytes are there (no overflow).
    void requireElements(std::uint64_t count, std::size_t elementSize, std::string_view field) const;

    std::uint8_t u8(std::string_view field) { return scalar<std::uint8_t>(field); }
    std::uint16_t u16(std::string_view field) { return scalar<std::uint16_t>(field); }
    std::int16_t i16(std::string_view field) { return scalar<std::int16_t>(field); }
    std::uint32_t u32(std::string_view field) { return scalar<std::uint32_t>(field); }
    std::int32_t i32(std::string_view field) { return scalar<std::int32_t>(field); }

    std::span<const std::uint8_t> bytes(std::size_t count, std::string_view field);
    void skip(std::size_t count, std::string_view field) { bytes(count, field); }

    template <std::size_t N>
    std::array<std::uint8_t, N> fixed(std::string_view field) {
        std::array<std::uint8_t, N> out{};
        auto source = bytes(N, field);
        std::memcpy(out.data(), source.data(), N);
        return out;
    }

    // `count` plain values (integers or byte arrays) stored back to back.
    template <class T>
    std::vector<T> array(std::uint64_t count, std::string_view field) {
        static_assert(std::is_trivially_copyable_v<T>);
        requireElements(count, sizeof(T), field);
        std::vector<T> out(static_cast<std::size_t>(count));
        auto source = bytes(out.size() * sizeof(T), field);
        if (!out.empty())
            std::memcpy(out.data(), source.data(), source.size());
        return out;
    }

    // `count` records of `Record::kSize` bytes each, read field by field by `Record::read`.
    template <class Record>
    std::vector<Record> records(std::uint64_t count, std::string_view field) {
        requireElements(count, Record::kSize, field);
        std::vector<Record> out(static_cast<std::size_t>(count));
        for (auto& record : out)
            record.read(*this);
        return out;
    }

    // A table as both file formats store most of theirs: a 32-bit count, then its values or records.
    template <class T>
    std::vector<T> countedArray(std::string_view field) {
        return array<T>(u32(std::string(field) + " count"), field);
    }
    // A table of bytes with a 32-bit count in front, left where it lies.
    std::span<const std::uint8_t> countedBytes(std::string_view field) {
        return bytes(u32(std::string(field) + " count"), field);
    }
    template <class Record>
    std::vector<Record> countedRecords(std::string_view field) {
        return records<Record>(u32(std::string(field) + " count"), field);
    }

private:
    template <class T>
    T scalar(std::string_view field) {
        auto source = bytes(sizeof(T), field);
        T value;
        std::memcpy(&value, source.data(), sizeof(T));
        return value;
    }

    [[noreturn]] void pastEnd(std::uint64_t needed, std::string_view field) const;

    std::span<const std::uint8_t> data_;
    std::string whole_;
    std::size_t position_ = 0;
};

} // namespace veltrane::io
