// The enumerations of the skinned-control bases, tied to the names stored in forms.
#pragma once

#include <array>
#include <string_view>

#include "graphics/PaintHelpers.h"

namespace vandrel {

// How a control's paint reaches the screen: straight to its window, through the process-wide
// shared buffer, or through a bitmap of its own made for each paint.
enum TSePerformance { kspNoBuffer, kspSharedBuffer, kspDoubleBuffer };
enum TSeBevelCut { kbvNone, kbvLowered, kbvRaised, kbvSpace, kbvBorder, kbvFlatBorder };
enum TSeBevelKind { kbkNone, kbkSingle, kbkTile, kbkSoft, kbkBorder, kbkFlat };

inline constexpr std::array<std::string_view, 3> kPerformanceNames = {
    "kspNoBuffer", "kspSharedBuffer", "kspDoubleBuffer"};
inline constexpr std::array<std::string_view, 6> kBevelCutNames = {
    "kbvNone", "kbvLowered", "kbvRaised", "kbvSpace", "kbvBorder", "kbvFlatBorder"};
inline constexpr std::array<std::string_view, 6> kBevelKindNames = {
    "kbkNone", "kbkSingle", "kbkTile", "kbkSoft", "kbkBorder", "kbkFlat"};
inline constexpr std::array<std::string_view, 4> kBevelSideNames = {
    "kbsLeft", "kbsTop", "kbsRight", "kbsBottom"};
static_assert(kPerformanceNames.size() == size_t(kspDoubleBuffer) + 1);
static_assert(kBevelCutNames.size() == size_t(kbvFlatBorder) + 1);
static_assert(kBevelKindNames.size() == size_t(kbkFlat) + 1);
static_assert(kBevelSideNames.size() == size_t(kbsBottom) + 1);

}  // namespace vandrel
