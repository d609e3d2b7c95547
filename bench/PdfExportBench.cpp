// PdfExportBench.cpp - the colour price list exported to PDF by our filter against the same
// prepared pages drawn by the report's DrawPage onto Qt's QPdfWriter (the printed-document
// recorder at 600 dpi) and, built with libcairo2-dev, onto cairo's PDF surface through a small
// canvas device.
//
// One prepared-page store per catalogue size (2,000 and 10,000 generated colours), its page
// cache large enough and warmed. The export driver still reads each page from the store and
// lets it go, so QPdfWriter runs a second time reading pages that way. Each producer writes
// a file once untimed, which must pass `qpdf --check` and give pdftotext text, then the
// median of 5 timed runs is reported with pages/s (from wall time and from the thread's CPU
// time) and KB/page. Both write the text as text in embedded faces; a producer whose file
// does not give the same pdftotext words as ours (subset) is reported and not timed. Last,
// the colour price list command end to end (prepare and export, a fresh module). A timed
// program; run in a Release build:
//   QT_QPA_PLATFORM=offscreen build-rel/bench/PdfExportBench [text|colour|command]
// An argument runs only the sections whose title contains it; "profile [N] [ours|qt|qtwarm]
// [LIST]" only writes one list N times (30; for perf record or callgrind) with our filter, or
// with QPdfWriter reading pages as the export does or from the warmed cache (or "cairo"); LIST is a row count of the text price list
// (4900, 109 pages) or "colour" and a colour count; "write DIR" writes our files of both text
// lists and the 2,000-colour list in each mode into DIR (to compare builds), and cairo's.
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <QGuiApplication>

#ifdef VORENTA_BENCH_CAIRO
#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cmath>
#include <map>
#endif

#include "bench/BenchSample.h"
#include "platform/rtl/tests/CommandOutput.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Colors.h"
#include "platform/graphics/FontService.h"
#include "platform/printing/PrintDocument.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClassBands.h"
#include "report/core/vqrClassMemo.h"
#include "report/core/vqrClassViews.h"
#include "report/core/vqrClassOptions.h"
#include "report/core/vqrClassPages.h"
#include "report/core/vqrPreviewPages.h"
#include "report/output/vqrExportPDF.h"
#include "report/output/vqrOutputModule.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;


double Seconds(Clock::time_point From) {
  return std::chrono::duration<double>(Clock::now() - From).count();
}

