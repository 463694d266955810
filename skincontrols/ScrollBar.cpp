#include "skincontrols/ScrollBar.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "framework/ComponentWatch.h"
#include "framework/PropertyInfo.h"
#include "framework/Timer.h"
#include "graphics/PaintHelpers.h"
#include "platform/gdi/FrameControl.h"
#include "platform/gdi/SystemMetrics.h"
#include "platform/win/Settings.h"
#include "platform/win/VirtualKeys.h"

namespace vandrel {

namespace {

// Nearest integer, halves to even (the rounding the geometry is defined with).
int RoundEven(double value) { return int(std::nearbyint(value)); }

int ThumbMetric() { return GetSystemMetrics(SM_CYVTHUMB); }

int ClampStep(int value) { return std::clamp(value, 1, 32767); }

}  // namespace

const TClassInfo& TSeCustomScrollBar::StaticClassInfo() {
  using T = TSeCustomScrollBar;
  static const TClassInfo info("TSeCustomScrollBar", &TSeGraphicControl::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Integer("BorderWidth", &T::BorderWidth, &T::SetBorderWidth, 1),
      prop::Boolean("ShowButtons", &T::ShowButtons, &T::SetShowButtons, true),
      prop::Enum("Kind", &T::Kind, &T::SetKind, kScrollBarKindNames, sbHorizontal),
      prop::Integer("LargeChange", &T::LargeChange, &T::SetLargeChange, 1),
      // Min before Max and Position: each clamps against the values read before it.
      prop::Integer("Min", &T::Min, &T::SetMin, 0),
      prop::Integer("Max", &T::Max, &T::SetMax, 100),
      prop::Integer("PageSize", &T::PageSize, &T::SetPageSize, 0),
      prop::Integer("Position", &T::Position, &T::SetPosition, 0),
      prop::Integer("SmallChange", &T::SmallChange, &T::SetSmallChange, 1),
      prop::Event("OnChange", &T::OnChange),
      prop::Event("OnScroll", &T::OnScroll),
  });
  return info;
}

TSeCustomScrollBar::TSeCustomScrollBar(TComponent* owner) : TSeGraphicControl(owner) {
  SetControlStyle(ControlStyle().Include(csCaptureMouse));
  SetBounds(Left(), Top(), 121, ThumbMetric());
  SetPerformance(kspDoubleBuffer);
}

TSeCustomScrollBar::~TSeCustomScrollBar() = default;

// --- values ------------------------------------------------------------------------------------

void TSeCustomScrollBar::SetPosition(int value) {
  if (value == m_position) return;
  value = std::clamp(value, m_min, m_max);
  if (value == m_position) return;
  m_position = value;
  Invalidate();
  DoChange();
}

void TSeCustomScrollBar::SetMax(int value) {
  if (value == m_max) return;
  m_max = std::max(value, m_min);
  TComponentWatch alive(*this);
  if (m_position > m_max) SetPosition(m_max);
  if (!alive) return;
  if (m_max - m_min + 1 < m_pageSize) m_pageSize = m_max - m_min + 1;
  Invalidate();
}

void TSeCustomScrollBar::SetMin(int value) {
  if (value == m_min) return;
  m_min = std::min(value, m_max);
  TComponentWatch alive(*this);
  if (m_position < m_min) SetPosition(m_min);
  if (!alive) return;
  if (m_max - m_min + 1 < m_pageSize) m_pageSize = m_max - m_min + 1;
  Invalidate();
}

void TSeCustomScrollBar::SetPageSize(int value) {
  if (value < 0 || value == m_pageSize) return;
  m_pageSize = std::min(value, m_max - m_min + 1);
  Invalidate();
}

void TSeCustomScrollBar::SetKind(TScrollBarKind value) {
  if (value == m_kind) return;
  m_kind = value;
  Invalidate();
}

void TSeCustomScrollBar::SetShowButtons(bool value) {
  if (value == m_showButtons) return;
  m_showButtons = value;
  Invalidate();
}

