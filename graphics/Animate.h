// Animate: plays a transition on a canvas, from the old picture to the new one, as the record
// says. The frame loop paces itself by the stopwatch: each frame's progress is the time spent so
// far in computing frames, so a slow machine shows fewer frames in the same time; putting a frame
// on the canvas is not counted. The last drawing is the new picture itself.
#pragma once

#include "framework/Canvas.h"
#include "graphics/AnimationRec.h"
#include "graphics/Bitmap.h"
#include "graphics/EffectRegistry.h"

namespace vandrel {

struct TseEffectChoice {
  // Null for the bitmap effect.
  const TseProcItem* Item = nullptr;
  bool Bitmap = false;
  bool Playable() const { return Bitmap || (Item && Item->HasProc()); }
};

// The effect a transition with this record plays: for the random entry an item of the registry
// drawn with EffectRandom (never the bitmap effect); otherwise the bitmap effect or the item
// FindEffect gives (none when the name is not registered).
TseEffectChoice ChooseEffect(const TseAnimationRec& rec);

// Both pictures the same size; the new picture's alpha changes. Nothing is drawn when a picture
// is empty or the effect is unknown. Pictures of different sizes are not animated: the new one is
// drawn at once.
void Animate(TCanvas& canvas, int x, int y, const TseAnimationRec& rec, TseBitmap& newPicture,
             const TseBitmap& oldPicture);

}  // namespace vandrel
