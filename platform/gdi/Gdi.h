// The whole drawing layer in one include.
#pragma once

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Fill.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/Pen.h"
#include "platform/gdi/Region.h"
#include "platform/gdi/RegionApi.h"
#include "platform/gdi/StockObjects.h"
#include "platform/gdi/Surface.h"
