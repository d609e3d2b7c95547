// kreport_anchor.cpp - the comparison side of ReportBench: the same grouped report prepared by
// KReport's pre-renderer from an in-memory data source.
//
// Data: the rows ReportBench makes, from the same seed and generator (groups of 20 to 30 rows,
// quantity, cost and, in variant B, a growing comment). Layout: A4, 10 mm margins, Liberation
// Sans 9 pt, page header with title and "page X of Y", group header, detail, group footer with
// two sums, report footer with the grand totals, page footer.
//
// KReport 3.2 has no aggregate functions of its own without a database driver, so the data
// source keeps the running sums of the group and of the report as extra fields; it computes
// them as the pre-renderer moves through it, inside the timed call.
//
//   kreport_anchor <rows> <seed> <A|B>
// prints one line: "pages <n> seconds <median of 5> totals <qty> <cost> ok|DIFFER"
#include <QDomDocument>
#include <QApplication>
#include <QVariant>

#include <KReport3/KReportDataSource>
#include <KReport3/KReportPreRenderer.h>
#include <KReport3/KReportRenderObjects.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

struct Row {
  int Group, Qty, Cost;
  QString Name, Note;
};

std::vector<Row> MakeRows(int Count, bool Growing, unsigned Seed) {
  std::vector<Row> Rows;
  std::mt19937 Random(Seed);
  int Group = 1, Left = 20 + static_cast<int>(Random() % 11);
  for (int I = 0; I < Count; ++I) {
    if (Left-- == 0) {
      ++Group;
      Left = 19 + static_cast<int>(Random() % 11);
    }
    int Qty = 1 + static_cast<int>(Random() % 50), Cost = 10 + static_cast<int>(Random() % 990);
    QString Note;
    if (Growing)
      for (int K = 0; K < I % 12; ++K) Note += QStringLiteral("примечание к строке ");
    Rows.push_back({Group, Qty, Cost, QStringLiteral("Позиция %1").arg(I + 1), Note});
  }
  return Rows;
}

// The rows, with the running sums of the current group and of the whole report.
class TSource : public KReportDataSource {
public:
  explicit TSource(const std::vector<Row>* Rows) : FRows(Rows) {}
  bool open() override {
    FAt = 0;
    FGroupQty.assign(FRows->size(), 0);
    FGroupCost.assign(FRows->size(), 0);
    FAllQty.assign(FRows->size(), 0);
    FAllCost.assign(FRows->size(), 0);
    long long GQ = 0, GC = 0, AQ = 0, AC = 0;
    for (size_t I = 0; I < FRows->size(); ++I) {
      const Row& R = (*FRows)[I];
      if (I > 0 && (*FRows)[I - 1].Group != R.Group) GQ = GC = 0;
      GQ += R.Qty, GC += R.Cost, AQ += R.Qty, AC += R.Cost;
      FGroupQty[I] = GQ, FGroupCost[I] = GC, FAllQty[I] = AQ, FAllCost[I] = AC;
    }
    return true;
  }
  bool close() override { return true; }
  // Moving past the last row leaves the cursor after it, as a database cursor does; moving
  // back from there returns to the last row.
  bool moveNext() override {
    if (FAt + 1 >= static_cast<qint64>(FRows->size())) {
      FAt = static_cast<qint64>(FRows->size());
      return false;
    }
    ++FAt;
    return true;
  }
  bool movePrevious() override {
    if (FAt <= 0) return false;
    --FAt;
    return true;
  }
  bool moveFirst() override {
    FAt = 0;
    return !FRows->empty();
  }
  bool moveLast() override {
    FAt = static_cast<qint64>(FRows->size()) - 1;
    return FAt >= 0;
  }
  qint64 at() const override { return FAt; }
  qint64 recordCount() const override { return static_cast<qint64>(FRows->size()); }
  int fieldNumber(const QString& Field) const override { return fieldNames().indexOf(Field); }
  QStringList fieldNames() const override {
    return {"GRP", "NAME", "QTY", "COST", "NOTE", "GQTY", "GCOST", "AQTY", "ACOST"};
  }
  QVariant value(int Pos) const override {
    if (FAt < 0 || FAt >= static_cast<qint64>(FRows->size())) return {};
    const Row& R = (*FRows)[static_cast<size_t>(FAt)];
    const size_t I = static_cast<size_t>(FAt);
    switch (Pos) {
      case 0: return R.Group;
      case 1: return R.Name;
      case 2: return R.Qty;
      case 3: return R.Cost;
      case 4: return R.Note;
      case 5: return FGroupQty[I];
      case 6: return FGroupCost[I];
      case 7: return FAllQty[I];
      case 8: return FAllCost[I];
    }
    return {};
  }
  QVariant value(const QString& Field) const override { return value(fieldNumber(Field)); }
  QStringList dataSourceNames() const override { return {"rows"}; }

private:
  const std::vector<Row>* FRows;
  qint64 FAt = 0;
  std::vector<long long> FGroupQty, FGroupCost, FAllQty, FAllCost;
};

