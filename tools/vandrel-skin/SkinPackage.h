// A skin file as the compiler sees it: the five header strings, the images as stored (before any
// keying) with the form of their records, and the object trees as stored streams. Reading and
// writing go record by record, so a file this system wrote is written back byte for byte.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/vandrel-skin/ObjectTree.h"

namespace vandrel::skinpack {

//   type   container              content form
//   uskn   none                   general: raw image records, text object records
//   kskn   "QDLZ" + zlib level 1  general
//   xskn   "QDLZ" + zlib level 9  general
//   mskn   "QDLZ" + zlib level 9  binary object records; raw or 5-6-5 BMP image records
enum class TSkinFileType { Uncompressed, Compressed, UltraCompressed, MaxCompression };
enum class TImageRecords { Raw, Bmp };

struct TPackedImage {
  std::string Name;
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels;  // 0xAARRGGBB, top row first, as stored
};

struct TSkinPackage {
  static constexpr std::array<const char*, 5> kHeaderNames = {"SkinName", "SkinVersion", "Author", "AuthorEMail",
                                                               "AuthorURL"};
  std::array<std::string, 5> Header;
  TImageRecords ImageRecords = TImageRecords::Raw;
  std::vector<TPackedImage> Images;
  std::vector<TObjectNode> Objects;
};

// By the extension, ignoring case; raises EInvalidArgument naming the file for any other.
TSkinFileType SkinFileTypeOf(const std::string& path);
const char* SkinFileTypeName(TSkinFileType type);

// Raises EReadError (or a more specific stream, decompression, parser or graphic error) that says
// what is wrong; reads nothing beyond what the file backs.
TSkinPackage ReadSkinPackage(const std::string& path);
TSkinPackage ReadSkinPackage(const std::vector<std::uint8_t>& file, TSkinFileType type);
// The file's bytes. BMP image records are written only for "mskn"; other types hold raw records.
std::vector<std::uint8_t> WriteSkinPackage(const TSkinPackage& package, TSkinFileType type);

// Raises EFOpenError or EReadError.
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);
// Writes beside the target and renames over it, so the target is whole or untouched.
void SaveFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace vandrel::skinpack
