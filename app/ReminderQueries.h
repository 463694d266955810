// The SQL texts the reminder categories send to the database, assembled from fixed fragments and
// formatted dates exactly as the sibling application's database expects them. Nothing is bound as
// a parameter: the texts are compared byte for byte in tests, spacing included.
#pragma once

#include <string>
#include <vector>

#include "platform/core/DateTime.h"

namespace vandrel {

// One time window of the reminder tree: a day, or (day mode off) the month whose first day is Date.
struct TReminderSection {
  std::string Title;
  TDateTime Date = 0;
  bool DayMode = true;
};

namespace ReminderQueries {

// "事件提示": the seven rule queries of a day section in order, or the one query of a month section.
std::vector<std::string> Events(const TReminderSection& section);
// "课程安排"
std::string Courses(const TReminderSection& section);
// "预约拜访": planned visits, then next visits.
std::string PlannedVisits(const TReminderSection& section);
std::string NextVisits(const TReminderSection& section);
// "计划目标": the plans, and the progress entries of the section shown under every plan.
std::string Plans(const TReminderSection& section);
std::string PlanProgress(const TReminderSection& section);
// "客户生日": customers and friends. A month section matches lunar birthdays by the lunar month of
// buildTime (the moment of the build), not by the section's own month.
std::string CustomerBirthdays(const TReminderSection& section, TDateTime buildTime);
std::string FriendBirthdays(const TReminderSection& section);
// "卡号到期"
std::string CardExpiries(const TReminderSection& section);
// "产品用完"
std::string Products(const TReminderSection& section);
// "邀约提示", "会议提示", "跟进提示": customers, then friends.
std::string CustomerInvitations(const TReminderSection& section);
std::string FriendInvitations(const TReminderSection& section);
std::string CustomerMeetings(const TReminderSection& section);
std::string FriendMeetings(const TReminderSection& section);
std::string CustomerFollowUps(const TReminderSection& section);
std::string FriendFollowUps(const TReminderSection& section);

// Every text above for one section, in the order the builder sends them (the plan-progress
// query once).
std::vector<std::string> All(const TReminderSection& section, TDateTime buildTime);

}  // namespace ReminderQueries
}  // namespace vandrel
