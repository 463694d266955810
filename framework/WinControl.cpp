#include "framework/WinControl.h"

#include <algorithm>
#include <unordered_map>

#include "framework/Application.h"
#include "framework/ComponentWatch.h"
#include "framework/Cursors.h"
#include "framework/Form.h"
#include "framework/PropertyInfo.h"
#include "platform/core/Exception.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/Fill.h"
#include "platform/gdi/GdiObject.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/VirtualKeys.h"

namespace vandrel {

namespace {
constexpr const char* kWindowClass = "VandrelControl";
// Sent by the class procedure to the control whose window was just made.
constexpr UINT CM_BINDWINDOW = CM_LAST - 1;
TWinControl* g_creating = nullptr;

std::unordered_map<HWND, TWinControl*>& HandleMap() {
  static std::unordered_map<HWND, TWinControl*> map;
  return map;
}

// The class procedure only binds a new window to the control that is creating it; from then on
// the control's own procedure object runs.
void EnsureWindowClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASS cls;
  cls.lpszClassName = kWindowClass;
  cls.style = CS_DBLCLKS;
  cls.hbrBackground = clNone;
  cls.lpfnWndProc = MakeWindowProc([](HWND hwnd, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
    if (TWinControl* c = g_creating) {
      g_creating = nullptr;
      return c->Perform(CM_BINDWINDOW, WPARAM(hwnd), 0) ? CallWindowProc(GetWindowProc(hwnd), hwnd, msg, w, l) : 0;
    }
    return DefWindowProc(hwnd, msg, w, l);
  });
  RegisterClass(cls);
  registered = true;
}
}  // namespace

TWinControl* FindControl(HWND hwnd) {
  if (!hwnd) return nullptr;
  auto it = HandleMap().find(hwnd);
  return it == HandleMap().end() ? nullptr : it->second;
}

const TClassInfo& TWinControl::StaticClassInfo() {
  using T = TWinControl;
  static const TClassInfo info("TWinControl", &TControl::StaticClassInfo(), nullptr, {
      prop::Integer("TabOrder", &T::TabOrder, &T::SetTabOrder, -1),
      prop::Boolean("TabStop", &T::TabStop, &T::SetTabStop, false),
      prop::Event("OnEnter", &T::OnEnter),
      prop::Event("OnExit", &T::OnExit),
      prop::Event("OnKeyDown", &T::OnKeyDown),
      prop::Event("OnKeyPress", &T::OnKeyPress),
      prop::Event("OnKeyUp", &T::OnKeyUp),
  });
  return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
  m_proc = MakeWindowProc([this](HWND h, UINT msg, WPARAM w, LPARAM l) { return MainWndProc(h, msg, w, l); });
  m_defWndProc = DefWindowProcObject();
}

TWinControl::~TWinControl() {
  if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, true);
  // Leave the parent while this is still a windowed control to it (tab list, window).
  if (m_parent) m_parent->RemoveControl(this);
  // Children go with their parent, as on screen, whoever owns them.
  while (!m_controls.empty()) {
    TControl* c = m_controls.back();
    RemoveControl(c);
    delete c;
  }
  DestroyHandle();
}

HWND TWinControl::Handle() {
  if (!m_handle) {
    if (m_parent) m_parent->HandleNeeded();
    if (!m_handle) CreateWnd();
  }
  return m_handle;
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.Caption = Text();
  p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (m_parent) {
    p.Style |= WS_CHILD;
    p.WndParent = m_parent->Handle();
    if (Visible()) p.Style |= WS_VISIBLE;
  } else {
    p.Style |= WS_POPUP;
  }
  if (!Enabled()) p.Style |= WS_DISABLED;
  if (m_tabStop) p.Style |= WS_TABSTOP;
  p.X = m_left;
  p.Y = m_top;
  p.Width = m_width;
  p.Height = m_height;
  p.ClassStyle = CS_DBLCLKS;
}

void TWinControl::CreateWnd() {
  EnsureWindowClass();
  TCreateParams p;
  CreateParams(p);
  g_creating = this;
  HWND h = CreateWindowEx(p.ExStyle, kWindowClass, p.Caption, p.Style, p.X, p.Y, p.Width, p.Height, p.WndParent);
  g_creating = nullptr;
  if (!h || !m_handle) throw EOutOfResources("Error creating window for " + GetNamePath());
  UpdateBounds();
  for (TControl* c : m_controls)
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->HandleNeeded();
  CreateHandleDone();
}

void TWinControl::DestroyWnd() {
  if (m_handle) DestroyWindow(m_handle);
}