// CPU seconds of the calling thread: on a machine shared with other work the wall time
// varies with the load, the thread's own time much less. Every producer runs on this thread.
double ThreadSeconds() {
  timespec T{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
  return double(T.tv_sec) + double(T.tv_nsec) / 1e9;
}

// Each process works in folders of its own: two bench runs at once must not remove each
// other's files.
std::string Pid() { return "_" + std::to_string(getpid()); }

// The source of the pages the producers write.
struct TSource {
  virtual ~TSource() = default;
  TvqrReport* Report = nullptr;
  TvqrPreviewPages* Store = nullptr;
  fs::path Dir;
};

// A price list of text rows built directly in a prepared-page store: a bold header, then 45 rows
// a page of three framed memos (name, two right-aligned prices) that wrap, as text is written.
struct TTextList : TSource {
  explicit TTextList(int Rows) {
    Dir = fs::temp_directory_path() / ("vorenta_pdf_bench_text_" + std::to_string(Rows) + Pid());
    fs::create_directories(Dir);
    Owned = std::make_unique<TvqrReport>(nullptr);
    Report = Owned.get();
    Report->SetShowProgress(false);
    Report->PreviewOptions()->SetPagesInCache(100000);
    auto* Page = new TvqrReportPage(Report);
    Page->SetName(u"Page1");
    Page->SetPaperSize(9);
    for (auto Set : {&TvqrReportPage::SetLeftMargin, &TvqrReportPage::SetTopMargin,
                     &TvqrReportPage::SetRightMargin, &TvqrReportPage::SetBottomMargin})
      (Page->*Set)(10);
    auto* Head = new TvqrMasterData(Page);
    Head->SetName(u"Head");
    Head->SetBounds(0, 0, 718, 30);
    auto* Title = new TvqrMemoView(Head);
    Title->SetName(u"Title");
    Title->SetBounds(0, 0, 718, 30);
    Title->SetText(u"Прайс на каталог цвета от 09.12.2026");
    Title->Font()->SetStyle({fsBold});
    Title->Font()->SetSize(12);
    Title->SetHAlign(haCenter);
    auto* Row = new TvqrMasterData(Page);
    Row->SetName(u"Row");
    Row->SetBounds(0, 40, 718, 20);
    TvqrMemoView* Cells[3];
    const Extended Lefts[] = {0, 478, 598}, Widths[] = {478, 120, 120};
    for (int I = 0; I < 3; ++I) {
      Cells[I] = new TvqrMemoView(Row);
      Cells[I]->SetName(I == 0 ? u"Cell0" : I == 1 ? u"Cell1" : u"Cell2");
      Cells[I]->SetBounds(Lefts[I], 0, Widths[I], 20);
      Cells[I]->Frame()->SetTyp({ftLeft, ftRight, ftTop, ftBottom});
      if (I > 0) Cells[I]->SetHAlign(haRight);
    }
    // Outside an engine run the store keeps only positions and sizes (a first pass's pages);
    // the final pass keeps every value written.
    Report->Engine()->FinalPass = true;
    Store = static_cast<TvqrPreviewPages*>(Report->PreviewPages());
    Store->AddSourcePage(Page);
    Store->AddPageAction = apAdd;
    Store->CurPage = -1;
    const char16_t* Kinds[] = {u"Интерьерная", u"Наружная", u"Универсальная"};
    for (int R = 0; R < Rows; ++R) {
      if (R % 45 == 0) {
        Store->AddPage(Page);
        Store->AddObject(Head);
      }
      Row->SetTop(40 + (R % 45) * 20);
      // Built piece by piece: GCC 12 warns wrongly on a chain of string additions.
      String Name = u"К ";
      Name += IntToStr(10 + R % 90);
      Name += u'-';
      Name += IntToStr(R % 100);
      Name += u' ';
      Name += Kinds[R % 3];
      Cells[0]->SetText(Name);
      String Price = IntToStr(90 + R % 400);
      Price += u",00";
      Cells[1]->SetText(Price);
      String Alt = IntToStr(120 + R % 300);
      Alt += u",50";
      Cells[2]->SetText(Alt);
      Store->AddObject(Row);
    }
  }
  ~TTextList() override { fs::remove_all(Dir); }
  std::unique_ptr<TvqrReport> Owned;
};

// The module over a generated catalogue with the colour price list prepared.
struct TCatalogue : TSource {
  explicit TCatalogue(int Colours)
      : Sample("vorenta_pdf_bench_" + std::to_string(Colours) + Pid(), Colours) {
    Dir = Sample.Dir;
    Report = Sample.ColourPriceList();
    Report->PreviewOptions()->SetPagesInCache(100000);
    Sample.Reports->PrepareReport(u"vqrRepColorPrice", true);
    Store = static_cast<TvqrPreviewPages*>(Report->PreviewPages());
  }
  TBenchSample Sample;
};

void Ours(TSource& C, const fs::path& File, bool Embedded, const char16_t* Password) {
  TvqrPDFExport F(TvqrCustomExportFilter::NoRegisterTag{});
  F.SetShowDialog(false);
  F.SetShowProgress(false);
  F.SetEmbeddedFonts(Embedded);
  F.SetUserPassword(Password);
  F.SetFileName(Utf8ToString(File.string()));
  if (!C.Report->Export(&F)) std::fprintf(stderr, "export failed\n");
}

// ReadLikeExport: each page is read from the store and let go after drawing, as the engine's
// export driver does without a preview; otherwise pages come from the warmed cache.
void QtPdfWriter(TSource& C, const fs::path& File, bool ReadLikeExport) {
  TPrintDocument Doc(600);
  TCanvas Canvas;
  const double Scale = 600.0 / 96;
  for (int I = 0; I < C.Store->Count(); ++I) {
    TvqrReportPage* Page = C.Store->Page(I);
    Doc.BeginPage(&Canvas, double(Page->PaperWidth()), double(Page->PaperHeight()), 0, 0);
    C.Store->DrawPage(I, &Canvas, Scale, Scale, 0, 0);
    Doc.EndPage(&Canvas);
    if (ReadLikeExport) C.Store->ClearPageCache();
  }
  std::ofstream(File, std::ios::binary) << Doc.Finish();
}

#ifdef VORENTA_BENCH_CAIRO
// A canvas device over cairo's PDF surface, drawing in device pixels at 600 dpi: the pages
// are drawn by DrawPage through a TCanvas, as for QPdfWriter. Text is placed glyph by glyph
// from the font service's shaping (the same faces, files found by the font service) and the
// canvas's advances, with its UTF-8 text and clusters so the file's text can be extracted.
// Enough for the price lists: solid and dashed lines, rectangles, ellipses, polygons,
// fills, text (rotated too) and pictures; no raster operations, underlines or hatches.
class TCairoDevice : public TCanvasDevice {
public:
  explicit TCairoDevice(cairo_t* Cr) : FCr(Cr) {}
  ~TCairoDevice() override {
    for (auto& [Key, Face] : FFaces) cairo_font_face_destroy(Face);
  }
  TCanvasKind Kind() const override { return ckPrinter; }
  TSize SurfaceSize() const override { return {0, 0}; }
  int PixelsPerInch() const override { return 600; }

  void SetClip(const std::vector<TRect>* Rects) override {
    cairo_reset_clip(FCr);
    if (!Rects) return;
    for (const TRect& R : *Rects) cairo_rectangle(FCr, R.Left, R.Top, R.Width(), R.Height());
    cairo_clip(FCr);
  }
  void PatBlt(const TRect& R, const TDeviceBrush& Brush, unsigned) override {
    SetColor(Brush.Color);
    cairo_rectangle(FCr, R.Left, R.Top, R.Width(), R.Height());
    cairo_fill(FCr);
  }
  void Polyline(const std::vector<TPoint>& Points, const TDevicePen& Pen) override {
    if (Pen.Style == psClear || Points.size() < 2) return;
    cairo_move_to(FCr, Points[0].X + 0.5, Points[0].Y + 0.5);
    for (std::size_t I = 1; I < Points.size(); ++I)
      cairo_line_to(FCr, Points[I].X + 0.5, Points[I].Y + 0.5);
    Stroke(Pen);
  }
  void Shape(const TDeviceShape& S, const TDevicePen& Pen, const TDeviceBrush& Brush) override {
    const TRect& B = S.Bounds;
    if (S.Kind == skPolygon) {
      if (S.Points.empty()) return;
      cairo_move_to(FCr, S.Points[0].X + 0.5, S.Points[0].Y + 0.5);
      for (const TPoint& P : S.Points) cairo_line_to(FCr, P.X + 0.5, P.Y + 0.5);
      cairo_close_path(FCr);
    } else if (S.Kind == skEllipse) {
      cairo_save(FCr);
      cairo_translate(FCr, (B.Left + B.Right) / 2.0, (B.Top + B.Bottom) / 2.0);
      cairo_scale(FCr, std::max(B.Width() - 1, 1) / 2.0, std::max(B.Height() - 1, 1) / 2.0);
      cairo_arc(FCr, 0, 0, 1, 0, 2 * M_PI);
      cairo_restore(FCr);
    } else {
      cairo_rectangle(FCr, B.Left + 0.5, B.Top + 0.5, B.Width() - 1, B.Height() - 1);
    }
    if (Brush.Style != bsClear) {
      SetColor(Brush.Color);
      cairo_fill_preserve(FCr);
    }
    if (Pen.Style == psClear) return cairo_new_path(FCr);
    Stroke(Pen);
  }
  void Text(const TDeviceText& T) override {
    if (T.Text.empty()) return;
    auto& Service = TFontService::Instance();
    const TTextMetric M = Service.TextMetrics(T.Font.Request);
    const bool RTL = T.Options & ETO_RTLREADING;
    const std::vector<TShapedGlyph> Shaped = Service.Shape(T.Font.Request, T.Text, RTL);
    cairo_save(FCr);
    if (T.Options & ETO_OPAQUE) {
      SetColor(T.BkColor);
      cairo_rectangle(FCr, T.Rect.Left, T.Rect.Top, T.Rect.Width(), T.Rect.Height());
      cairo_fill(FCr);
    }
    if (T.Options & ETO_CLIPPED) {
      cairo_rectangle(FCr, T.Rect.Left, T.Rect.Top, T.Rect.Width(), T.Rect.Height());
      cairo_clip(FCr);
    }
    cairo_translate(FCr, T.Origin.X, T.Origin.Y);
    if (T.Font.Escapement != 0) cairo_rotate(FCr, -T.Font.Escapement / 10.0 * M_PI / 180);
    cairo_set_font_face(FCr, Face(T.Font.Request));
    cairo_set_font_size(FCr, M.tmHeight - M.tmInternalLeading);
    // Each glyph at the canvas's advance sum up to its cluster, further glyphs of a cluster
    // after the ones before them.
    std::vector<double> Start(T.Text.size() + 1, 0);
    for (std::size_t I = 0; I < T.Text.size(); ++I)
      Start[I + 1] = Start[I] + (I < T.Advances.size() ? T.Advances[I] : 0);
    std::vector<cairo_glyph_t> Glyphs;
    std::vector<cairo_text_cluster_t> Clusters;
    std::string Utf8;
    double InCluster = 0;
    for (std::size_t I = 0; I < Shaped.size(); ++I) {
      const TShapedGlyph& G = Shaped[I];
      const bool NewCluster = I == 0 || Shaped[I - 1].Cluster != G.Cluster;
      if (NewCluster) {
        InCluster = 0;
        int End = int(T.Text.size());
        for (const TShapedGlyph& O : Shaped)
          if (O.Cluster > G.Cluster) End = std::min(End, O.Cluster);
        const std::string Piece = StringToUtf8(T.Text.substr(std::size_t(G.Cluster), std::size_t(End - G.Cluster)));
        Utf8 += Piece;
        Clusters.push_back({int(Piece.size()), 0});
      }
      ++Clusters.back().num_glyphs;
      Glyphs.push_back({G.GlyphId, Start[std::size_t(G.Cluster)] + InCluster + G.XOffset,
                        M.tmAscent - G.YOffset});
      InCluster += G.XAdvance;
    }
    SetColor(T.Font.Color);
    cairo_show_text_glyphs(FCr, Utf8.data(), int(Utf8.size()), Glyphs.data(), int(Glyphs.size()),
                           Clusters.data(), int(Clusters.size()),
                           RTL ? CAIRO_TEXT_CLUSTER_FLAG_BACKWARD : cairo_text_cluster_flags_t(0));
    cairo_restore(FCr);
  }
  void Image(const TRect& Dest, const TBitmap& Source, const TRect& SrcRect, unsigned, int,
             std::optional<TColorRef>) override {
    const int W = SrcRect.Width(), H = SrcRect.Height();
    if (W <= 0 || H <= 0) return;
    cairo_surface_t* Img = cairo_image_surface_create(CAIRO_FORMAT_RGB24, W, H);
    auto* Data = cairo_image_surface_get_data(Img);
    const int Stride = cairo_image_surface_get_stride(Img);
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < W; ++X) {
        const TColorRef C = Source.PixelRGB(SrcRect.Left + X, SrcRect.Top + Y);
        reinterpret_cast<std::uint32_t*>(Data + Y * Stride)[X] =
            std::uint32_t(GetRValue(C)) << 16 | std::uint32_t(GetGValue(C)) << 8 | GetBValue(C);
      }
    cairo_surface_mark_dirty(Img);
    cairo_save(FCr);
    cairo_translate(FCr, Dest.Left, Dest.Top);
    cairo_scale(FCr, double(Dest.Width()) / W, double(Dest.Height()) / H);
    cairo_set_source_surface(FCr, Img, 0, 0);
    cairo_paint(FCr);
    cairo_restore(FCr);
    cairo_surface_destroy(Img);
  }
  TColorRef GetPixel(int, int) override { return CLR_INVALID; }
  void SetPixel(int X, int Y, TColorRef Color) override {
    PatBlt({X, Y, X + 1, Y + 1}, {Color, bsSolid, std::nullopt}, PATCOPY);
  }
  bool ReadPixels(const TRect&, TBitmap&) override { return false; }

private:
  void SetColor(TColorRef C) {
    cairo_set_source_rgb(FCr, GetRValue(C) / 255.0, GetGValue(C) / 255.0, GetBValue(C) / 255.0);
  }
  void Stroke(const TDevicePen& Pen) {
    SetColor(Pen.Color);
    cairo_set_line_width(FCr, std::max(Pen.Width, 1));
    static const double Dash[] = {18, 6}, Dot[] = {3, 3};
    if (Pen.Style == psDash) cairo_set_dash(FCr, Dash, 2, 0);
    else if (Pen.Style == psDot) cairo_set_dash(FCr, Dot, 2, 0);
    else cairo_set_dash(FCr, nullptr, 0, 0);
    cairo_stroke(FCr);
  }
  // The face file the font service resolves for the request, opened once.
  cairo_font_face_t* Face(const TFontRequest& R) {
    const TFontFile File = TFontService::Instance().Resolve(R.Name, R.Bold, R.Italic);
    cairo_font_face_t*& Face = FFaces[{File.Path, File.Index}];
    if (!Face) {
      FcPattern* Pattern = FcPatternCreate();
      FcPatternAddString(Pattern, FC_FILE, reinterpret_cast<const FcChar8*>(File.Path.c_str()));
      FcPatternAddInteger(Pattern, FC_INDEX, File.Index);
      Face = cairo_ft_font_face_create_for_pattern(Pattern);
      FcPatternDestroy(Pattern);
    }
    return Face;
  }
  cairo_t* FCr;
  std::map<std::pair<std::string, int>, cairo_font_face_t*> FFaces;
};

