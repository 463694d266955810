#include "framework/ImageList.h"

#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "framework/Icon.h"
#include "framework/PropertyInfo.h"
#include "platform/gdi/Icon.h"
#include "platform/gdi/Surface.h"

namespace vandrel {

const TClassInfo& TCustomImageList::StaticClassInfo() {
  using T = TCustomImageList;
  static const TClassInfo info("TCustomImageList", &TComponent::StaticClassInfo(), nullptr, {
      prop::Integer("Height", &T::Height, &T::SetHeight, 16),
      prop::Integer("Width", &T::Width, &T::SetWidth, 16),
      prop::Event("OnChange", &T::OnChange),
  });
  return info;
}

const TClassInfo& TImageList::StaticClassInfo() {
  static const TClassInfo info("TImageList", &TCustomImageList::StaticClassInfo(), ComponentFactory<TImageList>(), {});
  return info;
}

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

TCustomImageList::~TCustomImageList() {
  for (auto& i : m_images) FreeIcons(i);
}

void TCustomImageList::FreeIcons(TImage& image) {
  if (image.Normal) DestroyIcon(image.Normal);
  if (image.Disabled) DestroyIcon(image.Disabled);
  image.Normal = image.Disabled = HICON();
}

void TCustomImageList::SetWidth(int width) {
  if (width == m_width || width <= 0) return;
  Clear();
  m_width = width;
  Change();
}

void TCustomImageList::SetHeight(int height) {
  if (height == m_height || height <= 0) return;
  Clear();
  m_height = height;
  Change();
}

int TCustomImageList::AddImage(std::vector<std::uint32_t> pixels) {
  TImage image;
  image.Pixels = std::move(pixels);
  m_images.push_back(std::move(image));
  Change();
  return Count() - 1;
}

int TCustomImageList::Add(const TBitmap& image, const TBitmap* mask) {
  if (image.Width() < m_width || image.Height() < m_height) throw EInvalidArgument("Invalid image size");
  std::vector<std::uint32_t> px(size_t(m_width) * size_t(m_height));
  for (int y = 0; y < m_height; ++y) {
    const std::uint32_t* row = image.ScanLine(y);
    const std::uint32_t* mrow = mask && y < mask->Height() ? mask->ScanLine(y) : nullptr;
    for (int x = 0; x < m_width; ++x) {
      bool transparent = mrow && x < mask->Width() && (mrow[x] & 0xFFFFFF) == 0xFFFFFF;
      px[size_t(y * m_width + x)] = (row[x] & 0xFFFFFF) | (transparent ? 0u : 0xFF000000u);
    }
  }
  return AddImage(std::move(px));
}

int TCustomImageList::AddMasked(const TBitmap& image, TColor maskColor) {
  if (image.Width() < m_width || image.Height() < m_height) throw EInvalidArgument("Invalid image size");
  std::uint32_t key = PixelFromColor(ColorToRGB(maskColor)) & 0xFFFFFF;
  std::vector<std::uint32_t> px(size_t(m_width) * size_t(m_height));
  for (int y = 0; y < m_height; ++y) {
    const std::uint32_t* row = image.ScanLine(y);
    for (int x = 0; x < m_width; ++x) {
      std::uint32_t c = row[x] & 0xFFFFFF;
      px[size_t(y * m_width + x)] = c | (c == key ? 0u : 0xFF000000u);
    }
  }
  return AddImage(std::move(px));
}

int TCustomImageList::AddIcon(const TIcon& icon) {
  if (icon.Empty()) throw EInvalidArgument("Icon is empty");
  TBitmap b(m_width, m_height);
  // The icon over a key colour, then the key taken out.
  b.Canvas()->Brush()->SetColor(clFuchsia);
  b.Canvas()->FillRect(Rect(0, 0, m_width, m_height));
  b.Canvas()->StretchDraw(Rect(0, 0, m_width, m_height), icon);
  return AddMasked(b, clFuchsia);
}

int TCustomImageList::AddPixels(const std::uint32_t* argb) {
  std::vector<std::uint32_t> px(argb, argb + size_t(m_width) * size_t(m_height));
  for (auto& p : px) p = (p & 0xFFFFFF) | ((p >> 24) >= 128 ? 0xFF000000u : 0u);
  return AddImage(std::move(px));
}

void TCustomImageList::Delete(int index) {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  FreeIcons(m_images[size_t(index)]);
  m_images.erase(m_images.begin() + index);
  Change();
}

void TCustomImageList::Clear() {
  if (m_images.empty()) return;
  for (auto& i : m_images) FreeIcons(i);
  m_images.clear();
  Change();
}

HICON TCustomImageList::NormalIcon(const TImage& image) const {
  if (!image.Normal) image.Normal = CreateIconFromPixels(m_width, m_height, image.Pixels.data());
  return image.Normal;
}

HICON TCustomImageList::DisabledIcon(const TImage& image) const {
  if (!image.Disabled) {
    int w = m_width + 1, h = m_height + 1;
    std::vector<std::uint32_t> px(size_t(w) * size_t(h), 0);
    std::uint32_t hi = 0xFF000000u | (PixelFromColor(ColorToRGB(clBtnHighlight)) & 0xFFFFFF);
    std::uint32_t sh = 0xFF000000u | (PixelFromColor(ColorToRGB(clBtnShadow)) & 0xFFFFFF);
    // What is dark in the image shows as the emboss; light pixels drop out as on a mask.
    auto dark = [&](int x, int y) {
      std::uint32_t p = image.Pixels[size_t(y * m_width + x)];
      if ((p >> 24) == 0) return false;
      int lum = (int((p >> 16) & 0xFF) * 30 + int((p >> 8) & 0xFF) * 59 + int(p & 0xFF) * 11) / 100;
      return lum < 192;
    };
    for (int y = 0; y < m_height; ++y)
      for (int x = 0; x < m_width; ++x)
        if (dark(x, y)) px[size_t((y + 1) * w + x + 1)] = hi;
    for (int y = 0; y < m_height; ++y)
      for (int x = 0; x < m_width; ++x)
        if (dark(x, y)) px[size_t(y * w + x)] = sh;
    image.Disabled = CreateIconFromPixels(w, h, px.data());
  }
  return image.Disabled;
}

void TCustomImageList::Draw(HDC dc, int x, int y, int index, bool enabled) const {
  if (index < 0 || index >= Count()) return;
  const TImage& image = m_images[size_t(index)];
  HICON icon = enabled ? NormalIcon(image) : DisabledIcon(image);
  DrawIconEx(dc, x, y, icon, 0, 0, 0, HBRUSH(), DI_NORMAL);
}

void TCustomImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
  Draw(canvas.Handle(), x, y, index, enabled);
}

void TCustomImageList::GetBitmap(int index, TBitmap& bitmap, TColor background) const {
  bitmap.SetSize(m_width, m_height);
  bitmap.Canvas()->Brush()->SetColor(background);
  bitmap.Canvas()->FillRect(Rect(0, 0, m_width, m_height));
  Draw(*bitmap.Canvas(), 0, 0, index, true);
}

int TCustomImageList::RegisterChanges(std::function<void()> listener) {
  int id = m_nextListener++;
  m_listeners.emplace_back(id, std::move(listener));
  return id;
}

void TCustomImageList::UnRegisterChanges(int id) {
  std::erase_if(m_listeners, [id](const auto& l) { return l.first == id; });
}

void TCustomImageList::Change() {
  auto listeners = m_listeners;
  for (auto& [id, f] : listeners) f();
  if (OnChange) OnChange(this);
}

}  // namespace vandrel
