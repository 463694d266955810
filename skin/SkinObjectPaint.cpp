// The base drawing of a skin object: the fill, the text (or the separator a "-" stands for) and the
// children.
#include <utility>

#include "framework/Canvas.h"
#include "graphics/Bitmap.h"
#include "graphics/PaintHelpers.h"
#include "graphics/TextHelpers.h"
#include "platform/gdi/DrawText.h"
#include "skin/SkinObject.h"

namespace vandrel {

namespace {

// Horizontal and vertical placement, in TSeTextAlign order.
constexpr UINT kTextAlignFlags[] = {
    DT_LEFT | DT_TOP,     DT_CENTER | DT_TOP,     DT_RIGHT | DT_TOP,
    DT_LEFT | DT_VCENTER, DT_CENTER | DT_VCENTER, DT_RIGHT | DT_VCENTER,
    DT_LEFT | DT_BOTTOM,  DT_CENTER | DT_BOTTOM,  DT_RIGHT | DT_BOTTOM,
};
static_assert(std::size(kTextAlignFlags) == size_t(taBottomRight) + 1);

UINT TextFlags(TSeTextAlign align, TBiDiMode mode) {
  UINT flags = kTextAlignFlags[align] | DT_SINGLELINE;
  if (mode != bdLeftToRight) {
    const UINT horizontal = flags & (DT_CENTER | DT_RIGHT);
    flags &= ~UINT(DT_CENTER | DT_RIGHT);
    flags |= horizontal == DT_RIGHT ? DT_LEFT : horizontal == DT_LEFT ? DT_RIGHT : horizontal;
  }
  if (mode == bdRightToLeft) flags |= DT_RTLREADING;
  return flags;
}

}  // namespace

int ScreenTextWidth(std::string_view text, const TFont& font) {
  // Text metrics here do not depend on the context, so a one-pixel bitmap stands in for the
  // screen and measuring works without a display.
  TseBitmap pixel;
  pixel.SetSize(1, 1);
  TCanvas canvas;
  canvas.SetHandle(pixel.DC());
  canvas.SetFont(font);
  const int width = WideTextWidth(canvas, text);
  canvas.SetHandle(HDC());
  return width;
}

TSeSkinObject::TStateLook::TStateLook(TSeSkinObject& object, const TColor* color, const TFont* font)
    : m_object(object), m_color(object.m_color) {
  if (font) {
    m_font = std::make_unique<TFont>();
    m_font->Assign(*object.m_font);
    object.m_font->Assign(*font);
  }
  if (color) object.m_color = *color;
}

TSeSkinObject::TStateLook::~TStateLook() {
  m_object.m_color = m_color;
  if (m_font) m_object.m_font->Assign(*m_font);
}

void TSeSkinObject::Draw(TCanvas& canvas) {
  if (!m_visible || m_width <= 0 || m_height <= 0) return;
  if (Count() == 0 || m_drawIfOwner) DrawFillAndText(canvas);
  DrawChildren(canvas);
}

void TSeSkinObject::DrawFillAndText(TCanvas& canvas) {
  if (m_color != clNone) FillColorRect(canvas, BoundsRect(), m_color);
  DrawText(canvas);
}

void TSeSkinObject::DrawText(TCanvas& canvas) {
  if (m_text == "-") {
    const int y = m_top + m_height / 2 - 1;
    FillColorRect(canvas, m_left + 3, y, m_left + m_width - 3, y + 1, GetFont()->Color());
    return;
  }
  if (m_text.empty()) return;
  const TRect bounds = BoundsRect();
  TRect r{ClampCoordinate(std::int64_t(bounds.Left) + m_textMarginLeft), ClampCoordinate(std::int64_t(bounds.Top) + m_textMarginTop),
          ClampCoordinate(std::int64_t(bounds.Right) - m_textMarginRight), bounds.Bottom};
  canvas.SetFont(*m_font);
  if (!m_enabled) canvas.Font()->SetColor(clGray);
  std::string text = m_text;
  if (m_kind == skTitle) {
    canvas.TextExtent("");  // selects the font for the measuring below
    text = EllipsisText(canvas.Handle(), text, r.Right - r.Left);
  }
  const UINT flags = TextFlags(m_textAlign, m_biDiMode);
  if (m_textEffect == teShadow) {
    const TColor color = canvas.Font()->Color();
    canvas.Font()->SetColor(clBlack);
    TRect shadow = OffsetRect(r, 1, 1);
    DrawWideText(canvas, text, shadow, flags);
    canvas.Font()->SetColor(color);
  }
  DrawWideText(canvas, text, r, flags);
}

void TSeSkinObject::DrawChildren(TCanvas& canvas) {
  for (int i = 0; i < Count(); ++i) {
    TSeSkinObject& child = *Objects(i);
    if (child.Visible() && child.Width() > 0 && child.Height() > 0) child.Draw(canvas);
  }
}

}  // namespace vandrel
