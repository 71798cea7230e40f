#include "cli/id_selection.h"

#include <charconv>
#include <limits>
#include <optional>
#include <string>

namespace veltrane::cli {
namespace {

std::optional<std::uint32_t> parseId(std::string_view text) {
    std::uint32_t id = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return id;
}

std::string rangeText(const IdRange& range) {
    return range.first == range.last
               ? "ObjectId " + std::to_string(range.first)
               : "an ObjectId from " + std::to_string(range.first) + " to " + std::to_string(range.last);
}

} // namespace

io::Outcome<IdRange> parseIdRange(std::string_view text) {
    using Result = io::Outcome<IdRange>;
    const auto dash = text.find('-');
    const auto first = parseId(text.substr(0, dash));
    const auto last = dash == std::string_view::npos ? first : parseId(text.substr(dash + 1));
    if (!first || !last)
        return Result::failure("'" + std::string(text) + "' is not an ObjectId (0 to " +
                               std::to_string(std::numeric_limits<std::uint32_t>::max()) +
                               ") nor a range of them like 100-120");
    if (*first > *last)
        return Result::failure("the range '" + std::string(text) + "' ends before it starts");
    return IdRange{*first, *last};
}

io::Outcome<std::vector<std::int32_t>> selectObjects(const std::vector<std::uint32_t>& objectIds,
                                                     const ObjectSelection& selection, std::string_view kind,
                                                     const std::filesystem::path& library) {
    std::vector<bool> ticked(objectIds.size(), selection.all);
    for (const IdRange& range : selection.ranges) {
        bool found = false;
        for (std::size_t i = 0; i < objectIds.size(); ++i)
            if (objectIds[i] >= range.first && objectIds[i] <= range.last)
                ticked[i] = found = true;
        if (!found)
            return io::Outcome<std::vector<std::int32_t>>::failure(library.filename().string() + ": no " +
                                                                   std::string(kind) + " has " + rangeText(range));
    }
    std::vector<std::int32_t> indices;
    for (std::size_t i = 0; i < ticked.size(); ++i)
        if (ticked[i])
            indices.push_back(static_cast<std::int32_t>(i));
    return indices;
}

} // namespace veltrane::cli
