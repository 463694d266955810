#include <gtest/gtest.h>

#include "app/ReminderQueries.h"

using namespace vandrel;
namespace Q = vandrel::ReminderQueries;

namespace {

const TReminderSection kDay{"本日提示", EncodeDate(2024, 3, 5), true};     // a Tuesday, lunar 一月廿五
const TReminderSection kMonth{"本月提示", EncodeDate(2024, 3, 1), false};
const TDateTime kBuild = EncodeDate(2024, 3, 5) + 0.4;                      // lunar month 一月

const std::string kEventHead =
    "select *,Iif(HintTime is null ,'00:00:00',HintTime) as HTime  from  tHint where (Active=false  and  DisabledDate>=#";

}  // namespace

TEST(ReminderQueries, EventRulesOfADaySection) {
  const std::vector<std::string> expected = {
      kEventHead + "2024-03-05#) and  (HintDate<=#2024-03-05#) and  (HintDate=#2024-03-05#  or NextDate=#2024-03-05#) ",
      kEventHead + "2024-03-05#) and (TheSubWeek>0 and (datediff('d',hintdate,'2024-03-05') Mod TheSubWeek*7)=0)",
      kEventHead + "2024-03-05#) and (TheSubDay>0 and (datediff('d',hintdate,'2024-03-05') Mod TheSubDay)=0 )",
      kEventHead + "2024-03-05#) and  (Month('2024-03-05')=TheMonth and Day('2024-03-05')=theDay) ",
      kEventHead + "2024-03-05#) and  (TheMonth=0 and Day('2024-03-05')=theDay)",
      kEventHead + "2024-03-05#) and   (TheWeek='二')",
      kEventHead + "2024-03-05#) and    ( TheMonthDay=5) ",
  };
  EXPECT_EQ(Q::Events(kDay), expected);
  EXPECT_EQ(Q::Events(kMonth), std::vector<std::string>{
      kEventHead + "2024-03-01#) and  format(HintDate,'yyyy-mm')='2024-03'"});
  // Weekday character and the day without a leading zero follow the section's date.
  const TReminderSection sunday{"", EncodeDate(2024, 5, 12), true};
  EXPECT_NE(Q::Events(sunday)[5].find("(TheWeek='日')"), std::string::npos);
  EXPECT_NE(Q::Events(sunday)[6].find("( TheMonthDay=12) "), std::string::npos);
}

TEST(ReminderQueries, CoursesMatchTextColumnsWithLeadingZeros) {
  const std::string head =
      "SELECT TTheDate.*, [TMeet].[EmpID], [TMeet].[EmpName], [TMeet].[FunID], [TMeet].[Title], [TMeet].[Content], "
      "[TMeet].[FromTime], [TMeet].[ToTime], [TMeet].[MeetID], [TMeet].[House], [TMeet].[Unit], [TFun].[FunName], "
      "[TFun].[seq],Iif(FromTime is null ,'00:00:00',FromTime) as FTime  FROM (TMeet INNER JOIN TTheDate ON "
      "[TMeet].[TheDateID]=[TTheDate].[TheDateID])  INNER JOIN TFun ON [TMeet].[FunID]=[TFun].[FunID]";
  const std::string order = "ORDER BY [TMeet].[FromTime], [TMeet].[ToTime], [TFun].[seq], [TMeet].[EmpName]";
  EXPECT_EQ(Q::Courses(kDay), head + "  where TheYear='2024' and TheMonth='03' and TheDay='05'  " + order);
  EXPECT_EQ(Q::Courses(kMonth), head + "  where TheYear='2024' and TheMonth='03'   " + order);
}

