// What differs between systems, for POSIX: reading and atomically replacing files, the arguments.
// platform_windows.cpp is its twin.
#include "io/command_line.h"
#include "io/file_io.h"

#include "io/large_buffer.h"
#include "io/link_target.h"
#include "io/platform_memory.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <malloc.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace veltrane::io {
namespace {

std::string reason() { return std::strerror(errno); }

struct InjectedFailure {
    std::size_t bytesBeforeFailure = 0;
    int error = 0;
};
std::optional<InjectedFailure> injectedFailure;

// Writes everything, retrying short writes. An injected failure cuts the writing short where asked.
bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    std::optional<InjectedFailure> injected;
    injected.swap(injectedFailure);
    while (!bytes.empty()) {
        std::size_t chunk = bytes.size();
        if (injected) {
            if (injected->bytesBeforeFailure == 0) {
                errno = injected->error;
                return false;
            }
            chunk = std::min(chunk, injected->bytesBeforeFailure);
        }
        const ssize_t written = ::write(fd, bytes.data(), chunk);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
        if (injected)
            injected->bytesBeforeFailure -= static_cast<std::size_t>(written);
    }
    return true;
}

// The mode a newly created file would get, or the existing file's mode when there is one.
mode_t modeFor(const std::filesystem::path& path) {
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0)
        return existing.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

Outcome<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& path) {
    using Result = Outcome<std::vector<std::uint8_t>>;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return Result::failure("cannot open " + path.string() + ": " + reason());
    struct stat info {};
    if (::fstat(::fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fclose(file);
        return Result::failure(path.string() + " is not a regular file");
    }
    const auto length = static_cast<std::uintmax_t>(info.st_size);
    if (length > kMaxInputFileBytes) {
        std::fclose(file);
        return Result::failure(path.string() + " is " + std::to_string(length) + " bytes, more than the " +
                               std::to_string(kMaxInputFileBytes) + " bytes Veltrane reads");
    }
    auto bytes = largeBuffer(static_cast<std::size_t>(length));
    const std::size_t got = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed || got != bytes.size())
        return Result::failure("cannot read " + path.string() + ": " + (failed ? reason() : "file changed while read"));
    return bytes;
}

Status replaceFile(const std::filesystem::path& given, std::span<const std::uint8_t> bytes) {
    const std::filesystem::path path = linkTarget(given);
    const auto folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    std::string pattern = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return Status::failure("cannot create a file in " + folder.string() + ": " + reason());

    auto fail = [&](const std::string& what) {
        const std::string message = what + ": " + reason();
        ::close(fd);
        ::unlink(pattern.c_str());
        return Status::failure(message);
    };
    if (!writeAll(fd, bytes))
        return fail("cannot write " + path.string());
    if (::fchmod(fd, modeFor(path)) != 0)
        return fail("cannot set the permissions of " + path.string());
    if (::fsync(fd) != 0)
        return fail("cannot flush " + path.string() + " to disk");
    if (::close(fd) != 0) {
        const std::string message = "cannot close " + path.string() + ": " + reason();
        ::unlink(pattern.c_str());
        return Status::failure(message);
    }
    if (::rename(pattern.c_str(), path.c_str()) != 0) {
        const std::string message = "cannot replace " + path.string() + ": " + reason();
        ::unlink(pattern.c_str());
        return Status::failure(message);
    }
    return success();
}

void failNextReplaceAfter(std::size_t bytesBeforeFailure, int error) {
    injectedFailure = InjectedFailure{bytesBeforeFailure, error};
}

std::vector<std::string> utf8Arguments(int argc, char** argv) { return {argv, argv + argc}; }

void adviseHugePages(void* start, std::size_t length) { ::madvise(start, length, MADV_HUGEPAGE); }

void makeHugePage(void* start) {
    // MADV_COLLAPSE (Linux 6.1), which the C library's headers do not name yet.
    constexpr int kCollapse = 25;
    ::madvise(start, kHugePageBytes, kCollapse);
}

void keepHeapOnHugePages(std::size_t bytes) {
    // Blocks below the largest chunk of a level come from the heap, which grows `bytes` at a time and
    // gives nothing back before it is at least that much larger than in use.
    constexpr int kMapThreshold = 32 << 20;
    ::mallopt(M_MMAP_THRESHOLD, kMapThreshold);
    ::mallopt(M_TOP_PAD, static_cast<int>(bytes));
    ::mallopt(M_TRIM_THRESHOLD, static_cast<int>(bytes));
    // The pool's threads take their blocks from the same heap, not from arenas of their own.
    ::mallopt(M_ARENA_MAX, 1);
    auto* const before = static_cast<char*>(::sbrk(0));
    // A block one byte larger than what is left at the top makes the heap grow now, by `bytes` more
    // (volatile, so that the compiler keeps the call). The new top's header then lies just past the
    // old end: a page of the grown part touched before the advice would keep its whole 2 MiB on
    // ordinary pages.
    void* volatile block = std::malloc(::mallinfo2().keepcost + 1);
    std::free(block);
    auto* const after = static_cast<char*>(::sbrk(0));
    if (after > before)
        adviseHugePages(before, static_cast<std::size_t>(after - before));
}

} // namespace veltrane::io
