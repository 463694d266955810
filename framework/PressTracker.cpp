#include "framework/PressTracker.h"

namespace vandrel {

bool TPressTracker::Contains(const TRect& area, TPoint p) const {
  if (m_rules.EdgesInside)
    return p.X >= area.Left && p.Y >= area.Top && p.X <= area.Right && p.Y <= area.Bottom;
  return area.Contains(p);
}

bool TPressTracker::Press(const TRect& area, TPoint p) {
  if (!Contains(area, p)) return false;
  m_tracking = true;
  const bool changed = !m_pressed;
  m_pressed = true;
  return changed;
}

bool TPressTracker::Move(const TRect& area, TPoint p, bool buttonHeld) {
  const bool inside = Contains(area, p);
  const bool hot = m_hot, pressed = m_pressed;
  m_hot = inside;
  const bool follows = m_rules.FollowPointer && (m_tracking || (m_rules.FollowAnyHold && buttonHeld));
  if (follows) m_pressed = inside;
  return hot != m_hot || pressed != m_pressed;
}

bool TPressTracker::Release(const TRect& area, TPoint p) {
  const bool click = (m_tracking || m_pressed) && Contains(area, p);
  m_tracking = false;
  m_pressed = false;
  return click;
}

bool TPressTracker::Leave() {
  const bool changed = m_hot;
  m_hot = false;
  return changed;
}

bool TPressTracker::PressKey() {
  const bool changed = !m_pressed;
  m_pressed = true;
  return changed;
}

bool TPressTracker::ReleaseKey() {
  const bool changed = m_pressed;
  m_pressed = false;
  return changed;
}

void TPressTracker::Cancel() {
  m_tracking = false;
  m_pressed = false;
}

}  // namespace vandrel
