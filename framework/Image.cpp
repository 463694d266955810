#include "framework/Image.h"

#include "framework/PropertyInfo.h"

namespace vandrel {

const TClassInfo& TImage::StaticClassInfo() {
  using T = TImage;
  static const TClassInfo info("TImage", &TGraphicControl::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Boolean("Center", &T::Center, &T::SetCenter, false),
      prop::Object("Picture", &T::Picture),
      prop::Boolean("Proportional", &T::Proportional, &T::SetProportional, false),
      prop::Boolean("Stretch", &T::Stretch, &T::SetStretch, false),
  });
  return info;
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner), m_picture(std::make_unique<TPicture>()) {
  SetControlStyle(ControlStyle().Include(csReplicatable));
  m_picture->OnChange = [this](TPicture*) {
    TGraphic* g = m_picture->Graphic();
    // An opaque picture that covers the control lets the parent skip painting behind it.
    bool opaque = g && !g->Transparent() && (m_stretch || (g->Width() >= Width() && g->Height() >= Height()));
    TControlStyle s = ControlStyle();
    SetControlStyle(opaque ? s.Include(csOpaque) : s.Exclude(csOpaque));
    Invalidate();
  };
  SetBounds(0, 0, 105, 105);
}

TImage::~TImage() = default;

void TImage::SetStretch(bool v) {
  if (v == m_stretch) return;
  m_stretch = v;
  Invalidate();
}
void TImage::SetCenter(bool v) {
  if (v == m_center) return;
  m_center = v;
  Invalidate();
}
void TImage::SetProportional(bool v) {
  if (v == m_proportional) return;
  m_proportional = v;
  Invalidate();
}

TRect TImage::DestRect() const {
  int w = m_picture->Width(), h = m_picture->Height();
  int cw = ClientWidth(), ch = ClientHeight();
  if (m_stretch || (m_proportional && (w > cw || h > ch))) {
    if (m_proportional && w > 0 && h > 0) {
      if (std::int64_t(cw) * h > std::int64_t(ch) * w) {
        w = int(std::int64_t(ch) * w / h);
        h = ch;
      } else {
        h = int(std::int64_t(cw) * h / w);
        w = cw;
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  TRect r = Rect(0, 0, w, h);
  if (m_center) r = OffsetRect(r, (cw - w) / 2, (ch - h) / 2);
  return r;
}

void TImage::Paint() {
  TGraphic* g = m_picture->Graphic();
  if (!g || g->Empty()) return;
  Canvas()->StretchDraw(DestRect(), *g);
}

}  // namespace vandrel
