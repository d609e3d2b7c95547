// vqrExportPDF.cpp - the PDF export filter's document: options, object numbering, pages, the
// page tree, Info, catalogue, cross-reference table and trailer, and the file's life.
#include "report/output/vqrExportPDF.h"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <exception>

#include "platform/classes/Streams.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"
#include "platform/shell/Guid.h"
#include "platform/shell/ShellOpen.h"
#include "platform/controls/Forms.h"
#include "report/core/vqrClassPages.h"
#include "report/core/vqrClassReport.h"
#include "report/core/vqrClassViews.h"
#include "report/core/vqrRes.h"
#include "report/core/vqrUtils.h"
#include "report/output/GZipResourceReader.h"
#include "report/output/vqrExportPDF_p.h"
#include "report/output/vqrPDFFont.h"
#include "report/output/vqrmd5.h"

using namespace vqrpdf;

REGISTER_CLASS(TvqrPDFExport) {
  using F = TvqrPDFExport;
  Class.Property("Compressed", &F::Compressed, &F::SetCompressed, true)
      .Property("EmbeddedFonts", &F::EmbeddedFonts, &F::SetEmbeddedFonts, false)
      .Property("OpenAfterExport", &F::OpenAfterExport, &F::SetOpenAfterExport, false)
      .Property("PrintOptimized", &F::PrintOptimized, &F::SetPrintOptimized, false)
      .Property("Outline", &F::Outline, &F::SetOutline, false)
      .Property("Background", &F::Background, &F::SetBackground, false)
      .Property("HTMLTags", &F::HTMLTags, &F::SetHTMLTags, true)
      .Property("Author", &F::Author, &F::SetAuthor)
      .Property("Subject", &F::Subject, &F::SetSubject)
      .Property("Title", &F::Title, &F::SetTitle)
      .Property("Keywords", &F::Keywords, &F::SetKeywords)
      .Property("Creator", &F::Creator, &F::SetCreator)
      .Property("Producer", &F::Producer, &F::SetProducer)
      .Property("UserPassword", &F::UserPassword, &F::SetUserPassword)
      .Property("OwnerPassword", &F::OwnerPassword, &F::SetOwnerPassword)
      .Property("ProtectionFlags", &F::ProtectionFlags, &F::SetProtectionFlags)
      .Property("HideToolbar", &F::HideToolbar, &F::SetHideToolbar, false)
      .Property("HideMenubar", &F::HideMenubar, &F::SetHideMenubar, false)
      .Property("HideWindowUI", &F::HideWindowUI, &F::SetHideWindowUI, false)
      .Property("FitWindow", &F::FitWindow, &F::SetFitWindow, false)
      .Property("CenterWindow", &F::CenterWindow, &F::SetCenterWindow, false)
      .Property("PrintScaling", &F::PrintScaling, &F::SetPrintScaling, false);
}

namespace vqrpdf {

// Most numbers are coordinates and sizes far from a rounding tie: their cents come straight
// from the binary value. A value within a millionth of a cent of a tie, or a huge one, takes
// FloatToFixedText's decimal route, so every text equals FloatToFixedText(2, '.', X).
std::string Num(Extended X) {
  const Extended A = std::fabs(X);
  if (A < 1e7L) {
    const Extended V = A * 100;
    const Extended Nearest = RoundHalfEven(V);
    if (std::fabs(std::fabs(V - Nearest) - 0.5L) > 1e-6L) {
      const auto Cents = static_cast<unsigned long long>(static_cast<double>(Nearest));
      char Buf[24];
      char* P = Buf + sizeof Buf;
      unsigned long long Int = Cents / 100;
      const unsigned Frac = unsigned(Cents % 100);
      *--P = char('0' + Frac % 10);
      *--P = char('0' + Frac / 10);
      *--P = '.';
      do {
        *--P = char('0' + Int % 10);
        Int /= 10;
      } while (Int != 0);
      if (X < 0 && Cents != 0) *--P = '-';
      return std::string(P, std::size_t(Buf + sizeof Buf - P));
    }
  }
  return StringToUtf8(FloatToFixedText(2, u'.', X));
}

}  // namespace vqrpdf

