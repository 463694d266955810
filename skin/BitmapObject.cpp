#include "skin/BitmapObject.h"

#include <algorithm>

#include "framework/Canvas.h"
#include "framework/PropertyInfo.h"
#include "graphics/RectHelpers.h"
#include "platform/gdi/RegionApi.h"

namespace vandrel {

namespace {

// Sets the image's key flag for one draw and puts the old value back on every way out.
class TKeyFlag {
 public:
  explicit TKeyFlag(TseBitmap& image) : m_image(image), m_saved(image.HasKey()) {}
  ~TKeyFlag() { m_image.SetHasKey(m_saved); }
  TKeyFlag(const TKeyFlag&) = delete;
  TKeyFlag& operator=(const TKeyFlag&) = delete;
  void Set(bool value) { m_image.SetHasKey(value); }

 private:
  TseBitmap& m_image;
  bool m_saved;
};

// One picture part into dest by style. A centred part larger than a nine-part destination is
// cut to it, so it never paints over its neighbours; a whole picture is not cut.
void DrawPart(TCanvas& canvas, const TseBitmap& image, const TRect& dest, TRect source, TscTileStyle style,
              bool cutToDest) {
  if (RectIsEmpty(source) || RectIsEmpty(dest)) return;
  switch (style) {
    case tsTile: image.Tile(canvas, dest, source); return;
    case tsStretch: image.Draw(canvas, dest, source); return;
    case tsCenter: {
      const int dw = dest.Right - dest.Left, dh = dest.Bottom - dest.Top;
      if (cutToDest) {
        const int cutX = std::max(0, (source.Right - source.Left) - dw);
        const int cutY = std::max(0, (source.Bottom - source.Top) - dh);
        source = {source.Left + cutX / 2, source.Top + cutY / 2, source.Right - (cutX - cutX / 2),
                  source.Bottom - (cutY - cutY / 2)};
      }
      const int pw = source.Right - source.Left, ph = source.Bottom - source.Top;
      image.Draw(canvas, dest.Left + (dw - pw) / 2, dest.Top + (dh - ph) / 2, source);
      return;
    }
  }
}

// The link's rectangle cut to its image: a damaged skin may name pixels the image does not have,
// and only those it has are drawn.
TRect PictureRect(const TseBitmapLink& picture) {
  const TseBitmap& image = *picture.Image();
  TRect r;
  if (!IntersectRect(r, picture.Rect(), {0, 0, image.Width(), image.Height()})) return {};
  return r;
}

struct TPartKeys {
  bool centre, border, angles;
};

// The whole picture into bounds by style, keyed by the link's Masked flag.
void DrawWholePicture(TCanvas& canvas, const TseBitmapLink& picture, const TRect& bounds, TscTileStyle style) {
  TseBitmap& image = *picture.Image();
  TKeyFlag key(image);
  key.Set(picture.Masked());
  DrawPart(canvas, image, bounds, PictureRect(picture), style, false);
}

// Corners unscaled, edges by borderStyle, the centre by centreStyle; a part whose source is empty
// is skipped.
void DrawNineParts(TCanvas& canvas, const TseBitmapLink& picture, const TSeSkinObject& object, TscTileStyle centreStyle,
                   TscTileStyle borderStyle, TPartKeys keys) {
  TseBitmap& image = *picture.Image();
  TKeyFlag key(image);
  const TRect s = PictureRect(picture);
  // Margins beyond the picture's limits (a damaged skin) are cut to them; negative ones count as 0.
  auto margin = [](int m) { return std::clamp(m, 0, kMaxBitmapSide); };
  const int m1 = margin(object.MarginLeft()), m2 = margin(object.MarginTop()), m3 = margin(object.MarginRight()),
            m4 = margin(object.MarginBottom());
  const int x = object.Left(), y = object.Top(), w = object.Width(), h = object.Height();
  auto part = [&](TRect source, TRect dest, TscTileStyle style, bool keyed) {
    key.Set(keyed);
    DrawPart(canvas, image, OffsetRect(dest, x, y), source, style, true);
  };
  auto corner = [&](TRect source, int left, int top) {
    key.Set(keys.angles);
    if (!RectIsEmpty(source)) image.Draw(canvas, x + left, y + top, source);
  };
  part({s.Left + m1, s.Top + m2, s.Right - m3, s.Bottom - m4}, {m1, m2, w - m3, h - m4}, centreStyle, keys.centre);
  part({s.Left + m1, s.Top, s.Right - m3, s.Top + m2}, {m1, 0, w - m3, m2}, borderStyle, keys.border);
  part({s.Left + m1, s.Bottom - m4, s.Right - m3, s.Bottom}, {m1, h - m4, w - m3, h}, borderStyle, keys.border);
  part({s.Left, s.Top + m2, s.Left + m1, s.Bottom - m4}, {0, m2, m1, h - m4}, borderStyle, keys.border);
  part({s.Right - m3, s.Top + m2, s.Right, s.Bottom - m4}, {w - m3, m2, w, h - m4}, borderStyle, keys.border);
  corner({s.Left, s.Top, s.Left + m1, s.Top + m2}, 0, 0);
  corner({s.Right - m3, s.Top, s.Right, s.Top + m2}, w - m3, 0);
  corner({s.Left, s.Bottom - m4, s.Left + m1, s.Bottom}, 0, h - m4);
  corner({s.Right - m3, s.Bottom - m4, s.Right, s.Bottom}, w - m3, h - m4);
}

bool HasMargins(const TSeSkinObject& o) {
  return o.MarginLeft() != 0 || o.MarginTop() != 0 || o.MarginRight() != 0 || o.MarginBottom() != 0;
}

bool HasArea(const TSeSkinObject& o) { return o.Width() > 0 && o.Height() > 0; }

// Exactly what the object paints: it is drawn at (0, 0) onto the transparent key and the region
// of the other pixels is moved back to its place. An object too large for a bitmap gives its
// bounds.
HRGN RenderedRegion(TSeSkinObject& object) {
  const TRect bounds = object.BoundsRect();
  TseBitmap target;
  try {
    target.SetSize(object.Width(), object.Height());
  } catch (const std::exception&) {
    return CreateRectRgnIndirect(bounds);
  }
  target.Fill(kTransparentKey);
  object.SetBounds({0, 0, object.Width(), object.Height()});
  {
    TCanvas canvas;
    canvas.SetHandle(target.DC());
    try {
      object.Draw(canvas);
    } catch (...) {
      canvas.SetHandle(HDC());
      object.SetBounds(bounds);
      throw;
    }
    canvas.SetHandle(HDC());
  }
  object.SetBounds(bounds);
  return target.CreateRegion(bounds.Left, bounds.Top);
}

// A rectangle that does not lie within its image names pixels the skin does not have (a damaged
// file): such a link stays unresolved, as if the image were missing, rather than scanning or
// drawing outside the image.
void ResolveByName(TseBitmapList* images, TseBitmapLink& link, const TSeSkinObject* margins) {
  if (!images) return;
  std::unique_ptr<TseBitmapLink> resolved = images->GetLink(link.Name(), link.Rect());
  if (!resolved) return;
  const TRect r = link.Rect();
  const TseBitmap& image = *resolved->Image();
  if (r.Left < 0 || r.Top < 0 || r.Right > image.Width() || r.Bottom > image.Height()) return;
  link.Assign(*resolved);
  if (margins)
    link.CheckMasked(margins->MarginLeft(), margins->MarginTop(), margins->MarginRight(), margins->MarginBottom());
  else
    link.CheckMasked();
}

const TseBitmapLink& Valid(const TseBitmapLink& preferred, const TseBitmapLink& fallback) {
  return preferred.IsValid() ? preferred : fallback;
}

struct TStatePictures {
  const TseBitmapLink &normal, &focused, &hot, &pressed, &disabled;
};

// The picture of a state, the normal one where the state has none.
const TseBitmapLink& PictureOfState(int state, const TStatePictures& p) {
  switch (state) {
    case kStateFocused: return Valid(p.focused, p.normal);
    case kStateHot: return Valid(p.hot, p.normal);
    case kStateDisabled: return Valid(p.disabled, p.normal);
    case kStatePressed: return Valid(p.pressed, p.normal);
    default: return p.normal;
  }
}

}  // namespace

// TSeBitmapObject

const TClassInfo& TSeBitmapObject::StaticClassInfo() {
  using T = TSeBitmapObject;
  static const TClassInfo info("TSeBitmapObject", &TSeSkinObject::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Object("Bitmap", &T::Bitmap),
      prop::Enum("BorderTileStyle", &T::BorderTileStyle, &T::SetBorderTileStyle, kScTileStyleNames, tsTile),
      prop::Boolean("MaskedBorder", &T::MaskedBorder, &T::SetMaskedBorder, true),
      prop::Boolean("MaskedAngles", &T::MaskedAngles, &T::SetMaskedAngles, true),
      prop::Enum("TileStyle", &T::TileStyle, &T::SetTileStyle, kScTileStyleNames, tsTile),
  });
  return info;
}

