// The internal side of update regions: how positioning, showing and shaping windows mark what
// must be repainted. Internal to platform/win.
#pragma once

#include "platform/gdi/Region.h"
#include "platform/win/WindowRecord.h"

namespace vandrel {

// Adds area (in w's window coordinates) to w's update region: the client part to its update
// region, the rest to its frame; with allChildren the children under it as well.
void InvalidateWindowArea(TWindowRecord& w, const TRegion& area, bool erase, bool allChildren);
// The whole window, frame included, and all its children.
void InvalidateWholeWindow(TWindowRecord& w);
// The part of the parent (and the siblings) that a child covered at oldRect (parent client
// coordinates) and no longer does.
void InvalidateExposed(TWindowRecord& parent, const TRect& oldRect);
// The region of w that can be seen on its top-level window, in w's window coordinates:
// clipped by the ancestors' client areas and shapes, siblings in front under WS_CLIPSIBLINGS,
// children under WS_CLIPCHILDREN when clipChildren.
TRegion VisibleRegion(const TWindowRecord& w, bool clientOnly, bool clipChildren);
// Points every open window context at its window's backing store and visible region as they
// are now: after a window moved, was resized (a new store), shown, hidden, restacked or shaped.
void RefreshWindowDCs();
// Tells the display that a top-level window's backing store changed.
void NotifySurfaceChanged(TWindowRecord& topLevel, const TRect& windowRect);

}  // namespace vandrel
