#include "io/zlib_chunk.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <zlib.h>

namespace veltrane::io {

namespace {

// The first buffer holds eight times the packed bytes, more than level chunks expand to, so most
// fit without growing, while a stated size that the stream does not back costs nothing.
constexpr std::size_t kFirstOutputBytes = 64 * 1024;
constexpr std::size_t kFirstOutputPerPackedByte = 8;

// Owns a z_stream set up for inflating, and ends it however inflateChunk returns.
class InflateStream {
public:
    explicit InflateStream(std::span<const std::uint8_t> packed) {
        status_ = inflateInit(&stream_);
        stream_.next_in = const_cast<Bytef*>(packed.data());
        stream_.avail_in = static_cast<uInt>(packed.size());
    }
    ~InflateStream() {
        if (status_ == Z_OK)
            inflateEnd(&stream_);
    }
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;

    // Z_OK once zlib has set the stream up.
    int openStatus() const { return status_; }
    std::size_t produced() const { return stream_.total_out; }

    // Inflates into `out`; zlib's status, with an input that runs out mid-stream or a stream that
    // wants a preset dictionary counted as damaged.
    int step(std::span<std::uint8_t> out) {
        stream_.next_out = out.data();
        stream_.avail_out = static_cast<uInt>(out.size());
        const int status = inflate(&stream_, Z_NO_FLUSH);
        if (status == Z_NEED_DICT || (status == Z_BUF_ERROR && stream_.avail_in == 0))
            return Z_DATA_ERROR;
        return status;
    }

private:
    z_stream stream_{};
    int status_ = Z_OK;
};

std::string damaged(int status) { return std::string("cannot be inflated (zlib: ") + zError(status) + ")"; }

} // namespace

Outcome<std::vector<std::uint8_t>> inflateChunk(std::span<const std::uint8_t> packed, std::uint32_t statedSize) {
    using Result = Outcome<std::vector<std::uint8_t>>;
    if (statedSize > (packed.size() + 64) * kMaxInflateRatio)
        return Result::failure("states an inflated size of " + std::to_string(statedSize) + " bytes, more than " +
                               std::to_string(packed.size()) + " packed bytes can hold");

    InflateStream stream(packed);
    if (stream.openStatus() != Z_OK)
        return Result::failure(damaged(stream.openStatus()));
    // The stated size is only a ceiling: the buffer grows as the stream yields bytes, so a claim the
    // packed bytes do not back never turns into memory.
    std::vector<std::uint8_t> inflated(
        std::min<std::size_t>(statedSize, std::max(kFirstOutputBytes, packed.size() * kFirstOutputPerPackedByte)));
    int status = Z_OK;
    while (status == Z_OK) {
        if (stream.produced() < inflated.size()) {
            status = stream.step(std::span(inflated).subspan(stream.produced()));
        } else if (inflated.size() < statedSize) {
            inflated.resize(std::min<std::size_t>(statedSize, inflated.size() * 2));
        } else {
            // Full at the stated size: the stream must end without giving another byte.
            std::uint8_t beyond = 0;
            status = stream.step({&beyond, 1});
            if (stream.produced() > statedSize)
                return Result::failure("inflates to more than its stated " + std::to_string(statedSize) + " bytes");
        }
    }
    if (status != Z_STREAM_END)
        return Result::failure(damaged(status));
    if (stream.produced() != statedSize)
        return Result::failure("inflates to " + std::to_string(stream.produced()) + " bytes, not the stated " +
                               std::to_string(statedSize));
    return inflated;
}

namespace {

constexpr std::size_t kWindowBytes = 32 * 1024;
// The two header bytes that zlib's compress writes at the default level: deflate, a 32 KiB window.
constexpr std::uint8_t kZlibHeader[2] = {0x78, 0x9C};

// Deflates `data` as raw deflate, primed with `dictionary` (the bytes just before it). A block that is
// not the last is ended with a sync flush, so that the next block's bits start on a byte boundary.
void deflateBlock(std::span<const std::uint8_t> dictionary, std::span<const std::uint8_t> data, bool last,
                  BlockDeflate::Block& block) {
    block.length = data.size();
    block.adler = adler32(adler32(0, nullptr, 0), data.data(), static_cast<uInt>(data.size()));
    z_stream stream{};
    block.status = deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    if (block.status != Z_OK)
        return;
    if (!dictionary.empty())
        block.status = deflateSetDictionary(&stream, dictionary.data(), static_cast<uInt>(dictionary.size()));
    // The bound covers a finished stream; a sync flush adds at most a few bytes more.
    block.packed.resize(deflateBound(&stream, static_cast<uLong>(data.size())) + 16);
    stream.next_in = const_cast<Bytef*>(data.data());
    stream.avail_in = static_cast<uInt>(data.size());
    while (block.status == Z_OK) {
        stream.next_out = block.packed.data() + stream.total_out;
        stream.avail_out = static_cast<uInt>(block.packed.size() - stream.total_out);
        block.status = deflate(&stream, last ? Z_FINISH : Z_SYNC_FLUSH);
        if (block.status == Z_STREAM_END || (!last && block.status == Z_OK && stream.avail_out > 0)) {
            block.status = Z_OK;
            break;
        }
        if (block.status == Z_OK || block.status == Z_BUF_ERROR) {
            block.status = Z_OK;
            block.packed.resize(block.packed.size() + block.packed.size() / 2 + 64);
        }
    }
    block.packed.resize(stream.total_out);
    deflateEnd(&stream);
}

} // namespace

void BlockDeflate::start(TaskPool& pool, std::span<const std::uint8_t> inflated, std::size_t blockBytes) {
    // An empty chunk still needs one (empty) final block.
    blocks_.assign(std::max<std::size_t>(1, (inflated.size() + blockBytes - 1) / blockBytes), Block{});
    for (std::size_t index = 0; index < blocks_.size(); ++index) {
        const std::size_t begin = index * blockBytes;
        const std::size_t end = std::min(inflated.size(), begin + blockBytes);
        const std::size_t primeFrom = begin > kWindowBytes ? begin - kWindowBytes : 0;
        const auto dictionary = inflated.subspan(primeFrom, begin - primeFrom);
        const auto data = inflated.subspan(begin, end - begin);
        const bool last = index + 1 == blocks_.size();
        pool.submit([dictionary, data, last, block = &blocks_[index]] { deflateBlock(dictionary, data, last, *block); });
    }
}

Outcome<std::vector<std::uint8_t>> BlockDeflate::join() {
    using Result = Outcome<std::vector<std::uint8_t>>;
    std::size_t total = sizeof kZlibHeader + 4;
    for (const auto& block : blocks_) {
        if (block.status != Z_OK)
            return Result::failure(std::string("cannot be compressed (zlib: ") + zError(block.status) + ")");
        total += block.packed.size();
    }
    std::vector<std::uint8_t> stream;
    stream.reserve(total);
    stream.insert(stream.end(), std::begin(kZlibHeader), std::end(kZlibHeader));
    uLong adler = adler32(0, nullptr, 0);
    for (auto& block : blocks_) {
        stream.insert(stream.end(), block.packed.begin(), block.packed.end());
        adler = adler32_combine(adler, block.adler, static_cast<z_off_t>(block.length));
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
