#include "framework/HintWindow.h"

#include <algorithm>

#include "framework/Screen.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Edge.h"
#include "platform/win/Window.h"

namespace vandrel {

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
  SetVisible(false);
  SetParentColor(false);
  SetParentFont(false);
  SetColor(clInfoBk);
  Font()->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.Style = WS_POPUP | WS_BORDER;
  p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& hint) {
  TCanvas* c = Canvas();
  c->Font()->Assign(*Font());
  TRect r = Rect(0, 0, std::max(maxWidth, 1), 0);
  c->TextRect(r, hint, tfWordBreak | tfNoPrefix, true);
  c->Refresh();
  // Border and padding around the text.
  return Rect(0, 0, r.Right + 6 + 2, r.Bottom + 2 + 2);
}

void THintWindow::ActivateHint(TRect r, const std::string& hint) {
  SetText(hint);
  TRect work = Screen()->WorkAreaRect();
  if (r.Right > work.Right) r = OffsetRect(r, work.Right - r.Right, 0);
  if (r.Left < work.Left) r = OffsetRect(r, work.Left - r.Left, 0);
  if (r.Bottom > work.Bottom) r = OffsetRect(r, 0, work.Bottom - r.Bottom);
  if (r.Top < work.Top) r = OffsetRect(r, 0, work.Top - r.Top);
  SetBoundsRect(r);
  HWND h = Handle();
  SetWindowPos(h, HWND_TOPMOST, r.Left, r.Top, r.Width(), r.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
}

void THintWindow::ReleaseHandle() {
  if (HandleAllocated()) DestroyHandle();
}

void THintWindow::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  r = InflateRect(r, -2, -1);
  c->Brush()->SetStyle(bsClear);
  c->Font()->SetColor(Font()->Color());
  c->TextRect(r, Text(), tfWordBreak | tfNoPrefix);
}

}  // namespace vandrel
