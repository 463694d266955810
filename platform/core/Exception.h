// The exception hierarchy. Every error the program raises derives from Exception and carries the
// message that is shown to the user.
#pragma once

#include <stdexcept>
#include <string>

namespace vandrel {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

#define VANDREL_EXCEPTION(Name, Base)                                   \
  class Name : public Base {                                            \
   public:                                                              \
    explicit Name(const std::string& message) : Base(message) {}        \
  }

// Silent abort of an operation: never shown to the user.
VANDREL_EXCEPTION(EAbort, Exception);
VANDREL_EXCEPTION(EConvertError, Exception);
VANDREL_EXCEPTION(EInvalidOperation, Exception);
VANDREL_EXCEPTION(EInvalidArgument, Exception);
VANDREL_EXCEPTION(EListError, Exception);
VANDREL_EXCEPTION(EOSError, Exception);
VANDREL_EXCEPTION(EOutOfResources, Exception);
VANDREL_EXCEPTION(EStreamError, Exception);
VANDREL_EXCEPTION(EFCreateError, EStreamError);
VANDREL_EXCEPTION(EFOpenError, EStreamError);
VANDREL_EXCEPTION(EReadError, EStreamError);
VANDREL_EXCEPTION(EWriteError, EStreamError);

}  // namespace vandrel
