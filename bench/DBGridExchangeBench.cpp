// DBGridExchangeBench.cpp - the data grid's exchange formats over a 100,000-row query of a
// temporary SQLite file (ID, a Cyrillic name of 8-40 characters, PRICE, QTY, DT and three texts)
// against Qt's SQL models on the same file, offscreen:
//   (1) every row exported as UTF-16 tab-separated text into memory, against a loop over a
//       QSqlQueryModel (every row fetched first, as our static cursor has them) building the
//       same text in a QString
//   (2) 10,000 UTF-16 lines pasted in append mode into an empty table of the file inside one
//       transaction, against a QSqlTableModel insert loop with submitAll in one transaction
//   (3) no anchor: select all and Copy of 10,000 rows in all five formats (goal under 1 s)
// Each figure is the best of three runs.
// Run: QT_QPA_PLATFORM=offscreen bench/DBGridExchangeBench [export|paste|copy]  (a Release
// build with -DVORENTA_BENCH=ON; naming a step runs that step alone, for a profiler)
#include <QApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QSqlTableModel>

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include <unistd.h>

#include "bench/DBGridBenchTable.h"
#include "gridlib/grid/DBGridZk.h"
#include "gridlib/grid/DBGridZkImpExp.h"
#include "gridlib/grid/DBGridZkModule.h"
#include "gridlib/toolkit/QuobeVCL.h"
#include "platform/classes/Strings.h"
#include "platform/controls/Clipboard.h"
#include "platform/controls/Forms.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sqlite/ADODB.h"

namespace {

constexpr int Rows = 100000, PasteLines = 10000, CopyRows = 10000, Repeats = 3;

double Ms(const std::function<void()>& Fn) {
  const auto T0 = std::chrono::steady_clock::now();
  Fn();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - T0).count();
}

double Best(const std::function<void()>& Fn) {
  double B = 1e300;
  for (int I = 0; I < Repeats; ++I) B = std::min(B, Ms(Fn));
  return B;
}

std::string Name(int I) { return GridBenchName(I); }

void Fill(const std::string& File) {
  FillGridBenchTable(File, Rows,
                     "CREATE TABLE P1 (ID INTEGER PRIMARY KEY, NM VARCHAR(40), QTY INTEGER);"
                     "CREATE TABLE P2 (ID INTEGER PRIMARY KEY, NM VARCHAR(40), QTY INTEGER);");
}

void EmptyPasteTables(const std::string& File) {
  sqlite3* Db = nullptr;
  sqlite3_open(File.c_str(), &Db);
  sqlite3_exec(Db, "DELETE FROM P1; DELETE FROM P2;", nullptr, nullptr, nullptr);
  sqlite3_close(Db);
}

// The lines pasted: ID, name, quantity.
String PasteText() {
  String Text;
  for (int I = 1; I <= PasteLines; ++I)
    Text += IntToStr(I) + u"\t" + Utf8ToString(Name(I)) + u"\t" + IntToStr(I % 50) + u"\r\n";
  return Text;
}

