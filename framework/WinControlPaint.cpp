// TWinControl: painting its own client area and its windowless children, and PaintTo.
#include <algorithm>

#include "framework/WinControl.h"
#include "platform/gdi/DcState.h"
#include "platform/win/Paint.h"

namespace vandrel {

void TWinControl::PaintTo(HDC dc, int x, int y) {
  TDCStateSaver saver(dc);
  OffsetWindowOrgEx(dc, -x, -y, nullptr);
  IntersectClipRect(dc, 0, 0, m_width, m_height);
  Perform(WM_ERASEBKGND, HdcToWParam(dc), 0);
  Perform(WM_PAINT, HdcToWParam(dc), 0);
  for (TControl* c : m_controls)
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->Visible()) w->PaintTo(dc, w->Left(), w->Top());
}

void TWinControl::PaintWindow(HDC dc) {
  TMessage m{WM_PAINT, HdcToWParam(dc), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
  auto it = first ? std::find(m_controls.begin(), m_controls.end(), first) : m_controls.begin();
  TRect clip;
  GetClipBox(dc, &clip);
  for (; it != m_controls.end(); ++it) {
    TControl* c = *it;
    if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
    TRect inter;
    if (!IntersectRect(inter, clip, c->BoundsRect())) continue;
    TDCStateSaver saver(dc);
    OffsetWindowOrgEx(dc, -c->Left(), -c->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, HdcToWParam(dc), 0);
  }
}

void TWinControl::PaintHandler(TMessage& m) {
  PAINTSTRUCT ps;
  HDC dc = HdcFromWParam(m.WParam);
  bool began = false;
  if (!m.WParam) {
    if (!m_handle) return;
    dc = BeginPaint(m_handle, ps);
    began = true;
  }
  try {
    bool any = std::any_of(m_controls.begin(), m_controls.end(),
                           [](TControl* c) { return !dynamic_cast<TWinControl*>(c) && c->Visible(); });
    if (!any) {
      PaintWindow(dc);
    } else {
      {
        TDCStateSaver saver(dc);
        for (TControl* c : m_controls)
          if (!dynamic_cast<TWinControl*>(c) && c->Visible() && c->ControlStyle().Contains(csOpaque)) {
            TRect r = c->BoundsRect();
            ExcludeClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
          }
        PaintWindow(dc);
      }
      PaintControls(dc, nullptr);
    }
  } catch (...) {
    if (began) EndPaint(m_handle, ps);
    throw;
  }
  if (began) EndPaint(m_handle, ps);
}

}  // namespace vandrel
