// TPressTracker: press, hover and click tracking of one push part (a button, a check box, a
// panel's caption button, a scroll arrow, a caption button), written once. The control hands in
// the part's area with each event and repaints when a call reports a change; its own rules are
// parameters:
//
//   rule              on                                   off
//   FollowPointer     pressed look follows the pointer     pressed until release
//                     in and out while held
//   FollowAnyHold     a held button presses the part       only a press that began
//                     when the pointer enters it           on the part
//   EdgesInside       right and bottom edges are inside    they are outside
//
// A release is a click when it ends a press (one being tracked, or a pressed look) and the
// pointer is inside; a control that clicks only for a mouse press asks Tracking() first. The
// caller does all its own bookkeeping before running the click: a click handler may free the
// control.
#pragma once

#include "platform/core/Geometry.h"

namespace vandrel {

struct TPressRules {
  bool FollowPointer = true;
  bool FollowAnyHold = false;
  bool EdgesInside = false;
};

class TPressTracker {
 public:
  explicit TPressTracker(TPressRules rules = {}) : m_rules(rules) {}

  // A press that began on the part is being followed.
  bool Tracking() const { return m_tracking; }
  // The part shows pressed (by the mouse or by the keyboard).
  bool Pressed() const { return m_pressed; }
  // The pointer is over the part (only as far as Move and Leave report it).
  bool Hot() const { return m_hot; }
  bool Contains(const TRect& area, TPoint p) const;

  // The left button went down at p: a press inside the area starts tracking. Returns whether the
  // pressed look changed.
  bool Press(const TRect& area, TPoint p);
  // The pointer moved to p, the left button held or not. Returns whether the hot or pressed look
  // changed.
  bool Move(const TRect& area, TPoint p, bool buttonHeld);
  // The left button went up at p: tracking and the pressed look end. Returns whether it clicks.
  bool Release(const TRect& area, TPoint p);
  // The pointer left the control. Returns whether the hot look changed.
  bool Leave();
  // The keyboard presses or releases the part. Each returns whether the pressed look changed.
  bool PressKey();
  bool ReleaseKey();
  // Capture lost or the control disabled: nothing is pressed or followed any more.
  void Cancel();

 private:
  TPressRules m_rules;
  bool m_tracking = false;
  bool m_pressed = false;
  bool m_hot = false;
};

}  // namespace vandrel
