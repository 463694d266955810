// TSeSkinStatusBar: the status bar drawn from the skin object "StatusBar": its "Frame" under the
// whole bar and every panel, "Panel" over each panel, "Gripper" over the size grip, all in the
// normal state.
#pragma once

#include "skincontrols/SkinControl.h"
#include "skincontrols/StatusBar.h"

namespace vandrel {

class TSeSkinStatusBar : public TSeSkinControl<TSeCustomStatusBar> {
  VANDREL_CLASS_INFO
 public:
  explicit TSeSkinStatusBar(TComponent* owner);

 protected:
  void PaintClient() override;
  void PaintBackground() override;
  void DrawPanel(TSeStatusPanel& panel, const TRect& rect, bool last) override;
  void DrawSizeGrip() override;

 private:
  // While the whole bar is painted the frame goes down once under everything, rather than around
  // the panels and again under each of them: the same pixels for a fifth of the drawing.
  bool m_frameUnderAll = false;
};

}  // namespace vandrel
