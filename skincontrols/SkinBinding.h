// TSeSkinBinding: the skin binding every skinned control adds on top of its custom class, written
// once: the engine it names (forgotten when the engine is freed), the name of its top-level skin
// object, its private copy of that object, whether the skin is usable now, the answers to the
// engine's skin-changing and skin-changed notifications and to object-changed ones, and drawing a
// named sub-object of the copy. Each control holds one, passes its messages through Handle() and
// asks SkinAvailable() before it uses the skin; its own binding steps run in AfterBind.
//
//   class TSeSkinPanel : public TSeCustomPanel {
//     TSeSkinBinding m_skin{*this, "Panel"};
//     void Dispatch(TMessage& m) override { m_skin.Handle(m); TSeCustomPanel::Dispatch(m); }
//     void PaintBackground() override {
//       if (!m_skin.SkinAvailable() || !m_skin.DrawObject("Frame", 0, {0, 0, w, h}, *Canvas()))
//         TSeCustomPanel::PaintBackground();
//     }
//   };
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "framework/Component.h"
#include "framework/ControlMessages.h"
#include "skin/SkinClient.h"

namespace vandrel {

class TControl;
class TSeSkinEngine;

class TSeSkinBinding : private TComponent {
 public:
  // control: the skinned control, invalidated when the binding changes. objectName: the default
  // SkinObject. linkCopy: the copy learns its control (the scroll bar's does not).
  TSeSkinBinding(TControl& control, std::string objectName, bool linkCopy = true);
  ~TSeSkinBinding() override;
  TSeSkinBinding(const TSeSkinBinding&) = delete;
  TSeSkinBinding& operator=(const TSeSkinBinding&) = delete;

  TSeSkinEngine* SkinEngine() const { return m_engine; }
  // Stores the engine and binds again: a new copy when its skin is ready, none otherwise; then
  // AfterBind (with whether the skin is usable and whether an object was copied) and invalidates.
  void SetSkinEngine(TSeSkinEngine* engine);
  const std::string& SkinObject() const { return m_objectName; }
  // Only stores: the name takes effect at the next binding.
  void SetSkinObject(const std::string& name) { m_objectName = name; }
  static const std::string& Version();

  // The control may draw from its skin now: it is neither loading nor being destroyed, the engine's
  // skin is ready and has the object, and the copy exists.
  bool SkinAvailable() const;
  ISeSkinObject* Bound() const { return m_bound.get(); }
  // A sub-object of the copy (the copy itself first, depth first, ignoring case), or null.
  ISeSkinObject* FindObject(std::string_view name) const;
  // Gives the named sub-object the state and bounds and draws it; false when there is none.
  bool DrawObject(std::string_view name, int state, const TRect& bounds, TCanvas& canvas) const;

  // The engine's notifications for this control's engine (skin-changing frees the copy,
  // skin-changed binds again) and object-changed (invalidates). Other messages are left alone;
  // the control handles every message further as usual.
  void Handle(const TMessage& message);

  // After each binding: usable is whether the skin was ready, copied whether an object was found
  // and copied. The control's own binding steps go here.
  std::function<void(bool usable, bool copied)> AfterBind;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  const ISeSkinSource* ReadySource() const;

  TControl& m_control;
  std::string m_objectName;
  bool m_linkCopy;
  TSeSkinEngine* m_engine = nullptr;
  std::unique_ptr<ISeSkinObject> m_bound;
};

}  // namespace vandrel
