#include "tools/vandrel-skin/SkinCompiler.h"

#include <exception>
#include <memory>

#include "platform/core/Exception.h"
#include "platform/core/Stream.h"
#include "skin/SkinFilter.h"
#include "skin/SkinSource.h"
#include "tools/vandrel-skin/SkinFolder.h"
#include "tools/vandrel-skin/SkinPackage.h"

namespace vandrel::skinpack {

namespace {

constexpr const char* kUsage =
    "usage: vandrel-skin info FILE\n"
    "       vandrel-skin unpack FILE DIR\n"
    "       vandrel-skin pack DIR FILE [--raw | --bmp]\n"
    "       vandrel-skin convert IN OUT [--raw | --bmp]\n"
    "FILE is a uskn, kskn, xskn or mskn skin; --raw and --bmp choose the image records of an mskn file.\n";

// The program's own loader must accept what is written: a class it does not know or a property
// an object does not have is found here, before the file replaces anything.
void LoadInto(TSeSkinSource& source, const std::vector<std::uint8_t>& bytes, const std::string& path) {
  const TSeSkinFilterClass* filterClass = FindSkinFilter(path);
  if (!filterClass) throw EInvalidArgument(path + ": no skin filter for this extension");
  std::unique_ptr<TSeSkinFilter> filter = filterClass->Create();
  filter->SetSource(&source);
  TReadOnlyMemoryStream stream(bytes.data(), std::int64_t(bytes.size()));
  try {
    filter->LoadFromStream(stream);
  } catch (const Exception& e) {
    throw EReadError(path + ": " + e.Message());
  }
}

void Save(TSkinPackage package, const std::string& path, const std::string& option) {
  if (option == "--raw") package.ImageRecords = TImageRecords::Raw;
  if (option == "--bmp") package.ImageRecords = TImageRecords::Bmp;
  const std::vector<std::uint8_t> bytes = WriteSkinPackage(package, SkinFileTypeOf(path));
  TSeSkinSource check;
  LoadInto(check, bytes, path);
  SaveFileAtomically(path, bytes);
}

TSkinPackage Read(const std::string& path) {
  try {
    return ReadSkinPackage(path);
  } catch (const EFOpenError&) {
    throw;
  } catch (const Exception& e) {
    // The reader's message says what; the file's name says where.
    throw EReadError(path + ": " + e.Message());
  }
}

}  // namespace

int RunSkinCompiler(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const std::string command = args.empty() ? "" : args[0];
  const size_t operands = args.size() - (args.empty() ? 0 : 1);
  const std::string option = (command == "pack" || command == "convert") && operands == 3 ? args[3] : "";
  const bool usable = (command == "info" && operands == 1) || (command == "unpack" && operands == 2) ||
                      ((command == "pack" || command == "convert") && (operands == 2 || operands == 3));
  if (!usable || (!option.empty() && option != "--raw" && option != "--bmp")) {
    err << kUsage;
    return 2;
  }
  try {
    if (command == "info") {
      const TSkinPackage package = Read(args[1]);
      TSeSkinSource loaded;
      LoadInto(loaded, ReadFileBytes(args[1]), args[1]);
      out << DescribeSkin(package, loaded);
    } else if (command == "unpack") {
      UnpackSkin(Read(args[1]), args[2]);
    } else if (command == "pack") {
      Save(PackSkin(args[1]), args[2], option);
    } else {
      TSkinPackage package = Read(args[1]);
      // A general file holds raw records; an mskn made from it gets them too unless asked.
      Save(std::move(package), args[2], option);
    }
    return 0;
  } catch (const std::exception& e) {
    std::string message = e.what();
    for (char& c : message)
      if (c == '\n' || c == '\r') c = ' ';
    err << "vandrel-skin: " << message << "\n";
    return 1;
  }
}

}  // namespace vandrel::skinpack
