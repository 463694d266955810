// Named resources carried by the executable: (type, name) -> bytes, linked in at build time by
// vandrel_resources() in cmake/Resources.cmake. Types and names compare without case, as the
// resources of an executable do on Windows.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/core/Exception.h"
#include "platform/core/Stream.h"

namespace vandrel {

VANDREL_EXCEPTION(EResNotFound, Exception);

struct TResource {
  std::string_view type;
  std::string_view name;
  const unsigned char* data;
  std::size_t size;
};

// Made by the generated source of each resource, at static initialisation.
class TResourceRegistration {
 public:
  TResourceRegistration(const char* type, const char* name, const unsigned char* data, std::size_t size);
};

// nullptr when the executable carries no such resource.
const TResource* FindResource(std::string_view name, std::string_view type);

// The bytes of one resource as a read-only stream.
class TResourceStream : public TReadOnlyMemoryStream {
 public:
  // Raises EResNotFound ("Resource DAT not found") when there is no such resource.
  TResourceStream(std::string_view name, std::string_view type);
};

}  // namespace vandrel
