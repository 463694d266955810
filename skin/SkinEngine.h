// TSeSkinEngine: the component every skinned part of a window names as its engine. It owns the
// loaded skin (a TSeSkinSource), fills it from a skin file, from the skin stored inside the engine
// or from an entry of a skin list, shifts its hue, and tells every form and control before and
// after the skin changes.
//
//   change            before-change step               after-change step
//   first load        -                                clients, then OnAfterChange
//   reload, index     OnBeforeChange, then clients     clients, then OnAfterChange
//   hue               OnBeforeChange, then clients     clients, then OnAfterChange
//
// Clients may use the skin only between a skin-changed and the next skin-changing notification;
// while a skin is replaced the source is busy and reads as empty.
#pragma once

#include <memory>
#include <string>

#include "framework/Component.h"
#include "framework/Event.h"
#include "platform/core/Stream.h"
#include "skin/SkinClient.h"

namespace vandrel {

class TSeSkinList;
class TSeSkinSource;

class TSeSkinEngine : public TComponent {
  VANDREL_CLASS_INFO
 public:
  explicit TSeSkinEngine(TComponent* owner);
  ~TSeSkinEngine() override;

  int DeltaHue() const { return m_deltaHue; }
  void SetDeltaHue(int value);
  const std::string& SkinFile() const { return m_skinFile; }
  void SetSkinFile(const std::string& fileName);
  // Loads the content of a skin file held in memory (SkinFile becomes empty; fileName's extension
  // names the file type), with the same notifications as a file load.
  void LoadSkinFromStream(TStream& stream, const std::string& fileName);
  TSeSkinList* SkinList() const { return m_skinList; }
  void SetSkinList(TSeSkinList* list);
  int SkinIndex() const { return m_skinIndex; }
  void SetSkinIndex(int index);
  // "(none)", or at design time the file-name part of the loaded skin's name; writing does nothing.
  std::string SkinStore() const;
  void SetSkinStore(const std::string&) {}
  bool SkinStoreCompression() const { return m_skinStoreCompression; }
  void SetSkinStoreCompression(bool value) { m_skinStoreCompression = value; }
  const std::string& Version() const;
  void SetVersion(const std::string&) {}

  TNotifyEvent OnBeforeChange;
  TNotifyEvent OnAfterChange;

  // The loaded skin, owned by the engine.
  TSeSkinSource& SkinSource() const { return *m_source; }
  // The loaded skin as skinned components see it: ready, lookups and private copies of objects.
  virtual const ISeSkinSource* Source() const { return m_clientSource.get(); }

  void DefineProperties(TFiler& filer) override;
  void Loaded() override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  // Each returns false when a handler freed the engine: the caller then touches nothing of it.
  [[nodiscard]] bool BeforeChange();
  [[nodiscard]] bool AfterChange();
  // Replaces the skin by what load reads, with the notifications around it. A load that fails
  // leaves no skin rather than part of one; the error then propagates.
  template <typename Load>
  void ReplaceSkin(bool announce, Load&& load);
  void ApplySkinIndex();
  void ReadSkinStream(TStream& stream);
  void WriteSkinStream(TStream& stream);

  int m_deltaHue = 0;
  std::string m_skinFile;
  TSeSkinList* m_skinList = nullptr;
  int m_skinIndex = -1;
  bool m_skinStoreCompression = false;
  bool m_changingHue = false;
  std::unique_ptr<TSeSkinSource> m_source;
  std::unique_ptr<ISeSkinSource> m_clientSource;
};

}  // namespace vandrel
