// TWinControl: laying out the children (alignment in the framework's order, then anchors).
#include <algorithm>

#include "framework/WinControl.h"

namespace vandrel {

void TWinControl::DisableAlign() { ++m_alignLevel; }

void TWinControl::EnableAlign() {
  if (--m_alignLevel == 0 && ControlState().Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::AlignControl(TControl* control) {
  if (m_alignLevel > 0 || Loading() || m_aligning) {
    if (!m_aligning) SetControlState(ControlState().Include(csAlignmentNeeded));
    return;
  }
  m_aligning = true;
  try {
    TRect r = GetClientRect();
    AdjustClientRect(r);
    AlignControls(control, r);
  } catch (...) {
    m_aligning = false;
    throw;
  }
  m_aligning = false;
  SetControlState(ControlState().Exclude(csAlignmentNeeded));
}

void TWinControl::AdjustClientRect(TRect&) const {}

void TWinControl::AlignControls(TControl* control, TRect& rect) {
  TSize now = rect.Size();
  if (m_lastClientValid && now != m_lastClientSize) UpdateAnchors(m_lastClientSize, now);
  m_lastClientSize = now;
  m_lastClientValid = true;
  std::vector<TControl*> order;
  if (control) order.push_back(control);
  for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) DoAlign(a, rect, order);
}

void TWinControl::DoAlign(TAlign align, TRect& rect, std::vector<TControl*>& priority) {
  std::vector<TControl*> list;
  for (TControl* c : m_controls)
    if (c->Align() == align && c->Visible()) list.push_back(c);
  auto key = [align](const TControl* c) {
    switch (align) {
      case alTop: return c->Top();
      case alBottom: return -(c->Top() + c->Height());
      case alLeft: return c->Left();
      case alRight: return -(c->Left() + c->Width());
      default: return 0;
    }
  };
  // The control that asked to be aligned keeps its place ahead of others at the same position.
  TControl* first = priority.empty() ? nullptr : priority.front();
  std::stable_sort(list.begin(), list.end(), [&](const TControl* a, const TControl* b) {
    int ka = key(a), kb = key(b);
    if (ka != kb) return ka < kb;
    return a == first && b != first;
  });
  for (TControl* c : list) {
    int w = c->Width(), h = c->Height();
    switch (align) {
      case alTop:
        c->SetBounds(rect.Left, rect.Top, rect.Width(), h);
        rect.Top += c->Height();
        break;
      case alBottom:
        c->SetBounds(rect.Left, rect.Bottom - h, rect.Width(), h);
        rect.Bottom -= c->Height();
        break;
      case alLeft:
        c->SetBounds(rect.Left, rect.Top, w, rect.Height());
        rect.Left += c->Width();
        break;
      case alRight:
        c->SetBounds(rect.Right - w, rect.Top, w, rect.Height());
        rect.Right -= c->Width();
        break;
      case alClient: c->SetBounds(rect.Left, rect.Top, std::max(rect.Width(), 0), std::max(rect.Height(), 0)); break;
      default: break;
    }
  }
}

void TWinControl::UpdateAnchors(TSize oldClient, TSize newClient) {
  int dx = newClient.cx - oldClient.cx, dy = newClient.cy - oldClient.cy;
  for (TControl* c : m_controls) {
    if (c->Align() != alNone) continue;
    TAnchors a = c->Anchors();
    int l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
    if (a.Contains(akRight)) {
      if (a.Contains(akLeft)) w += dx; else l += dx;
    } else if (!a.Contains(akLeft)) {
      l += dx / 2;
    }
    if (a.Contains(akBottom)) {
      if (a.Contains(akTop)) h += dy; else t += dy;
    } else if (!a.Contains(akTop)) {
      t += dy / 2;
    }
    if (l != c->Left() || t != c->Top() || w != c->Width() || h != c->Height()) c->SetBounds(l, t, w, h);
  }
}

}  // namespace vandrel
