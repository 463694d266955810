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

namespace {
void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 2; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}

// One 32-bit image with its AND mask (set where fully transparent, for readers that ignore alpha).
std::vector<std::uint8_t> EncodeIco(const TSurface& pixels) {
  const int w = pixels.Width(), h = pixels.Height();
  const std::uint32_t maskStride = ((std::uint32_t(w) + 31) / 32) * 4;
  const std::uint32_t imageSize = 40 + std::uint32_t(w) * std::uint32_t(h) * 4 + maskStride * std::uint32_t(h);
  std::vector<std::uint8_t> out;
  out.reserve(22 + imageSize);
  Put16(out, 0);
  Put16(out, 1);  // icon
  Put16(out, 1);  // one image
  out.push_back(std::uint8_t(w >= 256 ? 0 : w));
  out.push_back(std::uint8_t(h >= 256 ? 0 : h));
  out.push_back(0);
  out.push_back(0);
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, imageSize);
  Put32(out, 22);
  Put32(out, 40);
  Put32(out, std::uint32_t(w));
  Put32(out, std::uint32_t(h) * 2);  // colour and mask stacked
  Put16(out, 1);
  Put16(out, 32);
  for (int i = 0; i < 6; ++i) Put32(out, 0);
  for (int y = h - 1; y >= 0; --y)
    for (int x = 0; x < w; ++x) Put32(out, pixels.Pixel(x, y));
  for (int y = h - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(maskStride, 0);
    for (int x = 0; x < w; ++x)
      if ((pixels.Pixel(x, y) >> 24) == 0) row[size_t(x / 8)] |= std::uint8_t(0x80 >> (x % 8));
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}
}  // namespace

void TIcon::SaveToStream(TStream& stream) const {
  if (!m_data.empty()) {
    stream.WriteBuffer(m_data.data(), std::int64_t(m_data.size()));
    return;
  }
  auto* obj = m_handle ? LookupObject<TIconObject>(m_handle.Value()) : nullptr;
  if (!obj) throw EInvalidOperation("Icon has no image to save");
  const std::vector<std::uint8_t> bytes = EncodeIco(obj->Pixels());
  stream.WriteBuffer(bytes.data(), std::int64_t(bytes.size()));
}

void TIcon::Draw(TCanvas& canvas, const TRect& r) const {
  if (m_handle) DrawIconEx(canvas.Handle(), r.Left, r.Top, m_handle, r.Width(), r.Height(), 0, HBRUSH(), DI_NORMAL);
}

}  // namespace vandrel
