// Published properties and class information. Each streamable class declares one short table of
// its own published properties, one line each, in stored order; TClassInfo appends it to its
// base's table, so inherited properties come first. The writer, the reader, the text form and the
// class registry all work from these tables.
//
//   using T = TMyObject;
//   static const TClassInfo info("TMyObject", &TComponent::StaticClassInfo(), ComponentFactory<T>(), {
//       prop::Enum("Align", &T::Align, &T::SetAlign, kAlignNames, saNone),
//       prop::Color("Color", &T::Color, &T::SetColor, clWhite),
//       prop::Object("Font", &T::Font),
//       prop::Integer("Left", &T::Left, &T::SetLeft, 0),
//   });
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "framework/Event.h"
#include "framework/Persistent.h"
#include "framework/SmallSet.h"

namespace vandrel {

class TComponent;

// ColorToIdent/IdentToColor in the shape IdentInteger properties take.
std::optional<std::string_view> ColorIdentOf(std::int32_t color);
std::optional<std::int32_t> ColorOfIdent(std::string_view ident);

enum class TPropertyKind : std::uint8_t {
  Integer,      // 32-bit
  Int64,
  Boolean,
  Enumeration,  // stored by value name
  Set,          // stored as element names; the value is a bit mask, bit i = element i
  IdentInteger, // 32-bit, stored by identifier when it has one (colours, character sets), else as a number
  Float,
  String,       // UTF-8, stored as a short or long string
  WideString,   // UTF-8 in memory, stored as UTF-16
  Object,       // owned sub-object: stored as dotted sub-properties, or as a collection value
  Component,    // reference to a component by name
  Method,       // event, stored as the name of its handler
};

// How a Float property is stored: Extended and Double as a 10-byte real, the rest in their kinds.
enum class TFloatType : std::uint8_t { Extended, Single, Currency, Date };

struct TPropertyInfo {
  std::string_view name;
  TPropertyKind kind = TPropertyKind::Integer;
  TFloatType floatType = TFloatType::Extended;
  std::span<const std::string_view> names;  // enumeration values or set elements, in order
  std::optional<std::int64_t> defaultValue;  // ordinal kinds: not written when equal
  // IdentInteger: the identifier of a value, and the value of an identifier (std::nullopt: none).
  std::optional<std::string_view> (*toIdent)(std::int32_t) = nullptr;
  std::optional<std::int32_t> (*fromIdent)(std::string_view) = nullptr;
  std::function<bool(const TPersistent&)> stored;  // empty: stored

  std::function<std::int64_t(const TPersistent&)> getOrdinal;
  std::function<void(TPersistent&, std::int64_t)> setOrdinal;
  std::function<double(const TPersistent&)> getFloat;
  std::function<void(TPersistent&, double)> setFloat;
  std::function<std::string(const TPersistent&)> getString;
  std::function<void(TPersistent&, const std::string&)> setString;
  std::function<TPersistent*(const TPersistent&)> getObject;
  std::function<TComponent*(const TPersistent&)> getComponent;
  // Returns false when the component is not of the property's class.
  std::function<bool(TPersistent&, TComponent*)> setComponent;
  std::function<TEventBase*(TPersistent&)> getEvent;

  bool IsStored(const TPersistent& instance) const { return !stored || stored(instance); }

  // Chained modifiers for the declaration line.
  TPropertyInfo&& Stored(bool value) && {
    stored = [value](const TPersistent&) { return value; };
    return std::move(*this);
  }
  template <typename C>
  TPropertyInfo&& StoredIf(bool (C::*isStored)() const) && {
    stored = [isStored](const TPersistent& p) { return (static_cast<const C&>(p).*isStored)(); };
    return std::move(*this);
  }
  // Written also when equal to its default value.
  TPropertyInfo&& AlwaysStored() && {
    defaultValue.reset();
    return std::move(*this);
  }
};

class TClassInfo {
 public:
  using Factory = TComponent* (*)(TComponent* owner);

  TClassInfo(std::string_view name, const TClassInfo* parent, Factory factory,
             std::vector<TPropertyInfo> ownProperties);
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;

