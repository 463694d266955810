// TSeSkinEngine: the component every skinned part of a window names as its engine. It holds the
// skin file the window is drawn with.
//
// For now it only keeps the file's name and the design-time settings: reading the skin file and
// handing skin objects to the skinned components come with the skin container and object model,
// and until then every control draws its own look.
#pragma once

#include <string>

#include "framework/Component.h"
#include "skin/SkinClient.h"

namespace vandrel {

class TSeSkinEngine : public TComponent {
 public:
  explicit TSeSkinEngine(TComponent* owner) : TComponent(owner) {}

  const std::string& SkinFile() const { return m_skinFile; }
  void SetSkinFile(const std::string& fileName);
  int DeltaHue() const { return m_deltaHue; }
  void SetDeltaHue(int value) { m_deltaHue = value; }
  const std::string& Version() const { return m_version; }
  // The loaded skin its clients bind to; none until skin files are read.
  virtual const ISeSkinSource* Source() const { return nullptr; }

 private:
  std::string m_skinFile;
  int m_deltaHue = 0;
  std::string m_version = "3.4.7";
};

}  // namespace vandrel
