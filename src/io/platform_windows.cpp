// What differs between systems, for Windows: reading and atomically replacing files, the arguments.
// The twin of platform_posix.cpp, with the same messages; paths are wide, and text in and out is UTF-8.
#include "io/command_line.h"
#include "io/file_io.h"
#include "io/large_buffer.h"
#include "io/link_target.h"
#include "io/platform_memory.h"

#include <algorithm>
#include <optional>
#include <string>
#include <system_error>

#ifndef NOMINMAX
#define NOMINMAX // std::min, not the macro
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <shellapi.h>

namespace veltrane::io {
namespace {

std::string utf8(std::wstring_view text) {
    if (text.empty())
        return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string converted(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), converted.data(), size, nullptr,
                          nullptr);
    return converted;
}

// The system's words for its last error, without the full stop and line break it ends them with.
std::string reason(DWORD error = ::GetLastError()) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
        0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string words = length == 0 ? "error " + std::to_string(error) : utf8({text, length});
    ::LocalFree(text);
    while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == '.'))
        words.pop_back();
    return words;
}

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { close(); }
    [[nodiscard]] bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    [[nodiscard]] HANDLE get() const { return handle_; }
    bool close() {
        const bool closed = !valid() || ::CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

struct InjectedFailure {
    std::size_t bytesBeforeFailure = 0;
    int error = 0;
};
std::optional<InjectedFailure> injectedFailure;

// Writes everything, in pieces a DWORD can count. An injected failure cuts the writing short where asked
// and gives its reason through `injectedReason`.
bool writeAll(HANDLE file, std::span<const std::uint8_t> bytes, std::string& injectedReason) {
    std::optional<InjectedFailure> injected;
    injected.swap(injectedFailure);
    while (!bytes.empty()) {
        std::size_t chunk = std::min<std::size_t>(bytes.size(), 1u << 30);
        if (injected) {
            if (injected->bytesBeforeFailure == 0) {
                injectedReason = std::generic_category().message(injected->error);
                return false;
            }
            chunk = std::min(chunk, injected->bytesBeforeFailure);
        }
        DWORD written = 0;
        if (::WriteFile(file, bytes.data(), static_cast<DWORD>(chunk), &written, nullptr) == 0)
            return false;
        bytes = bytes.subspan(written);
        if (injected)
            injected->bytesBeforeFailure -= written;
    }
    return true;
}

// The attributes a new file gets: the existing file's (hidden, say), but never read-only, or else none.
DWORD attributesFor(const std::filesystem::path& path) {
    const DWORD existing = ::GetFileAttributesW(path.c_str());
    if (existing == INVALID_FILE_ATTRIBUTES)
        return FILE_ATTRIBUTE_NORMAL;
    const DWORD kept = existing & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                   FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    return kept == 0 ? FILE_ATTRIBUTE_NORMAL : kept;
}

// A new file beside `path`, named after it, that nothing else has opened: ".level.tr4.1a2b-0".
std::optional<std::filesystem::path> createTemporary(const std::filesystem::path& folder,
                                                     const std::filesystem::path& path, HANDLE& file) {
    const DWORD attributes = attributesFor(path);
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const auto name = folder / (L"." + path.filename().wstring() + L"." +
                                    std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(attempt));
        file = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             attributes | FILE_FLAG_WRITE_THROUGH, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            return name;
        if (::GetLastError() != ERROR_FILE_EXISTS)
            return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

Outcome<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& path) {
    using Result = Outcome<std::vector<std::uint8_t>>;
    // Backup semantics open a folder too, so that it is named as one rather than refused as unreadable.
    Handle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid())
        return Result::failure("cannot open " + path.string() + ": " + reason());
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(file.get()) != FILE_TYPE_DISK || ::GetFileInformationByHandle(file.get(), &info) == 0 ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return Result::failure(path.string() + " is not a regular file");
    const auto length = std::uintmax_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow;
    if (length > kMaxInputFileBytes)
        return Result::failure(path.string() + " is " + std::to_string(length) + " bytes, more than the " +
                               std::to_string(kMaxInputFileBytes) + " bytes Veltrane reads");
    auto bytes = largeBuffer(static_cast<std::size_t>(length));
    std::size_t got = 0;
    while (got < bytes.size()) {
        DWORD read = 0;
        if (::ReadFile(file.get(), bytes.data() + got, static_cast<DWORD>(bytes.size() - got), &read, nullptr) == 0)
            return Result::failure("cannot read " + path.string() + ": " + reason());
        if (read == 0)
            return Result::failure("cannot read " + path.string() + ": file changed while read");
        got += read;
    }
    return bytes;
}

Status replaceFile(const std::filesystem::path& given, std::span<const std::uint8_t> bytes) {
    const std::filesystem::path path = linkTarget(given);
    const auto folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    HANDLE created = INVALID_HANDLE_VALUE;
    const auto temporary = createTemporary(folder, path, created);
    if (!temporary)
        return Status::failure("cannot create a file in " + folder.string() + ": " + reason());
    Handle file(created);

    auto fail = [&](const std::string& what, const std::string& why) {
        file.close();
        ::DeleteFileW(temporary->c_str());
        return Status::failure(what + ": " + why);
    };
    std::string injectedReason;
    if (!writeAll(file.get(), bytes, injectedReason))
        return fail("cannot write " + path.string(), injectedReason.empty() ? reason() : injectedReason);
    if (::FlushFileBuffers(file.get()) == 0)
        return fail("cannot flush " + path.string() + " to disk", reason());
    if (!file.close())
        return fail("cannot close " + path.string(), reason());
    if (::MoveFileExW(temporary->c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0)
        return fail("cannot replace " + path.string(), reason());
    return success();
}

void failNextReplaceAfter(std::size_t bytesBeforeFailure, int error) {
    injectedFailure = InjectedFailure{bytesBeforeFailure, error};
}

std::vector<std::string> utf8Arguments(int, char**) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(utf8(wide[i]));
    ::LocalFree(wide);
    ::SetConsoleOutputCP(CP_UTF8);
    return arguments;
}

// Huge pages need a privilege that ordinary programs lack on Windows: the advice is not taken.
void adviseHugePages(void*, std::size_t) {}
void makeHugePage(void*) {}
void keepHeapOnHugePages(std::size_t) {}

} // namespace veltrane::io