void TSeCustomScrollBar::SetBorderWidth(int value) {
  if (value == m_borderWidth) return;
  m_borderWidth = value;
  Invalidate();
}

void TSeCustomScrollBar::SetLargeChange(int value) { m_largeChange = ClampStep(value); }
void TSeCustomScrollBar::SetSmallChange(int value) { m_smallChange = ClampStep(value); }

void TSeCustomScrollBar::DoChange() {
  if (OnChange) OnChange(this);
}

void TSeCustomScrollBar::DoScroll(TSeScrollCode code, int& position) {
  if (OnScroll) OnScroll(this, code, position);
}

bool TSeCustomScrollBar::ApplyScroll(TSeScrollCode code, int position) {
  TComponentWatch alive(*this);
  DoScroll(code, position);
  if (!alive) return false;
  SetPosition(position);
  return bool(alive);
}

bool TSeCustomScrollBar::ScrollStep(WORD key) {
  const int page = m_pageSize < 1 ? m_largeChange : m_pageSize;
  int position = 0;
  TSeScrollCode code{};
  switch (key) {
    case VK_PRIOR: position = m_position - page; code = kscPageUp; break;
    case VK_NEXT: position = m_position + page; code = kscPageDown; break;
    case VK_END: position = m_max; code = kscBottom; break;
    case VK_HOME: position = m_min; code = kscTop; break;
    case VK_RIGHT:
    case VK_DOWN: position = m_position + m_smallChange; code = kscLineDown; break;
    case VK_LEFT:
    case VK_UP: position = m_position - m_smallChange; code = kscLineUp; break;
    default: return true;
  }
  return ApplyScroll(code, std::clamp(position, m_min, m_max));
}

// --- geometry ----------------------------------------------------------------------------------
//
//   | BW | first button | track before | thumb | track after | second button | BW |
//          <---------------------- track (T, length L) ---------------------->
//
// The track includes the buttons' places only when ShowButtons is off.

int TSeCustomScrollBar::GetButtonSize() {
  const int b = ThumbMetric();
  const int extent = (Horizontal() ? Width() : Height()) - 2 * m_borderWidth;
  return extent < 2 * b ? extent / 2 : b;
}

TRect TSeCustomScrollBar::GetTrackRect() {
  TRect t{m_borderWidth, m_borderWidth, Width() - m_borderWidth, Height() - m_borderWidth};
  if (m_showButtons) {
    const int size = GetButtonSize();
    if (Horizontal()) {
      t.Left += size;
      t.Right -= size;
    } else {
      t.Top += size;
      t.Bottom -= size;
    }
  }
  return t;
}

TRect TSeCustomScrollBar::GetFirstButtonRect() {
  const int bw = m_borderWidth, size = GetButtonSize();
  if (Horizontal()) return {bw, bw, bw + size, Height() - bw};
  return {bw, bw, Width() - bw, bw + size};
}

TRect TSeCustomScrollBar::GetSecondButtonRect() {
  const int bw = m_borderWidth, size = GetButtonSize();
  if (Horizontal()) return {Width() - bw - size, bw, Width() - bw, Height() - bw};
  return {bw, Height() - bw - size, Width() - bw, Height() - bw};
}

int TSeCustomScrollBar::GetThumbLength() {
  const TRect t = GetTrackRect();
  const int length = Horizontal() ? t.Width() : t.Height();
  const int b = ThumbMetric();
  int thumb = b;
  if (m_pageSize > 0)
    thumb = std::max(RoundEven(double(length) * m_pageSize / (double(m_max) - m_min + 1)), (b / 3) * 2);
  return thumb >= length ? 0 : thumb;
}

