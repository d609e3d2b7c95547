// vqrExportPDF.h - TvqrPDFExport, the export filter that writes the prepared pages of a report
// as one PDF 1.5 file (or into a caller's stream): text as glyphs of embedded TrueType fonts,
// lines and shapes as paths, everything else as JPEG pictures, optionally protected.
//
// The document side (objects, pages, page tree, Info, catalogue, trailer) is vqrExportPDF.cpp;
// page content vqrExportPDFContent.cpp; font objects vqrExportPDFFonts.cpp; the font class
// vqrPDFFont.h; the security handler vqrPDFSecurity.h.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "report/core/vqrClassAbstract.h"
#include "report/output/vqrPDFSecurity.h"

class TvqrPDFFont;
class TvqrView;
class TvqrCustomMemoView;
class TvqrCustomLineView;
class TvqrShapeView;
class TvqrFrameLine;

class TvqrPDFExport : public TvqrCustomExportFilter {
  VORENTA_CLASS(TvqrPDFExport, TvqrCustomExportFilter)
public:
  explicit TvqrPDFExport(TComponent* AOwner);
  explicit TvqrPDFExport(NoRegisterTag);
  ~TvqrPDFExport() override;

  String GetDescription() override;
  int ShowModal() override;
  bool Start() override;
  void ExportObject(TvqrComponent* Obj) override;
  void Finish() override;
  void FinishPage(TvqrReportPage* Page, int Index) override;
  void StartPage(TvqrReportPage* Page, int Index) override;

  // --- published ----------------------------------------------------------------------------
  bool Compressed() const { return FCompressed; }
  void SetCompressed(bool Value) { FCompressed = Value; }
  bool EmbeddedFonts() const { return FEmbeddedFonts; }
  void SetEmbeddedFonts(bool Value) { FEmbeddedFonts = Value; }
  bool OpenAfterExport() const { return FOpenAfterExport; }
  void SetOpenAfterExport(bool Value) { FOpenAfterExport = Value; }
  bool PrintOptimized() const { return FPrintOptimized; }
  void SetPrintOptimized(bool Value) { FPrintOptimized = Value; }
  bool Outline() const { return FOutline; }
  void SetOutline(bool Value) { FOutline = Value; }
  bool Background() const { return FBackground; }
  void SetBackground(bool Value) { FBackground = Value; }
  bool HTMLTags() const { return FHTMLTags; }
  void SetHTMLTags(bool Value) { FHTMLTags = Value; }
  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value) { FTitle = Value; }
  const String& Author() const { return FAuthor; }
  void SetAuthor(const String& Value) { FAuthor = Value; }
  const String& Subject() const { return FSubject; }
  void SetSubject(const String& Value) { FSubject = Value; }
  const String& Keywords() const { return FKeywords; }
  void SetKeywords(const String& Value) { FKeywords = Value; }
  const String& Creator() const { return FCreator; }
  void SetCreator(const String& Value) { FCreator = Value; }
  const String& Producer() const { return FProducer; }
  void SetProducer(const String& Value) { FProducer = Value; }
  const String& UserPassword() const { return FUserPassword; }
  void SetUserPassword(const String& Value) { FUserPassword = Value; }
  const String& OwnerPassword() const { return FOwnerPassword; }
  void SetOwnerPassword(const String& Value) { FOwnerPassword = Value; }
  TvqrPDFEncBits ProtectionFlags() const { return FProtectionFlags; }
  // Also computes the P value.
  void SetProtectionFlags(TvqrPDFEncBits Value);
  bool HideToolbar() const { return FHideToolbar; }
  void SetHideToolbar(bool Value) { FHideToolbar = Value; }
  bool HideMenubar() const { return FHideMenubar; }
  void SetHideMenubar(bool Value) { FHideMenubar = Value; }
  bool HideWindowUI() const { return FHideWindowUI; }
  void SetHideWindowUI(bool Value) { FHideWindowUI = Value; }
  bool FitWindow() const { return FFitWindow; }
  void SetFitWindow(bool Value) { FFitWindow = Value; }
  bool CenterWindow() const { return FCenterWindow; }
  void SetCenterWindow(bool Value) { FCenterWindow = Value; }
  bool PrintScaling() const { return FPrintScaling; }
  void SetPrintScaling(bool Value) { FPrintScaling = Value; }

  // The P value of the permissions.
  int EncBits() const { return FEncBits; }
  // "Report/" + "x.pdf": DefaultPath and a bare FileName joined with one "/".
  String TargetFileName() const;

  // --- for tests ----------------------------------------------------------------------------
  // Replaces the options and save dialogs: returns the modal result and may change the
  // filter (FileName included). Without one the dialogs are shown.
  using TDialogHook = std::function<int(TvqrPDFExport* Filter)>;
  static TDialogHook SetDialogHookForTests(TDialogHook Hook);

