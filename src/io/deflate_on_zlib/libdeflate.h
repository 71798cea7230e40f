#pragma once
// The calls of libdeflate that the level's chunks are packed and unpacked with, made on zlib for
// systems where no build of libdeflate is at hand (Debian has none for mingw-w64). The streams are the
// same deflate and zlib streams; only speed differs.

#include <cstddef>
#include <cstdint>

struct libdeflate_compressor;
struct libdeflate_decompressor;

enum libdeflate_result {
    LIBDEFLATE_SUCCESS = 0,
    LIBDEFLATE_BAD_DATA = 1,
    LIBDEFLATE_SHORT_OUTPUT = 2,
    LIBDEFLATE_INSUFFICIENT_SPACE = 3,
};

libdeflate_compressor* libdeflate_alloc_compressor(int compressionLevel);
void libdeflate_free_compressor(libdeflate_compressor* compressor);
std::size_t libdeflate_deflate_compress_bound(libdeflate_compressor* compressor, std::size_t inBytes);
// A raw deflate stream of `in`, or 0 when it does not fit in `outAvailable` bytes.
std::size_t libdeflate_deflate_compress(libdeflate_compressor* compressor, const void* in, std::size_t inBytes,
                                        void* out, std::size_t outAvailable);

libdeflate_decompressor* libdeflate_alloc_decompressor();
void libdeflate_free_decompressor(libdeflate_decompressor* decompressor);
// Inflates the zlib stream at the start of `in`; on success tells the bytes it took and gave.
libdeflate_result libdeflate_zlib_decompress_ex(libdeflate_decompressor* decompressor, const void* in,
                                                std::size_t inBytes, void* out, std::size_t outAvailable,
                                                std::size_t* inTaken, std::size_t* outProduced);

std::uint32_t libdeflate_adler32(std::uint32_t adler, const void* buffer, std::size_t length);
