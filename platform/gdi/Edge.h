// Classic 3-D edges (DrawEdge): two rings of lines, each with a top-left and a bottom-right colour.
#pragma once

#include "platform/gdi/DeviceContext.h"

namespace vandrel {

inline constexpr UINT BDR_RAISEDOUTER = 0x1;
inline constexpr UINT BDR_SUNKENOUTER = 0x2;
inline constexpr UINT BDR_RAISEDINNER = 0x4;
inline constexpr UINT BDR_SUNKENINNER = 0x8;
inline constexpr UINT BDR_OUTER = 0x3;
inline constexpr UINT BDR_INNER = 0xC;
inline constexpr UINT BDR_RAISED = 0x5;
inline constexpr UINT BDR_SUNKEN = 0xA;
inline constexpr UINT EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
inline constexpr UINT EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
inline constexpr UINT EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
inline constexpr UINT EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
inline constexpr UINT BF_LEFT = 0x1;
inline constexpr UINT BF_TOP = 0x2;
inline constexpr UINT BF_RIGHT = 0x4;
inline constexpr UINT BF_BOTTOM = 0x8;
inline constexpr UINT BF_TOPLEFT = 0x3;
inline constexpr UINT BF_BOTTOMRIGHT = 0xC;
inline constexpr UINT BF_RECT = 0xF;
inline constexpr UINT BF_MIDDLE = 0x800;
inline constexpr UINT BF_SOFT = 0x1000;
inline constexpr UINT BF_ADJUST = 0x2000;
inline constexpr UINT BF_FLAT = 0x4000;
inline constexpr UINT BF_MONO = 0x8000;

// Outer ring: raised 3D light / 3D dark shadow, sunken button shadow / button highlight; inner
// ring: raised button highlight / button shadow, sunken 3D dark shadow / 3D light. The top-left
// colour covers the left column and top row except the corners the right and bottom sides own.
// BF_MIDDLE fills what is left with the button face; BF_ADJUST moves rect's flagged sides inward
// by the width drawn. BF_FLAT draws a button-shadow and a button-face ring, BF_MONO a window-frame
// and a window ring.
bool DrawEdge(HDC dc, TRect* rect, UINT edge, UINT flags);

}  // namespace vandrel