TSeBitmapObject::TSeBitmapObject(TComponent* owner)
    : TSeSkinObject(owner), m_bitmap(std::make_unique<TseBitmapLink>()) {}

void TSeBitmapObject::ResolveLink(TseBitmapLink& link) { ResolveByName(Images(), link, this); }

void TSeBitmapObject::AfterLoad() {
  TSeSkinObject::AfterLoad();
  ResolveLink(*m_bitmap);
}

void TSeBitmapObject::Draw(TCanvas& canvas) { DrawWith(canvas, *m_bitmap); }

void TSeBitmapObject::DrawWith(TCanvas& canvas, const TseBitmapLink& picture) {
  if (!m_bitmap->IsValid() || !picture.IsValid() || !HasArea(*this)) return;
  if (HasMargins(*this))
    DrawNineParts(canvas, picture, *this, m_tileStyle, m_borderTileStyle,
                  {picture.Masked(), picture.MaskedBorder(), picture.MaskedAngles()});
  else if (Color() != clNone)
    DrawWholePicture(canvas, picture, BoundsRect(), m_tileStyle);
  // The fill colour never goes under a picture; without one (clNone) the object is text only.
  DrawText(canvas);
  AlignChildren();
  DrawChildren(canvas);
}

HRGN TSeBitmapObject::CreateRegion() {
  if (!m_bitmap->IsValid() || !HasArea(*this)) return nullptr;
  if (Masked() && Kind() != skClient) return RenderedRegion(*this);
  return TSeSkinObject::CreateRegion();
}

