// TSeCustomForm: the skinned-window component. Dropped on a form, it hooks the form's window
// procedure when loading ends and from then on answers the frame messages itself: where the client
// area lies, how the frame looks, what the mouse hits, moving and sizing, and the window states.
// The form's own code and controls keep working; only the messages the component marks handled
// never reach the form.
//
// The published properties, their setters and the life cycle are here (CustomForm.cpp), the
// message table in FormMessages.cpp, the frame geometry and painting in FormFrame.cpp.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "framework/Control.h"
#include "framework/Event.h"
#include "platform/core/Geometry.h"
#include "platform/gdi/GdiTypes.h"
#include "skin/SkinnedWindow.h"
#include "skinform/FormOptions.h"
#include "skinform/Hook.h"

namespace vandrel {

class TCanvas;
class TCustomForm;
class TPopupMenu;
class TSizeConstraints;
class TseBitmap;
class TBackgroundCapture;

enum TSeBorderStyle { kbsNone, kbsStandard, kbsToolWindow };
inline constexpr std::array<std::string_view, 3> kBorderStyleNames = {"kbsNone", "kbsStandard", "kbsToolWindow"};
static_assert(kBorderStyleNames.size() == size_t(kbsToolWindow) + 1);

enum TSeFormPerformance { ksfpNoBuffer, ksfpSharedBuffer, ksfpPersistentBuffer, ksfpDoubleBuffer };
inline constexpr std::array<std::string_view, 4> kFormPerformanceNames = {
    "ksfpNoBuffer", "ksfpSharedBuffer", "ksfpPersistentBuffer", "ksfpDoubleBuffer"};
static_assert(kFormPerformanceNames.size() == size_t(ksfpDoubleBuffer) + 1);

// What HitTest finds on the frame; 6 is not used.
enum TSeFrameHitArea {
  haNone = 0, haCaption = 1, haLeft = 2, haTop = 3, haRight = 4, haBottom = 5, haTopLeft = 7,
  haTopRight = 8, haBottomLeft = 9, haBottomRight = 10, haClose = 11, haHelp = 12, haMinimize = 13,
  haMaximize = 14, haRollup = 15, haTray = 16, haSysMenu = 17, haSkinButton = 18,
};

// Fired before a window action; clearing callDefault cancels it.
using TSeFormActionEvent = TEvent<void(TPersistent* sender, bool& callDefault)>;

class TSeCustomForm : public TSeHook, public ISeSkinnedWindow {
  VANDREL_CLASS_INFO
 public:
  explicit TSeCustomForm(TComponent* owner);
  ~TSeCustomForm() override;

  // ---- published ----
  bool Active() const override { return TSeHook::Active(); }
  TSeAnimation* Animation() const { return m_animation.get(); }
  TSeBlending* Blending() const { return m_blending.get(); }
  TSeBorderIcons BorderIcons() const override { return m_borderIcons; }
  void SetBorderIcons(TSeBorderIcons value);
  TSeBorderStyle BorderStyle() const { return m_borderStyle; }
  void SetBorderStyle(TSeBorderStyle value);
  const std::string& Caption() const { return m_caption; }
  void SetCaption(const std::string& value);
  TSeDragging* Dragging() const { return m_dragging.get(); }
  TSeGravitation* Gravitation() const { return m_gravitation.get(); }
  TSizeConstraints* Constraints() const { return m_constraints.get(); }
  void SetConstraints(const TSizeConstraints& value);
  TSePopupMenuOptions* SystemMenuOptions() const { return m_systemMenuOptions.get(); }
  TPopupMenu* SystemMenuLink() const { return m_systemMenuLink; }
  void SetSystemMenuLink(TPopupMenu* value);
  TSePopupMenuOptions* TrayMenuOptions() const { return m_trayMenuOptions.get(); }
  TPopupMenu* TrayMenuLink() const { return m_trayMenuLink; }
  void SetTrayMenuLink(TPopupMenu* value);
  bool MinimizeApplication() const { return m_minimizeApplication; }
  void SetMinimizeApplication(bool value) { m_minimizeApplication = value; }
  TSeFormPerformance Performance() const { return m_performance; }
  void SetPerformance(TSeFormPerformance value) { m_performance = value; }
  TSeShadow* Shadow() const { return m_shadow.get(); }
  bool StayOnTop() const { return m_stayOnTop; }
  void SetStayOnTop(bool value);
  bool StretchBackground() const { return m_stretchBackground; }
  void SetStretchBackground(bool value) { m_stretchBackground = value; }
  TSeWindowState WindowState() const override { return m_windowState; }
  void SetWindowState(TSeWindowState value);

