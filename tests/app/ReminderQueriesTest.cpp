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
  // Every text whole, to the byte: the database sees them as they stand, blanks included. The
  // date pieces differ by category: "yyyy-mm-dd" literals, regional short dates (plans and
  // birthdays: #2024-3-5#), "yyyy-mm" texts, and lunar names.
  struct Case {
    std::string sql;
    std::string expected;
  };
  const Case cases[] = {
      {Q::Courses(kDay),
       "SELECT TTheDate.*, [TMeet].[EmpID], [TMeet].[EmpName], [TMeet].[FunID], [TMeet].[Title], [TMeet"
       "].[Content], [TMeet].[FromTime], [TMeet].[ToTime], [TMeet].[MeetID], [TMeet].[House], [TMeet].["
       "Unit], [TFun].[FunName], [TFun].[seq],Iif(FromTime is null ,'00:00:00',FromTime) as FTime  FROM"
       " (TMeet INNER JOIN TTheDate ON [TMeet].[TheDateID]=[TTheDate].[TheDateID])  INNER JOIN TFun ON "
       "[TMeet].[FunID]=[TFun].[FunID]  where TheYear='2024' and TheMonth='03' and TheDay='05'  ORDER B"
       "Y [TMeet].[FromTime], [TMeet].[ToTime], [TFun].[seq], [TMeet].[EmpName]"},
      {Q::PlannedVisits(kDay),
       "select * ,Iif(visitTime is null ,'00:00:00',visitTime) as VTime   ,empname  from tvisit  where "
       " (tvisit.visitflag='计划预约' or tvisit.visitflag='' or tvisit.visitflag is null)  and visitDate=#2"
       "024-03-05#"},
      {Q::NextVisits(kDay),
       "  select  nextDate as visitDate ,Iif(NextTime is null ,'00:00:00',NextTime) as VTime,  visitTim"
       "e ,empname ,place from tvisit  where  nextDate=#2024-03-05#"},
      {Q::Plans(kDay),
       "SELECT Tplan.*, TPlanType.PlanTypeName  FROM Tplan LEFT JOIN TPlanType ON Tplan.PlanTypeID = TP"
       "lanType.PlanTypeID  where  BeginDate>=#2024-3-5# and EndDate >=#2024-3-5# and StatusID=0"},
      {Q::PlanProgress(kDay),
       "SELECT * ,Iif(BeginTime is null ,'00:00:00',BeginTime) as BTime FROM TPlanDetail  where  Create"
       "Date=#2024-3-5#"},
      {Q::CustomerBirthdays(kDay, kBuild),
       "select empName as empName ,monthbirthdate,FatherMonthBirdthDay,MotherMonthBirdthDay,ChildMonthB"
       "irdthDay,WifeMonthBirdthDay,format(Temp.FatherBirdthDay,'yyyy-mm-dd') as FatherBirdthDay,format"
       "(Temp.MotherBirdthDay,'yyyy-mm-dd') as MotherBirdthDay , format(Temp.ChildBirdthDay,'yyyy-mm-dd"
       "') as ChildBirdthDay ,  format(Temp.WifeBirdthDay,'yyyy-mm-dd') as WifeBirdthDay  ,format(Temp."
       "birthday,'yyyy-mm-dd') as birthday   from TEmp where  format(birthday,'mm:dd')=format(#2024-3-5"
       "#,'mm:dd') or format(FatherBirdthDay,'mm:dd')=format(#2024-3-5#,'mm:dd') or format(MotherBirdth"
       "Day,'mm:dd')=format(#2024-3-5#,'mm:dd') or format(ChildBirdthDay,'mm:dd')=format(#2024-3-5#,'mm"
       ":dd') or format(WifeBirdthDay,'mm:dd')=format(#2024-3-5#,'mm:dd') or MonthBirthDate='一月廿五'  or "
       "FatherMonthBirdthDay='一月廿五'  or MotherMonthBirdthDay='一月廿五'  or ChildMonthBirdthDay='一月廿五'  or "
       "WifeMonthBirdthDay='一月廿五'"},
      {Q::FriendBirthdays(kDay),
       "select UserName as empName ,format(TFriend.FatherBirdthDay,'yyyy-mm-dd') as FatherBirdthDay,for"
       "mat(TFriend.MotherBirdthDay,'yyyy-mm-dd') as MotherBirdthDay , format(TFriend.ChildBirdthDay,'y"
       "yyy-mm-dd') as ChildBirdthDay ,  format(TFriend.WifeBirdthDay,'yyyy-mm-dd') as WifeBirdthDay  ,"
       "format(TFriend.birthday,'yyyy-mm-dd') as birthday   from TFriend where     format(birthday,'mm:"
       "dd')=format(#2024-3-5#,'mm:dd') or  format(FatherBirdthDay,'mm:dd')=format(#2024-3-5#,'mm:dd') "
       "or format(MotherBirdthDay,'mm:dd')=format(#2024-3-5#,'mm:dd') or format(ChildBirdthDay,'mm:dd')"
       "=format(#2024-3-5#,'mm:dd') or format(WifeBirdthDay,'mm:dd')=format(#2024-3-5#,'mm:dd')"},
      {Q::CardExpiries(kDay),
       "select *,(addinte-subInte) as AllInte  from temp where OverDate= #2024-03-05#"},
      {Q::Products(kDay),
       "select   distinct  [TEmp].EmpID, [TEmp].EmpName, TMasterSell.SellDate,  DateAdd('d',-7,TSell.wi"
       "lldate) AS willcomedate, willdate AS comedate,  TSell.NetMoney AS JMoney, TSell.SellID, TSell.W"
       "illDate, TSell.SellPrice, TProInfo.spec, TSell.Quantity, TSell.Money, TSell.SellMoney, TSell.In"
       "NO,   TProInfo.ProID, TProInfo.ProName  FROM ((TEmp INNER JOIN TMasterSell ON [TEmp].EmpID=TMas"
       "terSell.EmpID)   INNER JOIN ((TSell INNER JOIN TProInfo ON TSell.ProID=TProInfo.ProID)  ) ON TM"
       "asterSell.INNO=TSell.InNO)  where #2024-03-05#>=DateAdd('d',-7,TSell.willdate) and #2024-03-05#"
       "<=willdate"},
      {Q::CustomerInvitations(kDay),
       "SELECT TtrystDetail.TheDate,Iif(TtrystDetail.TheTime is null ,'00:00:00',TtrystDetail.TheTime) "
       "as TheTime,EmpName as UserName FROM TtrystDetail INNER JOIN TEmp ON TtrystDetail.EmpID = TEmp.E"
       "mpID where #2024-03-05#=Thedate"},
      {Q::FriendInvitations(kDay),
       "SELECT TtrystDetail.TheDate,Iif(TtrystDetail.TheTime is null ,'00:00:00',TtrystDetail.TheTime) "
       "as TheTime,UserName FROM TtrystDetail INNER JOIN TFriend ON TtrystDetail.PID = TFriend.ID where"
       " #2024-03-05#=Thedate"},
      {Q::CustomerMeetings(kDay),
       "SELECT Topp.*,Iif(Topp.BeginTime is null ,'00:00:00',Topp.BeginTime) as TheTime,EmpName as User"
       "Name FROM Topp INNER JOIN TEmp ON Topp.EmpID = TEmp.EmpID where #2024-03-05#=Begindate"},
      {Q::FriendMeetings(kDay),
       "SELECT Topp.*,Iif(Topp.BeginTime is null ,'00:00:00',Topp.BeginTime) as TheTime,UserName FROM T"
       "opp INNER JOIN TFriend ON Topp.PID = TFriend.ID where #2024-03-05#=Begindate"},
      {Q::CustomerFollowUps(kDay),
       "SELECT TTrack.*,Iif(TTrack.BeginTime is null ,'00:00:00',TTrack.BeginTime) as TheTime,EmpName a"
       "s UserName FROM TTrack INNER JOIN TEmp ON TTrack.EmpID = TEmp.EmpID where #2024-03-05#=Begindat"
       "e"},
      {Q::FriendFollowUps(kDay),
       "SELECT TTrack.*,Iif(TTrack.BeginTime is null ,'00:00:00',TTrack.BeginTime) as TheTime,UserName "
       "FROM TTrack INNER JOIN TFriend ON TTrack.FID = TFriend.ID where #2024-03-05#=Begindate"},
      {Q::Courses(kMonth),
       "SELECT TTheDate.*, [TMeet].[EmpID], [TMeet].[EmpName], [TMeet].[FunID], [TMeet].[Title], [TMeet"
       "].[Content], [TMeet].[FromTime], [TMeet].[ToTime], [TMeet].[MeetID], [TMeet].[House], [TMeet].["
       "Unit], [TFun].[FunName], [TFun].[seq],Iif(FromTime is null ,'00:00:00',FromTime) as FTime  FROM"
       " (TMeet INNER JOIN TTheDate ON [TMeet].[TheDateID]=[TTheDate].[TheDateID])  INNER JOIN TFun ON "
       "[TMeet].[FunID]=[TFun].[FunID]  where TheYear='2024' and TheMonth='03'   ORDER BY [TMeet].[From"
       "Time], [TMeet].[ToTime], [TFun].[seq], [TMeet].[EmpName]"},
      {Q::PlannedVisits(kMonth),
       "select * ,Iif(visitTime is null ,'00:00:00',visitTime) as VTime   ,empname  from tvisit  where "
       " (tvisit.visitflag='计划预约' or tvisit.visitflag='' or tvisit.visitflag is null)  and format(visit"
       "Date,'yyyy-mm')='2024-03'"},
      {Q::NextVisits(kMonth),
       "  select  nextDate as visitDate ,Iif(NextTime is null ,'00:00:00',NextTime) as VTime,  visitTim"
       "e ,empname ,place from tvisit  where  format(nextDate,'yyyy-mm')='2024-03'"},
      {Q::Plans(kMonth),
       "SELECT Tplan.*, TPlanType.PlanTypeName  FROM Tplan LEFT JOIN TPlanType ON Tplan.PlanTypeID = TP"
       "lanType.PlanTypeID  where  format(BeginDate,'yyyy-mm')='2024-03' and format(EndDate,'yyyy-mm')>"
       "='2024-03' and StatusID=0"},
      {Q::PlanProgress(kMonth),
       "SELECT * ,Iif(BeginTime is null ,'00:00:00',BeginTime) as BTime FROM TPlanDetail  where format("
       "CreateDate,'yyyy-mm')='2024-03'"},
      {Q::CustomerBirthdays(kMonth, kBuild),
       "select empName as empName ,monthbirthdate,FatherMonthBirdthDay,MotherMonthBirdthDay,ChildMonthB"
       "irdthDay,WifeMonthBirdthDay,format(Temp.FatherBirdthDay,'yyyy-mm-dd') as FatherBirdthDay,format"
       "(Temp.MotherBirdthDay,'yyyy-mm-dd') as MotherBirdthDay , format(Temp.ChildBirdthDay,'yyyy-mm-dd"
       "') as ChildBirdthDay ,  format(Temp.WifeBirdthDay,'yyyy-mm-dd') as WifeBirdthDay  ,format(Temp."
       "birthday,'yyyy-mm-dd') as birthday   from TEmp where  format(birthday,'mm')=format(#2024-3-1#,'"
       "mm') or format(FatherBirdthDay,'mm')=format(#2024-3-1#,'mm') or format(MotherBirdthDay,'mm')=fo"
       "rmat(#2024-3-1#,'mm') or format(ChildBirdthDay,'mm')=format(#2024-3-1#,'mm') or format(WifeBird"
       "thDay,'mm')=format(#2024-3-1#,'mm') or  MonthBirthDate like '%一月%' or  FatherMonthBirdthDay lik"
       "e '%一月%'  or  MotherMonthBirdthDay like '%一月%'   or  ChildMonthBirdthDay like '%一月%'    or  Wif"
       "eMonthBirdthDay like '%一月%'"},
      {Q::FriendBirthdays(kMonth),
       "select UserName as empName ,format(TFriend.FatherBirdthDay,'yyyy-mm-dd') as FatherBirdthDay,for"
       "mat(TFriend.MotherBirdthDay,'yyyy-mm-dd') as MotherBirdthDay , format(TFriend.ChildBirdthDay,'y"
       "yyy-mm-dd') as ChildBirdthDay ,  format(TFriend.WifeBirdthDay,'yyyy-mm-dd') as WifeBirdthDay  ,"
       "format(TFriend.birthday,'yyyy-mm-dd') as birthday   from TFriend where  format(birthday,'mm')=f"
       "ormat(#2024-3-1#,'mm') or format(FatherBirdthDay,'mm')=format(#2024-3-1#,'mm') or format(Mother"
       "BirdthDay,'mm')=format(#2024-3-1#,'mm') or format(ChildBirdthDay,'mm')=format(#2024-3-1#,'mm') "
       "or format(WifeBirdthDay,'mm')=format(#2024-3-1#,'mm')"},
      {Q::CardExpiries(kMonth),
       "select *,(addinte-subInte) as AllInte  from temp where format(OverDate,'yyyy-mm')= '2024-03'"},
      {Q::Products(kMonth),
       "select   distinct  [TEmp].EmpID, [TEmp].EmpName, TMasterSell.SellDate,  DateAdd('d',-7,TSell.wi"
       "lldate) AS willcomedate, willdate AS comedate,  TSell.NetMoney AS JMoney, TSell.SellID, TSell.W"
       "illDate, TSell.SellPrice, TProInfo.spec, TSell.Quantity, TSell.Money, TSell.SellMoney, TSell.In"
       "NO,   TProInfo.ProID, TProInfo.ProName  FROM ((TEmp INNER JOIN TMasterSell ON [TEmp].EmpID=TMas"
       "terSell.EmpID)   INNER JOIN ((TSell INNER JOIN TProInfo ON TSell.ProID=TProInfo.ProID)  ) ON TM"
       "asterSell.INNO=TSell.InNO)  where  '2024-03'=format(willdate,'yyyy-mm')"},
      {Q::CustomerInvitations(kMonth),
       "SELECT TtrystDetail.TheDate,Iif(TtrystDetail.TheTime is null ,'00:00:00',TtrystDetail.TheTime) "
       "as TheTime,EmpName as UserName FROM TtrystDetail INNER JOIN TEmp ON TtrystDetail.EmpID = TEmp.E"
       "mpID where  '2024-03'=format(Thedate,'yyyy-mm')"},
      {Q::FriendInvitations(kMonth),
       "SELECT TtrystDetail.TheDate,Iif(TtrystDetail.TheTime is null ,'00:00:00',TtrystDetail.TheTime) "
       "as TheTime,UserName FROM TtrystDetail INNER JOIN TFriend ON TtrystDetail.PID = TFriend.ID where"
       "  '2024-03'=format(Thedate,'yyyy-mm')"},
      {Q::CustomerMeetings(kMonth),
       "SELECT Topp.*,Iif(Topp.BeginTime is null ,'00:00:00',Topp.BeginTime) as TheTime,EmpName as User"
       "Name FROM Topp INNER JOIN TEmp ON Topp.EmpID = TEmp.EmpID where  '2024-03'=format(Begindate,'yy"
       "yy-mm')"},
      {Q::FriendMeetings(kMonth),
       "SELECT Topp.*,Iif(Topp.BeginTime is null ,'00:00:00',Topp.BeginTime) as TheTime,UserName FROM T"
       "opp INNER JOIN TFriend ON Topp.PID = TFriend.ID where  '2024-03'=format(Begindate,'yyyy-mm')"},
      {Q::CustomerFollowUps(kMonth),
       "SELECT TTrack.*,Iif(TTrack.BeginTime is null ,'00:00:00',TTrack.BeginTime) as TheTime,EmpName a"
       "s UserName FROM TTrack INNER JOIN TEmp ON TTrack.EmpID = TEmp.EmpID where  '2024-03'=format(Beg"
       "indate,'yyyy-mm')"},
      {Q::FriendFollowUps(kMonth),
       "SELECT TTrack.*,Iif(TTrack.BeginTime is null ,'00:00:00',TTrack.BeginTime) as TheTime,UserName "
       "FROM TTrack INNER JOIN TFriend ON TTrack.FID = TFriend.ID where  '2024-03'=format(Begindate,'yy"
       "yy-mm')"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.sql, c.expected);
}

TEST(ReminderQueries, MonthSectionsMatchLunarBirthdaysByTheBuildDaysLunarMonth) {
  // "下月提示" in lunar month 11 still asks for 十一月, the month of the build day.
  const TReminderSection nextMonth{"下月提示", EncodeDate(2024, 1, 1), false};
  const TDateTime december = EncodeDate(2023, 12, 20);  // lunar 十一月初八
  const std::string sql = Q::CustomerBirthdays(nextMonth, december);
  EXPECT_NE(sql.find("MonthBirthDate like '%十一月%'"), std::string::npos);
  EXPECT_NE(sql.find("format(#2024-1-1#,'mm')"), std::string::npos);
}