cairo_status_t AppendToString(void* Closure, const unsigned char* Data, unsigned Length) {
  static_cast<std::string*>(Closure)->append(reinterpret_cast<const char*>(Data), Length);
  return CAIRO_STATUS_SUCCESS;
}

// The pages drawn by DrawPage onto cairo's PDF surface (fonts subset, streams compressed), as
// QPdfWriter reads them from the warmed cache.
void Cairo(TSource& C, const fs::path& File) {
  std::string Out;
  cairo_surface_t* Surface = cairo_pdf_surface_create_for_stream(AppendToString, &Out, 595, 842);
  cairo_t* Cr = cairo_create(Surface);
  TCanvas Canvas(std::make_unique<TCairoDevice>(Cr));
  const double Scale = 600.0 / 96;
  for (int I = 0; I < C.Store->Count(); ++I) {
    TvqrReportPage* Page = C.Store->Page(I);
    // Paper millimetres to points; the device draws in 600-dpi pixels.
    cairo_pdf_surface_set_size(Surface, double(Page->PaperWidth()) / 25.4 * 72,
                               double(Page->PaperHeight()) / 25.4 * 72);
    cairo_save(Cr);
    cairo_scale(Cr, 72.0 / 600, 72.0 / 600);
    C.Store->DrawPage(I, &Canvas, Scale, Scale, 0, 0);
    cairo_restore(Cr);
    cairo_show_page(Cr);
  }
  cairo_destroy(Cr);
  cairo_surface_finish(Surface);
  cairo_surface_destroy(Surface);
  std::ofstream(File, std::ios::binary) << Out;
}
#endif

