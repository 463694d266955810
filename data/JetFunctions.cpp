#include "data/JetFunctions.h"

#include <sqlite3.h>

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <cmath>
#include <string_view>

#include "data/JetSqlTranslator.h"
#include "platform/core/DateFormat.h"
#include "platform/core/DateTime.h"
#include "platform/core/Text.h"

namespace vandrel {

namespace {

bool ToDate(sqlite3_value* v, double& out) {
  switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
      out = sqlite3_value_double(v);
      return std::isfinite(out) && std::fabs(out) < 2958466.0 + 657435.0;
    case SQLITE_TEXT: {
      const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(v));
      return ParseJetDateLiteral(std::string_view(t, size_t(sqlite3_value_bytes(v))), out);
    }
    default:
      return false;
  }
}

bool ValidDate(double d) { return d > -657435.0 && d < 2958466.0; }

// The interval 'd' of the reminder queries, recognised without building a string per row.
bool IsDayInterval(sqlite3_value* v) {
  if (sqlite3_value_type(v) != SQLITE_TEXT || sqlite3_value_bytes(v) != 1) return false;
  const unsigned char c = sqlite3_value_text(v)[0];
  return c == 'd' || c == 'D';
}

std::string Interval(sqlite3_value* v) {
  const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(v));
  return t ? LowerCase(Trim(t)) : std::string();
}

// Seconds on one continuous timeline (day counts use a positive time fraction on negative days).
double Timeline(double d) {
  const double day = std::trunc(d);
  return day * 86400.0 + std::round(std::fabs(d - day) * 86400.0);
}

double FromTimeline(double seconds) {
  const double day = std::floor(seconds / 86400.0);
  return ComposeDateTime(day, (seconds - day * 86400.0) / 86400.0);
}

int DatePart(const std::string& interval, double d, bool& ok) {
  ok = true;
  int y, m, dd, h, n, s, ms;
  DecodeDate(d, y, m, dd);
  DecodeTime(d, h, n, s, ms);
  if (interval == "yyyy") return y;
  if (interval == "q") return (m - 1) / 3 + 1;
  if (interval == "m") return m;
  if (interval == "d") return dd;
  if (interval == "y") return int(DateOf(d) - DateOf(EncodeDate(y, 1, 1))) + 1;
  if (interval == "w") return DayOfWeek(d);
  if (interval == "h") return h;
  if (interval == "n") return n;
  if (interval == "s") return s;
  ok = false;
  return 0;
}

void Error(sqlite3_context* ctx, const std::string& message) {
  sqlite3_result_error(ctx, message.c_str(), -1);
}

// Day number since 1970-01-01 to a civil date (proleptic Gregorian).
void CivilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = unsigned(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = int(doy - (153 * mp + 2) / 5 + 1);
  m = int(mp < 10 ? mp + 3 : mp - 9);
  y = int(yoe + era * 400 + (m <= 2));
}

// The patterns of the reminder queries, formatted without the general pattern interpreter:
// they run once per row of the largest tables.
bool FastFormat(const char* pattern, double value, char* out, size_t& length) {
  enum { kYm, kYmd, kMd, kM, kY, kD } kind;
  if (!std::strcmp(pattern, "yyyy-mm")) kind = kYm;
  else if (!std::strcmp(pattern, "yyyy-mm-dd")) kind = kYmd;
  else if (!std::strcmp(pattern, "mm:dd") && FormatSettings().TimeSeparator == ':') kind = kMd;
  else if (!std::strcmp(pattern, "mm")) kind = kM;
  else if (!std::strcmp(pattern, "yyyy")) kind = kY;
  else if (!std::strcmp(pattern, "dd")) kind = kD;
  else return false;
  int y, m, d;
  CivilFromDays((long long)std::trunc(value) - 25569, y, m, d);
  if (y < 1 || y > 9999) return false;
  auto two = [&](int v) {
    out[length++] = char('0' + v / 10);
    out[length++] = char('0' + v % 10);
  };
  length = 0;
  if (kind == kYm || kind == kYmd || kind == kY) {
    two(y / 100);
    two(y % 100);
  }
  if (kind == kYm || kind == kYmd) out[length++] = '-';
  if (kind != kY && kind != kD) two(m);
  if (kind == kYmd) out[length++] = '-';
  if (kind == kMd) out[length++] = ':';
  if (kind == kYmd || kind == kMd || kind == kD) two(d);
  return true;
}

