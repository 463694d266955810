// Skin objects as the compiler handles them: not as live objects but as the stored component
// streams, split into each object's own properties (kept byte for byte) and its children, so that
// a tree is rewritten exactly as it was read, and shown in the text form with children nested.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vandrel::skinpack {

using Bytes = std::vector<std::uint8_t>;

struct TStoredProperty {
  std::string Name;
  Bytes Value;  // the kind byte and its data
};

struct TObjectNode {
  std::string ClassName;
  std::string Name;
  std::vector<TStoredProperty> Properties;  // without "Objects"
  std::vector<TObjectNode> Children;

  const TStoredProperty* Find(std::string_view name) const;
  // An integer property (kinds 2, 3, 4), or fallback when it is not stored.
  std::int64_t Integer(std::string_view name, std::int64_t fallback) const;
  // An identifier property (kind 7), or fallback when it is not stored.
  std::string Ident(std::string_view name, std::string_view fallback) const;
};

// A binary component stream ("TPF0" ...) of one object. Its children come from the "Objects"
// property (binary or text records) or from the stream's own child list. Raises EReadError.
TObjectNode ParseObjectStream(std::span<const std::uint8_t> stream);
// The stream a skin object writes of itself: its properties, then "Objects" holding the children
// as binary object records.
Bytes ObjectStream(const TObjectNode& node);
// A binary object record: class name, byte count, stream.
Bytes BinaryObjectRecord(const TObjectNode& node);

// The text form with children as nested objects, and back. ObjectsFromText reads any number of
// top-level objects one after another; raises EParserError or EReadError naming what is wrong.
std::string ObjectText(const TObjectNode& node);
std::vector<TObjectNode> ObjectsFromText(std::string_view text);

}  // namespace vandrel::skinpack
