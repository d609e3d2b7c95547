// PdfFixture.cpp - the PDF export's test fixture and external readers.
#include "PdfFixture.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Picture.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClassViews.h"
#include "report/core/vqrEngine.h"
#include "report/output/vqrOutputModule.h"

namespace {
std::string& FontDir() {
  static std::string Dir = "/tmp/vorenta-pdf-fonts-" + std::to_string(::getpid());
  return Dir;
}
}  // namespace

void PinFontsForTests() {
  static const bool Done = [] {
    const std::string& Dir = FontDir();
    std::atexit([] { std::system(("rm -rf " + FontDir()).c_str()); });
    std::system(("mkdir -p " + Dir).c_str());
    std::ofstream(Dir + "/fonts.conf")
        << "<?xml version=\"1.0\"?>\n<fontconfig>\n"
           "<dir>/usr/share/fonts/truetype/liberation2</dir>\n"
           "<dir>/usr/share/fonts/truetype/dejavu</dir>\n"
           "<cachedir>" << Dir << "/cache</cachedir>\n</fontconfig>\n";
    setenv("FONTCONFIG_FILE", (Dir + "/fonts.conf").c_str(), 1);
    return true;
  }();
  (void)Done;
}


std::string ReadFileBytes(const std::string& Path) {
  std::ifstream In(Path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

namespace {

TvqrReportPage* NewPage(TvqrReport* Report) {
  auto* Page = new TvqrReportPage(Report);
  Page->SetName(u"Page1");
  Page->SetPaperSize(9);
  Page->SetLeftMargin(10);
  Page->SetRightMargin(10);
  Page->SetTopMargin(10);
  Page->SetBottomMargin(10);
  return Page;
}

TvqrMasterData* NewBand(TvqrReportPage* Page, const String& Name) {
  auto* Band = new TvqrMasterData(Page);
  Band->SetName(Name);
  Band->SetBounds(0, 0, 718, 1000);
  return Band;
}

TvqrMemoView* NewMemo(TvqrBand* Band, const String& Name, const String& Text, Extended Left,
                      Extended Top, Extended Width, Extended Height) {
  auto* M = new TvqrMemoView(Band);
  M->SetName(Name);
  M->SetBounds(Left, Top, Width, Height);
  M->SetText(Text);
  return M;
}

std::unique_ptr<TvqrReport> NewReport() {
  PinFontsForTests();
  vqrOutputModuleInitialize();
  auto Report = std::make_unique<TvqrReport>(nullptr);
  Report->SetShowProgress(false);
  Report->ReportOptions()->SetName(u"Прайс-лист");
  return Report;
}

void StorePages(TvqrReport* Report, TvqrReportPage* Page, std::initializer_list<TvqrBand*> Bands) {
  auto* Store = static_cast<TvqrPreviewPages*>(Report->PreviewPages());
  Store->AddSourcePage(Page);
  Report->Engine()->FinalPass = true;   // the pages keep every value, as the engine's last pass
  Store->AddPageAction = apAdd;
  Store->CurPage = -1;
  for (TvqrBand* Band : Bands) {
    Store->AddPage(Page);
    // Pictures go to the store's picture cache, as the engine puts them.
    for (TvqrComponent* C : Band->Objects())
      if (dynamic_cast<TvqrPictureView*>(C)) Store->AddPicture(static_cast<TvqrReportComponent*>(C));
    Store->AddObject(Band);
  }
}

}  // namespace

TPdfFixture::TPdfFixture() : FReport(NewReport()) {
  Page = NewPage(FReport.get());
  auto* B1 = NewBand(Page, u"Band1");
  auto* Head = NewMemo(B1, u"Header", u"Прайс на каталог цвета", 0, 0, 700, 40);
  Head->Font()->SetName(u"Times New Roman");
  Head->Font()->SetSize(19);
  Head->Font()->SetStyle({fsBold});
  NewMemo(B1, u"Cyr", u"Краска фасадная белая 12 345,50 руб.", 0, 60, 500, 20);
  auto* Latin = NewMemo(B1, u"Latin", u"office fine flat", 0, 90, 300, 20);
  Latin->Font()->SetName(u"DejaVu Sans");
  auto* Framed = NewMemo(B1, u"Framed", u"Итого по заказу", 0, 120, 300, 24);
  Framed->SetColor(TColor(0xCCFFFF));
  Framed->Frame()->SetTyp({ftLeft, ftRight, ftTop, ftBottom});
  Framed->Frame()->SetWidth(2);
  auto* Under = NewMemo(B1, u"Under", u"Подчёркнутый текст", 0, 160, 300, 20);
  Under->Font()->SetStyle({fsUnderline});

  auto* B2 = NewBand(Page, u"Band2");
  auto* Rot = NewMemo(B2, u"Rotated", u"Повёрнутый", 20, 20, 30, 150);
  Rot->SetRotation(90);
  auto* Line = new TvqrLineView(B2);
  Line->SetName(u"Arrow");
  Line->SetBounds(100, 40, 300, 0);
  Line->SetArrowStart(true);
  Line->SetArrowEnd(true);
  Line->SetArrowSolid(true);
  auto* Rect = new TvqrShapeView(B2);
  Rect->SetName(u"Rect");
  Rect->SetBounds(100, 80, 200, 60);
  Rect->SetColor(TColor(0x00C0FF));
  auto* Ell = new TvqrShapeView(B2);
  Ell->SetName(u"Ellipse");
  Ell->SetBounds(350, 80, 200, 60);
  Ell->SetShape(TvqrShapeKind::skEllipse);
  auto* Pic = new TvqrPictureView(B2);
  Pic->SetName(u"Picture");
  TBitmap Bmp(60, 40);
  Bmp.Canvas()->Brush()->SetColor(TColor(0x2060E0));
  Bmp.Canvas()->FillRect(TRect{0, 0, 60, 40});
  Bmp.Canvas()->Brush()->SetColor(TColor(0xFFFF00));
  Bmp.Canvas()->Ellipse(10, 5, 50, 35);
  Pic->Picture()->SetGraphic(&Bmp);
  Pic->SetStretched(true);
  Pic->SetBounds(100, 180, 120, 80);

  // A memo that does not wrap is drawn as a picture.
  auto* Raster = NewMemo(B2, u"Raster", u"Картинка", 300, 180, 120, 40);
  Raster->SetWordWrap(false);
  Raster->SetColor(TColor(0x80FF80));
  Raster->Font()->SetSize(14);

  auto* B3 = NewBand(Page, u"Band3");
  auto* Mono = NewMemo(B3, u"Mono", u"Страница три: моноширинный", 0, 0, 500, 20);
  Mono->Font()->SetName(u"Courier New");
  StorePages(FReport.get(), Page, {B1, B2, B3});
}

TPdfFixture::~TPdfFixture() {
  FReport.reset();
  vqrOutputModuleFinalize();
}

std::unique_ptr<TvqrPDFExport> TPdfFixture::Filter(const std::string& Path) const {
  auto F = std::make_unique<TvqrPDFExport>(TvqrCustomExportFilter::NoRegisterTag{});
  F->SetShowDialog(false);
  F->SetShowProgress(false);
  F->SetFileName(Utf8ToString(Path));
  F->SetTitle(u"Прайс-лист");
  return F;
}

TSingleViewReport::TSingleViewReport() : FReport(NewReport()) {
  Page = NewPage(FReport.get());
  Band = NewBand(Page, u"Band1");
}

TSingleViewReport::~TSingleViewReport() {
  FReport.reset();
  vqrOutputModuleFinalize();
}

std::string TSingleViewReport::Content() {
  if (!FStored) StorePages(FReport.get(), Page, {Band});
  FStored = true;
  TMemoryStream Out;
  TvqrPDFExport F(TvqrCustomExportFilter::NoRegisterTag{});
  F.SetShowDialog(false);
  F.SetShowProgress(false);
  F.SetCompressed(false);
  F.Stream = &Out;
  FReport->Export(&F);
  const std::string Pdf(static_cast<const char*>(Out.Memory()), std::size_t(Out.Size()));
  const auto Begin = Pdf.find("stream\r\n");
  const auto End = Pdf.find("endstream");
  if (Begin == std::string::npos || End == std::string::npos) return {};
  return Pdf.substr(Begin + 8, End - Begin - 8);
}
