#include "framework/PenBrush.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "framework/Bitmap.h"
#include "framework/PropertyInfo.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/Pen.h"

namespace vandrel {

namespace {
constexpr std::array<std::string_view, 7> kPenStyleNames = {"psSolid", "psDash", "psDot", "psDashDot",
                                                            "psDashDotDot", "psClear", "psInsideFrame"};
constexpr std::array<std::string_view, 16> kPenModeNames = {
    "pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot", "pmMaskPenNot",
    "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask", "pmNotMask", "pmXor", "pmNotXor"};
constexpr std::array<std::string_view, 8> kBrushStyleNames = {"bsSolid", "bsClear", "bsHorizontal", "bsVertical",
                                                              "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"};
static_assert(kPenStyleNames.size() == size_t(psInsideFrame) + 1);
static_assert(kPenModeNames.size() == size_t(pmNotXor) + 1);
static_assert(kBrushStyleNames.size() == size_t(bsDiagCross) + 1);

constexpr std::array<int, 16> kRop2 = {R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN,
                                       R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN,
                                       R2_MERGEPEN, R2_NOTMERGEPEN, R2_MASKPEN, R2_NOTMASKPEN, R2_XORPEN,
                                       R2_NOTXORPEN};

// 8 x 8 hatch masks, one byte per row, bit 7 = leftmost pixel; set bits take the brush colour.
constexpr std::array<std::array<std::uint8_t, 8>, 6> kHatches = {{
    {0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00},  // horizontal
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // forward diagonal
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // backward diagonal
    {0x08, 0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08},  // cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // diagonal cross
}};
}  // namespace

const TClassInfo& TPen::StaticClassInfo() {
  using T = TPen;
  static const TClassInfo info("TPen", &TPersistent::StaticClassInfo(), nullptr, {
      prop::Color("Color", &T::Color, &T::SetColor, clBlack),
      prop::Enum("Mode", &T::Mode, &T::SetMode, kPenModeNames, pmCopy),
      prop::Enum("Style", &T::Style, &T::SetStyle, kPenStyleNames, psSolid),
      prop::Integer("Width", &T::Width, &T::SetWidth, 1),
  });
  return info;
}

TPen::~TPen() {
  if (m_handle) DeleteObject(m_handle);
}

void TPen::Assign(const TPersistent& source) {
  if (auto* p = dynamic_cast<const TPen*>(&source)) {
    m_color = p->m_color;
    m_width = p->m_width;
    m_style = p->m_style;
    m_mode = p->m_mode;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

void TPen::SetColor(TColor c) {
  if (c == m_color) return;
  m_color = c;
  Changed();
}
void TPen::SetWidth(int w) {
  if (w == m_width) return;
  m_width = w;
  Changed();
}
void TPen::SetStyle(TPenStyle s) {
  if (s == m_style) return;
  m_style = s;
  Changed();
}
void TPen::SetMode(TPenMode m) {
  if (m == m_mode) return;
  m_mode = m;
  Changed();
}
int TPen::Rop2() const { return kRop2[size_t(m_mode)]; }

HPEN TPen::Handle() const {
  if (!m_handle) m_handle = CreatePen(int(m_style), m_width, ColorToRGB(m_color));
  return m_handle;
}

void TPen::Changed() {
  if (m_handle) DeleteObject(m_handle);
  m_handle = HPEN();
  if (OnChange) OnChange(this);
}

const TClassInfo& TBrush::StaticClassInfo() {
  using T = TBrush;
  static const TClassInfo info("TBrush", &TPersistent::StaticClassInfo(), nullptr, {
      prop::Color("Color", &T::Color, &T::SetColor, clWhite),
      prop::Enum("Style", &T::Style, &T::SetStyle, kBrushStyleNames, bsSolid),
  });
  return info;
}

TBrush::TBrush() = default;

TBrush::~TBrush() {
  if (m_handle) DeleteObject(m_handle);
}

void TBrush::Assign(const TPersistent& source) {
  if (auto* b = dynamic_cast<const TBrush*>(&source)) {
    m_color = b->m_color;
    m_style = b->m_style;
    m_bitmap.reset();
    if (b->m_bitmap) {
      m_bitmap = std::make_unique<TBitmap>();
      m_bitmap->Assign(*b->m_bitmap);
    }
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

void TBrush::SetColor(TColor c) {
  if (c == m_color && m_style != bsClear) return;
  m_color = c;
  // Giving a clear brush a colour makes it solid again, as callers expect after FillRect setups.
  if (m_style == bsClear) m_style = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle s) {
  if (s == m_style) return;
  m_style = s;
  Changed();
}

void TBrush::SetBitmap(const TBitmap* bitmap) {
  m_bitmap.reset();
  if (bitmap && !bitmap->Empty()) {
    m_bitmap = std::make_unique<TBitmap>();
    m_bitmap->Assign(*bitmap);
  }
  Changed();
}

HBRUSH TBrush::Handle() const {
  if (m_handle) return m_handle;
  if (m_bitmap) {
    m_handle = CreatePatternBrush(m_bitmap->Handle());
  } else if (m_style == bsClear) {
    LOGBRUSH lb;
    lb.lbStyle = BS_NULL;
    m_handle = CreateBrushIndirect(lb);
  } else if (m_style == bsSolid) {
    m_handle = CreateSolidBrush(ColorToRGB(m_color));
  } else {
    const auto& rows = kHatches[size_t(m_style) - size_t(bsHorizontal)];
    std::uint32_t pixels[64];
    std::uint32_t fg = PixelFromColor(ColorToRGB(m_color));
    std::uint32_t bg = PixelFromColor(ColorToRGB(clWhite));
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) pixels[y * 8 + x] = (rows[size_t(y)] & (0x80 >> x)) ? fg : bg;
    HBITMAP pattern = CreateBitmap(8, 8, 1, 32, pixels);
    m_handle = CreatePatternBrush(pattern);
    DeleteObject(pattern);
  }
  return m_handle;
}

void TBrush::Changed() {
  if (m_handle) DeleteObject(m_handle);
  m_handle = HBRUSH();
  if (OnChange) OnChange(this);
}

}  // namespace vandrel