// The parts of a date a format pattern shows, as one number: equal numbers, equal texts.
enum TDateKeyKind { dkNone, dkMonth, dkMonthDay, dkDay, dkYear, dkYearMonth, dkYearMonthDay };

TDateKeyKind DateKeyKind(std::string_view pattern) {
  if (pattern == "mm") return dkMonth;
  if (pattern == "mm:dd") return dkMonthDay;
  if (pattern == "dd") return dkDay;
  if (pattern == "yyyy") return dkYear;
  if (pattern == "yyyy-mm") return dkYearMonth;
  if (pattern == "yyyy-mm-dd") return dkYearMonthDay;
  return dkNone;
}

long long DateKey(TDateKeyKind kind, double value) {
  int y, m, d;
  CivilFromDays((long long)std::trunc(value) - 25569, y, m, d);
  switch (kind) {
    case dkMonth: return m;
    case dkMonthDay: return m * 100 + d;
    case dkDay: return d;
    case dkYear: return y;
    case dkYearMonth: return y * 100LL + m;
    case dkYearMonthDay: return y * 10000LL + m * 100 + d;
    case dkNone: break;
  }
  return -1;
}

// The kind of a pattern argument: a constant of the statement, decoded once and kept with it.
TDateKeyKind PatternKind(sqlite3_context* ctx, sqlite3_value** argv, int arg) {
  static constexpr TDateKeyKind kKinds[] = {dkNone, dkMonth, dkMonthDay, dkDay, dkYear, dkYearMonth, dkYearMonthDay};
  const auto* cached = static_cast<const TDateKeyKind*>(sqlite3_get_auxdata(ctx, arg));
  if (!cached) {
    const auto* pattern = reinterpret_cast<const char*>(sqlite3_value_text(argv[arg]));
    cached = &kKinds[DateKeyKind(pattern ? pattern : "")];
    sqlite3_set_auxdata(ctx, arg, const_cast<TDateKeyKind*>(cached), nullptr);
  }
  return *cached;
}

// The key of a value that is not NULL; -1 where format would hand back a value that is no date
// (it never equals a text then).
long long ValueDateKey(TDateKeyKind kind, sqlite3_value* value) {
  const int type = sqlite3_value_type(value);
  const double v = sqlite3_value_double(value);
  if (kind == dkNone || (type != SQLITE_FLOAT && type != SQLITE_INTEGER) || !ValidDate(v)) return -1;
  return DateKey(kind, v);
}

// jet_datekey(date column, pattern): the key of what format would show, NULL for NULL.
void FnDateKey(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
  sqlite3_result_int64(ctx, ValueDateKey(PatternKind(ctx, argv, 1), argv[0]));
}

// jet_datekey_any(pattern, key, date, date, ...): whether the key of any of the dates is `key`,
// with the NULLs of an OR of jet_datekey(date, pattern) = key comparisons: one call for the
// several columns a birthday query tests in every row.
void FnDateKeyAny(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  const TDateKeyKind kind = PatternKind(ctx, argv, 0);
  const long long key = sqlite3_value_int64(argv[1]);
  bool sawNull = false;
  for (int i = 2; i < argc; ++i) {
    if (sqlite3_value_type(argv[i]) == SQLITE_NULL) sawNull = true;
    else if (ValueDateKey(kind, argv[i]) == key) return sqlite3_result_int(ctx, 1);
  }
  if (sawNull) return sqlite3_result_null(ctx);
  sqlite3_result_int(ctx, 0);
}

// jet_text_any(text, value, value, ...): whether any value equals the text as a text column
// compares (NOCASE: ASCII letters without regard to case), with the NULLs of an OR of the
// comparisons.
void FnTextAny(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
  const int length = sqlite3_value_bytes(argv[0]);
  bool sawNull = false;
  for (int i = 1; i < argc; ++i) {
    const int type = sqlite3_value_type(argv[i]);
    if (type == SQLITE_NULL) {
      sawNull = true;
      continue;
    }
    // Text against a text column: a number or a blob is never equal.
    if (type != SQLITE_TEXT) continue;
    const auto* value = reinterpret_cast<const char*>(sqlite3_value_text(argv[i]));
    const int n = sqlite3_value_bytes(argv[i]);
    if (n == length && sqlite3_strnicmp(value, text, n) == 0) return sqlite3_result_int(ctx, 1);
  }
  if (sawNull) return sqlite3_result_null(ctx);
  sqlite3_result_int(ctx, 0);
}