struct TProducer {
  const char* Name;
  std::function<void(TSource&, const fs::path&)> Write;
};

// The words of a file's text, sorted: the producers draw the page's columns in different
// orders, so pdftotext reads them in different orders; the words must agree.
std::string Words(const std::string& Text) {
  std::vector<std::string> List;
  std::string Word;
  for (char Ch : Text + ' ') {
    if (Ch != ' ' && Ch != '\n' && Ch != '\f' && Ch != '\t' && Ch != '\r') {
      Word += Ch;
    } else if (!Word.empty()) {
      List.push_back(std::move(Word));
      Word.clear();
    }
  }
  std::sort(List.begin(), List.end());
  std::string Out;
  for (const std::string& W : List) (Out += W) += ' ';
  return Out;
}

void Measure(TSource& C, const char* Title) {
  const int Pages = C.Store->Count();
  std::printf("\n%s, %d pages\n", Title, Pages);
  std::printf("%-28s %10s %10s %10s %10s %8s\n", "producer", "median ms", "pages/s", "cpu p/s",
              "KB/page", "check");
  const TProducer Producers[] = {
      {"ours, subset fonts", [](TSource& C, const fs::path& F) { Ours(C, F, false, u""); }},
      {"ours, whole fonts", [](TSource& C, const fs::path& F) { Ours(C, F, true, u""); }},
      {"ours, protected (RC4-128)", [](TSource& C, const fs::path& F) { Ours(C, F, false, u"user"); }},
      {"QPdfWriter 600 dpi", [](TSource& C, const fs::path& F) { QtPdfWriter(C, F, false); }},
      {"QPdfWriter, pages as export", [](TSource& C, const fs::path& F) { QtPdfWriter(C, F, true); }},
#ifdef VORENTA_BENCH_CAIRO
      {"cairo PDF surface 600 dpi", [](TSource& C, const fs::path& F) { Cairo(C, F); }},
#endif
  };
  std::string Reference;  // the words of the first producer's file
  for (const auto& P : Producers) {
    const fs::path File = C.Dir / "out.pdf";
    P.Write(C, File);   // warm-up, and the file the readers check
    int Code = -1;
    const std::string Pw = std::string(P.Name).find("protected") != std::string::npos ? " --password=user" : "";
    CommandOutput("qpdf --check" + Pw + " " + File.string() + " >/dev/null 2>&1", &Code);
    const std::string Upw = Pw.empty() ? "" : " -upw user";
    const std::string Text = Words(CommandOutput("pdftotext" + Upw + " " + File.string() + " - 2>/dev/null"));
    if (Reference.empty()) Reference = Text;
    const bool SameText = !Text.empty() && Text == Reference;
    if (!SameText) {
      std::printf("%-28s TEXT DIFFERS from the first file's (%zu B against %zu B), not timed\n", P.Name,
                  Text.size(), Reference.size());
      continue;
    }
    const double Size = double(fs::file_size(File));
    std::vector<double> Times, CpuTimes;
    for (int I = 0; I < 5; ++I) {
      const auto Start = Clock::now();
      const double CpuStart = ThreadSeconds();
      P.Write(C, File);
      CpuTimes.push_back(ThreadSeconds() - CpuStart);
      Times.push_back(Seconds(Start));
    }
    std::sort(Times.begin(), Times.end());
    std::sort(CpuTimes.begin(), CpuTimes.end());
    const double Median = Times[2];
    std::printf("%-28s %10.1f %10.1f %10.1f %10.1f %8s %s (%zu B)\n", P.Name, Median * 1000,
                Pages / Median, Pages / CpuTimes[2], Size / 1024 / Pages,
                Code == 0 ? "qpdf ok" : "QPDF FAIL", "same text", Text.size());
  }
}

