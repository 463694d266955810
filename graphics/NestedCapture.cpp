#include "graphics/NestedCapture.h"

#include "platform/win/Input.h"

namespace vandrel {
namespace {

struct TCaptureState {
  int count = 0;
  HWND window = nullptr;
};

TCaptureState& State() {
  static TCaptureState state;
  return state;
}

}  // namespace

void CaptureMouseNested(HWND window) {
  TCaptureState& s = State();
  if (s.count == 0) {
    s.window = window;
    SetCapture(window);
  }
  ++s.count;
}

void ReleaseMouseNested() {
  TCaptureState& s = State();
  --s.count;
  if (s.count == 0) {
    // Someone else may have taken the capture meanwhile; theirs is not ours to release.
    if (GetCapture() == s.window) ReleaseCapture();
    s.window = nullptr;
  }
}

int MouseCaptureNesting() { return State().count; }

}  // namespace vandrel
