// TCustomImageList / TImageList: a list of small images of one size, each with a mask, drawn
// normally or in the classic disabled look (embossed in the 3D shadow and highlight colours).
// Controls that show its images ask to be told about changes and about its destruction.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "framework/Component.h"
#include "platform/core/Color.h"
#include "platform/gdi/GdiTypes.h"

namespace vandrel {

class TBitmap;
class TCanvas;
class TIcon;

class TCustomImageList : public TComponent {
  VANDREL_CLASS_INFO
 public:
  explicit TCustomImageList(TComponent* owner);
  ~TCustomImageList() override;

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  // Changing the size clears the list.
  void SetWidth(int width);
  void SetHeight(int height);
  int Count() const { return int(m_images.size()); }

  // image: at least Width x Height (the top-left part is taken); mask: white = transparent,
  // null = opaque. Returns the index.
  int Add(const TBitmap& image, const TBitmap* mask);
  // Pixels of maskColor are transparent.
  int AddMasked(const TBitmap& image, TColor maskColor);
  int AddIcon(const TIcon& icon);
  // Width x Height top-down 0xAARRGGBB pixels; alpha below 128 is transparent.
  int AddPixels(const std::uint32_t* argb);
  void Delete(int index);
  void Clear();

  // Nothing for an index out of range.
  void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;
  void Draw(HDC dc, int x, int y, int index, bool enabled = true) const;
  // The image on a bitmap of the list's size, transparent pixels in clFuchsia... as the caller's
  // background colour.
  void GetBitmap(int index, TBitmap& bitmap, TColor background = clFuchsia) const;

  // Listeners are told after every change; the id removes them.
  int RegisterChanges(std::function<void()> listener);
  void UnRegisterChanges(int id);
  TNotifyEvent OnChange;

 private:
  struct TImage {
    std::vector<std::uint32_t> Pixels;  // straight alpha, 0 or 255
    mutable HICON Normal;
    mutable HICON Disabled;
  };
  void Change();
  int AddImage(std::vector<std::uint32_t> pixels);
  HICON NormalIcon(const TImage& image) const;
  HICON DisabledIcon(const TImage& image) const;
  static void FreeIcons(TImage& image);

  int m_width = 16;
  int m_height = 16;
  std::vector<TImage> m_images;
  std::vector<std::pair<int, std::function<void()>>> m_listeners;
  int m_nextListener = 1;
};

class TImageList : public TCustomImageList {
  VANDREL_CLASS_INFO
 public:
  explicit TImageList(TComponent* owner) : TCustomImageList(owner) {}
};

}  // namespace vandrel
