// TCustomForm / TForm: a top-level window with caption, icon, border style and icons, stay-on-top,
// placement, client size, close handling, modal showing with a modal result, and the keyboard
// focus of its controls (active control, focus-changed broadcast, dialog-key navigation).
#pragma once

#include <memory>

#include "framework/ControlCanvas.h"
#include "framework/WinControl.h"

namespace vandrel {

class TIcon;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSmallSet<TBorderIcon>;
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TPosition {
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
  poMainFormCenter, poOwnerFormCenter,
};
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };

using TModalResult = int;
enum : TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7 };

using TCloseEvent = TEvent<void(TPersistent* sender, TCloseAction& action)>;
using TCloseQueryEvent = TEvent<void(TPersistent* sender, bool& canClose)>;
using TShortCutEvent = TEvent<void(TMessage& message, bool& handled)>;

class TCustomForm : public TWinControl {
  VANDREL_CLASS_INFO
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  TFormBorderStyle BorderStyle() const { return m_borderStyle; }
  void SetBorderStyle(TFormBorderStyle style);
  TBorderIcons BorderIcons() const { return m_borderIcons; }
  void SetBorderIcons(TBorderIcons icons);
  TFormStyle FormStyle() const { return m_formStyle; }
  void SetFormStyle(TFormStyle style);
  TPosition Position() const { return m_position; }
  void SetPosition(TPosition position) { m_position = position; }
  TWindowState WindowState() const;
  void SetWindowState(TWindowState state);
  TIcon* Icon() const { return m_icon.get(); }
  // Kept for stored forms and the skinned window, which turns it off; forms here never scroll.
  bool AutoScroll() const { return m_autoScroll; }
  void SetAutoScroll(bool value) { m_autoScroll = value; }
  TCanvas* Canvas() const { return m_canvas.get(); }

  TRect GetClientRect() const override;
  void SetClientWidth(int value) override;
  void SetClientHeight(int value) override;

  TWinControl* ActiveControl() const { return m_activeControl; }
  // Raises EInvalidOperation for a control that cannot take the focus.
  void SetActiveControl(TWinControl* control);
  // Moves the focus to control now if the form is active, else when it is activated.
  void FocusControl(TWinControl* control);
  // The focus arrived at control (WM_SETFOCUS): exit and enter notifications, then the
  // focus-changed broadcast.
  bool SetFocusedControl(TWinControl* control);
  // Forgets control (and what it contains) as the active and focused control.
  void DefocusControl(TWinControl* control, bool removing);
  bool Active() const { return m_active; }

  void Close();
  virtual bool CloseQuery();
  TModalResult ShowModal();
  TModalResult ModalResult() const { return m_modalResult; }
  void SetModalResult(TModalResult value) { m_modalResult = value; }
  bool Modal() const { return m_modal; }
  // Frees the form once the messages now queued for it are handled.
  void Release();

  // Fires OnCreate (a form built in code calls it after loading, see Loading.h).
  virtual void DoCreate();
  // The form's key preview of shortcuts; true when handled.
  virtual bool IsShortCut(TMessage& message);

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TShortCutEvent OnShortCut;

  void Dispatch(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void PaintWindow(HDC dc) override;
  virtual void Paint();
  virtual void DoClose(TCloseAction& action);
  virtual void Activate();
  virtual void Deactivate();

 private:
  void ApplyVisible();
  void ApplyIcon();
  TSize FrameSize() const;
  void CloseModal();

  TFormBorderStyle m_borderStyle = bsSizeable;
  TBorderIcons m_borderIcons{biSystemMenu, biMinimize, biMaximize};
  TFormStyle m_formStyle = fsNormal;
  TPosition m_position = poDesigned;
  TWindowState m_windowState = wsNormal;
  std::unique_ptr<TIcon> m_icon;
  std::unique_ptr<TControlCanvas> m_canvas;
  TWinControl* m_activeControl = nullptr;
  TWinControl* m_focusedControl = nullptr;
  bool m_active = false;
  bool m_activated = false;
  bool m_shownOnce = false;
  bool m_modal = false;
  bool m_autoScroll = true;
  TModalResult m_modalResult = mrNone;
};

class TForm : public TCustomForm {
  VANDREL_CLASS_INFO
 public:
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

}  // namespace vandrel