void FnFormat(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
  const auto* pattern = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
  double d;
  if (!pattern || !ToDate(argv[0], d) || !ValidDate(d)) {
    // Not a date: Jet leaves a text as it is.
    return sqlite3_result_value(ctx, argv[0]);
  }
  char fast[16];
  size_t length = 0;
  if (FastFormat(pattern, d, fast, length)) return sqlite3_result_text(ctx, fast, int(length), SQLITE_TRANSIENT);
  const std::string out = FormatDateTime(pattern, d);
  sqlite3_result_text(ctx, out.c_str(), int(out.size()), SQLITE_TRANSIENT);
}

void FnDateDiff(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[1]) == SQLITE_NULL || sqlite3_value_type(argv[2]) == SQLITE_NULL)
    return sqlite3_result_null(ctx);
  double a, b;
  if (!ToDate(argv[1], a) || !ToDate(argv[2], b) || !ValidDate(a) || !ValidDate(b))
    return Error(ctx, "Data type mismatch in criteria expression (datediff)");
  if (IsDayInterval(argv[0])) return sqlite3_result_int64(ctx, (long long)(DateOf(b) - DateOf(a)));
  const std::string iv = Interval(argv[0]);
  long long r;
  if (iv == "d" || iv == "y") {
    r = (long long)(DateOf(b) - DateOf(a));
  } else if (iv == "w") {
    r = (long long)(DateOf(b) - DateOf(a)) / 7;
  } else if (iv == "ww") {
    r = (long long)(std::floor((DateOf(b) - 1) / 7) - std::floor((DateOf(a) - 1) / 7));
  } else if (iv == "m" || iv == "q" || iv == "yyyy") {
    int ya, ma, da, yb, mb, db;
    DecodeDate(a, ya, ma, da);
    DecodeDate(b, yb, mb, db);
    if (iv == "m") r = (yb * 12LL + mb) - (ya * 12LL + ma);
    else if (iv == "q") r = (yb * 4LL + (mb - 1) / 3) - (ya * 4LL + (ma - 1) / 3);
    else r = yb - ya;
  } else if (iv == "h" || iv == "n" || iv == "s") {
    const double unit = iv == "h" ? 3600 : iv == "n" ? 60 : 1;
    r = (long long)(std::floor(Timeline(b) / unit) - std::floor(Timeline(a) / unit));
  } else {
    return Error(ctx, "Invalid procedure call: datediff interval '" + iv + "'");
  }
  sqlite3_result_int64(ctx, r);
}

void FnDateAdd(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[1]) == SQLITE_NULL || sqlite3_value_type(argv[2]) == SQLITE_NULL)
    return sqlite3_result_null(ctx);
  const double count = sqlite3_value_double(argv[1]);
  double d;
  if (!ToDate(argv[2], d) || !ValidDate(d) || !std::isfinite(count) || std::fabs(count) > 4e6)
    return Error(ctx, "Data type mismatch in criteria expression (DateAdd)");
  const int n = int(std::lround(count));
  // Whole days on a non-negative day count keep the time fraction as they are.
  if (IsDayInterval(argv[0]) && d >= 0 && d + n >= 0 && ValidDate(d + n))
    return sqlite3_result_double(ctx, d + n);
  const std::string iv = Interval(argv[0]);
  double r;
  if (iv == "d" || iv == "y" || iv == "w") r = IncDay(d, n);
  else if (iv == "ww") r = IncDay(d, 7 * n);
  else if (iv == "m" || iv == "q" || iv == "yyyy") r = IncMonth(d, n * (iv == "m" ? 1 : iv == "q" ? 3 : 12));
  else if (iv == "h" || iv == "n" || iv == "s")
    r = FromTimeline(Timeline(d) + n * (iv == "h" ? 3600.0 : iv == "n" ? 60.0 : 1.0));
  else return Error(ctx, "Invalid procedure call: DateAdd interval '" + iv + "'");
  if (!ValidDate(r)) return Error(ctx, "Overflow in DateAdd");
  sqlite3_result_double(ctx, r);
}

