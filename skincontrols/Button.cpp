#include "skincontrols/Button.h"

#include <algorithm>
#include <cmath>

#include "framework/Actions.h"
#include "framework/ComponentWatch.h"
#include "framework/ImageList.h"
#include "framework/PropertyInfo.h"
#include "graphics/PaintHelpers.h"
#include "graphics/TextHelpers.h"
#include "platform/core/Exception.h"
#include "platform/gdi/DrawText.h"
#include "platform/win/VirtualKeys.h"
#include "skincontrols/ButtonGlyphs.h"
#include "skincontrols/MeasureCanvas.h"

namespace vandrel {
namespace {

struct TKindPreset {
  const char* Caption;
  TModalResult ModalResult;
  const char* Resource;
};

// Indexed by TBitBtnKind; bkCustom has no preset.
constexpr TKindPreset kKindPresets[] = {
    {"", mrNone, ""},
    {"OK", mrOk, "SE_BTN_OK"},
    {"Cancel", mrCancel, "SE_BTN_CANCEL"},
    {"&Help", mrNone, "SE_BTN_HELP"},
    {"&Yes", mrYes, "SE_BTN_YES"},
    {"&No", mrNo, "SE_BTN_NO"},
    {"&Close", mrNone, "SE_BTN_CLOSE"},
    {"Abort", mrAbort, "SE_BTN_ABORT"},
    {"&Retry", mrRetry, "SE_BTN_RETRY"},
    {"&Ignore", mrIgnore, "SE_BTN_IGNORE"},
    {"&All", 8, "SE_BTN_ALL"},
};
static_assert(std::size(kKindPresets) == size_t(bkAll) + 1);

// Lightness of a colour on 0..510 (max + min of the channels), so L = value / 510.
int Lightness2(std::uint32_t c) {
  const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
  return std::max({r, g, b}) + std::min({r, g, b});
}

std::uint32_t Grey(long v) {
  const auto g = std::uint32_t(std::clamp(v, 0L, 255L));
  return g << 16 | g << 8 | g;
}

}  // namespace

const TClassInfo& TSeCustomButton::StaticClassInfo() {
  using T = TSeCustomButton;
  static const TClassInfo info("TSeCustomButton", &TSeCustomControl::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Component("Action", &T::Action, &T::SetAction),
      prop::Boolean("ActiveDefault", &T::ActiveDefault, &T::SetActiveDefault, false).Stored(false),
      prop::Boolean("BlackAndWhiteGlyph", &T::BlackAndWhiteGlyph, &T::SetBlackAndWhiteGlyph, false),
      prop::Boolean("Cancel", &T::Cancel, &T::SetCancel, false),
      prop::WideString("Caption", &T::Caption, &T::SetCaption),
      prop::Boolean("Default", &T::Default, &T::SetDefault, false),
      prop::Enum("Kind", &T::Kind, &T::SetKind, kBitBtnKindNames, bkCustom),
      prop::Integer("ModalResult", &T::ModalResult, &T::SetModalResult, 0),
      prop::Integer("NumGlyphs", &T::NumGlyphs, &T::SetNumGlyphs, 1),
      prop::Integer("Spacing", &T::Spacing, &T::SetSpacing, 4),
      prop::Enum("State", &T::State, &T::SetState, kSeButtonStateNames, kbsNormal),
      prop::Object("Glyph", &T::Glyph).StoredIf(&T::IsGlyphStored),
      prop::Enum("Layout", &T::Layout, &T::SetLayout, kButtonLayoutNames, blGlyphLeft),
      prop::Boolean("WordWrap", &T::WordWrap, &T::SetWordWrap, false),
      prop::Boolean("TabStop", &T::TabStop, &T::SetTabStop, true),
  });
  return info;
}

TSeCustomButton::TSeCustomButton(TComponent* owner)
    : TSeCustomControl(owner), m_glyph(std::make_unique<TBitmap>()) {
  // An action client without the generic click on release: the button clicks itself.
  SetControlStyle(TControlStyle{csCaptureMouse, csSetCaption, csDoubleClicks, csActionClient});
  SetColor(clBtnFace);
  SetPerformance(kspDoubleBuffer);
  SetTransparent(false);
  SetTabStop(true);
  SetBounds(Left(), Top(), 75, 25);
  m_glyph->OnChange = [this](TGraphic*) { GlyphChanged(); };
}

TSeCustomButton::~TSeCustomButton() { m_glyph->OnChange = nullptr; }

