// TSeCustomStatusBar: a strip of panels laid out left to right. A panel shows a text with an
// optional image, is drawn by the application, or hosts a control that the bar keeps inside it.
// View priorities decide which panels go when the bar is too narrow, stretch priorities who takes
// spare width (StatusPanelLayout.h). A size grip shows at the right end when the bar sits in the
// bottom-right corner of a resizable form. Its own look is the classic one; a skinned bar replaces
// PaintBackground, DrawPanel and DrawSizeGrip.
//
//   auto* bar = new TSeCustomStatusBar(form);
//   bar->SetParent(form);
//   bar->SetAlign(alBottom);
//   bar->Panels()->Add()->SetWidth(200);
//   TSeStatusPanel* p = bar->Panels()->Add();
//   p->SetWidth(80);
//   p->SetControl(checkBox);      // hosted first, then made a child: a control some panel
//   checkBox->SetParent(bar);     // hosts already gets no second panel
//   button->SetParent(bar);       // a new child alone gets a panel of its own, 50 wide
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "framework/ImageList.h"
#include "skin/SkinnedWindow.h"
#include "skincontrols/CustomControl.h"
#include "skincontrols/MeasureCanvas.h"
#include "skincontrols/StatusPanel.h"

namespace vandrel {

class TSeCustomStatusBar;

using TPanelNotifyEvent = TEvent<void(TSeCustomStatusBar* statusBar, TSeStatusPanel* panel)>;
using TDrawPanelEvent = TEvent<void(TSeCustomStatusBar* statusBar, TSeStatusPanel* panel, const TRect& rect)>;
using TSeCreatePanelClassEvent = TEvent<void(TSeCustomStatusBar* statusBar, TSeStatusPanelClass& panelClass)>;

class TSeCustomStatusBar : public TSeCustomControl, public ISeSizeGrip {
  VANDREL_CLASS_INFO
 public:
  explicit TSeCustomStatusBar(TComponent* owner);
  ~TSeCustomStatusBar() override;

  TSeStatusPanels* Panels() const { return m_panels.get(); }
  void SetPanels(const TSeStatusPanels& value);
  TCustomImageList* Images() const { return m_images; }
  void SetImages(TCustomImageList* value);
  bool SizeGrip() const { return m_sizeGrip; }
  void SetSizeGrip(bool value);

  // The panel under the pointer at the last left-button press.
  TSeStatusPanel* PressedPanel() const { return m_pressedPanel; }
  // The panel under a client point, or null (hidden panels take part with their width).
  TSeStatusPanel* PanelAt(TPoint point) const;
  // The grip is allowed, the form is in its normal state and the bar sits in the bottom-right
  // corner of the form's client area.
  bool SizeGripShown() const;
  // Where the skinned window's hit test finds the grip: its rectangle on the screen while shown.
  std::optional<TRect> SizeGripArea() const override;
  // Lays the panels out and places the hosted controls (nothing while loading or destroying).
  void UpdatePanels();

  // Geometry, in client coordinates.
  virtual TRect GetPanelRect(int index) const;
  // The panel rectangle, inside its frame when Framed: where a hosted control goes.
  virtual TRect GetPanelInnerRect(const TSeStatusPanel& panel) const;
  virtual TRect GetSizeGripRect() const;
  virtual TSize GetImageSize(const TSeStatusPanel& panel) const;
  virtual TSize GetTextSize(const TSeStatusPanel& panel) const;
  // Relative to the top-left corner of the panel rectangle.
  virtual TRect GetImageRect(const TSeStatusPanel& panel) const;
  virtual TRect GetTextRect(const TSeStatusPanel& panel) const;
  bool PanelShowsImage(const TSeStatusPanel& panel) const;

  void Loaded() override;
  void Dispatch(TMessage& message) override;

  TPanelNotifyEvent OnPanelClick;
  TPanelNotifyEvent OnPanelDblClick;
  TDrawPanelEvent OnDrawPanel;
  TSeCreatePanelClassEvent OnCreatePanelClass;

 protected:
  // A panel for a control inserted as a child, of the class OnCreatePanelClass chooses.
  virtual TSeStatusPanel* CreatePanel(TControl* control);
  virtual void DrawPanelImage(const TSeStatusPanel& panel, const TRect& rect);
  virtual void DrawPanelText(const TSeStatusPanel& panel, const TRect& rect);
  virtual void DrawPanel(TSeStatusPanel& panel, const TRect& rect, bool last);
  virtual void DrawSizeGrip();
  virtual void PaintPanel(int index);
  virtual void PaintBackground();
  virtual void DoPanelClick(TSeStatusPanel* panel);
  virtual void DoPanelDblClick(TSeStatusPanel* panel);
  virtual void DoDrawPanel(TSeStatusPanel* panel, const TRect& rect);

  void PaintClient() override;
  void PaintBorder() override;
  // The content rectangle moved: the panels are laid out again.
  void BorderChanged() override;
  void AlignControls(TControl* control, TRect& rect) override;
  void Notification(TComponent* component, TOperation operation) override;
  void Resize() override;
  void DblClick() override;
  void MouseDown(TMouseBtn button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseBtn button, TShiftState shift, int x, int y) override;

 private:
  friend class TSeStatusPanel;
  friend class TSeStatusPanels;
  // From the panels: a look changed (repaint that panel now) or the widths did (lay out again).
  void PanelChanged(TSeStatusPanel* panel);
  void PanelsChanged();
  void PanelDestroying(TSeStatusPanel* panel);
  TSeStatusPanel* PanelOf(const TControl* control) const;
  // What each panel asks for and was last given, in order.
  std::vector<TStatusPanelLayout> PanelLayouts() const;
  bool IsBeingDestroyed() const { return m_destroying || Destroying(); }
  TCanvas& MeasureCanvas() const;
  // A see-through child asks for what lies beneath it.
  void AnswerBackgroundRequest(TMessage& message);

  std::unique_ptr<TSeStatusPanels> m_panels;
  TSeStatusPanel* m_pressedPanel = nullptr;
  TCustomImageList* m_images = nullptr;
  int m_imagesChangeId = 0;
  bool m_sizeGrip = true;
  bool m_destroying = false;
  bool m_layingOut = false;
  // Above 0 while the bar paints its look into a see-through child's surface, not onto the window.
  int m_backgroundDepth = 0;
  mutable std::unique_ptr<TMeasureCanvas> m_measureCanvas;
};

}  // namespace vandrel