void FnDatePart(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[1]) == SQLITE_NULL) return sqlite3_result_null(ctx);
  double d;
  if (!ToDate(argv[1], d) || !ValidDate(d)) return Error(ctx, "Data type mismatch (DatePart)");
  bool ok;
  const int r = DatePart(Interval(argv[0]), d, ok);
  if (!ok) return Error(ctx, "Invalid procedure call: DatePart interval");
  sqlite3_result_int(ctx, r);
}

template <char const* Part>
void FnPart(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
  double d;
  if (!ToDate(argv[0], d) || !ValidDate(d)) return Error(ctx, "Data type mismatch in criteria expression");
  bool ok;
  sqlite3_result_int(ctx, DatePart(Part, d, ok));
}

constexpr char kYear[] = "yyyy", kMonth[] = "m", kDay[] = "d", kWeekday[] = "w", kHour[] = "h",
               kMinute[] = "n", kSecond[] = "s";

void FnCDate(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
  double d;
  if (!ToDate(argv[0], d) || !ValidDate(d)) return Error(ctx, "Data type mismatch (CDate)");
  sqlite3_result_double(ctx, d);
}

void FnText(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const int t = sqlite3_value_type(argv[0]);
  if (t == SQLITE_NULL || t == SQLITE_TEXT || t == SQLITE_BLOB) return sqlite3_result_value(ctx, argv[0]);
  const auto type = TJetType(sqlite3_value_int(argv[1]));
  const std::string out = JetVariantText(sqlite3_value_double(argv[0]), type);
  sqlite3_result_text(ctx, out.c_str(), int(out.size()), SQLITE_TRANSIENT);
}

bool RoundedPair(sqlite3_context* ctx, sqlite3_value** argv, long long& a, long long& b) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return false;
  }
  const double x = sqlite3_value_double(argv[0]), y = sqlite3_value_double(argv[1]);
  if (!std::isfinite(x) || !std::isfinite(y) || std::fabs(x) > 9e18 || std::fabs(y) > 9e18) {
    Error(ctx, "Overflow");
    return false;
  }
  // Jet rounds halves to even before an integer operation.
  a = (long long)std::nearbyint(x);
  b = (long long)std::nearbyint(y);
  if (b == 0) {
    sqlite3_result_null(ctx);
    return false;
  }
  return true;
}

void FnMod(sqlite3_context* ctx, int, sqlite3_value** argv) {
  long long a, b;
  if (RoundedPair(ctx, argv, a, b)) sqlite3_result_int64(ctx, b == -1 ? 0 : a % b);
}

void FnIntDiv(sqlite3_context* ctx, int, sqlite3_value** argv) {
  long long a, b;
  if (RoundedPair(ctx, argv, a, b)) sqlite3_result_int64(ctx, b == -1 ? -a : a / b);
}

void FnPower(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
    return sqlite3_result_null(ctx);
  sqlite3_result_double(ctx, std::pow(sqlite3_value_double(argv[0]), sqlite3_value_double(argv[1])));
}

void FnRight(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
  const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
  const std::u16string s = Utf8ToUtf16(t ? t : "");
  const long long n = std::max<long long>(0, sqlite3_value_int64(argv[1]));
  const std::string out = Utf16ToUtf8(n >= (long long)s.size() ? s : s.substr(s.size() - size_t(n)));
  sqlite3_result_text(ctx, out.c_str(), int(out.size()), SQLITE_TRANSIENT);
}

// An exception must not unwind through SQLite's C frames: it becomes the statement's error.
template <void (*F)(sqlite3_context*, int, sqlite3_value**)>
void Guarded(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  try {
    F(ctx, argc, argv);
  } catch (const std::exception& e) {
    sqlite3_result_error(ctx, e.what(), -1);
  }
}

void Register(sqlite3* db, const char* name, int argc, void (*fn)(sqlite3_context*, int, sqlite3_value**)) {
  sqlite3_create_function(db, name, argc, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, fn, nullptr, nullptr);
}

}  // namespace

