#include "skin/SkinSource.h"

#include <filesystem>

#include "framework/PropertyInfo.h"
#include "platform/core/Text.h"
#include "platform/os/Executable.h"
#include "skin/SkinFilter.h"

namespace vandrel {

namespace {

bool FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace

const TClassInfo& TSeSkinSource::StaticClassInfo() {
  using T = TSeSkinSource;
  static const TClassInfo info("TSeSkinSource", &TComponent::StaticClassInfo(), ComponentFactory<T>(), {
      prop::String("SkinName", &T::SkinName, &T::SetSkinName),
      prop::String("SkinVersion", &T::SkinVersion, &T::SetSkinVersion),
      prop::String("Author", &T::Author, &T::SetAuthor),
      prop::String("AuthorEMail", &T::AuthorEMail, &T::SetAuthorEMail),
      prop::String("AuthorURL", &T::AuthorURL, &T::SetAuthorURL),
  });
  return info;
}

TSeSkinSource::TSeSkinSource(TComponent* owner)
    : TComponent(owner),
      m_skinName("SkinEngine Skin"),
      m_skinVersion("3.4.7"),
      m_author("Vandrel Skin Library"),
      m_authorEMail("skins@vandrel.example"),
      m_authorURL("https://vandrel.example/skins") {}

TSeSkinSource::~TSeSkinSource() { Clear(); }

void TSeSkinSource::Clear() {
  // The objects refer to the images, so they go first.
  m_objects.clear();
  m_images.Clear();
  m_appliedHue = 0;
}

TSeSkinObject* TSeSkinSource::ObjectAt(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return m_objects[size_t(index)].get();
}

TSeSkinObject* TSeSkinSource::Objects(int index) const { return m_busy ? nullptr : ObjectAt(index); }

TSeSkinObject* TSeSkinSource::AddObject(std::unique_ptr<TSeSkinObject> object) {
  m_objects.push_back(std::move(object));
  return m_objects.back().get();
}

TSeSkinObject* TSeSkinSource::FindObject(std::string_view name) const {
  if (m_busy) return nullptr;
  for (const auto& object : m_objects)
    if (SameText(object->Name(), name)) return object.get();
  return nullptr;
}

TSeSkinObject* TSeSkinSource::FindObjectByKind(TSeKind kind) const {
  if (m_busy) return nullptr;
  for (const auto& object : m_objects)
    if (object->Kind() == kind) return object.get();
  return nullptr;
}

TSeSkinObject* TSeSkinSource::FormObject() const {
  if (TSeSkinObject* form = FindObject("Form")) return form;
  return FindObjectByKind(skForm);
}

void TSeSkinSource::ApplyHue(int hue) {
  if (hue == m_appliedHue) return;
  const int delta = hue - m_appliedHue;
  for (int i = 0; i < m_images.Count(); ++i) m_images.Items(i)->ShiftHue(delta);
  for (const auto& object : m_objects) object->ChangeHue(delta);
  m_appliedHue = hue;
}

void TSeSkinSource::UnmaskClients() {
  for (const auto& object : m_objects)
    if (TSeSkinObject* client = object->FindObjectByKind(skClient)) client->SetMasked(false);
}

void TSeSkinSource::LoadFromFile(const std::string& fileName) {
  if (fileName.empty()) return;
  std::string path = fileName;
  if (!FileExists(path)) {
    // A relative name is also looked for beside the executable; an absolute one never.
    if (fileName[0] == '/') return;
    path = ExeDirectory() + fileName;
    if (!FileExists(path)) return;
  }
  if (!FindSkinFilter(path)) return;
  TFileStream file(path, fmOpenRead);
  LoadFromFileStream(file, path);
}

void TSeSkinSource::LoadFromFileStream(TStream& stream, const std::string& fileName) {
  const TSeSkinFilterClass* filterClass = FindSkinFilter(fileName);
  if (!filterClass) return;
  std::unique_ptr<TSeSkinFilter> filter = filterClass->Create();
  filter->SetSource(this);
  filter->LoadFromStream(stream);
  UnmaskClients();
}

void TSeSkinSource::SaveToFile(const std::string& fileName) {
  if (fileName.empty()) return;
  const TSeSkinFilterClass* filterClass = FindSkinFilter(fileName);
  if (!filterClass) filterClass = &SkinFilterClass<TSeSkinFilterCompressed>();
  TFileStream file(fileName, fmCreate);
  std::unique_ptr<TSeSkinFilter> filter = filterClass->Create();
  filter->SetSource(this);
  filter->SaveToStream(file);
}

void TSeSkinSource::LoadFromStream(TStream& stream) {
  {
    TSeSkinFilterCompressed filter;
    filter.SetSource(this);
    filter.LoadFromStream(stream);
  }
  UnmaskClients();
}

void TSeSkinSource::SaveToStream(TStream& stream) {
  TSeSkinFilterCompressed filter;
  filter.SetSource(this);
  filter.SaveToStream(stream);
}

}  // namespace vandrel
