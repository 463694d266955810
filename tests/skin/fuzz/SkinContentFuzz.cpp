// libFuzzer target for the skin content form as the filters read it: the first byte picks the
// general form (even) or the "mskn" form (odd), the rest is the content. A skin that loads is
// saved in both forms and read back. Any vandrel::Exception is an accepted outcome; a crash, a
// sanitizer report or an allocation over -malloc_limit_mb is a finding.
#include <cstddef>
#include <cstdint>

#include "platform/core/Exception.h"
#include "platform/core/Stream.h"
#include "skin/SkinFilter.h"
#include "skin/SkinSource.h"

using namespace vandrel;

namespace {

template <typename Filter>
void SaveAndReload(TSeSkinSource& source) {
  TMemoryStream out;
  Filter writer;
  writer.SetSource(&source);
  writer.WriteSkin(out);
  out.SetPosition(0);
  TSeSkinSource again;
  Filter reader;
  reader.SetSource(&again);
  reader.ReadSkin(out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool mskn = data[0] & 1;
  TReadOnlyMemoryStream in(data + 1, std::int64_t(size - 1));
  TSeSkinSource source;
  try {
    if (mskn) {
      TSeSkinFilterMaxCompression filter;
      filter.SetSource(&source);
      filter.ReadSkin(in);
    } else {
      TSeSkinFilterUncompressed filter;
      filter.SetSource(&source);
      filter.LoadFromStream(in);
    }
  } catch (const Exception&) {
    return 0;
  }
  try {
    SaveAndReload<TSeSkinFilterUncompressed>(source);
    SaveAndReload<TSeSkinFilterMaxCompression>(source);
  } catch (const Exception&) {
  }
  return 0;
}