  TNotifyEvent OnCreate;
  TNotifyEvent OnPaint;
  TSeFormActionEvent OnClose;
  TSeFormActionEvent OnMinimize;
  TSeFormActionEvent OnMaximize;
  TSeFormActionEvent OnRollup;
  TSeFormActionEvent OnMinToTray;
  TNotifyEvent OnResize;

  // ---- the owner and its window ----
  TCustomForm* OwnerForm() const;
  TWinControl* OwnerControl() const;
  HWND Handle() const override;
  bool Hooked() const;

  // ---- frame (geometry in window coordinates) ----
  // The window and frame sizes; the frame leaves out the shadow band.
  TSize WindowSize() const { return m_windowSize; }
  TSize FrameSize() const { return m_frameSize; }
  virtual TRect GetClientArea();
  virtual TRect GetButtonRect(TSeBorderIcon kind);
  virtual TSeFrameHitArea HitTest(int x, int y);
  // The window's shape in window coordinates, without the shadow band; the caller owns it.
  virtual HRGN CreateWindowRegion();
  virtual void PaintFrame(TCanvas& canvas);
  virtual void PaintBackground();
  virtual TRect GetMaximizedBounds();
  // The frame without the client area, at the owner's current place.
  virtual TRect GetRollupBounds();
  virtual TSize GetMinTrackSize();
  virtual TSize GetMaxTrackSize();
  // Makes the platform ask for the client area again, keeping the client size.
  void RecalcFrame();
  void PaintNonClient();
  // Keeps the background capture equal to the screen under `screen` (screen coordinates), read
  // only where the window did not cover it before.
  void CaptureBackground(const TRect& screen);
  const TseBitmap& BackgroundCapture() const;
  // Maps a hit area to the platform's hit-test code, with the dragging options applied.
  LRESULT HitTestCode(TSeFrameHitArea area) const;
  TSeFrameHitArea HotArea() const { return m_hotArea; }
  TSeFrameHitArea PressedArea() const { return m_pressedArea; }
  bool FrameActive() const { return m_activeFlag; }

  // ---- window actions (ISeSkinnedWindow) ----
  bool AllowsSizing() const override;
  bool PaintChildBackground(TMessage& request) override;
  void Close() override;
  void Help() override;
  void Minimize() override;
  void Maximize() override;
  void Restore() override;
  void Rollup() override;
  void MinimizeToTray() override;
  void ShowSystemMenu() override;
  // The system menu at a screen point (the right click on the caption).
  virtual void ShowSystemMenu(const TPoint& screenPoint);
  void CustomAction(TSeSkinObject* button) override;

  void Loaded() override;
  void AfterMessage(TMessage& message) override;
  void Unhooked() override;

