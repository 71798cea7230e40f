#pragma once

#include "io/outcome.h"
#include "io/task_pool.h"

#include <cstdint>
#include <span>
#include <vector>

namespace veltrane::io {

// zlib cannot expand data by more than about 1032 to 1; a stated inflated size beyond that
// bound is a damaged header, refused before any memory is asked for.
constexpr std::uint64_t kMaxInflateRatio = 1032;

// Inflates one zlib stream that must give exactly `statedSize` bytes. The first try gives the stream a
// buffer in proportion to its packed bytes and a larger one only when the stream fills it, never past
// the stated size, so that a claim the stream does not back costs no memory. The bytes come with room
// for `spare` more, as address space only (see largeBuffer). `streamBytes`, when given, takes the
// bytes the stream itself took from `packed`, its trailer included: any after them are not its own.
Outcome<std::vector<std::uint8_t>> inflateChunk(std::span<const std::uint8_t> packed, std::uint32_t statedSize,
                                                std::size_t spare = 0, std::size_t* streamBytes = nullptr);

// One whole zlib stream as it was read or written (no byte after its trailer), with the number of bytes
// it inflates to, kept so that a later save need not deflate those bytes again. It is a cache of the
// file: it never makes two chunks differ.
struct PackedStream {
    std::vector<std::uint8_t> packed;
    std::size_t length = 0;
    bool operator==(const PackedStream&) const { return true; }
};

// A chunk is deflated in blocks of this many inflated bytes, each on its own, so that the blocks can be
// deflated at the same time; blocks this long pack within a few bytes of one pass over the whole chunk.
constexpr std::size_t kDeflateBlockBytes = 1024 * 1024;

// One chunk deflated as blocks on a pool and joined into a single zlib stream: a zlib header, the raw
// blocks (each but the last made to go on into the next and ended by an empty stored block, which ends
// it on a byte boundary as zlib's sync flush does), and the Adler-32 of the whole chunk combined from
// those of its blocks. Plain uncompress reads the result like any other zlib stream, and it packs no
// larger than zlib's default level.
class BlockDeflate {
public:
    // Queues the blocks of `inflated` on `pool`; the bytes and `kept` must stay alive and unchanged
    // until the pool has finished, and this object must outlive the pool. When `inflated` still begins with the
    // bytes `kept` was made from (their Adler-32 is the stream's own), the kept stream stands for them
    // and only the bytes after them are deflated.
    void start(TaskPool& pool, std::span<const std::uint8_t> inflated, const PackedStream& kept = {},
               std::size_t blockBytes = kDeflateBlockBytes);
    // Once the pool has finished: the joined stream, or why a block could not be deflated.
    Outcome<std::vector<std::uint8_t>> join();

    struct Block {
        std::vector<std::uint8_t> packed;
        std::size_t length = 0;  // inflated bytes
        std::uint32_t adler = 1; // Adler-32 of the inflated bytes
        bool deflated = false;
    };

private:
    std::vector<Block> blocks_;
};

// Deflates one chunk with a pool of `threads` threads (see BlockDeflate).
Outcome<std::vector<std::uint8_t>> deflateChunk(std::span<const std::uint8_t> inflated,
                                                unsigned threads = hardwareThreads());

} // namespace veltrane::io
