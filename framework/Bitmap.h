// TBitmap: a 32-bit device-independent section with a canvas on a memory context. Loads and
// saves the BMP format (1, 4, 8, 24 and 32 bits per pixel, uncompressed). Its stored "Data" is a
// byte count and a 32-bit BMP file, so every pixel comes back with its alpha.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/Canvas.h"
#include "framework/Graphic.h"
#include "platform/gdi/Surface.h"

namespace vandrel {

enum TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TGraphic {
  VANDREL_CLASS_INFO
 public:
  TBitmap();
  TBitmap(int width, int height);
  ~TBitmap() override;

  void Assign(const TPersistent& source) override;

  bool Empty() const override { return m_width == 0 || m_height == 0; }
  int Width() const override { return m_width; }
  int Height() const override { return m_height; }
  void SetWidth(int width) override { SetSize(width, m_height); }
  void SetHeight(int height) override { SetSize(m_width, height); }
  // The content is kept where it overlaps; new pixels are white.
  void SetSize(int width, int height);

  // The section; null while empty.
  HBITMAP Handle() const { return m_handle; }
  std::shared_ptr<TSurface> Surface() const;
  // A row of 0xAARRGGBB pixels, top row 0.
  std::uint32_t* ScanLine(int y) const;
  TCanvas* Canvas();

  // The colour left out when drawn with Transparent: the bottom-left pixel under tmAuto.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor color);
  TTransparentMode TransparentMode() const { return m_transparentMode; }
  void SetTransparentMode(TTransparentMode mode) { m_transparentMode = mode; }

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;

 protected:
  void Draw(TCanvas& canvas, const TRect& rect) const override;
  // A count of 0 reads as an empty bitmap (it is never written: an empty bitmap stores no Data).
  void ReadData(TStream& stream) override;
  void WriteData(TStream& stream) const override;

 private:
  void FreeImage();
  HDC SourceDC() const;

  int m_width = 0;
  int m_height = 0;
  HBITMAP m_handle;
  std::unique_ptr<TCanvas> m_canvas;
  mutable HDC m_dc;
  TColor m_transparentColor = clDefault;
  TTransparentMode m_transparentMode = tmAuto;
};

}  // namespace vandrel
