// DBGridBench.cpp - the data grid over a 100,000-row query of a temporary SQLite file (ID, a
// Cyrillic name of 8-40 characters, PRICE, QTY, DT and three texts) beside Qt's QTableView over
// QSqlQueryModel, both 1200 x 800 offscreen, Liberation Sans 10 pt, rows of 24 pixels, each
// step followed by a synchronous repaint through the widget's backing store:
//   (1) open the query and the first complete paint; Qt fetches every row (fetchMore) as our
//       static cursor reads them all, its lazy figure (first 256 rows) beside
//   (2) page down through all rows (SB_PAGEDOWN against the bar's page step)
//   (3) 1,000 edits of PRICE posted to the file, a sum footer repainted after each, against
//       QSqlTableModel::setData with submit and SELECT SUM(PRICE) into a footer label
//   (4) RecalcAll of our footer sums over all rows
//   (5) four sorts by clicking a title (NM and PRICE, both ways): our OnSortMarkingChanged
//       reopens the query with ORDER BY on the column and the grid repaints, against
//       QTableView::sortByColumn on QSqlTableModel (its sort selects again), every row fetched
//   (6) the PageDown key from the first to the last row, each step repainted
//   (7) one character typed into a cell editor to its repaint, median and p95 of 2,000 keys,
//       against QTableView's line-edit delegate
// Each side runs in a child process of its own, so the peak resident size after step (1)
// (VmHWM) is that side's alone.
// Run: QT_QPA_PLATFORM=offscreen bench/DBGridBench [ours] [keys]  (a Release build with
// -DVORENTA_BENCH=ON; "ours" runs our side alone, in this process, for a profiler; "keys" runs
// only the open and step (7))
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QTableView>
#include <QVBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWindow>

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "bench/BenchPercentiles.h"
#include "bench/DBGridBenchTable.h"
#include "gridlib/grid/DBGridZk.h"
#include "gridlib/grid/DBGridZkModule.h"
#include "platform/classes/Strings.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Messages.h"
#include "platform/controls/WinApi.h"
#include "platform/db/Fields.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sqlite/ADODB.h"

namespace {

constexpr int Rows = 100000, RowHeight = 24, Edits = 1000, Keys = 2000;
constexpr int ViewWidth = 1200, ViewHeight = 800;
const char* const FontName = "Liberation Sans";
// "keys": only the open and the typed keys (7) run, for a quick figure or a profile of them.
bool KeysOnly = false;
constexpr int FontPoints = 10;

// The figures one side reports to the parent through a pipe.
struct TFigures {
  double Open = 0, Paging = 0, Edits = 0, Recalc = 0, LazyOpen = 0;
  double Sort = 0, PageKeys = 0, KeyMedian = 0, KeyP95 = 0;
  int Pages = 0, PageKeyCount = 0;
  long PeakKb = 0, LazyPeakKb = 0;
};

double Ms(const std::function<void()>& Fn) {
  const auto T0 = std::chrono::steady_clock::now();
  Fn();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - T0).count();
}

// The process's peak resident size so far, in kB.
long PeakRssKb() {
  std::ifstream Status("/proc/self/status");
  std::string Line;
  while (std::getline(Status, Line))
    if (Line.rfind("VmHWM:", 0) == 0) return std::stol(Line.substr(6));
  return 0;
}

void Fill(const std::string& File) { FillGridBenchTable(File, Rows); }

// Median and 95th percentile of per-key times.
void KeyFigures(const std::vector<double>& Times, TFigures& F) {
  if (Times.empty()) return;
  const TMedianP95 K = MedianAndP95(Times);
  F.KeyMedian = K.Median;
  F.KeyP95 = K.P95;
}

// A window paints only once the window system has exposed it.
void WaitExposed(QWidget* W) {
  for (int I = 0; I < 200 && !(W->window()->windowHandle() && W->window()->windowHandle()->isExposed()); ++I)
    QApplication::processEvents();
}

// --- ours -----------------------------------------------------------------------------------------