 protected:
  void Dispatch(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;

  virtual void FrameMouseDown(TMouseBtn button, TShiftState shift, int x, int y);
  virtual void FrameMouseMove(TShiftState shift, int x, int y);
  virtual void FrameMouseUp(TMouseBtn button, TShiftState shift, int x, int y);
  // Whether the form is drawn from a skin now; the custom form never is.
  virtual bool Skinned() const { return false; }
  // Sets the new bounds of the window from the frame messages and the window actions.
  void SetOwnerBounds(const TRect& bounds);
  bool FireAction(TSeFormActionEvent& event);
  // The status bar's size grip on the form under a window point.
  bool SizeGripHit(int x, int y) const;
  void UpdateRegion();
  // The window's shape with, under a shadow, a copy moved by the band's width; the caller owns it.
  HRGN CreateShadowedRegion();
  // Whether PaintNonClient draws the frame straight onto the window rather than into a bitmap.
  bool PaintsFrameToWindow() const;
  TCanvas& FormCanvas() { return *m_canvas; }
  TSeWindowState LoadedState() const { return m_loadedState; }

 private:
  void OptionChanged();
  void ApplyStayOnTop();
  void TakeRestoreBounds();
  void EnterState(TSeWindowState state, const TRect& bounds);
  void ChainShortCut();
  void HandleNcCalcSize(TMessage& message);
  void HandleWindowPosChanging(TMessage& message);
  // `blend`: the form's own background, which blending puts over the capture.
  void HandleEraseBackground(TMessage& message, bool blend = false);
  // Blending and the shadow as the screen allows them.
  bool BlendingOn() const;
  bool ShadowOn() const;
  // Shows the window's first frame with the transition of the animation options.
  void PlayShowAnimation();
  void HandlePaintFrameRequest(TMessage& message);
  void HandleNcActivate(TMessage& message);
  void NoticeWindowText(TMessage& message);
  TPoint ScreenToWindow(TPoint screen) const;
  // What a moved window snaps to: the parent's client area, or the monitor's work area (the
  // whole monitor for a window that stays on top).
  TRect GravitationArea() const;
  // The width of the shadow band right of and below the frame; 0 without a shadow or maximized.
  int ShadowBand() const;

  std::unique_ptr<TSeAnimation> m_animation;
  std::unique_ptr<TSeBlending> m_blending;
  TSeBorderIcons m_borderIcons{kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize};
  TSeBorderStyle m_borderStyle = kbsStandard;
  std::string m_caption;
  std::string m_lastSeenCaption;
  std::unique_ptr<TSeDragging> m_dragging;
  std::unique_ptr<TSeGravitation> m_gravitation;
  std::unique_ptr<TSizeConstraints> m_constraints;
  std::unique_ptr<TSePopupMenuOptions> m_systemMenuOptions;
  TPopupMenu* m_systemMenuLink = nullptr;
  std::unique_ptr<TSePopupMenuOptions> m_trayMenuOptions;
  TPopupMenu* m_trayMenuLink = nullptr;
  bool m_minimizeApplication = true;
  TSeFormPerformance m_performance = ksfpNoBuffer;
  std::unique_ptr<TSeShadow> m_shadow;
  bool m_stayOnTop = false;
  bool m_stretchBackground = false;
  TSeWindowState m_windowState = kwsNormal;
  TSeWindowState m_loadedState = kwsNormal;
  TSeWindowState m_previousState = kwsNormal;
  TRect m_restoreBounds;
  bool m_restoreBoundsKept = false;

  std::unique_ptr<TCanvas> m_canvas;
  HDC m_ownerDC = nullptr;
  HWND m_ownerDCWindow = nullptr;
  std::unique_ptr<TBackgroundCapture> m_capture;
  // While the show animation runs, the frame and the background are painted into this.
  TseBitmap* m_animationImage = nullptr;
  std::unique_ptr<TseBitmap> m_persistentBuffer;
  TSize m_windowSize;
  TSize m_frameSize;
  bool m_activeFlag = false;
  bool m_paintAllowed = false;
  bool m_blockCapture = false;
  TSeFrameHitArea m_hotArea = haNone;
  TSeFrameHitArea m_pressedArea = haNone;
  TShiftState m_heldButtons;
  TPoint m_dragStart;
  TPoint m_dragLast;
  bool m_frameDrag = false;
};

}  // namespace vandrel
