#include "graphics/BitmapLink.h"

#include "framework/PropertyInfo.h"
#include "platform/core/Text.h"

namespace vandrel {
namespace {

// Marks a pixel the skin's author left without a colour; it never counts as see-through.
constexpr TseColor kNoColor = 0x33333333;

bool InRect(int x, int y, int left, int top, int right, int bottom) {
  return x >= left && x < right && y >= top && y < bottom;
}

}  // namespace

const TClassInfo& TseBitmapLink::StaticClassInfo() {
  using T = TseBitmapLink;
  static const TClassInfo info("TseBitmapLink", &TPersistent::StaticClassInfo(), nullptr, {
      prop::String("Name", &T::Name, &T::SetName),
      prop::Integer("Left", &T::Left, &T::SetLeft),
      prop::Integer("Top", &T::Top, &T::SetTop),
      prop::Integer("Right", &T::Right, &T::SetRight),
      prop::Integer("Bottom", &T::Bottom, &T::SetBottom),
  });
  return info;
}

TseBitmap* TseBitmapLink::Image() const {
  auto alive = m_image.lock();
  return alive ? *alive : nullptr;
}

void TseBitmapLink::SetImage(TseBitmap* image) {
  m_image = image ? image->Liveness() : std::weak_ptr<TseBitmap*>();
}

bool TseBitmapLink::IsValid() const {
  return Image() && std::int64_t(m_rect.Right - m_rect.Left) * (m_rect.Bottom - m_rect.Top) > 0;
}

void TseBitmapLink::CheckMasked(int left, int top, int right, int bottom) {
  m_masked = m_maskedBorder = m_maskedAngles = false;
  const TseBitmap* image = Image();
  if (!image) return;
  const bool margins = left != 0 || top != 0 || right != 0 || bottom != 0;
  const int w = m_rect.Right - m_rect.Left, h = m_rect.Bottom - m_rect.Top;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const TseColor p = image->Pixel(m_rect.Left + x, m_rect.Top + y);
      if (p == kNoColor || AlphaOf(p) == 255) continue;
      if (!margins) {
        m_masked = true;
        return;
      }
      if (InRect(x, y, 0, 0, left, top) || InRect(x, y, w - right, 0, w, top) ||
          InRect(x, y, w - right, h - bottom, w, h) || InRect(x, y, 0, h - bottom, left, h))
        m_maskedAngles = true;
      if (InRect(x, y, left, 0, w - right, top) || InRect(x, y, left, h - bottom, w - right, h) ||
          InRect(x, y, 0, top, left, h - bottom) || InRect(x, y, w - right, top, w, h - bottom))
        m_maskedBorder = true;
      if (InRect(x, y, left, top, w - right, h - bottom)) m_masked = true;
    }
  }
}

void TseBitmapLink::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TseBitmapLink*>(&source)) {
    m_image = other->m_image;
    m_rect = other->m_rect;
    m_name = other->m_name;
    m_masked = other->m_masked;
    m_maskedBorder = other->m_maskedBorder;
    m_maskedAngles = other->m_maskedAngles;
    return;
  }
  TPersistent::Assign(source);
}

TseBitmap* TseBitmapList::Items(int index) const {
  return index >= 0 && index < Count() ? m_items[size_t(index)].get() : nullptr;
}

TseBitmap* TseBitmapList::Add(std::unique_ptr<TseBitmap> bitmap) {
  m_items.push_back(std::move(bitmap));
  return m_items.back().get();
}

std::unique_ptr<TseBitmapLink> TseBitmapList::GetLink(std::string_view name, const TRect& rect) const {
  for (const auto& item : m_items) {
    if (!SameText(item->Name(), name)) continue;
    auto link = std::make_unique<TseBitmapLink>();
    link->SetImage(item.get());
    link->SetName(item->Name());
    link->SetRect(rect);
    return link;
  }
  return nullptr;
}

}  // namespace vandrel
