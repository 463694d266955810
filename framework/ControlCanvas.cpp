#include "framework/ControlCanvas.h"

#include <algorithm>
#include <vector>

#include "framework/WinControl.h"
#include "platform/gdi/DcState.h"
#include "platform/win/Paint.h"

namespace vandrel {

namespace {
std::vector<TControlCanvas*>& CanvasList() {
  static std::vector<TControlCanvas*> list;
  return list;
}
}  // namespace

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::CreateHandle() {
  if (!m_control) return;
  HWND window = nullptr;
  TPoint offset;
  if (auto* w = dynamic_cast<TWinControl*>(m_control)) {
    window = w->Handle();
  } else if (TWinControl* parent = m_control->Parent()) {
    window = parent->Handle();
    offset = {m_control->Left(), m_control->Top()};
  }
  if (!window) return;
  HDC dc = GetDCEx(window, HRGN(), DCX_CACHE | DCX_CLIPSIBLINGS);
  if (!dc) return;
  if (offset != TPoint{}) {
    SetWindowOrgEx(dc, -offset.X, -offset.Y, nullptr);
    IntersectClipRect(dc, 0, 0, m_control->Width(), m_control->Height());
  }
  m_ownDC = dc;
  m_window = window;
  SetHandle(dc);
  CanvasList().push_back(this);
}

void TControlCanvas::FreeHandle() {
  if (!m_ownDC) return;
  HDC dc = m_ownDC;
  m_ownDC = HDC();
  SetHandle(HDC());
  ReleaseDC(static_cast<HWND>(m_window), dc);
  m_window = nullptr;
  std::erase(CanvasList(), this);
}

void TControlCanvas::FreeDeviceContexts() {
  auto list = CanvasList();
  for (TControlCanvas* c : list) {
    if (c->TryLock()) {
      c->FreeHandle();
      c->Unlock();
    }
  }
}

TCanvasPaintScope::TCanvasPaintScope(TControlCanvas& canvas, HDC dc) : m_canvas(canvas) {
  m_canvas.Lock();
  m_canvas.FreeHandle();
  m_canvas.SetHandle(dc);
  try {
    m_canvas.Font()->Assign(*m_canvas.Control()->Font());
    m_canvas.Brush()->SetColor(m_canvas.Control()->Color());
  } catch (...) {
    m_canvas.SetHandle(HDC());
    m_canvas.Unlock();
    throw;
  }
}

TCanvasPaintScope::~TCanvasPaintScope() {
  m_canvas.SetHandle(HDC());
  m_canvas.Unlock();
}

}  // namespace vandrel
