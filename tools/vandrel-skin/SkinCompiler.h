// The vandrel-skin command: info, unpack, pack and convert, for skin authors. Every failure is one
// line on the error stream and a non-zero exit; an output file is written whole or not at all.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vandrel::skinpack {

// args without the program name. Returns the exit code: 0 done, 1 failed, 2 wrong usage.
int RunSkinCompiler(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vandrel::skinpack