void TSeCustomButton::GlyphChanged() {
  // A stored glyph is read after the stored NumGlyphs (or its default, which is not written), so
  // while reading the stored count stands; counting the cells again would change what was saved.
  if (!ComponentState().Contains(csReading)) {
    const int w = m_glyph->Width(), h = m_glyph->Height();
    // A picture narrower than its height would give no cell at all: it counts as one cell.
    if (h != 0 && w % h == 0 && w / h >= 1 && w / h < 5) m_numGlyphs = w / h;
    else m_numGlyphs = 1;
  }
  Invalidate();
}

void TSeCustomButton::SetGlyph(const TBitmap& value) {
  m_glyphFromAction = false;
  m_glyph->Assign(value);
}

void TSeCustomButton::SetDefault(bool value) {
  if (m_roles.Default() == value) return;
  m_roles.SetDefault(value);
  if (HandleAllocated())
    if (TCustomForm* form = GetParentForm(this))
      form->Perform(CM_FOCUSCHANGED, 0, LPARAM(form->ActiveControl()));
  Invalidate();
}

void TSeCustomButton::SetLayout(TButtonLayout value) {
  if (m_layout == value) return;
  m_layout = value;
  Invalidate();
}

void TSeCustomButton::SetNumGlyphs(TNumGlyphs value) {
  if (value < 1 || value > 4) throw EInvalidArgument("NumGlyphs must lie between 1 and 4");
  if (m_numGlyphs == value) return;
  m_numGlyphs = value;
  Invalidate();
}

void TSeCustomButton::SetSpacing(int value) {
  if (m_spacing == value) return;
  m_spacing = value;
  Invalidate();
}

void TSeCustomButton::SetBlackAndWhiteGlyph(bool value) {
  if (m_blackAndWhiteGlyph == value) return;
  m_blackAndWhiteGlyph = value;
  Invalidate();
}

void TSeCustomButton::SetWordWrap(bool value) {
  if (m_wordWrap == value) return;
  m_wordWrap = value;
  Invalidate();
}

void TSeCustomButton::SetCaption(const std::string& value) {
  if (m_caption == value) return;
  m_caption = value;
  Invalidate();
}

void TSeCustomButton::SetKind(TBitBtnKind value) {
  if (m_kind == value) return;
  if (value != bkCustom) {
    const TKindPreset& preset = kKindPresets[value];
    SetDefault(value == bkOK || value == bkYes);
    // A stored caption read before the kind wins over the preset's.
    if (!Loading() || m_caption.empty()) SetCaption(preset.Caption);
    m_modalResult = preset.ModalResult;
    SetGlyph(KindGlyph(preset.Resource));
    SetNumGlyphs(2);
  }
  m_kind = value;
  Invalidate();
}

TSize TSeCustomButton::GlyphSize() const {
  if (!HasGlyph()) return {0, 0};
  return {m_glyph->Width() / m_numGlyphs, m_glyph->Height()};
}

TSize TSeCustomButton::CaptionExtent(TCanvas& canvas) { return canvas.TextExtent(m_caption); }

TRect TSeCustomButton::GetContentBounds() {
  const TSize g = GlyphSize();
  TRect r;
  if (m_wordWrap) {
    r = {0, 0, CachedWidth() - m_spacing - g.cx - 10, CachedHeight() - m_spacing - g.cy - 10};
  } else {
    TMeasureCanvas canvas(*WorkingFont());
    const TSize extent = CaptionExtent(canvas);
    r = {0, 0, extent.cx, extent.cy};
  }
  if (HasGlyph()) {
    if (m_layout == blGlyphTop || m_layout == blGlyphBottom) r.Bottom += g.cy + m_spacing;
    else r.Right += g.cx + m_spacing;
    r.Right = std::max(r.Right, g.cx);
    r.Bottom = std::max(r.Bottom, g.cy);
  }
  r = OffsetRect(r, (CachedWidth() - r.Right) / 2, (CachedHeight() - r.Bottom) / 2);
  if (m_state == kbsPressed) r = OffsetRect(r, 1, 1);
  return r;
}

TRect TSeCustomButton::GetTextRect() {
  TRect r = GetContentBounds();
  if (!HasGlyph()) return r;
  const TSize g = GlyphSize();
  switch (m_layout) {
    case blGlyphLeft: r.Left += g.cx + m_spacing; break;
    case blGlyphRight: r.Right -= g.cx + m_spacing; break;
    case blGlyphTop: r.Top += g.cy + m_spacing; break;
    case blGlyphBottom: r.Bottom -= g.cy + m_spacing; break;
  }
  return r;
}