struct TOurs {
  TForm* Form;
  TADOConnection* Conn;
  TADOQuery* Query;
  TDBGridZk* Grid;
  explicit TOurs(const std::string& File, const String& Sql) {
    Form = new TForm(Application);
    Conn = new TADOConnection(Form);
    Conn->SetConnectionString(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + Utf8ToString(File));
    Query = new TADOQuery(Form);
    Query->SetConnection(Conn);
    Query->SQL()->SetText(Sql);
    auto* Source = new TDataSource(Form);
    Source->SetDataSet(Query);
    Grid = new TDBGridZk(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(0, 0, 1200, 800);
    Form->Show();
    Grid->SetDataSource(Source);
    Conn->Open();
    Query->Open();
  }
  ~TOurs() { delete Form; }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication App(argc, argv);
  const std::string Only = argc > 1 ? argv[1] : "";
  auto Runs = [&](const char* Step) { return Only.empty() || Only == Step; };
  InitControls();
  DBGridZkModuleInitialize();
  SetClipboardForTests(true);
  const std::string File =
      (std::filesystem::temp_directory_path() / ("exchange-bench-" + std::to_string(getpid()) + ".db")).string();
  Fill(File);
  QSqlDatabase Db = QSqlDatabase::addDatabase("QSQLITE");
  Db.setDatabaseName(QString::fromStdString(File));
  Db.open();

  // (1) export every row as UTF-16 text.
  double OursExport = 0, QtExport = 0;
  std::size_t OurBytes = 0, QtBytes = 0;
  if (Runs("export")) {
    TOurs O(File, u"SELECT * FROM T ORDER BY ID");
    OursExport = Best([&] {
      TMemoryStreamZk S;
      S.SetHalfMemoryDelta(65536);
      RunGridExporter(NewGridExporter<TDBGridZkExportAsUnicodeText>, O.Grid, &S, true);
      OurBytes = static_cast<std::size_t>(S.Size());
    });
    QSqlQueryModel Model;
    Model.setQuery(QSqlQuery("SELECT * FROM T ORDER BY ID", Db));
    while (Model.canFetchMore()) Model.fetchMore();
    QtExport = Best([&] {
      QString Text;
      const int Cols = Model.columnCount();
      for (int C = 0; C < Cols; ++C) {
        if (C) Text += u'\t';
        Text += Model.headerData(C, Qt::Horizontal).toString();
      }
      for (int R = 0; R < Model.rowCount(); ++R) {
        Text += u"\r\n";
        for (int C = 0; C < Cols; ++C) {
          if (C) Text += u'\t';
          Text += Model.data(Model.index(R, C)).toString();
        }
      }
      QtBytes = static_cast<std::size_t>(Text.size()) * 2;
    });
  }

  // (2) 10,000 lines pasted in append mode in one transaction.
  const String Lines = PasteText();
  double OursPaste = 1e300, QtPaste = 1e300;
  for (int Run = 0; Run < Repeats && Runs("paste"); ++Run) {
    EmptyPasteTables(File);
    TOurs O(File, u"SELECT * FROM P1");
    O.Grid->SetAllowedOperations(O.Grid->AllowedOperations() + TDBGridZkAllowedOperations{alopAppendZk});
    OursPaste = std::min(OursPaste, Ms([&] {
      TMemoryStream S;
      S.WriteBuffer(Lines.data(), static_cast<Int64>(Lines.size() * 2));
      S.SetPosition(0);
      O.Conn->BeginTrans();
      RunGridImporter(NewGridImporter<TDBGridZkImportAsUnicodeText>, O.Grid, &S, false);
      O.Conn->CommitTrans();
    }));
    if (O.Query->RecordCount() != PasteLines) std::fprintf(stderr, "pasted %d rows\n", O.Query->RecordCount());
    QSqlTableModel Model(nullptr, Db);
    Model.setTable("P2");
    Model.setEditStrategy(QSqlTableModel::OnManualSubmit);
    Model.select();
    QtPaste = std::min(QtPaste, Ms([&] {
      Db.transaction();
      const QStringList Rows = QString::fromUtf16(Lines.c_str()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
      for (const QString& Line : Rows) {
        const QStringList Cells = Line.split(u'\t');
        QSqlRecord Rec = Model.record();
        for (int C = 0; C < Cells.size() && C < Rec.count(); ++C) Rec.setValue(C, Cells[C]);
        Model.insertRecord(-1, Rec);
      }
      Model.submitAll();
      Db.commit();
    }));
  }

  // (3) select all and Copy of 10,000 rows in all five formats.
  double Copy = 0;
  std::size_t CopyBytes = 0;
  if (Runs("copy")) {
    TOurs O(File, u"SELECT * FROM T WHERE ID <= 10000 ORDER BY ID");
    Copy = Best([&] {
      O.Grid->Selection()->SelectAll();
      CopyGridSelectionToClipboard(O.Grid, false);
    });
    for (unsigned F : {unsigned(CF_TEXT), unsigned(CF_UNICODETEXT), CsvClipboardFormat,
                       RtfClipboardFormat, VCLDBIFClipboardFormat})
      CopyBytes += Clipboard()->GetData(F).size();
  }
  Db.close();
  std::filesystem::remove(File);

  if (Runs("export"))
    std::printf("(1) export of %d rows as UTF-16 text: ours %.1f ms (%zu bytes), Qt %.1f ms "
              "(%zu bytes), ratio %.2f\n",
              Rows, OursExport, OurBytes, QtExport, QtBytes, OursExport / QtExport);
  if (Runs("paste"))
    std::printf("(2) paste of %d UTF-16 lines, append, one transaction: ours %.1f ms, Qt %.1f ms, "
              "ratio %.2f\n",
              PasteLines, OursPaste, QtPaste, OursPaste / QtPaste);
  if (Runs("copy"))
    std::printf("(3) select all and copy of %d rows in five formats: %.1f ms (%zu bytes)\n", CopyRows,
              Copy, CopyBytes);
  return 0;
}
