// The registry of transition effects: every effect a transition can play, with its kind, its
// procedure and the display name forms offer, and the list of those names with the random and the
// bitmap entries in front. The registry is built with the built-in effects on first use and lives
// for the whole process.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "graphics/LinearRandom.h"
#include "platform/core/Exception.h"

namespace vandrel {

class TseBitmap;
class TseAnimationRec;

enum TseEffectKind { ekFade, ekSlide, ekManual };

// One cell of the cell map: the opacity of the cell (low byte) and the cell of the new picture it
// shows, in grid columns and rows.
struct TseCellEntry {
  std::uint16_t Alpha;
  std::uint16_t Column;
  std::uint16_t Row;
};
static_assert(sizeof(TseCellEntry) == 6);

// A fade-kind procedure writes the coverage mask, one byte per cell, row after row.
using TseFadeProc = void (*)(std::uint8_t* mask, int columns, int rows, int progress);
// A slide-kind procedure writes the cell map (cleared to zero before the call).
using TseSlideProc = void (*)(TseCellEntry* map, int columns, int rows, int progress);
// A manual-kind procedure draws the frame itself into the work picture, which holds the old
// picture when it is called.
using TseManualProc = void (*)(TseBitmap& work, TseBitmap& newPicture, const TseAnimationRec& rec,
                               int progress);
// The alternative in use matches the kind (ekFade, ekSlide, ekManual in that order).
using TseEffectProc = std::variant<TseFadeProc, TseSlideProc, TseManualProc>;

VANDREL_EXCEPTION(EProcItemError, Exception);

class TseProcItem {
 public:
  TseProcItem(std::string name, TseEffectKind kind, TseEffectProc proc);
  const std::string& Name() const { return m_name; }
  // The kind's prefix followed by the name, e.g. "[ FADE ] - FadeIn".
  const std::string& DisplayName() const { return m_displayName; }
  TseEffectKind Kind() const { return m_kind; }
  const TseEffectProc& Proc() const { return m_proc; }
  bool HasProc() const;

 private:
  std::string m_name;
  std::string m_displayName;
  TseEffectKind m_kind;
  TseEffectProc m_proc;
};

class TseProcList {
 public:
  int Count() const { return int(m_items.size()); }
  // Null for an index out of range.
  const TseProcItem* Items(int index) const;
  // Raises EProcItemError when an item of the same name (ignoring case) or procedure exists.
  void Add(std::string name, TseEffectKind kind, TseEffectProc proc);

 private:
  std::vector<std::unique_ptr<TseProcItem>> m_items;
};

std::string_view EffectKindPrefix(TseEffectKind kind);

// The process-wide registry.
TseProcList& EffectList();
void RegisterEffect(const std::string& name, TseEffectKind kind, TseEffectProc proc);
// The first item whose display name, or failing that whose bare name, equals the text ignoring
// case; null when none does.
const TseProcItem* FindEffect(std::string_view name);
// The random and bitmap entries, then every display name in registration order.
const std::vector<std::string>& EffectNames();
// The generator behind the random selection, seeded from the clock when the registry is built.
TLinearRandom& EffectRandom();

}  // namespace vandrel
