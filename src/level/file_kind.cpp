#include "level/file_kind.h"

#include "io/byte_reader.h"

#include <algorithm>

namespace veltrane::level {
namespace {

// A level's version word: the letters "TR4" and a NUL.
constexpr std::uint32_t kLevelVersion = 'T' | 'R' << 8 | '4' << 16;
// A library's first word is its format version: 129 today, and never a large number.
constexpr std::uint32_t kLargestLibraryVersion = 1023;
// How much of a file is looked at to call it text.
constexpr std::size_t kTextWindow = 512;

bool isTextByte(std::uint8_t byte) {
    return byte >= 0x20 ? byte != 0x7F : byte == '\n' || byte == '\r' || byte == '\t' || byte == '\f';
}

const char* kindPhrase(FileKind kind) {
    switch (kind) {
    case FileKind::Level:
        return "a TR4 level";
    case FileKind::Library:
        return "an object library (.wad)";
    case FileKind::Text:
        return "a text file";
    case FileKind::Empty:
        return "an empty file";
    case FileKind::Unknown:
        break;
    }
    return "an unknown file";
}

} // namespace

FileKind recogniseFile(std::span<const std::uint8_t> bytes) {
    io::ByteReader in(bytes, "file");
    if (in.remaining() == 0)
        return FileKind::Empty;
    if (in.remaining() >= 4) {
        const std::uint32_t first = in.u32("first word");
        if (first == kLevelVersion)
            return FileKind::Level;
        if (first != 0 && first <= kLargestLibraryVersion)
            return FileKind::Library;
    }
    const auto head = io::ByteReader(bytes, "file").bytes(std::min(bytes.size(), kTextWindow), "text");
    return std::all_of(head.begin(), head.end(), isTextByte) ? FileKind::Text : FileKind::Unknown;
}

std::string openingFailure(const std::filesystem::path& path, std::span<const std::uint8_t> bytes, FileKind expected,
                           const std::string& reason) {
    const std::string name = path.filename().string();
    const FileKind kind = recogniseFile(bytes);
    if (kind == expected || kind == FileKind::Unknown)
        return name + ": " + reason;
    return name + " is not " + kindPhrase(expected) + ": it looks like " + kindPhrase(kind);
}

} // namespace veltrane::level
