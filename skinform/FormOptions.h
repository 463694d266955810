// The skinned window's option objects: small persistent values that appear as nested properties in
// the form file. Each limits its values silently and tells its owner about a change through a
// callback (the form rebuilds its frame when the shadow changes, for example). What the options do
// to the window lives with the window; these classes are data.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "framework/Persistent.h"
#include "graphics/AnimationRec.h"
#include "graphics/Blending.h"

namespace vandrel {

class TSeShadow : public TPersistent {
  VANDREL_CLASS_INFO
 public:
  explicit TSeShadow(std::function<void()> onChange = {}) : m_onChange(std::move(onChange)) {}

  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool value);
  // Width of the shadow band: at most 20; 0 or less is kept but switches the shadow off.
  int Size() const { return m_size; }
  void SetSize(int value);

  void Assign(const TPersistent& source) override;

 private:
  void Changed() {
    if (m_onChange) m_onChange();
  }

  bool m_enabled = false;
  int m_size = 4;
  std::function<void()> m_onChange;
};

class TSeGravitation : public TPersistent {
  VANDREL_CLASS_INFO
 public:
  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool value) { m_enabled = value; }
  // Snapping distance in pixels, 1 to 50.
  int Size() const { return m_size; }
  void SetSize(int value);

  void Assign(const TPersistent& source) override;

 private:
  bool m_enabled = true;
  int m_size = 20;
};

enum TSeFormDragMode { kfdmBorder, kfdmFullDrag };
inline constexpr std::array<std::string_view, 2> kFormDragModeNames = {"kfdmBorder", "kfdmFullDrag"};
static_assert(kFormDragModeNames.size() == size_t(kfdmFullDrag) + 1);

class TSeDragging : public TPersistent {
  VANDREL_CLASS_INFO
 public:
  bool Moveable() const { return m_moveable; }
  void SetMoveable(bool value) { m_moveable = value; }
  bool Sizeable() const { return m_sizeable; }
  void SetSizeable(bool value) { m_sizeable = value; }
  // Full drag moves and sizes live; border drag shows a drag frame and applies it on release.
  TSeFormDragMode DragMode() const { return m_dragMode; }
  void SetDragMode(TSeFormDragMode value) { m_dragMode = value; }

  void Assign(const TPersistent& source) override;

 private:
  bool m_moveable = true;
  bool m_sizeable = true;
  TSeFormDragMode m_dragMode = kfdmFullDrag;
};

enum TSeDirection { kdNone, kdNoRotate, kdRotate90, kdRotate180, kdRotate270 };
inline constexpr std::array<std::string_view, 5> kDirectionNames = {
    "kdNone", "kdNoRotate", "kdRotate90", "kdRotate180", "kdRotate270"};
static_assert(kDirectionNames.size() == size_t(kdRotate270) + 1);

// The transition played when a window or menu is shown: a view of one transition record, whose
// setters keep their limits.
class TSeAnimation : public TPersistent {
  VANDREL_CLASS_INFO
 public:
  TSeAnimation();
  ~TSeAnimation() override;

  // Kept as a rotation, so "no rotation" reads back as kdNone.
  TSeDirection Direction() const;
  void SetDirection(TSeDirection value);
  const std::string& EffectKind() const { return m_rec->Effect(); }
  void SetEffectKind(const std::string& value) { m_rec->SetEffect(value); }
  bool Enabled() const { return m_rec->Enabled(); }
  void SetEnabled(bool value) { m_rec->SetEnabled(value); }
  int Resolution() const { return m_rec->Resolution(); }
  void SetResolution(int value) { m_rec->SetResolution(value); }
  int TileCount() const { return m_rec->TileCount(); }
  void SetTileCount(int value) { m_rec->SetTileCount(value); }
  int Time() const { return m_rec->Time(); }
  void SetTime(int value) { m_rec->SetTime(value); }

  TseAnimationRec& Rec() { return *m_rec; }
  const TseAnimationRec& Rec() const { return *m_rec; }

  void Assign(const TPersistent& source) override;

 private:
  std::unique_ptr<TseAnimationRec> m_rec;
};

// Blending, shadow and animation of a popup menu. Setting one assigns into the owned object and
// tells the owner once.
class TSePopupMenuOptions : public TPersistent {
  VANDREL_CLASS_INFO
 public:
  explicit TSePopupMenuOptions(std::function<void()> onChange = {});

  TSeBlending* Blending() const { return m_blending.get(); }
  void SetBlending(const TSeBlending& value);
  TSeShadow* Shadow() const { return m_shadow.get(); }
  void SetShadow(const TSeShadow& value);
  TSeAnimation* Animation() const { return m_animation.get(); }
  void SetAnimation(const TSeAnimation& value);

  void Assign(const TPersistent& source) override;

 private:
  void Changed() {
    if (m_onChange) m_onChange();
  }

  std::unique_ptr<TSeBlending> m_blending;
  std::unique_ptr<TSeShadow> m_shadow;
  std::unique_ptr<TSeAnimation> m_animation;
  std::function<void()> m_onChange;
};

// The same three options under their own class name, for streams that name it.
class TSeFormOptions : public TSePopupMenuOptions {
  VANDREL_CLASS_INFO
 public:
  using TSePopupMenuOptions::TSePopupMenuOptions;
  void Assign(const TPersistent& source) override;
};

}  // namespace vandrel
