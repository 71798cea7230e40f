#include "cli/info.h"

#include "cli/json_text.h"

#include <cstdio>
#include <sstream>

namespace veltrane::cli {
namespace {

// "0x00345254 ("TR4\0")": a level's version word is four letters.
std::string versionText(std::uint32_t version) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", version);
    std::string letters;
    for (int shift = 0; shift < 32; shift += 8) {
        const char c = static_cast<char>((version >> shift) & 0xFF);
        letters += (c >= 32 && c < 127) ? std::string(1, c) : (c == 0 ? "\\0" : "?");
    }
    return std::string(hex) + " (\"" + letters + "\")";
}

// " Name=SKELETON" for an object in a named slot; nothing past the game's slots.
std::string nameText(std::string_view name) { return name.empty() ? std::string() : " Name=" + std::string(name); }

nlohmann::ordered_json nameJson(std::string_view name) {
    return name.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(name);
}

} // namespace

std::string summaryText(const FileSummary& summary) {
    std::ostringstream out;
    out << "file: " << summary.file.string() << '\n'
        << "kind: " << (summary.library ? "library" : "level") << '\n'
        << "Version: " << (summary.library ? std::to_string(summary.Version) : versionText(summary.Version)) << '\n';
    for (const auto& [name, value] : summary.header)
        out << name << ": " << value << '\n';
    out << "PageCount: " << summary.PageCount << '\n';
    for (const auto& chunk : summary.chunks)
        out << chunk.name << ": " << chunk.bytes << " bytes, " << chunk.packed << " packed\n";
    if (summary.tailBytes)
        out << "Tail: " << *summary.tailBytes << " bytes\n";
    out << "tables:\n";
    for (const auto& [name, size] : summary.tables)
        out << "  " << name << ": " << size << '\n';
    for (const auto& moveable : summary.moveables)
        out << "moveable " << moveable.index << ": ObjectId=" << moveable.ObjectId
            << " MeshCount=" << moveable.MeshCount << " Animation="
            << (moveable.Animation ? std::to_string(*moveable.Animation) : "none") << nameText(moveable.slotName)
            << '\n';
    for (const auto& mesh : summary.statics)
        out << "static " << mesh.index << ": ObjectId=" << mesh.ObjectId << " Mesh=" << mesh.Mesh
            << nameText(mesh.slotName) << '\n';
    return out.str();
}

nlohmann::ordered_json summaryJson(const FileSummary& summary) {
    nlohmann::ordered_json document = {{"jsonVersion", kJsonVersion},
                                       {"file", utf8Text(summary.file)},
                                       {"kind", summary.library ? "library" : "level"}};
    auto& header = document["header"] = {{"Version", summary.Version}};
    for (const auto& [name, value] : summary.header)
        header[std::string(name)] = value;
    document["PageCount"] = summary.PageCount;
    if (!summary.library) {
        auto& chunks = document["chunks"] = nlohmann::ordered_json::object();
        for (const auto& chunk : summary.chunks)
            chunks[std::string(chunk.name)] = {{"bytes", chunk.bytes}, {"packed", chunk.packed}};
        document["tailBytes"] = summary.tailBytes.value_or(0);
    }
    auto& tables = document["tables"] = nlohmann::ordered_json::object();
    for (const auto& [name, size] : summary.tables)
        tables[std::string(name)] = size;
    auto& moveables = document["moveables"] = nlohmann::ordered_json::array();
    for (const auto& moveable : summary.moveables)
        moveables.push_back({{"index", moveable.index},
                             {"ObjectId", moveable.ObjectId},
                             {"name", nameJson(moveable.slotName)},
                             {"MeshCount", moveable.MeshCount},
                             {"Animation", moveable.Animation ? nlohmann::ordered_json(*moveable.Animation)
                                                              : nlohmann::ordered_json()}});
    auto& statics = document["statics"] = nlohmann::ordered_json::array();
    for (const auto& mesh : summary.statics)
        statics.push_back({{"index", mesh.index},
                           {"ObjectId", mesh.ObjectId},
                           {"name", nameJson(mesh.slotName)},
                           {"Mesh", mesh.Mesh}});
    return document;
}

} // namespace veltrane::cli
