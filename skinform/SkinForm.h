// TSeSkinForm: the skinned-window component bound to a skin engine. It keeps a private copy of
// the skin's form object (or of the object its SkinObject names), finds the title and client
// objects in it, and frees and remakes the copy when the engine announces a skin change. While it
// has no usable skin it is exactly the custom form with its own unskinned look.
#pragma once

#include <memory>
#include <string>

#include "skinform/CustomForm.h"

namespace vandrel {

class TSeSkinEngine;
class TSeSkinObject;
class TSeSkinSource;
class TTimer;

using TCustomActionEvent = TEvent<void(TSeSkinObject* skinObject)>;

class TSeSkinForm : public TSeCustomForm {
  VANDREL_CLASS_INFO
 public:
  explicit TSeSkinForm(TComponent* owner);
  ~TSeSkinForm() override;

  TSeSkinEngine* SkinEngine() const { return m_engine; }
  // Stores the engine and binds again (Bind).
  void SetSkinEngine(TSeSkinEngine* engine);
  const std::string& SkinObject() const { return m_skinObject; }
  // Only stores the name: it takes effect at the next binding.
  void SetSkinObject(const std::string& value) { m_skinObject = value; }
  // Always "3.4.7"; writing changes nothing.
  const std::string& Version() const;
  void SetVersion(const std::string&) {}
  TCustomActionEvent OnCustomAction;

  // The private copy and the objects found in it; null while unskinned.
  TSeSkinObject* FormSkin() const { return m_copy.get(); }
  TSeSkinObject* TitleObject() const { return m_title; }
  TSeSkinObject* ClientObject() const { return m_client; }
  TTimer* HoverTimer() const { return m_hoverTimer.get(); }

  bool Skinned() const override;
  void CustomAction(TSeSkinObject* button) override;
  void Loaded() override;

  // The frame from the copy while skinned, else the custom form's own (SkinFormFrame.cpp).
  TRect GetClientArea() override;
  TRect GetButtonRect(TSeBorderIcon kind) override;
  TSeFrameHitArea HitTest(int x, int y) override;
  HRGN CreateWindowRegion() override;
  void PaintFrame(TCanvas& canvas) override;
  void PaintBackground() override;

 protected:
  void Dispatch(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  void FrameMouseDown(TMouseBtn button, TShiftState shift, int x, int y) override;
  void FrameMouseMove(TShiftState shift, int x, int y) override;
  void FrameMouseUp(TMouseBtn button, TShiftState shift, int x, int y) override;

 private:
  void Bind();
  void Unbind();
  void FitToSkin();
  // The engine's skin while it is loaded, not being replaced and not empty; else null.
  const TSeSkinSource* ReadySource() const;
  void SkinChanging();
  void SkinChanged();
  void NotifyControls();
  // Lays the copy out to the frame when the frame has a size and the copy a client object.
  void LayOut();
  void PlaceLinkedControls();
  void TrackHover();
  TSeSkinObject* ObjectAt(int x, int y);

  TSeSkinEngine* m_engine = nullptr;
  std::string m_skinObject = "Form";
  std::unique_ptr<TSeSkinObject> m_copy;
  TSeSkinObject* m_title = nullptr;
  TSeSkinObject* m_client = nullptr;
  TSeSkinObject* m_hovered = nullptr;
  TSeSkinObject* m_pressed = nullptr;
  std::unique_ptr<TTimer> m_hoverTimer;
};

}  // namespace vandrel