  std::string_view Name() const { return m_name; }
  const TClassInfo* Parent() const { return m_parent; }
  bool InheritsFrom(const TClassInfo& other) const;
  // All published properties, inherited first; a redeclared property keeps its base's place.
  const std::vector<TPropertyInfo>& Properties() const { return m_properties; }
  // Ignores ASCII case, as stored names do. Hashed: readers look up every stored property.
  const TPropertyInfo* FindProperty(std::string_view name) const;
  bool CanCreate() const { return m_factory != nullptr; }
  // Raises EComponentError for an abstract class.
  TComponent* Create(TComponent* owner) const;

 private:
  std::string_view m_name;
  const TClassInfo* m_parent;
  Factory m_factory;
  std::vector<TPropertyInfo> m_properties;
  // Open addressing over m_properties by a hash of the lower-cased name; index 0 marks a free
  // slot, else it is the property's index + 1.
  struct TSlot {
    std::uint32_t hash;
    std::uint32_t index;
  };
  std::vector<TSlot> m_slots;
};

template <typename T>
TClassInfo::Factory ComponentFactory() {
  return [](TComponent* owner) -> TComponent* { return new T(owner); };
}

// One-line declarations. Getters are const member functions, setters take the value.
namespace prop {

namespace detail {
inline TPropertyInfo Make(std::string_view name, TPropertyKind kind) {
  TPropertyInfo info;
  info.name = name;
  info.kind = kind;
  return info;
}
template <typename C>
const C& Self(const TPersistent& p) {
  return static_cast<const C&>(p);
}
template <typename C>
C& Self(TPersistent& p) {
  return static_cast<C&>(p);
}
template <typename C, typename G, typename S>
void SetOrdinalAccessors(TPropertyInfo& info, G (C::*get)() const, void (C::*set)(S)) {
  using V = std::remove_cvref_t<S>;
  info.getOrdinal = [get](const TPersistent& p) { return std::int64_t((Self<C>(p).*get)()); };
  info.setOrdinal = [set](TPersistent& p, std::int64_t v) { (Self<C>(p).*set)(static_cast<V>(v)); };
}
}  // namespace detail

template <typename C, typename G, typename S>
TPropertyInfo Integer(std::string_view name, G (C::*get)() const, void (C::*set)(S),
                      std::optional<std::int64_t> def = std::nullopt) {
  TPropertyInfo info = detail::Make(name, TPropertyKind::Integer);
  info.defaultValue = def;
  detail::SetOrdinalAccessors(info, get, set);
  return info;
}

template <typename C, typename G, typename S>
TPropertyInfo Int64(std::string_view name, G (C::*get)() const, void (C::*set)(S),
                    std::optional<std::int64_t> def = std::nullopt) {
  TPropertyInfo info = detail::Make(name, TPropertyKind::Int64);
  info.defaultValue = def;
  detail::SetOrdinalAccessors(info, get, set);
  return info;
}

template <typename C, typename S>
TPropertyInfo Boolean(std::string_view name, bool (C::*get)() const, void (C::*set)(S),
                      std::optional<bool> def = std::nullopt) {
  TPropertyInfo info = detail::Make(name, TPropertyKind::Boolean);
  if (def) info.defaultValue = *def ? 1 : 0;
  info.getOrdinal = [get](const TPersistent& p) { return std::int64_t((detail::Self<C>(p).*get)()); };
  info.setOrdinal = [set](TPersistent& p, std::int64_t v) { (detail::Self<C>(p).*set)(v != 0); };
  return info;
}

template <typename C, typename E, typename S>
TPropertyInfo Enum(std::string_view name, E (C::*get)() const, void (C::*set)(S),
                   std::span<const std::string_view> valueNames,
                   std::type_identity_t<std::optional<E>> def = std::nullopt) {
  TPropertyInfo info = detail::Make(name, TPropertyKind::Enumeration);
  info.names = valueNames;
  if (def) info.defaultValue = std::int64_t(*def);
  detail::SetOrdinalAccessors(info, get, set);
  return info;
}

// A set property whose value type is TSmallSet<E>.
template <typename C, typename E, typename S>
TPropertyInfo Set(std::string_view name, TSmallSet<E> (C::*get)() const, void (C::*set)(S),
                  std::span<const std::string_view> elementNames,
                  std::type_identity_t<std::optional<TSmallSet<E>>> def = std::nullopt) {
  TPropertyInfo info = detail::Make(name, TPropertyKind::Set);
  info.names = elementNames;
  if (def) info.defaultValue = std::int64_t(def->Bits());
  info.getOrdinal = [get](const TPersistent& p) {
    return std::int64_t((detail::Self<C>(p).*get)().Bits());
  };
  info.setOrdinal = [set](TPersistent& p, std::int64_t v) {
    (detail::Self<C>(p).*set)(TSmallSet<E>::FromBits(std::uint64_t(v)));
  };
  return info;
}

template <typename C, typename G, typename S>
TPropertyInfo IdentInteger(std::string_view name, G (C::*get)() const, void (C::*set)(S),
                           std::optional<std::string_view> (*toIdent)(std::int32_t),
                           std::optional<std::int32_t> (*fromIdent)(std::string_view),
                           std::optional<std::int64_t> def = std::nullopt) {
  TPropertyInfo info = detail::Make(name, TPropertyKind::IdentInteger);
  info.defaultValue = def;
  info.toIdent = toIdent;
  info.fromIdent = fromIdent;
  detail::SetOrdinalAccessors(info, get, set);
  return info;
}

// Colours go by their identifiers (clWhite, clBtnFace, ...) when they have one.
template <typename C, typename G, typename S>
TPropertyInfo Color(std::string_view name, G (C::*get)() const, void (C::*set)(S),
                    std::optional<std::int64_t> def = std::nullopt) {
  return IdentInteger(name, get, set, &ColorIdentOf, &ColorOfIdent, def);
}

template <typename C, typename G, typename S>
TPropertyInfo Float(std::string_view name, G (C::*get)() const, void (C::*set)(S),
                    TFloatType type = TFloatType::Extended) {
  TPropertyInfo info = detail::Make(name, TPropertyKind::Float);
  info.floatType = type;
  using V = std::remove_cvref_t<S>;
  info.getFloat = [get](const TPersistent& p) { return double((detail::Self<C>(p).*get)()); };
  info.setFloat = [set](TPersistent& p, double v) { (detail::Self<C>(p).*set)(static_cast<V>(v)); };
  return info;
}

template <typename C, typename G, typename S>
TPropertyInfo String(std::string_view name, G (C::*get)() const, void (C::*set)(S)) {
  TPropertyInfo info = detail::Make(name, TPropertyKind::String);
  info.getString = [get](const TPersistent& p) { return std::string((detail::Self<C>(p).*get)()); };
  info.setString = [set](TPersistent& p, const std::string& v) { (detail::Self<C>(p).*set)(v); };
  return info;
}

template <typename C, typename G, typename S>
TPropertyInfo WideString(std::string_view name, G (C::*get)() const, void (C::*set)(S)) {
  TPropertyInfo info = String(name, get, set);
  info.kind = TPropertyKind::WideString;
  return info;
}

// An owned sub-object (a font, a bitmap link, an option object, a collection). It is never
// replaced by streaming; its own properties are read and written in place.
template <typename C, typename O>
TPropertyInfo Object(std::string_view name, O* (C::*get)() const) {
  TPropertyInfo info = detail::Make(name, TPropertyKind::Object);
  info.getObject = [get](const TPersistent& p) -> TPersistent* { return (detail::Self<C>(p).*get)(); };
  return info;
}

template <typename C, typename R, typename A>
TPropertyInfo Component(std::string_view name, R* (C::*get)() const, void (C::*set)(A*)) {
  TPropertyInfo info = detail::Make(name, TPropertyKind::Component);
  info.getComponent = [get](const TPersistent& p) -> TComponent* { return (detail::Self<C>(p).*get)(); };
  info.setComponent = [set](TPersistent& p, TComponent* c) {
    A* typed = nullptr;
    if (c && !(typed = dynamic_cast<A*>(c))) return false;
    (detail::Self<C>(p).*set)(typed);
    return true;
  };
  return info;
}

template <typename C, typename Sig>
TPropertyInfo Event(std::string_view name, TEvent<Sig> C::*member) {
  TPropertyInfo info = detail::Make(name, TPropertyKind::Method);
  info.getEvent = [member](TPersistent& p) -> TEventBase* { return &(detail::Self<C>(p).*member); };
  return info;
}

}  // namespace prop

}  // namespace vandrel
