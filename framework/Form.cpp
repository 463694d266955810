#include "framework/Form.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "framework/Application.h"
#include "framework/Icon.h"
#include "framework/PropertyInfo.h"
#include "framework/Screen.h"
#include "platform/core/Exception.h"
#include "platform/gdi/SystemMetrics.h"
#include "platform/win/DefaultFrame.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/VirtualKeys.h"

namespace vandrel {

namespace {
constexpr std::array<std::string_view, 6> kBorderStyleNames = {"bsNone", "bsSingle", "bsSizeable", "bsDialog",
                                                               "bsToolWindow", "bsSizeToolWin"};
constexpr std::array<std::string_view, 4> kBorderIconNames = {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"};
constexpr std::array<std::string_view, 4> kFormStyleNames = {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"};
constexpr std::array<std::string_view, 8> kPositionNames = {"poDesigned", "poDefault", "poDefaultPosOnly",
                                                            "poDefaultSizeOnly", "poScreenCenter", "poDesktopCenter",
                                                            "poMainFormCenter", "poOwnerFormCenter"};
constexpr std::array<std::string_view, 3> kWindowStateNames = {"wsNormal", "wsMinimized", "wsMaximized"};
static_assert(kBorderStyleNames.size() == size_t(bsSizeToolWin) + 1);
static_assert(kPositionNames.size() == size_t(poOwnerFormCenter) + 1);

void StylesOf(TFormBorderStyle border, TBorderIcons icons, TFormStyle formStyle, DWORD& style, DWORD& ex) {
  style = WS_CLIPCHILDREN;
  ex = 0;
  switch (border) {
    case bsNone: style |= WS_POPUP; break;
    case bsSingle: style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable: style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog: style |= WS_POPUP | WS_CAPTION | WS_DLGFRAME; ex |= WS_EX_DLGMODALFRAME; break;
    case bsToolWindow: style |= WS_CAPTION | WS_BORDER; ex |= WS_EX_TOOLWINDOW; break;
    case bsSizeToolWin: style |= WS_CAPTION | WS_THICKFRAME; ex |= WS_EX_TOOLWINDOW; break;
  }
  if (border != bsNone && icons.Contains(biSystemMenu)) {
    style |= WS_SYSMENU;
    if (border == bsSingle || border == bsSizeable) {
      if (icons.Contains(biMinimize)) style |= WS_MINIMIZEBOX;
      if (icons.Contains(biMaximize)) style |= WS_MAXIMIZEBOX;
    }
  }
  if (formStyle == fsStayOnTop) ex |= WS_EX_TOPMOST;
}
}  // namespace

const TClassInfo& TCustomForm::StaticClassInfo() {
  using T = TCustomForm;
  static const TClassInfo info("TCustomForm", &TWinControl::StaticClassInfo(), nullptr, {
      prop::Set("BorderIcons", &T::BorderIcons, &T::SetBorderIcons, kBorderIconNames,
                TBorderIcons{biSystemMenu, biMinimize, biMaximize}),
      prop::Enum("BorderStyle", &T::BorderStyle, &T::SetBorderStyle, kBorderStyleNames, bsSizeable),
      prop::Enum("FormStyle", &T::FormStyle, &T::SetFormStyle, kFormStyleNames, fsNormal),
      prop::Enum("Position", &T::Position, &T::SetPosition, kPositionNames, poDesigned),
      prop::Enum("WindowState", &T::WindowState, &T::SetWindowState, kWindowStateNames, wsNormal),
      prop::Event("OnActivate", &T::OnActivate),
      prop::Event("OnClose", &T::OnClose),
      prop::Event("OnCloseQuery", &T::OnCloseQuery),
      prop::Event("OnCreate", &T::OnCreate),
      prop::Event("OnDeactivate", &T::OnDeactivate),
      prop::Event("OnDestroy", &T::OnDestroy),
      prop::Event("OnHide", &T::OnHide),
      prop::Event("OnPaint", &T::OnPaint),
      prop::Event("OnShow", &T::OnShow),
  });
  return info;
}

const TClassInfo& TForm::StaticClassInfo() {
  static const TClassInfo info("TForm", &TCustomForm::StaticClassInfo(), ComponentFactory<TForm>(), {});
  return info;
}

TCustomForm::TCustomForm(TComponent* owner)
    : TWinControl(owner), m_icon(std::make_unique<TIcon>()), m_canvas(std::make_unique<TControlCanvas>(this)) {
  SetVisible(false);
  SetParentColor(false);
  SetParentFont(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 320, 240);
  SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
  m_icon->OnChange = [this](TGraphic*) { ApplyIcon(); };
  Screen()->AddForm(this);
}

TCustomForm::~TCustomForm() {
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (...) {
      if (TApplication* app = Application()) app->HandleException(this);
    }
  }
  m_canvas->FreeHandle();
  Screen()->RemoveForm(this);
  if (TApplication* app = Application()) app->FormDestroyed(this);
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  StylesOf(m_borderStyle, m_borderIcons, m_formStyle, p.Style, p.ExStyle);
  p.Style &= ~WS_VISIBLE;
  p.WndParent = nullptr;
  if (!Enabled()) p.Style |= WS_DISABLED;
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == m_borderStyle) return;
  m_borderStyle = style;
  if (HandleAllocated()) {
    TSize client = ClientRect().Size();
    DWORD s, ex;
    StylesOf(m_borderStyle, m_borderIcons, m_formStyle, s, ex);
    DWORD keep = DWORD(GetWindowLong(Handle(), GWL_STYLE)) & (WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE);
    SetWindowLong(Handle(), GWL_STYLE, LONG(s | keep));
    SetWindowLong(Handle(), GWL_EXSTYLE, LONG(ex));
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    (void)client;
  }
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
  if (icons == m_borderIcons) return;
  m_borderIcons = icons;
  if (HandleAllocated()) {
    DWORD s, ex;
    StylesOf(m_borderStyle, m_borderIcons, m_formStyle, s, ex);
    DWORD keep = DWORD(GetWindowLong(Handle(), GWL_STYLE)) & (WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE);
    SetWindowLong(Handle(), GWL_STYLE, LONG(s | keep));
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
}

void TCustomForm::SetFormStyle(TFormStyle style) {
  if (style == m_formStyle) return;
  m_formStyle = style;
  if (HandleAllocated())
    SetWindowPos(Handle(), style == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TWindowState TCustomForm::WindowState() const {
  if (HandleAllocated()) {
    if (IsIconic(Handle())) return wsMinimized;
    if (IsZoomed(Handle())) return wsMaximized;
    return wsNormal;
  }
  return m_windowState;
}

void TCustomForm::SetWindowState(TWindowState state) {
  m_windowState = state;
  if (HandleAllocated() && Visible())
    ShowWindow(Handle(), state == wsMinimized ? SW_MINIMIZE : state == wsMaximized ? SW_MAXIMIZE : SW_RESTORE);
}

TSize TCustomForm::FrameSize() const {
  DWORD s, ex;
  StylesOf(m_borderStyle, m_borderIcons, m_formStyle, s, ex);
  TFrameLayout l = DefaultFrameLayout(s, ex, {1000, 1000}, false, false);
  return {1000 - l.Client.Width(), 1000 - l.Client.Height()};
}

TRect TCustomForm::GetClientRect() const {
  if (HandleAllocated()) return TWinControl::GetClientRect();
  TSize f = FrameSize();
  return Rect(0, 0, std::max(Width() - f.cx, 0), std::max(Height() - f.cy, 0));
}

void TCustomForm::SetClientWidth(int value) { SetWidth(Width() - ClientRect().Width() + value); }
void TCustomForm::SetClientHeight(int value) { SetHeight(Height() - ClientRect().Height() + value); }

void TCustomForm::ApplyIcon() {
  if (HandleAllocated()) SetWindowIcon(Handle(), m_icon->Handle());
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == m_activeControl) return;
  if (control && (!ContainsControl(control) || control == this || !control->CanFocus()))
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  m_activeControl = control;
  if (control && m_active) control->SetFocus();
}

void TCustomForm::FocusControl(TWinControl* control) {
  if (!control) return;
  m_activeControl = control == this ? nullptr : control;
  if (m_active && control->CanFocus()) vandrel::SetFocus(control->Handle());
}

bool TCustomForm::SetFocusedControl(TWinControl* control) {
  if (control == m_focusedControl) return true;
  TWinControl* old = m_focusedControl;
  m_focusedControl = control;
  if (control != this) m_activeControl = control;
  if (old && old != this) {
    for (TWinControl* c = old; c && c != this && !c->ContainsControl(control); c = c->Parent()) {
      c->Perform(CM_EXIT);
      if (m_focusedControl != control) return false;
    }
  }
  if (control && control != this) {
    std::vector<TWinControl*> chain;
    for (TWinControl* c = control; c && c != this && !(old && c->ContainsControl(old)); c = c->Parent())
      chain.push_back(c);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
      (*it)->Perform(CM_ENTER);
      if (m_focusedControl != control) return false;
    }
  }
  Perform(CM_FOCUSCHANGED, 0, LPARAM(control));
  return true;
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing) {
  if (control == this) return;
  if (m_activeControl && control->ContainsControl(m_activeControl)) m_activeControl = nullptr;
  if (m_focusedControl && control->ContainsControl(m_focusedControl)) {
    m_focusedControl = nullptr;
    if (!removing && !Destroying() && HandleAllocated() && m_active) vandrel::SetFocus(Handle());
  }
}

void TCustomForm::Close() {
  if (m_modal) {
    m_modalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  TApplication* app = Application();
  if (app && app->MainForm() == this) {
    app->Terminate();
    Hide();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    SetWindowState(wsMinimized);
  } else {
    Release();
  }
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}

void TCustomForm::Release() {
  if (HandleAllocated()) PostMessage(Handle(), CM_RELEASE, 0, 0);
}

void TCustomForm::CloseModal() {
  if (!CloseQuery()) {
    m_modalResult = mrNone;
    return;
  }
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) m_modalResult = mrNone;
}

TModalResult TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || m_modal) throw EInvalidOperation("Cannot make a visible window modal");
  // The other forms take no input while this one runs.
  std::vector<TCustomForm*> disabled;
  for (int i = 0; i < Screen()->FormCount(); ++i) {
    TCustomForm* f = Screen()->Forms(i);
    if (f != this && f->HandleAllocated() && IsWindowEnabled(f->Handle()) && f->Visible()) {
      EnableWindow(f->Handle(), false);
      disabled.push_back(f);
    }
  }
  TCustomForm* previous = Screen()->ActiveForm();
  auto restore = [&] {
    for (TCustomForm* f : disabled)
      if (Screen()->IndexOfForm(f) >= 0 && f->HandleAllocated()) EnableWindow(f->Handle(), true);
    m_modal = false;
    if (HandleAllocated()) Hide();
    if (previous && Screen()->IndexOfForm(previous) >= 0 && previous->HandleAllocated() && previous->Visible())
      SetActiveWindow(previous->Handle());
  };
  m_modal = true;
  m_modalResult = mrNone;
  try {
    Show();
    while (m_modalResult == mrNone) {
      TApplication* app = Application();
      if (app) {
        app->HandleMessage();
        if (app->Terminated()) m_modalResult = mrCancel;
      } else {
        MSG msg;
        if (!GetMessage(msg, nullptr, 0, 0)) {
          PostQuitMessage(int(msg.wParam));
          m_modalResult = mrCancel;
        } else {
          TranslateMessage(msg);
          DispatchMessage(msg);
        }
      }
      if (m_modalResult != mrNone) CloseModal();
    }
  } catch (...) {
    restore();
    throw;
  }
  restore();
  return m_modalResult;
}

void TCustomForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

bool TCustomForm::IsShortCut(TMessage& message) {
  bool handled = false;
  if (OnShortCut) OnShortCut(message, handled);
  return handled;
}

void TCustomForm::ApplyVisible() {
  if (Visible()) {
    if (!m_shownOnce) {
      m_shownOnce = true;
      if (m_position == poScreenCenter || m_position == poDesktopCenter) {
        TSize s{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        SetBounds((s.cx - Width()) / 2, (s.cy - Height()) / 2, Width(), Height());
      } else if (m_position == poMainFormCenter || m_position == poOwnerFormCenter) {
        TApplication* app = Application();
        TCustomForm* center = app ? app->MainForm() : nullptr;
        if (center && center != this)
          SetBounds(center->Left() + (center->Width() - Width()) / 2, center->Top() + (center->Height() - Height()) / 2,
                    Width(), Height());
      }
    }
    HWND h = Handle();
    ApplyIcon();
    if (m_formStyle == fsStayOnTop) SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    int cmd = m_windowState == wsMinimized ? SW_SHOWMINIMIZED : m_windowState == wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    ShowWindow(h, cmd);
    SetActiveWindow(h);
    if (OnShow) OnShow(this);
  } else if (HandleAllocated()) {
    if (OnHide) OnHide(this);
    ShowWindow(Handle(), SW_HIDE);
  }
}

void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::PaintWindow(HDC dc) {
  TCanvasPaintScope scope(*m_canvas, dc);
  Paint();
}

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TCustomForm::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_VISIBLECHANGED: ApplyVisible(); return;
    case WM_CLOSE: Close(); return;
    case CM_RELEASE: delete this; return;
    case WM_ACTIVATE: {
      bool active = LOWORD(m.WParam) != WA_INACTIVE;
      if (active) {
        m_active = true;
        Screen()->SetActiveForm(this);
        if (!m_activated) {
          m_activated = true;
          if (!m_activeControl) {
            if (TWinControl* first = FindNextControl(nullptr, true, true, false)) m_activeControl = first;
          }
        }
        if (m_activeControl && m_activeControl->CanFocus())
          vandrel::SetFocus(m_activeControl->Handle());
        else
          vandrel::SetFocus(Handle());
        Activate();
      } else {
        m_active = false;
        if (Screen()->ActiveForm() == this) Screen()->SetActiveForm(nullptr);
        Deactivate();
      }
      return;
    }
    case CM_DIALOGKEY: {
      if (GetKeyState(VK_MENU) >= 0) {
        if (m.WParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
          SelectNext(m_activeControl, GetKeyState(VK_SHIFT) >= 0, true);
          m.Result = 1;
          return;
        }
        if (m.WParam == VK_LEFT || m.WParam == VK_RIGHT || m.WParam == VK_UP || m.WParam == VK_DOWN) {
          if (m_activeControl && m_activeControl->Parent())
            m_activeControl->Parent()->SelectNext(m_activeControl, m.WParam == VK_RIGHT || m.WParam == VK_DOWN, false);
          m.Result = 1;
          return;
        }
      }
      TWinControl::Dispatch(m);
      return;
    }
    default: TWinControl::Dispatch(m);
  }
}

}  // namespace vandrel
