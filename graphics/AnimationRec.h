// TseAnimationRec: the settings of one transition (which effect, how long, on how coarse a grid,
// how often the pattern repeats, which way it is turned, and the picture of the bitmap effect).
// Stored forms hold it, so it is a streamable component with published properties.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "framework/Bitmap.h"
#include "framework/Component.h"

namespace vandrel {

enum TseRotation { krNone, krRotate90, krRotate180, krRotate270 };
inline constexpr std::array<std::string_view, 4> kRotationNames = {
    "krNone", "krRotate90", "krRotate180", "krRotate270"};
static_assert(kRotationNames.size() == size_t(krRotate270) + 1);

inline constexpr std::string_view kRandomEffectName = "[ RANDOM ] - Random selection";
inline constexpr std::string_view kBitmapEffectName = "[ BITMAP ] - Bitmap Animation";

class TseAnimationRec : public TComponent {
  VANDREL_CLASS_INFO
 public:
  explicit TseAnimationRec(TComponent* owner = nullptr);
  ~TseAnimationRec() override;

  // The picture of the bitmap effect: owned, and copied when set.
  TBitmap* Bitmap() const { return m_bitmap.get(); }
  void SetBitmap(const TBitmap& value) { m_bitmap->Assign(value); }
  // A display name from EffectNames; stored as given.
  const std::string& Effect() const { return m_effect; }
  void SetEffect(const std::string& value) { m_effect = value; }
  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool value) { m_enabled = value; }
  // Cell size in pixels, 1 to 10.
  int Resolution() const { return m_resolution; }
  void SetResolution(int value);
  TseRotation Rotation() const { return m_rotation; }
  void SetRotation(TseRotation value) { m_rotation = value; }
  // The pattern repeats TileCount x TileCount times, 1 to 20.
  int TileCount() const { return m_tileCount; }
  void SetTileCount(int value);
  // Duration in milliseconds, 50 to 9000.
  int Time() const { return m_time; }
  void SetTime(int value);

  void Assign(const TPersistent& source) override;

 private:
  std::unique_ptr<TBitmap> m_bitmap;
  std::string m_effect{kRandomEffectName};
  bool m_enabled = false;
  int m_resolution = 1;
  TseRotation m_rotation = krNone;
  int m_tileCount = 1;
  int m_time = 400;
};

}  // namespace vandrel
