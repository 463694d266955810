#include "skincontrols/SkinStatusBar.h"

namespace vandrel {

const TClassInfo& TSeSkinStatusBar::StaticClassInfo() {
  using T = TSeSkinStatusBar;
  static const TClassInfo info("TSeSkinStatusBar", &TSeCustomStatusBar::StaticClassInfo(), ComponentFactory<T>(),
                               SkinBindingProperties<T>());
  return info;
}

TSeSkinStatusBar::TSeSkinStatusBar(TComponent* owner) : TSeSkinControl(owner, "StatusBar") {}

void TSeSkinStatusBar::PaintClient() {
  struct TFlag {
    bool& value;
    explicit TFlag(bool& v) : value(v) { value = true; }
    ~TFlag() { value = false; }
  } frameUnderAll(m_frameUnderAll);
  TSeCustomStatusBar::PaintClient();
}

void TSeSkinStatusBar::PaintBackground() {
  if (!SkinPart("Frame")) {
    TSeCustomStatusBar::PaintBackground();
    return;
  }
  const TRect whole{0, 0, Width(), Height()};
  if (m_frameUnderAll)
    DrawPart("Frame", kStateNormal, whole);
  else
    PaintAroundPanels([&] { DrawPart("Frame", kStateNormal, whole); });
}

void TSeSkinStatusBar::DrawPanel(TSeStatusPanel& panel, const TRect& rect, bool last) {
  if (!SkinAvailable()) {
    TSeCustomStatusBar::DrawPanel(panel, rect, last);
    return;
  }
  // The panel's clip (set by the caller) keeps the frame to the panel.
  if (!m_frameUnderAll) DrawPart("Frame", kStateNormal, {0, 0, Width(), Height()});
  DrawPart("Panel", kStateNormal, rect);
  Canvas()->Refresh();
  DrawPanelContent(panel, rect);
}

void TSeSkinStatusBar::DrawSizeGrip() {
  if (!SkinAvailable()) {
    TSeCustomStatusBar::DrawSizeGrip();
    return;
  }
  DrawPart("Gripper", kStateNormal, GetSizeGripRect());
}

}  // namespace vandrel
