// LookupComboBench.cpp - the lookup combo box over a 10,000-row query of a temporary SQLite file
// (ID, a Cyrillic name, two more columns) against an editable QComboBox holding the same names in
// a QStandardItemModel with a case-insensitive QCompleter completing inline; offscreen, one run:
//   (1) opening the drop-down to its first complete paint: DropDown and the events up to the
//       drop-down grid's first paint, against showPopup and the events up to the first paint of
//       the popup's view (a window just shown paints once it is exposed, which comes as an event;
//       a repaint before that paints nothing);
//   (2) one type-ahead keystroke, the edit's repaint included: prefixes of the last row's name
//       (found only at the end of the list: the worst case) and of random rows' names.
// Prints medians and 95th percentiles and the ratios ours / Qt, the drop-down's and the first
// key's thread CPU time beside their wall time (a loaded machine disturbs it less).
// Run: QT_QPA_PLATFORM=offscreen bench/LookupComboBench (a Release build, -DVORENTA_BENCH=ON)
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStandardItemModel>

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "bench/BenchPercentiles.h"
#include "gridlib/grid/DBGridZkModule.h"
#include "gridlib/grid/DBLookupZk.h"
#include "platform/controls/Forms.h"
#include "platform/db/Fields.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sqlite/ADODB.h"

