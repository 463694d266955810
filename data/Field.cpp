#include "data/Field.h"

#include "data/JetDatabase.h"
#include "data/JetFunctions.h"
#include "data/Query.h"
#include "platform/core/DateFormat.h"
#include "platform/core/Exception.h"

namespace vandrel {

const TJetValue& TField::Value() const { return m_query->CurrentValue(m_index); }

bool TField::IsNull() const { return Value().Kind == TJetValue::vkNull; }

std::string TField::AsString() const {
  const TJetValue& v = Value();
  switch (v.Kind) {
    case TJetValue::vkNull:
      return {};
    case TJetValue::vkText:
    case TJetValue::vkBlob:
      return v.Text;
    case TJetValue::vkInteger:
    case TJetValue::vkReal: {
      const double d = v.Kind == TJetValue::vkInteger ? double(v.Integer) : v.Real;
      // A value outside the years 100..9999 (a damaged file) is shown as the number it is.
      if (m_type == TJetType::jtDateTime && d > -657435.0 && d < 2958466.0) {
        const TFormatSettings& fs = FormatSettings();
        std::string text = JetDateText(fs.ShortDateFormat, d);
        if (TimeOf(d) != 0) text += " " + JetDateText(fs.LongTimeFormat, d);
        return text;
      }
      if (m_type == TJetType::jtBoolean) return d != 0 ? "True" : "False";
      if (v.Kind == TJetValue::vkInteger) return std::to_string(v.Integer);
      return JetNumberText(d, m_type);
    }
  }
  return {};
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
