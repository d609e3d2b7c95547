// AppKeyBench.cpp - key to idle in the program's real windows on a catalogue of 50,000 colours
// (offscreen): Down in the catalogue grid (the recipe and cost queries follow, the swatch and
// three grids repaint) and each character typed into the grid's incremental search (the program's
// styling leaves that search off; it is turned on here to time it); p50 and p95. Goal: p95 under
// 16 ms. Beside them, in the same process: Down in a QTableView over a QSqlQueryModel holding
// the same catalogue rows, all fetched.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "bench/BenchPercentiles.h"
#include "app/AppMessageBoxes.h"
#include "app/AppStartup.h"
#include "app/DM_MAIN.h"
#include "app/SA_Main.h"
#include "app/SampleDatabase.h"
#include "gridlib/grid/DBGridZk.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Messages.h"
#include "platform/controls/WinApi.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sqlite/ADODB.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSqlDatabase>
#include <QSqlQueryModel>
#include <QTableView>

namespace {

namespace fs = std::filesystem;

// Milliseconds from Input to the end of the messages and repaints it caused.
template <class F>
double KeyToIdle(F Input) {
  const auto Start = std::chrono::steady_clock::now();
  Input();
  Application->ProcessMessages();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Start).count();
}

void Report(const char* Name, const std::vector<double>& Times) {
  const TMedianP95 T = MedianAndP95(Times);
  std::printf("%-28s p50 %6.2f ms  p95 %6.2f ms  (goal p95 < 16 ms, %zu keys)\n", Name, T.Median,
              T.P95, Times.size());
}

// Down in a QTableView over the same rows, every row fetched first.
std::vector<double> QtTableDown(const fs::path& File) {
  std::vector<double> Times;
  {
    QSqlDatabase Db = QSqlDatabase::addDatabase("QSQLITE", "floor");
    Db.setDatabaseName(QString::fromStdString(File.string()));
    Db.open();
    QSqlQueryModel Model;
    Model.setQuery("SELECT * FROM DS_COLOR", Db);
    while (Model.canFetchMore()) Model.fetchMore();
    QTableView View;
    View.setModel(&Model);
    View.resize(1000, 700);
    View.show();
    View.setFocus();
    View.setCurrentIndex(Model.index(0, 1));
    QApplication::processEvents();
    for (int I = 0; I < 300; ++I) {
      const auto Start = std::chrono::steady_clock::now();
      QKeyEvent Press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
      QApplication::sendEvent(&View, &Press);
      QApplication::processEvents();
      Times.push_back(
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Start).count());
    }
  }
  QSqlDatabase::removeDatabase("floor");
  return Times;
}

}  // namespace

int main() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  const fs::path Dir = fs::temp_directory_path() / "vorenta_key_bench";
  fs::remove_all(Dir);
  fs::create_directories(Dir);
  fs::current_path(Dir);
  CreateDatabaseFile(u"DATA/vorenta.data",
                     GeneratedCatalogueScript(ReadTextFile(Utf8ToString(VORENTA_SAMPLE_SQL)), 50000));
  SetAppBoxHandler([](TAppBoxKind, const String&, const String&) { return true; });
  AppStartup();
  Application->Initialize();
  Application->SetTitle(u"V o r e n t a");
  CreateAppWindows();
  SAMAIN->Show();
  Application->ProcessMessages();
  SAMAIN->DBGridZkColor->SetFocus();
  Application->ProcessMessages();

  std::vector<double> Down;
  for (int I = 0; I < 300; ++I) Down.push_back(KeyToIdle([] { SimulateKeyPress(VK_DOWN); }));
  Report("Down in the catalogue", Down);

  std::printf("catalogue row after the keys: %d of %d\n", DM->Color->RecNo(),
              DM->Color->RecordCount());

  // Each character of names from all over the catalogue typed into the incremental search,
  // from the first record; Escape ends each search.
  TDBGridZk* Grid = SAMAIN->DBGridZkColor;
  Grid->SetOptionsZk(Grid->OptionsZk() + TDBGridZkOptions{dghIncSearch, dghPreferIncSearch});
  const String Field = Grid->SelectedField()->FieldName();
  std::printf("searched column: %s\n", ToUtf8(Field).c_str());
  std::vector<String> Names;
  for (int I = 0; I < 30; ++I) {
    DM->Color->SetRecNo(1 + I * (DM->Color->RecordCount() - 1) / 29);
    Names.push_back(DM->Color->FieldByName(Field)->AsString());
  }
  std::vector<double> Typed;
  for (const String& Name : Names) {
    DM->Color->First();
    Application->ProcessMessages();
    for (Char C : Name) Typed.push_back(KeyToIdle([C] { SimulateTyping(String(1, C)); }));
    SimulateKeyPress(VK_ESCAPE);
    Application->ProcessMessages();
  }
  Report("Typed search character", Typed);
  std::printf("slowest typed character: %.2f ms\n", *std::max_element(Typed.begin(), Typed.end()));

  const std::vector<double> Floor = QtTableDown(Dir / "DATA/vorenta.data");
  Report("Down in a QTableView", Floor);
  std::printf("ratio of the p50s (Down): %.2f\n", MedianAndP95(Down).Median / MedianAndP95(Floor).Median);

  DestroyAppWindows();
  AppShutdown();
  fs::current_path(fs::temp_directory_path());
  fs::remove_all(Dir);
  return 0;
}
