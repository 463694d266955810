// The text form of a component stream ("object Name: TClass ... end") and its converters. Text
// is converted to the binary stream before it is read, and a written object is converted from
// its binary stream, so the text form carries exactly what the binary stream does.
#pragma once

#include <string>
#include <string_view>

namespace vandrel {

class TStream;
class TComponent;

// Both converters write to output only when the whole input converted; a damaged input raises
// EReadError (EParserError for text) and leaves output untouched.
void ObjectBinaryToText(TStream& input, TStream& output);
void ObjectTextToBinary(TStream& input, TStream& output);

std::string ObjectBinaryToText(std::string_view binary);
std::string ObjectTextToBinary(std::string_view text);

// A component and what it owns as text, and back (root as in ReadComponentFromStream).
std::string ComponentToText(TComponent& root);
TComponent* ComponentFromText(std::string_view text, TComponent* root = nullptr);

}  // namespace vandrel
