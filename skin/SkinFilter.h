// The skin filters: one class per skin file type, each knowing its extension and description and
// how to unpack a stream into a skin source and pack a source into a stream, and the process-wide
// registry that picks a filter class by file name.
//
//   type   class                          container             zlib level  content form
//   uskn   TSeSkinFilterUncompressed      none                  -           general
//   kskn   TSeSkinFilterCompressed        "QDLZ" + zlib stream  1           general
//   xskn   TSeSkinFilterUltraCompressed   "QDLZ" + zlib stream  9           general
//   mskn   TSeSkinFilterMaxCompression    as xskn (inherited)   9           "mskn" form
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/PropertyInfo.h"
#include "platform/core/Stream.h"

namespace vandrel {

class TSeSkinSource;
class TSeSkinFilter;

// A filter class reference: its class operations and its constructor.
struct TSeSkinFilterClass {
  std::string_view name;
  std::string_view (*GetExtension)();
  std::string_view (*GetDescription)();
  std::unique_ptr<TSeSkinFilter> (*Create)();
};

template <typename T>
const TSeSkinFilterClass& SkinFilterClass() {
  static const TSeSkinFilterClass info{T::StaticClassInfo().Name(), &T::GetExtension, &T::GetDescription,
                                       []() -> std::unique_ptr<TSeSkinFilter> { return std::make_unique<T>(); }};
  return info;
}

// Decompressed skin content beyond this is taken as damage: real skins unpack to well under a
// megabyte, and the bound keeps a small file from unpacking into gigabytes.
inline constexpr std::int64_t kMaxSkinContentSize = std::int64_t(64) << 20;

class TSeSkinFilter : public TPersistent {
  VANDREL_CLASS_INFO
 public:
  TSeSkinFilter() = default;

  static std::string_view GetExtension() { return {}; }
  static std::string_view GetDescription() { return {}; }

  // The source read into and written from; set by the caller right after creation.
  TSeSkinSource* Source() const { return m_source; }
  void SetSource(TSeSkinSource* source) { m_source = source; }

  // The content form: the general one here.
  virtual void ReadSkin(TStream& stream);
  virtual void WriteSkin(TStream& stream);
  // Unpack the container and ReadSkin; pack what WriteSkin writes. The base has no container.
  virtual void LoadFromStream(TStream&) {}
  virtual void SaveToStream(TStream&) {}

 protected:
  // "QDLZ" and a zlib stream of the content form. The magic is written but never checked.
  void LoadContainer(TStream& stream);
  void SaveContainer(TStream& stream, int level);

 private:
  TSeSkinSource* m_source = nullptr;
};

class TSeSkinFilterUncompressed : public TSeSkinFilter {
  VANDREL_CLASS_INFO
 public:
  static std::string_view GetExtension() { return "uskn"; }
  static std::string_view GetDescription() { return "Uncompressed Skin"; }
  void LoadFromStream(TStream& stream) override { ReadSkin(stream); }
  void SaveToStream(TStream& stream) override { WriteSkin(stream); }
};

class TSeSkinFilterCompressed : public TSeSkinFilter {
  VANDREL_CLASS_INFO
 public:
  static std::string_view GetExtension() { return "kskn"; }
  static std::string_view GetDescription() { return "Compressed Skin"; }
  void LoadFromStream(TStream& stream) override { LoadContainer(stream); }
  void SaveToStream(TStream& stream) override { SaveContainer(stream, 1); }
};

class TSeSkinFilterUltraCompressed : public TSeSkinFilter {
  VANDREL_CLASS_INFO
 public:
  static std::string_view GetExtension() { return "xskn"; }
  static std::string_view GetDescription() { return "Ultra Compressed Skin"; }
  void LoadFromStream(TStream& stream) override { LoadContainer(stream); }
  void SaveToStream(TStream& stream) override { SaveContainer(stream, 9); }
};

class TSeSkinFilterMaxCompression : public TSeSkinFilterUltraCompressed {
  VANDREL_CLASS_INFO
 public:
  static std::string_view GetExtension() { return "mskn"; }
  static std::string_view GetDescription() { return "Maximum Compressed"; }
  // The "mskn" content form.
  void ReadSkin(TStream& stream) override;
  void WriteSkin(TStream& stream) override;
};

// The registry, created on first use holding the four classes in the order of the table above.
void RegisterSkinFilter(const TSeSkinFilterClass& filter);
// Removes the first entry of that class.
void UnregisterSkinFilter(const TSeSkinFilterClass& filter);
// The first registered class whose "." + extension equals the file name's extension, ASCII case
// ignored; nullptr when none does or the name has no extension.
const TSeSkinFilterClass* FindSkinFilter(std::string_view fileName);
const std::vector<const TSeSkinFilterClass*>& SkinFilters();

// The extension of a file name with its dot: the text from the last '.' after the last '/',
// empty when there is none.
std::string ExtractFileExt(std::string_view fileName);

}  // namespace vandrel