void TSeBitmapObject::Assign(const TPersistent& source) {
  TSeSkinObject::Assign(source);
  if (const auto* from = dynamic_cast<const TSeBitmapObject*>(&source)) {
    m_bitmap->Assign(*from->m_bitmap);
    m_borderTileStyle = from->m_borderTileStyle;
    m_maskedBorder = from->m_maskedBorder;
    m_maskedAngles = from->m_maskedAngles;
    m_tileStyle = from->m_tileStyle;
  }
}

// TSeActiveBitmap

const TClassInfo& TSeActiveBitmap::StaticClassInfo() {
  using T = TSeActiveBitmap;
  static const TClassInfo info("TSeActiveBitmap", &TSeBitmapObject::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Object("ActiveBitmap", &T::ActiveBitmap),
      prop::Object("ActiveFont", &T::ActiveFont),
  });
  return info;
}

TSeActiveBitmap::TSeActiveBitmap(TComponent* owner)
    : TSeBitmapObject(owner), m_activeBitmap(std::make_unique<TseBitmapLink>()), m_activeFont(std::make_unique<TFont>()) {
  m_activeFont->SetName("Arial");
  m_activeFont->SetColor(clBlack);
}

TFont* TSeActiveBitmap::GetFont() const {
  return State() == kStateHot || State() == kStateFocused ? m_activeFont.get() : TSeBitmapObject::GetFont();
}

