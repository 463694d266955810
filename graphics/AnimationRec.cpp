#include "graphics/AnimationRec.h"

#include <algorithm>

#include "framework/PropertyInfo.h"

namespace vandrel {

const TClassInfo& TseAnimationRec::StaticClassInfo() {
  using T = TseAnimationRec;
  static const TClassInfo info("TseAnimationRec", &TComponent::StaticClassInfo(),
                               ComponentFactory<T>(), {
      prop::Object("Bitmap", &T::Bitmap),
      prop::String("Effect", &T::Effect, &T::SetEffect),
      prop::Boolean("Enabled", &T::Enabled, &T::SetEnabled, false),
      prop::Integer("Resolution", &T::Resolution, &T::SetResolution, 1),
      prop::Enum("Rotation", &T::Rotation, &T::SetRotation, kRotationNames, krNone),
      prop::Integer("TileCount", &T::TileCount, &T::SetTileCount, 1),
      prop::Integer("Time", &T::Time, &T::SetTime, 400),
  });
  return info;
}

TseAnimationRec::TseAnimationRec(TComponent* owner)
    : TComponent(owner), m_bitmap(std::make_unique<TBitmap>()) {}

TseAnimationRec::~TseAnimationRec() = default;

// The limits apply to a new value only, so an unchanged value is never rewritten.
void TseAnimationRec::SetResolution(int value) {
  if (value != m_resolution) m_resolution = std::clamp(value, 1, 10);
}

void TseAnimationRec::SetTileCount(int value) {
  if (value != m_tileCount) m_tileCount = std::clamp(value, 1, 20);
}

void TseAnimationRec::SetTime(int value) {
  if (value != m_time) m_time = std::clamp(value, 50, 9000);
}

void TseAnimationRec::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TseAnimationRec*>(&source)) {
    SetBitmap(*other->m_bitmap);
    m_effect = other->m_effect;
    m_enabled = other->m_enabled;
    m_resolution = other->m_resolution;
    m_rotation = other->m_rotation;
    m_tileCount = other->m_tileCount;
    m_time = other->m_time;
    return;
  }
  TComponent::Assign(source);
}

}  // namespace vandrel
