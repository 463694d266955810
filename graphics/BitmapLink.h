// TseBitmapLink names a rectangle of one skin image and knows which parts of it are see-through;
// TseBitmapList is the ordered, owning list of a skin's images that hands out such links by name.
// A link does not own its image; it notices when the image is destroyed and then has none.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Persistent.h"
#include "graphics/Bitmap.h"

namespace vandrel {

class TseBitmapLink : public TPersistent {
  VANDREL_CLASS_INFO
 public:
  TseBitmapLink() = default;

  const std::string& Name() const { return m_name; }
  void SetName(const std::string& value) { m_name = value; }
  int Left() const { return m_rect.Left; }
  void SetLeft(int value) { m_rect.Left = value; }
  int Top() const { return m_rect.Top; }
  void SetTop(int value) { m_rect.Top = value; }
  int Right() const { return m_rect.Right; }
  void SetRight(int value) { m_rect.Right = value; }
  int Bottom() const { return m_rect.Bottom; }
  void SetBottom(int value) { m_rect.Bottom = value; }
  // Right and bottom exclusive.
  const TRect& Rect() const { return m_rect; }
  void SetRect(const TRect& r) { m_rect = r; }

  // The image the name was resolved to; null until resolved and after the image is destroyed.
  TseBitmap* Image() const;
  void SetImage(TseBitmap* image);

  bool Masked() const { return m_masked; }
  bool MaskedBorder() const { return m_maskedBorder; }
  bool MaskedAngles() const { return m_maskedAngles; }

  // An image is set and the rectangle has a positive area.
  bool IsValid() const;
  // Sets the three flags from the see-through pixels of the rectangle (alpha below 255, the key
  // included, the sentinel 0x33333333 excluded). Without margins only Masked is found: any such
  // pixel. With margins each pixel marks the part it lies in: a corner MaskedAngles, an edge
  // MaskedBorder, the centre Masked.
  void CheckMasked(int left, int top, int right, int bottom);
  void CheckMasked() { CheckMasked(0, 0, 0, 0); }

  // From another link: image, rectangle, name and the three flags.
  void Assign(const TPersistent& source) override;

 private:
  std::string m_name;
  TRect m_rect;
  std::weak_ptr<TseBitmap*> m_image;
  bool m_masked = false;
  bool m_maskedBorder = false;
  bool m_maskedAngles = false;
};

// Owns its bitmaps; Clear and the destructor free them.
class TseBitmapList {
 public:
  TseBitmapList() = default;
  TseBitmapList(const TseBitmapList&) = delete;
  TseBitmapList& operator=(const TseBitmapList&) = delete;

  int Count() const { return int(m_items.size()); }
  // Null for an index out of range.
  TseBitmap* Items(int index) const;
  TseBitmap* operator[](int index) const { return Items(index); }
  // Takes ownership and returns the bitmap.
  TseBitmap* Add(std::unique_ptr<TseBitmap> bitmap);
  void Clear() { m_items.clear(); }

  // A new link to the first bitmap whose Name equals name without regard to ASCII case, named
  // as that bitmap and covering rect; null when no bitmap has the name.
  std::unique_ptr<TseBitmapLink> GetLink(std::string_view name, const TRect& rect) const;

 private:
  std::vector<std::unique_ptr<TseBitmap>> m_items;
};

}  // namespace vandrel
