#include "skin/SkinObjectRegistry.h"

#include "platform/core/Exception.h"
#include "skin/ActiveObject.h"
#include "skin/BitmapObject.h"
#include "skin/SkinObject.h"
#include "skin/SystemButton.h"

namespace vandrel {

namespace {

std::vector<const TClassInfo*>& Registry() {
  static std::vector<const TClassInfo*> classes = {
      &TSeSkinObject::StaticClassInfo(),
      &TSeActiveObject::StaticClassInfo(),
      &TSeBitmapObject::StaticClassInfo(),
      &TSeActiveBitmap::StaticClassInfo(),
      &TSeSystemButton::StaticClassInfo(),
      &TSeButtonObject::StaticClassInfo(),
      &TSeTextObject::StaticClassInfo(),
      &TSeLinkSkinObject::StaticClassInfo(),
      &TSeBitmapSkinObject::StaticClassInfo(),
      &TSeFormBitmapSkinObject::StaticClassInfo(),
      &TSeSysButtonSkinObject::StaticClassInfo(),
      &TSeActiveSkinObject::StaticClassInfo(),
      &TSeColorButtonObject::StaticClassInfo(),
      &TSeBitmapBoxObject::StaticClassInfo(),
      &TSeActiveBitmapBoxObject::StaticClassInfo(),
      &TSeButtonBitmapBoxObject::StaticClassInfo(),
      &TSeRollPanelObject::StaticClassInfo(),
  };
  return classes;
}

}  // namespace

void RegisterSkinObjectClass(const TClassInfo& info) {
  if (!info.InheritsFrom(TSeSkinObject::StaticClassInfo()) || !info.CanCreate())
    throw EInvalidArgument(std::string(info.Name()) + " is not a skin object class");
  Registry().push_back(&info);
}

const TClassInfo* FindSkinObjectClass(std::string_view name) {
  for (const TClassInfo* info : Registry())
    if (info->Name() == name) return info;
  return nullptr;
}

const std::vector<const TClassInfo*>& SkinObjectClasses() { return Registry(); }

}  // namespace vandrel