void TWinControl::DestroyHandle() {
  if (!m_handle) return;
  if (GetCaptureControl() == this || (GetCaptureControl() && GetCaptureControl()->Parent() == this))
    SetCaptureControl(nullptr);
  DestroyWnd();
  if (m_handle) {
    HandleMap().erase(m_handle);
    m_handle = nullptr;
  }
}

void TWinControl::RecreateWnd() {
  if (!m_handle) return;
  DestroyHandle();
  HandleNeeded();
}

LRESULT TWinControl::MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  // A form may free itself while handling CM_RELEASE: nothing of this object is touched after it.
  if (msg == CM_RELEASE) {
    WndProc(m);
    return m.Result;
  }
  try {
    WndProc(m);
  } catch (...) {
    if (TApplication* app = Application()) {
      app->HandleException(this);
    } else {
      throw;
    }
  }
  if (msg == WM_NCDESTROY && hwnd == m_handle) {
    HandleMap().erase(m_handle);
    m_handle = nullptr;
  }
  return m.Result;
}

TControl* TWinControl::Controls(int index) const {
  if (index < 0 || index >= ControlCount()) return nullptr;
  return m_controls[size_t(index)];
}

void TWinControl::InsertControl(TControl* c) {
  c->m_parent = this;
  m_controls.push_back(c);
  auto* w = dynamic_cast<TWinControl*>(c);
  if (w) m_tabList.push_back(w);
  if (!Loading() && !c->Loading()) c->ParentPropertyChanged();
  if (w && m_handle) w->HandleNeeded();
  if (!w && c->Visible()) InvalidateRect(c->BoundsRect(), true);
  c->RequestAlign();
  Perform(CM_CONTROLCHANGE, WPARAM(c), 1);
}

void TWinControl::RemoveControl(TControl* c) {
  auto it = std::find(m_controls.begin(), m_controls.end(), c);
  if (it == m_controls.end()) return;
  Perform(CM_CONTROLCHANGE, WPARAM(c), 0);
  if (GetCaptureControl() == c) SetCaptureControl(nullptr);
  it = std::find(m_controls.begin(), m_controls.end(), c);
  if (it == m_controls.end()) return;
  auto* w = dynamic_cast<TWinControl*>(c);
  if (w) {
    if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(w, true);
    w->DestroyHandle();
    std::erase(m_tabList, w);
  } else if (c->Visible()) {
    InvalidateRect(c->BoundsRect(), true);
  }
  std::erase(m_controls, c);
  c->m_parent = nullptr;
  if (c->Align() != alNone && !Destroying()) Realign();
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls) const {
  for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it) {
    TControl* c = *it;
    bool win = dynamic_cast<TWinControl*>(c) != nullptr;
    if (win && !allowWinControls) continue;
    if (!c->Visible() || (!c->Enabled() && !allowDisabled)) continue;
    if (!c->BoundsRect().Contains(p)) continue;
    if (c->Perform(CM_HITTEST, 0, PointToLParam(p - TPoint{c->Left(), c->Top()})) == 0) continue;
    return c;
  }
  return nullptr;
}

void TWinControl::Broadcast(TMessage& m) {
  auto children = m_controls;
  for (TControl* c : children) {
    if (std::find(m_controls.begin(), m_controls.end(), c) == m_controls.end()) continue;
    c->WndProc(m);
    if (m.Result != 0) return;
  }
}

bool TWinControl::Showing() const {
  if (!Visible()) return false;
  if (m_parent) return m_parent->Showing();
  return m_handle && IsWindowVisible(m_handle);
}

bool TWinControl::IsVisibleOnScreen() const { return Showing(); }

TPoint TWinControl::ClientOrigin() const {
  if (m_handle) {
    TPoint p{0, 0};
    vandrel::ClientToScreen(m_handle, p);
    return p;
  }
  return TControl::ClientOrigin();
}

TRect TWinControl::GetClientRect() const {
  if (m_handle) return vandrel::ClientRect(m_handle);
  return TControl::GetClientRect();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  int oldW = m_width, oldH = m_height;
  TControl::SetBounds(left, top, width, height);
  if (m_width != oldW || m_height != oldH) Realign();
}

void TWinControl::BoundsChanged() {
  if (m_handle && !m_updatingBounds) {
    m_updatingBounds = true;
    try {
      SetWindowPos(m_handle, nullptr, m_left, m_top, m_width, m_height, SWP_NOZORDER | SWP_NOACTIVATE);
    } catch (...) {
      m_updatingBounds = false;
      throw;
    }
    m_updatingBounds = false;
  }
}

