#include "platform/core/DateFormat.h"

#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

#include "platform/core/Clock.h"
#include "platform/core/Exception.h"
#include "platform/core/Text.h"

namespace vandrel {

TFormatSettings TFormatSettings::FromEnvironment() {
  TFormatSettings s;
  if (const char* v = std::getenv("VANDREL_SHORTDATE"); v && *v) s.ShortDateFormat = v;
  if (const char* v = std::getenv("VANDREL_LONGTIME"); v && *v) s.LongTimeFormat = v;
  s.DeriveSeparators();
  return s;
}

void TFormatSettings::DeriveSeparators() {
  auto firstSeparator = [](const std::string& pattern, char fallback) {
    bool quoted = false;
    for (char c : pattern) {
      if (c == '\'' || c == '"') quoted = !quoted;
      else if (!quoted && !((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) && c != ' ')
        return c;
    }
    return fallback;
  };
  DateSeparator = firstSeparator(ShortDateFormat, DateSeparator);
  TimeSeparator = firstSeparator(LongTimeFormat, TimeSeparator);
}

TFormatSettings& FormatSettings() {
  static TFormatSettings settings = TFormatSettings::FromEnvironment();
  return settings;
}

namespace {

// What "%0*d" gives (the sign before the zeros), without printf: every date cell of a refresh
// comes through here.
void AppendNumber(std::string& out, int value, int digits) {
  char buffer[16];
  char* const end = buffer + sizeof buffer;
  char* p = end;
  unsigned magnitude = value < 0 ? 0u - unsigned(value) : unsigned(value);
  do {
    *--p = char('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  const int width = value < 0 ? digits - 1 : digits;
  while (end - p < width && p > buffer + 1) *--p = '0';
  if (value < 0) *--p = '-';
  out.append(p, end);
}

bool IsPatternLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

class Formatter {
 public:
  Formatter(TDateTime value, const TFormatSettings& settings) : m_settings(settings) {
    DecodeDate(value, m_year, m_month, m_day);
    DecodeTime(value, m_hour, m_min, m_sec, m_msec);
    m_dayOfWeek = DayOfWeek(value);
    m_hasTime = TimeOf(value) != 0;
  }

  void Append(std::string& out, std::string_view format, int depth) {
    // A pattern that names itself (a short date format containing "c") must not recurse forever.
    if (depth > 2) return;
    char lastToken = ' ';
    const bool twelveHour = HasAmPm(format);
    size_t i = 0;
    while (i < format.size()) {
      char c = format[i];
      if (c == '\'' || c == '"') {
        size_t end = format.find(c, i + 1);
        if (end == std::string_view::npos) end = format.size();
        out.append(format.substr(i + 1, end - i - 1));
        i = end + 1;
        continue;
      }
      if (!IsPatternLetter(c)) {
        if (c == '/') out += m_settings.DateSeparator;
        else if (c == ':') out += m_settings.TimeSeparator;
        else out += c;
        ++i;
        continue;
      }
      char token = AsciiUpper(c);
      if (token == 'A') {
        i += AppendAmPm(out, format.substr(i));
        lastToken = token;
        continue;
      }
      size_t count = 1;
      while (i + count < format.size() && AsciiUpper(format[i + count]) == token) ++count;
      i += count;
      switch (token) {
        case 'Y':
          if (count <= 2) AppendNumber(out, m_year % 100, 2);
          else AppendNumber(out, m_year, 4);
          break;
        case 'M':
          if (lastToken == 'H') {
            AppendNumber(out, m_min, count >= 2 ? 2 : 1);
          } else if (count <= 2) {
            AppendNumber(out, m_month, int(count));
          } else {
            out += (count == 3 ? m_settings.ShortMonthNames : m_settings.LongMonthNames)[size_t(m_month - 1)];
          }
          break;
        case 'D':
          if (count <= 2) AppendNumber(out, m_day, int(count));
          else if (count == 3) out += m_settings.ShortDayNames[size_t(m_dayOfWeek - 1)];
          else if (count == 4) out += m_settings.LongDayNames[size_t(m_dayOfWeek - 1)];
          else if (count == 5) Append(out, m_settings.ShortDateFormat, depth + 1);
          else Append(out, m_settings.LongDateFormat, depth + 1);
          break;
        case 'H': {
          int hour = m_hour;
          if (twelveHour) {
            hour %= 12;
            if (hour == 0) hour = 12;
          }
          AppendNumber(out, hour, count >= 2 ? 2 : 1);
          break;
        }
        case 'N':
          AppendNumber(out, m_min, count >= 2 ? 2 : 1);
          break;
        case 'S':
          AppendNumber(out, m_sec, count >= 2 ? 2 : 1);
          break;
        case 'Z':
          AppendNumber(out, m_msec, count >= 3 ? 3 : 1);
          break;
        case 'T':
          Append(out, count == 1 ? m_settings.ShortTimeFormat : m_settings.LongTimeFormat, depth + 1);
          break;
        case 'C':
          Append(out, m_settings.ShortDateFormat, depth + 1);
          if (m_hasTime) {
            out += ' ';
            Append(out, m_settings.LongTimeFormat, depth + 1);
          }
          break;
        default:
          out.append(count, c);
          break;
      }
      // "m" means minutes right after an hour, also when separated by non-letters.
      if (token != 'M' || lastToken != 'H') lastToken = token;
      else lastToken = ' ';
    }
  }

 private:
  static bool HasAmPm(std::string_view format) {
    bool quoted = false;
    for (size_t i = 0; i < format.size(); ++i) {
      if (format[i] == '\'' || format[i] == '"') quoted = !quoted;
      else if (!quoted && (StartsText("am/pm", format.substr(i)) || StartsText("a/p", format.substr(i)) ||
                           StartsText("ampm", format.substr(i))))
        return true;
    }
    return false;
  }

  // Returns how many pattern characters were consumed.
  size_t AppendAmPm(std::string& out, std::string_view rest) {
    const bool pm = m_hour >= 12;
    if (StartsText("am/pm", rest)) {
      std::string_view piece = rest.substr(0, 5);
      std::string_view word = pm ? piece.substr(3, 2) : piece.substr(0, 2);
      out.append(word);
      return 5;
    }
    if (StartsText("a/p", rest)) {
      out += pm ? rest[2] : rest[0];
      return 3;
    }
    if (StartsText("ampm", rest)) {
      out += pm ? m_settings.TimePMString : m_settings.TimeAMString;
      return 4;
    }
    out += rest[0];
    return 1;
  }

  const TFormatSettings& m_settings;
  int m_year, m_month, m_day, m_hour, m_min, m_sec, m_msec, m_dayOfWeek;
  bool m_hasTime;
};

// Reads an unsigned decimal number at text[i]; empty optional when there is none.
std::optional<int> ScanNumber(std::string_view text, size_t& i, size_t* digits = nullptr) {
  size_t start = i;
  long value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - start < 9) {
    value = value * 10 + (text[i] - '0');
    ++i;
  }
  if (digits) *digits = i - start;
  if (i == start) return std::nullopt;
  return int(value);
}

void SkipBlanks(std::string_view text, size_t& i) {
  while (i < text.size() && text[i] == ' ') ++i;
}

// The order of year (Y), month (M) and day (D) in a short date pattern.
std::string DateOrder(const std::string& pattern) {
  std::string order;
  bool quoted = false;
  for (char c : pattern) {
    if (c == '\'' || c == '"') quoted = !quoted;
    if (quoted) continue;
    char u = AsciiUpper(c);
    if ((u == 'Y' || u == 'M' || u == 'D') && order.find(u) == std::string::npos) order += u;
  }
  return order.size() == 3 ? order : "YMD";
}

bool ScanDate(std::string_view text, size_t& i, TDateTime& value, const TFormatSettings& settings) {
  std::vector<int> numbers;
  std::vector<size_t> widths;
  SkipBlanks(text, i);
  while (numbers.size() < 3) {
    size_t width = 0;
    auto n = ScanNumber(text, i, &width);
    if (!n) return false;
    numbers.push_back(*n);
    widths.push_back(width);
    if (numbers.size() == 3 || i >= text.size()) break;
    char sep = text[i];
    if (sep != settings.DateSeparator && sep != '/' && sep != '-' && sep != '.') break;
    ++i;
  }
  if (numbers.size() < 2) return false;
  std::string order = DateOrder(settings.ShortDateFormat);
  int year = -1, month = 0, day = 0;
  size_t yearWidth = 4;
  if (numbers.size() == 3) {
    for (size_t k = 0; k < 3; ++k) {
      if (order[k] == 'Y') year = numbers[k], yearWidth = widths[k];
      else if (order[k] == 'M') month = numbers[k];
      else day = numbers[k];
    }
  } else {
    order.erase(order.find('Y'), 1);
    month = order[0] == 'M' ? numbers[0] : numbers[1];
    day = order[0] == 'M' ? numbers[1] : numbers[0];
    int unusedMonth, unusedDay;
    DecodeDate(Now(), year, unusedMonth, unusedDay);
  }
  if (numbers.size() == 3 && yearWidth <= 2) {
    int currentYear, m, d;
    DecodeDate(Now(), currentYear, m, d);
    int pivot = currentYear - settings.TwoDigitYearCenturyWindow;
    year += pivot / 100 * 100;
    if (year < pivot) year += 100;
  }
  return TryEncodeDate(year, month, day, value);
}

bool ScanTime(std::string_view text, size_t& i, TDateTime& value, const TFormatSettings& settings) {
  SkipBlanks(text, i);
  int parts[3] = {0, 0, 0};
  int msec = 0;
  int count = 0;
  while (count < 3) {
    auto n = ScanNumber(text, i);
    if (!n) return false;
    parts[count++] = *n;
    if (i < text.size() && (text[i] == settings.TimeSeparator || text[i] == ':') && count < 3) {
      ++i;
      continue;
    }
    break;
  }
  if (count == 3 && i < text.size() && text[i] == '.') {
    ++i;
    size_t digits = 0;
    auto z = ScanNumber(text, i, &digits);
    if (!z || digits > 3) return false;
    msec = *z * (digits == 1 ? 100 : digits == 2 ? 10 : 1);
  }
  SkipBlanks(text, i);
  std::string_view rest = text.substr(i);
  int hour = parts[0];
  auto takeMarker = [&](std::string_view word, bool pm) {
    if (word.empty() || !StartsText(word, rest)) return false;
    if (hour < 1 || hour > 12) return false;
    hour = hour % 12 + (pm ? 12 : 0);
    i += word.size();
    return true;
  };
  const std::pair<std::string_view, bool> markers[] = {
      {settings.TimeAMString, false}, {settings.TimePMString, true}, {"AM", false}, {"PM", true}};
  for (const auto& [word, pm] : markers)
    if (takeMarker(word, pm)) break;
  return TryEncodeTime(hour, parts[1], parts[2], msec, value);
}

bool AtEnd(std::string_view text, size_t i) {
  SkipBlanks(text, i);
  return i == text.size();
}

}  // namespace

std::string FormatDateTime(std::string_view format, TDateTime value, const TFormatSettings& settings) {
  std::string out;
  Formatter(value, settings).Append(out, format.empty() ? "c" : format, 0);
  return out;
}

std::string DateToStr(TDateTime value, const TFormatSettings& settings) {
  return FormatDateTime("ddddd", value, settings);
}

std::string TimeToStr(TDateTime value, const TFormatSettings& settings) {
  return FormatDateTime("tt", value, settings);
}

std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings) {
  return FormatDateTime("c", value, settings);
}

bool TryStrToDate(std::string_view text, TDateTime& value, const TFormatSettings& settings) {
  size_t i = 0;
  TDateTime date;
  if (!ScanDate(text, i, date, settings) || !AtEnd(text, i)) return false;
  value = date;
  return true;
}

bool TryStrToTime(std::string_view text, TDateTime& value, const TFormatSettings& settings) {
  size_t i = 0;
  TDateTime time;
  if (!ScanTime(text, i, time, settings) || !AtEnd(text, i)) return false;
  value = time;
  return true;
}

bool TryStrToDateTime(std::string_view text, TDateTime& value, const TFormatSettings& settings) {
  size_t i = 0;
  TDateTime date, time = 0;
  if (!ScanDate(text, i, date, settings)) return TryStrToTime(text, value, settings);
  if (!AtEnd(text, i) && !ScanTime(text, i, time, settings)) return false;
  if (!AtEnd(text, i)) return false;
  value = ComposeDateTime(date, time);
  return true;
}

TDateTime StrToDate(std::string_view text, const TFormatSettings& settings) {
  TDateTime value;
  if (!TryStrToDate(text, value, settings))
    throw EConvertError("'" + std::string(text) + "' is not a valid date");
  return value;
}

TDateTime StrToTime(std::string_view text, const TFormatSettings& settings) {
  TDateTime value;
  if (!TryStrToTime(text, value, settings))
    throw EConvertError("'" + std::string(text) + "' is not a valid time");
  return value;
}

TDateTime StrToDateTime(std::string_view text, const TFormatSettings& settings) {
  TDateTime value;
  if (!TryStrToDateTime(text, value, settings))
    throw EConvertError("'" + std::string(text) + "' is not a valid date and time");
  return value;
}

}  // namespace vandrel
