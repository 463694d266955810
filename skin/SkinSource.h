// TSeSkinSource: one loaded skin in memory: five header strings, the named images and the
// top-level skin objects, each the root of a tree. It reads and writes skin files through the
// filter of their extension, and streams always as the "kskn" container.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Component.h"
#include "graphics/BitmapLink.h"
#include "platform/core/Stream.h"
#include "skin/SkinObject.h"

namespace vandrel {

class TSeSkinSource : public TComponent {
  VANDREL_CLASS_INFO
 public:
  explicit TSeSkinSource(TComponent* owner = nullptr);
  ~TSeSkinSource() override;

  const std::string& SkinName() const { return m_skinName; }
  void SetSkinName(const std::string& value) { m_skinName = value; }
  const std::string& SkinVersion() const { return m_skinVersion; }
  void SetSkinVersion(const std::string& value) { m_skinVersion = value; }
  const std::string& Author() const { return m_author; }
  void SetAuthor(const std::string& value) { m_author = value; }
  const std::string& AuthorEMail() const { return m_authorEMail; }
  void SetAuthorEMail(const std::string& value) { m_authorEMail = value; }
  const std::string& AuthorURL() const { return m_authorURL; }
  void SetAuthorURL(const std::string& value) { m_authorURL = value; }

  TseBitmapList& Images() { return m_images; }
  const TseBitmapList& Images() const { return m_images; }

  // Set by the engine while it replaces the skin: the objects then read as absent.
  bool Busy() const { return m_busy; }
  void SetBusy(bool value) { m_busy = value; }
  // The hue shift now applied to the images and the object colours.
  int AppliedHue() const { return m_appliedHue; }

  // Frees every object and image; the applied hue becomes 0.
  void Clear();
  // Top-level objects, also while busy.
  int Count() const { return int(m_objects.size()); }
  // nullptr when the index is out of range or the source is busy.
  TSeSkinObject* Objects(int index) const;
  // Shifts the images and the object colours so that hue becomes the applied hue.
  void ApplyHue(int hue);
  // As Objects, also while busy: for saving and for the engine's own bookkeeping.
  TSeSkinObject* ObjectAt(int index) const;
  // Appends a top-level object; the source owns it from now on.
  TSeSkinObject* AddObject(std::unique_ptr<TSeSkinObject> object);
  // Among the top-level objects only; nullptr while busy.
  TSeSkinObject* FindObject(std::string_view name) const;
  TSeSkinObject* FindObjectByKind(TSeKind kind) const;
  // "Form" by name, failing that the first object of kind skForm.
  TSeSkinObject* FormObject() const;

  // Through the filter of the name's extension. An empty name, a file that exists neither as
  // named nor (for a relative name) in the executable's folder, and an extension without a filter
  // leave the source as it is. Errors of the content propagate after the file is closed.
  void LoadFromFile(const std::string& fileName);
  // The content of a skin file held in a stream; the name's extension chooses the filter.
  void LoadFromFileStream(TStream& stream, const std::string& fileName);
  // Under an extension without a filter the "kskn" form is written.
  void SaveToFile(const std::string& fileName);
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream);

 private:
  // The first object of kind skClient in each top-level tree is never masked.
  void UnmaskClients();

  std::string m_skinName;
  std::string m_skinVersion;
  std::string m_author;
  std::string m_authorEMail;
  std::string m_authorURL;
  std::vector<std::unique_ptr<TSeSkinObject>> m_objects;
  TseBitmapList m_images;
  bool m_busy = false;
  int m_appliedHue = 0;
};

}  // namespace vandrel
