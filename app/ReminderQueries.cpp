#include "app/ReminderQueries.h"

#include "calendar/Lunar.h"
#include "platform/core/DateFormat.h"

namespace vandrel::ReminderQueries {
namespace {

std::string Ymd(const TReminderSection& s) { return FormatDateTime("yyyy-mm-dd", s.Date); }
std::string Ym(const TReminderSection& s) { return FormatDateTime("yyyy-mm", s.Date); }
std::string ShortDate(const TReminderSection& s) { return FormatDateTime("ddddd", s.Date); }

const std::string kEventHead =
    "select *,Iif(HintTime is null ,'00:00:00',HintTime) as HTime  from  tHint where (Active=false  and  DisabledDate>=#";

// The condition that both the customer and the friend query of a contact category end with.
std::string ContactCondition(const TReminderSection& s, const char* dateColumn) {
  if (s.DayMode) return " where #" + Ymd(s) + "#=" + dateColumn;
  return " where  '" + Ym(s) + "'=format(" + dateColumn + ",'yyyy-mm')";
}

}  // namespace

std::vector<std::string> Events(const TReminderSection& s) {
  const std::string ymd = Ymd(s);
  const std::string head = kEventHead + ymd;
  if (!s.DayMode) return {head + "#) and  format(HintDate,'yyyy-mm')='" + Ym(s) + "'"};
  return {
      head + "#) and  (HintDate<=#" + ymd + "#)" + " and  (HintDate=#" + ymd + "#  or NextDate=#" + ymd + "#) ",
      head + "#)" + " and (TheSubWeek>0 and (datediff('d',hintdate,'" + ymd + "') Mod TheSubWeek*7)=0)",
      head + "#)" + " and (TheSubDay>0 and (datediff('d',hintdate,'" + ymd + "') Mod TheSubDay)=0 )",
      head + "#)" + " and  (Month('" + ymd + "')=TheMonth and Day('" + ymd + "')=theDay) ",
      head + "#)" + " and  (TheMonth=0 and Day('" + ymd + "')=theDay)",
      head + "#)" + " and   (TheWeek='" + WeekdayChar(s.Date) + "')",
      head + "#)" + " and    ( TheMonthDay=" + FormatDateTime("D", s.Date) + ") ",
  };
}

std::string Courses(const TReminderSection& s) {
  std::string sql =
      "SELECT TTheDate.*, [TMeet].[EmpID], [TMeet].[EmpName], [TMeet].[FunID],"
      " [TMeet].[Title], [TMeet].[Content], [TMeet].[FromTime], [TMeet].[ToTime],"
      " [TMeet].[MeetID], [TMeet].[House], [TMeet].[Unit], [TFun].[FunName], [TFun].[seq]"
      ",Iif(FromTime is null ,'00:00:00',FromTime) as FTime  FROM (TMeet INNER JOIN TTheDate ON [TMeet].[TheDateID]=[TTheDate].[TheDateID]) "
      " INNER JOIN TFun ON [TMeet].[FunID]=[TFun].[FunID]";
  const std::string order = "  ORDER BY [TMeet].[FromTime], [TMeet].[ToTime], [TFun].[seq], [TMeet].[EmpName]";
  sql += "  where TheYear='" + FormatDateTime("yyyy", s.Date) + "' and TheMonth='" + FormatDateTime("mm", s.Date) + "'";
  if (s.DayMode) return sql + " and TheDay='" + FormatDateTime("DD", s.Date) + "'" + order;
  return sql + " " + order;
}

std::string PlannedVisits(const TReminderSection& s) {
  std::string sql =
      "select * ,Iif(visitTime is null ,'00:00:00',visitTime) as VTime   ,empname  from tvisit  where  (tvisit.visitflag='计划预约' or tvisit.visitflag='' or tvisit.visitflag is null)";
  if (s.DayMode) return sql + "  and visitDate=#" + Ymd(s) + "#";
  return sql + "  and format(visitDate,'yyyy-mm')='" + Ym(s) + "'";
}

std::string NextVisits(const TReminderSection& s) {
  std::string sql =
      "  select  nextDate as visitDate ,Iif(NextTime is null ,'00:00:00',NextTime) as VTime,  visitTime ,empname ,place from tvisit";
  if (s.DayMode) return sql + "  where  nextDate=#" + Ymd(s) + "#";
  return sql + "  where  format(nextDate,'yyyy-mm')='" + Ym(s) + "'";
}

std::string Plans(const TReminderSection& s) {
  std::string sql = "SELECT Tplan.*, TPlanType.PlanTypeName  FROM Tplan LEFT JOIN TPlanType ON Tplan.PlanTypeID = TPlanType.PlanTypeID ";
  if (s.DayMode) {
    const std::string d = ShortDate(s);
    return sql + " where  BeginDate>=#" + d + "# and EndDate >=#" + d + "# and StatusID=0";
  }
  const std::string ym = Ym(s);
  return sql + " where  format(BeginDate,'yyyy-mm')='" + ym + "' and format(EndDate,'yyyy-mm')>='" + ym + "' and StatusID=0";
}

std::string PlanProgress(const TReminderSection& s) {
  std::string sql = "SELECT * ,Iif(BeginTime is null ,'00:00:00',BeginTime) as BTime FROM TPlanDetail ";
  if (s.DayMode) return sql + " where  CreateDate=#" + ShortDate(s) + "#";
  return sql + " where format(CreateDate,'yyyy-mm')='" + Ym(s) + "'";
}

std::string CustomerBirthdays(const TReminderSection& s, TDateTime buildTime) {
  std::string sql =
      "select empName as empName ,monthbirthdate,FatherMonthBirdthDay,MotherMonthBirdthDay,ChildMonthBirdthDay,WifeMonthBirdthDay,format(Temp.FatherBirdthDay,'yyyy-mm-dd') as FatherBirdthDay,format(Temp.MotherBirdthDay,'yyyy-mm-dd') as MotherBirdthDay ,"
      " format(Temp.ChildBirdthDay,'yyyy-mm-dd') as ChildBirdthDay ,  format(Temp.WifeBirdthDay,'yyyy-mm-dd') as WifeBirdthDay  ,format(Temp.birthday,'yyyy-mm-dd') as birthday   from TEmp";
  const std::string d = ShortDate(s);
  if (s.DayMode) {
    const std::string md = LunarMonthName(s.Date) + LunarDayName(s.Date);
    return sql + " where  format(birthday,'mm:dd')=format(#" + d + "#,'mm:dd') or format(FatherBirdthDay,'mm:dd')=format(#" + d +
           "#,'mm:dd') or format(MotherBirdthDay,'mm:dd')=format(#" + d + "#,'mm:dd') or format(ChildBirdthDay,'mm:dd')=format(#" + d +
           "#,'mm:dd') or format(WifeBirdthDay,'mm:dd')=format(#" + d + "#,'mm:dd') or MonthBirthDate='" + md +
           "'  or FatherMonthBirdthDay='" + md + "'  or MotherMonthBirdthDay='" + md + "'  or ChildMonthBirdthDay='" + md +
           "'  or WifeMonthBirdthDay='" + md + "'";
  }
  const std::string m = LunarMonthName(buildTime);
  return sql + " where  format(birthday,'mm')=format(#" + d + "#,'mm') or format(FatherBirdthDay,'mm')=format(#" + d +
         "#,'mm') or format(MotherBirdthDay,'mm')=format(#" + d + "#,'mm') or format(ChildBirdthDay,'mm')=format(#" + d +
         "#,'mm') or format(WifeBirdthDay,'mm')=format(#" + d + "#,'mm') or  MonthBirthDate like '%" + m +
         "%' or  FatherMonthBirdthDay like '%" + m + "%'  or  MotherMonthBirdthDay like '%" + m +
         "%'   or  ChildMonthBirdthDay like '%" + m + "%'    or  WifeMonthBirdthDay like '%" + m + "%'";
}

std::string FriendBirthdays(const TReminderSection& s) {
  std::string sql =
      "select UserName as empName ,format(TFriend.FatherBirdthDay,'yyyy-mm-dd') as FatherBirdthDay,format(TFriend.MotherBirdthDay,'yyyy-mm-dd') as MotherBirdthDay ,"
      " format(TFriend.ChildBirdthDay,'yyyy-mm-dd') as ChildBirdthDay ,  format(TFriend.WifeBirdthDay,'yyyy-mm-dd') as WifeBirdthDay  ,format(TFriend.birthday,'yyyy-mm-dd') as birthday   from TFriend";
  const std::string d = ShortDate(s);
  if (s.DayMode)
    return sql + " where     format(birthday,'mm:dd')=format(#" + d + "#,'mm:dd') or  format(FatherBirdthDay,'mm:dd')=format(#" + d +
           "#,'mm:dd') or format(MotherBirdthDay,'mm:dd')=format(#" + d + "#,'mm:dd') or format(ChildBirdthDay,'mm:dd')=format(#" + d +
           "#,'mm:dd') or format(WifeBirdthDay,'mm:dd')=format(#" + d + "#,'mm:dd')";
  return sql + " where  format(birthday,'mm')=format(#" + d + "#,'mm') or format(FatherBirdthDay,'mm')=format(#" + d +
         "#,'mm') or format(MotherBirdthDay,'mm')=format(#" + d + "#,'mm') or format(ChildBirdthDay,'mm')=format(#" + d +
         "#,'mm') or format(WifeBirdthDay,'mm')=format(#" + d + "#,'mm')";
}

std::string CardExpiries(const TReminderSection& s) {
  if (s.DayMode) return "select *,(addinte-subInte) as AllInte  from temp where OverDate= #" + Ymd(s) + "#";
  return "select *,(addinte-subInte) as AllInte  from temp where format(OverDate,'yyyy-mm')= '" + Ym(s) + "'";
}

std::string Products(const TReminderSection& s) {
  std::string sql =
      "select   distinct  [TEmp].EmpID, [TEmp].EmpName, TMasterSell.SellDate,  DateAdd('d',-7,TSell.willdate) AS willcomedate, willdate AS comedate, "
      " TSell.NetMoney AS JMoney, TSell.SellID, TSell.WillDate, TSell.SellPrice, TProInfo.spec, TSell.Quantity, TSell.Money, TSell.SellMoney, TSell.InNO,  "
      " TProInfo.ProID, TProInfo.ProName  FROM ((TEmp INNER JOIN TMasterSell ON [TEmp].EmpID=TMasterSell.EmpID)   INNER JOIN ((TSell INNER JOIN TProInfo ON TSell.ProID=TProInfo.ProID)  ) ON TMasterSell.INNO=TSell.InNO) ";
  const std::string ymd = Ymd(s);
  if (s.DayMode) return sql + " where #" + ymd + "#>=DateAdd('d',-7,TSell.willdate) and #" + ymd + "#<=willdate";
  return sql + " where  '" + Ym(s) + "'=format(willdate,'yyyy-mm')";
}

std::string CustomerInvitations(const TReminderSection& s) {
  return "SELECT TtrystDetail.TheDate,Iif(TtrystDetail.TheTime is null ,'00:00:00',TtrystDetail.TheTime) as TheTime,EmpName as UserName FROM TtrystDetail INNER JOIN TEmp ON TtrystDetail.EmpID = TEmp.EmpID" +
         ContactCondition(s, "Thedate");
}

std::string FriendInvitations(const TReminderSection& s) {
  return "SELECT TtrystDetail.TheDate,Iif(TtrystDetail.TheTime is null ,'00:00:00',TtrystDetail.TheTime) as TheTime,UserName FROM TtrystDetail INNER JOIN TFriend ON TtrystDetail.PID = TFriend.ID" +
         ContactCondition(s, "Thedate");
}

std::string CustomerMeetings(const TReminderSection& s) {
  return "SELECT Topp.*,Iif(Topp.BeginTime is null ,'00:00:00',Topp.BeginTime) as TheTime,EmpName as UserName FROM Topp INNER JOIN TEmp ON Topp.EmpID = TEmp.EmpID" +
         ContactCondition(s, "Begindate");
}

std::string FriendMeetings(const TReminderSection& s) {
  return "SELECT Topp.*,Iif(Topp.BeginTime is null ,'00:00:00',Topp.BeginTime) as TheTime,UserName FROM Topp INNER JOIN TFriend ON Topp.PID = TFriend.ID" +
         ContactCondition(s, "Begindate");
}

std::string CustomerFollowUps(const TReminderSection& s) {
  return "SELECT TTrack.*,Iif(TTrack.BeginTime is null ,'00:00:00',TTrack.BeginTime) as TheTime,EmpName as UserName FROM TTrack INNER JOIN TEmp ON TTrack.EmpID = TEmp.EmpID" +
         ContactCondition(s, "Begindate");
}

std::string FriendFollowUps(const TReminderSection& s) {
  return "SELECT TTrack.*,Iif(TTrack.BeginTime is null ,'00:00:00',TTrack.BeginTime) as TheTime,UserName FROM TTrack INNER JOIN TFriend ON TTrack.FID = TFriend.ID" +
         ContactCondition(s, "Begindate");
}

std::vector<std::string> All(const TReminderSection& s, TDateTime buildTime) {
  std::vector<std::string> all = Events(s);
  for (std::string text : {Courses(s), PlannedVisits(s), NextVisits(s), Plans(s), PlanProgress(s),
                           CustomerBirthdays(s, buildTime), FriendBirthdays(s), CardExpiries(s), Products(s),
                           CustomerInvitations(s), FriendInvitations(s), CustomerMeetings(s), FriendMeetings(s),
                           CustomerFollowUps(s), FriendFollowUps(s)})
    all.push_back(std::move(text));
  return all;
}

}  // namespace vandrel::ReminderQueries
