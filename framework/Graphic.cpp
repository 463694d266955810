#include "framework/Graphic.h"

#include "framework/PropertyInfo.h"

namespace vandrel {

const TClassInfo& TGraphic::StaticClassInfo() {
  static const TClassInfo info("TGraphic", &TPersistent::StaticClassInfo(), nullptr, {});
  return info;
}

void TGraphic::SetTransparent(bool value) {
  if (value == m_transparent) return;
  m_transparent = value;
  Changed();
}

void TGraphic::LoadFromFile(const std::string& fileName) {
  TFileStream stream(fileName, fmOpenRead);
  LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& fileName) const {
  TFileStream stream(fileName, fmCreate);
  SaveToStream(stream);
}

}  // namespace vandrel
