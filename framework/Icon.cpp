#include "framework/Icon.h"

#include "framework/Canvas.h"
#include "framework/PropertyInfo.h"
#include "platform/gdi/Icon.h"
#include "platform/gdi/Surface.h"

namespace vandrel {

const TClassInfo& TIcon::StaticClassInfo() {
  static const TClassInfo info("TIcon", &TGraphic::StaticClassInfo(), nullptr, {});
  return info;
}

TIcon::~TIcon() {
  if (m_handle) DestroyIcon(m_handle);
}

int TIcon::Width() const { return m_handle ? GetIconSize(m_handle).cx : 0; }
int TIcon::Height() const { return m_handle ? GetIconSize(m_handle).cy : 0; }

void TIcon::SetHandle(HICON icon) {
  if (icon == m_handle) return;
  if (m_handle) DestroyIcon(m_handle);
  m_handle = icon;
  m_data.clear();
  Changed();
}

void TIcon::SetPixels(int width, int height, const std::uint32_t* argb) {
  HICON icon = CreateIconFromPixels(width, height, argb);
  if (!icon) throw EInvalidGraphic("Icon size is not valid");
  SetHandle(icon);
}

void TIcon::Assign(const TPersistent& source) {
  if (auto* i = dynamic_cast<const TIcon*>(&source)) {
    if (i == this) return;
    if (!i->m_handle) {
      SetHandle(HICON());
      return;
    }
    TSize s = GetIconSize(i->m_handle);
    // Copy through the pixels so the two icons own separate handles.
    std::vector<std::uint32_t> px(size_t(s.cx) * size_t(s.cy));
    auto* obj = LookupObject<TIconObject>(i->m_handle.Value());
    if (!obj) return;
    for (int y = 0; y < s.cy; ++y)
      for (int x = 0; x < s.cx; ++x) px[size_t(y * s.cx + x)] = obj->Pixels().Pixel(x, y);
    auto data = i->m_data;
    SetPixels(s.cx, s.cy, px.data());
    m_data = std::move(data);
    return;
  }
  TGraphic::Assign(source);
}

void TIcon::LoadFromStream(TStream& stream) {
  std::int64_t size = stream.Size() - stream.Position();
  if (size <= 0 || size > (64 << 20)) throw EInvalidGraphic("Icon image is not valid");
  std::vector<std::uint8_t> bytes = stream.ReadBytes(size);
  HICON icon;
  try {
    icon = CreateIconFromIcoData(bytes, 32);
  } catch (const EReadError& e) {
    throw EInvalidGraphic(std::string("Icon image is not valid: ") + e.what());
  }
  if (!icon) throw EInvalidGraphic("Icon image is not valid");
  SetHandle(icon);
  m_data = std::move(bytes);
}

void TIcon::SaveToStream(TStream& stream) const {
  if (m_data.empty()) throw EInvalidOperation("Icon has no image data to save");
  stream.WriteBuffer(m_data.data(), std::int64_t(m_data.size()));
}

void TIcon::Draw(TCanvas& canvas, const TRect& r) const {
  if (m_handle) DrawIconEx(canvas.Handle(), r.Left, r.Top, m_handle, r.Width(), r.Height(), 0, HBRUSH(), DI_NORMAL);
}

}  // namespace vandrel