void TSeActiveBitmap::AfterLoad() {
  TSeBitmapObject::AfterLoad();
  ResolveLink(*m_activeBitmap);
}

void TSeActiveBitmap::Draw(TCanvas& canvas) {
  const bool activeLook = Active() || State() == kStateHot || State() == kStateFocused;
  DrawWith(canvas, activeLook ? Valid(*m_activeBitmap, *Bitmap()) : *Bitmap());
}

void TSeActiveBitmap::SetCharset(int charset) {
  m_activeFont->SetCharset(charset);
  TSeBitmapObject::SetCharset(charset);
}

void TSeActiveBitmap::Assign(const TPersistent& source) {
  TSeBitmapObject::Assign(source);
  if (const auto* from = dynamic_cast<const TSeActiveBitmap*>(&source)) {
    m_activeBitmap->Assign(*from->m_activeBitmap);
    m_activeFont->Assign(*from->m_activeFont);
  }
}

// TSeButtonObject

const TClassInfo& TSeButtonObject::StaticClassInfo() {
  using T = TSeButtonObject;
  static const TClassInfo info("TSeButtonObject", &TSeBitmapObject::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Object("BitmapHot", &T::BitmapHot),
      prop::Object("BitmapFocused", &T::BitmapFocused),
      prop::Object("BitmapPressed", &T::BitmapPressed),
      prop::Object("BitmapDisabled", &T::BitmapDisabled),
  });
  return info;
}

TSeButtonObject::TSeButtonObject(TComponent* owner)
    : TSeBitmapObject(owner),
      m_bitmapHot(std::make_unique<TseBitmapLink>()),
      m_bitmapFocused(std::make_unique<TseBitmapLink>()),
      m_bitmapPressed(std::make_unique<TseBitmapLink>()),
      m_bitmapDisabled(std::make_unique<TseBitmapLink>()) {}

void TSeButtonObject::AfterLoad() {
  TSeBitmapObject::AfterLoad();
  for (TseBitmapLink* link : {m_bitmapFocused.get(), m_bitmapHot.get(), m_bitmapPressed.get(), m_bitmapDisabled.get()})
    ResolveLink(*link);
}

void TSeButtonObject::Draw(TCanvas& canvas) {
  DrawWith(canvas, PictureOfState(State(), {*Bitmap(), *m_bitmapFocused, *m_bitmapHot, *m_bitmapPressed, *m_bitmapDisabled}));
}

void TSeButtonObject::Assign(const TPersistent& source) {
  TSeBitmapObject::Assign(source);
  if (const auto* from = dynamic_cast<const TSeButtonObject*>(&source)) {
    m_bitmapHot->Assign(*from->m_bitmapHot);
    m_bitmapFocused->Assign(*from->m_bitmapFocused);
    m_bitmapPressed->Assign(*from->m_bitmapPressed);
    m_bitmapDisabled->Assign(*from->m_bitmapDisabled);
  }
}

// TSeBitmapSkinObject

const TClassInfo& TSeBitmapSkinObject::StaticClassInfo() {
  using T = TSeBitmapSkinObject;
  static const TClassInfo info("TSeBitmapSkinObject", &TSeSkinObject::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Object("Bitmap", &T::Bitmap),
      prop::Enum("TileStyle", &T::TileStyle, &T::SetTileStyle, kScTileStyleNames, tsTile),
  });
  return info;
}

