// FontMeasureBench.cpp - words per second measured through the font service (with its caches)
// against Qt's QFontMetricsF on the same font file, size and words.
#include <benchmark/benchmark.h>

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QRawFont>

#include "platform/graphics/FontService.h"

namespace {

const std::vector<String>& Words() {
  static const std::vector<String> List = [] {
    const char16_t* Base[] = {u"Краска", u"фасадная", u"белая", u"10", u"л", u"Колеровка",
                              u"по", u"каталогу", u"NCS", u"S", u"1050-Y90R", u"цена", u"руб.",
                              u"Эмаль", u"ПФ-115", u"глянцевая", u"Interior", u"Matt", u"0,9",
                              u"кг", u"итого", u"стр.", u"из", u"Заказ", u"№"};
    std::vector<String> Out;
    for (int Round = 0; Round < 40; ++Round)
      for (const char16_t* W : Base) Out.push_back(String(W) + (Round % 2 ? u"" : u","));
    return Out;
  }();
  return List;
}

// Liberation Sans 10 pt at 600 dpi: the report engine's measuring font.
const TFontRequest ReportFont{u"Arial", -83, false, false};

void FontServiceWords(benchmark::State& State) {
  IFontMetrics& Metrics = FontMetrics();
  long Total = 0;
  for (auto _ : State)
    for (const String& W : Words()) Total += Metrics.TextWidth(ReportFont, W);
  benchmark::DoNotOptimize(Total);
  State.SetItemsProcessed(State.iterations() * long(Words().size()));
}
BENCHMARK(FontServiceWords);

void FontServiceCharAdvances(benchmark::State& State) {
  IFontMetrics& Metrics = FontMetrics();
  std::vector<int> Advances;
  for (auto _ : State)
    for (const String& W : Words()) {
      Metrics.CharAdvances(ReportFont, W, Advances);
      benchmark::DoNotOptimize(Advances.data());
    }
  State.SetItemsProcessed(State.iterations() * long(Words().size()));
}
BENCHMARK(FontServiceCharAdvances);

QFont ReportQFont() {
  const TFontFile File = TFontService::Instance().Resolve(ReportFont.Name, false, false);
  const int Id = QFontDatabase::addApplicationFont(QString::fromStdString(File.Path));
  QFont Font(QFontDatabase::applicationFontFamilies(Id).value(0, "Liberation Sans"));
  Font.setPixelSize(83);
  Font.setHintingPreference(QFont::PreferNoHinting);
  return Font;
}

void QtFontMetricsWords(benchmark::State& State) {
  const QFontMetricsF Metrics(ReportQFont());
  std::vector<QString> Words;
  for (const String& W : ::Words()) Words.push_back(QString::fromUtf16(W.data(), qsizetype(W.size())));
  double Total = 0;
  for (auto _ : State)
    for (const QString& W : Words) Total += Metrics.horizontalAdvance(W);
  benchmark::DoNotOptimize(Total);
  State.SetItemsProcessed(State.iterations() * long(Words.size()));
}
BENCHMARK(QtFontMetricsWords);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QGuiApplication App(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
