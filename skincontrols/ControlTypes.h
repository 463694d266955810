// The enumerations of the skinned-control bases, tied to the names stored in forms.
#pragma once

#include <array>
#include <string_view>

#include "graphics/PaintHelpers.h"
#include "graphics/PaintSurface.h"

namespace vandrel {

enum TSeBevelCut { kbvNone, kbvLowered, kbvRaised, kbvSpace, kbvBorder, kbvFlatBorder };
enum TSeBevelKind { kbkNone, kbkSingle, kbkTile, kbkSoft, kbkBorder, kbkFlat };

inline constexpr std::array<std::string_view, 6> kBevelCutNames = {
    "kbvNone", "kbvLowered", "kbvRaised", "kbvSpace", "kbvBorder", "kbvFlatBorder"};
inline constexpr std::array<std::string_view, 6> kBevelKindNames = {
    "kbkNone", "kbkSingle", "kbkTile", "kbkSoft", "kbkBorder", "kbkFlat"};
inline constexpr std::array<std::string_view, 4> kBevelSideNames = {
    "kbsLeft", "kbsTop", "kbsRight", "kbsBottom"};
static_assert(kBevelCutNames.size() == size_t(kbvFlatBorder) + 1);
static_assert(kBevelKindNames.size() == size_t(kbkFlat) + 1);
static_assert(kBevelSideNames.size() == size_t(kbsBottom) + 1);

}  // namespace vandrel
