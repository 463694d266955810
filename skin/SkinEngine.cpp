#include "skin/SkinEngine.h"

#include <algorithm>
#include <map>

#include "framework/Application.h"
#include "framework/ComponentWatch.h"
#include "framework/Filer.h"
#include "framework/Form.h"
#include "framework/PropertyInfo.h"
#include "framework/Screen.h"
#include "skin/BitmapObject.h"
#include "skin/SkinList.h"
#include "skin/SkinMessages.h"
#include "skin/SkinObject.h"
#include "skin/SkinSource.h"

namespace vandrel {

namespace {

const std::string kVersion = "3.4.7";

// The engine's stored skin says "a skin follows" with 2, a list entry's with 1.
constexpr std::uint8_t kEngineSkinPresent = 2;

void ProcessPendingMessages() {
  if (TApplication* application = Application()) application->ProcessMessages();
}

// One object of a control's private copy, as the skinned controls see it. The sub-objects they
// look up get views of their own, kept by the copy as long as it lives.
class TObjectView : public ISeSkinObject {
 public:
  using TViews = std::map<TSeSkinObject*, std::unique_ptr<TObjectView>>;
  TObjectView(TSeSkinObject& object, TViews& views) : m_object(object), m_views(views) {}

  ISeSkinObject* FindObject(std::string_view name) override {
    TSeSkinObject* found = m_object.FindObject(name);
    if (!found || found == &m_object) return found ? this : nullptr;
    std::unique_ptr<TObjectView>& view = m_views[found];
    if (!view) view = std::make_unique<TObjectView>(*found, m_views);
    return view.get();
  }
  void SetControl(TControl* control) override { m_object.SetControl(control); }
  void SetState(int state) override { m_object.SetState(state); }
  void SetBounds(const TRect& bounds) override { m_object.SetBounds(bounds); }
  void Draw(TCanvas& canvas) override { m_object.Draw(canvas); }
  int Width() const override { return m_object.Width(); }
  int Height() const override { return m_object.Height(); }
  TFont* GetFont() const override { return m_object.GetFont(); }
  void SetText(const std::string& text) override { m_object.SetText(text); }
  std::optional<bool> SeeThrough() const override {
    const auto* bitmap = dynamic_cast<const TSeBitmapObject*>(&m_object);
    if (!bitmap) return std::nullopt;
    return bitmap->Masked() || bitmap->MaskedBorder() || bitmap->MaskedAngles();
  }

 private:
  TSeSkinObject& m_object;
  TViews& m_views;
};

class TObjectCopy : public ISeSkinObject {
 public:
  explicit TObjectCopy(std::unique_ptr<TSeSkinObject> tree) : m_tree(std::move(tree)), m_root(*m_tree, m_views) {}

  ISeSkinObject* FindObject(std::string_view name) override { return m_root.FindObject(name); }
  void SetControl(TControl* control) override { m_root.SetControl(control); }
  void SetState(int state) override { m_root.SetState(state); }
  void SetBounds(const TRect& bounds) override { m_root.SetBounds(bounds); }
  void Draw(TCanvas& canvas) override { m_root.Draw(canvas); }
  int Width() const override { return m_root.Width(); }
  int Height() const override { return m_root.Height(); }
  TFont* GetFont() const override { return m_root.GetFont(); }
  void SetText(const std::string& text) override { m_root.SetText(text); }
  std::optional<bool> SeeThrough() const override { return m_root.SeeThrough(); }

 private:
  // Destroyed in reverse: the views before the tree they look at.
  std::unique_ptr<TSeSkinObject> m_tree;
  TObjectView::TViews m_views;
  TObjectView m_root;
};

class TClientSource : public ISeSkinSource {
 public:
  explicit TClientSource(const TSeSkinSource& source) : m_source(source) {}

  bool Ready() const override { return !m_source.Busy() && m_source.Count() > 0; }
  bool HasObject(std::string_view name) const override { return m_source.FindObject(name) != nullptr; }
  std::unique_ptr<ISeSkinObject> CloneObject(std::string_view name) const override {
    const TSeSkinObject* object = m_source.FindObject(name);
    if (!object) return nullptr;
    return std::make_unique<TObjectCopy>(std::unique_ptr<TSeSkinObject>(TSeSkinObject::CloneObject(*object, nullptr)));
  }

 private:
  const TSeSkinSource& m_source;
};

}  // namespace

const TClassInfo& TSeSkinEngine::StaticClassInfo() {
  using T = TSeSkinEngine;
  static const TClassInfo info("TSeSkinEngine", &TComponent::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Integer("DeltaHue", &T::DeltaHue, &T::SetDeltaHue, 0),
      prop::String("SkinFile", &T::SkinFile, &T::SetSkinFile),
      prop::Component("SkinList", &T::SkinList, &T::SetSkinList),
      prop::Integer("SkinIndex", &T::SkinIndex, &T::SetSkinIndex, -1),
      prop::String("SkinStore", &T::SkinStore, &T::SetSkinStore),
      prop::Boolean("SkinStoreCompression", &T::SkinStoreCompression, &T::SetSkinStoreCompression, false),
      prop::String("Version", &T::Version, &T::SetVersion),
      prop::Event("OnBeforeChange", &T::OnBeforeChange),
      prop::Event("OnAfterChange", &T::OnAfterChange),
  });
  return info;
}

TSeSkinEngine::TSeSkinEngine(TComponent* owner)
    : TComponent(owner),
      m_source(std::make_unique<TSeSkinSource>(nullptr)),
      m_clientSource(std::make_unique<TClientSource>(*m_source)) {}

TSeSkinEngine::~TSeSkinEngine() {
  if (m_skinList) m_skinList->RemoveFreeNotification(this);
}

