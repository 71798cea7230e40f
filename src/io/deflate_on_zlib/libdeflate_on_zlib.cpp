#include "libdeflate.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <new>

namespace {

// zlib counts bytes in 32-bit words; a level chunk's packed and inflated sizes are 32-bit words too.
bool fits(std::size_t bytes) { return bytes <= std::numeric_limits<uInt>::max(); }

// A raw deflate stream (no zlib header or checksum) at `level`.
bool startRawDeflate(z_stream& stream, int level) {
    return deflateInit2(&stream, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
}

} // namespace

struct libdeflate_compressor {
    int level;
};
struct libdeflate_decompressor {};

libdeflate_compressor* libdeflate_alloc_compressor(int compressionLevel) {
    return new (std::nothrow) libdeflate_compressor{std::clamp(compressionLevel, 1, 9)};
}

void libdeflate_free_compressor(libdeflate_compressor* compressor) { delete compressor; }

std::size_t libdeflate_deflate_compress_bound(libdeflate_compressor* compressor, std::size_t inBytes) {
    z_stream stream{};
    if (!fits(inBytes) || !startRawDeflate(stream, compressor->level))
        throw std::bad_alloc();
    const std::size_t bound = deflateBound(&stream, static_cast<uLong>(inBytes));
    deflateEnd(&stream);
    return bound;
}

std::size_t libdeflate_deflate_compress(libdeflate_compressor* compressor, const void* in, std::size_t inBytes,
                                        void* out, std::size_t outAvailable) {
    z_stream stream{};
    if (!fits(inBytes) || !startRawDeflate(stream, compressor->level))
        return 0;
    stream.next_in = static_cast<Bytef*>(const_cast<void*>(in));
    stream.avail_in = static_cast<uInt>(inBytes);
    stream.next_out = static_cast<Bytef*>(out);
    stream.avail_out = static_cast<uInt>(std::min<std::size_t>(outAvailable, std::numeric_limits<uInt>::max()));
    const int status = deflate(&stream, Z_FINISH);
    const std::size_t written = stream.total_out;
    deflateEnd(&stream);
    return status == Z_STREAM_END ? written : 0;
}

libdeflate_decompressor* libdeflate_alloc_decompressor() { return new (std::nothrow) libdeflate_decompressor{}; }

void libdeflate_free_decompressor(libdeflate_decompressor* decompressor) { delete decompressor; }

libdeflate_result libdeflate_zlib_decompress_ex(libdeflate_decompressor*, const void* in, std::size_t inBytes,
                                                void* out, std::size_t outAvailable, std::size_t* inTaken,
                                                std::size_t* outProduced) {
    if (!fits(inBytes) || !fits(outAvailable))
        return LIBDEFLATE_BAD_DATA;
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        throw std::bad_alloc();
    stream.next_in = static_cast<Bytef*>(const_cast<void*>(in));
    stream.avail_in = static_cast<uInt>(inBytes);
    stream.next_out = static_cast<Bytef*>(out);
    stream.avail_out = static_cast<uInt>(outAvailable);
    const int status = inflate(&stream, Z_FINISH);
    const std::size_t taken = stream.total_in;
    const std::size_t produced = stream.total_out;
    const bool full = stream.avail_out == 0;
    inflateEnd(&stream);
    if (status == Z_STREAM_END) {
        *inTaken = taken;
        *outProduced = produced;
        return LIBDEFLATE_SUCCESS;
    }
    // Z_FINISH with the output full and the stream not ended: the stream holds more than the room.
    return status == Z_BUF_ERROR && full ? LIBDEFLATE_INSUFFICIENT_SPACE : LIBDEFLATE_BAD_DATA;
}

std::uint32_t libdeflate_adler32(std::uint32_t adler, const void* buffer, std::size_t length) {
    return static_cast<std::uint32_t>(adler32_z(adler, static_cast<const Bytef*>(buffer), length));
}
