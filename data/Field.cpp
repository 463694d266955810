#include "data/Field.h"

#include <charconv>

#include "data/JetDatabase.h"
#include "data/JetFunctions.h"
#include "data/Query.h"
#include "platform/core/DateFormat.h"
#include "platform/core/Exception.h"

namespace vandrel {

const TJetValue& TField::Value() const { return m_query->CurrentValue(m_index); }

bool TField::IsNull() const { return Value().Kind == TJetValue::vkNull; }

std::string TField::AsString() const {
  std::string text;
  AppendText(text);
  return text;
}

void TField::AppendText(std::string& out) const {
  const TJetValue& v = Value();
  switch (v.Kind) {
    case TJetValue::vkNull:
      return;
    case TJetValue::vkText:
    case TJetValue::vkBlob:
      out += v.Text;
      return;
    case TJetValue::vkInteger:
    case TJetValue::vkReal: {
      const double d = v.Kind == TJetValue::vkInteger ? double(v.Integer) : v.Real;
      // A value outside the years 100..9999 (a damaged file) is shown as the number it is.
      if (m_type == TJetType::jtDateTime && d > -657435.0 && d < 2958466.0) {
        const TFormatSettings& fs = FormatSettings();
        out += JetDateText(fs.ShortDateFormat, d);
        if (TimeOf(d) != 0) {
          out += ' ';
          out += JetDateText(fs.LongTimeFormat, d);
        }
        return;
      }
      if (m_type == TJetType::jtBoolean) {
        out += d != 0 ? "True" : "False";
        return;
      }
      if (v.Kind == TJetValue::vkInteger) {
        char digits[24];
        out.append(digits, std::to_chars(digits, digits + sizeof digits, v.Integer).ptr);
        return;
      }
      out += JetNumberText(d, m_type);
      return;
    }
  }
}

TDateTime TField::AsDateTime() const {
  const TJetValue& v = Value();
  switch (v.Kind) {
    case TJetValue::vkNull:
      return 0;
    case TJetValue::vkInteger:
      return double(v.Integer);
    case TJetValue::vkReal:
      return v.Real;
    case TJetValue::vkText:
      return StrToDateTime(v.Text);
    case TJetValue::vkBlob:
      break;
  }
  throw EConvertError("'" + m_name + "' is not a date/time value");
}

}  // namespace vandrel
