// DBGridZkImpExp.h - the data grid's exchange unit: the export base and its five writers
// (tab-separated ANSI and UTF-16 text, CSV, RTF, the binary "VCLDBIF" form), the import base
// and its three readers, and the clipboard and delete routines the grid's Cut, Copy, Paste and
// Delete commands run.
//
// The unit is split by role:
//   DBGridZkImpExp.cpp           the export base, RunGridExporter/RunGridImporter, the unit's start
//   DBGridZkImpExpWriters.cpp    the text, UTF-16, CSV and VCLDBIF writers
//   DBGridZkImpExpRtf.cpp        the RTF writer and its title levels
//   DBGridZkImpExpImport.cpp     the import base: which records and columns receive values
//   DBGridZkImpExpReaders.cpp    the text and VCLDBIF readers
//   DBGridZkImpExpClipboard.cpp  copy, paste, cut and delete of the grid's selection
//
// Input from outside (the clipboard, files) is checked whole before the first record is
// touched, so malformed data changes nothing and raises the reader's format error.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gridlib/grid/DBGridZk.h"

class TStream;
class TStrings;
class TMemoryStreamZk;

// --- export ---------------------------------------------------------------------------------------

// Walks the grid's selection (or every record) and calls its write operations in this order:
// prefix, title (with dgTitles), one record row per record, the footer rows, suffix. Keeps the
// totals of sum and count footers over the exported records.
class TDBGridZkExport {
public:
  TDBGridZkExport();
  virtual ~TDBGridZkExport();
  TDBGridZkExport(const TDBGridZkExport&) = delete;
  TDBGridZkExport& operator=(const TDBGridZkExport&) = delete;

  TCustomDBGridZk* DBGridZk() const { return FDBGridZk; }
  void SetDBGridZk(TCustomDBGridZk* Value) { FDBGridZk = Value; }

  // Writes from the stream's position; IsExportAll: every record and visible column, else the
  // selection. On an exception the grid's position and the controls are restored and the
  // suffix is not written.
  virtual void ExportToStream(TStream* AStream, bool IsExportAll);
  // Creates (or truncates) the file, then ExportToStream; a file that cannot be created
  // raises EFCreateError before anything is written.
  void ExportToFile(const String& FileName, bool IsExportAll);

protected:
  virtual void WritePrefix() {}
  virtual void WriteSuffix() {}
  virtual void WriteTitle(const TColumnsZkList& Columns) { (void)Columns; }
  // Fills the cell parameters of each column for the current record and calls WriteDataCell.
  virtual void WriteRecord(const TColumnsZkList& Columns);
  virtual void WriteDataCell(TColumnZk* Column, TColCellParamsZk* CellParams) {
    (void)Column, (void)CellParams;
  }
  // Works out each column's footer text, colour, alignment and font and calls WriteFooterCell.
  virtual void WriteFooter(const TColumnsZkList& Columns, int FooterNo);
  virtual void WriteFooterCell(int DataCol, int Row, const String& Value, TAlignment Alignment,
                               TColor Background, TFont* Font, TColumnZk* Column) {
    (void)DataCol, (void)Row, (void)Value, (void)Alignment, (void)Background, (void)Font,
        (void)Column;
  }

  // Adds the current record to the sum and count totals.
  void CalcFooterValues();
  // The text of a sum or count total, formatted like a value of the footer's field.
  String FormatFooterTotal(int FooterNo, int ColIndex);
  // The field a footer totals: its FieldName, else the column's; nullptr when the dataset
  // has no such field.
  TField* FooterField(TColumnZk* Column, int FooterNo);

  std::unique_ptr<TColCellParamsZk> FColCellParamsZk;
  TCustomDBGridZk* FDBGridZk = nullptr;
  TColumnsZkList FExpCols;
  TStream* FStream = nullptr;
  // Totals in units of 1/10 000: entry (footer row r, column c) at c + r * column count.
  std::vector<Int64> FooterValues;

private:
  struct TColumnLook {
    std::unique_ptr<TFont> Font;
    TColor Color;
    TAlignment Alignment;
  };
  void SetExportColumns(const TColumnsZkList& Cols);
  void SetUpColumns(const TColumnsZkList& Cols, bool WithTitle);
  std::vector<TColumnLook> FLooks;
  void WriteFooters();
};

