// TPicture: holds one graphic (bitmap, icon or JPEG image), chosen by the data it loads. Its
// stored "Data" names the graphic's class (a short string) before the graphic's own stored form.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "framework/Graphic.h"

namespace vandrel {

class TBitmap;
class TIcon;

class TPicture : public TPersistent {
  VANDREL_CLASS_INFO
 public:
  TPicture();
  ~TPicture() override;
  void Assign(const TPersistent& source) override;

  // Null while empty.
  TGraphic* Graphic() const { return m_graphic.get(); }
  // A copy of graphic (null empties the picture).
  void SetGraphic(const TGraphic* graphic);
  // The picture as a bitmap: an empty bitmap replaces a graphic of another kind.
  TBitmap* Bitmap();
  int Width() const;
  int Height() const;

  // BMP, ICO or JPEG, recognised by the first bytes. A damaged or unknown file raises
  // EInvalidGraphic and the picture keeps what it held.
  void LoadFromStream(TStream& stream);
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;

  // "Data", written unless the picture is empty.
  void DefineProperties(TFiler& filer) override;

  std::function<void(TPicture*)> OnChange;

 private:
  // Damaged data or an unknown class raises EInvalidGraphic and the picture keeps what it held.
  void ReadData(TStream& stream);
  void WriteData(TStream& stream) const;
  void Changed();
  void Adopt(std::unique_ptr<TGraphic> graphic);
  std::unique_ptr<TGraphic> m_graphic;
};

}  // namespace vandrel