TRect TSeCustomButton::GetGlyphRect() {
  TRect r = GetContentBounds();
  if (!HasGlyph()) return r;
  const TSize g = GlyphSize();
  switch (m_layout) {
    case blGlyphLeft: r.Right = r.Left + g.cx + m_spacing; break;
    case blGlyphRight: r.Left = r.Right - g.cx - m_spacing; break;
    case blGlyphTop: r.Bottom = r.Top + g.cy + m_spacing; break;
    case blGlyphBottom: r.Top = r.Bottom - g.cy - m_spacing; break;
  }
  return r;
}

TRect TSeCustomButton::PlaceCaption(TCanvas& canvas) {
  const TRect text = GetTextRect();
  const TSize extent = CaptionExtent(canvas);
  TRect r{0, 0, m_wordWrap ? text.Width() : extent.cx, extent.cy};
  DrawWideText(canvas, m_caption, r, BiDiTextFlags(DT_CALCRECT | (m_wordWrap ? DT_WORDBREAK : 0u), false));
  return OffsetRect(r, (text.Width() - r.Width()) / 2 + text.Left, (text.Height() - r.Height()) / 2 + text.Top);
}

// Outside painting the working font may be older than Font: the queries take it afresh, as the
// next paint will.
TRect TSeCustomButton::ContentBounds() {
  WorkingFont()->Assign(*Font());
  return GetContentBounds();
}

TRect TSeCustomButton::TextRect() {
  WorkingFont()->Assign(*Font());
  return GetTextRect();
}

TRect TSeCustomButton::GlyphRect() {
  WorkingFont()->Assign(*Font());
  return GetGlyphRect();
}

TRect TSeCustomButton::CaptionRect() {
  WorkingFont()->Assign(*Font());
  TMeasureCanvas canvas(*WorkingFont());
  return PlaceCaption(canvas);
}

void TSeCustomButton::DrawCaption(TCanvas& canvas, bool emboss) {
  const TRect r = PlaceCaption(canvas);
  DrawEmbossedText(canvas, m_caption, r, BiDiTextFlags(DT_CENTER | (m_wordWrap ? DT_WORDBREAK : 0u), false), emboss);
}

void TSeCustomButton::PaintClient() {
  TSeCustomControl::PaintClient();
  Canvas()->Refresh();
  PaintFace();
  Canvas()->Refresh();
  PaintText();
  Canvas()->Refresh();
  PaintGlyph();
}

void TSeCustomButton::PaintFace() {
  // Visual styles are never active here: the classic bevelled face.
  TCanvas& canvas = *Canvas();
  TRect content;
  GetContentRect(content);
  TRect r = content;
  if (IsFocused() || m_roles.ActiveDefault()) {
    DrawFrame3D(canvas, r, clBlack, clBlack);
    r = InflateRect(r, -1, -1);
  }
  FillColorRect(canvas, r, Color());
  if (m_state == kbsNormal) {
    DrawFrame3D(canvas, r, clBtnHighlight, clBlack);
    r = InflateRect(r, -1, -1);
    DrawFrame3D(canvas, r, Color(), clBtnShadow);
  } else {
    DrawFrame3D(canvas, r, clBtnShadow, clBtnShadow);
  }
  if (IsFocused()) DrawFocusFrame(canvas, InflateRect(content, -4, -4), clBtnShadow);
}

void TSeCustomButton::PaintText() {
  TCanvas& canvas = *Canvas();
  canvas.SetFont(*WorkingFont());
  DrawCaption(canvas, !Enabled());
}

void TSeCustomButton::PaintGlyph() {
  if (!HasGlyph()) return;
  const TSize g = GlyphSize();
  if (g.cx <= 0 || g.cy <= 0) return;
  const TRect place = GetGlyphRect();
  const int left = place.Left + (place.Width() - g.cx) / 2;
  const int top = place.Top + (place.Height() - g.cy) / 2;
  int cell = 0;
  if (m_numGlyphs > 1 && !Enabled()) cell = 1;
  if (m_numGlyphs > 2 && m_state == kbsPressed) cell += 2;
  // A pressed picture of a disabled button may lie past the last cell: the last cell stands in.
  cell = std::min(cell, m_numGlyphs - 1);
  const std::uint32_t transparent = m_glyph->ScanLine(m_glyph->Height() - 1)[0] & 0xFFFFFF;
  const bool grey = m_blackAndWhiteGlyph && !IsHot();
  const bool faded = m_numGlyphs == 1 && !Enabled();
  TCanvas& canvas = *Canvas();
  for (int x = 0; x < g.cx; ++x) {
    for (int y = 0; y < g.cy; ++y) {
      const std::uint32_t original = m_glyph->ScanLine(y)[cell * g.cx + x] & 0xFFFFFF;
      if (original == transparent) continue;
      std::uint32_t c = original;
      if (grey) c = Grey(std::lround(Lightness2(c) / 2.0));
      if (faded) c = Grey(std::lround(Lightness2(c) * 50.0 / 510.0) + 160);
      canvas.SetPixel(left + x, top + y, TColor(RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF)));
    }
  }
}