int TSeCustomScrollBar::ThumbStart() {
  const TRect t = GetTrackRect();
  const int t0 = Horizontal() ? t.Left : t.Top;
  const int length = Horizontal() ? t.Width() : t.Height();
  const int free = length - GetThumbLength();
  const int span = m_max - m_min - m_pageSize + (m_pageSize != 0 ? 1 : 0);
  int start = t0;
  if (m_max - m_min - m_pageSize + 1 <= 0 || span <= 0)
    start = t0;
  else if (m_position > m_max - m_pageSize + 1)
    start = t0 + free;
  else
    start = t0 + RoundEven(double(m_position - m_min) * free / span);
  return std::uint16_t(start);
}

int TSeCustomScrollBar::PositionFromPixel(int p) {
  const TRect t = GetTrackRect();
  const int t0 = Horizontal() ? t.Left : t.Top;
  const int length = Horizontal() ? t.Width() : t.Height();
  const int free = length - GetThumbLength();
  const int span = m_max - m_min - m_pageSize + (m_pageSize != 0 ? 1 : 0);
  int position = 0;
  if (free != 0 && span > 0) position = RoundEven(double(std::int16_t(p) - t0) * span / free + m_min);
  // Without a page the last page starts at Max, not one past it: the handler never sees a
  // position the setter would refuse.
  return std::min(std::max(position, m_min), std::min(m_max, m_max - m_pageSize + 1));
}

TRect TSeCustomScrollBar::AlongTrack(int start, int end) {
  TRect t = GetTrackRect();
  if (Horizontal()) {
    t.Left = start;
    t.Right = end;
  } else {
    t.Top = start;
    t.Bottom = end;
  }
  return t;
}

TRect TSeCustomScrollBar::GetThumbRect() {
  const int start = ThumbStart();
  return AlongTrack(start, start + GetThumbLength());
}

TRect TSeCustomScrollBar::GetTrackBeforeRect() {
  const TRect t = GetTrackRect();
  return AlongTrack(Horizontal() ? t.Left : t.Top, ThumbStart());
}

TRect TSeCustomScrollBar::GetTrackAfterRect() {
  const TRect t = GetTrackRect();
  return AlongTrack(ThumbStart() + GetThumbLength(), Horizontal() ? t.Right : t.Bottom);
}

bool TSeCustomScrollBar::InFirstButton(TPoint p) { return GetFirstButtonRect().Contains(p); }
bool TSeCustomScrollBar::InSecondButton(TPoint p) { return GetSecondButtonRect().Contains(p); }
bool TSeCustomScrollBar::InThumb(TPoint p) { return GetThumbRect().Contains(p); }
bool TSeCustomScrollBar::InTrackBefore(TPoint p) { return GetTrackBeforeRect().Contains(p); }
bool TSeCustomScrollBar::InTrackAfter(TPoint p) { return GetTrackAfterRect().Contains(p); }

TRect TSeCustomScrollBar::PartRect(TPart part) {
  switch (part) {
    case spFirstButton: return GetFirstButtonRect();
    case spSecondButton: return GetSecondButtonRect();
    case spTrackBefore: return GetTrackBeforeRect();
    case spTrackAfter: return GetTrackAfterRect();
  }
  return {};
}

// --- mouse and auto-repeat ---------------------------------------------------------------------

bool TSeCustomScrollBar::UpdateHot(TPoint p) {
  bool changed = false;
  const bool thumbHot = InThumb(p);
  changed |= thumbHot != m_thumbHot;
  m_thumbHot = thumbHot;
  for (TPart part : {spFirstButton, spSecondButton, spTrackBefore, spTrackAfter}) {
    const bool button = part == spFirstButton || part == spSecondButton;
    if (button && !m_showButtons)
      changed |= m_parts[part].Leave();
    else
      changed |= m_parts[part].Move(PartRect(part), p, true);
  }
  return changed;
}

