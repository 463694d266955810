// Skins built in code for the skin file tests, byte builders for hand-made content, and a text
// description of a source that two equal skins share.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Canvas.h"
#include "graphics/Bitmap.h"
#include "platform/core/Stream.h"
#include "skin/SkinFilter.h"
#include "skin/SkinSource.h"

namespace vandrel::test {

using Bytes = std::vector<std::uint8_t>;

std::unique_ptr<TseBitmap> MakeImage(const std::string& name, int width, int height,
                                     std::initializer_list<TseColor> pixels);

// A white bitmap with a canvas on it, for exact pixels of small drawings.
class TTestCanvas {
 public:
  TTestCanvas(int width, int height);
  ~TTestCanvas();
  TTestCanvas(const TTestCanvas&) = delete;
  TTestCanvas& operator=(const TTestCanvas&) = delete;
  // The colour without its alpha: 0xRRGGBB.
  std::uint32_t At(int x, int y) const { return bitmap.Pixel(x, y) & 0xFFFFFF; }
  // The pixels of a row from x0 to x1 (excluded), one character per pixel from legend: the
  // character at the index of the pixel's colour in colours, '?' for any other colour.
  std::string Row(int y, int x0, int x1, std::initializer_list<std::uint32_t> colours, std::string_view legend) const;
  TseBitmap bitmap;
  TCanvas canvas;
};

// Two images (one of them keyed) and two top-level trees: "Form" (skForm) holding a caption that
// holds an skClient object, and a "Button" in another font.
void FillSampleSkin(TSeSkinSource& source);

// Header strings, every image's name, size and pixels, and every tree in its text form.
std::string Describe(const TSeSkinSource& source);

// The little-endian pieces of the content form.
class ContentBuilder {
 public:
  ContentBuilder& Int(std::int32_t value);
  ContentBuilder& Str(std::string_view value);
  ContentBuilder& Raw(const Bytes& bytes);
  ContentBuilder& Raw(std::string_view bytes);
  // The five header strings.
  ContentBuilder& Header(std::string_view name = "Test");
  const Bytes& Data() const { return m_data; }

 private:
  Bytes m_data;
};

// The bytes a filter writes for source, and a load of bytes through a filter.
template <typename Filter>
Bytes SaveWith(TSeSkinSource& source) {
  TMemoryStream out;
  Filter filter;
  filter.SetSource(&source);
  filter.SaveToStream(out);
  return out.Bytes();
}
template <typename Filter>
void LoadWith(TSeSkinSource& source, const Bytes& bytes) {
  TReadOnlyMemoryStream in(bytes.data(), std::int64_t(bytes.size()));
  Filter filter;
  filter.SetSource(&source);
  filter.LoadFromStream(in);
}

// A zlib stream of data at level.
Bytes Deflate(const Bytes& data, int level = 9);
// magic + Deflate(content).
Bytes Container(const Bytes& content, std::string_view magic = "QDLZ", int level = 1);
Bytes Inflate(const Bytes& data, size_t from);

// A leaf object's binary component stream, and its record in either form.
std::string ObjectStream(const std::string& className, const std::string& name, std::string_view properties = {});
Bytes BinaryRecord(const std::string& className, const std::string& stream);
Bytes TextRecord(const std::string& className, const std::string& stream);

// A fresh directory under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return m_path; }
  std::string File(std::string_view name) const { return m_path + "/" + std::string(name); }

 private:
  std::string m_path;
};

Bytes ReadFile(const std::string& path);
void WriteFile(const std::string& path, const Bytes& bytes);

}  // namespace vandrel::test