void EndToEnd(int Colours) {
  TCatalogue C(Colours);
  const auto Start = Clock::now();
  C.Sample.Reports->PrepareReport(u"vqrRepColorPrice", true);
  Ours(C, C.Dir / "cold.pdf", false, u"");
  std::printf("\ncolour price list command, %d colours, prepare and export: %.0f ms\n", Colours,
              Seconds(Start) * 1000);
}

}  // namespace

int main(int Argc, char** Argv) {
  // Qt's font database, from which QPdfWriter embeds the faces, needs the application object.
  QGuiApplication App(Argc, Argv);
  const std::string Only = Argc > 1 ? Argv[1] : "";
  auto Wanted = [&](const std::string& Title) { return Title.find(Only) != std::string::npos; };
  vqrOutputModuleInitialize();
  if (Only == "profile") {
    const int Times = Argc > 2 ? std::atoi(Argv[2]) : 30;
    const std::string Producer = Argc > 3 ? Argv[3] : "ours";
    const std::string List = Argc > 4 ? Argv[4] : "4900";
    std::unique_ptr<TSource> S;
    if (List.rfind("colour", 0) == 0)
      S = std::make_unique<TCatalogue>(std::atoi(List.c_str() + 6));
    else
      S = std::make_unique<TTextList>(std::atoi(List.c_str()));
    for (int I = 0; I < Times; ++I) {
#ifdef VORENTA_BENCH_CAIRO
      if (Producer == "cairo") {
        Cairo(*S, S->Dir / "out.pdf");
        continue;
      }
#endif
      if (Producer == "qt" || Producer == "qtwarm")
        QtPdfWriter(*S, S->Dir / "out.pdf", Producer == "qt");
      else
        Ours(*S, S->Dir / "out.pdf", false, u"");
    }
    return 0;
  }
  if (Only == "write" && Argc > 2) {
    // Our files of each list and mode into a folder, to compare two builds' output.
    const fs::path Dir = Argv[2];
    auto WriteAll = [&](TSource& S, const std::string& Stem) {
      Ours(S, Dir / (Stem + "-subset.pdf"), false, u"");
      Ours(S, Dir / (Stem + "-whole.pdf"), true, u"");
      Ours(S, Dir / (Stem + "-protected.pdf"), false, u"user");
#ifdef VORENTA_BENCH_CAIRO
      Cairo(S, Dir / (Stem + "-cairo.pdf"));
#endif
    };
    for (int Rows : {1100, 4900}) {
      TTextList L(Rows);
      WriteAll(L, "text" + std::to_string(Rows));
    }
    TCatalogue C(2000);
    WriteAll(C, "colour2000");
    return 0;
  }
  for (int Rows : {1100, 4900}) {
    const std::string Title = "text price list, " + std::to_string(Rows) + " rows";
    if (!Wanted(Title)) continue;
    TTextList L(Rows);
    Measure(L, Title.c_str());
  }
  for (int Colours : {2000, 10000}) {
    const std::string Title = "application's colour price list, " + std::to_string(Colours) + " colours";
    if (!Wanted(Title)) continue;
    TCatalogue C(Colours);
    Measure(C, Title.c_str());
  }
  if (Wanted("colour price list command")) EndToEnd(10000);
  rusage U{};
  getrusage(RUSAGE_SELF, &U);
  std::printf("peak RSS %.0f MB\n", U.ru_maxrss / 1024.0);
  return 0;
}