namespace {

constexpr int Rows = 10000, Opens = 200, Words = 300;

std::string Name(int I) {
  if (I == Rows) return "Ярь-медянка последняя";
  static const char* const Stems[] = {"Белила", "Охра", "Умбра", "Сиена", "Кобальт", "Сурик"};
  return std::string(Stems[I % 6]) + " " + std::to_string(I * 7919 % 100003);
}

void Fill(const std::string& File) {
  sqlite3* Db = nullptr;
  sqlite3_open(File.c_str(), &Db);
  sqlite3_exec(Db, "CREATE TABLE L (ID INTEGER PRIMARY KEY, NM VARCHAR(40), A VARCHAR(20), "
                   "B INTEGER); BEGIN", nullptr, nullptr, nullptr);
  sqlite3_stmt* Insert = nullptr;
  sqlite3_prepare_v2(Db, "INSERT INTO L VALUES (?, ?, 'база', ?)", -1, &Insert, nullptr);
  for (int I = 1; I <= Rows; ++I) {
    const std::string N = Name(I);
    sqlite3_bind_int(Insert, 1, I);
    sqlite3_bind_text(Insert, 2, N.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(Insert, 3, I % 50);
    sqlite3_step(Insert);
    sqlite3_reset(Insert);
  }
  sqlite3_finalize(Insert);
  sqlite3_exec(Db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(Db);
}

// Counts the paint events a widget receives.
struct TPaintCounter : QObject {
  int Paints = 0;
  bool eventFilter(QObject*, QEvent* Event) override {
    if (Event->type() == QEvent::Paint) ++Paints;
    return false;
  }
};

// Handles events until the counted widget has painted since Before; false when it has not within
// a second.
bool WaitForPaint(const TPaintCounter& Counter, int Before) {
  const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  while (Counter.Paints == Before) {
    if (std::chrono::steady_clock::now() > Deadline) return false;
    QApplication::processEvents();
  }
  return true;
}

double Us(const std::function<void()>& Fn) {
  const auto T0 = std::chrono::steady_clock::now();
  Fn();
  return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - T0).count();
}

// The thread's CPU time in microseconds: a loaded machine disturbs it less than the wall time.
double ThreadCpuUs() {
  timespec T{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
  return T.tv_sec * 1e6 + T.tv_nsec / 1e3;
}

using TStats = TMedianP95;

TStats Stats(const std::vector<double>& V) { return MedianAndP95(V); }

void Report(const char* Case, TStats Ours, TStats Qt) {
  std::printf("%-28s ours median %8.1f us p95 %8.1f us | Qt median %8.1f us p95 %8.1f us | "
              "ratio median %.2f p95 %.2f\n",
              Case, Ours.Median, Ours.P95, Qt.Median, Qt.P95, Ours.Median / Qt.Median,
              Ours.P95 / Qt.P95);
}

// The prefixes typed: the last row's name, then random rows' names, 1 to 6 characters each.
std::vector<QString> Prefixes() {
  std::vector<QString> Result;
  std::mt19937 Random(7);
  std::uniform_int_distribution<int> Row(1, Rows);
  Result.push_back(QString::fromStdString(Name(Rows)).left(8));
  while (static_cast<int>(Result.size()) < Words)
    Result.push_back(QString::fromStdString(Name(Row(Random))).left(6));
  return Result;
}

// The very first key: the part spent before its repaint (the repaint draws new glyphs), and
// the thread's CPU time for all of it.
struct TFirstKey {
  double Handling = 0;
  double Cpu = 0;
};

// Every character of every word is one key event sent to Target and a repaint of Target;
// Reset runs (untimed) before each word. Worst holds the first word's keys.
void TypeWords(QWidget* Target, const std::vector<QString>& Words, const std::function<void()>& Reset,
               std::vector<double>& Worst, std::vector<double>& Random, TFirstKey& First) {
  for (std::size_t W = 0; W < Words.size(); ++W) {
    Reset();
    for (QChar C : Words[W]) {
      QKeyEvent Event(QEvent::KeyPress, 0, Qt::NoModifier, QString(C));
      double Handling = 0;
      const double Cpu0 = ThreadCpuUs();
      const double T = Us([&] {
        Handling = Us([&] { QApplication::sendEvent(Target, &Event); });
        Target->repaint();
      });
      if (W == 0 && Worst.empty()) First = {Handling, ThreadCpuUs() - Cpu0};
      (W == 0 ? Worst : Random).push_back(T);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  const std::filesystem::path Dir = std::filesystem::temp_directory_path() / "lookup-combo-bench";
  std::filesystem::remove_all(Dir);
  std::filesystem::create_directories(Dir);
  const std::string File = (Dir / "list.db").string();
  Fill(File);
  QApplication App(argc, argv);
  InitControls();
  Application->Initialize();
  DBGridZkModuleInitialize();
  const std::vector<QString> Words = Prefixes();

  // --- ours
  auto* Form = new TForm(Application);
  Form->SetBounds(0, 0, 500, 400);
  auto* Conn = new TADOConnection(Form);
  Conn->SetConnectionString(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + Utf8ToString(File));
  auto* Q = new TADOQuery(Form);
  Q->SetConnection(Conn);
  Q->SQL()->SetText(u"SELECT * FROM L ORDER BY ID");
  Conn->Open();
  Q->Open();
  auto* Source = new TDataSource(Form);
  Source->SetDataSet(Q);
  auto* Combo = new TDBLookupComboboxZk(Form);
  Combo->SetParent(Form);
  Combo->SetBounds(10, 10, 200, 21);
  Form->Show();
  Combo->SetListSource(Source);
  Combo->SetKeyField(u"ID");
  Combo->SetListField(u"NM");
  Combo->SetFocus();
  Application->ProcessMessages();
  std::vector<double> OurOpen, OurOpenCpu;
  TPaintCounter OurPaints, QtPaints;
  int Unpainted = 0;
  for (int I = 0; I < Opens; ++I) {
    const double Cpu0 = ThreadCpuUs();
    const int Before = OurPaints.Paints;
    OurOpen.push_back(Us([&] {
      Combo->DropDown();
      // The grid's window is made at the first drop-down and kept.
      if (I == 0) static_cast<QWidget*>(Combo->DataList()->Surface())->installEventFilter(&OurPaints);
      Unpainted += !WaitForPaint(OurPaints, Before);
    }));
    OurOpenCpu.push_back(ThreadCpuUs() - Cpu0);
    Combo->CloseUp(false);
    App.processEvents();
  }
  std::vector<double> OurWorst, OurRandom;
  TFirstKey OurFirst, QtFirst;
  Cardinal Clock = 1000000;
  SetTickCountForTests([&Clock] { return Clock; });
  TypeWords(static_cast<QWidget*>(Combo->Surface()), Words,
            [&] {
              Clock += 5000;   // a new prefix each word
              Combo->SetKeyValue(Null());
            },
            OurWorst, OurRandom, OurFirst);
  SetTickCountForTests(nullptr);
  const String OurText = Combo->Text();

  // --- Qt
  QStandardItemModel Model(Rows, 1);
  for (int I = 1; I <= Rows; ++I)
    Model.setItem(I - 1, 0, new QStandardItem(QString::fromStdString(Name(I))));
  QComboBox Box;
  Box.setEditable(true);
  Box.setModel(&Model);
  Box.resize(200, 21);
  Box.setMaxVisibleItems(7);
  auto* Completer = new QCompleter(&Model, &Box);
  Completer->setCaseSensitivity(Qt::CaseInsensitive);
  Completer->setCompletionMode(QCompleter::InlineCompletion);
  Box.setCompleter(Completer);
  Box.show();
  App.processEvents();
  std::vector<double> QtOpen, QtOpenCpu;
  Box.view()->viewport()->installEventFilter(&QtPaints);
  for (int I = 0; I < Opens; ++I) {
    const double Cpu0 = ThreadCpuUs();
    const int Before = QtPaints.Paints;
    QtOpen.push_back(Us([&] {
      Box.showPopup();
      Unpainted += !WaitForPaint(QtPaints, Before);
    }));
    QtOpenCpu.push_back(ThreadCpuUs() - Cpu0);
    Box.hidePopup();
    App.processEvents();
  }
  std::vector<double> QtWorst, QtRandom;
  Box.setFocus();
  TypeWords(Box.lineEdit(), Words, [&] { Box.lineEdit()->clear(); }, QtWorst, QtRandom, QtFirst);

  std::printf("%d rows, %d drop-downs, %d typed prefixes, offscreen\n", Rows, Opens, static_cast<int>(Words.size()));
  if (Unpainted) std::printf("warning: %d drop-downs did not paint within a second\n", Unpainted);
  Report("drop-down to first paint", Stats(OurOpen), Stats(QtOpen));
  Report("drop-down, CPU time", Stats(OurOpenCpu), Stats(QtOpenCpu));
  Report("keystroke, last row", Stats(OurWorst), Stats(QtWorst));
  Report("keystroke, random rows", Stats(OurRandom), Stats(QtRandom));
  // The last row's keys one by one: the first pays for reading the list's texts.
  std::printf("last row's keys, ours:");
  for (double T : OurWorst) std::printf(" %.0f", T);
  std::printf(" us\nlast row's keys, Qt:  ");
  for (double T : QtWorst) std::printf(" %.0f", T);
  std::printf(" us\n");
  std::printf("first key before its repaint: ours %.0f us, Qt %.0f us\n", OurFirst.Handling,
              QtFirst.Handling);
  std::printf("first key's CPU time: ours %.0f us, Qt %.0f us\n", OurFirst.Cpu, QtFirst.Cpu);
  std::printf("check: ours \"%s\" | Qt \"%s\"\n", ToUtf8(OurText).c_str(),
              Box.lineEdit()->text().toStdString().c_str());
  delete Form;
  DBGridZkModuleFinalize();
  std::filesystem::remove_all(Dir);
  return 0;
}
