// Classic 3-D edges (DrawEdge): two rings of lines, each with a top-left and a bottom-right colour.
#pragma once

#include "platform/gdi/DeviceContext.h"

namespace vandrel {

enum : UINT {
  BDR_RAISEDOUTER = 0x1, BDR_SUNKENOUTER = 0x2, BDR_RAISEDINNER = 0x4, BDR_SUNKENINNER = 0x8,
  BDR_OUTER = 0x3, BDR_INNER = 0xC, BDR_RAISED = 0x5, BDR_SUNKEN = 0xA,
  EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER, EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
  EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER, EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER
};
enum : UINT {
  BF_LEFT = 0x1, BF_TOP = 0x2, BF_RIGHT = 0x4, BF_BOTTOM = 0x8, BF_TOPLEFT = 0x3,
  BF_BOTTOMRIGHT = 0xC, BF_RECT = 0xF, BF_MIDDLE = 0x800, BF_SOFT = 0x1000, BF_ADJUST = 0x2000,
  BF_FLAT = 0x4000, BF_MONO = 0x8000
};

// Outer ring: raised 3D light / 3D dark shadow, sunken button shadow / button highlight; inner
// ring: raised button highlight / button shadow, sunken 3D dark shadow / 3D light. The top-left
// colour covers the left column and top row except the corners the right and bottom sides own.
// BF_MIDDLE fills what is left with the button face; BF_ADJUST moves rect's flagged sides inward
// by the width drawn. BF_FLAT draws a button-shadow and a button-face ring, BF_MONO a window-frame
// and a window ring.
bool DrawEdge(HDC dc, TRect* rect, UINT edge, UINT flags);

}  // namespace vandrel