// Tab-separated text in the ANSI code page: rows joined by CR LF, cells by TAB, nothing quoted.
class TDBGridZkExportAsText : public TDBGridZkExport {
public:
  void ExportToStream(TStream* AStream, bool IsExportAll) override;

protected:
  void WriteTitle(const TColumnsZkList& Columns) override;
  void WriteRecord(const TColumnsZkList& Columns) override;
  void WriteDataCell(TColumnZk* Column, TColCellParamsZk* CellParams) override;
  void WriteFooter(const TColumnsZkList& Columns, int FooterNo) override;
  void WriteFooterCell(int DataCol, int Row, const String& Value, TAlignment Alignment,
                       TColor Background, TFont* Font, TColumnZk* Column) override;
  virtual void SeparateRow();
  virtual void SeparateCell();
  void PutText(const String& Text);
  void Flush();
  // Writes collected text in the writer's encoding.
  virtual void WritePending(const String& Text);
  bool FirstRec = true, FirstCell = true;

private:
  String FPending;
};

// The same in UTF-16LE code units, with no byte-order mark.
class TDBGridZkExportAsUnicodeText : public TDBGridZkExportAsText {
protected:
  void WritePending(const String& Text) override;
};

// CSV in the ANSI code page: every field in double quotes (inner quotes doubled), cells joined
// by Separator (";" by default).
class TDBGridZkExportAsCSV : public TDBGridZkExportAsText {
public:
  TDBGridZkExportAsCSV();
  char Separator() const { return FSeparator; }
  void SetSeparator(char Value) { FSeparator = Value; }

protected:
  void WriteTitle(const TColumnsZkList& Columns) override;
  void WriteDataCell(TColumnZk* Column, TColCellParamsZk* CellParams) override;
  void WriteFooterCell(int DataCol, int Row, const String& Value, TAlignment Alignment,
                       TColor Background, TFont* Font, TColumnZk* Column) override;
  void SeparateCell() override;

private:
  char FSeparator = ';';
};

// An RTF table; the body is written first so the colour and font tables can head it. The
// header declares code page 1251: characters from 0x80 are written as \'hh, others as \uN?.
class TDBGridZkExportAsRTF : public TDBGridZkExport {
public:
  TDBGridZkExportAsRTF();
  ~TDBGridZkExportAsRTF() override;
  void ExportToStream(TStream* AStream, bool IsExportAll) override;

protected:
  void WriteSuffix() override;
  void WriteTitle(const TColumnsZkList& Columns) override;
  void WriteRecord(const TColumnsZkList& Columns) override;
  void WriteDataCell(TColumnZk* Column, TColCellParamsZk* CellParams) override;
  void WriteFooter(const TColumnsZkList& Columns, int FooterNo) override;
  void WriteFooterCell(int DataCol, int Row, const String& Value, TAlignment Alignment,
                       TColor Background, TFont* Font, TColumnZk* Column) override;

public:
  // Position of a colour (by its RGB) / font name (case ignored) in the tables, added when new.
  int ColorIndex(TColor Color);
  int FontIndex(const String& FontName);
  // Text as RTF: \, { and } escaped, 8-bit characters of code page 1251 as \'hh, the rest as
  // \uN?.
  static std::string EncodeText(const String& Text);

private:
  struct TCellBorders {
    bool Left = true, Top = true, Bottom = true, Right = true;
  };
  void PutText(const std::string& Text);
  void PutLine(const std::string& Text);
  void PutRun(TFont* Font, const String& Text, TColor Background);
  void PutCellBorders(const TCellBorders& Borders);
  void BeginRow(const std::vector<TCellBorders>& Borders, const std::vector<TColor>& Shades);
  void PutCell(TAlignment Alignment, int Spacing, TFont* Font, const String& Text,
               TColor Background);
  void EndRow();
  void WritePendingRow();
  void WriteMultiTitle(const TColumnsZkList& Columns);
  int Spacing() const;

