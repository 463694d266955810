// TJPEGImage: a JPEG picture decoded with libjpeg into a bitmap. Damaged data (truncated, corrupt,
// not a JPEG at all) raises EInvalidGraphic and leaves the image as it was; the original bytes are
// kept and saved back unchanged.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/Graphic.h"

namespace vandrel {

class TJPEGImage : public TGraphic {
  VANDREL_CLASS_INFO
 public:
  TJPEGImage();
  ~TJPEGImage() override;
  void Assign(const TPersistent& source) override;

  bool Empty() const override { return m_bitmap->Empty(); }
  int Width() const override { return m_bitmap->Width(); }
  int Height() const override { return m_bitmap->Height(); }
  // A decoded picture keeps its size.
  void SetWidth(int) override {}
  void SetHeight(int) override {}

  void LoadFromStream(TStream& stream) override;
  void LoadFromBytes(const std::vector<std::uint8_t>& bytes);
  void SaveToStream(TStream& stream) const override;
  // The decoded pixels.
  const TBitmap& Bitmap() const { return *m_bitmap; }

 protected:
  void Draw(TCanvas& canvas, const TRect& rect) const override;
  // Stored as a byte count and the JPEG file bytes.
  void ReadData(TStream& stream) override;
  void WriteData(TStream& stream) const override;

 private:
  std::unique_ptr<TBitmap> m_bitmap;
  std::vector<std::uint8_t> m_data;
};

// True when the bytes start like a JPEG file.
bool LooksLikeJpeg(const std::uint8_t* data, size_t size);

}  // namespace vandrel