QString Style() {
  return "<report:text-style fo:font-family=\"Liberation Sans\" fo:font-size=\"9\" "
         "fo:foreground-color=\"#000000\" fo:background-color=\"#ffffff\" "
         "fo:background-opacity=\"0%\"/>"
         "<report:line-style report:line-style=\"solid\" report:line-weight=\"1\" "
         "report:line-color=\"#000000\"/>";
}

QString Box(double X, double W, double H) {
  return QString("svg:x=\"%1mm\" svg:y=\"0mm\" svg:width=\"%2mm\" svg:height=\"%3mm\" ")
      .arg(X).arg(W).arg(H);
}

QString Label(const QString& Name, double X, double W, double H, const QString& Text) {
  return QString("<report:label report:name=\"%1\" report:caption=\"%2\" %3 "
                 "report:horizontal-align=\"left\" report:vertical-align=\"center\">%4"
                 "</report:label>")
      .arg(Name, Text, Box(X, W, H), Style());
}

QString Field(const QString& Name, double X, double W, double H, const QString& Source,
              const char* Align = "left") {
  return QString("<report:field report:name=\"%1\" report:item-data-source=\"%2\" %3 "
                 "report:horizontal-align=\"%4\" report:vertical-align=\"center\">%5"
                 "</report:field>")
      .arg(Name, Source.toHtmlEscaped(), Box(X, W, H), Align, Style());
}

QString Text(const QString& Name, double X, double W, double H, const QString& Source) {
  return QString("<report:text report:name=\"%1\" report:item-data-source=\"%2\" %3 "
                 "report:horizontal-align=\"left\" report:vertical-align=\"top\" "
                 "report:bottom-padding=\"0\">%4</report:text>")
      .arg(Name, Source, Box(X, W, H), Style());
}

QString Section(const char* Type, double H, const QString& Items) {
  return QString("<report:section report:section-type=\"%1\" svg:height=\"%2mm\">%3"
                 "</report:section>")
      .arg(Type).arg(H).arg(Items);
}