namespace {

// Written bytes go to the file in pieces of about this size: a buffer that stays small is
// reused page after page, where one grown to megabytes is moved and faulted in again.
constexpr std::size_t kFlushSize = 128 * 1024;

TvqrPDFExport::TDialogHook& DialogHook() {
  static TvqrPDFExport::TDialogHook Hook;
  return Hook;
}

// Collects what is written into a string; only appending is possible.
class TStringWriter : public TStream {
public:
  explicit TStringWriter(std::string& Out) : FOut(Out) {}
  Int64 Read(void*, Int64) override { return 0; }
  Int64 Write(const void* Buffer, Int64 Count) override {
    FOut.append(static_cast<const char*>(Buffer), std::size_t(Count));
    return Count;
  }
  Int64 Seek(Int64, TSeekOrigin) override { return Int64(FOut.size()); }

private:
  std::string& FOut;
};

// The bytes are handed to the compressor where they lie, with no copy through a block.
std::string Deflate(std::string_view Data) {
  std::string Out;
  Out.reserve(Data.size() / 4 + 64);
  TStringWriter Dest(Out);
  TZCompressionStream Z(&Dest, zcFastest);
  Z.WriteBuffer(Data.data(), Int64(Data.size()));
  Z.Finish();
  return Out;
}

std::string TenDigits(long long Offset) {
  std::string S = std::to_string(Offset);
  return std::string(S.size() < 10 ? 10 - S.size() : 0, '0') + S;
}

bool IsRegularFile(const String& FileName) {
  struct stat St{};
  return ::stat(StringToUtf8(FileName).c_str(), &St) == 0 && S_ISREG(St.st_mode);
}

}  // namespace

TvqrPDFExport::TvqrPDFExport(TComponent* AOwner) : TvqrCustomExportFilter(AOwner) {
  SetDefaults();
}

TvqrPDFExport::TvqrPDFExport(NoRegisterTag Tag) : TvqrCustomExportFilter(Tag) { SetDefaults(); }

TvqrPDFExport::~TvqrPDFExport() {
  if (pdf) CloseOutput(true);
  ClearDocumentState();
}

void TvqrPDFExport::SetDefaults() {
  FilterDesc = StringById(8707);
  DefaultExt = StringById(8708);
  FAuthor = u"Quillerant";
  FSubject = u"Quillerant PDF export";
  if (Application) FCreator = Application->Name();
  // P follows the default permissions from the start, so a password set in code without
  // assigning the flags still gives a usable document.
  SetProtectionFlags({ePrint, eModify, eCopy, eAnnot});
}

void TvqrPDFExport::SetProtectionFlags(TvqrPDFEncBits Value) {
  FProtectionFlags = Value;
  FEncBits = ProtectionValue(Value);
}

String TvqrPDFExport::GetDescription() { return StringTable()->Get(u"PDFexport"); }

TvqrPDFExport::TDialogHook TvqrPDFExport::SetDialogHookForTests(TDialogHook Hook) {
  TDialogHook Previous = std::move(DialogHook());
  DialogHook() = std::move(Hook);
  return Previous;
}

String TvqrPDFExport::TargetFileName() const {
  const String Name = FileName();
  if (Name.find(u'/') != String::npos || DefaultPath().empty()) return Name;
  return IncludeTrailingPathDelimiter(DefaultPath()) + Name;
}

void TvqrPDFExport::ClearDocumentState() {
  FFonts.clear();
  FPageFonts.clear();
  FXRef.clear();
  FPagesRef.clear();
  OutStream.clear();
  FLastColor = 0;
  FLastColorResult = "0 0 0";
  FMemoLayouts.clear();
}

int TvqrPDFExport::NewObjectNumber() {
  FXRef.push_back(Offset());
  return int(FXRef.size());
}

void TvqrPDFExport::WriteReservedHeader(int Object) {
  FXRef[std::size_t(Object - 1)] = Offset();
  WriteLn(ObjectHeaderText(Object));
}

std::string TvqrPDFExport::Encrypt(int Object, std::string Data) const {
  if (FProtection) EncryptObjectData(FEncKey, Object, Data);
  return Data;
}

std::string TvqrPDFExport::LiteralString(int Object, std::string_view Bytes) const {
  // Built piece by piece: GCC 12 warns wrongly on a chain of string additions here.
  std::string Out = "(";
  Out += EscapeLiteralString(Encrypt(Object, std::string(Bytes)));
  Out += ')';
  return Out;
}

std::string TvqrPDFExport::TextString(int Object, const String& Value) const {
  std::string Utf16 = "\xFE\xFF";
  for (char16_t U : Value) {
    Utf16 += char(U >> 8);
    Utf16 += char(U & 0xFF);
  }
  if (FProtection) return LiteralString(Object, Utf16);
  return "<FEFF" + HexOfUnicodeText(Value) + ">";
}

void TvqrPDFExport::WriteStreamObject(int Object, const std::string& Data) {
  WriteLn(ObjectHeaderText(Object));
  std::string Body;
  if (FCompressed) {
    Body = Encrypt(Object, Deflate(Data));
    WriteLn("<< /Length " + Dec(Body.size()) + "  /Filter /FlateDecode /Length1 " +
            Dec(Data.size()) + " >>");
  } else {
    Body = Encrypt(Object, Data);
    WriteLn("<< /Length " + Dec(Body.size()) + " /Length1 " + Dec(Data.size()) + " >>");
  }
  WriteLn("stream");
  Write(Body);
  EndStreamData(Body);
  WriteLn("endstream");
  WriteLn("endobj");
}

