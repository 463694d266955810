// The unpacked form of a skin: a folder holding "skin.txt" (the header, the form of the image
// records and the images in order, each with its size and its PNG file), the PNG files under
// "images/", and "objects.txt" (every top-level object in the text form, children nested).
//
//   SkinName: Steel
//   ImageRecords: bmp
//   Image: images/00-FRAMEBOTTOM.BMP.png 49x10 FRAMEBOTTOM.BMP
//
// An image of 0 pixels has the file "-". The PNG files hold the pixels as stored, before keying.
#pragma once

#include <string>

#include "tools/vandrel-skin/SkinPackage.h"

namespace vandrel {
class TSeSkinSource;
}

namespace vandrel::skinpack {

// "images/NN-NAME.png", the name's characters outside letters, digits and ".-_" replaced by '_'.
std::string ImageFileName(int index, const std::string& name);

void UnpackSkin(const TSkinPackage& package, const std::string& folder);
// Raises EReadError naming the file and line, or the image whose picture is missing or of
// another size than its line says.
TSkinPackage PackSkin(const std::string& folder);

// The header and the images with their sizes as stored, and the object trees as the program loads
// them (loaded: the same file through the program's loader), with classes, kinds, aligns and
// bounds, one line each.
std::string DescribeSkin(const TSkinPackage& package, const TSeSkinSource& loaded);

}  // namespace vandrel::skinpack
