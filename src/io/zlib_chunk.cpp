#include "io/zlib_chunk.h"

#include "io/deflate_blocks.h"
#include "io/large_buffer.h"

#include <algorithm>
#include <iterator>
#include <libdeflate.h>
#include <memory>
#include <new>
#include <string>

namespace veltrane::io {

namespace {

// Level chunks pack from about 2 to 12 to 1, so a first buffer of 16 times the packed bytes holds them
// at once, while a stated size that the stream does not back costs at most that.
constexpr std::size_t kFirstOutputBytes = 64 * 1024;
constexpr std::size_t kFirstOutputPerPackedByte = 16;

struct FreeDecompressor {
    void operator()(libdeflate_decompressor* decompressor) const { libdeflate_free_decompressor(decompressor); }
};

} // namespace

Outcome<std::vector<std::uint8_t>> inflateChunk(std::span<const std::uint8_t> packed, std::uint32_t statedSize,
                                                std::size_t spare, std::size_t* streamBytes) {
    using Result = Outcome<std::vector<std::uint8_t>>;
    if (statedSize > (packed.size() + 64) * kMaxInflateRatio)
        return Result::failure("states an inflated size of " + std::to_string(statedSize) + " bytes, more than " +
                               std::to_string(packed.size()) + " packed bytes can hold");

    const std::unique_ptr<libdeflate_decompressor, FreeDecompressor> decompressor(libdeflate_alloc_decompressor());
    if (!decompressor)
        throw std::bad_alloc();
    // The stated size is only a ceiling: a stream that fills its buffer is inflated again into one
    // twice as large, so memory never runs more than twice ahead of what the stream yields.
    std::size_t capacity =
        std::min<std::size_t>(statedSize, std::max(kFirstOutputBytes, packed.size() * kFirstOutputPerPackedByte));
    std::vector<std::uint8_t> inflated;
    while (true) {
        inflated = {}; // the last try's buffer goes before the next is made
        inflated = largeBuffer(capacity, capacity == statedSize ? spare : 0);
        std::size_t taken = 0;
        std::size_t produced = 0;
        const auto result = libdeflate_zlib_decompress_ex(decompressor.get(), packed.data(), packed.size(),
                                                          inflated.data(), inflated.size(), &taken, &produced);
        if (result == LIBDEFLATE_SUCCESS && produced == statedSize) {
            if (streamBytes != nullptr)
                *streamBytes = taken;
            return inflated;
        }
        if (result == LIBDEFLATE_SUCCESS)
            return Result::failure("inflates to " + std::to_string(produced) + " bytes, not the stated " +
                                   std::to_string(statedSize));
        if (result != LIBDEFLATE_INSUFFICIENT_SPACE)
            return Result::failure("cannot be inflated (the deflate data or its checksum is damaged)");
        if (capacity == statedSize)
            return Result::failure("inflates to more than its stated " + std::to_string(statedSize) + " bytes");
        capacity = std::min<std::size_t>(statedSize, capacity * 2);
    }
}

namespace {

// libdeflate's level 7 is the fastest that packs level chunks no larger than zlib's default level does
// (0.988 of zlib's size on the large demo level, where level 6 gives 1.016).
constexpr int kDeflateLevel = 7;
// Deflate with a 32 KiB window; the level field says "slowest", as zlib writes it for levels above 6.
constexpr std::uint8_t kZlibHeader[2] = {0x78, 0xDA};

// Each thread keeps its compressor and a buffer of the largest output bound it has needed, so that a
// block neither sets up a compressor nor clears its output buffer.
struct Deflater {
    libdeflate_compressor* compressor = nullptr;
    std::vector<std::uint8_t> output;
    ~Deflater() { libdeflate_free_compressor(compressor); }
};

Deflater& threadDeflater() {
    thread_local Deflater deflater;
    if (deflater.compressor == nullptr)
        deflater.compressor = libdeflate_alloc_compressor(kDeflateLevel);
    if (deflater.compressor == nullptr)
        throw std::bad_alloc();
    return deflater;
}

// Lets a raw deflate stream go on into whatever follows it: its last block is no longer marked last,
// and an empty stored block after it ends the stream on a byte boundary. False when the stream does
// not walk.
bool chainOn(std::vector<std::uint8_t>& stream) {
    const auto final = findFinalBlock(stream);
    if (!final)
        return false;
    stream[final->headerBit / 8] &= static_cast<std::uint8_t>(~(1u << (final->headerBit % 8)));
    stream.resize((final->endBit + 7) / 8);
    const unsigned usedBits = final->endBit % 8;
    if (usedBits != 0)
        stream.back() &= static_cast<std::uint8_t>((1u << usedBits) - 1);
    // The stored block's three header bits (not last, stored) are zeros: they go in the last byte when
    // three of its bits are free, else in a byte of their own, whose other bits pad to the boundary.
    if (usedBits == 0 || usedBits > 5)
        stream.push_back(0);
    stream.insert(stream.end(), {0x00, 0x00, 0xFF, 0xFF}); // length 0 and its complement
    return true;
}

void deflateBlock(std::span<const std::uint8_t> data, bool last, BlockDeflate::Block& block) {
    Deflater& deflater = threadDeflater();
    block.length = data.size();
    block.adler = libdeflate_adler32(1, data.data(), data.size());
    const std::size_t bound = libdeflate_deflate_compress_bound(deflater.compressor, data.size());
    if (deflater.output.size() < bound)
        deflater.output.resize(bound);
    const std::size_t size =
        libdeflate_deflate_compress(deflater.compressor, data.data(), data.size(), deflater.output.data(), bound);
    block.packed.assign(deflater.output.begin(), deflater.output.begin() + static_cast<std::ptrdiff_t>(size));
    block.deflated = size > 0 && (last || chainOn(block.packed));
}

constexpr std::size_t kZlibTrailerBytes = 4;

std::uint32_t trailerAdler(std::span<const std::uint8_t> stream) {
    std::uint32_t adler = 0;
    for (const std::uint8_t byte : stream.last(kZlibTrailerBytes))
        adler = adler << 8 | byte;
    return adler;
}

// Whether `inflated` still begins with the bytes the kept stream was made from. The stream's trailer
// holds their Adler-32; nothing in a level rewrites bytes it has, so a match means they are the same.
bool carriesOver(const PackedStream& kept, std::span<const std::uint8_t> inflated) {
    if (kept.length == 0 || kept.length > inflated.size() || kept.packed.size() < sizeof kZlibHeader + kZlibTrailerBytes)
        return false;
    return libdeflate_adler32(1, inflated.data(), kept.length) == trailerAdler(kept.packed);
}

// The kept stream's deflate blocks as the first block of a new stream, made to go on into the next
// block unless they are the last. Blocks that do not walk are deflated again from `keptBytes`.
void carryOver(const PackedStream& kept, std::span<const std::uint8_t> keptBytes, bool last,
               BlockDeflate::Block& block) {
    const std::span<const std::uint8_t> stream(kept.packed);
    const auto raw = stream.subspan(sizeof kZlibHeader, stream.size() - sizeof kZlibHeader - kZlibTrailerBytes);
    block.packed.assign(raw.begin(), raw.end());
    if (!last && !chainOn(block.packed)) {
        deflateBlock(keptBytes, last, block);
        return;
    }
    block.length = kept.length;
    block.adler = trailerAdler(stream);
    block.deflated = true;
}

// The Adler-32 of two runs of bytes one after the other, from theirs and the second's length.
std::uint32_t combineAdler(std::uint32_t first, std::uint32_t second, std::size_t secondLength) {
    constexpr std::uint64_t kBase = 65521;
    const std::uint64_t length = secondLength % kBase;
    const std::uint64_t sum = ((first & 0xFFFF) + (second & 0xFFFF) + kBase - 1) % kBase;
    const std::uint64_t sumOfSums = ((first >> 16) + (second >> 16) + length * (first & 0xFFFF) + kBase - length) % kBase;
    return static_cast<std::uint32_t>(sumOfSums << 16 | sum);
}

} // namespace

void BlockDeflate::start(TaskPool& pool, std::span<const std::uint8_t> inflated, const PackedStream& kept,
                         std::size_t blockBytes) {
    const std::size_t keptLength = carriesOver(kept, inflated) ? kept.length : 0;
    const auto added = inflated.subspan(keptLength);
    const std::size_t keptBlocks = keptLength > 0 ? 1 : 0;
    // An empty chunk still needs one (empty) final block.
    const std::size_t addedBlocks = (added.size() + blockBytes - 1) / blockBytes;
    blocks_.assign(keptBlocks + std::max<std::size_t>(1 - keptBlocks, addedBlocks), Block{});
    if (keptBlocks > 0)
        pool.submit([&kept, keptBytes = inflated.first(keptLength), last = addedBlocks == 0, block = &blocks_[0]] {
            carryOver(kept, keptBytes, last, *block);
        });
    for (std::size_t index = keptBlocks; index < blocks_.size(); ++index) {
        const std::size_t begin = (index - keptBlocks) * blockBytes;
        const auto data = added.subspan(begin, std::min(added.size(), begin + blockBytes) - begin);
        const bool last = index + 1 == blocks_.size();
        pool.submit([data, last, block = &blocks_[index]] { deflateBlock(data, last, *block); });
    }
}

Outcome<std::vector<std::uint8_t>> BlockDeflate::join() {
    using Result = Outcome<std::vector<std::uint8_t>>;
    std::size_t total = sizeof kZlibHeader + 4;
    for (const auto& block : blocks_) {
        if (!block.deflated)
            return Result::failure("cannot be compressed");
        total += block.packed.size();
    }
    std::vector<std::uint8_t> stream;
    stream.reserve(total);
    stream.insert(stream.end(), std::begin(kZlibHeader), std::end(kZlibHeader));
    std::uint32_t adler = 1;
    for (auto& block : blocks_) {
        stream.insert(stream.end(), block.packed.begin(), block.packed.end());
        adler = combineAdler(adler, block.adler, block.length);
        block.packed = std::vector<std::uint8_t>();
    }
    for (const int shift : {24, 16, 8, 0})
        stream.push_back(static_cast<std::uint8_t>(adler >> shift));
    blocks_.clear();
    return stream;
}

Outcome<std::vector<std::uint8_t>> deflateChunk(std::span<const std::uint8_t> inflated, unsigned threads) {
    BlockDeflate deflate;
    TaskPool pool(threads);
    deflate.start(pool, inflated);
    pool.wait();
    return deflate.join();
}

} // namespace veltrane::io
