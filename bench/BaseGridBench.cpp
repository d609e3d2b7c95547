// BaseGridBench.cpp - the base grid against Qt's QTableView over a light table model: the same
// 10,000 x 10 texts, both shown 1200 x 800 on the offscreen platform, Liberation Sans, rows of
// 24 pixels, the same column widths and grid lines, no word wrap or elision. Every step is
// followed by a synchronous repaint through the widget's backing store.
//
//   (1) show and first complete paint
//   (2) page down from the top to the bottom (SB_PAGEDOWN against the bar's page step)
//   (3) 200 width changes of one column (SetColWidth against resizeSection)
//
// Each measure is the median of several runs; the ratio ours / Qt is printed per step. A Qt
// section's size holds its grid line while our extents exclude it, so ours are one pixel less.
// Run: QT_QPA_PLATFORM=offscreen bench/BaseGridBench  (a Release build with -DVORENTA_BENCH=ON)
#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "gridlib/grid/GridsZk.h"
#include "platform/controls/Forms.h"
#include "platform/controls/ScrollBars.h"
#include "platform/rtl/SysUtils.h"

namespace {

constexpr int Rows = 10000, Cols = 10, RowHeight = 24, ColWidth = 110;
constexpr int ViewWidth = 1200, ViewHeight = 800, Runs = 5;
const char* const FontName = "Liberation Sans";
constexpr int FontPoints = 10;

String CellText(int Row, int Col) {
  static const char16_t* const Words[] = {u"Белила", u"Охра", u"Умбра", u"Сиена", u"Кобальт"};
  return String(Words[(Row + Col) % 5]) + u" " + IntToStr(Row * 10 + Col);
}

// A window paints only once the window system has exposed it.
void WaitExposed(QWidget* W) {
  for (int I = 0; I < 200 && !(W->window()->windowHandle() && W->window()->windowHandle()->isExposed()); ++I)
    QApplication::processEvents();
}

// The cell texts are the data both sides show: built once before anything is timed, so the
// first-paint step measures showing and painting, not filling the test data.
const std::vector<String>& OurTexts() {
  static const std::vector<String> Texts = [] {
    std::vector<String> T;
    for (int R = 0; R < Rows; ++R)
      for (int C = 0; C < Cols; ++C) T.push_back(CellText(R, C));
    return T;
  }();
  return Texts;
}

const std::vector<QString>& QtTexts() {
  static const std::vector<QString> Texts = [] {
    std::vector<QString> T;
    for (const String& S : OurTexts()) T.push_back(QString::fromUtf16(S.data(), qsizetype(S.size())));
    return T;
  }();
  return Texts;
}

// --- ours -----------------------------------------------------------------------------------------

class TTextGrid : public TCustomGridZk {
public:
  explicit TTextGrid(TComponent* AOwner) : TCustomGridZk(AOwner), FTexts(OurTexts()) {}
  void PaintCell(int ACol, int ARow, const TRect& ARect, TGridDrawState) override {
    const String& Text = ARow == 0 ? FTitle : ACol == 0 ? IntToStr(ARow) : FTexts[size_t((ARow - 1) * Cols + ACol - 1)];
    Canvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 4, Text);
  }

private:
  const std::vector<String>& FTexts;
  String FTitle = u"Колонка";
};

struct TOurs {
  TForm* Form = nullptr;
  TTextGrid* Grid = nullptr;
  QWidget* Widget = nullptr;

