#pragma once

#include "level/mesh_record.h"
#include "builders/objects.h"
#include "builders/shapes.h"

#include <cstdint>

// The demo's small objects. Each takes the file's mesh form and the texture words of its faces, so
// the level and the library can each have their own.
namespace veltrane::demo {

// Moveables of the target level.
builders::Moveable lever(level::MeshKind kind, std::uint32_t objectId, const builders::Skin& skin);
builders::Moveable door(level::MeshKind kind, std::uint32_t objectId, const builders::Skin& skin);
// A body with four legs, all hanging from the body.
builders::Moveable crawler(level::MeshKind kind, std::uint32_t objectId, const builders::Skin& skin);

// Moveables of the source library.
// A pickup: one translucent mesh and no animations.
builders::Moveable gem(level::MeshKind kind, std::uint32_t objectId, const builders::Skin& skin);
builders::Moveable bell(level::MeshKind kind, std::uint32_t objectId, const builders::Skin& skin);
builders::Moveable bladeTrap(level::MeshKind kind, std::uint32_t objectId, const builders::Skin& skin);

// Static meshes of the target level (shaded, as the game's static meshes are).
builders::StaticMesh plant(level::MeshKind kind, std::uint32_t objectId, const builders::Skin& skin);
builders::StaticMesh rock(level::MeshKind kind, std::uint32_t objectId, const builders::Skin& skin);
builders::StaticMesh column(level::MeshKind kind, std::uint32_t objectId, const builders::Skin& skin);
builders::StaticMesh urn(level::MeshKind kind, std::uint32_t objectId, const builders::Skin& skin);

// Static meshes of the source library.
builders::StaticMesh crate(level::MeshKind kind, std::uint32_t objectId, const builders::Skin& skin);
builders::StaticMesh pillar(level::MeshKind kind, std::uint32_t objectId, const builders::Skin& skin);
builders::StaticMesh barrel(level::MeshKind kind, std::uint32_t objectId, const builders::Skin& skin);
builders::StaticMesh obelisk(level::MeshKind kind, std::uint32_t objectId, const builders::Skin& skin);
// A lantern whose faces are translucent.
builders::StaticMesh lantern(level::MeshKind kind, std::uint32_t objectId, const builders::Skin& skin);
builders::StaticMesh table(level::MeshKind kind, std::uint32_t objectId, const builders::Skin& skin);

} // namespace veltrane::demo
