#include "tools/vandrel-skin/SkinPackage.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "framework/ObjectText.h"
#include "graphics/Bitmap.h"
#include "platform/core/Exception.h"
#include "platform/core/Stream.h"
#include "platform/core/Text.h"
#include "skin/BmpDecoder.h"
#include "skin/BmpEncoder.h"
#include "skin/SkinFilter.h"
#include "skin/SkinObject.h"
#include "skin/SkinRecords.h"
#include "skin/ZlibStream.h"

namespace vandrel::skinpack {

namespace {

constexpr char kMagic[4] = {'Q', 'D', 'L', 'Z'};
constexpr int kMaxImages = 16384;

bool General(TSkinFileType type) { return type != TSkinFileType::MaxCompression; }

std::int32_t Count(std::string_view what, std::int32_t field, std::int32_t limit) {
  if (field < 0 || field > limit) throw EReadError("Invalid " + std::string(what) + " " + IntToStr(field));
  return field;
}

TPackedImage ReadRawImage(TStream& stream) {
  TPackedImage image;
  image.Name = ReadSkinString(stream, "the name of an image");
  const std::int32_t width = ReadSkinInteger(stream, "the width of image " + image.Name);
  const std::int32_t height = ReadSkinInteger(stream, "the height of image " + image.Name);
  if (width < 0 || width > 0xFFFF || height < -0xFFFF || height > 0xFFFF)
    throw EReadError("Invalid size of image " + image.Name);
  image.Width = width;
  image.Height = std::abs(height);
  const std::vector<std::uint8_t> bytes =
      ReadSkinBytes(stream, std::int64_t(image.Width) * image.Height * 4, "the pixels of image " + image.Name);
  image.Pixels.resize(size_t(image.Width) * size_t(image.Height));
  if (!image.Pixels.empty()) std::memcpy(image.Pixels.data(), bytes.data(), bytes.size());
  if (height < 0) {
    // Stored bottom to top: turned upright, as a reader does.
    for (int y = 0; y < image.Height / 2; ++y)
      std::swap_ranges(image.Pixels.begin() + std::ptrdiff_t(y) * image.Width,
                       image.Pixels.begin() + std::ptrdiff_t(y + 1) * image.Width,
                       image.Pixels.begin() + std::ptrdiff_t(image.Height - 1 - y) * image.Width);
  }
  return image;
}

TPackedImage ReadBmpImage(TStream& stream) {
  TPackedImage image;
  image.Name = ReadSkinString(stream, "the name of an image");
  const std::int32_t size = ReadSkinInteger(stream, "the size of image " + image.Name);
  const std::vector<std::uint8_t> file = ReadSkinBytes(stream, size, "image " + image.Name);
  std::unique_ptr<TseBitmap> bitmap;
  try {
    bitmap = DecodeBmp(file);
  } catch (const Exception& e) {
    throw EReadError("Image " + image.Name + ": " + e.Message());
  }
  image.Width = bitmap->Width();
  image.Height = bitmap->Height();
  image.Pixels.resize(size_t(image.Width) * size_t(image.Height));
  for (int y = 0; y < image.Height; ++y)
    for (int x = 0; x < image.Width; ++x) image.Pixels[size_t(y) * size_t(image.Width) + size_t(x)] = bitmap->Pixel(x, y);
  return image;
}

TObjectNode ReadObject(TStream& stream, bool text) {
  const std::string className = ReadSkinString(stream, "the class name of an object");
  std::vector<std::uint8_t> bytes;
  if (text) {
    const std::string source = ReadSkinString(stream, "the text of object " + className);
    const std::string binary = ObjectTextToBinary(source);
    bytes.assign(binary.begin(), binary.end());
  } else {
    const std::int32_t size = ReadSkinInteger(stream, "the size of object " + className);
    bytes = ReadSkinBytes(stream, size, "object " + className);
  }
  TObjectNode node = ParseObjectStream(bytes);
  if (node.ClassName != className)
    throw EReadError("Object " + node.Name + " is recorded as " + className + " but stored as " + node.ClassName);
  return node;
}

void ReadContent(TSkinPackage& package, TStream& stream, TSkinFileType type) {
  for (size_t i = 0; i < package.Header.size(); ++i)
    package.Header[i] = ReadSkinString(stream, TSkinPackage::kHeaderNames[i]);
  const std::int32_t field = ReadSkinInteger(stream, "the image count");
  bool raw = true;
  std::int32_t images = field;
  if (!General(type)) {
    raw = HasBinaryRecordsMarker(field);
    if (raw) images = field & ~kBinaryRecordsMarker;
    package.ImageRecords = raw ? TImageRecords::Raw : TImageRecords::Bmp;
  }
  Count("image count", images, kMaxImages);
  for (std::int32_t i = 0; i < images; ++i) package.Images.push_back(raw ? ReadRawImage(stream) : ReadBmpImage(stream));
  const std::int32_t objects = Count("object count", ReadSkinInteger(stream, "the object count"), kMaxSkinObjects);
  for (std::int32_t i = 0; i < objects; ++i) package.Objects.push_back(ReadObject(stream, General(type)));
  std::uint8_t extra;
  if (stream.Read(&extra, 1) != 0) throw EReadError("Bytes follow the last object");
}

void WriteRawImage(TStream& stream, const TPackedImage& image) {
  WriteSkinString(stream, image.Name);
  WriteSkinInteger(stream, image.Width);
  WriteSkinInteger(stream, image.Height);
  stream.WriteBuffer(image.Pixels.data(), std::int64_t(image.Pixels.size()) * 4);
}

void WriteBmpImage(TStream& stream, const TPackedImage& image) {
  WriteSkinString(stream, image.Name);
  const std::vector<std::uint8_t> file = EncodeBmp565(image.Width, image.Height, image.Pixels);
  WriteSkinInteger(stream, std::int32_t(file.size()));
  stream.WriteBuffer(file.data(), std::int64_t(file.size()));
}

void WriteContent(const TSkinPackage& package, TStream& stream, TSkinFileType type) {
  for (const std::string& value : package.Header) WriteSkinString(stream, value);
  const bool bmp = !General(type) && package.ImageRecords == TImageRecords::Bmp;
  const std::int32_t images = std::int32_t(package.Images.size());
  if (General(type) || bmp) {
    WriteSkinInteger(stream, images);
  } else {
    if (images > 0xFFFF) throw EWriteError("Too many images for the mskn form");
    WriteSkinInteger(stream, images | kBinaryRecordsMarker);
  }
  for (const TPackedImage& image : package.Images) bmp ? WriteBmpImage(stream, image) : WriteRawImage(stream, image);
  WriteSkinInteger(stream, std::int32_t(package.Objects.size()));
  for (const TObjectNode& object : package.Objects) {
    if (General(type)) {
      WriteSkinString(stream, object.ClassName);
      const Bytes binary = ObjectStream(object);
      WriteSkinString(stream, ObjectBinaryToText(std::string_view(reinterpret_cast<const char*>(binary.data()), binary.size())));
    } else {
      const Bytes record = BinaryObjectRecord(object);
      stream.WriteBuffer(record.data(), std::int64_t(record.size()));
    }
  }
}

}  // namespace

TSkinFileType SkinFileTypeOf(const std::string& path) {
  const std::string ext = LowerCase(ExtractFileExt(path));
  if (ext == ".uskn") return TSkinFileType::Uncompressed;
  if (ext == ".kskn") return TSkinFileType::Compressed;
  if (ext == ".xskn") return TSkinFileType::UltraCompressed;
  if (ext == ".mskn") return TSkinFileType::MaxCompression;
  throw EInvalidArgument(path + ": not a skin file name (uskn, kskn, xskn or mskn)");
}

const char* SkinFileTypeName(TSkinFileType type) {
  static const char* const kNames[] = {"uskn", "kskn", "xskn", "mskn"};
  return kNames[int(type)];
}

TSkinPackage ReadSkinPackage(const std::vector<std::uint8_t>& file, TSkinFileType type) {
  TSkinPackage package;
  TReadOnlyMemoryStream input(file.data(), std::int64_t(file.size()));
  if (type == TSkinFileType::Uncompressed) {
    ReadContent(package, input, type);
    return package;
  }
  if (file.size() < 4 || std::memcmp(file.data(), kMagic, 4) != 0)
    throw EReadError("No QDLZ container: not a compressed skin file");
  input.SetPosition(4);
  TDecompressionStream content(input, kMaxSkinContentSize);
  // The whole content first: the records then read from memory, and a damaged tail shows here.
  TMemoryStream unpacked;
  std::vector<std::uint8_t> piece(1 << 16);
  while (const std::int64_t n = content.Read(piece.data(), std::int64_t(piece.size()))) unpacked.WriteBuffer(piece.data(), n);
  unpacked.SetPosition(0);
  ReadContent(package, unpacked, type);
  return package;
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
  TFileStream file(path, fmOpenRead);
  std::vector<std::uint8_t> bytes(size_t(file.Size()));
  file.ReadBuffer(bytes.data(), std::int64_t(bytes.size()));
  return bytes;
}

TSkinPackage ReadSkinPackage(const std::string& path) {
  const TSkinFileType type = SkinFileTypeOf(path);
  return ReadSkinPackage(ReadFileBytes(path), type);
}

std::vector<std::uint8_t> WriteSkinPackage(const TSkinPackage& package, TSkinFileType type) {
  TMemoryStream output;
  if (type == TSkinFileType::Uncompressed) {
    WriteContent(package, output, type);
  } else {
    output.WriteBuffer(kMagic, 4);
    TCompressionStream content(type == TSkinFileType::Compressed ? 1 : 9, output);
    WriteContent(package, content, type);
    content.Finish();
  }
  return output.Bytes();
}

void SaveFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  const std::string temporary = path + ".tmp" + IntToStr(getpid());
  try {
    {
      TFileStream file(temporary, fmCreate);
      file.WriteBuffer(bytes.data(), std::int64_t(bytes.size()));
    }
    std::filesystem::rename(temporary, path);
  } catch (...) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    throw;
  }
}

}  // namespace vandrel::skinpack
