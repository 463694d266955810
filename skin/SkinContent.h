// The skin content form that the filters read and write: the five header strings, the images and
// the top-level objects. The general form stores raw image records and text object records; the
// "mskn" form stores binary object records and marks its image count (bits 16 to 19 set) when it
// holds raw image records, legacy files holding BMP image records instead.
#pragma once

#include "platform/core/Stream.h"

namespace vandrel {

class TSeSkinSource;

enum class TSkinContentForm { General, MaxCompression };

// Empties the source first; a failure leaves what was read before it.
void ReadSkinContent(TSeSkinSource& source, TStream& stream, TSkinContentForm form);
void WriteSkinContent(const TSeSkinSource& source, TStream& stream, TSkinContentForm form);

}  // namespace vandrel