// Row heights as in ReportBench: 18 px bands (4.76 mm), 24 px page header.
QString Layout(bool Growing) {
  const double Row = 18 / 3.77953, Head = 24 / 3.77953;
  QString Detail = Field("name", 0, 200 / 3.77953, Row, "NAME") +
                   Field("qty", 200 / 3.77953, 80 / 3.77953, Row, "QTY", "right") +
                   Field("cost", 280 / 3.77953, 100 / 3.77953, Row, "COST", "right");
  if (Growing) Detail += Text("note", 380 / 3.77953, 338 / 3.77953, Row, "NOTE");
  return QString(
             "<report:content xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\" "
             "xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\" "
             "xmlns:kreport=\"http://kexi-project.org/report/2.0\" "
             "xmlns:report=\"http://kexi-project.org/report/2.0\">"
             "<report:title>Bench</report:title>"
             "<report:script report:script-interpreter=\"javascript\"></report:script>"
             "<report:page-style report:print-orientation=\"portrait\" report:page-size=\"A4\" "
             "fo:margin-top=\"10mm\" fo:margin-bottom=\"10mm\" fo:margin-left=\"10mm\" "
             "fo:margin-right=\"10mm\"/>"
             "<report:body>") +
         Section("header-page-any", Head,
                 Label("title", 0, 120, Head, "Отчёт о позициях") +
                     // KReport 3.2's script handler refuses "'a ' + x + ' b ' + y" (an error
                     // dialog), so "стр. N", the word "из" and the total are three items.
                     Field("page", 130, 30, Head, "='стр. ' + constants.PageNumber()", "right") +
                     Label("of", 160, 8, Head, "из") + Field("pages", 168, 22, Head, "=constants.PageTotal()", "left")) +
         Section("footer-page-any", Row, Label("foot", 0, 60, Row, "Подвал")) +
         Section("footer-report", Row,
                 Label("all", 0, 200 / 3.77953, Row, "Всего") +
                     Field("aqty", 200 / 3.77953, 80 / 3.77953, Row, "AQTY", "right") +
                     Field("acost", 280 / 3.77953, 100 / 3.77953, Row, "ACOST", "right")) +
         "<report:detail><report:group report:group-column=\"GRP\" "
         "report:group-page-break=\"none\" report:group-sort=\"ascending\">" +
         Section("group-header", Row, Field("grp", 0, 190, Row, "GRP")) +
         Section("group-footer", Row,
                 Label("gtot", 0, 200 / 3.77953, Row, "Итого по группе") +
                     Field("gqty", 200 / 3.77953, 80 / 3.77953, Row, "GQTY", "right") +
                     Field("gcost", 280 / 3.77953, 100 / 3.77953, Row, "GCOST", "right")) +
         "</report:group>" + Section("detail", Row, Detail) + "</report:detail>" +
         "</report:body></report:content>";
}

double Median(std::vector<double> V) {
  std::sort(V.begin(), V.end());
  return V[V.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication App(argc, argv);
  const int Rows = argc > 1 ? std::atoi(argv[1]) : 10000;
  const unsigned Seed = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 42;
  const bool Growing = argc > 3 && argv[3][0] == 'B';
  const std::vector<Row> Data = MakeRows(Rows, Growing, Seed);
  long long SumQty = 0, SumCost = 0;
  for (const Row& R : Data) SumQty += R.Qty, SumCost += R.Cost;

  QDomDocument Doc;
  QString Error;
  if (!Doc.setContent(Layout(Growing), false, &Error)) {
    std::printf("layout does not parse: %s\n", qPrintable(Error));
    return 1;
  }
  int Pages = 0;
  bool TotalsOk = false, PageTextOk = false;
  auto Run = [&](bool Check) {
    KReportPreRenderer Renderer(Doc.documentElement());
    Renderer.setDataSource(new TSource(&Data));
    auto Start = std::chrono::steady_clock::now();
    if (!Renderer.generateDocument()) return -1.0;
    double T = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
    ORODocument* Out = Renderer.document();
    Pages = Out ? Out->pageCount() : 0;
    if (Check && Pages > 0) {
      const QString Want = QString::number(SumQty), WantCost = QString::number(SumCost);
      QString LastText;
      for (int P = 0; P < Pages; ++P) {
        OROPage* Page = Out->page(P);
        for (int I = 0; I < Page->primitiveCount(); ++I)
          if (auto* T = dynamic_cast<OROTextBox*>(Page->primitive(I))) {
            if (std::getenv("KREPORT_ANCHOR_DUMP") && (P < 1 || P == Pages - 1)) std::printf("%s\n", qPrintable(T->text()));
            if (P == Pages - 1 && T->text() == WantCost && LastText == Want) TotalsOk = true;
            LastText = T->text();
            if (P == 0 && T->text() == QString::number(Pages)) PageTextOk = true;
          }
      }
    }
    return T;
  };
  if (Run(true) < 0) {
    std::printf("generateDocument failed\n");
    return 1;
  }
  std::vector<double> Times;
  for (int I = 0; I < 5; ++I) Times.push_back(Run(false));
  std::printf("pages %d seconds %.6f totals %lld %lld %s page-text %s\n", Pages, Median(Times),
              SumQty, SumCost, TotalsOk ? "ok" : "DIFFER", PageTextOk ? "ok" : "DIFFER");
  return 0;
}
