#pragma once

#include "io/outcome.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace veltrane::io {

// The largest file Veltrane reads; real levels and libraries are tens of megabytes.
constexpr std::uintmax_t kMaxInputFileBytes = std::uintmax_t{1} << 30;

// Reads a whole file into memory. Fails with the reason when it cannot be opened or is too large.
Outcome<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& path);

// Replaces `path` with `bytes` without ever leaving it half-written: the bytes go to a temporary
// file in the same folder, which is flushed to disk and renamed over `path` only when complete.
// On failure `path` is untouched and the message says why.
Status replaceFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Test seam: the next replaceFile writes only its first `bytesBeforeFailure` bytes and then fails as
// if the disk had answered `error` (EIO, ENOSPC, ...), the way a write fails half-way in the field.
// It acts once; nothing outside the tests sets it.
void failNextReplaceAfter(std::size_t bytesBeforeFailure, int error);

} // namespace veltrane::io