TFigures RunOurs(const std::string& File) {
  TFigures F;
  InitControls();
  Application->Initialize();
  DBGridZkModuleInitialize();
  {
    auto* Form = new TForm(Application);
    Form->SetBounds(0, 0, ViewWidth + 20, ViewHeight + 20);
    auto* Conn = new TADOConnection(Form);
    Conn->SetConnectionString(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" +
                              Utf8ToString(File));
    auto* Q = new TADOQuery(Form);
    Q->SetConnection(Conn);
    Q->SQL()->SetText(u"SELECT * FROM T ORDER BY ID");
    auto* Source = new TDataSource(Form);
    Source->SetDataSet(Q);
    auto* Grid = new TDBGridZk(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(0, 0, ViewWidth, ViewHeight);
    Grid->Font()->SetName(Utf8ToString(FontName));
    Grid->Font()->SetSize(FontPoints);
    Grid->TitleFont()->SetName(Utf8ToString(FontName));
    Grid->TitleFont()->SetSize(FontPoints);
    Grid->SetRowHeight(RowHeight - 1);
    Form->Show();
    Grid->SetDataSource(Source);
    Grid->HandleNeeded();
    auto* Widget = static_cast<QWidget*>(Grid->Surface());
    WaitExposed(Widget);
    F.Open = Ms([&] {
      Conn->Open();
      Q->Open();
      Widget->repaint();
    });
    F.PeakKb = PeakRssKb();
    if (!KeysOnly) F.Paging = Ms([&] {
      while (Q->RecNo() < Rows) {
        Grid->Perform(WM_VSCROLL, SB_PAGEDOWN, 0);
        Widget->repaint();
        ++F.Pages;
      }
    });
    Grid->SetFooterRowCount(1);
    Grid->SumList()->SetActive(true);
    Grid->FindColumnByName(u"PRICE")->Footer()->SetValueType(fvtSum);
    Q->First();
    Widget->repaint();
    if (!KeysOnly) F.Edits = Ms([&] {
      for (int I = 0; I < Edits; ++I) {
        Q->Edit();
        Q->FieldByName(u"PRICE")->SetAsFloat(I * 0.5);
        Q->Post();
        Q->Next();
        Widget->repaint();
      }
    });
    if (!KeysOnly) F.Recalc = Ms([&] { Grid->SumList()->RecalcAll(); });
    Grid->SetFooterRowCount(0);
    // (5) title clicks: the marked column and direction reopen the query.
    Grid->SetOptionsZk(Grid->OptionsZk() + TDBGridZkOptions{dghAutoSortMarking});
    // The columns are the grid's own from now on, so reopening the query keeps their buttons.
    for (int I = 0; I < Grid->Columns()->Count(); ++I) {
      Grid->Columns()->Items(I)->SetStored(true);
      Grid->Columns()->Items(I)->Title()->SetTitleButton(true);
    }
    int Sorts = 0;
    Grid->SetOnSortMarkingChanged([&](TObject*) {
      TColumnZk* C = Grid->SortMarkedColumns().empty() ? nullptr : Grid->SortMarkedColumns()[0];
      if (!C) return;
      const String Dir = C->Title()->SortMarker() == smDownZk ? u" DESC" : u"";
      Q->Close();
      Q->SQL()->SetText(u"SELECT * FROM T ORDER BY " + C->FieldName() + Dir);
      Q->Open();
      ++Sorts;
    });
    auto TitlePoint = [&](const String& Field) {
      const auto& V = Grid->VisibleColumns();
      const auto It = std::find(V.begin(), V.end(), Grid->FindColumnByName(Field));
      const TRect R = Grid->CellScreenRect(Grid->IndicatorOffset() + int(It - V.begin()), 0);
      return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    };
    SetDoubleClickTime(1);   // four clicks in a row, none of them a double click
    if (!KeysOnly) F.Sort = Ms([&] {
      for (const char16_t* Field : {u"NM", u"NM", u"PRICE", u"PRICE"}) {
        SimulateClick(Grid, TitlePoint(Field));
        Widget->repaint();
      }
    });
    if (!KeysOnly && Sorts != 4)
      std::fprintf(stderr, "ours: %d of 4 sorts reopened the query\n", Sorts);
    // (6) PageDown from the first row to the last.
    Q->First();
    Grid->SetFocus();
    Widget->repaint();
    if (!KeysOnly) F.PageKeys = Ms([&] {
      while (Q->RecNo() < Rows) {
        SimulateKeyPress(VK_NEXT);
        Widget->repaint();
        ++F.PageKeyCount;
      }
    });
    // (7) keys typed into the cell editor, each to its repaint.
    Q->First();
    Grid->SetOptions(Grid->Options() + TDBGridOptions{dgEditing});
    Grid->MoveCol(Grid->FindColumnByName(u"NM")->Index(), 0, false);
    Grid->ShowCellEditor();
    if (Grid->InplaceEditor()) {
      std::vector<double> Times;
      for (int I = 0; I < Keys; ++I)
        Times.push_back(Ms([&] {
          SimulateKeyPress(u'A', {}, u'a');
          const TRect R = Grid->InplaceEditor()->BoundsRect();
          Widget->repaint(R.Left, R.Top, R.Width(), R.Height());
        }));
      KeyFigures(Times, F);
      if (static_cast<int>(Grid->InplaceEditor()->Text().size()) < Keys)
        std::fprintf(stderr, "ours: the editor holds %d of %d keys\n",
                     static_cast<int>(Grid->InplaceEditor()->Text().size()), Keys);
      Q->Cancel();
    }
    delete Form;
  }
  DBGridZkModuleFinalize();
  return F;
}

// --- Qt -------------------------------------------------------------------------------------------

QTableView* NewView(QWidget* Parent) {
  auto* View = new QTableView(Parent);
  View->setFont(QFont(FontName, FontPoints));
  View->setWordWrap(false);
  View->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  View->verticalHeader()->setDefaultSectionSize(RowHeight);
  return View;
}

TFigures RunQt(const std::string& File, bool Lazy, int Argc, char** Argv) {
  TFigures F;
  QApplication App(Argc, Argv);
  QSqlDatabase Db = QSqlDatabase::addDatabase("QSQLITE");
  Db.setDatabaseName(QString::fromStdString(File));
  QWidget Window;
  Window.resize(ViewWidth + 20, ViewHeight + 40);
  auto* Layout = new QVBoxLayout(&Window);
  Layout->setContentsMargins(0, 0, 0, 0);
  Layout->setSpacing(0);
  QTableView* View = NewView(&Window);
  View->setFixedSize(ViewWidth, ViewHeight);
  auto* Footer = new QLabel(&Window);
  Footer->setFont(QFont(FontName, FontPoints));
  Layout->addWidget(View);
  Layout->addWidget(Footer);
  Window.show();
  WaitExposed(View);
  auto* Model = new QSqlQueryModel(&Window);
  const double Open = Ms([&] {
    Db.open();
    Model->setQuery("SELECT * FROM T ORDER BY ID", Db);
    if (!Lazy)
      while (Model->canFetchMore()) Model->fetchMore();
    View->setModel(Model);
    View->viewport()->repaint();
  });
  if (Lazy) {
    F.LazyOpen = Open;
    F.LazyPeakKb = PeakRssKb();
    return F;
  }
  F.Open = Open;
  F.PeakKb = PeakRssKb();
  QScrollBar* Bar = View->verticalScrollBar();
  if (!KeysOnly) F.Paging = Ms([&] {
    for (int Before = -1; Bar->value() != Before; ++F.Pages) {
      Before = Bar->value();
      Bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
      View->viewport()->repaint();
    }
  });
  auto* Table = new QSqlTableModel(&Window, Db);
  Table->setTable("T");
  Table->setSort(0, Qt::AscendingOrder);
  Table->select();
  while (Table->canFetchMore()) Table->fetchMore();  // every edited row in the model, as ours
  View->setModel(Table);
  delete Model;
  View->viewport()->repaint();
  const int Price = Table->record().indexOf("PRICE");
  QSqlQuery Sum(Db);
  Sum.prepare("SELECT SUM(PRICE) FROM T");
  if (!KeysOnly) F.Edits = Ms([&] {
    for (int I = 0; I < Edits; ++I) {
      if (!Table->setData(Table->index(I, Price), I * 0.5) || !Table->submit())
        std::fprintf(stderr, "Qt edit %d: %s\n", I, Table->lastError().text().toUtf8().constData());
      Sum.exec();
      Sum.next();
      Footer->setText(QLocale().toString(Sum.value(0).toDouble(), 'f', 2));
      View->viewport()->repaint();
      Footer->repaint();
    }
  });
  // (5) header sorts, every row fetched.
  const int Nm = Table->record().indexOf("NM");
  if (!KeysOnly) F.Sort = Ms([&] {
    const std::pair<int, Qt::SortOrder> Sorts[] = {{Nm, Qt::AscendingOrder},
                                                   {Nm, Qt::DescendingOrder},
                                                   {Price, Qt::AscendingOrder},
                                                   {Price, Qt::DescendingOrder}};
    for (const auto& [Column, Order] : Sorts) {
      View->sortByColumn(Column, Order);
      while (Table->canFetchMore()) Table->fetchMore();
      View->viewport()->repaint();
    }
  });
  // (6) PageDown from the first row to the last.
  View->setFocus();
  View->setCurrentIndex(Table->index(0, 0));
  View->viewport()->repaint();
  if (!KeysOnly) F.PageKeys = Ms([&] {
    while (View->currentIndex().row() < Table->rowCount() - 1) {
      QKeyEvent Key(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
      QApplication::sendEvent(View, &Key);
      View->viewport()->repaint();
      ++F.PageKeyCount;
    }
  });
  // (7) keys typed into the line-edit delegate.
  View->setCurrentIndex(Table->index(0, Nm));
  View->edit(Table->index(0, Nm));
  if (auto* Editor = View->findChild<QLineEdit*>()) {
    std::vector<double> Times;
    for (int I = 0; I < Keys; ++I)
      Times.push_back(Ms([&] {
        QKeyEvent Key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
        QApplication::sendEvent(Editor, &Key);
        Editor->repaint();
      }));
    KeyFigures(Times, F);
  }
  return F;
}

// Runs one side in a child process and reads its figures back.
TFigures InChild(const std::function<TFigures()>& Side) {
  int Pipe[2];
  if (pipe(Pipe) != 0) return {};
  const pid_t Pid = fork();
  if (Pid == 0) {
    close(Pipe[0]);
    TFigures F;
    try {
      F = Side();
    } catch (const Exception& E) {
      std::fprintf(stderr, "%s\n", StringToUtf8(E.Message()).c_str());
      _exit(1);
    }
    (void)!write(Pipe[1], &F, sizeof F);
    close(Pipe[1]);
    _exit(0);
  }
  close(Pipe[1]);
  TFigures F;
  if (read(Pipe[0], &F, sizeof F) != static_cast<ssize_t>(sizeof F)) std::fprintf(stderr, "a side failed\n");
  close(Pipe[0]);
  waitpid(Pid, nullptr, 0);
  return F;
}

void Line(const char* Step, double Ours, double Qt) {
  std::printf("%-36s %10.1f %10.1f %7.2f\n", Step, Ours, Qt, Qt > 0 ? Ours / Qt : 0.0);
}

}  // namespace

int main(int Argc, char** Argv) {
  const std::filesystem::path Dir =
      std::filesystem::temp_directory_path() / ("vorenta-dbgridbench-" + std::to_string(getpid()));
  std::filesystem::create_directories(Dir);
  const std::string File = (Dir / "t.data").string();
  Fill(File);
  KeysOnly = (Argc > 1 && std::strcmp(Argv[Argc - 1], "keys") == 0);
  if (Argc > 1 && std::strcmp(Argv[1], "ours") == 0) {  // our side alone, for a profiler
    const TFigures F = RunOurs(File);
    std::printf("open %.1f, paging %.1f, edits %.1f, sorts %.1f, PageDown keys %.1f ms, "
                "typed key median %.3f p95 %.3f ms\n",
                F.Open, F.Paging, F.Edits, F.Sort, F.PageKeys, F.KeyMedian, F.KeyP95);
    std::filesystem::remove_all(Dir);
    return 0;
  }
  const TFigures Ours = InChild([&] { return RunOurs(File); });
  const TFigures Qt = InChild([&] { return RunQt(File, false, Argc, Argv); });
  if (KeysOnly) {
    std::printf("%-36s %10s %10s %7s\n", "step", "ours ms", "Qt ms", "ratio");
    Line("(7) typed key to repaint, median", Ours.KeyMedian, Qt.KeyMedian);
    Line("(7) typed key to repaint, p95", Ours.KeyP95, Qt.KeyP95);
    std::filesystem::remove_all(Dir);
    return 0;
  }
  const TFigures Lazy = InChild([&] { return RunQt(File, true, Argc, Argv); });
  std::printf("DBGridBench, %d rows x 8 fields, one run\n", Rows);
  std::printf("%-36s %10s %10s %7s\n", "step", "ours ms", "Qt ms", "ratio");
  Line("(1) open + first paint (Qt fetches all)", Ours.Open, Qt.Open);
  std::printf("    Qt lazy open (first rows only)       %10.1f\n", Lazy.LazyOpen);
  Line("(2) page down through all rows", Ours.Paging, Qt.Paging);
  std::printf("    pages: ours %d, Qt %d\n", Ours.Pages, Qt.Pages);
  Line("(3) 1,000 posted edits + sum footer", Ours.Edits, Qt.Edits);
  std::printf("(4) RecalcAll over all rows            %10.1f\n", Ours.Recalc);
  Line("(5) four title-click sorts, all rows", Ours.Sort, Qt.Sort);
  Line("(6) PageDown key, first to last row", Ours.PageKeys, Qt.PageKeys);
  std::printf("    keys: ours %d, Qt %d\n", Ours.PageKeyCount, Qt.PageKeyCount);
  Line("(7) typed key to repaint, median", Ours.KeyMedian, Qt.KeyMedian);
  Line("(7) typed key to repaint, p95", Ours.KeyP95, Qt.KeyP95);
  std::printf("peak RSS after (1): ours %ld kB, Qt %ld kB (ratio %.2f), Qt lazy %ld kB\n",
              Ours.PeakKb, Qt.PeakKb, Qt.PeakKb ? double(Ours.PeakKb) / Qt.PeakKb : 0.0,
              Lazy.LazyPeakKb);
  std::filesystem::remove_all(Dir);
  return 0;
}
