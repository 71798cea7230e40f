#pragma once

#include "io/file_io.h"
#include "io/memory_guard.h"
#include "level/file_kind.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <utility>
#include <vector>

namespace veltrane::level {

// Reads the file at `path`, decodes it as `expected` with `decode`, lets go of the file's bytes and
// makes the document from what was decoded with `finish`, so that the bytes and the finished document
// never take memory at once. A file that does not decode is refused with a message naming it (see
// openingFailure); so is one too large for the memory there is.
template <class Document, class Decode, class Finish>
io::Outcome<Document> openDocument(const std::filesystem::path& path, FileKind expected, Decode decode, Finish finish) {
    using Result = io::Outcome<Document>;
    return io::guardMemory("open", path, [&]() -> Result {
        auto file = io::readWholeFile(path);
        if (!file)
            return Result::failure(file.error());
        auto decoded = decode(file.value());
        if (!decoded)
            return Result::failure(openingFailure(path, file.value(), expected, decoded.error()));
        std::vector<std::uint8_t>().swap(file.value());
        return finish(std::move(decoded.value()));
    });
}

} // namespace veltrane::level
