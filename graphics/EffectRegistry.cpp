#include "graphics/EffectRegistry.h"

#include <chrono>

#include "framework/ClassRegistry.h"
#include "graphics/AnimationRec.h"
#include "graphics/BuiltInEffects.h"
#include "platform/core/Text.h"

namespace vandrel {

namespace {

struct TEffectRegistry {
  TseProcList List;
  std::vector<std::string> Names{std::string(kRandomEffectName), std::string(kBitmapEffectName)};
  TLinearRandom Random;
};

void Enter(TEffectRegistry& r, std::string name, TseEffectKind kind, TseEffectProc proc) {
  r.List.Add(std::move(name), kind, proc);
  r.Names.push_back(r.List.Items(r.List.Count() - 1)->DisplayName());
}

// Built on first use with the effects of this library; the random selection's generator is
// seeded from the clock before anything else.
TEffectRegistry& Registry() {
  static TEffectRegistry registry = [] {
    TEffectRegistry r;
    r.Random.SetSeed(std::uint32_t(
        std::chrono::steady_clock::now().time_since_epoch().count() ^
        std::chrono::system_clock::now().time_since_epoch().count()));
    for (auto family : {WipeEffects, PixelEffects, ShapeEffects, FlowEffects, CellEffects})
      for (const TseEffectEntry& e : family()) Enter(r, std::string(e.Name), e.Kind, e.Proc);
    RegisterClass<TseAnimationRec>();
    return r;
  }();
  return registry;
}

bool IsNull(const TseEffectProc& proc) {
  return std::visit([](auto p) { return p == nullptr; }, proc);
}

}  // namespace

std::string_view EffectKindPrefix(TseEffectKind kind) {
  switch (kind) {
    case ekSlide: return "[ SLIDE ] - ";
    case ekManual: return "[ MANUAL ] - ";
    case ekFade: break;
  }
  return "[ FADE ] - ";
}

TseProcItem::TseProcItem(std::string name, TseEffectKind kind, TseEffectProc proc)
    : m_name(std::move(name)), m_kind(kind), m_proc(proc) {
  m_displayName = std::string(EffectKindPrefix(kind)) + m_name;
}

bool TseProcItem::HasProc() const { return !IsNull(m_proc); }

const TseProcItem* TseProcList::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return m_items[std::size_t(index)].get();
}

void TseProcList::Add(std::string name, TseEffectKind kind, TseEffectProc proc) {
  if (std::size_t(kind) != proc.index())
    throw EInvalidArgument("The procedure of effect " + name + " is not of its kind");
  for (const auto& item : m_items)
    if (SameText(item->Name(), name) || (!IsNull(proc) && item->Proc() == proc))
      throw EProcItemError("Effect procedute " + name + " already exists in list");
  m_items.push_back(std::make_unique<TseProcItem>(std::move(name), kind, proc));
}

TseProcList& EffectList() { return Registry().List; }

void RegisterEffect(const std::string& name, TseEffectKind kind, TseEffectProc proc) {
  Enter(Registry(), name, kind, proc);
}

const TseProcItem* FindEffect(std::string_view name) {
  const TseProcList& list = EffectList();
  for (int i = 0; i < list.Count(); ++i)
    if (SameText(list.Items(i)->DisplayName(), name)) return list.Items(i);
  for (int i = 0; i < list.Count(); ++i)
    if (SameText(list.Items(i)->Name(), name)) return list.Items(i);
  return nullptr;
}

const std::vector<std::string>& EffectNames() { return Registry().Names; }

TLinearRandom& EffectRandom() { return Registry().Random; }

}  // namespace vandrel
