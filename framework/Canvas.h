// TCanvas: drawing with a font, a pen and a brush over a platform device context. The tools are
// selected into the context lazily, just before an operation needs them, and a tool change only
// marks the selection stale. TControlCanvas (ControlCanvas.h) gets its context from a control.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

#include "framework/Font.h"
#include "framework/PenBrush.h"
#include "framework/Persistent.h"
#include "platform/core/Geometry.h"
#include "platform/gdi/GdiTypes.h"

namespace vandrel {

class TGraphic;

enum TTextFormatFlag : unsigned {
  tfLeft = 0, tfCenter = 1, tfRight = 2, tfVerticalCenter = 4, tfBottom = 8, tfWordBreak = 0x10,
  tfSingleLine = 0x20, tfNoPrefix = 0x800, tfEndEllipsis = 0x8000,
};

class TCanvas : public TPersistent {
  VANDREL_CLASS_INFO
 public:
  TCanvas();
  ~TCanvas() override;

  // The context, made on demand by CreateHandle (a plain canvas has none until SetHandle).
  HDC Handle();
  // The canvas does not own a context given here; null detaches it.
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return bool(m_handle); }

  TFont* Font() const { return m_font.get(); }
  TPen* Pen() const { return m_pen.get(); }
  TBrush* Brush() const { return m_brush.get(); }
  void SetFont(const TFont& font) { m_font->Assign(font); }

  TPoint PenPos() const { return m_penPos; }
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Polyline(std::span<const TPoint> points);
  void Polygon(std::span<const TPoint> points);
  void Rectangle(const TRect& r);
  void Rectangle(int x1, int y1, int x2, int y2) { Rectangle(Rect(x1, y1, x2, y2)); }
  void RoundRect(const TRect& r, int cornerWidth, int cornerHeight);
  void Ellipse(const TRect& r);
  void FillRect(const TRect& r);
  void FrameRect(const TRect& r);
  void DrawFocusRect(const TRect& r);
  TColor Pixel(int x, int y);
  void SetPixel(int x, int y, TColor color);

  void TextOut(int x, int y, std::string_view text);
  // Text clipped to r, drawn at (x, y).
  void TextRect(const TRect& r, int x, int y, std::string_view text);
  // DrawText with TTextFormatFlag values; returns the text height. The rectangle receives the
  // measured size with tfCalcRect semantics when calcOnly.
  int TextRect(TRect& r, std::string_view text, unsigned format, bool calcOnly = false);
  TSize TextExtent(std::string_view text);
  int TextWidth(std::string_view text) { return TextExtent(text).cx; }
  int TextHeight(std::string_view text) { return TextExtent(text).cy; }

  void Draw(int x, int y, const TGraphic& graphic);
  void StretchDraw(const TRect& r, const TGraphic& graphic);
  void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);
  // The bounds of what can be drawn now, logical coordinates.
  TRect ClipRect();

  // Serialises use of the canvas by code that points it at another context for a while.
  void Lock();
  bool TryLock();
  void Unlock();
  int LockCount() const { return m_lockCount; }

  // Drops the tool selection so that the next operation selects the tools again.
  void Refresh();

  std::function<void(TCanvas*)> OnChange;
  std::function<void(TCanvas*)> OnChanging;

 protected:
  virtual void CreateHandle() {}
  void Changing();
  void Changed();
  void DeselectHandles();

 private:
  enum : unsigned { kFont = 1, kPen = 2, kBrush = 4 };
  // Selects the tools an operation needs; raises EInvalidOperation when there is no context.
  HDC Required(unsigned what);

  HDC m_handle;
  std::unique_ptr<TFont> m_font;
  std::unique_ptr<TPen> m_pen;
  std::unique_ptr<TBrush> m_brush;
  unsigned m_selected = 0;
  TPoint m_penPos;
  std::recursive_mutex m_lock;
  int m_lockCount = 0;
};

}  // namespace vandrel
