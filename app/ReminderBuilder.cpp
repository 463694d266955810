#include "app/ReminderBuilder.h"

#include <array>

#include "calendar/Lunar.h"
#include "data/Query.h"
#include "platform/core/Clock.h"
#include "platform/core/DateFormat.h"
#include "platform/core/Exception.h"

namespace vandrel {
namespace {

std::string Text(TQuery& q, const char* column) { return q.FieldByName(column).AsString(); }
std::string TT(TQuery& q, const char* column) {
  return FormatDateTime("TT", q.FieldByName(column).AsDateTime());
}

struct BirthdayField {
  const char* gregorian;
  const char* gregorianWord;
  const char* lunar;
  const char* lunarWord;
};

// In the order the fields are examined; friends have the Gregorian ones only.
constexpr std::array<BirthdayField, 5> kBirthdayFields = {{
    {"birthday", "生日", "MonthBirthDate", "农历"},
    {"FatherBirdthDay", "父亲生日", "FatherMonthBirdthDay", "父亲农历"},
    {"MotherBirdthDay", "母亲生日", "MotherMonthBirdthDay", "母亲农历"},
    {"ChildBirdthDay", "孩子生日", "ChildMonthBirdthDay", "孩子农历"},
    {"WifeBirdthDay", "爱人生日", "WifeMonthBirdthDay", "爱人农历"},
}};

std::string ContactLineInvitation(TQuery& q) {
  return Text(q, "TheDate") + " " + Text(q, "TheTime") + " 邀约 " + Text(q, "UserName");
}

std::string ContactLineMeeting(TQuery& q) {
  return Text(q, "BeginDate") + " " + Text(q, "TheTime") + " 主讲 " + Text(q, "sayer") + "主题 " + Text(q, "Title") +
         " 对像:" + Text(q, "UserName");
}

std::string ContactLineFollowUp(TQuery& q) {
  return Text(q, "BeginDate") + " " + Text(q, "TheTime") + " 跟进对像:" + Text(q, "UserName") + " " + Text(q, "Course") +
         "  跟进资料:" + Text(q, "Book");
}

}  // namespace

bool GregorianBirthdayMatches(const std::string& field, const TReminderSection& section) {
  // The query formats these columns as "yyyy-mm-dd"; anything else never matches.
  if (field.size() != 10 || field[4] != '-' || field[7] != '-') return false;
  if (field.compare(5, 2, FormatDateTime("mm", section.Date)) != 0) return false;
  return !section.DayMode || field.compare(8, 2, FormatDateTime("dd", section.Date)) == 0;
}

bool LunarBirthdayMatches(const std::string& field, const TReminderSection& section, TDateTime buildTime) {
  if (section.DayMode) return field == LunarMonthName(section.Date) + LunarDayName(section.Date);
  const std::string month = LunarMonthName(buildTime);
  return field.find(month) != std::string::npos && field.find("十" + month) == std::string::npos;
}

IReminderTree::Node TReminderBuilder::AddFolder(Node parent, const std::string& title) {
  Node node = m_tree.AddChild(parent, title);
  m_tree.SetImageIndexes(node, riClosedFolder, 2, riSelected);
  return node;
}

template <typename LineText>
int TReminderBuilder::AddLines(Node category, const std::string& sql, LineText lineText) {
  m_query1.SetSQL(sql);
  m_query1.Open();
  int lines = 0;
  for (; !m_query1.Eof(); m_query1.Next(), ++lines) m_tree.AddChild(category, lineText(m_query1));
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
              ReminderQueries::FriendInvitations(section), ContactLineInvitation);
  AddContacts(AddFolder(sectionNode, "会议提示"), ReminderQueries::CustomerMeetings(section),
              ReminderQueries::FriendMeetings(section), ContactLineMeeting);
  Node followUps = AddFolder(sectionNode, "跟进提示");
  AddLines(followUps, ReminderQueries::CustomerFollowUps(section), ContactLineFollowUp);
  AddLines(followUps, ReminderQueries::FriendFollowUps(section), ContactLineFollowUp);
  m_tree.Expand(followUps);
}

