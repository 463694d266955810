#include "skin/SkinFilter.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "framework/PropertyInfo.h"
#include "platform/core/Text.h"
#include "skin/SkinContent.h"
#include "skin/SkinSource.h"
#include "skin/ZlibStream.h"

namespace vandrel {

namespace {

constexpr char kMagic[4] = {'Q', 'D', 'L', 'Z'};

std::vector<const TSeSkinFilterClass*>& Registry() {
  static std::vector<const TSeSkinFilterClass*> filters = {
      &SkinFilterClass<TSeSkinFilterUncompressed>(),
      &SkinFilterClass<TSeSkinFilterCompressed>(),
      &SkinFilterClass<TSeSkinFilterUltraCompressed>(),
      &SkinFilterClass<TSeSkinFilterMaxCompression>(),
  };
  return filters;
}

TSeSkinSource& Attached(TSeSkinSource* source) {
  if (!source) throw EInvalidOperation("The skin filter has no skin source");
  return *source;
}

}  // namespace

const TClassInfo& TSeSkinFilter::StaticClassInfo() {
  static const TClassInfo info("TSeSkinFilter", &TPersistent::StaticClassInfo(), nullptr, {});
  return info;
}
const TClassInfo& TSeSkinFilterUncompressed::StaticClassInfo() {
  static const TClassInfo info("TSeSkinFilterUncompressed", &TSeSkinFilter::StaticClassInfo(), nullptr, {});
  return info;
}
const TClassInfo& TSeSkinFilterCompressed::StaticClassInfo() {
  static const TClassInfo info("TSeSkinFilterCompressed", &TSeSkinFilter::StaticClassInfo(), nullptr, {});
  return info;
}
const TClassInfo& TSeSkinFilterUltraCompressed::StaticClassInfo() {
  static const TClassInfo info("TSeSkinFilterUltraCompressed", &TSeSkinFilter::StaticClassInfo(), nullptr, {});
  return info;
}
const TClassInfo& TSeSkinFilterMaxCompression::StaticClassInfo() {
  static const TClassInfo info("TSeSkinFilterMaxCompression", &TSeSkinFilterUltraCompressed::StaticClassInfo(),
                               nullptr, {});
  return info;
}

void TSeSkinFilter::ReadSkin(TStream& stream) {
  ReadSkinContent(Attached(m_source), stream, TSkinContentForm::General);
}

void TSeSkinFilter::WriteSkin(TStream& stream) {
  WriteSkinContent(Attached(m_source), stream, TSkinContentForm::General);
}

void TSeSkinFilterMaxCompression::ReadSkin(TStream& stream) {
  ReadSkinContent(Attached(Source()), stream, TSkinContentForm::MaxCompression);
}

void TSeSkinFilterMaxCompression::WriteSkin(TStream& stream) {
  WriteSkinContent(Attached(Source()), stream, TSkinContentForm::MaxCompression);
}

void TSeSkinFilter::LoadContainer(TStream& stream) {
  char magic[4];
  stream.Read(magic, 4);
  // Inflated whole before it is read: inflating in the small pieces the records ask for costs
  // more than the records, and they can then be read where they lie.
  // The buffer doubles as the data arrives and is never cleared first.
  std::unique_ptr<std::uint8_t[]> bytes;
  std::int64_t size = 0;
  {
    TDecompressionStream content(stream, kMaxSkinContentSize);
    for (std::int64_t capacity = 0;;) {
      if (size == capacity) {
        capacity = std::max<std::int64_t>(2 * capacity, 1 << 18);
        auto grown = std::make_unique_for_overwrite<std::uint8_t[]>(size_t(capacity));
        if (size) std::memcpy(grown.get(), bytes.get(), size_t(size));
        bytes = std::move(grown);
      }
      const std::int64_t got = content.Read(bytes.get() + size, capacity - size);
      if (got == 0) break;
      size += got;
    }
  }
  TReadOnlyMemoryStream content(bytes.get(), size);
  ReadSkin(content);
}

void TSeSkinFilter::SaveContainer(TStream& stream, int level) {
  stream.WriteBuffer(kMagic, 4);
  TCompressionStream content(level, stream);
  WriteSkin(content);
  content.Finish();
}

void RegisterSkinFilter(const TSeSkinFilterClass& filter) { Registry().push_back(&filter); }

void UnregisterSkinFilter(const TSeSkinFilterClass& filter) {
  auto& filters = Registry();
  auto it = std::find(filters.begin(), filters.end(), &filter);
  if (it != filters.end()) filters.erase(it);
}

const std::vector<const TSeSkinFilterClass*>& SkinFilters() { return Registry(); }

std::string ExtractFileExt(std::string_view fileName) {
  const size_t dot = fileName.find_last_of("./");
  if (dot == std::string_view::npos || fileName[dot] != '.') return {};
  return std::string(fileName.substr(dot));
}

const TSeSkinFilterClass* FindSkinFilter(std::string_view fileName) {
  const std::string ext = LowerCase(ExtractFileExt(fileName));
  if (ext.empty()) return nullptr;
  for (const TSeSkinFilterClass* filter : Registry())
    if (ext == "." + LowerCase(filter->GetExtension())) return filter;
  return nullptr;
}

}  // namespace vandrel