namespace {

template <typename T>
std::string ShortestText(T value) {
  // Shortest round-trip digits; fixed notation unless the exponent is far out, then "1E-05".
  char buf[64];
  auto sci = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
  const std::string s(buf, sci.ptr);
  const size_t e = s.find('e');
  const int exponent = e == std::string::npos ? 0 : std::atoi(s.c_str() + e + 1);
  if (exponent >= -5 && exponent < 15) {
    auto fixed = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    return std::string(buf, fixed.ptr);
  }
  std::string out = s;
  if (e != std::string::npos) out[e] = 'E';
  return out;
}

}  // namespace

std::string JetNumberText(double value, TJetType type) {
  if (value == 0) return "0";
  if (type == TJetType::jtSingle) return ShortestText(float(value));
  return ShortestText(value);
}

bool JetDateKey(std::string_view pattern, double value, long long& key) {
  const TDateKeyKind kind = DateKeyKind(pattern);
  if (kind == dkNone || !ValidDate(value)) return false;
  key = DateKey(kind, value);
  return true;
}

std::string JetDateText(const std::string& pattern, double value) {
  const bool date = pattern == "yyyy-M-d";
  if (!date && pattern != "H:mm:ss") return FormatDateTime(pattern, value);
  int a, b, c, ms;
  if (date) DecodeDate(value, a, b, c);
  else DecodeTime(value, a, b, c, ms);
  if (date && (a < 0 || a > 9999)) return FormatDateTime(pattern, value);
  char buf[16];
  size_t n = 0;
  auto put = [&](int v, int digits) {
    char tmp[8];
    int k = 0;
    do {
      tmp[k++] = char('0' + v % 10);
      v /= 10;
    } while (v > 0 || k < digits);
    while (k > 0) buf[n++] = tmp[--k];
  };
  put(a, date ? 4 : 1);
  buf[n++] = date ? '-' : ':';
  put(b, date ? 1 : 2);
  buf[n++] = date ? '-' : ':';
  put(c, date ? 1 : 2);
  return std::string(buf, n);
}

std::string JetVariantText(double value, TJetType type) {
  if (type == TJetType::jtBoolean) return value != 0 ? "True" : "False";
  if (type == TJetType::jtDateTime) {
    const TFormatSettings& fs = FormatSettings();
    if (DateOf(value) == 0) return JetDateText(fs.LongTimeFormat, value);
    if (TimeOf(value) == 0) return JetDateText(fs.ShortDateFormat, value);
    return JetDateText(fs.ShortDateFormat, value) + " " + JetDateText(fs.LongTimeFormat, value);
  }
  return JetNumberText(value, type);
}

void RegisterJetFunctions(sqlite3* db) {
  Register(db, "jet_format", 2, Guarded<FnFormat>);
  // SQLite's own format() is printf(); a Jet text that reaches it must not silently mean that.
  Register(db, "format", 2, Guarded<FnFormat>);
  Register(db, "jet_datekey", 2, Guarded<FnDateKey>);
  Register(db, "jet_datekey_any", -1, Guarded<FnDateKeyAny>);
  Register(db, "jet_text_any", -1, Guarded<FnTextAny>);
  Register(db, "jet_datediff", 3, Guarded<FnDateDiff>);
  Register(db, "jet_dateadd", 3, Guarded<FnDateAdd>);
  Register(db, "jet_datepart", 2, Guarded<FnDatePart>);
  Register(db, "jet_year", 1, Guarded<FnPart<kYear>>);
  Register(db, "jet_month", 1, Guarded<FnPart<kMonth>>);
  Register(db, "jet_day", 1, Guarded<FnPart<kDay>>);
  Register(db, "jet_weekday", 1, Guarded<FnPart<kWeekday>>);
  Register(db, "jet_hour", 1, Guarded<FnPart<kHour>>);
  Register(db, "jet_minute", 1, Guarded<FnPart<kMinute>>);
  Register(db, "jet_second", 1, Guarded<FnPart<kSecond>>);
  Register(db, "jet_cdate", 1, Guarded<FnCDate>);
  Register(db, "jet_text", 2, Guarded<FnText>);
  Register(db, "jet_mod", 2, Guarded<FnMod>);
  Register(db, "jet_intdiv", 2, Guarded<FnIntDiv>);
  Register(db, "jet_power", 2, Guarded<FnPower>);
  Register(db, "jet_right", 2, Guarded<FnRight>);
}

}  // namespace vandrel