TSeBitmapSkinObject::TSeBitmapSkinObject(TComponent* owner)
    : TSeSkinObject(owner), m_bitmap(std::make_unique<TseBitmapLink>()) {}

void TSeBitmapSkinObject::ResolveLink(TseBitmapLink& link) { ResolveByName(Images(), link, nullptr); }

void TSeBitmapSkinObject::AfterLoad() {
  TSeSkinObject::AfterLoad();
  ResolveLink(*m_bitmap);
}

void TSeBitmapSkinObject::Draw(TCanvas& canvas) { DrawWith(canvas, *m_bitmap); }

void TSeBitmapSkinObject::DrawWith(TCanvas& canvas, const TseBitmapLink& picture) {
  if (!m_bitmap->IsValid() || !picture.IsValid() || !HasArea(*this)) return;
  DrawWholePicture(canvas, picture, BoundsRect(), m_tileStyle);
  DrawText(canvas);
}

HRGN TSeBitmapSkinObject::CreateRegion() {
  if (!m_bitmap->IsValid() || !HasArea(*this)) return nullptr;
  if (Kind() == skClient) return TSeSkinObject::CreateRegion();
  return RenderedRegion(*this);
}

void TSeBitmapSkinObject::Assign(const TPersistent& source) {
  TSeSkinObject::Assign(source);
  if (const auto* from = dynamic_cast<const TSeBitmapSkinObject*>(&source)) {
    m_bitmap->Assign(*from->m_bitmap);
    m_tileStyle = from->m_tileStyle;
  }
}

// TSeFormBitmapSkinObject

const TClassInfo& TSeFormBitmapSkinObject::StaticClassInfo() {
  using T = TSeFormBitmapSkinObject;
  static const TClassInfo info("TSeFormBitmapSkinObject", &TSeBitmapSkinObject::StaticClassInfo(),
                               ComponentFactory<T>(), {prop::Object("InactiveBitmap", &T::InactiveBitmap)});
  return info;
}

TSeFormBitmapSkinObject::TSeFormBitmapSkinObject(TComponent* owner)
    : TSeBitmapSkinObject(owner), m_inactiveBitmap(std::make_unique<TseBitmapLink>()) {}

void TSeFormBitmapSkinObject::AfterLoad() {
  TSeBitmapSkinObject::AfterLoad();
  ResolveLink(*m_inactiveBitmap);
}

void TSeFormBitmapSkinObject::Draw(TCanvas& canvas) {
  DrawWith(canvas, Active() ? *Bitmap() : Valid(*m_inactiveBitmap, *Bitmap()));
}

void TSeFormBitmapSkinObject::Assign(const TPersistent& source) {
  TSeBitmapSkinObject::Assign(source);
  if (const auto* from = dynamic_cast<const TSeFormBitmapSkinObject*>(&source))
    m_inactiveBitmap->Assign(*from->m_inactiveBitmap);
}

// TSeBitmapBoxObject

const TClassInfo& TSeBitmapBoxObject::StaticClassInfo() {
  using T = TSeBitmapBoxObject;
  static const TClassInfo info("TSeBitmapBoxObject", &TSeBitmapSkinObject::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Enum("BorderTileStyle", &T::BorderTileStyle, &T::SetBorderTileStyle, kScTileStyleNames, tsTile),
  });
  return info;
}

void TSeBitmapBoxObject::DrawWith(TCanvas& canvas, const TseBitmapLink& picture) {
  if (!HasMargins(*this)) {
    TSeBitmapSkinObject::DrawWith(canvas, picture);
    return;
  }
  if (!Bitmap()->IsValid() || !picture.IsValid() || !HasArea(*this)) return;
  const bool keyed = picture.Masked();
  DrawNineParts(canvas, picture, *this, TileStyle(), m_borderTileStyle, {keyed, keyed, keyed});
  DrawText(canvas);
}