  std::unique_ptr<TMemoryStreamZk> FCacheStream;
  std::vector<std::string> ColorTblList;
  std::vector<String> FontTblList;
  // The cells of the record row being written, emitted when the row is complete.
  struct TPendingCell {
    TAlignment Alignment;
    std::unique_ptr<TFont> Font;
    String Text;
    TColor Background;
  };
  std::vector<TPendingCell> FRowCells;
};

// The binary interchange form: header, column descriptors, tagged values, end tag.
class TDBGridZkExportAsVCLDBIF : public TDBGridZkExport {
protected:
  void WritePrefix() override;
  void WriteSuffix() override;
  void WriteDataCell(TColumnZk* Column, TColCellParamsZk* CellParams) override;
};

// "VCLDBIF" values' tags.
enum TVCLDBIFTag : unsigned char {
  vtEnd = 0, vtEmpty = 1, vtNull = 2, vtInteger = 3, vtFloat = 4, vtAnsiString = 5,
  vtBinary = 6, vtWideString = 7
};

// --- import ---------------------------------------------------------------------------------------

VORENTA_ENUM(TImportTextSreamState, itssChar, itssTab, itssNewLine, itssEof);

// Puts records read from a stream into the grid's dataset: over the selected records, the
// rectangle, the selected columns or from the current record on (then appended when the grid
// allows appending); in insert state every record read is inserted.
class TDBGridZkImport {
public:
  TDBGridZkImport() = default;
  virtual ~TDBGridZkImport() = default;
  TDBGridZkImport(const TDBGridZkImport&) = delete;
  TDBGridZkImport& operator=(const TDBGridZkImport&) = delete;

  TCustomDBGridZk* DBGridZk() const { return FDBGridZk; }
  void SetDBGridZk(TCustomDBGridZk* Value) { FDBGridZk = Value; }

  // Imports from the stream's position; IsImportAll clears the selection and starts at the
  // first record and column.
  virtual void ImportFromStream(TStream* AStream, bool IsImportAll);
  void ImportFromFile(const String& FileName, bool IsImportAll);

protected:
  // Reads the rest of the stream and raises the format's error when it is malformed, before
  // any record is touched.
  virtual void CheckInput() {}
  virtual void ReadPrefix() {}
  virtual void FinishReading() {}
  virtual void ImportRecord(const TColumnsZkList& Columns);
  virtual void ImportCell(TColumnZk* Column) { (void)Column; }
  // Runs Assign on Field's dataset in edit (or insert) state inside the error guard: a failing
  // assignment asks "Ignore?" (Yes skips the value, No ends the import silently, All skips this
  // and every later failing value).
  void AssignImportedValue(TField* Field, const std::function<void()>& Assign);

  TCustomDBGridZk* FDBGridZk = nullptr;
  TStream* FStream = nullptr;
  TColumnsZkList FImpCols;
  bool Eos = false;
  bool FIgnoreAll = false;
  // The input from the stream's position, read once; FPos is the next byte.
  std::string FData;
  std::size_t FPos = 0;

private:
  void InsertImportedRecords(bool AppendMode);
  void ImportBySelection(TDBGridZkSelectionType Kind, bool InsertMode, bool& AppendMode);
};

// Tab-separated ANSI text: TAB ends a cell, CR LF a record, NUL or the end of data the input;
// a lone CR is "Неверный формат текста", a lone LF is cell text.
class TDBGridZkImportAsText : public TDBGridZkImport {
public:
  void ImportFromStream(TStream* AStream, bool IsImportAll) override;

protected:
  void CheckInput() override;
  void ReadPrefix() override;
  void ImportRecord(const TColumnsZkList& Columns) override;
  void ImportCell(TColumnZk* Column) override;
  // 1 for bytes, 2 for UTF-16 code units.
  virtual int CharSize() const { return 1; }
  virtual const char16_t* ClassNameText() const { return u"TDBGridZkImportAsText"; }
  virtual String CellString() const;
  bool ReadNextChar();
  TImportTextSreamState CheckState();
  TImportTextSreamState ReadCellText();
  [[noreturn]] void FormatError() const;

