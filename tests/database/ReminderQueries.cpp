#include "tests/database/ReminderQueries.h"

#include "calendar/Lunar.h"
#include "data/Connection.h"
#include "data/DatabaseError.h"
#include "data/Query.h"
#include "platform/core/DateFormat.h"

namespace vandrel {

namespace {

struct TPieces {
  std::string ymd, ym, shortDate, yyyy, mm, dd, d, weekday, lunarMd, lunarMonthNow;
};

TPieces Pieces(TDateTime date, TDateTime today) {
  TPieces p;
  p.ymd = FormatDateTime("yyyy-mm-dd", date);
  p.ym = FormatDateTime("yyyy-mm", date);
  p.shortDate = FormatDateTime(FormatSettings().ShortDateFormat, date);
  p.yyyy = FormatDateTime("yyyy", date);
  p.mm = FormatDateTime("mm", date);
  p.dd = FormatDateTime("DD", date);
  p.d = FormatDateTime("D", date);
  p.weekday = WeekdayChar(date);
  p.lunarMd = LunarMonthName(date) + LunarDayName(date);
  p.lunarMonthNow = LunarMonthName(today);
  return p;
}

std::string EventHead(const TPieces& p) {
  return "select *,Iif(HintTime is null ,'00:00:00',HintTime) as HTime  from  tHint where (Active=false  and  DisabledDate>=#" + p.ymd;
}

std::vector<std::string> EventQueries(const TPieces& p, bool day) {
  if (!day)
    return {EventHead(p) + "#) and  format(HintDate,'yyyy-mm')='" + p.ym + "'"};
  return {
      EventHead(p) + "#) and  (HintDate<=#" + p.ymd + "#)" + " and  (HintDate=#" + p.ymd + "#  or NextDate=#" + p.ymd + "#) ",
      EventHead(p) + "#)" + " and (TheSubWeek>0 and (datediff('d',hintdate,'" + p.ymd + "') Mod TheSubWeek*7)=0)",
      EventHead(p) + "#)" + " and (TheSubDay>0 and (datediff('d',hintdate,'" + p.ymd + "') Mod TheSubDay)=0 )",
      EventHead(p) + "#)" + " and  (Month('" + p.ymd + "')=TheMonth and Day('" + p.ymd + "')=theDay) ",
      EventHead(p) + "#)" + " and  (TheMonth=0 and Day('" + p.ymd + "')=theDay)",
      EventHead(p) + "#)" + " and   (TheWeek='" + p.weekday + "')",
      EventHead(p) + "#)" + " and    ( TheMonthDay=" + p.d + ") ",
  };
}

std::string CourseQuery(const TPieces& p, bool day) {
  std::string q =
      "SELECT TTheDate.*, [TMeet].[EmpID], [TMeet].[EmpName], [TMeet].[FunID],"
      " [TMeet].[Title], [TMeet].[Content], [TMeet].[FromTime], [TMeet].[ToTime],"
      " [TMeet].[MeetID], [TMeet].[House], [TMeet].[Unit], [TFun].[FunName], [TFun].[seq]"
      ",Iif(FromTime is null ,'00:00:00',FromTime) as FTime  FROM (TMeet INNER JOIN TTheDate ON [TMeet].[TheDateID]=[TTheDate].[TheDateID]) "
      " INNER JOIN TFun ON [TMeet].[FunID]=[TFun].[FunID]";
  if (day)
    return q + "  where TheYear='" + p.yyyy + "' and TheMonth='" + p.mm + "' and TheDay='" + p.dd +
           "'  ORDER BY [TMeet].[FromTime], [TMeet].[ToTime], [TFun].[seq], [TMeet].[EmpName]";
  return q + "  where TheYear='" + p.yyyy + "' and TheMonth='" + p.mm +
         "'   ORDER BY [TMeet].[FromTime], [TMeet].[ToTime], [TFun].[seq], [TMeet].[EmpName]";
}

std::string PlannedVisitQuery(const TPieces& p, bool day) {
  return std::string("select * ,Iif(visitTime is null ,'00:00:00',visitTime) as VTime   ,empname  from tvisit  where  (tvisit.visitflag='计划预约' or tvisit.visitflag='' or tvisit.visitflag is null)") +
         (day ? "  and visitDate=#" + p.ymd + "#" : "  and format(visitDate,'yyyy-mm')='" + p.ym + "'");
}

std::string NextVisitQuery(const TPieces& p, bool day) {
  return std::string("  select  nextDate as visitDate ,Iif(NextTime is null ,'00:00:00',NextTime) as VTime,  visitTime ,empname ,place from tvisit") +
         (day ? "  where  nextDate=#" + p.ymd + "#" : "  where  format(nextDate,'yyyy-mm')='" + p.ym + "'");
}

std::string PlanQuery(const TPieces& p, bool day) {
  return std::string("SELECT Tplan.*, TPlanType.PlanTypeName  FROM Tplan LEFT JOIN TPlanType ON Tplan.PlanTypeID = TPlanType.PlanTypeID ") +
         (day ? " where  BeginDate>=#" + p.shortDate + "# and EndDate >=#" + p.shortDate + "# and StatusID=0"
              : " where  format(BeginDate,'yyyy-mm')='" + p.ym + "' and format(EndDate,'yyyy-mm')>='" + p.ym + "' and StatusID=0");
}

std::string ProgressQuery(const TPieces& p, bool day) {
  return std::string("SELECT * ,Iif(BeginTime is null ,'00:00:00',BeginTime) as BTime FROM TPlanDetail ") +
         (day ? " where  CreateDate=#" + p.shortDate + "#" : " where format(CreateDate,'yyyy-mm')='" + p.ym + "'");
}

std::string CustomerBirthdayQuery(const TPieces& p, bool day) {
  std::string q =
      "select empName as empName ,monthbirthdate,FatherMonthBirdthDay,MotherMonthBirdthDay,ChildMonthBirdthDay,WifeMonthBirdthDay,format(Temp.FatherBirdthDay,'yyyy-mm-dd') as FatherBirdthDay,format(Temp.MotherBirdthDay,'yyyy-mm-dd') as MotherBirdthDay ,"
      " format(Temp.ChildBirdthDay,'yyyy-mm-dd') as ChildBirdthDay ,  format(Temp.WifeBirdthDay,'yyyy-mm-dd') as WifeBirdthDay  ,format(Temp.birthday,'yyyy-mm-dd') as birthday   from TEmp";
  const std::string s = p.shortDate, l = p.lunarMd, n = p.lunarMonthNow;
  if (day)
    return q + " where  format(birthday,'mm:dd')=format(#" + s + "#,'mm:dd') or format(FatherBirdthDay,'mm:dd')=format(#" + s +
           "#,'mm:dd') or format(MotherBirdthDay,'mm:dd')=format(#" + s + "#,'mm:dd') or format(ChildBirdthDay,'mm:dd')=format(#" + s +
           "#,'mm:dd') or format(WifeBirdthDay,'mm:dd')=format(#" + s + "#,'mm:dd') or MonthBirthDate='" + l +
           "'  or FatherMonthBirdthDay='" + l + "'  or MotherMonthBirdthDay='" + l + "'  or ChildMonthBirdthDay='" + l +
           "'  or WifeMonthBirdthDay='" + l + "'";
  return q + " where  format(birthday,'mm')=format(#" + s + "#,'mm') or format(FatherBirdthDay,'mm')=format(#" + s +
         "#,'mm') or format(MotherBirdthDay,'mm')=format(#" + s + "#,'mm') or format(ChildBirdthDay,'mm')=format(#" + s +
         "#,'mm') or format(WifeBirdthDay,'mm')=format(#" + s + "#,'mm') or  MonthBirthDate like '%" + n +
         "%' or  FatherMonthBirdthDay like '%" + n + "%'  or  MotherMonthBirdthDay like '%" + n +
         "%'   or  ChildMonthBirdthDay like '%" + n + "%'    or  WifeMonthBirdthDay like '%" + n + "%'";
}

std::string FriendBirthdayQuery(const TPieces& p, bool day) {
  std::string q =
      "select UserName as empName ,format(TFriend.FatherBirdthDay,'yyyy-mm-dd') as FatherBirdthDay,format(TFriend.MotherBirdthDay,'yyyy-mm-dd') as MotherBirdthDay ,"
      " format(TFriend.ChildBirdthDay,'yyyy-mm-dd') as ChildBirdthDay ,  format(TFriend.WifeBirdthDay,'yyyy-mm-dd') as WifeBirdthDay  ,format(TFriend.birthday,'yyyy-mm-dd') as birthday   from TFriend";
  const std::string s = p.shortDate;
  if (day)
    return q + " where     format(birthday,'mm:dd')=format(#" + s + "#,'mm:dd') or  format(FatherBirdthDay,'mm:dd')=format(#" + s +
           "#,'mm:dd') or format(MotherBirdthDay,'mm:dd')=format(#" + s + "#,'mm:dd') or format(ChildBirdthDay,'mm:dd')=format(#" + s +
           "#,'mm:dd') or format(WifeBirdthDay,'mm:dd')=format(#" + s + "#,'mm:dd')";
  return q + " where  format(birthday,'mm')=format(#" + s + "#,'mm') or format(FatherBirdthDay,'mm')=format(#" + s +
         "#,'mm') or format(MotherBirdthDay,'mm')=format(#" + s + "#,'mm') or format(ChildBirdthDay,'mm')=format(#" + s +
         "#,'mm') or format(WifeBirdthDay,'mm')=format(#" + s + "#,'mm')";
}

std::string CardQuery(const TPieces& p, bool day) {
  return day ? "select *,(addinte-subInte) as AllInte  from temp where OverDate= #" + p.ymd + "#"
             : "select *,(addinte-subInte) as AllInte  from temp where format(OverDate,'yyyy-mm')= '" + p.ym + "'";
}

std::string ProductQuery(const TPieces& p, bool day) {
  return std::string("select   distinct  [TEmp].EmpID, [TEmp].EmpName, TMasterSell.SellDate,  DateAdd('d',-7,TSell.willdate) AS willcomedate, willdate AS comedate, ") +
         " TSell.NetMoney AS JMoney, TSell.SellID, TSell.WillDate, TSell.SellPrice, TProInfo.spec, TSell.Quantity, TSell.Money, TSell.SellMoney, TSell.InNO,  " +
         " TProInfo.ProID, TProInfo.ProName  FROM ((TEmp INNER JOIN TMasterSell ON [TEmp].EmpID=TMasterSell.EmpID)   INNER JOIN ((TSell INNER JOIN TProInfo ON TSell.ProID=TProInfo.ProID)  ) ON TMasterSell.INNO=TSell.InNO) " +
         (day ? " where #" + p.ymd + "#>=DateAdd('d',-7,TSell.willdate) and #" + p.ymd + "#<=willdate"
              : " where  '" + p.ym + "'=format(willdate,'yyyy-mm')");
}

std::string Condition(const TPieces& p, bool day, const std::string& column) {
  return day ? " where #" + p.ymd + "#=" + column : " where  '" + p.ym + "'=format(" + column + ",'yyyy-mm')";
}

std::string InvitationQuery(const TPieces& p, bool day, bool customers) {
  return std::string(customers
                         ? "SELECT TtrystDetail.TheDate,Iif(TtrystDetail.TheTime is null ,'00:00:00',TtrystDetail.TheTime) as TheTime,EmpName as UserName FROM TtrystDetail INNER JOIN TEmp ON TtrystDetail.EmpID = TEmp.EmpID"
                         : "SELECT TtrystDetail.TheDate,Iif(TtrystDetail.TheTime is null ,'00:00:00',TtrystDetail.TheTime) as TheTime,UserName FROM TtrystDetail INNER JOIN TFriend ON TtrystDetail.PID = TFriend.ID") +
         Condition(p, day, "Thedate");
}

std::string MeetingQuery(const TPieces& p, bool day, bool customers) {
  return std::string(customers
                         ? "SELECT Topp.*,Iif(Topp.BeginTime is null ,'00:00:00',Topp.BeginTime) as TheTime,EmpName as UserName FROM Topp INNER JOIN TEmp ON Topp.EmpID = TEmp.EmpID"
                         : "SELECT Topp.*,Iif(Topp.BeginTime is null ,'00:00:00',Topp.BeginTime) as TheTime,UserName FROM Topp INNER JOIN TFriend ON Topp.PID = TFriend.ID") +
         Condition(p, day, "Begindate");
}

std::string FollowUpQuery(const TPieces& p, bool day, bool customers) {
  return std::string(customers
                         ? "SELECT TTrack.*,Iif(TTrack.BeginTime is null ,'00:00:00',TTrack.BeginTime) as TheTime,EmpName as UserName FROM TTrack INNER JOIN TEmp ON TTrack.EmpID = TEmp.EmpID"
                         : "SELECT TTrack.*,Iif(TTrack.BeginTime is null ,'00:00:00',TTrack.BeginTime) as TheTime,UserName FROM TTrack INNER JOIN TFriend ON TTrack.FID = TFriend.ID") +
         Condition(p, day, "Begindate");
}

std::string Text(TQuery& q, const char* name) { return q.FieldByName(name).AsString(); }
std::string TT(TQuery& q, const char* name) { return FormatDateTime("tt", q.FieldByName(name).AsDateTime()); }

template <typename F>
void Each(TQuery& q, const std::string& sql, F&& line) {
  q.SetSQL(sql);
  q.Open();
  while (!q.Eof()) {
    line();
    q.Next();
  }
}

void Birthdays(TQuery& q, const std::string& sql, const TPieces& p, bool day, bool lunar,
               std::vector<std::string>& out) {
  static const char* kGregorian[] = {"birthday", "FatherBirdthDay", "MotherBirdthDay", "ChildBirdthDay", "WifeBirdthDay"};
  static const char* kLunar[] = {"MonthBirthDate", "FatherMonthBirdthDay", "MotherMonthBirdthDay", "ChildMonthBirdthDay", "WifeMonthBirdthDay"};
  static const char* kGregorianWord[] = {"生日", "父亲生日", "母亲生日", "孩子生日", "爱人生日"};
  static const char* kLunarWord[] = {"农历", "父亲农历", "母亲农历", "孩子农历", "爱人农历"};
  const std::string md = p.ymd.substr(5), m = p.mm;
  Each(q, sql, [&] {
    const std::string name = Text(q, "empName");
    for (int i = 0; i < 5; ++i) {
      const std::string v = Text(q, kGregorian[i]);
      if (v.size() != 10) continue;
      if (day ? v.substr(5) == md : v.substr(5, 2) == m) out.push_back(v + " " + name + kGregorianWord[i]);
    }
    for (int i = 0; lunar && i < 5; ++i) {
      const std::string v = Text(q, kLunar[i]);
      if (v.empty()) continue;
      const bool match = day ? v == p.lunarMd
                             : v.find(p.lunarMonthNow) != std::string::npos &&
                                   v.find("十" + p.lunarMonthNow) == std::string::npos;
      if (match) out.push_back(name + kLunarWord[i] + v + " 生日");
    }
  });
}

}  // namespace

std::string PlanProgressQuery(TDateTime date, bool dayMode) { return ProgressQuery(Pieces(date, date), dayMode); }

std::vector<std::string> SectionQueries(TDateTime date, bool day, TDateTime today) {
  const TPieces p = Pieces(date, today);
  std::vector<std::string> out = EventQueries(p, day);
  for (auto q : {CourseQuery(p, day), PlannedVisitQuery(p, day), NextVisitQuery(p, day), PlanQuery(p, day),
                 CustomerBirthdayQuery(p, day), FriendBirthdayQuery(p, day), CardQuery(p, day), ProductQuery(p, day),
                 InvitationQuery(p, day, true), InvitationQuery(p, day, false), MeetingQuery(p, day, true),
                 MeetingQuery(p, day, false), FollowUpQuery(p, day, true), FollowUpQuery(p, day, false)})
    out.push_back(q);
  return out;
}

TSectionLines BuildSection(TConnection& connection, TDateTime date, bool day, TDateTime today) {
  const TPieces p = Pieces(date, today);
  TSectionLines s;
  TQuery q1(connection), q2(connection);

  auto& events = s.Categories["事件提示"];
  const auto eventQueries = EventQueries(p, day);
  static const int kRules[] = {1, 2, 3, 4, 5, 6, 7};
  for (size_t i = 0; i < eventQueries.size(); ++i) {
    const int rule = day ? kRules[i] : 1;
    Each(q1, eventQueries[i], [&] {
      const std::string hint = Text(q1, "Hint");
      switch (rule) {
        case 1: events.push_back(Text(q1, "HintDate") + " " + TT(q1, "HTime") + "  " + hint); break;
        case 2: events.push_back(" 间隔" + Text(q1, "TheSubWeek") + "周 " + Text(q1, "HTime") + " " + hint); break;
        case 3: events.push_back(" 间隔" + Text(q1, "TheSubDay") + "日 " + TT(q1, "HTime") + " " + hint); break;
        case 4: events.push_back(Text(q1, "TheMonth") + "月 " + Text(q1, "theDay") + "日 " + TT(q1, "HTime") + " " + hint); break;
        case 5: events.push_back(Text(q1, "theDay") + "号 " + TT(q1, "HTime") + " " + hint); break;
        case 6: events.push_back("星期" + Text(q1, "TheWeek") + " " + TT(q1, "HTime") + " " + hint); break;
        default: events.push_back(Text(q1, "TheMonthDay") + "号 " + TT(q1, "HTime") + " " + hint); break;
      }
    });
  }

  auto& courses = s.Categories["课程安排"];
  Each(q1, CourseQuery(p, day), [&] {
    courses.push_back(Text(q1, "AllDate") + " " + TT(q1, "FTime") + "在" + Text(q1, "Addr") + "  " + Text(q1, "EmpName") +
                      "  " + Text(q1, "FunName") + "  " + Text(q1, "Title"));
  });

  auto& visits = s.Categories["预约拜访"];
  Each(q1, PlannedVisitQuery(p, day), [&] {
    visits.push_back(Text(q1, "visitDate") + " " + TT(q1, "VTime") + "在" + Text(q1, "place") + " 约见" + Text(q1, "EmpName"));
  });
  Each(q1, NextVisitQuery(p, day), [&] {
    visits.push_back(Text(q1, "visitDate") + " " + TT(q1, "VTime") + "  " + Text(q1, "place") + "  " + Text(q1, "EmpName"));
  });

  auto& plans = s.Categories["计划目标"];
  Each(q1, PlanQuery(p, day), [&] {
    plans.push_back(Text(q1, "BeginDate") + "至" + Text(q1, "EndDate") + Text(q1, "PlanTypeName") + "  内容:" +
                    Text(q1, "Content") + "  进度:" + Text(q1, "Plan") + "  :" + Text(q1, "Process"));
    // The progress query runs on the second query object while the plan rows stay open.
    Each(q2, ProgressQuery(p, day), [&] {
      plans.push_back(Text(q2, "CreateDate") + " " + Text(q2, "BTime") + " " + Text(q2, "ProcessCont") + " " + Text(q2, "Per"));
    });
  });

  auto& birthdays = s.Categories["客户生日"];
  Birthdays(q1, CustomerBirthdayQuery(p, day), p, day, true, birthdays);
  Birthdays(q1, FriendBirthdayQuery(p, day), p, day, false, birthdays);

  auto& cards = s.Categories["卡号到期"];
  try {
    Each(q1, CardQuery(p, day), [&] { cards.push_back(Text(q1, "OverDate") + " " + Text(q1, "empName")); });
  } catch (const EDatabaseError&) {
  }

  auto& products = s.Categories["产品用完"];
  Each(q1, ProductQuery(p, day), [&] {
    products.push_back(Text(q1, "empName") + " " + Text(q1, "SellDate") + " 购买的" + Text(q1, "ProName") + " " +
                       Text(q1, "ComeDate") + "到期");
  });

  auto& invitations = s.Categories["邀约提示"];
  for (bool customers : {true, false})
    Each(q1, InvitationQuery(p, day, customers), [&] {
      invitations.push_back(Text(q1, "TheDate") + " " + Text(q1, "TheTime") + " 邀约 " + Text(q1, "UserName"));
    });
  auto& meetings = s.Categories["会议提示"];
  for (bool customers : {true, false})
    Each(q1, MeetingQuery(p, day, customers), [&] {
      meetings.push_back(Text(q1, "BeginDate") + " " + Text(q1, "TheTime") + " 主讲 " + Text(q1, "sayer") + "主题 " +
                         Text(q1, "Title") + " 对像:" + Text(q1, "UserName"));
    });
  auto& followUps = s.Categories["跟进提示"];
  for (bool customers : {true, false})
    Each(q1, FollowUpQuery(p, day, customers), [&] {
      followUps.push_back(Text(q1, "BeginDate") + " " + Text(q1, "TheTime") + " 跟进对像:" + Text(q1, "UserName") + " " +
                          Text(q1, "Course") + "  跟进资料:" + Text(q1, "Book"));
    });
  return s;
}

}  // namespace vandrel