void TSeCustomScrollBar::MouseDown(TMouseBtn button, TShiftState shift, int x, int y) {
  TComponentWatch alive(*this);
  TSeGraphicControl::MouseDown(button, shift, x, y);
  if (!alive || button != mbLeft) return;
  const TPoint p{x, y};
  m_lastPointer = p;
  // The pointer is over what it presses even when no move reported it there first.
  UpdateHot(p);
  if (InThumb(p)) {
    m_grabDistance = Along(p) - ThumbStart();
    if (!ApplyScroll(kscTrack, m_position)) return;
    Invalidate();
  }
  bool pressedBefore = false, pressedNow = false;
  for (TPart part : {spFirstButton, spSecondButton, spTrackBefore, spTrackAfter}) {
    pressedBefore |= PartPressed(part);
    m_parts[part].Press(PartRect(part), p);
    pressedNow |= PartPressed(part);
  }
  if (pressedNow && !pressedBefore) {
    Invalidate();
    StartRepeat(true);
  }
}

void TSeCustomScrollBar::MouseMove(TShiftState shift, int x, int y) {
  TComponentWatch alive(*this);
  TSeGraphicControl::MouseMove(shift, x, y);
  if (!alive) return;
  const TPoint p{x, y};
  m_lastPointer = p;
  if (Dragging()) {
    const TRect t = GetTrackRect();
    const int pixel = std::clamp(Along(p) - m_grabDistance, Horizontal() ? t.Left : t.Top,
                                 Horizontal() ? t.Right : t.Bottom);
    if (!ApplyScroll(kscTrack, PositionFromPixel(pixel))) return;
  }
  if (UpdateHot(p)) Invalidate();
}

void TSeCustomScrollBar::MouseUp(TMouseBtn button, TShiftState shift, int x, int y) {
  TComponentWatch alive(*this);
  TSeGraphicControl::MouseUp(button, shift, x, y);
  if (!alive || button != mbLeft) return;
  if (Dragging() && !ApplyScroll(kscPosition, m_position)) return;
  m_grabDistance = -1;
  for (TPressTracker& part : m_parts) part.Cancel();
  if (m_repeatTimer) m_repeatTimer->SetEnabled(false);
  if (!ApplyScroll(kscEndScroll, m_position)) return;
  Invalidate();
}

void TSeCustomScrollBar::MouseLeave() {
  TSeGraphicControl::MouseLeave();
  bool changed = m_thumbHot;
  m_thumbHot = false;
  for (TPressTracker& part : m_parts) changed |= part.Leave();
  if (changed) Invalidate();
}

UINT TSeCustomScrollBar::RepeatDelay() {
  int delay = 1;
  SystemParametersInfo(SPI_GETKEYBOARDDELAY, 0, &delay);
  return UINT(200 + 200 * delay);
}

UINT TSeCustomScrollBar::RepeatInterval() {
  int speed = 31;
  SystemParametersInfo(SPI_GETKEYBOARDSPEED, 0, &speed);
  return UINT(RoundEven(1000.0 / ((speed + 1) * 2.3)));
}

void TSeCustomScrollBar::StartRepeat(bool immediate) {
  if (!m_repeatTimer) {
    m_repeatTimer = new TTimer(this);
    m_repeatTimer->SetEnabled(false);
    m_repeatTimer->SetOnTimer([this](TPersistent*) { RepeatTick(); });
  }
  if (immediate) {
    TComponentWatch alive(*this);
    RepeatTick();
    if (!alive) return;
    m_repeatTimer->SetInterval(RepeatDelay());
  } else {
    m_repeatTimer->SetInterval(RepeatInterval());
  }
  m_repeatTimer->SetEnabled(true);
}

