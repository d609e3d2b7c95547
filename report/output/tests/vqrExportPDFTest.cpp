// vqrExportPDFTest.cpp - the PDF export's documents read back by qpdf and poppler, the file's
// structure, and its failure paths.
#include "report/output/vqrExportPDF.h"

#include <gtest/gtest.h>

#include <regex>
#include <unistd.h>

#include "PdfFixture.h"
#include "platform/classes/Streams.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"
#include "platform/shell/ShellOpen.h"

namespace {

std::string TempPath(const std::string& Name) {
  return "/tmp/vorenta-pdf-" + std::to_string(::getpid()) + "-" + Name;
}

bool Exists(const std::string& Path) { return ::access(Path.c_str(), F_OK) == 0; }

// The offsets of the cross-reference table's entries.
std::vector<long long> XRefOffsets(const std::string& Pdf) {
  std::vector<long long> Offsets;
  const auto X = Pdf.rfind("\r\nxref\r\n");
  std::size_t Pos = Pdf.find("65535 f\r\n", X) + 9;
  while (Pos + 20 <= Pdf.size() && Pdf.compare(Pos + 10, 9, " 00000 n\r") == 0) {
    Offsets.push_back(std::stoll(Pdf.substr(Pos, 10)));
    Pos += 20;
  }
  return Offsets;
}

}  // namespace

struct PdfMode {
  const char* Name;
  bool Compressed, Embedded;
  const char* Password;
  const char* Sub;   // pdffonts' "sub" column
};

class PdfExportModes : public ::testing::TestWithParam<PdfMode> {};