void TSeCustomButton::MouseEnter() {
  TSeCustomControl::MouseEnter();
  Invalidate();
}

void TSeCustomButton::MouseLeave() {
  TSeCustomControl::MouseLeave();
  Invalidate();
}

void TSeCustomButton::MouseDown(TMouseBtn button, TShiftState shift, int x, int y) {
  TComponentWatch alive(*this);
  TSeCustomControl::MouseDown(button, shift, x, y);
  if (!alive || button != mbLeft || !Enabled()) return;
  if (!Designing() && CanFocus()) SetFocus();
  m_press.Press({0, 0, CachedWidth(), CachedHeight()}, {x, y});
  m_state = kbsPressed;
  Invalidate();
}

void TSeCustomButton::MouseMove(TShiftState shift, int x, int y) {
  TComponentWatch alive(*this);
  TSeCustomControl::MouseMove(shift, x, y);
  if (!alive || !m_press.Tracking()) return;
  m_press.Move(ClientRect(), {x, y}, true);
  const TSeButtonState state = m_press.Pressed() ? kbsPressed : kbsNormal;
  if (state == m_state) return;
  m_state = state;
  Invalidate();
}

void TSeCustomButton::MouseUp(TMouseBtn button, TShiftState shift, int x, int y) {
  TComponentWatch alive(*this);
  TSeCustomControl::MouseUp(button, shift, x, y);
  if (!alive || button != mbLeft || !m_press.Tracking()) return;
  const bool click = m_press.Release({0, 0, CachedWidth(), CachedHeight()}, {x, y});
  m_state = kbsNormal;
  Invalidate();
  if (click) Click();
}

void TSeCustomButton::KeyDown(WORD& key, TShiftState shift) {
  if (key == VK_SPACE && !shift.Contains(ssAlt)) {
    m_state = kbsPressed;
    Invalidate();
  }
  TSeCustomControl::KeyDown(key, shift);
}

void TSeCustomButton::KeyUp(WORD& key, TShiftState shift) {
  if (key == VK_SPACE) {
    m_state = kbsNormal;
    Invalidate();
    key = 0;
    TComponentWatch alive(*this);
    Click();
    if (!alive) return;
  }
  TSeCustomControl::KeyUp(key, shift);
}

void TSeCustomButton::Click() {
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(m_modalResult);
  TSeCustomControl::Click();
}

void TSeCustomButton::Loaded() {
  TSeCustomControl::Loaded();
  Invalidate();
}

void TSeCustomButton::ActionChange(TBasicAction* sender, bool checkDefaults) {
  TSeCustomControl::ActionChange(sender, checkDefaults);
  if (!sender) return;
  TCustomImageList* images = sender->Images();
  const int index = sender->ImageIndex();
  if (images && index >= 0 && index < images->Count()) {
    TBitmap picture(images->Width(), images->Height());
    images->GetBitmap(index, picture, clFuchsia);
    SetGlyph(picture);
    m_glyphFromAction = true;
  }
  SetCaption(sender->Caption());
  // The handler itself, not the action: a click after the action is gone stays safe.
  OnClick = sender->OnExecute;
}

void TSeCustomButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_DIALOGKEY:
      if (!m_roles.AnswerDialogKey(*this, m)) TSeCustomControl::Dispatch(m);
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(char32_t(m.WParam), m_caption) && CanFocus()) {
        SetFocus();
        Click();
        m.Result = 1;
        return;
      }
      TSeCustomControl::Dispatch(m);
      return;
    case CM_FOCUSCHANGED:
      // While any push button has the focus, Enter belongs to that one.
      if (m_roles.FocusChanged(reinterpret_cast<TWinControl*>(m.LParam), this, false)) Invalidate();
      TSeCustomControl::Dispatch(m);
      return;
    case CM_TEXTCHANGED:
      TSeCustomControl::Dispatch(m);
      SetCaption(Text());
      Invalidate();
      return;
    case CM_SYSCOLORCHANGE:
      Invalidate();
      TSeCustomControl::Dispatch(m);
      return;
    default:
      TSeCustomControl::Dispatch(m);
  }
}

}  // namespace vandrel
