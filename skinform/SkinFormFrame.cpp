// The skinned frame of TSeSkinForm: the client area, the window's shape, the hit-test map and the
// painting all come from the private copy of the skin's form object, laid out to the frame; the
// copy's objects get the mouse. Whenever the form is not skinned, the custom form's own frame runs.
#include <utility>
#include <vector>

#include "framework/Canvas.h"
#include "framework/Form.h"
#include "graphics/Bitmap.h"
#include "platform/core/ScopeExit.h"
#include "platform/core/Text.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Input.h"
#include "platform/win/Window.h"
#include "skin/ActiveObject.h"
#include "skin/SkinObject.h"
#include "skinform/SkinForm.h"

namespace vandrel {

namespace {

// The skin state a frame is drawn in: the system buttons show or hide themselves by it.
int SkinStateOf(TSeWindowState state) {
  switch (state) {
    case kwsNormal: return 0;
    case kwsMaximized: return 2;
    case kwsMinimized:
    case kwsTray: return 3;
    case kwsRollup: return 4;
  }
  return 0;
}

TSeFrameHitArea AreaOfKind(TSeKind kind) {
  switch (kind) {
    case skCaption:
    case skTitle: return haCaption;
    case skTop: return haTop;
    case skLeft: return haLeft;
    case skRight: return haRight;
    case skBottom: return haBottom;
    case skTopLeft: return haTopLeft;
    case skTopRight: return haTopRight;
    case skBottomLeft: return haBottomLeft;
    case skBottomRight: return haBottomRight;
    case skSysButton: return haSkinButton;
    default: return haNone;
  }
}

// The pixel value of the caption band where the skin draws nothing.
constexpr TseColor kBandFill = 0xFFFF0000;

}  // namespace

void TSeSkinForm::LayOut() {
  const TSize frame = FrameSize();
  if (m_copy && m_client && frame.cx > 0 && frame.cy > 0) m_copy->SetBounds({0, 0, frame.cx, frame.cy});
}

TSeSkinObject* TSeSkinForm::ObjectAt(int x, int y) {
  LayOut();
  return m_copy->ObjectAtPoint({x, y});
}

TRect TSeSkinForm::GetClientArea() {
  if (!Skinned() || BorderStyle() == kbsNone) return TSeCustomForm::GetClientArea();
  if (!m_client) return {0, 0, FrameSize().cx, FrameSize().cy};
  LayOut();
  if (m_client->Left() != 0 || m_client->Top() != 0) return m_client->BoundsRect();
  return TSeCustomForm::GetClientArea();
}

TRect TSeSkinForm::GetButtonRect(TSeBorderIcon kind) {
  // The skin's own system buttons stand for the caption buttons.
  return Skinned() ? TRect{} : TSeCustomForm::GetButtonRect(kind);
}

TSeFrameHitArea TSeSkinForm::HitTest(int x, int y) {
  if (!Skinned()) return TSeCustomForm::HitTest(x, y);
  const TSeSkinObject* object = ObjectAt(x, y);
  const TSeFrameHitArea area = object ? AreaOfKind(object->Kind()) : haNone;
  return SizeGripHit(x, y) ? haBottomRight : area;
}

HRGN TSeSkinForm::CreateWindowRegion() {
  if (!Skinned()) return TSeCustomForm::CreateWindowRegion();
  const TSize frame = FrameSize();
  if (BorderStyle() == kbsNone) {
    // The client object is the whole window's background.
    if (m_client) m_client->SetBounds({0, 0, frame.cx, frame.cy});
    return TSeCustomForm::CreateWindowRegion();
  }
  if (m_client) {
    LayOut();
    PlaceLinkedControls();
  }
  return m_copy->BuildRegion();
}

// A link object puts the form's control of that name where the object lies, or out of sight
// when the object lies outside its parent object.
void TSeSkinForm::PlaceLinkedControls() {
  TCustomForm* form = OwnerForm();
  if (!form) return;
  const TRect client = GetClientArea();
  std::vector<TSeSkinObject*> pending{m_copy.get()};
  while (!pending.empty()) {
    TSeSkinObject* object = pending.back();
    pending.pop_back();
    for (int i = object->Count() - 1; i >= 0; --i) pending.push_back(object->Objects(i));
    auto* link = dynamic_cast<TSeLinkSkinObject*>(object);
    auto* parent = link ? dynamic_cast<TSeSkinObject*>(link->Owner()) : nullptr;
    if (!parent) continue;
    TControl* control = nullptr;
    for (int i = 0; i < form->ControlCount() && !control; ++i)
      if (SameText(form->Controls(i)->Name(), link->LinkControl())) control = form->Controls(i);
    if (!control) continue;
    const TRect r = link->BoundsRect();
    TRect overlap;
    if (IntersectRect(overlap, r, parent->BoundsRect())) {
      control->SetBounds(r.Left - client.Left, r.Top - client.Top, r.Width(), r.Height());
    } else {
      control->SetBounds(0, 0, 0, 0);
    }
  }
}

void TSeSkinForm::PaintFrame(TCanvas& canvas) {
  if (!Skinned() || BorderStyle() == kbsNone) {
    TSeCustomForm::PaintFrame(canvas);
    return;
  }
  LayOut();
  m_copy->SetActive(FrameActive());
  m_copy->SetState(SkinStateOf(WindowState()));
  if (m_title) {
    TCustomForm* form = OwnerForm();
    m_title->SetText(form ? form->Caption() : Caption());
  }
  // The client object is the client background: it is not part of the frame.
  if (m_client) m_client->SetVisible(false);
  TScopeExit show([this] {
    if (m_client) m_client->SetVisible(true);
  });
  if (!PaintsFrameToWindow() || !m_client || m_client->Top() <= 0) {
    m_copy->Draw(canvas);
    return;
  }
  // Straight onto the window the caption band goes through a bitmap first, so that the title's
  // text and the buttons never flicker over a half-drawn band.
  const int band = m_client->Top();
  TseBitmap buffer;
  buffer.SetSize(FrameSize().cx, band);
  buffer.Fill(kBandFill);
  {
    TCanvas bandCanvas;
    bandCanvas.SetHandle(buffer.DC());
    TScopeExit detach([&] { bandCanvas.SetHandle(nullptr); });
    m_copy->Draw(bandCanvas);
  }
  buffer.SetHasKey(true);
  buffer.Draw(canvas, 0, 0);
  TDCStateSaver saver(canvas.Handle());
  ExcludeClipRect(canvas.Handle(), 0, 0, FrameSize().cx, band);
  m_copy->Draw(canvas);
}

void TSeSkinForm::PaintBackground() {
  if (!Skinned()) {
    TSeCustomForm::PaintBackground();
    return;
  }
  TCanvas& canvas = FormCanvas();
  if (!canvas.HandleAllocated()) return;
  LayOut();
  if (!m_client) {
    m_copy->SetActive(FrameActive());
    m_copy->Draw(canvas);
    return;
  }
  m_client->SetActive(FrameActive());
  HDC dc = canvas.Handle();
  OffsetWindowOrgEx(dc, m_client->Left(), m_client->Top(), nullptr);
  TScopeExit back([&] { OffsetWindowOrgEx(dc, -m_client->Left(), -m_client->Top(), nullptr); });
  m_client->Draw(canvas);
}

// ---- the copy's objects and the mouse ----

void TSeSkinForm::FrameMouseDown(TMouseBtn button, TShiftState shift, int x, int y) {
  std::weak_ptr<const bool> alive = Alive();
  TSeCustomForm::FrameMouseDown(button, shift, x, y);
  if (alive.expired() || !Skinned()) return;
  m_pressed = ObjectAt(x, y);
  if (!m_pressed) return;
  const TPoint p{x - m_pressed->Left(), y - m_pressed->Top()};
  if (shift.Contains(ssDouble)) {
    m_pressed->DblClick(button, p);
  } else {
    m_pressed->MouseDown(button, p);
  }
}

void TSeSkinForm::FrameMouseMove(TShiftState shift, int x, int y) {
  std::weak_ptr<const bool> alive = Alive();
  TSeCustomForm::FrameMouseMove(shift, x, y);
  if (alive.expired() || !Skinned()) return;
  TSeSkinObject* object = ObjectAt(x, y);
  if (!object) return;
  const bool held = shift.Contains(ssLeft) || shift.Contains(ssRight);
  if (!held || object == m_pressed) object->MouseMove(shift, {x - object->Left(), y - object->Top()});
}

void TSeSkinForm::FrameMouseUp(TMouseBtn button, TShiftState shift, int x, int y) {
  std::weak_ptr<const bool> alive = Alive();
  TSeSkinObject* pressed = m_pressed;
  TSeCustomForm::FrameMouseUp(button, shift, x, y);
  // The button's action may have closed the window or replaced the skin: the copy is looked at
  // again before anything of it is used.
  if (alive.expired()) return;
  m_pressed = nullptr;
  if (!Skinned() || !pressed || pressed != ObjectAt(x, y)) return;
  pressed->MouseUp(button, {x - pressed->Left(), y - pressed->Top()});
}

void TSeSkinForm::TrackHover() {
  HWND h = Handle();
  if (!h || !Skinned() || GetActiveWindow() != h) return;
  TPoint cursor;
  if (!GetCursorPos(cursor)) return;
  const TRect r = WindowRect(h);
  TSeSkinObject* object = ObjectAt(cursor.X - r.Left, cursor.Y - r.Top);
  if (!object) {
    if (TSeSkinObject* left = std::exchange(m_hovered, nullptr)) left->MouseLeave();
    return;
  }
  if (!object->Visible() || object == m_hovered) return;
  if (m_hovered) m_hovered->MouseLeave();
  m_hovered = object;
  if (!m_pressed || m_pressed == object) object->MouseEnter();
}

}  // namespace vandrel
