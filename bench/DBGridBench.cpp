// DBGridBench.cpp - the data grid over a 100,000-row query of a temporary SQLite file
// (ID, a Cyrillic name of 8-40 characters, PRICE, QTY, DT and three texts), 1200 x 800
// offscreen, each step followed by a synchronous repaint:
//   (1) open the query and the first complete paint
//   (2) page down through all rows (SB_PAGEDOWN)
//   (3) 1,000 edits of PRICE posted to the file, a sum footer repainted after each
//   (4) RecalcAll of the footer sums over all rows
// Run: QT_QPA_PLATFORM=offscreen bench/DBGridBench  (a Release build with -DVORENTA_BENCH=ON)
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include <unistd.h>

#include "gridlib/grid/DBGridZk.h"
#include "gridlib/grid/DBGridZkModule.h"
#include "platform/classes/Strings.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Messages.h"
#include "platform/db/Fields.h"
#include "platform/graphics/Bitmap.h"
#include "platform/controls/Snapshot.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sqlite/ADODB.h"

namespace {

constexpr int Rows = 100000;

double Ms(const std::function<void()>& Fn) {
  const auto T0 = std::chrono::steady_clock::now();
  Fn();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - T0).count();
}

String Name(int I) {
  static const char16_t* const Words[] = {u"Белила", u"Охра", u"Умбра", u"Сиена", u"Кобальт"};
  String S;
  while (static_cast<int>(S.size()) < 8 + I % 33) S += String(Words[(I + S.size()) % 5]) + u" ";
  return S.substr(0, 8 + I % 33);
}

void Fill(TADOConnection* Conn) {
  Conn->Execute(u"CREATE TABLE T (ID INTEGER PRIMARY KEY, NM VARCHAR(40), PRICE CURRENCY, "
                u"QTY INTEGER, DT DATETIME, A VARCHAR(20), B VARCHAR(20), C VARCHAR(20))");
  Conn->BeginTrans();
  for (int I = 1; I <= Rows; ++I)
    Conn->Execute(u"INSERT INTO T VALUES (" + IntToStr(I) + u", '" + Name(I) + u"', " +
                  IntToStr(I % 1000) + u".25, " + IntToStr(I % 50) +
                  u", '2024-03-01', 'колер', 'база', 'тон')");
  Conn->CommitTrans();
}

}  // namespace

int main() {
  const std::filesystem::path Dir =
      std::filesystem::temp_directory_path() / ("vorenta-dbgridbench-" + std::to_string(getpid()));
  std::filesystem::create_directories(Dir);
  std::ofstream(Dir / "t.data").close();
  InitControls();
  DBGridZkModuleInitialize();
  {
    auto* Form = new TForm(Application);
    Form->SetBounds(0, 0, 1220, 820);
    auto* Conn = new TADOConnection(Form);
    Conn->SetConnectionString(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" +
                              Utf8ToString((Dir / "t.data").string()));
    Conn->Open();
    Fill(Conn);
    auto* Q = new TADOQuery(Form);
    Q->SetConnection(Conn);
    Q->SQL()->SetText(u"SELECT * FROM T ORDER BY ID");
    auto* Source = new TDataSource(Form);
    Source->SetDataSet(Q);
    auto* Grid = new TDBGridZk(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(0, 0, 1200, 800);
    Form->Show();
    Grid->SetDataSource(Source);
    TBitmap Shot;
    const double Open = Ms([&] {
      Q->Open();
      RenderControl(Grid, Shot);
    });
    int Pages = 0;
    const double Paging = Ms([&] {
      while (!Q->Eof()) {
        Grid->Perform(WM_VSCROLL, SB_PAGEDOWN, 0);
        RenderControl(Grid, Shot);
        ++Pages;
        if (Q->RecNo() >= Rows) break;
      }
    });
    Grid->SetFooterRowCount(1);
    Grid->SumList()->SetActive(true);
    Grid->FindColumnByName(u"PRICE")->Footer()->SetValueType(fvtSum);
    Q->First();
    const double Edits = Ms([&] {
      for (int I = 0; I < 1000; ++I) {
        Q->Edit();
        Q->FieldByName(u"PRICE")->SetAsFloat(I * 0.5);
        Q->Post();
        Q->Next();
        RenderControl(Grid, Shot);
      }
    });
    const double Recalc = Ms([&] { Grid->SumList()->RecalcAll(); });
    std::printf("DBGridBench, %d rows\n", Rows);
    std::printf("(1) open + first paint   %9.1f ms\n", Open);
    std::printf("(2) page down, %5d pages %9.1f ms\n", Pages, Paging);
    std::printf("(3) 1,000 posted edits    %9.1f ms\n", Edits);
    std::printf("(4) RecalcAll             %9.1f ms\n", Recalc);
    delete Form;
  }
  DBGridZkModuleFinalize();
  std::filesystem::remove_all(Dir);
  return 0;
}
