#include "skinform/PopupWindow.h"

#include "framework/Canvas.h"
#include "framework/WinControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"
#include "skinform/MenuItem.h"
#include "skinform/MenuPaint.h"
#include "skinform/PopupView.h"

namespace vandrel {

namespace {

// The client area's margins on each side of a popup frame.
constexpr int kPopupMargin = 3;

// A canvas on a window's device context for one drawing call.
class TWindowDrawCanvas {
 public:
  explicit TWindowDrawCanvas(HWND hwnd) : m_hwnd(hwnd), m_dc(GetDC(hwnd)) { m_canvas.SetHandle(m_dc); }
  ~TWindowDrawCanvas() {
    m_canvas.SetHandle(nullptr);
    ReleaseDC(m_hwnd, m_dc);
  }
  TWindowDrawCanvas(const TWindowDrawCanvas&) = delete;
  TWindowDrawCanvas& operator=(const TWindowDrawCanvas&) = delete;
  TCanvas& Canvas() { return m_canvas; }

 private:
  HWND m_hwnd;
  HDC m_dc;
  TCanvas m_canvas;
};

}  // namespace

TSePopupForm::TSePopupForm(TSePopupWindow* window) : TComponent(window), m_window(window) {}

void TSePopupForm::SetMenuOwner(TComponent* owner) {
  if (owner && owner->Owner() && dynamic_cast<TWinControl*>(owner->Owner())) owner = owner->Owner();
  if (owner == m_menuOwner) return;
  if (m_menuOwner) m_menuOwner->RemoveFreeNotification(this);
  m_menuOwner = owner;
  if (m_menuOwner) m_menuOwner->FreeNotification(this);
}

void TSePopupForm::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component == m_menuOwner) m_menuOwner = nullptr;
  TComponent::Notification(component, operation);
}

TRect TSePopupForm::GetClientArea(TSize frame) const {
  return {kPopupMargin, kPopupMargin, frame.cx - kPopupMargin, frame.cy - kPopupMargin};
}

void TSePopupForm::PaintFrame(TCanvas& canvas, TSize frame) {
  TSePopupView* view = m_window->View();
  if (!view->Item() || view->Item()->Count() == 0) return;
  PaintClassicPopupFrame(canvas, frame);
}

TSePopupForm* TSeCustomItem::CreatePopupForm(TSePopupWindow* window) { return new TSePopupForm(window); }

void TSePopupForm::PaintBackground(TCanvas& canvas) { m_window->View()->PaintItems(canvas); }

TSePopupWindow::TSePopupWindow(TComponent* owner, TSeCustomItem* item)
    : TForm(owner), m_form(item->CreatePopupForm(this)), m_view(new TSePopupView(this)) {
  SetBorderStyle(bsNone);
  SetBorderIcons({});
  SetFormStyle(fsStayOnTop);
  SetColor(clMenu);
  m_form->SetMenuOwner(item->OwnerControl() ? static_cast<TComponent*>(item->OwnerControl()) : item->Owner());
  m_view->SetItem(item);
  m_view->SetVertical(true);
  m_view->SetWindow(Handle());
  m_view->OnRepaintItem = [this](TSeCustomItem* i) { RepaintItem(i); };
  m_view->OnRepaintScrollButton = [this](bool up) { RepaintScrollButton(up); };
  m_view->OnRepaintAll = [this] { RepaintAll(); };
}

TSePopupWindow::~TSePopupWindow() {
  // The view goes first so that nothing repaints a window on its way out.
  m_view->OnRepaintItem = nullptr;
  m_view->OnRepaintScrollButton = nullptr;
  m_view->OnRepaintAll = nullptr;
}

void TSePopupWindow::CreateParams(TCreateParams& params) {
  TForm::CreateParams(params);
  params.Style = WS_POPUP;
  // Never activated: the display then places it itself, undecorated, and gives it the keyboard
  // through the capture rather than through the focus.
  params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
}

TSize TSePopupWindow::LayoutView() {
  TWindowDrawCanvas measure(Handle());
  TSize frame{100, 100};
  TRect client = m_form->GetClientArea(frame);
  m_view->SetOrigin(client.TopLeft());
  m_view->SetCanvas(&measure.Canvas());
  TSize content = m_view->Relayout().Content;
  m_view->SetCanvas(nullptr);
  int shadow = m_form->ShadowSize();
  TSize size{std::max(10, content.cx + client.Left + (frame.cx - client.Right)) + shadow,
             std::max(10, content.cy + client.Top + (frame.cy - client.Bottom)) + shadow};
  SetBounds(Left(), Top(), size.cx, size.cy);
  return size;
}

void TSePopupWindow::ShowNoActivate() {
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
}

void TSePopupWindow::HideNoActivate() {
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
}

void TSePopupWindow::PaintWindow(HDC dc) {
  TCanvas canvas;
  canvas.SetHandle(dc);
  int shadow = m_form->ShadowSize();
  TSize frame{Width() - shadow, Height() - shadow};
  m_form->PaintFrame(canvas, frame);
  m_form->PaintBackground(canvas);
  canvas.SetHandle(nullptr);
}

void TSePopupWindow::RepaintItem(TSeCustomItem* item) {
  if (!HandleAllocated() || !IsWindowVisible(Handle()) || !item || item->Parent() != m_view->Item()) return;
  int i = m_view->Item()->IndexOf(item);
  const TSeMenuLayout& layout = m_view->Layout();
  if (i < layout.First || i >= layout.Last || !item->Visible()) return;
  TWindowDrawCanvas draw(Handle());
  item->DrawItem(draw.Canvas(), *m_view, !m_view->Tracking(), item == m_view->HotItem(), item->ItemRect());
}

void TSePopupWindow::RepaintScrollButton(bool up) {
  const TSeMenuLayout& layout = m_view->Layout();
  if (!HandleAllocated() || !IsWindowVisible(Handle()) || !layout.Scrolling || !m_view->Item()) return;
  TWindowDrawCanvas draw(Handle());
  bool hot = m_view->ScrollState() == (up ? kssUp : kssDown);
  m_view->Item()->DrawScrollButton(draw.Canvas(), hot, up, up ? layout.ScrollUp : layout.ScrollDown);
}

void TSePopupWindow::RepaintAll() {
  if (!HandleAllocated()) return;
  ::vandrel::InvalidateRect(Handle(), nullptr, false);
  UpdateWindow(Handle());
}

void TSePopupWindow::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_MOUSEACTIVATE:
      message.Result = MA_NOACTIVATE;
      [[fallthrough]];
    case WM_ACTIVATE:
      // The window that owns the menu keeps its active caption while the menu is used.
      if (auto* owner = dynamic_cast<TWinControl*>(m_form->MenuOwner()); owner && owner->HandleAllocated())
        SendMessage(owner->Handle(), WM_NCACTIVATE, 1, 0);
      if (message.Msg == WM_MOUSEACTIVATE) return;
      break;
    case WM_CAPTURECHANGED:
      NoteMenuCaptureChanged(Handle());
      // Wakes a loop that waits for messages, so it sees the loss at once.
      PostMessage(Handle(), WM_NULL, 0, 0);
      break;
    case WM_ERASEBKGND:
      message.Result = 1;
      return;
    default:
      break;
  }
  TForm::Dispatch(message);
}

}  // namespace vandrel