void TWinControl::UpdateBounds() {
  if (!m_handle) return;
  TRect r = WindowRect(m_handle);
  if (HWND parent = GetParent(m_handle); parent && (GetWindowLong(m_handle, GWL_STYLE) & WS_CHILD))
    r = MapWindowRect(nullptr, parent, r);
  bool sized = r.Width() != m_width || r.Height() != m_height;
  if (r == BoundsRect()) return;
  m_left = r.Left;
  m_top = r.Top;
  m_width = r.Width();
  m_height = r.Height();
  m_anchorRestValid = false;
  RequestAlign();
  if (sized && !Loading()) Resize();
}

void TWinControl::SetParent(TWinControl* parent) {
  if (parent == m_parent) return;
  TControl::SetParent(parent);
}

void TWinControl::SetText(const std::string& text) {
  if (m_handle) {
    if (text != Text()) SetWindowText(m_handle, text);
    return;
  }
  TControl::SetText(text);
}

void TWinControl::Invalidate() {
  if (m_handle) vandrel::InvalidateRect(m_handle, nullptr, !ControlStyle().Contains(csOpaque));
}

void TWinControl::Update() {
  if (m_handle) UpdateWindow(m_handle);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::InvalidateRect(const TRect& r, bool erase) {
  if (m_handle) vandrel::InvalidateRect(m_handle, &r, erase);
}

void TWinControl::SetChildZOrder(TControl* child, bool toFront) {
  auto it = std::find(m_controls.begin(), m_controls.end(), child);
  if (it == m_controls.end()) return;
  m_controls.erase(it);
  if (toFront) m_controls.push_back(child); else m_controls.insert(m_controls.begin(), child);
  if (auto* w = dynamic_cast<TWinControl*>(child)) {
    if (w->m_handle)
      SetWindowPos(w->m_handle, toFront ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  } else {
    child->Invalidate();
  }
}

bool TWinControl::IsControlMouseMsg(TMessage& m) {
  TControl* c = GetCaptureControl();
  TPoint p = LParamToPoint(m.LParam);
  if (c) {
    if (c->Parent() != this) return false;
  } else {
    c = ControlAtPos(p, false);
  }
  if (!c) return false;
  m.Result = c->Perform(m.Msg, m.WParam, PointToLParam(p - TPoint{c->Left(), c->Top()}));
  return true;
}

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_BINDWINDOW: {
      HWND h = HWND(m.WParam);
      m_handle = h;
      HandleMap()[h] = this;
      SetWindowProc(h, m_proc);
      m.Result = 1;
      return;
    }
    case WM_SETFOCUS:
      if (TCustomForm* form = GetParentForm(this); form && form != this && !form->SetFocusedControl(this)) return;
      if (TCustomForm* self = dynamic_cast<TCustomForm*>(this)) self->SetFocusedControl(this);
      break;
    case WM_MOUSEMOVE:
      if (m_handle) {
        TPoint p = LParamToPoint(m.LParam);
        vandrel::ClientToScreen(m_handle, p);
        UpdateMouseControl(p);
        if (TApplication* app = Application()) app->MouseMoved(p);
      }
      break;
    case WM_MOUSELEAVE: UpdateMouseControl(CursorPos()); break;
    default: break;
  }
  if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST && m.Msg != WM_MOUSEWHEEL) {
    if (m.Msg != WM_MOUSEMOVE)
      if (TApplication* app = Application()) app->CancelHint();
    if (IsControlMouseMsg(m)) return;
  }
  TControl::WndProc(m);
}

bool TWinControl::DoKeyDownMessage(TMessage& m) {
  WORD key = WORD(m.WParam);
  TShiftState shift = CurrentShiftState();
  LRESULT mask = 0;
  switch (key) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    default: break;
  }
  if (mask && !Perform(CM_WANTSPECIALKEY, key, 0) && !(Perform(WM_GETDLGCODE) & (mask | DLGC_WANTALLKEYS))) {
    if (TCustomForm* form = GetParentForm(this)) {
      if (form->Perform(CM_DIALOGKEY, key, m.LParam)) return true;
    }
  }
  KeyDown(key, shift);
  return key == 0;
}

void TWinControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT: PaintHandler(m); return;
    case WM_ERASEBKGND: {
      if (Color() != clNone) {
        HDC dc = HdcFromWParam(m.WParam);
        HBRUSH b = CreateSolidBrush(ColorToRGB(Color()));
        vandrel::FillRect(dc, Rect(0, 0, ClientRect().Right, ClientRect().Bottom), b);
        DeleteObject(b);
      }
      m.Result = 1;
      return;
    }
    case WM_SIZE:
      DefaultHandler(m);
      if (!m_updatingBounds) {
        UpdateBounds();
        Realign();
      }
      return;
    case WM_MOVE:
      DefaultHandler(m);
      if (!m_updatingBounds) UpdateBounds();
      return;
    case WM_SETTEXT:
      DefaultHandler(m);
      if (m_handle) {
        std::string t = GetWindowText(m_handle);
        if (t != Text()) TControl::SetText(t);
      }
      return;
    // Key handlers may free this control: it is not touched after one that did.
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      TComponentWatch alive(*this);
      if (DoKeyDownMessage(m) || !alive) return;
      DefaultHandler(m);
      return;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      WORD key = WORD(m.WParam);
      TComponentWatch alive(*this);
      KeyUp(key, CurrentShiftState());
      if (alive && key) DefaultHandler(m);
      return;
    }
    case WM_CHAR: {
      char32_t ch = char32_t(m.WParam);
      TComponentWatch alive(*this);
      KeyPress(ch);
      if (ch == 0 || !alive) return;
      if (!(Perform(WM_GETDLGCODE) & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)))
        if (TCustomForm* form = GetParentForm(this); form && form->Perform(CM_DIALOGCHAR, ch, m.LParam)) return;
      m.WParam = ch;
      DefaultHandler(m);
      return;
    }
    case WM_SYSCHAR:
      if (TCustomForm* form = GetParentForm(this); form && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam)) return;
      DefaultHandler(m);
      return;
    case WM_MOUSEWHEEL: {
      TPoint p = LParamToPoint(m.LParam);
      if (DoMouseWheel(ShiftStateFromMouse(LOWORD(m.WParam)), GET_WHEEL_DELTA_WPARAM(m.WParam), p)) {
        m.Result = 1;
        return;
      }
      DefaultHandler(m);
      return;
    }
    case WM_SETCURSOR: {
      TControl* c = MouseControl();
      if (LOWORD(std::uintptr_t(m.LParam)) == HTCLIENT && c && ContainsControl(c) && c->Cursor() != crDefault) {
        vandrel::SetCursor(CursorHandle(c->Cursor()));
        m.Result = 1;
        return;
      }
      if (LOWORD(std::uintptr_t(m.LParam)) == HTCLIENT && Cursor() != crDefault) {
        vandrel::SetCursor(CursorHandle(Cursor()));
        m.Result = 1;
        return;
      }
      DefaultHandler(m);
      return;
    }
    case WM_CAPTURECHANGED:
      DefaultHandler(m);
      return;
    case CM_ENTER: DoEnter(); return;
    case CM_EXIT: DoExit(); return;
    case CM_FOCUSCHANGED:
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
      Broadcast(m);
      return;
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
    case CM_SHOWHINTCHANGED:
    case CM_BIDIMODECHANGED: {
      if (m.Msg != CM_SHOWHINTCHANGED) Invalidate();
      UINT child = m.Msg == CM_COLORCHANGED ? CM_PARENTCOLORCHANGED
                   : m.Msg == CM_FONTCHANGED ? CM_PARENTFONTCHANGED
                   : m.Msg == CM_SHOWHINTCHANGED ? CM_PARENTSHOWHINTCHANGED
                                                 : CM_PARENTBIDIMODECHANGED;
      TMessage cm{child, 0, 0, 0};
      for (TControl* c : std::vector<TControl*>(m_controls)) c->WndProc(cm);
      return;
    }
    case CM_ENABLEDCHANGED:
      if (m_handle) EnableWindow(m_handle, Enabled());
      Invalidate();
      return;
    case CM_VISIBLECHANGED: ApplyShowing(); return;
    case CM_TEXTCHANGED: Invalidate(); return;
    default: TControl::Dispatch(m);
  }
}

void TWinControl::ApplyShowing() {
  if (!m_handle) return;
  if (!Visible()) {
    if (TCustomForm* form = GetParentForm(this); form && form != this) form->DefocusControl(this, false);
  }
  ShowWindow(m_handle, Visible() ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (m_handle) m.Result = CallWindowProc(m_defWndProc, m_handle, m.Msg, m.WParam, m.LParam);
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char32_t& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

bool TWinControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
  return handled;
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::Loaded() {
  TControl::Loaded();
  if (ControlState().Contains(csAlignmentNeeded) || !m_controls.empty()) Realign();
}

}  // namespace vandrel
