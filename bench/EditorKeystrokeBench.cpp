// EditorKeystrokeBench.cpp - the time of one keystroke in the number and date editors, from the
// key event to the repainted window, against Qt's QLineEdit doing the same job.
//
// Offscreen, one run: every key is one QKeyEvent sent with QApplication::sendEvent to the
// window (ours: the editor's surface), followed by repaint(). Number edit: "1234567,89" and ten
// Backspaces, against a QLineEdit with a QDoubleValidator in the Russian locale; date edit:
// Home and "31122024", against a QLineEdit with the input mask "99.99.9999". Same size, same
// font. Prints the median and the 95th percentile over 2,000 keys and the ratio ours / Qt.
#include <QApplication>
#include <QDoubleValidator>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "bench/BenchPercentiles.h"
#include "gridlib/toolkit/DBCtrlsZk.h"
#include "gridlib/toolkit/ToolkitModule.h"
#include "platform/controls/Forms.h"
#include "platform/rtl/FormatSettings.h"

namespace {

// 2,000 keys; VORENTA_BENCH_KEYS sets another count (longer runs for a profiler).
int KeyCount = 2000;
constexpr int Width = 150, Height = 21;

struct TKey {
  int Code;
  QString Text;
};

std::vector<TKey> NumberKeys() {
  std::vector<TKey> Keys;
  for (QChar C : QString("1234567,89"))
    Keys.push_back({C == ',' ? Qt::Key_Comma : Qt::Key_0 + (C.unicode() - '0'), QString(C)});
  for (int I = 0; I < 10; ++I) Keys.push_back({Qt::Key_Backspace, QString(QChar(8))});
  return Keys;
}

std::vector<TKey> DateKeys() {
  std::vector<TKey> Keys{{Qt::Key_Home, QString()}};
  for (QChar C : QString("31122024")) Keys.push_back({Qt::Key_0 + (C.unicode() - '0'), QString(C)});
  return Keys;
}

using TFigures = TMedianP95;

// Sends the key sequence again and again (Reset between rounds, not timed) until KeyCount
// keys were timed.
TFigures TimeKeys(QWidget* Target, const std::vector<TKey>& Keys,
                  const std::function<void()>& Reset) {
  std::vector<double> Micros;
  Micros.reserve(KeyCount);
  while (int(Micros.size()) < KeyCount) {
    Reset();
    for (const TKey& K : Keys) {
      QKeyEvent Event(QEvent::KeyPress, K.Code, Qt::NoModifier, K.Text);
      const auto Start = std::chrono::steady_clock::now();
      QApplication::sendEvent(Target, &Event);
      Target->repaint();
      const auto End = std::chrono::steady_clock::now();
      Micros.push_back(std::chrono::duration<double, std::micro>(End - Start).count());
      if (int(Micros.size()) == KeyCount) break;
    }
  }
  return MedianAndP95(Micros);
}

void Report(const char* Case, TFigures Ours, TFigures Qt) {
  std::printf("%-12s ours median %7.1f us  p95 %7.1f us | QLineEdit median %7.1f us  p95 %7.1f us"
              " | ratio median %.2f  p95 %.2f\n",
              Case, Ours.Median, Ours.P95, Qt.Median, Qt.P95, Ours.Median / Qt.Median,
              Ours.P95 / Qt.P95);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  if (const char* Keys = std::getenv("VORENTA_BENCH_KEYS")) KeyCount = std::max(std::atoi(Keys), 20);
  QApplication App(argc, argv);
  InitControls();
  Application->Initialize();
  ToolkitModuleInitialize();
  TFormatSettingsScope Russian(TFormatSettings::Russian());

  auto* Form = new TForm(Application);
  Form->SetBounds(0, 0, 400, 200);
  auto* Number = new TDBNumberEditZk(Form);
  Number->SetParent(Form);
  Number->SetBounds(10, 10, Width, Height);
  Number->SetAutoSize(false);
  Number->Font()->SetName(u"Tahoma");
  Number->Font()->SetSize(8);
  auto* Day = new TDBDateTimeEditZk(Form);
  Day->SetParent(Form);
  Day->SetBounds(10, 40, Width, Height);
  Day->SetAutoSize(false);
  Day->Font()->SetName(u"Tahoma");
  Day->Font()->SetSize(8);
  Form->Show();

  QFont Font("DejaVu Sans");
  Font.setPointSize(8);
  QLineEdit QtNumber;
  QtNumber.setFont(Font);
  QtNumber.resize(Width, Height);
  auto* Validator = new QDoubleValidator(&QtNumber);
  Validator->setLocale(QLocale(QLocale::Russian, QLocale::Russia));
  QtNumber.setValidator(Validator);
  QtNumber.show();
  QLineEdit QtDate;
  QtDate.setFont(Font);
  QtDate.resize(Width, Height);
  QtDate.setInputMask("99.99.9999");
  QtDate.show();
  App.processEvents();

  Number->SetFocus();
  const TFigures OurNumber = TimeKeys(static_cast<QWidget*>(Number->Surface()), NumberKeys(),
                                      [&] { Number->SetValue(Null()); });
  QtNumber.setFocus();
  const TFigures QtNumberFigures = TimeKeys(&QtNumber, NumberKeys(), [&] { QtNumber.clear(); });
  Day->SetFocus();
  const TFigures OurDate = TimeKeys(static_cast<QWidget*>(Day->Surface()), DateKeys(),
                                    [&] { Day->SetValue(Null()); });
  QtDate.setFocus();
  const TFigures QtDateFigures = TimeKeys(&QtDate, DateKeys(), [&] { QtDate.clear(); });

  std::printf("%d keys each, offscreen, repaint after every key\n", KeyCount);
  Report("number edit", OurNumber, QtNumberFigures);
  Report("date edit", OurDate, QtDateFigures);
  std::printf("check: number \"%s\", date \"%s\" | Qt number \"%s\", date \"%s\"\n",
              ToUtf8(Number->Text()).c_str(), ToUtf8(Day->Text()).c_str(),
              QtNumber.text().toStdString().c_str(), QtDate.text().toStdString().c_str());
  delete Form;
  ToolkitModuleFinalize();
  return 0;
}
