#include "platform/gdi/TextOut.h"

#include <vector>

#include "platform/gdi/Raster.h"
#include "platform/gdi/TextRender.h"

namespace vandrel {

UINT SetTextAlign(HDC dc, UINT align) {
  TDeviceContext* d = LookupDC(dc);
  if (!d) return GDI_ERROR;
  UINT old = d->State().textAlign;
  d->State().textAlign = align;
  return old;
}

UINT GetTextAlign(HDC dc) {
  TDeviceContext* d = LookupDC(dc);
  return d ? d->State().textAlign : GDI_ERROR;
}

bool ExtTextOut(HDC dc, int x, int y, UINT options, const TRect* rect, std::string_view text,
                std::span<const int> dxIn) {
  TDeviceContext* d = LookupDC(dc);
  if (!d) return false;
  TDcState& st = d->State();
  const TFontObject& fontObject = CurrentFont(*d);
  const TFontInstance& font = fontObject.Instance();
  const TEXTMETRIC& tm = font.Metrics();
  std::u32string chars = DecodeUtf8(text);
  std::vector<int> dx(chars.size());
  int width = 0;
  for (size_t i = 0; i < chars.size(); ++i) {
    dx[i] = i < dxIn.size() ? dxIn[i] : font.Advance(chars[i]);
    width += dx[i];
  }

  TPoint ref{x, y};
  if (st.textAlign & TA_UPDATECP) ref = st.currentPos;
  UINT horizontal = st.textAlign & 6, vertical = st.textAlign & 24;
  // Placement is worked out in surface coordinates, which are kept far from overflow.
  TPoint logicalRef = ref;
  ref = d->ToSurface(ref);
  int left = ref.X;
  if (horizontal == TA_CENTER)
    left -= width / 2;
  else if (horizontal == TA_RIGHT)
    left -= width;
  int baseline = ref.Y + tm.tmAscent;
  if (vertical == TA_BASELINE)
    baseline = ref.Y;
  else if (vertical == TA_BOTTOM)
    baseline = ref.Y - tm.tmDescent;
  if (st.textAlign & TA_UPDATECP) {
    std::int64_t moved = logicalRef.X;
    if (horizontal == TA_LEFT) moved += width;
    if (horizontal == TA_RIGHT) moved -= width;
    st.currentPos.X = TDeviceContext::Clamp(moved);
  }

  TRect surfaceRect;
  bool haveRect = rect && !NormalizeRect(*rect).IsEmpty();
  if (haveRect) surfaceRect = d->ToSurface(NormalizeRect(*rect));
  std::uint32_t bk = PixelFromColor(st.bkColor);
  if ((options & ETO_OPAQUE) && haveRect) FillSurfaceRect(*d, surfaceRect, SolidPaint(bk));
  bool clipped = (options & ETO_CLIPPED) && rect;
  if (clipped && !haveRect) return true;
  if (st.bkMode == OPAQUE && !chars.empty()) {
    TRect cell{left, baseline - tm.tmAscent, left + width,
               baseline + tm.tmDescent};
    if (clipped) IntersectRect(cell, cell, surfaceRect);
    FillSurfaceRect(*d, cell, SolidPaint(bk));
  }
  TGlyphRunStyle style;
  style.color = PixelFromColor(st.textColor);
  style.underline = fontObject.LogFont().lfUnderline;
  style.strikeOut = fontObject.LogFont().lfStrikeOut;
  style.dx = dx.data();
  style.clip = clipped ? &surfaceRect : nullptr;
  DrawGlyphRun(*d, font, chars, {left, baseline}, style);
  return true;
}

bool TextOut(HDC dc, int x, int y, std::string_view text) {
  return ExtTextOut(dc, x, y, 0, nullptr, text);
}

bool GetTextExtentPoint32(HDC dc, std::string_view text, TSize* size) {
  TDeviceContext* d = LookupDC(dc);
  if (!d || !size) return false;
  const TFontInstance& font = CurrentFont(*d).Instance();
  *size = {RunWidth(font, DecodeUtf8(text)), font.Metrics().tmHeight};
  return true;
}

bool GetTextExtentExPoint(HDC dc, std::string_view text, int maxExtent, int* fit,
                          std::span<int> extents, TSize* size) {
  TDeviceContext* d = LookupDC(dc);
  if (!d) return false;
  const TFontInstance& font = CurrentFont(*d).Instance();
  std::u32string chars = DecodeUtf8(text);
  int width = 0, count = 0;
  bool fitting = true;
  for (size_t i = 0; i < chars.size(); ++i) {
    width += font.Advance(chars[i]);
    if (i < extents.size()) extents[i] = width;
    if (fitting && width <= maxExtent)
      ++count;
    else
      fitting = false;
  }
  if (fit) *fit = count;
  if (size) *size = {width, font.Metrics().tmHeight};
  return true;
}

bool GetTextMetrics(HDC dc, TEXTMETRIC* metrics) {
  TDeviceContext* d = LookupDC(dc);
  if (!d || !metrics) return false;
  const TFontObject& f = CurrentFont(*d);
  *metrics = f.Instance().Metrics();
  metrics->tmUnderlined = f.LogFont().lfUnderline;
  metrics->tmStruckOut = f.LogFont().lfStrikeOut;
  return true;
}

std::string GetTextFace(HDC dc) {
  TDeviceContext* d = LookupDC(dc);
  return d ? CurrentFont(*d).Instance().FamilyName() : std::string();
}

}  // namespace vandrel
