// TSeSkinControl<Custom>: the skinned class of a custom control, written once for all of them. It
// adds the skin binding (SkinEngine, SkinObject, Version and the private copy) on top of the
// control's custom class, passes the engine's notifications to it, and gives the class one hook
// for its own binding steps. Each skinned control derives from it and overrides the paint pieces
// it draws from the skin, falling back to the custom look while SkinAvailable() is false:
//
//   class TSeSkinCheckBox : public TSeSkinControl<TSeCustomCheckBox> { ... };
#pragma once

#include <string>
#include <vector>

#include "framework/PropertyInfo.h"
#include "skin/SkinEngine.h"
#include "skincontrols/SkinBinding.h"

namespace vandrel {

template <typename Custom>
class TSeSkinControl : public Custom {
 public:
  TSeSkinControl(TComponent* owner, std::string objectName, bool linkCopy = true)
      : Custom(owner), m_skin(*this, std::move(objectName), linkCopy) {
    m_skin.AfterBind = [this](bool usable, bool copied) { AfterBind(usable, copied); };
  }

  TSeSkinEngine* SkinEngine() const { return m_skin.SkinEngine(); }
  void SetSkinEngine(TSeSkinEngine* engine) { m_skin.SetSkinEngine(engine); }
  const std::string& SkinObject() const { return m_skin.SkinObject(); }
  void SetSkinObject(const std::string& name) { m_skin.SetSkinObject(name); }
  const std::string& Version() const { return TSeSkinBinding::Version(); }
  void SetVersion(const std::string&) {}
  bool SkinAvailable() const { return m_skin.SkinAvailable(); }

  void Dispatch(TMessage& m) override {
    m_skin.Handle(m);
    Custom::Dispatch(m);
  }

 protected:
  // The class's own steps after each binding: usable says whether the engine had a ready skin,
  // copied whether it held the named object.
  virtual void AfterBind(bool usable, bool copied) {
    (void)usable;
    (void)copied;
  }
  // A sub-object of the copy while the skin is available, else null.
  ISeSkinObject* SkinPart(std::string_view name) const { return SkinAvailable() ? m_skin.FindObject(name) : nullptr; }
  const TSeSkinBinding& Skin() const { return m_skin; }
  // Gives the sub-object (when the skin has it) the state and bounds and draws it on the canvas.
  bool DrawPart(std::string_view name, int state, const TRect& bounds) const {
    return SkinAvailable() && m_skin.DrawObject(name, state, bounds, *this->Canvas());
  }

 private:
  TSeSkinBinding m_skin;
};

// The published binding of a skinned class T, with its default object name.
template <typename T>
std::vector<TPropertyInfo> SkinBindingProperties() {
  return {
      prop::Component("SkinEngine", &T::SkinEngine, &T::SetSkinEngine),
      prop::String("SkinObject", &T::SkinObject, &T::SetSkinObject),
      prop::String("Version", &T::Version, &T::SetVersion).Stored(false),
  };
}

}  // namespace vandrel
