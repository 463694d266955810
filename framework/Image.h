// TImage: a windowless control that shows a picture, stretched to its size, centred or proportional.
#pragma once

#include <memory>

#include "framework/GraphicControl.h"
#include "framework/Picture.h"

namespace vandrel {

class TImage : public TGraphicControl {
  VANDREL_CLASS_INFO
 public:
  explicit TImage(TComponent* owner);
  ~TImage() override;

  TPicture* Picture() const { return m_picture.get(); }
  void SetPicture(const TPicture& picture) { m_picture->Assign(picture); }
  bool Stretch() const { return m_stretch; }
  void SetStretch(bool v);
  bool Center() const { return m_center; }
  void SetCenter(bool v);
  bool Proportional() const { return m_proportional; }
  void SetProportional(bool v);
  // The rectangle the picture is drawn into, client coordinates.
  TRect DestRect() const;

 protected:
  void Paint() override;

 private:
  std::unique_ptr<TPicture> m_picture;
  bool m_stretch = false;
  bool m_center = false;
  bool m_proportional = false;
};

}  // namespace vandrel
