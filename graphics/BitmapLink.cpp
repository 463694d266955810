#include "graphics/BitmapLink.h"

#include <algorithm>
#include <cstdint>

#include "framework/PropertyInfo.h"
#include "platform/core/Text.h"

namespace vandrel {
namespace {

// Marks a pixel the skin's author left without a colour; it never counts as see-through.
constexpr TseColor kNoColor = 0x33333333;

bool SeeThrough(TseColor p) { return p != kNoColor && AlphaOf(p) != 255; }

// A rectangle in 64 bits, so that sides and margins from damaged data cannot overflow.
struct TSpan {
  std::int64_t left, top, right, bottom;
  bool Empty() const { return left >= right || top >= bottom; }
};

TSpan Intersect(const TSpan& a, const TSpan& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

// Whether some pixel of part (in image coordinates) is see-through. Pixels outside the image
// read as 0, which is see-through, so only the part inside the image is scanned, row by row.
bool PartSeeThrough(const TseBitmap& image, const TSpan& part) {
  if (part.Empty()) return false;
  const TSpan inside = Intersect(part, {0, 0, image.Width(), image.Height()});
  if (inside.left != part.left || inside.top != part.top || inside.right != part.right ||
      inside.bottom != part.bottom)
    return true;
  for (std::int64_t y = inside.top; y < inside.bottom; ++y) {
    const TseColor* row = image.Row(int(y));
    for (std::int64_t x = inside.left; x < inside.right; ++x)
      if (SeeThrough(row[x])) return true;
  }
  return false;
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
  return Image() && m_rect.Right > m_rect.Left && m_rect.Bottom > m_rect.Top;
}

void TseBitmapLink::CheckMasked(int left, int top, int right, int bottom) {
  m_masked = m_maskedBorder = m_maskedAngles = false;
  const TseBitmap* image = Image();
  if (!image) return;
  // Part rectangles relative to the link's rectangle, cut to it: a pixel marks every part it lies
  // in, also where margins overlap or exceed the rectangle.
  const std::int64_t w = std::int64_t(m_rect.Right) - m_rect.Left, h = std::int64_t(m_rect.Bottom) - m_rect.Top;
  const auto seeThrough = [&](std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) {
    const TSpan part = Intersect({l, t, r, b}, {0, 0, w, h});
    return PartSeeThrough(*image, {part.left + m_rect.Left, part.top + m_rect.Top, part.right + m_rect.Left,
                                   part.bottom + m_rect.Top});
  };
  if (left == 0 && top == 0 && right == 0 && bottom == 0) {
    m_masked = seeThrough(0, 0, w, h);
    return;
  }
  const std::int64_t innerRight = w - right, innerBottom = h - bottom;
  m_maskedAngles = seeThrough(0, 0, left, top) || seeThrough(innerRight, 0, w, top) ||
                   seeThrough(innerRight, innerBottom, w, h) || seeThrough(0, innerBottom, left, h);
  m_maskedBorder = seeThrough(left, 0, innerRight, top) || seeThrough(left, innerBottom, innerRight, h) ||
                   seeThrough(0, top, left, innerBottom) || seeThrough(innerRight, top, w, innerBottom);
  m_masked = seeThrough(left, top, innerRight, innerBottom);
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
