// TIcon: a picture with transparency (a platform icon), loaded from .ico data or made from pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/Graphic.h"
#include "platform/gdi/GdiTypes.h"

namespace vandrel {

class TIcon : public TGraphic {
  VANDREL_CLASS_INFO
 public:
  TIcon() = default;
  ~TIcon() override;
  void Assign(const TPersistent& source) override;

  bool Empty() const override { return !m_handle; }
  int Width() const override;
  int Height() const override;
  // An icon keeps the size of its image.
  void SetWidth(int) override {}
  void SetHeight(int) override {}

  HICON Handle() const { return m_handle; }
  // Takes ownership of the handle.
  void SetHandle(HICON icon);
  // Top-down 0xAARRGGBB pixels with straight alpha.
  void SetPixels(int width, int height, const std::uint32_t* argb);

  // The .ico image closest to 32 x 32 is used. The stored "Data" is the .ico file itself.
  void LoadFromStream(TStream& stream) override;
  // The bytes it was loaded from, or else a one-image 32-bit .ico of its pixels.
  void SaveToStream(TStream& stream) const override;

 protected:
  void Draw(TCanvas& canvas, const TRect& rect) const override;

 private:
  HICON m_handle;
  std::vector<std::uint8_t> m_data;  // the .ico bytes it was loaded from, saved back unchanged
};

}  // namespace vandrel
