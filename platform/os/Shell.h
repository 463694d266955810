// Opening a document with the program the desktop associates with it.
#pragma once

#include <string>

namespace vandrel {

// Starts `opener fileName` (xdg-open by default, looked up in PATH) without a shell, so no
// character of the name is interpreted, and without waiting for it. Returns whether the program
// could be started; callers that only ask the desktop for a favour may ignore the result.
bool ShellOpen(const std::string& fileName, const std::string& opener = "xdg-open");

}  // namespace vandrel