// "endstream" starts a line of its own: after data that does not end with a line end (compressed
// or encrypted bytes) one empty line follows.
void TvqrPDFExport::EndStreamData(const std::string& Body) {
  if (Body.empty() || Body.back() != '\n') WriteLn("");
}

void TvqrPDFExport::Flush() {
  if (FOut.empty() || !pdf) return;
  errno = 0;
  if (pdf->Write(FOut.data(), Int64(FOut.size())) != Int64(FOut.size())) {
    const int Code = errno;
    if (FOwnStream && Code != 0)
      throw EWriteError(u"Cannot write file \"" + FOpenedFile + u"\". " +
                        Utf8ToString(std::strerror(Code)));
    throw EWriteError(u"Stream write error");
  }
  FFlushed += Int64(FOut.size());
  FOut.clear();
}

void TvqrPDFExport::CloseOutput(bool Abandon) {
  pdf = nullptr;
  FOut.clear();
  FOwnStream.reset();
  // Only a regular file the filter created is removed: a device such as /dev/full stays.
  if (Abandon && !FOpenedFile.empty() && IsRegularFile(FOpenedFile)) DeleteFile(FOpenedFile);
  FOpenedFile.clear();
}

// =============================================================================================
// The driver's calls
// =============================================================================================

bool TvqrPDFExport::Start() {
  if (SlaveExport) {
    const String Base = Report && !Report->FileName().empty()
                            ? ExtractFileName(Report->FileName())
                            : ExtractFileName(NewTempFileName());
    SetFileName(IncludeTrailingPathDelimiter(SystemTempPath()) + ChangeFileExt(Base, DefaultExt));
  }
  if (FileName().empty() && !Stream) return false;
  SetFileName(TargetFileName());
  FProtection = !FOwnerPassword.empty() || !FUserPassword.empty();
  ClearDocumentState();
  FOut.clear();
  FOut.reserve(kFlushSize + (kFlushSize >> 1));
  FFlushed = 0;
  if (Stream) {
    pdf = Stream;
  } else {
    FOwnStream = std::make_unique<TFileStream>(FileName(), fmCreate);
    FOpenedFile = FileName();
    pdf = FOwnStream.get();
  }
  FUncaught = std::uncaught_exceptions();
  FFileID = MD5HexOfText(StringToUtf8(CreateGUID()));
  if (FProtection) {
    if (FOwnerPassword.empty()) FOwnerPassword = FUserPassword;
    const TvqrPDFSecurityKeys Keys = ComputeSecurityKeys(
        StringToAnsi(FOwnerPassword), StringToAnsi(FUserPassword), FEncBits, FFileID);
    FOPass = Keys.O;
    FUPass = Keys.U;
    FEncKey = Keys.Key;
    FEmbeddedFonts = true;
  }
  WriteLn("%PDF-1.5");
  NewObjectNumber();   // the page tree, written last
  return true;
}

void TvqrPDFExport::StartPage(TvqrReportPage* Page, int) {
  // The paper's own size: the page's pixel size is rounded to whole pixels.
  FWidth = Page->PaperWidth() * vq01cm * 0.75L;
  FHeight = Page->PaperHeight() * vq01cm * 0.75L;
  FMarginLeft = Page->LeftMargin() * 0.05L;
  FMarginTop = Page->TopMargin() * 0.05L;
  OutStream.clear();
}

void TvqrPDFExport::ExportObject(TvqrComponent* Obj) {
  auto* View = dynamic_cast<TvqrView*>(Obj);
  if (!View || !pdf) return;
  if (View->Printable() || ExportNotPrintable()) WriteViewContent(View);
}

void TvqrPDFExport::FinishPage(TvqrReportPage*, int) {
  if (!pdf || std::uncaught_exceptions() > FUncaught) return;
  const int C = NewObjectNumber();
  WriteLn(ObjectHeaderText(C));
  Write("<< ");
  std::string Body;
  if (FCompressed) {
    Body = Encrypt(C, Deflate(OutStream));
    WriteLn("/Filter /FlateDecode /Length " + Dec(Body.size()) + " /Length1 " +
            Dec(OutStream.size()) + " >>");
  } else {
    Body = Encrypt(C, OutStream);
    WriteLn("/Length " + Dec(Body.size()) + " >>");
  }
  WriteLn("stream");
  Write(Body);
  EndStreamData(Body);
  WriteLn("endstream");
  WriteLn("endobj");
  OutStream.clear();
  for (TvqrPDFFont* Font : FPageFonts)
    if (!Font->Saved) {
      Font->Reference = NewObjectNumber();
      Font->Saved = true;
    }
  const int P = NewObjectNumber();
  FPagesRef.push_back(P);
  WriteLn(ObjectHeaderText(P));
  WriteLn("<<");
  WriteLn("/Type /Page");
  WriteLn("/Parent 1 0 R");
  WriteLn("/MediaBox [0 0 " + Num(FWidth) + " " + Num(FHeight) + " ]");
  WriteLn("/Resources <<");
  Write("/Font << ");
  for (TvqrPDFFont* Font : FPageFonts) Write(Font->Name + " " + ObjectRefText(Font->Reference) + " ");
  WriteLn(">>");
  WriteLn("/XObject <<");
  WriteLn(">>");
  WriteLn("/ProcSet [/PDF /Text /ImageC ]");
  WriteLn(">>");
  WriteLn("/Contents " + ObjectRefText(C));
  WriteLn(">>");
  WriteLn("endobj");
  if (FOut.size() > kFlushSize) Flush();
}