  void Show() {
    Form = new TForm(Application);
    Form->SetBounds(0, 0, ViewWidth + 20, ViewHeight + 40);
    Grid = new TTextGrid(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(0, 0, ViewWidth, ViewHeight);
    Grid->Font()->SetName(Utf8ToString(FontName));
    Grid->Font()->SetSize(FontPoints);
    Grid->SetColCount(Cols + 1);
    Grid->SetRowCount(Rows + 1);
    // Qt's sections hold their grid line, ours add it: the same pixels either way.
    Grid->SetDefaultRowHeight(RowHeight - 1);
    Grid->SetDefaultColWidth(ColWidth - 1);
    Form->Show();
    Widget = static_cast<QWidget*>(Grid->Surface());
    WaitExposed(Widget);
    Widget->repaint();
  }
  bool PageDown() {
    const int Top = Grid->TopRow();
    Grid->Perform(WM_VSCROLL, SB_PAGEDOWN, 0);
    Widget->repaint();
    return Grid->TopRow() != Top;
  }
  void SetWidth(int W) {
    Grid->SetColWidth(3, W - 1);
    Widget->repaint();
  }
  void Close() { delete Form; }
};

// --- Qt -------------------------------------------------------------------------------------------

class TTextModel : public QAbstractTableModel {
public:
  TTextModel() : FTexts(QtTexts()) {}
  int rowCount(const QModelIndex&) const override { return Rows; }
  int columnCount(const QModelIndex&) const override { return Cols; }
  QVariant data(const QModelIndex& Index, int Role) const override {
    if (Role != Qt::DisplayRole) return {};
    return FTexts[size_t(Index.row() * Cols + Index.column())];
  }
  QVariant headerData(int Section, Qt::Orientation O, int Role) const override {
    if (Role != Qt::DisplayRole) return {};
    return O == Qt::Horizontal ? QVariant(QStringLiteral("Колонка")) : QVariant(Section + 1);
  }

private:
  const std::vector<QString>& FTexts;
};

struct TQt {
  TTextModel* Model = nullptr;
  QTableView* View = nullptr;

  void Show() {
    Model = new TTextModel;
    View = new QTableView;
    View->setModel(Model);
    View->setFont(QFont(FontName, FontPoints));
    View->setWordWrap(false);
    View->setTextElideMode(Qt::ElideNone);
    View->setShowGrid(true);
    View->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    View->verticalHeader()->setDefaultSectionSize(RowHeight);
    View->horizontalHeader()->setDefaultSectionSize(ColWidth);
    View->resize(ViewWidth, ViewHeight);
    View->show();
    WaitExposed(View);
    View->viewport()->repaint();
  }
  bool PageDown() {
    QScrollBar* Bar = View->verticalScrollBar();
    const int Before = Bar->value();
    Bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    View->viewport()->repaint();
    return Bar->value() != Before;
  }
  void SetWidth(int W) {
    View->horizontalHeader()->resizeSection(3, W);
    View->viewport()->repaint();
  }
  void Close() {
    delete View;
    delete Model;
  }
};

double Millis(const std::function<void()>& Step) {
  const auto T0 = std::chrono::steady_clock::now();
  Step();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - T0).count();
}

double Median(std::vector<double> V) {
  std::sort(V.begin(), V.end());
  return V[V.size() / 2];
}

struct TFigures {
  double Show = 0, Pages = 0, Widths = 0;
  int PageSteps = 0;
};

template <class T>
TFigures Measure() {
  std::vector<double> Show, Pages, Widths;
  int Steps = 0;
  for (int Run = 0; Run < Runs; ++Run) {
    T Subject;
    Show.push_back(Millis([&] { Subject.Show(); }));
    Steps = 0;
    Pages.push_back(Millis([&] {
      while (Subject.PageDown()) ++Steps;
    }));
    Widths.push_back(Millis([&] {
      for (int I = 0; I < 200; ++I) Subject.SetWidth(60 + (I * 7) % 120);
    }));
    Subject.Close();
  }
  return {Median(Show), Median(Pages), Median(Widths), Steps};
}

}  // namespace

int main(int, char**) {
  InitControls();
  Application->Initialize();
  QtTexts();
  const TFigures Ours = Measure<TOurs>();
  const TFigures Qt = Measure<TQt>();
  std::printf("%-34s %10s %10s %8s\n", "step (median of 5 runs)", "ours ms", "Qt ms", "ratio");
  auto Line = [](const char* Name, double A, double B) {
    std::printf("%-34s %10.2f %10.2f %8.2f\n", Name, A, B, A / B);
  };
  Line("show and first paint", Ours.Show, Qt.Show);
  Line("page down top to bottom", Ours.Pages, Qt.Pages);
  Line("200 width changes of one column", Ours.Widths, Qt.Widths);
  std::printf("page steps: ours %d, Qt %d\n", Ours.PageSteps, Qt.PageSteps);
  return 0;
}
