#include "support/temp_folder.h"

#include "io/file_io.h"

#include <fstream>
#include <stdexcept>
#include <stdlib.h>

namespace veltrane::testing {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "veltrane-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempFolder::write(const std::string& name, std::span<const std::uint8_t> bytes) const {
    const auto file = path_ / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return file;
}

std::vector<std::uint8_t> TempFolder::read(const std::filesystem::path& file) {
    auto bytes = io::readWholeFile(file);
    return bytes ? std::move(bytes.value()) : std::vector<std::uint8_t>();
}

std::size_t TempFolder::entries(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()));
}

} // namespace veltrane::testing