void TvqrPDFExport::Finish() {
  if (!pdf) return;
  // An export interrupted between Start and here: the partial file is removed.
  if (std::uncaught_exceptions() > FUncaught) {
    CloseOutput(true);
    ClearDocumentState();
    return;
  }
  try {
    for (auto& Font : FFonts) WriteFont(Font.get());
    FXRef[0] = Offset();
    WriteLn(ObjectHeaderText(1));
    WriteLn("<<");
    WriteLn("/Type /Pages");
    Write("/Kids [");
    for (int P : FPagesRef) Write(ObjectRefText(P) + " ");
    WriteLn("]");
    WriteLn("/Count " + Dec(FPagesRef.size()));
    WriteLn(">>");
    WriteLn("endobj");

    const int I = NewObjectNumber();
    WriteLn(ObjectHeaderText(I));
    WriteLn("<<");
    const std::pair<const char*, const String*> Info[] = {
        {"/Title ", &FTitle},       {"/Author ", &FAuthor},   {"/Subject ", &FSubject},
        {"/Keywords ", &FKeywords}, {"/Creator ", &FCreator}, {"/Producer ", &FProducer}};
    for (const auto& [Key, Value] : Info) WriteLn(Key + TextString(I, *Value));
    const std::string D = "D:" + StringToUtf8(FormatDateTime(u"yyyymmddhhnnss", Now()));
    WriteLn("/CreationDate " + LiteralString(I, D));
    WriteLn("/ModDate " + LiteralString(I, D));
    WriteLn(">>");
    WriteLn("endobj");

    const int R = NewObjectNumber();
    WriteLn(ObjectHeaderText(R));
    WriteLn("<<");
    WriteLn("/Type /Catalog");
    WriteLn("/Pages " + ObjectRefText(1));
    WriteLn("/PageMode /UseNone");
    WriteLn("/ViewerPreferences <<");
    if (!FTitle.empty()) WriteLn("/DisplayDocTitle true");
    if (FHideToolbar) WriteLn("/HideToolbar true");
    if (FHideMenubar) WriteLn("/HideMenubar true");
    if (FHideWindowUI) WriteLn("/HideWindowUI true");
    if (FFitWindow) WriteLn("/FitWindow true");
    if (FCenterWindow) WriteLn("/CenterWindow true");
    if (!FPrintScaling) WriteLn("/PrintScaling /None");
    WriteLn(">>");
    WriteLn(">>");
    WriteLn("endobj");

    const long long StartXRef = Offset();
    WriteLn("xref");
    WriteLn("0 " + Dec(FXRef.size() + 1));
    WriteLn("0000000000 65535 f");
    for (long long X : FXRef) WriteLn(TenDigits(X) + " 00000 n");
    WriteLn("trailer");
    WriteLn("<<");
    WriteLn("/Size " + Dec(FXRef.size() + 1));
    WriteLn("/Root " + ObjectRefText(R));
    WriteLn("/Info " + ObjectRefText(I));
    WriteLn("/ID [<" + FFileID + "><" + FFileID + ">]");
    if (FProtection) {
      WriteLn("/Encrypt <<");
      WriteLn("/Filter /Standard");
      WriteLn("/V 2");
      WriteLn("/R 3");
      WriteLn("/Length 128");
      WriteLn("/P " + Dec(FEncBits));
      WriteLn("/O (" + EscapeLiteralString(FOPass) + ")");
      WriteLn("/U (" + EscapeLiteralString(FUPass) + ")");
      WriteLn(">>");
    }
    WriteLn(">>");
    WriteLn("startxref");
    WriteLn(Dec(StartXRef));
    WriteLn("%%EOF");
    Flush();
  } catch (...) {
    CloseOutput(true);
    ClearDocumentState();
    throw;
  }
  const bool Opened = FOwnStream != nullptr;
  CloseOutput(false);
  ClearDocumentState();
  if (FOpenAfterExport && Opened) ShellOpen(FileName());
}
