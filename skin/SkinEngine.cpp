#include "skin/SkinEngine.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/ComponentWatch.h"
#include "framework/Filer.h"
#include "framework/Form.h"
#include "framework/PropertyInfo.h"
#include "framework/Screen.h"
#include "skin/SkinList.h"
#include "skin/SkinMessages.h"
#include "skin/SkinSource.h"

namespace vandrel {

namespace {

const std::string kVersion = "3.4.7";

// The engine's stored skin says "a skin follows" with 2, a list entry's with 1.
constexpr std::uint8_t kEngineSkinPresent = 2;

void ProcessPendingMessages() {
  if (TApplication* application = Application()) application->ProcessMessages();
}

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
    : TComponent(owner), m_source(std::make_unique<TSeSkinSource>(nullptr)) {}

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