void TReminderBuilder::AddEvents(Node category, const TReminderSection& section) {
  auto dated = [](TQuery& q) { return Text(q, "HintDate") + " " + TT(q, "HTime") + "  " + Text(q, "Hint"); };
  const std::vector<std::string> queries = ReminderQueries::Events(section);
  if (!section.DayMode) {
    AddLines(category, queries[0], dated);
  } else {
    // The rules in their order; rule 2 shows HTime as text, the others format it.
    AddLines(category, queries[0], dated);
    AddLines(category, queries[1], [](TQuery& q) {
      return " 间隔" + Text(q, "TheSubWeek") + "周 " + Text(q, "HTime") + " " + Text(q, "Hint");
    });
    AddLines(category, queries[2], [](TQuery& q) {
      return " 间隔" + Text(q, "TheSubDay") + "日 " + TT(q, "HTime") + " " + Text(q, "Hint");
    });
    AddLines(category, queries[3], [](TQuery& q) {
      return Text(q, "TheMonth") + "月 " + Text(q, "theDay") + "日 " + TT(q, "HTime") + " " + Text(q, "Hint");
    });
    AddLines(category, queries[4], [](TQuery& q) {
      return Text(q, "theDay") + "号 " + TT(q, "HTime") + " " + Text(q, "Hint");
    });
    AddLines(category, queries[5], [](TQuery& q) {
      return "星期" + Text(q, "TheWeek") + " " + TT(q, "HTime") + " " + Text(q, "Hint");
    });
    AddLines(category, queries[6], [](TQuery& q) {
      return Text(q, "TheMonthDay") + "号 " + TT(q, "HTime") + " " + Text(q, "Hint");
    });
  }
  m_tree.Expand(category);
}

void TReminderBuilder::AddCourses(Node category, const TReminderSection& section) {
  AddLines(category, ReminderQueries::Courses(section), [](TQuery& q) {
    return Text(q, "AllDate") + " " + TT(q, "FTime") + "在" + Text(q, "Addr") + "  " + Text(q, "EmpName") + "  " +
           Text(q, "FunName") + "  " + Text(q, "Title");
  });
  m_tree.Expand(category);
}

void TReminderBuilder::AddVisits(Node category, const TReminderSection& section) {
  AddLines(category, ReminderQueries::PlannedVisits(section), [](TQuery& q) {
    return Text(q, "visitDate") + " " + TT(q, "VTime") + "在" + Text(q, "place") + " 约见" + Text(q, "EmpName");
  });
  AddLines(category, ReminderQueries::NextVisits(section), [](TQuery& q) {
    return Text(q, "visitDate") + " " + TT(q, "VTime") + "  " + Text(q, "place") + "  " + Text(q, "EmpName");
  });
  m_tree.Expand(category);
}

void TReminderBuilder::AddPlans(Node category, const TReminderSection& section) {
  // The category itself is never expanded; a plan line is, once it holds progress lines.
  m_query1.SetSQL(ReminderQueries::Plans(section));
  m_query1.Open();
  for (; !m_query1.Eof(); m_query1.Next()) {
    TQuery& q = m_query1;
    Node plan = m_tree.AddChild(category, Text(q, "BeginDate") + "至" + Text(q, "EndDate") + Text(q, "PlanTypeName") +
                                              "  内容:" + Text(q, "Content") + "  进度:" + Text(q, "Plan") + "  :" +
                                              Text(q, "Process"));
    m_query2.SetSQL(ReminderQueries::PlanProgress(section));
    m_query2.Open();
    for (; !m_query2.Eof(); m_query2.Next()) {
      TQuery& p = m_query2;
      m_tree.AddChild(plan, Text(p, "CreateDate") + " " + Text(p, "BTime") + " " + Text(p, "ProcessCont") + " " +
                                Text(p, "Per"));
    }
    m_tree.Expand(plan);
  }
}

void TReminderBuilder::AddBirthdays(Node category, const TReminderSection& section, TDateTime buildTime) {
  auto examine = [&](bool withLunar) {
    for (; !m_query1.Eof(); m_query1.Next()) {
      const std::string name = Text(m_query1, "empName");
      for (const auto& f : kBirthdayFields) {
        const std::string value = Text(m_query1, f.gregorian);
        if (value.empty() || !GregorianBirthdayMatches(value, section)) continue;
        m_tree.AddChild(category, value + " " + name + f.gregorianWord);
      }
      if (!withLunar) continue;
      for (const auto& f : kBirthdayFields) {
        const std::string value = Text(m_query1, f.lunar);
        if (value.empty() || !LunarBirthdayMatches(value, section, buildTime)) continue;
        m_tree.AddChild(category, name + f.lunarWord + value + " 生日");
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
    AddLines(category, ReminderQueries::CardExpiries(section),
             [](TQuery& q) { return Text(q, "OverDate") + " " + Text(q, "empName"); });
  } catch (const Exception&) {
  }
  m_tree.Expand(category);
}

void TReminderBuilder::AddProducts(Node category, const TReminderSection& section) {
  AddLines(category, ReminderQueries::Products(section), [](TQuery& q) {
    return Text(q, "empName") + " " + Text(q, "SellDate") + " 购买的" + Text(q, "ProName") + " " + Text(q, "ComeDate") + "到期";
  });
  m_tree.Expand(category);
}

void TReminderBuilder::AddContacts(Node category, const std::string& customerSql, const std::string& friendSql,
                                   std::string (*lineText)(TQuery&)) {
  // Lines from the friend query alone leave the category collapsed.
  const int customerLines = AddLines(category, customerSql, lineText);
  AddLines(category, friendSql, lineText);
  if (customerLines > 0) m_tree.Expand(category);
}

}  // namespace vandrel
