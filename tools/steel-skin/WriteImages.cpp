// steel-skin-images DIR: writes the Steel artwork as the PNG files that the skin's unpacked form
// (resources/skin/skin.txt) lists, so the skin compiler can pack them into mskn.mskn.
#include <filesystem>
#include <iostream>

#include "tools/steel-skin/SteelSkin.h"
#include "tools/vandrel-skin/PngFile.h"
#include "tools/vandrel-skin/SkinFolder.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: steel-skin-images DIR\n";
    return 2;
  }
  try {
    const std::string folder = argv[1];
    std::filesystem::create_directories(folder + "/images");
    const auto images = vandrel::steelskin::DrawSteelImages();
    for (size_t i = 0; i < images.size(); ++i)
      vandrel::skinpack::SavePng({images[i].Width, images[i].Height, images[i].Pixels},
                                 folder + "/" + vandrel::skinpack::ImageFileName(int(i), images[i].Name));
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "steel-skin-images: " << e.what() << "\n";
    return 1;
  }
}
