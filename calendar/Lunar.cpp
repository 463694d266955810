#include "calendar/Lunar.h"

#include <cstdint>
#include <cstdlib>

namespace vandrel {
namespace {

constexpr int kFirstYear = 1901;
constexpr int kLastYear = 2050;

// One record per Gregorian year from 1901, describing the lunar months that overlap it:
//   byte 0: bit 7 set = month index 0 is the 12th month (else the 11th); bits 6..0 = the lunar
//           day of 1 January;
//   bytes 1, 2: month lengths, bit 15 - k set = month index k has 30 days (else 29);
//   byte 3: the month followed by a leap month, 0 for none.
constexpr std::uint32_t kLunarYears[kLastYear - kFirstYear + 1] = {
    0x0B52BA00, 0x16A95D00, 0x83A93705, 0x0E749B00, 0x1AB65500, 0x87B55504, 0x1155AA00, 0x1CA6B500, 0x8AA57502, 0x1452BA00,
    0x81526E06, 0x0DE93700, 0x18749700, 0x86EA9605, 0x106D5500, 0x1A35AA00, 0x884B6A02, 0x13A56D00, 0x1ED26E07, 0x0BD25E00,
    0x17E92E00, 0x84D92D05, 0x0FDA9500, 0x195B5200, 0x8756D404, 0x114ADA00, 0x1CA55D00, 0x89A4BD02, 0x15D25D00, 0x82B25B06,
    0x0DB52B00, 0x18BA9500, 0x86B6A505, 0x1056B400, 0x1A4ADA00, 0x8749BA03, 0x13A4BB00, 0x1EB25B07, 0x0B725700, 0x16752B00,
    0x846D2A06, 0x0FAD5500, 0x1955AA00, 0x86556C04, 0x12C97600, 0x1C64B700, 0x8AE4AE02, 0x15EA5600, 0x83DA5507, 0x0D5B2A00,
    0x18AD5500, 0x85AAD505, 0x10536A00, 0x1BA96D00, 0x88A95D03, 0x13D4AE00, 0x81D4AB08, 0x0CBA5500, 0x165AAA00, 0x8356AA06,
    0x0FAAD500, 0x1952DA00, 0x8652BA04, 0x11A95D00, 0x1DD49B00, 0x8A749B03, 0x15B65500, 0x82AD5507, 0x0D55AA00, 0x18A5B500,
    0x85A57505, 0x0F52B600, 0x1B693700, 0x89E93704, 0x13749700, 0x81EA9608, 0x0C6D5200, 0x162DAA00, 0x834B6A06, 0x0EA56D00,
    0x1AD26E00, 0x87D25E04, 0x12E92E00, 0x1DEC960A, 0x0BDA9500, 0x155B5200, 0x8256D206, 0x0C2ADA00, 0x18A4DD00, 0x85A4BD05,
    0x10D25D00, 0x1BD92D00, 0x89B52B03, 0x14BA9500, 0x81B59508, 0x0B56B200, 0x162ADA00, 0x8349B605, 0x0E64BB00, 0x19B25B00,
    0x876A5704, 0x12752B00, 0x1DB69500, 0x8AAD5502, 0x1555AA00, 0x82556C07, 0x0DC97600, 0x1764B700, 0x86E4AE05, 0x11EA5600,
    0x1B6D2A00, 0x885AAA04, 0x14AD5500, 0x81AAD509, 0x0B52EA00, 0x16A96D00, 0x84A95D06, 0x0FD4AE00, 0x1AEA4D00, 0x87BA5504,
    0x125AAA00, 0x1DAB5500, 0x8AA6D502, 0x1452DA00, 0x8252BA06, 0x0DA93B00, 0x18B49B00, 0x85749B05, 0x11B54D00, 0x1CD6A900,
    0x8835AA03, 0x13A5B500, 0x81A5750B, 0x0B52B600, 0x16693700, 0x84E92F06, 0x10F49700, 0x1A754B00, 0x876D5205, 0x112D6900,
    0x1D95B500, 0x8AA56D02, 0x15D26E00, 0x82D25E07, 0x0EE92E00, 0x19EA9600, 0x86DA9505, 0x105B4A00, 0x1CAB6900, 0x882AD803,
};
static_assert(std::size(kLunarYears) == 150);

constexpr const char* kMonthNames[] = {"", "一", "二", "三", "四", "五", "六",
                                       "七", "八", "九", "十", "十一", "十二"};
constexpr const char* kDayNames[] = {
    "",     "初一", "初二", "初三", "初四", "初五", "初六", "初七", "初八", "初九", "初十",
    "十一", "十二", "十三", "十四", "十五", "十六", "十七", "十八", "十九", "二十",
    "廿一", "廿二", "廿三", "廿四", "廿五", "廿六", "廿七", "廿八", "廿九", "三十"};
static_assert(std::size(kMonthNames) == 13 && std::size(kDayNames) == 31);

constexpr const char* kWeekdayChars[] = {"日", "一", "二", "三", "四", "五", "六"};

}  // namespace

int DayOfYear(TDateTime date) {
  int y, m, d;
  DecodeDate(date, y, m, d);
  for (int k = 1; k < m; ++k) d += DaysInAMonth(y, k);
  return d;
}

int LunarDateCode(TDateTime date) {
  int y, m, d;
  DecodeDate(date, y, m, d);
  if (y < kFirstYear || y > kLastYear) return 0;
  const std::uint32_t record = kLunarYears[y - kFirstYear];
  const int b0 = int(record >> 24);
  const int bits = int((record >> 8) & 0xFFFF);
  const int b3 = int(record & 0xFF);

  int number[17];
  int length[16];
  number[0] = (b0 & 0x80) ? 12 : 11;
  const int first = b0 & 0x7F;
  for (int k = 0; k < 16; ++k) {
    length[k] = (bits >> (15 - k)) & 1 ? 30 : 29;
    if (b3 == number[k]) {
      number[k + 1] = -b3;
    } else {
      number[k + 1] = std::abs(number[k]) + 1;
      if (number[k + 1] > 12) number[k + 1] = 1;
    }
  }

  const int n = DayOfYear(date) - 1;
  int month, day;
  if (n <= length[0] - first) {
    day = first + n;
    month = number[0];
    // 1 January may lie in a leap month that began in the previous year.
    if (y > kFirstYear && LunarDateCode(EncodeDate(y - 1, 12, 31)) < 0) month = -month;
  } else {
    int acc = length[0] - first;
    int i = 1;
    while (i < 16 && n > acc + length[i]) acc += length[i++];
    month = number[i];
    day = n - acc;
  }
  return month > 0 ? month * 100 + day : month * 100 - day;
}

std::string LunarMonthName(TDateTime date) {
  const int month = LunarDateCode(date) / 100;
  if (month > 0) return std::string(kMonthNames[month]) + "月";
  if (month < 0) return std::string("闰") + kMonthNames[-month];
  return {};
}

std::string LunarDayName(TDateTime date) {
  return kDayNames[std::abs(LunarDateCode(date)) % 100];
}

std::string WeekdayChar(TDateTime date) { return kWeekdayChars[DayOfWeek(date) - 1]; }

std::string WeekdayText(TDateTime date) { return "星期" + WeekdayChar(date); }

TDateTime FirstDayOfNextMonth(TDateTime date) {
  int y, m, d;
  DecodeDate(date, y, m, d);
  return m == 12 ? EncodeDate(y + 1, 1, 1) : EncodeDate(y, m + 1, 1);
}

}  // namespace vandrel
