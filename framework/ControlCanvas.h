// TControlCanvas: a canvas over a control's window (or, for a windowless control, over its
// parent's window moved to the control's place). Painting points it at the paint context; used
// outside painting it takes a context of its own, given back by FreeHandle or by the application
// when it goes idle.
#pragma once

#include "framework/Canvas.h"

namespace vandrel {

class TControl;

class TControlCanvas : public TCanvas {
 public:
  explicit TControlCanvas(TControl* control) : m_control(control) {}
  ~TControlCanvas() override;
  TControl* Control() const { return m_control; }
  void FreeHandle();
  // Gives back every context taken outside painting.
  static void FreeDeviceContexts();

 protected:
  void CreateHandle() override;

 private:
  TControl* m_control;
  HDC m_ownDC;
  void* m_window = nullptr;  // the HWND the context came from
};

// Points a control's canvas at a paint context, with the control's font and colour, for the
// lifetime of the scope; the canvas lets go of the context again even when painting raises.
class TCanvasPaintScope {
 public:
  TCanvasPaintScope(TControlCanvas& canvas, HDC dc);
  ~TCanvasPaintScope();
  TCanvasPaintScope(const TCanvasPaintScope&) = delete;
  TCanvasPaintScope& operator=(const TCanvasPaintScope&) = delete;

 private:
  TControlCanvas& m_canvas;
};

}  // namespace vandrel
