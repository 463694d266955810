// TGraphic: a picture that can be loaded from a stream and drawn (stretched) on a canvas. The
// bitmap, the icon and the JPEG image derive from it; TPicture holds one of them.
#pragma once

#include <functional>
#include <string>

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

  std::function<void(TGraphic*)> OnChange;

 protected:
  friend class TCanvas;
  // Draws the whole graphic stretched into rect.
  virtual void Draw(TCanvas& canvas, const TRect& rect) const = 0;
  void Changed() {
    if (OnChange) OnChange(this);
  }

 private:
  bool m_transparent = false;
};

}  // namespace vandrel