  char16_t FLastChar = 0;
  bool FLastCharEmpty = false;   // the empty marker: an empty cell lies before a separator
  TImportTextSreamState FLastState = itssNewLine;
  std::u16string FLastString;    // code units: bytes of the code page, or UTF-16
};

class TDBGridZkImportAsUnicodeText : public TDBGridZkImportAsText {
protected:
  int CharSize() const override { return 2; }
  const char16_t* ClassNameText() const override { return u"TDBGridZkImportAsUnicodeText"; }
  String CellString() const override;
};

// The binary interchange form. Beyond the format itself the reader requires a column count
// and lengths that fit the remaining data, even UTF-16 lengths and known tags.
class TDBGridZkImportAsVCLDBIF : public TDBGridZkImport {
public:
  void ImportFromStream(TStream* AStream, bool IsImportAll) override;

protected:
  void CheckInput() override;
  void ReadPrefix() override;
  void ImportRecord(const TColumnsZkList& Columns) override;
  void ImportCell(TColumnZk* Column) override;
  void ReadNextValue();
  [[noreturn]] void FormatError() const;

  int FColCount = 0;
  Variant LastValue;
  bool FLastBinary = false;
  std::string FLastBytes;   // the payload of tags 5 and 6
};

// --- routines -------------------------------------------------------------------------------------

using TDBGridZkExportClass = std::unique_ptr<TDBGridZkExport> (*)();
using TDBGridZkImportClass = std::unique_ptr<TDBGridZkImport> (*)();
template <class T> std::unique_ptr<TDBGridZkExport> NewGridExporter() {
  return std::make_unique<T>();
}
template <class T> std::unique_ptr<TDBGridZkImport> NewGridImporter() {
  return std::make_unique<T>();
}

void RunGridExporter(TDBGridZkExportClass ExportClass, TCustomDBGridZk* Grid, TStream* Stream,
                     bool ForWholeGrid);
void RunGridImporter(TDBGridZkImportClass ImportClass, TCustomDBGridZk* Grid, TStream* Stream,
                     bool ForWholeGrid);

// The whole stream under Format (the clipboard stays open across the call).
void PutStreamOnClipboard(unsigned Format, TStream* Stream);
// Appends exactly the bytes of Format to Stream (nothing when absent).
void ReadClipboardFormatToStream(unsigned Format, TStream* Stream);

// Puts the selection (or the whole grid) on the clipboard as ANSI text, UTF-16 text, "Csv",
// "Rich Text Format" and "VCLDBIF"; with no selection the current cell.
void CopyGridSelectionToClipboard(TCustomDBGridZk* Grid, bool ForWholeGrid);
// Reads "VCLDBIF", else UTF-16 text, else ANSI text from the clipboard into the grid.
void PasteClipboardIntoGrid(TCustomDBGridZk* Grid, bool ForWholeGrid);
void CutGridSelection(TCustomDBGridZk* Grid, bool ForWholeGrid);
// Deletes the selected records (the last first) or every record, or clears the cells of the
// rectangle or of the selected columns; with dgConfirmDelete asks first.
void DeleteGridSelection(TCustomDBGridZk* Grid, bool ForWholeGrid);

void WriteAnsiTextToStream(TStream* Stream, const String& Text);
void WriteWideTextToStream(TStream* Stream, const String& Text);

// The registered clipboard formats (numbers given at the unit's start).
extern unsigned VCLDBIFClipboardFormat, CsvClipboardFormat, RtfClipboardFormat;

// Registers the three formats and hands the grid its clipboard and delete routines; called by
// the data grid unit's start.
void DBGridZkImpExpInitialize();
