// Builds one reminder section of the tree: the section node, its ten categories in their fixed
// order, and one line per due item, from the queries of ReminderQueries run on two query objects
// (the second holds plan progress while the first still walks the plans).
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "app/ReminderQueries.h"
#include "app/ReminderTree.h"

namespace vandrel {

class TQuery;

// One piece of a reminder line: fixed text, the text of a column, or a column's time of day as
// "TT" shows it.
struct TLinePart {
  enum TKind { lpFixed, lpColumn, lpTime };
  constexpr TLinePart(const char* fixed) : Kind(lpFixed), Text(fixed) {}
  constexpr TLinePart(TKind kind, const char* column) : Kind(kind), Text(column) {}
  TKind Kind;
  std::string_view Text;
};

// Image indexes of the tree's image list.
enum TReminderImage { riLine = 0, riClosedFolder = 1, riOpenFolder = 2, riSelected = 3 };

class TReminderBuilder {
 public:
  TReminderBuilder(IReminderTree& tree, TQuery& query1, TQuery& query2)
      : m_tree(tree), m_query1(query1), m_query2(query2) {}

  // A failing query raises and leaves what was added so far; only the card-expiry category
  // swallows its failures.
  void AddReminderSection(const std::string& title, TDateTime date, bool dayMode);

 private:
  using Node = IReminderTree::Node;

  Node AddFolder(Node parent, const std::string& title);
  // Runs sql on query1 and adds one line per row; returns how many lines were added.
  int AddLines(Node category, const std::string& sql, std::span<const TLinePart> line);

  void AddEvents(Node category, const TReminderSection& section);
  void AddCourses(Node category, const TReminderSection& section);
  void AddVisits(Node category, const TReminderSection& section);
  void AddPlans(Node category, const TReminderSection& section);
  void AddBirthdays(Node category, const TReminderSection& section, TDateTime buildTime);
  void AddCardExpiries(Node category, const TReminderSection& section);
  void AddProducts(Node category, const TReminderSection& section);
  void AddContacts(Node category, const std::string& customerSql, const std::string& friendSql,
                   std::span<const TLinePart> line);

  IReminderTree& m_tree;
  TQuery& m_query1;
  TQuery& m_query2;
};

// Whether a birthday field matches the section: a Gregorian field ("yyyy-mm-dd" text) by month
// and day (day mode) or month; a lunar field (e.g. "四月初五") by the section's lunar month and
// day, or in month mode by the lunar month of the build, without letting 一月/二月 match
// 十一月/十二月.
bool GregorianBirthdayMatches(const std::string& field, const TReminderSection& section);
bool LunarBirthdayMatches(const std::string& field, const TReminderSection& section, TDateTime buildTime);

}  // namespace vandrel
