#pragma once

#include <cstdint>

// Object and sound IDs of the demo. Target and source use different IDs so that every source
// object is new to the target.
namespace veltrane::demo::ids {

// Moveables of the target level.
inline constexpr std::uint32_t kPlayer = 0;
inline constexpr std::uint32_t kCrawler = 31;
inline constexpr std::uint32_t kDoor = 123;
inline constexpr std::uint32_t kLever = 131;
inline constexpr std::uint32_t kFirstLevelFiller = 200;

// Static meshes of the target level.
inline constexpr std::uint32_t kPlant = 0;
inline constexpr std::uint32_t kRock = 1;
inline constexpr std::uint32_t kColumn = 2;
inline constexpr std::uint32_t kUrn = 3;
inline constexpr std::uint32_t kFirstLevelFillerStatic = 10;

// Moveables of the source library.
inline constexpr std::uint32_t kWalker = 20;
inline constexpr std::uint32_t kGem = 160;
inline constexpr std::uint32_t kBell = 165;
inline constexpr std::uint32_t kBladeTrap = 170;
inline constexpr std::uint32_t kFirstLibraryFiller = 400;

// Static meshes of the source library.
inline constexpr std::uint32_t kCrate = 40;
inline constexpr std::uint32_t kPillar = 41;
inline constexpr std::uint32_t kBarrel = 42;
inline constexpr std::uint32_t kObelisk = 43;
inline constexpr std::uint32_t kLantern = 44;
inline constexpr std::uint32_t kTable = 45;
inline constexpr std::uint32_t kFirstLibraryFillerStatic = 100;

// Sounds that animation commands play.
inline constexpr std::int16_t kFootstep = 0;
inline constexpr std::int16_t kSwitch = 1;
inline constexpr std::int16_t kDoorSound = 2;
inline constexpr std::int16_t kBellSound = 3;
inline constexpr std::int16_t kBladeSound = 4;

// Flip effects that animation commands trigger.
inline constexpr std::int16_t kFootprint = 32;
inline constexpr std::int16_t kShakeCamera = 1;

} // namespace veltrane::demo::ids
