#include "tools/vandrel-skin/SkinFolder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/core/Exception.h"
#include "platform/core/Text.h"
#include "skin/SkinObject.h"
#include "skin/SkinSource.h"
#include "tools/vandrel-skin/PngFile.h"

namespace vandrel::skinpack {

namespace {

constexpr const char* kSkinFile = "skin.txt";
constexpr const char* kObjectsFile = "objects.txt";

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EFOpenError("Cannot open " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out.flush()) throw EWriteError("Cannot write " + path);
}

void DescribeObject(std::ostringstream& out, const TSeSkinObject& object, int depth) {
  out << std::string(size_t(depth) * 2 + 2, ' ') << object.Name() << " (" << object.ClassName()
      << "): " << kSeKindNames[size_t(object.Kind())] << ", " << kSeAlignNames[size_t(object.Align())] << ", "
      << object.Left() << ", " << object.Top() << ", " << object.Width() << ", " << object.Height() << "\n";
  for (int i = 0; i < object.Count(); ++i) DescribeObject(out, *object.Objects(i), depth + 1);
}

}  // namespace

std::string ImageFileName(int index, const std::string& name) {
  std::string safe = name;
  for (char& c : safe)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '_') c = '_';
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "%02d-", index);
  return "images/" + std::string(prefix) + safe + ".png";
}

void UnpackSkin(const TSkinPackage& package, const std::string& folder) {
  std::filesystem::create_directories(folder + "/images");
  std::ostringstream skin;
  for (size_t i = 0; i < package.Header.size(); ++i) {
    if (package.Header[i].find_first_of("\r\n") != std::string::npos)
      throw EWriteError(std::string(TSkinPackage::kHeaderNames[i]) + " holds a line break and cannot be unpacked");
    skin << TSkinPackage::kHeaderNames[i] << ": " << package.Header[i] << "\n";
  }
  skin << "ImageRecords: " << (package.ImageRecords == TImageRecords::Bmp ? "bmp" : "raw") << "\n";
  for (size_t i = 0; i < package.Images.size(); ++i) {
    const TPackedImage& image = package.Images[i];
    if (image.Name.find_first_of("\r\n") != std::string::npos)
      throw EWriteError("Image " + IntToStr(std::int64_t(i)) + " has a line break in its name and cannot be unpacked");
    const bool empty = image.Pixels.empty();
    const std::string file = empty ? "-" : ImageFileName(int(i), image.Name);
    if (!empty) SavePng({image.Width, image.Height, image.Pixels}, folder + "/" + file);
    skin << "Image: " << file << " " << image.Width << "x" << image.Height << " " << image.Name << "\n";
  }
  WriteText(folder + "/" + kSkinFile, skin.str());
  std::string objects;
  for (const TObjectNode& object : package.Objects) objects += ObjectText(object);
  WriteText(folder + "/" + kObjectsFile, objects);
}

TSkinPackage PackSkin(const std::string& folder) {
  TSkinPackage package;
  const std::string skinPath = folder + "/" + kSkinFile;
  std::istringstream skin(ReadText(skinPath));
  std::string line;
  int lineNumber = 0;
  size_t headerSeen = 0;
  auto fail = [&](const std::string& why) { return EReadError(skinPath + " line " + IntToStr(lineNumber) + ": " + why); };
  while (std::getline(skin, line)) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const size_t colon = line.find(": ");
    if (colon == std::string::npos) throw fail("expected \"Name: value\"");
    const std::string key = line.substr(0, colon);
    const std::string value = line.substr(colon + 2);
    if (headerSeen < package.Header.size() && key == TSkinPackage::kHeaderNames[headerSeen]) {
      package.Header[headerSeen++] = value;
    } else if (key == "ImageRecords") {
      if (value != "bmp" && value != "raw") throw fail("ImageRecords is bmp or raw");
      package.ImageRecords = value == "bmp" ? TImageRecords::Bmp : TImageRecords::Raw;
    } else if (key == "Image") {
      std::istringstream fields(value);
      std::string file, size;
      fields >> file >> size;
      std::string name;
      std::getline(fields >> std::ws, name);
      int width = -1, height = -1;
      char x = 0, rest = 0;
      if (name.empty() || std::sscanf(size.c_str(), "%d%c%d%c", &width, &x, &height, &rest) != 3 || x != 'x' ||
          width < 0 || height < 0)
        throw fail("expected \"Image: FILE WIDTHxHEIGHT NAME\"");
      TPackedImage image;
      image.Name = name;
      image.Width = width;
      image.Height = height;
      if (file == "-") {
        if (width != 0 && height != 0) throw fail("image " + name + " has no picture file");
      } else {
        TPngImage png = LoadPng(folder + "/" + file);
        if (png.Width != width || png.Height != height)
          throw fail("image " + name + " is " + IntToStr(png.Width) + "x" + IntToStr(png.Height) + " in " + file +
                     ", its record says " + size);
        image.Pixels = std::move(png.Pixels);
      }
      package.Images.push_back(std::move(image));
    } else {
      throw fail("unknown or misplaced entry " + key);
    }
  }
  if (headerSeen != package.Header.size())
    throw EReadError(skinPath + ": " + TSkinPackage::kHeaderNames[headerSeen] + " is missing");
  package.Objects = ObjectsFromText(ReadText(folder + "/" + kObjectsFile));
  return package;
}

std::string DescribeSkin(const TSkinPackage& package, const TSeSkinSource& loaded) {
  std::ostringstream out;
  for (size_t i = 0; i < package.Header.size(); ++i)
    out << TSkinPackage::kHeaderNames[i] << ": " << package.Header[i] << "\n";
  out << "Images: " << package.Images.size() << " ("
      << (package.ImageRecords == TImageRecords::Bmp ? "BMP records" : "raw records") << ")\n";
  for (size_t i = 0; i < package.Images.size(); ++i)
    out << "  " << i << " " << package.Images[i].Name << " " << package.Images[i].Width << "x"
        << package.Images[i].Height << "\n";
  out << "Objects: " << loaded.Count() << "\n";
  for (int i = 0; i < loaded.Count(); ++i) DescribeObject(out, *loaded.ObjectAt(i), 0);
  return out.str();
}

}  // namespace vandrel::skinpack