TEST(ReminderQueries, DatePiecesOfEveryCategory) {
  // Each case: the query, then the pieces that must appear in it with this exact formatting.
  struct Case {
    const char* name;
    std::string sql;
    std::vector<std::string> pieces;
  };
  const Case cases[] = {
      {"planned visits, day", Q::PlannedVisits(kDay), {"visitflag is null)  and visitDate=#2024-03-05#"}},
      {"planned visits, month", Q::PlannedVisits(kMonth), {"  and format(visitDate,'yyyy-mm')='2024-03'"}},
      {"next visits, day", Q::NextVisits(kDay), {"  select  nextDate as visitDate ", "from tvisit  where  nextDate=#2024-03-05#"}},
      {"next visits, month", Q::NextVisits(kMonth), {"  where  format(nextDate,'yyyy-mm')='2024-03'"}},
      // Plans use the regional short date, not yyyy-mm-dd.
      {"plans, day", Q::Plans(kDay), {"PlanTypeName  FROM Tplan", "PlanTypeID  where  BeginDate>=#2024-3-5# and EndDate >=#2024-3-5# and StatusID=0"}},
      {"plans, month", Q::Plans(kMonth), {" where  format(BeginDate,'yyyy-mm')='2024-03' and format(EndDate,'yyyy-mm')>='2024-03' and StatusID=0"}},
      {"progress, day", Q::PlanProgress(kDay), {"as BTime FROM TPlanDetail  where  CreateDate=#2024-3-5#"}},
      {"progress, month", Q::PlanProgress(kMonth), {"FROM TPlanDetail  where format(CreateDate,'yyyy-mm')='2024-03'"}},
      {"customer birthdays, day", Q::CustomerBirthdays(kDay, kBuild),
       {" where  format(birthday,'mm:dd')=format(#2024-3-5#,'mm:dd') or ", "MonthBirthDate='一月廿五'  or ",
        "or WifeMonthBirdthDay='一月廿五'"}},
      {"customer birthdays, month", Q::CustomerBirthdays(kMonth, kBuild),
       {"format(birthday,'mm')=format(#2024-3-1#,'mm')", "MonthBirthDate like '%一月%' or ",
        "WifeMonthBirdthDay like '%一月%'"}},
      {"friend birthdays, day", Q::FriendBirthdays(kDay), {" from TFriend where     format(birthday,'mm:dd')=format(#2024-3-5#,'mm:dd') or  format("}},
      {"friend birthdays, month", Q::FriendBirthdays(kMonth), {" from TFriend where  format(birthday,'mm')=format(#2024-3-1#,'mm') or "}},
      {"card expiries, day", Q::CardExpiries(kDay), {"select *,(addinte-subInte) as AllInte  from temp where OverDate= #2024-03-05#"}},
      {"card expiries, month", Q::CardExpiries(kMonth), {"from temp where format(OverDate,'yyyy-mm')= '2024-03'"}},
      {"products, day", Q::Products(kDay), {"ON TMasterSell.INNO=TSell.InNO)  where #2024-03-05#>=DateAdd('d',-7,TSell.willdate) and #2024-03-05#<=willdate"}},
      {"products, month", Q::Products(kMonth), {"TSell.InNO)  where  '2024-03'=format(willdate,'yyyy-mm')"}},
      {"invitations", Q::CustomerInvitations(kDay), {"ON TtrystDetail.EmpID = TEmp.EmpID where #2024-03-05#=Thedate"}},
      {"friend invitations", Q::FriendInvitations(kMonth), {"ON TtrystDetail.PID = TFriend.ID where  '2024-03'=format(Thedate,'yyyy-mm')"}},
      {"meetings", Q::CustomerMeetings(kDay), {"ON Topp.EmpID = TEmp.EmpID where #2024-03-05#=Begindate"}},
      {"friend meetings", Q::FriendMeetings(kMonth), {"ON Topp.PID = TFriend.ID where  '2024-03'=format(Begindate,'yyyy-mm')"}},
      {"follow-ups", Q::CustomerFollowUps(kMonth), {"ON TTrack.EmpID = TEmp.EmpID where  '2024-03'=format(Begindate,'yyyy-mm')"}},
      {"friend follow-ups", Q::FriendFollowUps(kDay), {"ON TTrack.FID = TFriend.ID where #2024-03-05#=Begindate"}},
  };
  for (const auto& c : cases)
    for (const auto& piece : c.pieces) EXPECT_NE(c.sql.find(piece), std::string::npos) << c.name << ": " << piece << "\n in: " << c.sql;
}

TEST(ReminderQueries, MonthSectionsMatchLunarBirthdaysByTheBuildDaysLunarMonth) {
  // "下月提示" in lunar month 11 still asks for 十一月, the month of the build day.
  const TReminderSection nextMonth{"下月提示", EncodeDate(2024, 1, 1), false};
  const TDateTime december = EncodeDate(2023, 12, 20);  // lunar 十一月初八
  const std::string sql = Q::CustomerBirthdays(nextMonth, december);
  EXPECT_NE(sql.find("MonthBirthDate like '%十一月%'"), std::string::npos);
  EXPECT_NE(sql.find("format(#2024-1-1#,'mm')"), std::string::npos);
}
