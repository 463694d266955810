#include "platform/gdi/DeviceContext.h"

#include "platform/gdi/RegionApi.h"
#include "platform/gdi/StockObjects.h"

namespace vandrel {

TDeviceContext::TDeviceContext() : m_memory(true) {
  SetDefaults();
  HBITMAP stock = TStockObjects::Instance().DefaultBitmap();
  SelectBitmap(LookupShared<TBitmapObject>(stock.Value()), stock);
}

TDeviceContext::TDeviceContext(std::shared_ptr<TSurface> surface, TPoint origin, TRegion visible)
    : m_memory(false) {
  SetDefaults();
  HBITMAP stock = TStockObjects::Instance().DefaultBitmap();
  m_state.bitmap = LookupShared<TBitmapObject>(stock.Value());
  m_state.hbitmap = stock;
  SetTarget(std::move(surface), origin, std::move(visible));
}

void TDeviceContext::SetDefaults() {
  auto& stock = TStockObjects::Instance();
  m_state.hpen = HPEN(stock.Get(BLACK_PEN));
  m_state.pen = LookupShared<TPenObject>(m_state.hpen.Value());
  m_state.hbrush = HBRUSH(stock.Get(WHITE_BRUSH));
  m_state.brush = LookupShared<TBrushObject>(m_state.hbrush.Value());
  m_state.hfont = HFONT(stock.Get(SYSTEM_FONT));
  m_state.font = LookupShared<TFontObject>(m_state.hfont.Value());
}

void TDeviceContext::SetTarget(std::shared_ptr<TSurface> surface, TPoint origin, TRegion visible) {
  m_surface = std::move(surface);
  m_origin = origin;
  m_visible = std::move(visible);
  m_clipValid = false;
}

const TRegion& TDeviceContext::Clip() const {
  if (!m_clipValid) {
    if (!m_surface) {
      m_clip = TRegion();
    } else {
      m_clip = m_visible.Intersect(m_surface->Bounds());
      if (m_state.hasClip) {
        TRegion c = m_state.clip;
        c.Offset(m_origin.X, m_origin.Y);
        m_clip = m_clip.Intersect(c);
      }
    }
    m_clipValid = true;
  }
  return m_clip;
}

bool TDeviceContext::SelectBitmap(const std::shared_ptr<TBitmapObject>& bitmap, HBITMAP handle) {
  if (!bitmap) return false;
  bool shared = bitmap->IsStock();
  if (!shared && bitmap->SelectedInto() && bitmap->SelectedInto() != m_self) return false;
  if (m_state.bitmap && !m_state.bitmap->IsStock() && m_state.bitmap != bitmap)
    m_state.bitmap->SetSelectedInto(nullptr);
  if (!shared) bitmap->SetSelectedInto(m_self);
  m_state.bitmap = bitmap;
  m_state.hbitmap = handle;
  const auto& surface = bitmap->Surface();
  SetTarget(surface, {0, 0}, TRegion(surface->Bounds()));
  return true;
}

HGDIOBJ TDeviceContext::Select(HGDIOBJ object) {
  std::shared_ptr<TGdiObject> o = TGdiObjectTable::Instance().FindShared(object.Value());
  if (!o) return nullptr;
  switch (o->ObjectType()) {
    case OBJ_PEN: {
      HGDIOBJ old = m_state.hpen;
      m_state.pen = std::static_pointer_cast<TPenObject>(o);
      m_state.hpen = HPEN(object);
      return old;
    }
    case OBJ_BRUSH: {
      HGDIOBJ old = m_state.hbrush;
      m_state.brush = std::static_pointer_cast<TBrushObject>(o);
      m_state.hbrush = HBRUSH(object);
      return old;
    }
    case OBJ_FONT: {
      HGDIOBJ old = m_state.hfont;
      m_state.font = std::static_pointer_cast<TFontObject>(o);
      m_state.hfont = HFONT(object);
      return old;
    }
    case OBJ_BITMAP: {
      if (!m_memory) return nullptr;
      HGDIOBJ old = m_state.hbitmap;
      if (!SelectBitmap(std::static_pointer_cast<TBitmapObject>(o), HBITMAP(object))) return nullptr;
      return old;
    }
    case OBJ_REGION: {
      m_state.hasClip = true;
      m_state.clip = static_cast<TRegionObject&>(*o).Region();
      m_clipValid = false;
      return HGDIOBJ(std::uint32_t(m_state.clip.Complexity()));
    }
    default:
      return nullptr;
  }
}

int TDeviceContext::SaveState() {
  m_saved.push_back(m_state);
  return int(m_saved.size());
}

bool TDeviceContext::RestoreState(int level) {
  int count = int(m_saved.size());
  if (level < 0) level = count + 1 + level;
  if (level < 1 || level > count) return false;
  TDcState state = std::move(m_saved[size_t(level - 1)]);
  m_saved.resize(size_t(level - 1));
  std::shared_ptr<TBitmapObject> bitmap = state.bitmap;
  HBITMAP hbitmap = state.hbitmap;
  state.bitmap = m_state.bitmap;
  state.hbitmap = m_state.hbitmap;
  m_state = std::move(state);
  if (m_memory && bitmap != m_state.bitmap) SelectBitmap(bitmap, hbitmap);
  m_clipValid = false;
  return true;
}

void TDeviceContext::Release() {
  if (m_state.bitmap && !m_state.bitmap->IsStock()) m_state.bitmap->SetSelectedInto(nullptr);
  m_state.bitmap.reset();
  m_saved.clear();
  m_surface.reset();
}

TDeviceContext* LookupDC(HDC dc) { return LookupObject<TDeviceContext>(dc.Value()); }

namespace {
HDC Register(std::shared_ptr<TDeviceContext> context) {
  TDeviceContext* raw = context.get();
  HDC handle(TGdiObjectTable::Instance().Add(std::move(context)));
  raw->SetHandle(handle);
  return handle;
}
}  // namespace

HDC CreateSurfaceDC(std::shared_ptr<TSurface> surface, TPoint origin, const TRegion& visible) {
  return Register(std::make_shared<TDeviceContext>(std::move(surface), origin, visible));
}

bool SetDCTarget(HDC dc, std::shared_ptr<TSurface> surface, TPoint origin, const TRegion& visible) {
  TDeviceContext* d = LookupDC(dc);
  if (!d || d->IsMemory()) return false;
  d->SetTarget(std::move(surface), origin, visible);
  return true;
}

bool SetDCVisibleRegion(HDC dc, const TRegion& visible) {
  TDeviceContext* d = LookupDC(dc);
  if (!d || d->IsMemory()) return false;
  d->SetTarget(d->SharedSurface(), d->Origin(), visible);
  return true;
}

bool SetDCOwnerTag(HDC dc, std::uintptr_t tag) {
  TDeviceContext* d = LookupDC(dc);
  if (!d) return false;
  d->SetOwnerTag(tag);
  return true;
}

std::uintptr_t GetDCOwnerTag(HDC dc) {
  TDeviceContext* d = LookupDC(dc);
  return d ? d->OwnerTag() : 0;
}

std::shared_ptr<TSurface> GetDCSurface(HDC dc) {
  TDeviceContext* d = LookupDC(dc);
  return d ? d->SharedSurface() : nullptr;
}

bool GetDCOrgEx(HDC dc, TPoint* origin) {
  TDeviceContext* d = LookupDC(dc);
  if (!d) return false;
  if (origin) *origin = d->Origin();
  return true;
}

HDC CreateCompatibleDC(HDC) { return Register(std::make_shared<TDeviceContext>()); }

bool DeleteDC(HDC dc) {
  TDeviceContext* d = LookupDC(dc);
  if (!d) return false;
  d->Release();
  return TGdiObjectTable::Instance().Remove(dc.Value());
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  TDeviceContext* d = LookupDC(dc);
  return d ? d->Select(object) : nullptr;
}
HBITMAP SelectObject(HDC dc, HBITMAP bitmap) { return HBITMAP(SelectObject(dc, HGDIOBJ(bitmap))); }
HPEN SelectObject(HDC dc, HPEN pen) { return HPEN(SelectObject(dc, HGDIOBJ(pen))); }
HBRUSH SelectObject(HDC dc, HBRUSH brush) { return HBRUSH(SelectObject(dc, HGDIOBJ(brush))); }
HFONT SelectObject(HDC dc, HFONT font) { return HFONT(SelectObject(dc, HGDIOBJ(font))); }
int SelectObject(HDC dc, HRGN region) {
  TDeviceContext* d = LookupDC(dc);
  if (!d || !GetRegion(region)) return RGN_ERROR;
  return int(d->Select(HGDIOBJ(region)).Value());
}

HGDIOBJ GetCurrentObject(HDC dc, int type) {
  TDeviceContext* d = LookupDC(dc);
  if (!d) return nullptr;
  switch (type) {
    case OBJ_PEN: return d->State().hpen;
    case OBJ_BRUSH: return d->State().hbrush;
    case OBJ_FONT: return d->State().hfont;
    case OBJ_BITMAP: return d->State().hbitmap;
    default: return nullptr;
  }
}

}  // namespace vandrel