const std::string& TSeSkinEngine::Version() const { return kVersion; }

std::string TSeSkinEngine::SkinStore() const {
  if (Designing() && m_source->Count() > 0) return SkinStoreName(m_source->SkinName());
  return "(none)";
}

bool TSeSkinEngine::BeforeChange() {
  TComponentWatch alive(*this);
  if (OnBeforeChange) OnBeforeChange(this);
  if (!alive) return false;
  const int forms = TScreen::Instance().FormCount();
  for (int i = 0; i < forms; ++i) {
    // A handler may have freed forms: what is left past the end is skipped.
    if (TCustomForm* form = TScreen::Instance().Forms(i)) BroadcastSkinChange(*form, scChanging, *this);
    if (!alive) return false;
    ProcessPendingMessages();
    if (!alive) return false;
  }
  return true;
}

bool TSeSkinEngine::AfterChange() {
  TComponentWatch alive(*this);
  for (int i = 0; i < TScreen::Instance().FormCount(); ++i) {
    if (TCustomForm* form = TScreen::Instance().Forms(i)) BroadcastSkinChange(*form, scChanged, *this);
    if (!alive) return false;
    ProcessPendingMessages();
    if (!alive) return false;
  }
  if (OnAfterChange) OnAfterChange(this);
  return bool(alive);
}

template <typename Load>
void TSeSkinEngine::ReplaceSkin(bool announce, Load&& load) {
  if (announce) {
    m_source->SetBusy(true);
    bool alive = false;
    try {
      alive = BeforeChange();
    } catch (...) {
      // The old skin was not touched: let clients see it again.
      m_source->SetBusy(false);
      throw;
    }
    if (!alive) return;
    m_source->Clear();
  }
  try {
    load();
  } catch (...) {
    // What a failed load leaves is part of a skin: clients get none instead.
    m_source->Clear();
    m_source->SetBusy(false);
    (void)AfterChange();
    throw;
  }
  m_source->SetBusy(false);
  m_source->ApplyHue(m_deltaHue);
  (void)AfterChange();
}

void TSeSkinEngine::SetSkinFile(const std::string& fileName) {
  m_skinFile = fileName;
  if (Designing()) {
    if (!m_skinFile.empty() && m_source->Count() > 0) m_source->Clear();
    m_skinIndex = -1;
    return;
  }
  ReplaceSkin(m_source->Count() > 0, [&] { m_source->LoadFromFile(m_skinFile); });
}

void TSeSkinEngine::LoadSkinFromStream(TStream& stream, const std::string& fileName) {
  m_skinFile.clear();
  ReplaceSkin(m_source->Count() > 0, [&] { m_source->LoadFromFileStream(stream, fileName); });
}

void TSeSkinEngine::SetDeltaHue(int value) {
  if (value == m_deltaHue && value == m_source->AppliedHue()) return;
  m_deltaHue = value;
  if (m_source->Count() == 0 || m_changingHue) return;
  m_changingHue = true;
  TComponentWatch alive(*this);
  try {
    if (BeforeChange()) {
      m_source->ApplyHue(value);
      (void)AfterChange();
    }
  } catch (...) {
    if (alive) m_changingHue = false;
    throw;
  }
  if (alive) m_changingHue = false;
}

void TSeSkinEngine::SetSkinList(TSeSkinList* list) {
  if (list == m_skinList) return;
  if (m_skinList) m_skinList->RemoveFreeNotification(this);
  m_skinList = list;
  if (m_skinList) m_skinList->FreeNotification(this);
  if (!m_skinList) m_skinIndex = -1;
}

void TSeSkinEngine::SetSkinIndex(int index) {
  m_skinIndex = index;
  const bool listEmpty = !m_skinList || m_skinList->Skins()->Count() == 0;
  if (Designing() && listEmpty) m_skinIndex = -1;
  if (Loading() || !Designing() || m_skinIndex != -1) {
    ApplySkinIndex();
  } else if (m_source->Count() > 0) {
    ReplaceSkin(true, [] {});
  }
}

void TSeSkinEngine::ApplySkinIndex() {
  if (!m_skinList || m_skinList->Skins()->Count() == 0 || m_skinIndex < 0) return;
  m_skinIndex = std::min(m_skinIndex, m_skinList->Skins()->Count() - 1);
  TSeSkinSource& stored = m_skinList->Skins()->Items(m_skinIndex)->SkinSource();
  if (stored.Count() == 0) return;
  TMemoryStream copy;
  stored.SaveToStream(copy);
  copy.SetPosition(0);
  ReplaceSkin(true, [&] { m_source->LoadFromStream(copy); });
}

void TSeSkinEngine::Loaded() {
  TComponent::Loaded();
  if (OnAfterChange && m_source->Count() > 0) {
    TComponentWatch alive(*this);
    OnAfterChange(this);
    if (!alive) return;
  }
  if (m_skinList && m_skinIndex >= 0) ApplySkinIndex();
}

void TSeSkinEngine::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "SkinStream", [this](TStream& stream) { ReadSkinStream(stream); },
      [this](TStream& stream) { WriteSkinStream(stream); }, m_skinIndex == -1);
}

void TSeSkinEngine::ReadSkinStream(TStream& stream) {
  if (ReadStoredSkin(stream, *m_source)) m_skinFile.clear();
}

void TSeSkinEngine::WriteSkinStream(TStream& stream) { WriteStoredSkin(stream, *m_source, kEngineSkinPresent); }

void TSeSkinEngine::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component == m_skinList) {
    m_skinList = nullptr;
    m_skinIndex = -1;
  }
  TComponent::Notification(component, operation);
}

}  // namespace vandrel
