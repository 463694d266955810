// libFuzzer target for the binary component stream reader and the text form parser, including
// the pixel data graphics store. The first byte picks the path; any vandrel::Exception is an
// accepted outcome, anything else a finding.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "framework/ClassRegistry.h"
#include "framework/Component.h"
#include "framework/Image.h"
#include "framework/ObjectText.h"
#include "framework/Reader.h"
#include "framework/Writer.h"
#include "platform/core/Exception.h"
#include "platform/core/Stream.h"
#include "tests/framework/StreamTestObjects.h"

using namespace vandrel;

namespace {

// A component read successfully must write, convert and read again without trouble.
void Exercise(TComponent& c) {
  std::string text = ComponentToText(c);
  std::unique_ptr<TComponent> again(ComponentFromText(text));
  (void)again;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  // A picture control brings the graphics' stored pixels (bitmap, JPEG and icon data) in reach.
  static bool registered = (test::RegisterTestClasses(), RegisterClass<TImage>(), true);
  (void)registered;
  if (size == 0) return 0;
  std::uint8_t mode = data[0] % 4;
  std::string_view body(reinterpret_cast<const char*>(data + 1), size - 1);
  try {
    switch (mode) {
      case 0: {
        TReadOnlyMemoryStream s(body.data(), std::int64_t(body.size()));
        std::unique_ptr<TComponent> c(ReadComponentFromStream(s));
        Exercise(*c);
        break;
      }
      case 1: {
        std::string text = ObjectBinaryToText(body);
        (void)ObjectTextToBinary(text);
        break;
      }
      case 2: {
        std::string binary = ObjectTextToBinary(body);
        (void)ObjectBinaryToText(binary);
        TReadOnlyMemoryStream s(binary.data(), std::int64_t(binary.size()));
        std::unique_ptr<TComponent> c(ReadComponentFromStream(s));
        Exercise(*c);
        break;
      }
      case 3: {
        // Values of any kind in a row, skipped as a reader does for properties it ignores.
        TReadOnlyMemoryStream s(body.data(), std::int64_t(body.size()));
        TReader reader(s);
        while (s.Position() < s.Size()) reader.SkipValue();
        break;
      }
    }
  } catch (const Exception&) {
  }
  return 0;
}