void TSeCustomScrollBar::RepeatTick() {
  m_repeatTimer->SetInterval(RepeatInterval());
  TComponentWatch alive(*this);
  try {
    if (PartPressed(spFirstButton)) {
      ScrollStep(VK_LEFT);
    } else if (PartPressed(spSecondButton)) {
      ScrollStep(VK_RIGHT);
    } else {
      // The thumb moves towards the held pointer; paging ends once it has reached it.
      const bool before = PartHot(spTrackBefore), after = PartHot(spTrackAfter);
      m_parts[spTrackBefore].Move(GetTrackBeforeRect(), m_lastPointer, true);
      if (PartPressed(spTrackBefore)) {
        if (!ScrollStep(VK_PRIOR)) return;
      } else {
        m_parts[spTrackAfter].Move(GetTrackAfterRect(), m_lastPointer, true);
        if (PartPressed(spTrackAfter) && !ScrollStep(VK_NEXT)) return;
      }
      if (before != PartHot(spTrackBefore) || after != PartHot(spTrackAfter)) Invalidate();
    }
  } catch (...) {
    if (alive && m_repeatTimer) m_repeatTimer->SetEnabled(false);
    throw;
  }
}

// --- painting ----------------------------------------------------------------------------------

bool TSeCustomScrollBar::ThumbVisible() {
  const TRect r = GetThumbRect();
  return Enabled() && r.Width() >= 1 && r.Height() >= 1;
}

void TSeCustomScrollBar::PaintPieces() {
  PaintBorder();
  PaintTrack();
  if (m_showButtons) {
    PaintFirstButton();
    PaintSecondButton();
  }
  if (ThumbVisible()) {
    PaintThumb();
    if (PartPressed(spTrackBefore)) PaintTrackBefore();
    if (PartPressed(spTrackAfter)) PaintTrackAfter();
  }
}

void TSeCustomScrollBar::PaintClient() {
  TSeGraphicControl::PaintClient();
  PaintPieces();
}

void TSeCustomScrollBar::PaintBorder() {
  if (m_borderWidth > 0) DrawFrame3D(*Canvas(), {0, 0, Width(), Height()}, clBtnShadow, clBtnHighlight);
}

void TSeCustomScrollBar::PaintTrack() { FillChecker(*Canvas(), GetTrackRect(), clScrollBar, clBtnHighlight); }

void TSeCustomScrollBar::PaintFirstButton() {
  UINT state = Horizontal() ? DFCS_SCROLLLEFT : DFCS_SCROLLUP;
  if (PartPressed(spFirstButton)) state |= DFCS_PUSHED | DFCS_FLAT;
  if (!Enabled()) state |= DFCS_INACTIVE;
  TRect r = GetFirstButtonRect();
  DrawFrameControl(Canvas()->Handle(), &r, DFC_SCROLL, state);
}

void TSeCustomScrollBar::PaintSecondButton() {
  UINT state = Horizontal() ? DFCS_SCROLLRIGHT : DFCS_SCROLLDOWN;
  if (PartPressed(spSecondButton)) state |= DFCS_PUSHED | DFCS_FLAT;
  if (!Enabled()) state |= DFCS_INACTIVE;
  TRect r = GetSecondButtonRect();
  DrawFrameControl(Canvas()->Handle(), &r, DFC_SCROLL, state);
}

void TSeCustomScrollBar::PaintThumb() {
  TCanvas& canvas = *Canvas();
  const TRect r = GetThumbRect();
  FillColorRect(canvas, r, clBtnFace);
  if (Dragging()) {
    DrawFrameRect(canvas, r, clBtnShadow);
    return;
  }
  DrawFrame3D(canvas, InflateRect(r, -1, -1), clBtnHighlight, clBtnShadow);
  DrawFrame3D(canvas, r, cl3DLight, cl3DDkShadow);
}

void TSeCustomScrollBar::PaintTrackBefore() { FillColorRect(*Canvas(), GetTrackBeforeRect(), cl3DDkShadow); }
void TSeCustomScrollBar::PaintTrackAfter() { FillColorRect(*Canvas(), GetTrackAfterRect(), cl3DDkShadow); }

void TSeCustomScrollBar::Dispatch(TMessage& m) {
  TSeGraphicControl::Dispatch(m);
  if (m.Msg == CM_ENABLEDCHANGED) Invalidate();
}

}  // namespace vandrel
