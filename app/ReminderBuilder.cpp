#include "app/ReminderBuilder.h"

#include <algorithm>
#include <array>
#include <exception>
#include <string_view>
#include <vector>

#include "calendar/Lunar.h"
#include "data/Query.h"
#include "platform/core/Clock.h"
#include "platform/core/DateFormat.h"
#include "platform/core/Exception.h"

namespace vandrel {
namespace {

// A field looked up once per opened result instead of once per row: the pointer stays good until
// the query is closed or reopened, so it is kept for one walk over the rows only.
TField& Cached(TField*& field, TQuery& q, std::string_view column) {
  if (!field) field = &q.FieldByName(column);
  return *field;
}

constexpr TLinePart Col(const char* column) { return {TLinePart::lpColumn, column}; }
constexpr TLinePart TT(const char* column) { return {TLinePart::lpTime, column}; }

// The text of a line from the current row of one query, in a buffer kept for every row.
class LineWriter {
 public:
  explicit LineWriter(std::span<const TLinePart> parts)
      : m_parts(parts), m_fields(parts.size()), m_values(parts.size()) {}

  // For the query reopened: its fields are looked up again.
  void Forget() { std::fill(m_fields.begin(), m_fields.end(), nullptr); }

  const std::string& Text(TQuery& q) {
    // The columns are read from the last to the first, the order the application has always read
    // them in: of two faults in one row (a missing column, a time that is no time) the later one
    // is reported.
    for (size_t i = m_parts.size(); i-- > 0;) {
      const TLinePart& part = m_parts[i];
      if (part.Kind == TLinePart::lpFixed) continue;
      TField& field = Cached(m_fields[i], q, part.Text);
      std::string& value = m_values[i];
      value.clear();
      if (part.Kind == TLinePart::lpColumn) field.AppendText(value);
      else value = FormatDateTime("TT", field.AsDateTime());
    }
    m_line.clear();
    for (size_t i = 0; i < m_parts.size(); ++i)
      m_line += m_parts[i].Kind == TLinePart::lpFixed ? m_parts[i].Text : std::string_view(m_values[i]);
    return m_line;
  }

 private:
  std::span<const TLinePart> m_parts;
  std::vector<TField*> m_fields;
  std::vector<std::string> m_values;
  std::string m_line;
};

constexpr TLinePart kEventLine[] = {Col("HintDate"), " ", TT("HTime"), "  ", Col("Hint")};
// The day section's event rules after the first; the weekly one shows HTime as text.
constexpr TLinePart kWeeklyEventLine[] = {" 间隔", Col("TheSubWeek"), "周 ", Col("HTime"), " ", Col("Hint")};
constexpr TLinePart kDailyEventLine[] = {" 间隔", Col("TheSubDay"), "日 ", TT("HTime"), " ", Col("Hint")};
constexpr TLinePart kYearlyEventLine[] = {Col("TheMonth"), "月 ", Col("theDay"), "日 ", TT("HTime"), " ", Col("Hint")};
constexpr TLinePart kMonthlyEventLine[] = {Col("theDay"), "号 ", TT("HTime"), " ", Col("Hint")};
constexpr TLinePart kWeekdayEventLine[] = {"星期", Col("TheWeek"), " ", TT("HTime"), " ", Col("Hint")};
constexpr TLinePart kMonthDayEventLine[] = {Col("TheMonthDay"), "号 ", TT("HTime"), " ", Col("Hint")};
constexpr TLinePart kCourseLine[] = {Col("AllDate"), " ", TT("FTime"), "在", Col("Addr"), "  ", Col("EmpName"), "  ",
                                     Col("FunName"), "  ", Col("Title")};
constexpr TLinePart kPlannedVisitLine[] = {Col("visitDate"), " ", TT("VTime"), "在", Col("place"), " 约见", Col("EmpName")};
constexpr TLinePart kNextVisitLine[] = {Col("visitDate"), " ", TT("VTime"), "  ", Col("place"), "  ", Col("EmpName")};
constexpr TLinePart kPlanLine[] = {Col("BeginDate"), "至", Col("EndDate"), Col("PlanTypeName"), "  内容:", Col("Content"),
                                   "  进度:", Col("Plan"), "  :", Col("Process")};
constexpr TLinePart kPlanProgressLine[] = {Col("CreateDate"), " ", Col("BTime"), " ", Col("ProcessCont"), " ", Col("Per")};
constexpr TLinePart kCardExpiryLine[] = {Col("OverDate"), " ", Col("empName")};
constexpr TLinePart kProductLine[] = {Col("empName"), " ", Col("SellDate"), " 购买的", Col("ProName"), " ", Col("ComeDate"),
                                      "到期"};
constexpr TLinePart kInvitationLine[] = {Col("TheDate"), " ", Col("TheTime"), " 邀约 ", Col("UserName")};
constexpr TLinePart kMeetingLine[] = {Col("BeginDate"), " ", Col("TheTime"), " 主讲 ", Col("sayer"), "主题 ", Col("Title"),
                                      " 对像:", Col("UserName")};
constexpr TLinePart kFollowUpLine[] = {Col("BeginDate"), " ", Col("TheTime"), " 跟进对像:", Col("UserName"), " ",
                                       Col("Course"), "  跟进资料:", Col("Book")};

struct BirthdayField {
  std::string_view gregorian;
  std::string_view gregorianWord;
  std::string_view lunar;
  std::string_view lunarWord;
};

// In the order the fields are examined; friends have the Gregorian ones only.
constexpr std::array<BirthdayField, 5> kBirthdayFields = {{
    {"birthday", "生日", "MonthBirthDate", "农历"},
    {"FatherBirdthDay", "父亲生日", "FatherMonthBirdthDay", "父亲农历"},
    {"MotherBirdthDay", "母亲生日", "MotherMonthBirdthDay", "母亲农历"},
    {"ChildBirdthDay", "孩子生日", "ChildMonthBirdthDay", "孩子农历"},
    {"WifeBirdthDay", "爱人生日", "WifeMonthBirdthDay", "爱人农历"},
}};

// What the birthday fields are compared with in one section, worked out once, not per field.
struct GregorianBirthday {
  explicit GregorianBirthday(const TReminderSection& section)
      : dayMode(section.DayMode), month(FormatDateTime("mm", section.Date)), day(FormatDateTime("dd", section.Date)) {}

