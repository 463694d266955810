// vandrel-skin: the skin compiler (see SkinCompiler.h).
#include <iostream>
#include <string>
#include <vector>

#include "tools/vandrel-skin/SkinCompiler.h"

int main(int argc, char** argv) {
  return vandrel::skinpack::RunSkinCompiler(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
