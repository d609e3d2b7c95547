// Text drawn on a PDF painter is written as text in the embedded face: readers extract it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>

#include "platform/graphics/Canvas.h"
#include "platform/graphics/PainterCanvas.h"
#include "platform/rtl/tests/CommandOutput.h"

namespace {

namespace fs = std::filesystem;

// Draws one page of texts onto a QPdfWriter at 600 dpi and gives the file's path.
fs::path WritePdf(const std::string& FileName, int Escapement) {
  const fs::path Path = fs::temp_directory_path() / FileName;
  QPdfWriter Writer(QString::fromStdString(Path.string()));
  Writer.setResolution(600);
  QPainter Painter(&Writer);
  TCanvas Canvas;
  Canvas.SetDevice(CreatePainterDevice(&Painter, ckPrinter, {4960, 7016}, 600));
  Canvas.Font()->SetName(u"Arial");
  Canvas.Font()->SetHeight(-100);
  Canvas.Font()->SetColor(clBlack);
  Canvas.Font()->SetOrientation(Escapement);
  Canvas.TextOut(300, 1500, u"Прайс на каталог цвета");
  Canvas.Font()->SetStyle({fsBold});
  Canvas.TextOut(300, 1800, u"Итого 1 234,50");
  Canvas.ReleaseDevice();
  Painter.end();
  return Path;
}

TEST(PainterPdfText, TextIsExtractableInEmbeddedFacesUprightAndRotated) {
  // Qt's font database, which the writer embeds from, needs the application object.
  int Argc = 1;
  char Name[] = "PainterPdfTextTest";
  char* Argv[] = {Name, nullptr};
  QGuiApplication App(Argc, Argv);
  for (int Escapement : {0, 900}) {
    SCOPED_TRACE(Escapement);
    const fs::path Path = WritePdf("vorenta_painter_pdf_text.pdf", Escapement);
    const std::string Text = CommandOutput("pdftotext " + Path.string() + " - 2>/dev/null");
    for (const char* Word : {"Прайс", "каталог", "цвета", "Итого", "234,50"})
      EXPECT_NE(Text.find(Word), std::string::npos) << Word << " in " << Text;
    if (Escapement == 0) {
      EXPECT_NE(Text.find("Итого 1 234,50"), std::string::npos) << Text;
    }
    const std::string Fonts = CommandOutput("pdffonts " + Path.string() + " 2>/dev/null");
    EXPECT_NE(Fonts.find("LiberationSans "), std::string::npos) << Fonts;
    EXPECT_NE(Fonts.find("LiberationSans-Bold "), std::string::npos) << Fonts;
    CommandOutput("pdftoppm -r 40 -png " + Path.string() + " /tmp/pdfref/page" + std::to_string(Escapement));
    fs::remove(Path);
  }
}

}  // namespace