TEST_P(PdfExportModes, ReadersAcceptTheFileAndReadItsText) {
  const PdfMode M = GetParam();
  TPdfFixture Fx;
  const std::string Path = TempPath(std::string(M.Name) + ".pdf");
  auto F = Fx.Filter(Path);
  F->SetCompressed(M.Compressed);
  F->SetEmbeddedFonts(M.Embedded);
  F->SetUserPassword(Utf8ToString(M.Password));
  ASSERT_TRUE(Fx.Report()->Export(F.get()));
  const std::string Pw = *M.Password ? std::string(" --password=") + M.Password : "";
  const std::string Upw = *M.Password ? std::string(" -upw ") + M.Password : "";
  int Code = -1;
  const std::string Check = CommandOutput("qpdf --check" + Pw + " " + Path + " 2>&1", &Code);
  EXPECT_EQ(Code, 0) << Check;
  const std::string Text = CommandOutput("pdftotext" + Upw + " " + Path + " - 2>/dev/null");
  for (const char* Expected : {"Прайс на каталог цвета", "Краска фасадная белая 12 345,50 руб.",
                               "office fine flat", "Итого по заказу", "Подчёркнутый текст",
                               "Страница три: моноширинный"})
    EXPECT_NE(Text.find(Expected), std::string::npos) << Expected << "\n" << Text;
  const std::string Fonts = CommandOutput("pdffonts" + Upw + " " + Path + " 2>/dev/null");
  // name, type, encoding, emb, sub, uni for each of the five fonts
  const std::regex Row(std::string("CID TrueType +Identity-H +yes +") + M.Sub + " +yes");
  EXPECT_EQ(std::distance(std::sregex_iterator(Fonts.begin(), Fonts.end(), Row),
                          std::sregex_iterator()), 5) << Fonts;
  const std::string Info = CommandOutput("pdfinfo" + Upw + " " + Path + " 2>/dev/null");
  EXPECT_NE(Info.find("Title:           Прайс-лист"), std::string::npos) << Info;
  EXPECT_NE(Info.find("Pages:           3"), std::string::npos) << Info;
  EXPECT_NE(Info.find("595.28 x 841.89 pts"), std::string::npos) << Info;
  if (*M.Password) {
    const std::string Enc = CommandOutput("qpdf --show-encryption" + Pw + " " + Path + " 2>&1");
    EXPECT_NE(Enc.find("R = 3"), std::string::npos) << Enc;
    EXPECT_NE(Enc.find("P = -4"), std::string::npos) << Enc;
    EXPECT_NE(CommandOutput("qpdf --check " + Path + " 2>&1", &Code).find("password"), std::string::npos);
  }
  std::remove(Path.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Modes, PdfExportModes,
    ::testing::Values(PdfMode{"subset", true, false, "", "yes"},
                      PdfMode{"uncompressed", false, false, "", "yes"},
                      PdfMode{"whole", true, true, "", "no"},
                      PdfMode{"protected", true, false, "user", "no"}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(PdfExport, FileStructure) {
  TPdfFixture Fx;
  const std::string Path = TempPath("structure.pdf");
  auto F = Fx.Filter(Path);
  F->SetCompressed(false);
  ASSERT_TRUE(Fx.Report()->Export(F.get()));
  const std::string Pdf = ReadFileBytes(Path);
  ASSERT_EQ(Pdf.compare(0, 10, "%PDF-1.5\r\n"), 0);
  // Every line ends with CR LF outside stream data.
  const std::string Tail = Pdf.substr(Pdf.rfind("endobj"));
  EXPECT_EQ(Tail.find("\n", 0) - 1, Tail.find("\r\n"));
  // Every entry of the cross-reference table points at its object's header.
  const std::vector<long long> Offsets = XRefOffsets(Pdf);
  ASSERT_GT(Offsets.size(), 20u);
  for (std::size_t I = 0; I < Offsets.size(); ++I)
    EXPECT_EQ(Pdf.compare(std::size_t(Offsets[I]), std::to_string(I + 1).size() + 6,
                          std::to_string(I + 1) + " 0 obj"), 0) << "object " << I + 1;
  // Page 3's first font: its number comes between page 3's content and page object, and the
  // page lists every font used so far.
  const std::size_t Page3 = Pdf.rfind("/Type /Page\r\n");
  const std::string Page3Fonts = Pdf.substr(Pdf.find("/Font << ", Page3), 60);
  EXPECT_NE(Page3Fonts.find("/F0 "), std::string::npos);
  EXPECT_NE(Page3Fonts.find("/F4 "), std::string::npos) << Page3Fonts;
  const std::regex F3("/F4 (\\d+) 0 R");
  std::smatch Match;
  ASSERT_TRUE(std::regex_search(Page3Fonts, Match, F3));
  const int F3Ref = std::stoi(Match[1]);
  const std::regex PageObj("(\\d+) 0 obj\\r\\n<<\\r\\n/Type /Page\\r\\n");
  std::vector<int> PageNumbers;
  for (auto It = std::sregex_iterator(Pdf.begin(), Pdf.end(), PageObj); It != std::sregex_iterator(); ++It)
    PageNumbers.push_back(std::stoi((*It)[1]));
  ASSERT_EQ(PageNumbers.size(), 3u);
  EXPECT_EQ(F3Ref, PageNumbers[2] - 1);
  // Uncompressed content: only /Length, and "endstream" right after the last content line.
  EXPECT_NE(Pdf.find("<< /Length "), std::string::npos);
  EXPECT_NE(Pdf.find("Q\r\nendstream"), std::string::npos);
  // A new identifier each time, the same twice within one file.
  const std::regex Id("/ID \\[<([0-9a-f]{32})><([0-9a-f]{32})>\\]");
  ASSERT_TRUE(std::regex_search(Pdf, Match, Id));
  EXPECT_EQ(Match[1], Match[2]);
  const std::string First = Match[1];
  ASSERT_TRUE(Fx.Report()->Export(F.get()));
  const std::string Second = ReadFileBytes(Path);
  ASSERT_TRUE(std::regex_search(Second, Match, Id));
  EXPECT_NE(First, Match[1]);
  std::remove(Path.c_str());
}

TEST(PdfExport, CompressedStreamsAreFramedAndFontsShared) {
  TPdfFixture Fx;
  const std::string Path = TempPath("framing.pdf");
  auto F = Fx.Filter(Path);
  ASSERT_TRUE(Fx.Report()->Export(F.get()));
  const std::string Pdf = ReadFileBytes(Path);
  EXPECT_NE(Pdf.find("<< /Filter /FlateDecode /Length "), std::string::npos);
  // Arial, Times New Roman bold, DejaVu Sans, underlined Arial, Courier New: one font per name
  // and style.
  const std::string Names[] = {"Liberation#20Sans", "Liberation#20Serif,Bold", "DejaVu#20Sans",
                               "Liberation#20Mono"};
  for (const auto& N : Names) EXPECT_NE(Pdf.find("+" + N + "\r\n"), std::string::npos) << N;
  EXPECT_EQ(std::count(Pdf.begin(), Pdf.end(), '\0') > 0, true);   // binary font data
  std::size_t Type0 = 0;
  for (std::size_t P = Pdf.find("/Subtype /Type0"); P != std::string::npos;
       P = Pdf.find("/Subtype /Type0", P + 1))
    ++Type0;
  EXPECT_EQ(Type0, 5u);
  std::remove(Path.c_str());
}

TEST(PdfExport, FileNamesJoinTheDefaultPath) {
  struct Case { const char16_t *Path, *Name, *Expected; } Cases[] = {
      {u"/tmp/Report/", u"a.pdf", u"/tmp/Report/a.pdf"},
      {u"/tmp/Report", u"a.pdf", u"/tmp/Report/a.pdf"},
      {u"", u"a.pdf", u"a.pdf"},
      {u"/tmp/Report/", u"/x/a.pdf", u"/x/a.pdf"},
  };
  TvqrPDFExport F(TvqrCustomExportFilter::NoRegisterTag{});
  for (const auto& C : Cases) {
    F.SetDefaultPath(C.Path);
    F.SetFileName(C.Name);
    EXPECT_EQ(F.TargetFileName(), C.Expected) << ToUtf8(C.Name);
  }
}

TEST(PdfExport, FailuresLeaveNoFileBehind) {
  TPdfFixture Fx;
  // No name: the driver reports success and nothing is written.
  auto NoName = Fx.Filter("");
  EXPECT_TRUE(Fx.Report()->Export(NoName.get()));

  // A page list selecting no page: an error, no file.
  const std::string Path = TempPath("nopages.pdf");
  auto None = Fx.Filter(Path);
  None->PageNumbers = u"99";
  EXPECT_FALSE(Fx.Report()->Export(None.get()));
  EXPECT_EQ(Fx.Report()->Errors()->Text().find(u"Нет страниц для экспорта"), 0u)
      << ToUtf8(Fx.Report()->Errors()->Text());
  EXPECT_FALSE(Exists(Path));

  // A missing folder: the system's reason.
  auto Missing = Fx.Filter("/tmp/no-such-folder-vorenta/x.pdf");
  EXPECT_FALSE(Fx.Report()->Export(Missing.get()));
  EXPECT_NE(Fx.Report()->Errors()->Text().find(u"No such file or directory"), String::npos);

  // A full disk: the reason, and the device is left alone.
  auto Full = Fx.Filter("/dev/full");
  EXPECT_FALSE(Fx.Report()->Export(Full.get()));
  EXPECT_NE(Fx.Report()->Errors()->Text().find(u"No space left on device"), String::npos)
      << ToUtf8(Fx.Report()->Errors()->Text());
  EXPECT_TRUE(Exists("/dev/full"));

  // An exception between Start and Finish: the partial file is removed.
  const std::string Broken = TempPath("broken.pdf");
  int Pages = 0;
  struct TThrowingFilter : TvqrPDFExport {
    using TvqrPDFExport::TvqrPDFExport;
    int* Pages;
    void StartPage(TvqrReportPage* P, int I) override {
      if (++*Pages == 2) throw Exception(u"interrupted");
      TvqrPDFExport::StartPage(P, I);
    }
  } T(TvqrCustomExportFilter::NoRegisterTag{});
  T.Pages = &Pages;
  T.SetShowDialog(false);
  T.SetShowProgress(false);
  T.SetFileName(Utf8ToString(Broken));
  EXPECT_FALSE(Fx.Report()->Export(&T));
  EXPECT_FALSE(Exists(Broken));
}

TEST(PdfExport, OpensTheWrittenFileWhenAsked) {
  TPdfFixture Fx;
  std::vector<String> Opened;
  SetShellOpenerForTests([&](const String& T) { Opened.push_back(T); return true; });
  const std::string Path = TempPath("open.pdf");
  auto F = Fx.Filter(Path);
  F->SetOpenAfterExport(true);
  EXPECT_TRUE(Fx.Report()->Export(F.get()));
  TMemoryStream Caller;
  F->SetFileName(u"");
  F->Stream = &Caller;
  EXPECT_TRUE(Fx.Report()->Export(F.get()));   // a caller's stream is not opened
  SetShellOpenerForTests(nullptr);
  EXPECT_EQ(Opened, std::vector<String>{Utf8ToString(Path)});
  EXPECT_GT(Caller.Size(), 1000);
  std::remove(Path.c_str());
}

// Not a check: writes the fixture to $VORENTA_PDF_SAMPLE for looking at (pdftoppm).
TEST(PdfExport, SampleForLooking) {
  const char* Path = std::getenv("VORENTA_PDF_SAMPLE");
  if (!Path) GTEST_SKIP() << "set VORENTA_PDF_SAMPLE to write the sample";
  TPdfFixture Fx;
  auto F = Fx.Filter(Path);
  EXPECT_TRUE(Fx.Report()->Export(F.get()));
}

// Every picture of a stored page reaches the file: the picture view and the non-wrapping memo.
TEST(PdfExport, PicturesOfAStoredPageAreWritten) {
  TPdfFixture Fx;
  const std::string Path = TempPath("pictures.pdf");
  auto F = Fx.Filter(Path);
  ASSERT_TRUE(Fx.Report()->Export(F.get()));
  const std::string List = CommandOutput("pdfimages -list '" + Path + "' 2>/dev/null");
  EXPECT_NE(List.find("   2     0 image     121    81"), std::string::npos) << List;
  EXPECT_NE(List.find("   2     1 image     363   123"), std::string::npos) << List;
}
