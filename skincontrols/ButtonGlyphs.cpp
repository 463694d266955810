#include "skincontrols/ButtonGlyphs.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/core/Exception.h"
#include "platform/core/Text.h"
#include "platform/gdi/Surface.h"

namespace vandrel {
namespace {

using TPixelMap = std::array<std::string_view, 16>;

// One character per pixel; '.' is the background.
std::uint32_t PaletteColor(char c) {
  switch (c) {
    case 'G': return 0xFF006400;  // dark green
    case 'g': return 0xFF20B020;  // green
    case 'l': return 0xFF90E890;  // light green
    case 'R': return 0xFF800000;  // dark red
    case 'r': return 0xFFE01818;  // red
    case 'p': return 0xFFFF8080;  // pink
    case 'B': return 0xFF000080;  // navy
    case 'b': return 0xFF1C50E0;  // blue
    case 'c': return 0xFF8CB4FF;  // light blue
    case 'K': return 0xFF000000;
    case 'W': return 0xFFFFFFFF;
    case 'S': return 0xFF808080;  // grey
    case 'L': return 0xFFC0C0C0;  // silver
    case 'Y': return 0xFFFFD800;  // yellow
    case 'O': return 0xFF6A3A10;  // brown
    case 'o': return 0xFFC08040;  // tan
    default: return 0xFF000000;
  }
}

constexpr TPixelMap kOk = {
    "................",
    "................",
    "............GG..",
    "...........GgG..",
    "..........GglG..",
    ".........GglG...",
    "..GG....GglG....",
    ".GlgG..GglG.....",
    "..GlgGGglG......",
    "...GlgglG.......",
    "....GllG........",
    ".....GG.........",
    "................",
    "................",
    "................",
    "................",
};

constexpr TPixelMap kCancel = {
    "................",
    "................",
    "...RR......RR...",
    "..RprR....RprR..",
    "...RprR..RprR...",
    "....RprRRprR....",
    ".....RprprR.....",
    "......RrrR......",
    ".....RrrrrR.....",
    "....RrrRRrrR....",
    "...RrrR..RrrR...",
    "..RrrR....RrrR..",
    "...RR......RR...",
    "................",
    "................",
    "................",
};

constexpr TPixelMap kHelp = {
    "................",
    ".....BBBBBB.....",
    "....BbccccbB....",
    "...BbcBBBBcbB...",
    "...BbB....BbB...",
    "....B.....BbB...",
    ".........BcbB...",
    "........BcbB....",
    ".......BcbB.....",
    "......BcbB......",
    "......BbbB......",
    ".......BB.......",
    "......BBBB......",
    "......BcbB......",
    "......BbbB......",
    ".......BB.......",
};

constexpr TPixelMap kYes = {
    "................",
    ".............GG.",
    "............GlgG",
    "...........GlggG",
    "..........GlggG.",
    ".GG......GlggG..",
    "GlgG....GlggG...",
    "GlggG..GlggG....",
    ".GlggGGlggG.....",
    "..GlgglggG......",
    "...GlgggG.......",
    "....GlgG........",
    ".....GG.........",
    "................",
    "................",
    "................",
};

constexpr TPixelMap kNo = {
    "................",
    ".....RRRRRR.....",
    "...RRrrrrrrRR...",
    "..RrrRR..RRrrR..",
    "..RrrrR....RrR..",
    ".RrRrrrR....RrR.",
    ".RrR.RrrR...RrR.",
    ".RrR..RrrR..RrR.",
    ".RrR...RrrR.RrR.",
    ".RrR....RrrRRrR.",
    "..RrR....RrrrR..",
    "..RrRR..RRrrrR..",
    "...RRrrrrrrRR...",
    ".....RRRRRR.....",
    "................",
    "................",
};

constexpr TPixelMap kClose = {
    "................",
    "...OOOOOOOOOO...",
    "...OooooooooO...",
    "...OoOOOOOOoO...",
    "...OoOooooOoO...",
    "...OoOooooOoO...",
    "...OoOOOOOOoO...",
    "...OoooooYYoO...",
    "...OoooooYYoO...",
    "...OoOOOOOOoO...",
    "...OoOooooOoO...",
    "...OoOooooOoO...",
    "...OoOOOOOOoO...",
    "...OooooooooO...",
    ".SSOOOOOOOOOOSS.",
    "................",
};

constexpr TPixelMap kAbort = {
    "................",
    ".....RRRRRR.....",
    "....RrrrrrrR....",
    "...RrppppprrR...",
    "..RrprrrrrrrrR..",
    "..RrprrrrrrrrR..",
    "..RrrrrrrrrrrR..",
    "..RrWWWWWWWWrR..",
    "..RrWWWWWWWWrR..",
    "..RrrrrrrrrrrR..",
    "..RrrrrrrrrrrR..",
    "...RrrrrrrrrR...",
    "....RrrrrrrR....",
    ".....RRRRRR.....",
    "................",
    "................",
};

constexpr TPixelMap kRetry = {
    "................",
    ".....BBBBB......",
    "...BBbbbbbBB....",
    "..BbbBBBBBbbB...",
    ".BbB.....BbbB...",
    ".BbB......BbB.B.",
    "BbB.......BbBBbB",
    "BbB......BbcccbB",
    "BbB.......BcccB.",
    "BbB........BcB..",
    ".BbB........B...",
    ".BbB............",
    "..BbbB....BB....",
    "...BBbbbbbbB....",
    ".....BBBBBB.....",
    "................",
};

constexpr TPixelMap kIgnore = {
    "................",
    "....BBBBBB......",
    "...BbbbbbbB.....",
    "..BbBBBBBbbB....",
    "..BbB....BbB....",
    "..BbB....BbB....",
    "..BbB..BBBbBBB..",
    "..BbB...BcccB...",
    "..BbB....BcB....",
    "..BbB.....B.....",
    "..BbB...........",
    "..BbB...........",
    "..BbB..LLLLLL...",
    "..BbB..SSSSSS...",
    "..BbB..KKKKKK...",
    "................",
};

constexpr TPixelMap kAll = {
    "................",
    ".......GG.......",
    "......GlgG......",
    ".GG..GlgG.......",
    "GlgGGlgG........",
    ".GlglgG.........",
    "..GllG......GG..",
    "...GG......GlgG.",
    ".......GG.GlgG..",
    "......GlgGlgG...",
    ".......GlglG....",
    "........GlG.....",
    ".........G......",
    "................",
    "................",
    "................",
};

constexpr bool WellFormed(const TPixelMap& map) {
  for (std::string_view row : map)
    if (row.size() != 16) return false;
  return true;
}
static_assert(WellFormed(kOk) && WellFormed(kCancel) && WellFormed(kHelp) && WellFormed(kYes) && WellFormed(kNo));
static_assert(WellFormed(kClose) && WellFormed(kAbort) && WellFormed(kRetry) && WellFormed(kIgnore) &&
              WellFormed(kAll));

struct TKindPicture {
  std::string_view Name;
  const TPixelMap* Map;
};

constexpr std::array<TKindPicture, 10> kPictures = {{
    {"SE_BTN_OK", &kOk},         {"SE_BTN_CANCEL", &kCancel}, {"SE_BTN_HELP", &kHelp},
    {"SE_BTN_YES", &kYes},       {"SE_BTN_NO", &kNo},         {"SE_BTN_CLOSE", &kClose},
    {"SE_BTN_ABORT", &kAbort},   {"SE_BTN_RETRY", &kRetry},   {"SE_BTN_IGNORE", &kIgnore},
    {"SE_BTN_ALL", &kAll},
}};

// Dark pixels carry the shape in the disabled form; light ones (highlights, white bars, panels)
// drop out, so inner detail stays visible as gaps.
bool IsInk(char c) {
  const std::uint32_t p = PaletteColor(c);
  const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
  return (r * 30 + g * 59 + b * 11) / 100 < 130;
}

// Normal cell at the left; at the right the classic disabled form: the dark pixels in the
// highlight colour one pixel down and right, and over them the same pixels in the shadow colour.
std::unique_ptr<TBitmap> MakePicture(const TPixelMap& map) {
  auto bitmap = std::make_unique<TBitmap>(32, 16);
  const COLORREF key = ColorToRGB(kKindGlyphBackground);
  const std::uint32_t background = PixelFromRGB(GetRValue(key), GetGValue(key), GetBValue(key));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x) bitmap->ScanLine(y)[x] = background;
  const std::uint32_t highlight = PixelFromRGB(255, 255, 255);
  const std::uint32_t shadow = PixelFromRGB(128, 128, 128);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      if (map[y][x] == '.') continue;
      bitmap->ScanLine(y)[x] = PaletteColor(map[y][x]) & 0x00FFFFFF;
      if (x < 15 && y < 15 && IsInk(map[y][x])) bitmap->ScanLine(y + 1)[16 + x + 1] = highlight;
    }
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      if (map[y][x] != '.' && IsInk(map[y][x])) bitmap->ScanLine(y)[16 + x] = shadow;
  return bitmap;
}

}  // namespace

const TBitmap& KindGlyph(std::string_view resourceName) {
  // Never destroyed: the pictures live as long as the process, and their bitmaps must not be freed
  // after the platform's object table at exit.
  static auto* cache = new std::map<std::string_view, std::unique_ptr<TBitmap>>;
  for (const TKindPicture& picture : kPictures) {
    if (!SameText(picture.Name, resourceName)) continue;
    auto& slot = (*cache)[picture.Name];
    if (!slot) slot = MakePicture(*picture.Map);
    return *slot;
  }
  throw EInvalidArgument("No button picture named " + std::string(resourceName));
}

}  // namespace vandrel
