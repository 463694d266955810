// The whole reminder tree of the large data set (about 170,000 nodes) in the tree view: building
// it, expanding the month section and painting, against building the same tree in memory (the
// reference, measured in the same run). Uses ../shared/perf/large.mdb.xz, unpacked to the
// temporary folder, or VANDREL_LARGE_MDB.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "app/CreationSequence.h"
#include "app/ReminderBuilder.h"
#include "app/ReminderOutline.h"
#include "app/TreeViewReminderTree.h"
#include "data/Connection.h"
#include "data/Query.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/TreeView.h"
#include "platform/core/Clock.h"
#include "platform/display/HeadlessScreen.h"

using namespace vandrel;
namespace fs = std::filesystem;

namespace {

const TDateTime kToday = EncodeDate(2026, 3, 5);

std::string LargePath() {
  if (const char* env = std::getenv("VANDREL_LARGE_MDB")) return env;
  const std::string path = (fs::temp_directory_path() / "vandrel-large.mdb").string();
  if (!fs::exists(path) || fs::file_size(path) != 65765376) {
    const std::string xz = VANDREL_SOURCE_DIR "/../shared/perf/large.mdb.xz";
    if (!fs::exists(xz)) return {};
    const std::string command = "xz -dc '" + xz + "' > '" + path + ".part' && mv '" + path + ".part' '" + path + "'";
    if (std::system(command.c_str()) != 0) return {};
  }
  return path;
}

// One open connection for all benchmarks: the query results are kept per text, so every build
// after the first measures the tree, not the database.
struct Database {
  Database() : query1(connection), query2(connection) {
    connection.SetConnectionString(kConnectionStringHead + LargePath());
    connection.Open();
    TReminderOutline warmUp;
    Build(warmUp);
  }
  void Build(IReminderTree& tree) {
    ScopedClock pin(kToday);
    TReminderBuilder builder(tree, query1, query2);
    for (const TReminderSection& section : ReminderSections(kToday))
      builder.AddReminderSection(section.Title, section.Date, section.DayMode);
  }
  TConnection connection;
  TQuery query1, query2;
};

Database& Large() {
  static Database db;
  return db;
}

struct Window {
  Window() : screen(THeadlessScreen::Create({1280, 800})) {
    form = app.CreateForm<TForm>();
    form->SetBounds(100, 100, 390, 540);
    view = new TTreeView(form);
    view->SetParent(form);
    view->SetAlign(alClient);
    view->SetShowButtons(false);
    view->SetShowLines(false);
    view->OnExpanded = [](TPersistent*, TTreeNode* n) { n->SetImageIndex(riOpenFolder); };
    view->OnCollapsed = [](TPersistent*, TTreeNode* n) { n->SetImageIndex(riClosedFolder); };
    form->Show();
    app.ProcessMessages();
  }
  std::unique_ptr<THeadlessScreen> screen;
  TApplication app;
  TForm* form = nullptr;
  TTreeView* view = nullptr;
};

void BM_BuildInMemory(benchmark::State& state) {
  Database& db = Large();
  size_t nodes = 0;
  for (auto _ : state) {
    TReminderOutline outline;
    db.Build(outline);
    nodes = outline.Count();
  }
  state.counters["nodes"] = double(nodes);
}

void BM_BuildInTreeView(benchmark::State& state) {
  Database& db = Large();
  Window w;
  for (auto _ : state) {
    TTreeViewReminderTree tree(*w.view);
    tree.Clear();
    db.Build(tree);
    w.app.ProcessMessages();
  }
  state.counters["nodes"] = double(w.view->Items()->Count());
}

void BM_ExpandMonthAndPaint(benchmark::State& state) {
  Database& db = Large();
  Window w;
  TTreeViewReminderTree tree(*w.view);
  db.Build(tree);
  TTreeNode* month = w.view->Items()->GetFirstNode();
  for (int i = 0; i < 4; ++i) month = month->GetNextSibling();
  for (auto _ : state) {
    month->Expand(false);
    w.view->Repaint();
    state.PauseTiming();
    month->Collapse(false);
    w.app.ProcessMessages();
    state.ResumeTiming();
  }
  state.counters["visible_rows"] = double(w.view->VisibleNodes().size());
}

void BM_ScrollPageAndPaint(benchmark::State& state) {
  Database& db = Large();
  Window w;
  TTreeViewReminderTree tree(*w.view);
  db.Build(tree);
  w.view->FullExpand();
  const int rows = int(w.view->VisibleNodes().size());
  int top = 0;
  for (auto _ : state) {
    top = (top + w.view->VisibleRowCount()) % rows;
    w.view->SetTopItem(w.view->VisibleNodes()[size_t(top)]);
    w.view->Repaint();
  }
  state.counters["rows"] = double(rows);
}

}  // namespace

BENCHMARK(BM_BuildInMemory)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BuildInTreeView)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExpandMonthAndPaint)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ScrollPageAndPaint)->Unit(benchmark::kMillisecond)->Iterations(20);
