#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Texture pages as a level holds them: 256 x 256 texels, in a 32-bit and a 16-bit form.
namespace veltrane::level {

constexpr std::size_t kPageSide = 256;
constexpr std::size_t kPageBytes32 = kPageSide * kPageSide * 4; // B, G, R, A
constexpr std::size_t kPageBytes16 = kPageSide * kPageSide * 2; // bit 15 alpha, then 5 bits each of R, G, B

// The whole pages of `pageBytes` bytes that `bytes` bytes hold; a page cut short does not count.
constexpr std::uint32_t wholePages(std::size_t bytes, std::size_t pageBytes) {
    return static_cast<std::uint32_t>(bytes / pageBytes);
}

// Pages in the 32-bit form converted to the 16-bit form: one little-endian word a texel,
// (R*31/255) << 10 | (G*31/255) << 5 | (B*31/255), with bit 15 set when A is 255.
std::vector<std::uint8_t> convertPagesTo16(std::span<const std::uint8_t> pages32);
// The same into `pages16`, which holds half as many bytes as `pages32`.
void convertPagesTo16(std::span<const std::uint8_t> pages32, std::span<std::uint8_t> pages16);

} // namespace veltrane::level
