#include "platform/os/Resources.h"

#include <string>
#include <vector>

#include "platform/core/Text.h"

namespace vandrel {
namespace {

// Filled during static initialisation, before main; only read afterwards.
std::vector<TResource>& Table() {
  static std::vector<TResource> table;
  return table;
}

const TResource& Found(std::string_view name, std::string_view type) {
  const TResource* resource = FindResource(name, type);
  if (resource == nullptr) throw EResNotFound("Resource " + std::string(name) + " not found");
  return *resource;
}

}  // namespace

TResourceRegistration::TResourceRegistration(const char* type, const char* name, const unsigned char* data,
                                             std::size_t size) {
  Table().push_back({type, name, data, size});
}

const TResource* FindResource(std::string_view name, std::string_view type) {
  for (const TResource& resource : Table())
    if (SameText(resource.name, name) && SameText(resource.type, type)) return &resource;
  return nullptr;
}

TResourceStream::TResourceStream(std::string_view name, std::string_view type)
    : TReadOnlyMemoryStream(Found(name, type).data, std::int64_t(Found(name, type).size)) {}

}  // namespace vandrel
