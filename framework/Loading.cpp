#include "framework/Loading.h"

#include <algorithm>

#include "framework/Form.h"

namespace vandrel {

TLoadingScope::TLoadingScope(TComponent* root) : m_root(root) { Mark(root); }

TLoadingScope::~TLoadingScope() {
  if (m_ended) return;
  try {
    End();
  } catch (...) {
  }
}

void TLoadingScope::Mark(TComponent* component) {
  if (!component || std::find(m_loading.begin(), m_loading.end(), component) != m_loading.end()) return;
  component->SetLoadingState(true);
  m_loading.push_back(component);
  for (int i = 0; i < component->ComponentCount(); ++i) Mark(component->Components(i));
}

void TLoadingScope::End() {
  if (m_ended) return;
  m_ended = true;
  // Components freed while loading are no longer owned by anyone in the tree; only live ones
  // (the root and what it still owns, directly or not) are finished.
  std::vector<TComponent*> live;
  auto collect = [&](auto&& self, TComponent* c) -> void {
    live.push_back(c);
    for (int i = 0; i < c->ComponentCount(); ++i) self(self, c->Components(i));
  };
  collect(collect, m_root);
  std::vector<TComponent*> order;
  for (TComponent* c : m_loading)
    if (std::find(live.begin(), live.end(), c) != live.end()) order.push_back(c);
  try {
    for (TComponent* c : order) c->Loaded();
  } catch (...) {
    for (TComponent* c : order) c->SetLoadingState(false);
    throw;
  }
  if (auto* form = dynamic_cast<TCustomForm*>(m_root)) form->DoCreate();
}

}  // namespace vandrel
