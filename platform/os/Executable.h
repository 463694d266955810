// The running executable's own path, as the program needs it to find the files it keeps beside
// itself and to copy itself.
#pragma once

#include <string>

namespace vandrel {

// Absolute path of the running executable. Raises EOSError when the system cannot tell.
std::string ExeFileName();
// Its folder, ending with '/'.
std::string ExeDirectory();

}  // namespace vandrel