void TSeBitmapBoxObject::Assign(const TPersistent& source) {
  TSeBitmapSkinObject::Assign(source);
  if (const auto* from = dynamic_cast<const TSeBitmapBoxObject*>(&source)) m_borderTileStyle = from->m_borderTileStyle;
}

// TSeActiveBitmapBoxObject

const TClassInfo& TSeActiveBitmapBoxObject::StaticClassInfo() {
  using T = TSeActiveBitmapBoxObject;
  static const TClassInfo info("TSeActiveBitmapBoxObject", &TSeBitmapBoxObject::StaticClassInfo(),
                               ComponentFactory<T>(), {prop::Object("FocusedBitmap", &T::FocusedBitmap)});
  return info;
}

TSeActiveBitmapBoxObject::TSeActiveBitmapBoxObject(TComponent* owner)
    : TSeBitmapBoxObject(owner), m_focusedBitmap(std::make_unique<TseBitmapLink>()) {}

void TSeActiveBitmapBoxObject::AfterLoad() {
  TSeBitmapBoxObject::AfterLoad();
  ResolveLink(*m_focusedBitmap);
}

void TSeActiveBitmapBoxObject::Draw(TCanvas& canvas) {
  const bool focusedLook = State() == kStateHot || State() == kStateFocused;
  DrawWith(canvas, focusedLook ? Valid(*m_focusedBitmap, *Bitmap()) : *Bitmap());
}

void TSeActiveBitmapBoxObject::Assign(const TPersistent& source) {
  TSeBitmapBoxObject::Assign(source);
  if (const auto* from = dynamic_cast<const TSeActiveBitmapBoxObject*>(&source))
    m_focusedBitmap->Assign(*from->m_focusedBitmap);
}

// TSeButtonBitmapBoxObject

const TClassInfo& TSeButtonBitmapBoxObject::StaticClassInfo() {
  using T = TSeButtonBitmapBoxObject;
  static const TClassInfo info("TSeButtonBitmapBoxObject", &TSeBitmapBoxObject::StaticClassInfo(),
                               ComponentFactory<T>(), {
      prop::Object("HotBitmap", &T::HotBitmap),
      prop::Object("FocusedBitmap", &T::FocusedBitmap),
      prop::Object("PressedBitmap", &T::PressedBitmap),
      prop::Object("DisabledBitmap", &T::DisabledBitmap),
  });
  return info;
}

TSeButtonBitmapBoxObject::TSeButtonBitmapBoxObject(TComponent* owner)
    : TSeBitmapBoxObject(owner),
      m_hotBitmap(std::make_unique<TseBitmapLink>()),
      m_focusedBitmap(std::make_unique<TseBitmapLink>()),
      m_pressedBitmap(std::make_unique<TseBitmapLink>()),
      m_disabledBitmap(std::make_unique<TseBitmapLink>()) {}

void TSeButtonBitmapBoxObject::AfterLoad() {
  TSeBitmapBoxObject::AfterLoad();
  for (TseBitmapLink* link : {m_focusedBitmap.get(), m_hotBitmap.get(), m_pressedBitmap.get(), m_disabledBitmap.get()})
    ResolveLink(*link);
}

void TSeButtonBitmapBoxObject::Draw(TCanvas& canvas) {
  DrawWith(canvas, PictureOfState(State(), {*Bitmap(), *m_focusedBitmap, *m_hotBitmap, *m_pressedBitmap, *m_disabledBitmap}));
}

void TSeButtonBitmapBoxObject::Assign(const TPersistent& source) {
  TSeBitmapBoxObject::Assign(source);
  if (const auto* from = dynamic_cast<const TSeButtonBitmapBoxObject*>(&source)) {
    m_hotBitmap->Assign(*from->m_hotBitmap);
    m_focusedBitmap->Assign(*from->m_focusedBitmap);
    m_pressedBitmap->Assign(*from->m_pressedBitmap);
    m_disabledBitmap->Assign(*from->m_disabledBitmap);
  }
}

}  // namespace vandrel
