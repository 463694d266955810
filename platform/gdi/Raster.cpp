#include "platform/gdi/Raster.h"

namespace vandrel {

TRop3 Rop3FromRop2(int rop2) {
  if (rop2 < R2_BLACK || rop2 > R2_WHITE) rop2 = R2_COPYPEN;
  unsigned table = unsigned(rop2 - 1);  // bit (P*2 + D)
  TRop3 out = 0;
  for (int i = 0; i < 8; ++i) {
    int p = (i >> 2) & 1, d = i & 1;
    if (table & (1u << (p * 2 + d))) out = TRop3(out | (1u << i));
  }
  return out;
}

std::uint32_t ApplyRop3(TRop3 rop, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
  switch (rop) {
    case 0xF0: return p;
    case 0xCC: return s;
    case 0xAA: return d;
    case 0x5A: return p ^ d;
    case 0x66: return s ^ d;
    case 0x55: return ~d;
    case 0x00: return 0;
    case 0xFF: return 0xFFFFFFFF;
    case 0x88: return s & d;
    case 0xEE: return s | d;
    default: break;
  }
  std::uint32_t r = 0;
  for (int i = 0; i < 8; ++i)
    if (rop & (1u << i))
      r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  return r;
}

std::uint32_t TPaint::PatternAt(int x, int y) const {
  if (!pattern) return color;
  int w = pattern->Width(), h = pattern->Height();
  int px = (x - patternOrigin.X) % w;
  int py = (y - patternOrigin.Y) % h;
  if (px < 0) px += w;
  if (py < 0) py += h;
  std::uint32_t v = pattern->Row(py)[px];
  if (monochrome) return (v & 0xFFFFFF) ? background : foreground;
  return v;
}

TPaint SolidPaint(std::uint32_t pixel, TRop3 rop) {
  TPaint p;
  p.color = pixel;
  p.rop = rop;
  return p;
}

bool BrushPaint(const TDeviceContext& dc, const TBrushObject* brush, TRop3 rop, TPaint& out) {
  if (!brush) brush = dc.State().brush.get();
  if (!brush || brush->IsNull()) return false;
  out = TPaint();
  out.rop = rop;
  if (brush->Style() == BS_PATTERN && brush->Pattern()) {
    out.pattern = brush->Pattern();
    out.monochrome = brush->Monochrome();
    out.foreground = PixelFromColor(dc.State().textColor);
    out.background = PixelFromColor(dc.State().bkColor);
    out.patternOrigin = dc.Origin() + dc.State().brushOrg;
  } else {
    out.color = PixelFromColor(brush->Color());
  }
  return true;
}

namespace {
void PaintRow(std::uint32_t* row, int y, int x0, int x1, const TPaint& paint) {
  if (!paint.pattern) {
    std::uint32_t c = paint.color;
    switch (paint.rop) {
      case 0xF0:
        for (int x = x0; x < x1; ++x) row[x] = c;
        return;
      case 0x5A:
        for (int x = x0; x < x1; ++x) row[x] ^= c;
        return;
      case 0x55:
        for (int x = x0; x < x1; ++x) row[x] = ~row[x];
        return;
      case 0xAA:
        return;
      default:
        for (int x = x0; x < x1; ++x) row[x] = ApplyRop3(paint.rop, c, 0, row[x]);
        return;
    }
  }
  for (int x = x0; x < x1; ++x) row[x] = ApplyRop3(paint.rop, paint.PatternAt(x, y), 0, row[x]);
}
}  // namespace

void FillSurfaceRect(TDeviceContext& dc, const TRect& r, const TPaint& paint) {
  TSurface* s = dc.Surface();
  if (!s || r.IsEmpty()) return;
  dc.Clip().ForEachIn(r, [&](const TRect& piece) {
    for (int y = piece.Top; y < piece.Bottom; ++y) PaintRow(s->Row(y), y, piece.Left, piece.Right, paint);
    s->AddDamage(piece);
  });
}

void FillSurfaceSpan(TDeviceContext& dc, int y, int x0, int x1, const TPaint& paint) {
  TSurface* s = dc.Surface();
  if (!s || x1 <= x0) return;
  dc.Clip().ForEachSpan(y, x0, x1, [&](int a, int b) {
    PaintRow(s->Row(y), y, a, b, paint);
    s->AddDamage({a, y, b, y + 1});
  });
}

void FillSurfaceRegion(TDeviceContext& dc, const TRegion& region, const TPaint& paint) {
  for (const TRect& r : region.Rects()) FillSurfaceRect(dc, r, paint);
}

}  // namespace vandrel