  bool Matches(std::string_view field) const {
    // The query formats these columns as "yyyy-mm-dd"; anything else never matches.
    if (field.size() != 10 || field[4] != '-' || field[7] != '-') return false;
    if (field.substr(5, 2) != month) return false;
    return !dayMode || field.substr(8, 2) == day;
  }

  bool dayMode;
  std::string month, day;
};

struct LunarBirthday {
  LunarBirthday(const TReminderSection& section, TDateTime buildTime) : dayMode(section.DayMode) {
    if (dayMode) {
      monthDay = LunarMonthName(section.Date) + LunarDayName(section.Date);
    } else {
      month = LunarMonthName(buildTime);
      // 一月 and 二月 are also the end of 十一月 and 十二月.
      monthAfterTen = "十" + month;
    }
  }

  bool Matches(std::string_view field) const {
    if (dayMode) return field == monthDay;
    return field.find(month) != std::string_view::npos && field.find(monthAfterTen) == std::string_view::npos;
  }

  bool dayMode;
  std::string monthDay, month, monthAfterTen;
};

}  // namespace

bool GregorianBirthdayMatches(const std::string& field, const TReminderSection& section) {
  return GregorianBirthday(section).Matches(field);
}

bool LunarBirthdayMatches(const std::string& field, const TReminderSection& section, TDateTime buildTime) {
  return LunarBirthday(section, buildTime).Matches(field);
}

IReminderTree::Node TReminderBuilder::AddFolder(Node parent, const std::string& title) {
  Node node = m_tree.AddChild(parent, title);
  m_tree.SetImageIndexes(node, riClosedFolder, 2, riSelected);
  return node;
}

int TReminderBuilder::AddLines(Node category, const std::string& sql, std::span<const TLinePart> line) {
  m_query1.SetSQL(sql);
  m_query1.Open();
  LineWriter writer(line);
  int lines = 0;
  for (; !m_query1.Eof(); m_query1.Next(), ++lines) m_tree.AddChild(category, writer.Text(m_query1));
  return lines;
}

void TReminderBuilder::AddReminderSection(const std::string& title, TDateTime date, bool dayMode) {
  const TReminderSection section{title, DateOf(date), dayMode};
  const TDateTime buildTime = Now();
  Node sectionNode = AddFolder(IReminderTree::kTopLevel, title);

  AddEvents(AddFolder(sectionNode, "事件提示"), section);
  AddCourses(AddFolder(sectionNode, "课程安排"), section);
  AddVisits(AddFolder(sectionNode, "预约拜访"), section);
  AddPlans(AddFolder(sectionNode, "计划目标"), section);
  AddBirthdays(AddFolder(sectionNode, "客户生日"), section, buildTime);
  AddCardExpiries(AddFolder(sectionNode, "卡号到期"), section);
  AddProducts(AddFolder(sectionNode, "产品用完"), section);
  AddContacts(AddFolder(sectionNode, "邀约提示"), ReminderQueries::CustomerInvitations(section),
              ReminderQueries::FriendInvitations(section), kInvitationLine);
  AddContacts(AddFolder(sectionNode, "会议提示"), ReminderQueries::CustomerMeetings(section),
              ReminderQueries::FriendMeetings(section), kMeetingLine);
  Node followUps = AddFolder(sectionNode, "跟进提示");
  AddLines(followUps, ReminderQueries::CustomerFollowUps(section), kFollowUpLine);
  AddLines(followUps, ReminderQueries::FriendFollowUps(section), kFollowUpLine);
  m_tree.Expand(followUps);
}

void TReminderBuilder::AddEvents(Node category, const TReminderSection& section) {
  const std::vector<std::string> queries = ReminderQueries::Events(section);
  AddLines(category, queries[0], kEventLine);
  if (section.DayMode) {
    // The rules in their order.
    AddLines(category, queries[1], kWeeklyEventLine);
    AddLines(category, queries[2], kDailyEventLine);
    AddLines(category, queries[3], kYearlyEventLine);
    AddLines(category, queries[4], kMonthlyEventLine);
    AddLines(category, queries[5], kWeekdayEventLine);
    AddLines(category, queries[6], kMonthDayEventLine);
  }
  m_tree.Expand(category);
}

void TReminderBuilder::AddCourses(Node category, const TReminderSection& section) {
  AddLines(category, ReminderQueries::Courses(section), kCourseLine);
  m_tree.Expand(category);
}

void TReminderBuilder::AddVisits(Node category, const TReminderSection& section) {
  AddLines(category, ReminderQueries::PlannedVisits(section), kPlannedVisitLine);
  AddLines(category, ReminderQueries::NextVisits(section), kNextVisitLine);
  m_tree.Expand(category);
}

void TReminderBuilder::AddPlans(Node category, const TReminderSection& section) {
  // The category itself is never expanded; a plan line is, once it holds progress lines.
  m_query1.SetSQL(ReminderQueries::Plans(section));
  m_query1.Open();
  // Every plan shows the same progress query, run again under each on the same open connection:
  // the same rows, so each row's line is made once.
  const std::string progressSql = ReminderQueries::PlanProgress(section);
  LineWriter planLine(kPlanLine), progressLine(kPlanProgressLine);
  std::vector<std::string> progressLines;
  for (; !m_query1.Eof(); m_query1.Next()) {
    Node plan = m_tree.AddChild(category, planLine.Text(m_query1));
    m_query2.SetSQL(progressSql);
    m_query2.Open();
    progressLine.Forget();
    for (size_t row = 0; !m_query2.Eof(); m_query2.Next(), ++row) {
      if (row == progressLines.size()) progressLines.push_back(progressLine.Text(m_query2));
      m_tree.AddChild(plan, progressLines[row]);
    }
    m_tree.Expand(plan);
  }
}

void TReminderBuilder::AddBirthdays(Node category, const TReminderSection& section, TDateTime buildTime) {
  const GregorianBirthday gregorian(section);
  const LunarBirthday lunar(section, buildTime);
  std::string name, value, line;
  auto examine = [&](bool withLunar) {
    TField* nameField = nullptr;
    std::array<TField*, kBirthdayFields.size()> gregorianFields{}, lunarFields{};
    for (; !m_query1.Eof(); m_query1.Next()) {
      name.clear();
      Cached(nameField, m_query1, "empName").AppendText(name);
      for (size_t i = 0; i < kBirthdayFields.size(); ++i) {
        const BirthdayField& f = kBirthdayFields[i];
        value.clear();
        Cached(gregorianFields[i], m_query1, f.gregorian).AppendText(value);
        if (value.empty() || !gregorian.Matches(value)) continue;
        line.assign(value).append(" ").append(name).append(f.gregorianWord);
        m_tree.AddChild(category, line);
      }
      if (!withLunar) continue;
      for (size_t i = 0; i < kBirthdayFields.size(); ++i) {
        const BirthdayField& f = kBirthdayFields[i];
        value.clear();
        Cached(lunarFields[i], m_query1, f.lunar).AppendText(value);
        if (value.empty() || !lunar.Matches(value)) continue;
        line.assign(name).append(f.lunarWord).append(value).append(" 生日");
        m_tree.AddChild(category, line);
      }
    }
  };
  m_query1.SetSQL(ReminderQueries::CustomerBirthdays(section, buildTime));
  m_query1.Open();
  examine(true);
  m_query1.SetSQL(ReminderQueries::FriendBirthdays(section));
  m_query1.Open();
  examine(false);
  m_tree.Expand(category);
}

void TReminderBuilder::AddCardExpiries(Node category, const TReminderSection& section) {
  // The only category whose failures are swallowed: older databases lack its columns.
  try {
    AddLines(category, ReminderQueries::CardExpiries(section), kCardExpiryLine);
  } catch (const std::exception&) {
  }
  m_tree.Expand(category);
}

void TReminderBuilder::AddProducts(Node category, const TReminderSection& section) {
  AddLines(category, ReminderQueries::Products(section), kProductLine);
  m_tree.Expand(category);
}

void TReminderBuilder::AddContacts(Node category, const std::string& customerSql, const std::string& friendSql,
                                   std::span<const TLinePart> line) {
  // Lines from the friend query alone leave the category collapsed.
  const int customerLines = AddLines(category, customerSql, line);
  AddLines(category, friendSql, line);
  if (customerLines > 0) m_tree.Expand(category);
}

}  // namespace vandrel
