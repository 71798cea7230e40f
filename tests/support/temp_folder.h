#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace veltrane::testing {

// A folder of its own for one test under the system's temporary folder, removed with all it holds
// when the object goes, also when the test fails.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }
    [[nodiscard]] std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    // Writes `bytes` to the file `name` in the folder and returns its path.
    std::filesystem::path write(const std::string& name, std::span<const std::uint8_t> bytes) const;
    // The bytes of a file (empty when there is none) and the number of entries in a folder.
    static std::vector<std::uint8_t> read(const std::filesystem::path& file);
    static std::size_t entries(const std::filesystem::path& folder);

private:
    std::filesystem::path path_;
};

} // namespace veltrane::testing
