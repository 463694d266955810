// Loading a form built in code the way reading it from a stored form would: the root and what it
// owns are marked as loading while their properties are set, then Loaded runs on each (root
// first, then the owned components in creation order), and a form fires OnCreate. Code paths
// that behave differently while loading then see the same states as for a stored form.
//
//   TLoadingScope loading(form);
//   auto* panel = loading.Create<TPanel>();   // owned by the form, loading from the start
//   panel->SetParent(form);
//   panel->SetAlign(alTop);
//   loading.End();                            // Loaded on the form, then on the panel; OnCreate
#pragma once

#include <vector>

#include "framework/Component.h"

namespace vandrel {

class TLoadingScope {
 public:
  explicit TLoadingScope(TComponent* root);
  // Ends the loading if End was not called (errors from Loaded are then swallowed).
  ~TLoadingScope();
  TLoadingScope(const TLoadingScope&) = delete;
  TLoadingScope& operator=(const TLoadingScope&) = delete;

  template <typename T, typename... Args>
  T* Create(Args&&... args) {
    T* c = new T(m_root, std::forward<Args>(args)...);
    Mark(c);
    return c;
  }
  // A component made otherwise (owned by a component of the root) joins the loading.
  void Add(TComponent* component) { Mark(component); }
  void End();

 private:
  void Mark(TComponent* component);
  TComponent* m_root;
  std::vector<TComponent*> m_loading;
  bool m_ended = false;
};

}  // namespace vandrel
