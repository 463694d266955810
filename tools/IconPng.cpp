// Build tool: writes one image of the program's .ico files as a PNG with alpha, for the desktop's
// icon theme. The image must be in one of the files at exactly the size asked for: a theme icon
// that was scaled here would look worse than what the artwork draws at that size.
//   vandrel-icon-png <size> <out.png> <file.ico>...
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/gdi/Icon.h"
#include "platform/gdi/PngWriter.h"
#include "platform/os/AtomicFile.h"

using namespace vandrel;

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fputs("usage: vandrel-icon-png <size> <out.png> <file.ico>...\n", stderr);
    return 2;
  }
  const int size = std::atoi(argv[1]);
  const std::string output = argv[2];
  try {
    for (int i = 3; i < argc; ++i) {
      TFileReadResult file = ReadWholeFile(argv[i]);
      if (!file.bytes) throw EOSError(std::string("Cannot read ") + argv[i]);
      const std::string& bytes = *file.bytes;
      HICON icon = CreateIconFromIcoData({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, size);
      const TSize found = GetIconSize(icon);
      auto* pixels = LookupObject<TIconObject>(icon.Value());
      if (found.cx == size && found.cy == size && pixels) WritePng(pixels->Pixels(), output, true);
      DestroyIcon(icon);
      if (found.cx == size && found.cy == size) return 0;
    }
    std::fprintf(stderr, "vandrel-icon-png: no %d x %d image in the icon files\n", size, size);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vandrel-icon-png: %s\n", e.what());
  }
  return 1;
}
