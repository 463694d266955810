#include "framework/Canvas.h"

#include "framework/Graphic.h"
#include "framework/PropertyInfo.h"
#include "platform/core/Exception.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Fill.h"
#include "platform/gdi/Shapes.h"
#include "platform/gdi/StockObjects.h"
#include "platform/gdi/TextOut.h"

namespace vandrel {

const TClassInfo& TCanvas::StaticClassInfo() {
  static const TClassInfo info("TCanvas", &TPersistent::StaticClassInfo(), nullptr, {});
  return info;
}

TCanvas::TCanvas()
    : m_font(std::make_unique<TFont>()), m_pen(std::make_unique<TPen>()), m_brush(std::make_unique<TBrush>()) {
  m_font->OnChange = [this](TFont*) { m_selected &= ~kFont; };
  m_pen->OnChange = [this](TPen*) { m_selected &= ~kPen; };
  m_brush->OnChange = [this](TBrush*) { m_selected &= ~kBrush; };
}

TCanvas::~TCanvas() { DeselectHandles(); }

HDC TCanvas::Handle() {
  if (!m_handle) CreateHandle();
  return m_handle;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == m_handle) return;
  DeselectHandles();
  m_handle = dc;
  m_selected = 0;
}

void TCanvas::DeselectHandles() {
  if (m_handle && m_selected) {
    // Stock tools back in, so the context never refers to a tool the canvas frees.
    SelectObject(m_handle, HPEN(GetStockObject(BLACK_PEN)));
    SelectObject(m_handle, HBRUSH(GetStockObject(WHITE_BRUSH)));
    SelectObject(m_handle, HFONT(GetStockObject(SYSTEM_FONT)));
  }
  m_selected = 0;
}

void TCanvas::Refresh() { DeselectHandles(); }

HDC TCanvas::Required(unsigned what) {
  HDC dc = Handle();
  if (!dc) throw EInvalidOperation("Canvas does not allow drawing");
  if ((what & kFont) && !(m_selected & kFont)) {
    SelectObject(dc, m_font->Handle());
    SetTextColor(dc, ColorToRGB(m_font->Color()));
    m_selected |= kFont;
  }
  if ((what & kPen) && !(m_selected & kPen)) {
    SelectObject(dc, m_pen->Handle());
    SetROP2(dc, m_pen->Rop2());
    m_selected |= kPen;
  }
  if ((what & kBrush) && !(m_selected & kBrush)) {
    SelectObject(dc, m_brush->Handle() ? m_brush->Handle() : HBRUSH(GetStockObject(NULL_BRUSH)));
    SetBkColor(dc, ColorToRGB(m_brush->Color()));
    SetBkMode(dc, m_brush->Style() == bsClear ? TRANSPARENT : OPAQUE);
    m_selected |= kBrush;
  }
  return dc;
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}
void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

void TCanvas::MoveTo(int x, int y) {
  HDC dc = Required(0);
  MoveToEx(dc, x, y, nullptr);
  m_penPos = {x, y};
}

void TCanvas::LineTo(int x, int y) {
  Changing();
  HDC dc = Required(kPen | kBrush);
  MoveToEx(dc, m_penPos.X, m_penPos.Y, nullptr);
  vandrel::LineTo(dc, x, y);
  m_penPos = {x, y};
  Changed();
}

void TCanvas::Polyline(std::span<const TPoint> points) {
  Changing();
  vandrel::Polyline(Required(kPen | kBrush), points);
  Changed();
}

void TCanvas::Polygon(std::span<const TPoint> points) {
  Changing();
  vandrel::Polygon(Required(kPen | kBrush), points);
  Changed();
}

void TCanvas::Rectangle(const TRect& r) {
  Changing();
  vandrel::Rectangle(Required(kPen | kBrush), r.Left, r.Top, r.Right, r.Bottom);
  Changed();
}

void TCanvas::RoundRect(const TRect& r, int cw, int ch) {
  Changing();
  vandrel::RoundRect(Required(kPen | kBrush), r.Left, r.Top, r.Right, r.Bottom, cw, ch);
  Changed();
}

void TCanvas::Ellipse(const TRect& r) {
  Changing();
  vandrel::Ellipse(Required(kPen | kBrush), r.Left, r.Top, r.Right, r.Bottom);
  Changed();
}

void TCanvas::FillRect(const TRect& r) {
  Changing();
  HDC dc = Required(kBrush);
  if (HBRUSH b = m_brush->Handle(); b && m_brush->Style() != bsClear) vandrel::FillRect(dc, r, b);
  Changed();
}

void TCanvas::FrameRect(const TRect& r) {
  Changing();
  HDC dc = Required(kBrush);
  if (HBRUSH b = m_brush->Handle(); b && m_brush->Style() != bsClear) vandrel::FrameRect(dc, r, b);
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& r) {
  Changing();
  vandrel::DrawFocusRect(Required(kBrush), r);
  Changed();
}

TColor TCanvas::Pixel(int x, int y) { return TColor(GetPixel(Required(0), x, y)); }

void TCanvas::SetPixel(int x, int y, TColor color) {
  Changing();
  vandrel::SetPixel(Required(kPen), x, y, ColorToRGB(color));
  Changed();
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
  Changing();
  HDC dc = Required(kFont | kBrush);
  vandrel::TextOut(dc, x, y, text);
  TSize size;
  GetTextExtentPoint32(dc, text, &size);
  m_penPos = {x + size.cx, y};
  Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, std::string_view text) {
  Changing();
  HDC dc = Required(kFont | kBrush);
  UINT options = ETO_CLIPPED;
  if (m_brush->Style() != bsClear) options |= ETO_OPAQUE;
  ExtTextOut(dc, x, y, options, &r, text, {});
  Changed();
}

int TCanvas::TextRect(TRect& r, std::string_view text, unsigned format, bool calcOnly) {
  HDC dc = Required(kFont | kBrush);
  if (calcOnly) return DrawText(dc, text, &r, format | DT_CALCRECT);
  Changing();
  int h = DrawText(dc, text, &r, format);
  Changed();
  return h;
}

TSize TCanvas::TextExtent(std::string_view text) {
  TSize size;
  GetTextExtentPoint32(Required(kFont), text, &size);
  return size;
}

void TCanvas::Draw(int x, int y, const TGraphic& graphic) {
  if (graphic.Empty()) return;
  StretchDraw(Bounds(x, y, graphic.Width(), graphic.Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& r, const TGraphic& graphic) {
  if (graphic.Empty()) return;
  Changing();
  Required(kBrush);
  graphic.Draw(*this, r);
  Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& s) {
  Changing();
  HDC dc = Required(kBrush);
  StretchBlt(dc, dest.Left, dest.Top, dest.Width(), dest.Height(), source.Required(0), s.Left, s.Top, s.Width(),
             s.Height(), SRCCOPY);
  Changed();
}

TRect TCanvas::ClipRect() {
  TRect r;
  GetClipBox(Required(0), &r);
  return r;
}

void TCanvas::Lock() {
  m_lock.lock();
  ++m_lockCount;
}

bool TCanvas::TryLock() {
  if (!m_lock.try_lock()) return false;
  ++m_lockCount;
  return true;
}

void TCanvas::Unlock() {
  --m_lockCount;
  m_lock.unlock();
}

}  // namespace vandrel
