// Runs a program with arguments, environment changes and a working directory, collecting its
// exit status, standard output and standard error.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace vandrel {

struct TProcessResult {
  int ExitCode = -1;
  std::string Out;
  std::string Err;
};

// env entries with an empty value are removed from the environment.
TProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                          const std::map<std::string, std::string>& env, const std::string& workingDirectory);

}  // namespace vandrel
