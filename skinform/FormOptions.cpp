#include "skinform/FormOptions.h"

#include <algorithm>

#include "framework/PropertyInfo.h"

namespace vandrel {

// ---- TSeShadow ----

const TClassInfo& TSeShadow::StaticClassInfo() {
  using T = TSeShadow;
  static const TClassInfo info("TSeShadow", &TPersistent::StaticClassInfo(), nullptr, {
      prop::Boolean("Enabled", &T::Enabled, &T::SetEnabled, false),
      prop::Integer("Size", &T::Size, &T::SetSize, 4),
  });
  return info;
}

void TSeShadow::SetEnabled(bool value) {
  if (m_enabled == value) return;
  m_enabled = value;
  Changed();
}

void TSeShadow::SetSize(int value) {
  value = std::min(value, 20);
  bool changed = value != m_size;
  m_size = value;
  if (value <= 0 && m_enabled) {
    m_enabled = false;
    changed = true;
  }
  if (changed) Changed();
}

void TSeShadow::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TSeShadow*>(&source)) {
    m_enabled = other->m_enabled;
    m_size = other->m_size;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

// ---- TSeGravitation ----

const TClassInfo& TSeGravitation::StaticClassInfo() {
  using T = TSeGravitation;
  static const TClassInfo info("TSeGravitation", &TPersistent::StaticClassInfo(), nullptr, {
      prop::Boolean("Enabled", &T::Enabled, &T::SetEnabled, true),
      prop::Integer("Size", &T::Size, &T::SetSize, 20),
  });
  return info;
}

void TSeGravitation::SetSize(int value) { m_size = std::clamp(value, 1, 50); }

void TSeGravitation::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TSeGravitation*>(&source)) {
    m_enabled = other->m_enabled;
    m_size = other->m_size;
    return;
  }
  TPersistent::Assign(source);
}

// ---- TSeDragging ----

const TClassInfo& TSeDragging::StaticClassInfo() {
  using T = TSeDragging;
  static const TClassInfo info("TSeDragging", &TPersistent::StaticClassInfo(), nullptr, {
      prop::Enum("DragMode", &T::DragMode, &T::SetDragMode, kFormDragModeNames, kfdmFullDrag),
      prop::Boolean("Moveable", &T::Moveable, &T::SetMoveable, true),
      prop::Boolean("Sizeable", &T::Sizeable, &T::SetSizeable, true),
  });
  return info;
}

void TSeDragging::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TSeDragging*>(&source)) {
    m_moveable = other->m_moveable;
    m_sizeable = other->m_sizeable;
    m_dragMode = other->m_dragMode;
    return;
  }
  TPersistent::Assign(source);
}

// ---- TSeAnimation ----

const TClassInfo& TSeAnimation::StaticClassInfo() {
  using T = TSeAnimation;
  static const TClassInfo info("TSeAnimation", &TPersistent::StaticClassInfo(), nullptr, {
      prop::Enum("Direction", &T::Direction, &T::SetDirection, kDirectionNames, kdNone),
      prop::String("EffectKind", &T::EffectKind, &T::SetEffectKind),
      prop::Boolean("Enabled", &T::Enabled, &T::SetEnabled, false),
      prop::Integer("Resolution", &T::Resolution, &T::SetResolution, 1),
      prop::Integer("TileCount", &T::TileCount, &T::SetTileCount, 1),
      prop::Integer("Time", &T::Time, &T::SetTime, 400),
  });
  return info;
}

TSeAnimation::TSeAnimation() : m_rec(std::make_unique<TseAnimationRec>()) {}

TSeAnimation::~TSeAnimation() = default;

TSeDirection TSeAnimation::Direction() const {
  switch (m_rec->Rotation()) {
    case krRotate90: return kdRotate90;
    case krRotate180: return kdRotate180;
    case krRotate270: return kdRotate270;
    case krNone: break;
  }
  return kdNone;
}

void TSeAnimation::SetDirection(TSeDirection value) {
  switch (value) {
    case kdRotate90: m_rec->SetRotation(krRotate90); return;
    case kdRotate180: m_rec->SetRotation(krRotate180); return;
    case kdRotate270: m_rec->SetRotation(krRotate270); return;
    case kdNone:
    case kdNoRotate: break;
  }
  m_rec->SetRotation(krNone);
}

void TSeAnimation::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TSeAnimation*>(&source)) {
    m_rec->Assign(*other->m_rec);
    return;
  }
  TPersistent::Assign(source);
}

// ---- TSePopupMenuOptions ----

const TClassInfo& TSePopupMenuOptions::StaticClassInfo() {
  using T = TSePopupMenuOptions;
  static const TClassInfo info("TSePopupMenuOptions", &TPersistent::StaticClassInfo(), nullptr, {
      prop::Object("Animation", &T::Animation),
      prop::Object("Blending", &T::Blending),
      prop::Object("Shadow", &T::Shadow),
  });
  return info;
}

TSePopupMenuOptions::TSePopupMenuOptions(std::function<void()> onChange)
    : m_blending(std::make_unique<TSeBlending>()),
      m_shadow(std::make_unique<TSeShadow>()),
      m_animation(std::make_unique<TSeAnimation>()),
      m_onChange(std::move(onChange)) {}

void TSePopupMenuOptions::SetBlending(const TSeBlending& value) {
  m_blending->Assign(value);
  Changed();
}

void TSePopupMenuOptions::SetShadow(const TSeShadow& value) {
  m_shadow->Assign(value);
  Changed();
}

void TSePopupMenuOptions::SetAnimation(const TSeAnimation& value) {
  m_animation->Assign(value);
  Changed();
}

void TSePopupMenuOptions::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TSePopupMenuOptions*>(&source)) {
    m_blending->Assign(*other->m_blending);
    m_shadow->Assign(*other->m_shadow);
    m_animation->Assign(*other->m_animation);
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

// ---- TSeFormOptions ----

const TClassInfo& TSeFormOptions::StaticClassInfo() {
  static const TClassInfo info("TSeFormOptions", &TSePopupMenuOptions::StaticClassInfo(), nullptr, {});
  return info;
}

void TSeFormOptions::Assign(const TPersistent& source) { TSePopupMenuOptions::Assign(source); }

}  // namespace vandrel