private:
  friend class TvqrPDFContentWriter;
  friend class TvqrPDFExportDialog;

  void SetDefaults();
  void ClearDocumentState();
  void CloseOutput(bool Abandon);
  void Flush();

  // --- output primitives
  void Write(std::string_view Text) { FOut.append(Text); }
  void WriteLn(std::string_view Text) {
    FOut.append(Text);
    FOut.append("\r\n");
  }
  long long Offset() const { return FFlushed + static_cast<long long>(FOut.size()); }
  int NewObjectNumber();
  // Writes "n 0 obj" for a number reserved earlier, pointing its entry at this offset.
  void WriteReservedHeader(int Object);
  // A stream object: dictionary, data (compressed when Compressed, encrypted when protected).
  void WriteStreamObject(int Object, const std::string& Data);
  void EndStreamData(const std::string& Body);
  std::string Encrypt(int Object, std::string Data) const;
  // A literal string "(...)" of 8-bit text, encrypted with Object's key when protected.
  std::string LiteralString(int Object, std::string_view Bytes) const;
  // An Info or other text string: hex UTF-16BE with FE FF, or its encrypted literal.
  std::string TextString(int Object, const String& Value) const;

  // --- fonts (vqrExportPDFFonts.cpp)
  int FindPageFont(TFont* Font);
  TvqrPDFFont* FindDocumentFont(TFont* Font);
  void WriteFont(TvqrPDFFont* Font);

  // --- content (vqrExportPDFContent.cpp)
  void WriteViewContent(TvqrView* View);

  bool FCompressed = true, FEmbeddedFonts = false, FOpenAfterExport = false;
  bool FPrintOptimized = false, FOutline = false, FBackground = false, FHTMLTags = true;
  String FTitle, FAuthor, FSubject, FKeywords, FCreator, FProducer;
  String FUserPassword, FOwnerPassword;
  TvqrPDFEncBits FProtectionFlags;
  bool FHideToolbar = false, FHideMenubar = false, FHideWindowUI = false;
  bool FFitWindow = false, FCenterWindow = false, FPrintScaling = false;

  // document state
  TStream* pdf = nullptr;
  std::unique_ptr<TStream> FOwnStream;
  String FOpenedFile;          // the file the filter created, removed when the export fails
  std::string FOut;            // bytes not yet written to pdf
  long long FFlushed = 0;      // bytes written to pdf
  int FUncaught = 0;           // exceptions in flight when Start ran
  std::vector<long long> FXRef;
  std::vector<int> FPagesRef;
  std::vector<std::unique_ptr<TvqrPDFFont>> FFonts;
  std::vector<TvqrPDFFont*> FPageFonts;
  Extended FWidth = 0, FHeight = 0, FMarginLeft = 0, FMarginTop = 0;
  std::string OutStream;       // the current page's content
  bool FProtection = false;
  std::string FEncKey, FOPass, FUPass;
  int FEncBits = -4;
  std::string FFileID;
  TColor FLastColor = 0;
  std::string FLastColorResult = "0 0 0";
  int FLastLineStyle = -1;   // the last frame line's style and width, and their dash and
  Extended FLastLineWidth = 0;   // width lines
  std::string FLastEdgeStart;
  // Memo texts laid out in this document, by text and every setting the layout reads: price
  // lists repeat their texts, and the layout is a memo's largest cost after shaping.
  struct TMemoLayout {
    std::vector<String> Lines;
    Extended LineHeight = 0;
    std::vector<Extended> Widths;   // each line's width once measured; negative before
    std::vector<std::string> Glyphs;   // each line's glyph ids in hex once written; empty before
  };
  // Found by a key built in a reused buffer, without a string made for each look-up.
  struct TKeyHash {
    using is_transparent = void;
    std::size_t operator()(std::u16string_view Key) const {
      return std::hash<std::u16string_view>()(Key);
    }
  };
  std::unordered_map<std::u16string, TMemoLayout, TKeyHash, std::equal_to<>> FMemoLayouts;
  std::u16string FLayoutKey;
};
