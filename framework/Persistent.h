// TPersistent: the root of every streamable class. It knows its class (name, base and published
// property table), copies itself through Assign/AssignTo, and may define custom stream properties.
#pragma once

#include <string>
#include <string_view>

namespace vandrel {

class TClassInfo;
class TFiler;

// Declares the class's own TClassInfo; the .cpp defines StaticClassInfo() with its property table.
#define VANDREL_CLASS_INFO                                                   \
 public:                                                                    \
  static const ::vandrel::TClassInfo& StaticClassInfo();                    \
  const ::vandrel::TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

class TPersistent {
 public:
  TPersistent() = default;
  TPersistent(const TPersistent&) = delete;
  TPersistent& operator=(const TPersistent&) = delete;
  virtual ~TPersistent() = default;

  static const TClassInfo& StaticClassInfo();
  virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
  std::string_view ClassName() const;
  bool InheritsFrom(const TClassInfo& info) const;

  // Copies source into this object: asks source.AssignTo(*this), which raises EConvertError
  // ("Cannot assign a TX to a TY") unless a class in between knows how.
  virtual void Assign(const TPersistent& source);
  // The dotted path that names this object in messages ("Form1.Font").
  virtual std::string GetNamePath() const;

  // Custom stream properties, written after the published ones (binary blobs, child records,
  // values without a published property). Call the base version first when overriding.
  virtual void DefineProperties(TFiler& filer);

 protected:
  virtual void AssignTo(TPersistent& dest) const;
  // The object this one belongs to, for GetNamePath (a font's owning control, ...).
  virtual TPersistent* GetOwner() const { return nullptr; }
  [[noreturn]] void AssignError(const TPersistent* source) const;

  friend class TComponent;
};

}  // namespace vandrel
