// TGraphic: a picture that can be loaded from a stream and drawn (stretched) on a canvas. The
// bitmap, the icon and the JPEG image derive from it; TPicture holds one of them. A graphic kept as
// a published property stores its pixels as the binary property "Data" in the component stream.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Persistent.h"
#include "platform/core/Exception.h"
#include "platform/core/Geometry.h"
#include "platform/core/Stream.h"

namespace vandrel {

class TCanvas;

// Damaged or unsupported picture data.
VANDREL_EXCEPTION(EInvalidGraphic, EReadError);

class TGraphic : public TPersistent {
  VANDREL_CLASS_INFO
 public:
  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(int width) = 0;
  virtual void SetHeight(int height) = 0;
  bool Transparent() const { return m_transparent; }
  void SetTransparent(bool value);

  // Raises an exception derived from EReadError for damaged data; the graphic keeps what it
  // held before.
  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) const = 0;
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;

  // "Data", written unless the graphic is empty.
  void DefineProperties(TFiler& filer) override;

  std::function<void(TGraphic*)> OnChange;

 protected:
  friend class TCanvas;
  friend class TPicture;
  // The graphic's stored form. ReadData is given a stream that ends where the form ends and must
  // take all of it; damaged data raises EInvalidGraphic and the graphic keeps what it held. The
  // plain form is the file format; graphics with a length-prefixed form override both.
  virtual void ReadData(TStream& stream) { LoadFromStream(stream); }
  virtual void WriteData(TStream& stream) const { SaveToStream(stream); }
  // A 4-byte little-endian byte count, then that many bytes, which end the stream exactly.
  static std::vector<std::uint8_t> ReadSizedData(TStream& stream, std::string_view what);
  static void WriteSizedData(TStream& stream, const std::vector<std::uint8_t>& bytes);
  // Draws the whole graphic stretched into rect.
  virtual void Draw(TCanvas& canvas, const TRect& rect) const = 0;
  void Changed() {
    if (OnChange) OnChange(this);
  }

 private:
  bool m_transparent = false;
};

}  // namespace vandrel
