// libFuzzer target for the compressed container: the input is a whole "kskn" file as
// TSeSkinSource::LoadFromStream reads it (magic, zlib stream, general content form), followed by
// a decompression stream's seeks over the same bytes. Any vandrel::Exception is an accepted
// outcome; a crash, a hang, a sanitizer report or an allocation over -malloc_limit_mb is a finding.
#include <cstddef>
#include <cstdint>

#include "platform/core/Exception.h"
#include "platform/core/Stream.h"
#include "skin/SkinFilter.h"
#include "skin/SkinSource.h"
#include "skin/ZlibStream.h"

using namespace vandrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  TReadOnlyMemoryStream in(data, std::int64_t(size));
  TSeSkinSource source;
  try {
    source.LoadFromStream(in);
  } catch (const Exception&) {
  }
  try {
    TReadOnlyMemoryStream raw(data, std::int64_t(size));
    raw.SetPosition(size < 4 ? std::int64_t(size) : 4);
    TDecompressionStream z(raw, kMaxSkinContentSize);
    std::uint8_t buffer[512];
    z.Read(buffer, sizeof(buffer));
    z.Seek(1000, TSeekOrigin::soCurrent);
    z.Seek(0, TSeekOrigin::soBeginning);
    while (z.Read(buffer, sizeof(buffer)) == std::int64_t(sizeof(buffer))) {
    }
  } catch (const Exception&) {
  }
  return 0;
}
