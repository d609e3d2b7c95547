// SpreadsheetSave.cpp - the spreadsheet stand-in's SaveAs through libxlsxwriter, and the
// model's JSON dump.
//
// Named styles become formats (the library has none named): a cell's format is its style
// plus its borders, number format and wrap, shared between equal cells. Margins in points
// become inches; heights stay points and widths characters.
#include <xlsxwriter.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
#include <tuple>

#include "platform/rtl/Exceptions.h"
#include "platform/shell/Spreadsheet.h"

namespace {

std::string Utf8(const String& S) { return StringToUtf8(S); }

// The library writes control characters the way the format escapes them ("_x0001_"); a
// text that itself holds such a sequence gets its "_" escaped ("_x005F_"), so it reads back
// as written.
std::string CellText(const String& S) {
  auto IsHex = [](Char C) {
    return (C >= u'0' && C <= u'9') || (C >= u'a' && C <= u'f') || (C >= u'A' && C <= u'F');
  };
  String Out;
  Out.reserve(S.size());
  for (std::size_t I = 0; I < S.size(); ++I) {
    const bool Escape = S[I] == u'_' && I + 6 < S.size() && S[I + 1] == u'x' &&
                        IsHex(S[I + 2]) && IsHex(S[I + 3]) && IsHex(S[I + 4]) &&
                        IsHex(S[I + 5]) && S[I + 6] == u'_';
    Out += Escape ? String(u"_x005F_") : String(1, S[I]);
  }
  return Utf8(Out);
}

lxw_color_t Rgb(std::uint32_t Bgr) {
  return ((Bgr & 0xFF) << 16) | (Bgr & 0xFF00) | ((Bgr >> 16) & 0xFF);
}

uint8_t Horizontal(int A) {
  switch (A) {
    case xlRight: return LXW_ALIGN_RIGHT;
    case xlCenter: return LXW_ALIGN_CENTER;
    case xlJustify: return LXW_ALIGN_JUSTIFY;
    case xlLeft: return LXW_ALIGN_LEFT;
    default: return LXW_ALIGN_NONE;
  }
}

uint8_t Vertical(int A) {
  switch (A) {
    case xlTop: return LXW_ALIGN_VERTICAL_TOP;
    case xlCenter: return LXW_ALIGN_VERTICAL_CENTER;
    case xlJustify: return LXW_ALIGN_VERTICAL_JUSTIFY;
    default: return LXW_ALIGN_VERTICAL_BOTTOM;
  }
}

class TFormats {
public:
  TFormats(lxw_workbook* Book, bool Wrap) : FBook(Book), FWrap(Wrap) {}
  lxw_format* Of(const TSheetCell& C) {
    auto Key = std::make_tuple(C.Style, C.Borders, C.NumberFormat);
    auto It = FCache.find(Key);
    if (It != FCache.end()) return It->second;
    lxw_format* F = workbook_add_format(FBook);
    if (const TSheetStyle* S = C.Style) {
      if (S->Font.Bold) format_set_bold(F);
      if (S->Font.Italic) format_set_italic(F);
      if (S->Font.Underline) format_set_underline(F, LXW_UNDERLINE_SINGLE);
      format_set_font_name(F, Utf8(S->Font.Name).c_str());
      if (S->Font.Size > 0) format_set_font_size(F, S->Font.Size);
      format_set_font_color(F, Rgb(S->Font.Color));
      if (S->Interior.Color) {
        format_set_pattern(F, LXW_PATTERN_SOLID);
        format_set_bg_color(F, Rgb(*S->Interior.Color));
      }
      if (S->Orientation >= -90 && S->Orientation <= 90 && S->Orientation != 0)
        format_set_rotation(F, static_cast<int16_t>(S->Orientation));
      if (uint8_t H = Horizontal(S->HorizontalAlignment)) format_set_align(F, H);
      format_set_align(F, Vertical(S->VerticalAlignment));
    }
    if (C.Borders & 1) format_set_left(F, LXW_BORDER_THIN);
    if (C.Borders & 2) format_set_top(F, LXW_BORDER_THIN);
    if (C.Borders & 4) format_set_bottom(F, LXW_BORDER_THIN);
    if (C.Borders & 8) format_set_right(F, LXW_BORDER_THIN);
    if (!C.NumberFormat.empty()) format_set_num_format(F, Utf8(C.NumberFormat).c_str());
    if (FWrap) format_set_text_wrap(F);
    FCache.emplace(Key, F);
    return F;
  }

private:
  lxw_workbook* FBook;
  bool FWrap;
  std::map<std::tuple<const TSheetStyle*, std::uint8_t, String>, lxw_format*> FCache;
};

void Check(lxw_error E, const char* What) {
  if (E != LXW_NO_ERROR)
    throw EInOutError(Utf8ToString(std::string(What) + ": " + lxw_strerror(E)));
}

void WriteSheet(lxw_workbook* Book, const TWorksheet& Sheet) {
  lxw_worksheet* Ws = workbook_add_worksheet(Book, nullptr);
  TFormats Formats(Book, Sheet.WrapText());
  for (const auto& [Row, H] : Sheet.RowHeights())
    Check(worksheet_set_row(Ws, static_cast<lxw_row_t>(Row), H, nullptr), "row height");
  for (const auto& [Col, W] : Sheet.ColumnWidths())
    Check(worksheet_set_column(Ws, static_cast<lxw_col_t>(Col), static_cast<lxw_col_t>(Col), W,
                               nullptr),
          "column width");
  for (const TSheetArea& M : Sheet.Merges()) {
    const TSheetCell* First = Sheet.Cell(M.Row1, M.Col1);
    Check(worksheet_merge_range(Ws, static_cast<lxw_row_t>(M.Row1),
                                static_cast<lxw_col_t>(M.Col1), static_cast<lxw_row_t>(M.Row2),
                                static_cast<lxw_col_t>(M.Col2), "",
                                First ? Formats.Of(*First) : nullptr),
          "merged cells");
  }
  for (const auto& [At, C] : Sheet.CellMap()) {
    const auto R = static_cast<lxw_row_t>(At.first);
    const auto Col = static_cast<lxw_col_t>(At.second);
    lxw_format* F = Formats.Of(C);
    if (C.IsNumber)
      Check(worksheet_write_number(Ws, R, Col, C.Number, F), "cell value");
    else if (!C.Text.empty())
      Check(worksheet_write_string(Ws, R, Col, CellText(C.Text).c_str(), F), "cell value");
    else
      Check(worksheet_write_blank(Ws, R, Col, F), "cell");
  }
  std::vector<lxw_row_t> Breaks;
  for (int B : Sheet.PageBreaks()) {
    if (Breaks.size() == SheetMaxPageBreaks) break;  // the format keeps no more
    Breaks.push_back(static_cast<lxw_row_t>(B));
  }
  if (!Breaks.empty()) {
    Breaks.push_back(0);
    Check(worksheet_set_h_pagebreaks(Ws, Breaks.data()), "page breaks");
  }
  const TSheetPageSetup& P = const_cast<TWorksheet&>(Sheet).PageSetup();
  worksheet_set_margins(Ws, P.LeftMargin / 72, P.RightMargin / 72, P.TopMargin / 72,
                        P.BottomMargin / 72);
  if (P.Orientation == xlLandscape)
    worksheet_set_landscape(Ws);
  else
    worksheet_set_portrait(Ws);
  for (const auto& Pic : Sheet.PictureList()) {
    lxw_image_options O{};
    O.x_offset = static_cast<int32_t>(std::lround(std::max(0.0, Pic->OffsetX) * 4 / 3));
    O.y_offset = static_cast<int32_t>(std::lround(std::max(0.0, Pic->OffsetY) * 4 / 3));
    O.x_scale = Pic->PixelWidth > 0 ? Pic->Width * 4 / 3 / Pic->PixelWidth : 1;
    O.y_scale = Pic->PixelHeight > 0 ? Pic->Height * 4 / 3 / Pic->PixelHeight : 1;
    // A picture the library cannot take is left out; the cells are what matters.
    worksheet_insert_image_buffer_opt(Ws, static_cast<lxw_row_t>(Pic->Row),
                                      static_cast<lxw_col_t>(Pic->Col),
                                      reinterpret_cast<const unsigned char*>(Pic->Png.data()),
                                      Pic->Png.size(), &O);
  }
  const TSheetArea S = Sheet.Selection();
  worksheet_set_selection(Ws, static_cast<lxw_row_t>(S.Row1), static_cast<lxw_col_t>(S.Col1),
                          static_cast<lxw_row_t>(S.Row2), static_cast<lxw_col_t>(S.Col2));
}

String XlsxName(const String& FileName) {
  const std::size_t N = FileName.size();
  if (N >= 4) {
    String Ext = FileName.substr(N - 4);
    for (Char& C : Ext)
      if (C >= u'A' && C <= u'Z') C = static_cast<Char>(C - u'A' + u'a');
    if (Ext == u".xls") return FileName + u"x";
  }
  return FileName;
}

}  // namespace

void TWorkbook::SaveAs(const String& FileName, int, int) {
  namespace fs = std::filesystem;
  const String Name = XlsxName(FileName);
  const std::string Target = Utf8(Name);
  const std::string Temp = Target + ".~part";
  auto CannotCreate = [&](const std::string& Reason) {
    std::remove(Temp.c_str());
    return EInOutError(u"Cannot create file \"" + Name + u"\". " + Utf8ToString(Reason));
  };
  if (std::FILE* Probe = std::fopen(Temp.c_str(), "wb"))
    std::fclose(Probe);
  else
    throw CannotCreate(std::strerror(errno));

  lxw_workbook* Book = workbook_new(Temp.c_str());
  if (!Book) throw CannotCreate("The workbook could not be started.");
  try {
    WriteSheet(Book, *FSheet);
  } catch (const Exception& E) {
    workbook_close(Book);
    throw CannotCreate(Utf8(E.Message()));
  }
  const lxw_error E = workbook_close(Book);
  if (E != LXW_NO_ERROR) throw CannotCreate(lxw_strerror(E));
  std::error_code Ec;
  fs::rename(Temp, Target, Ec);
  if (Ec) throw CannotCreate(Ec.message());
  FFullName = Name;
  FApp->Saved(Name);
}

// --- JSON dump ---------------------------------------------------------------------------------

namespace {
std::string Json(const String& S) {
  std::string Out = "\"";
  for (char C : Utf8(S)) {
    if (C == '"' || C == '\\') {
      Out += '\\';
      Out += C;
    } else if (static_cast<unsigned char>(C) < 0x20) {
      char Buf[8];
      std::snprintf(Buf, sizeof Buf, "\\u%04x", static_cast<unsigned>(C));
      Out += Buf;
    } else {
      Out += C;
    }
  }
  return Out + "\"";
}
}  // namespace

std::string TWorksheet::DumpJson() const {
  std::ostringstream O;
  O.precision(17);
  O << "{\"cells\":[";
  bool First = true;
  for (const auto& [At, C] : FCells) {
    O << (First ? "" : ",") << "[" << At.first << "," << At.second << ",";
    First = false;
    if (C.IsNumber)
      O << C.Number;
    else
      O << Json(C.Text);
    const TSheetStyle* S = C.Style;
    O << "," << Json(C.NumberFormat) << "," << int(C.Borders) << ",";
    if (S)
      O << "{\"bold\":" << S->Font.Bold << ",\"italic\":" << S->Font.Italic
        << ",\"underline\":" << S->Font.Underline << ",\"font\":" << Json(S->Font.Name)
        << ",\"size\":" << S->Font.Size << ",\"color\":" << Rgb(S->Font.Color)
        << ",\"fill\":" << (S->Interior.Color ? long(Rgb(*S->Interior.Color)) : -1)
        << ",\"rotation\":" << S->Orientation << ",\"h\":" << S->HorizontalAlignment
        << ",\"v\":" << S->VerticalAlignment << "}";
    else
      O << "null";
    O << "]";
  }
  O << "],\"merges\":[";
  for (std::size_t I = 0; I < FMerges.size(); ++I)
    O << (I ? "," : "") << "[" << FMerges[I].Row1 << "," << FMerges[I].Col1 << ","
      << FMerges[I].Row2 << "," << FMerges[I].Col2 << "]";
  O << "],\"rows\":{";
  First = true;
  for (const auto& [R, H] : FRowHeights) {
    O << (First ? "" : ",") << "\"" << R << "\":" << H;
    First = false;
  }
  O << "},\"cols\":{";
  First = true;
  for (const auto& [C, W] : FColumnWidths) {
    O << (First ? "" : ",") << "\"" << C << "\":" << W;
    First = false;
  }
  O << "},\"breaks\":[";
  for (std::size_t I = 0; I < FPageBreaks.size(); ++I) O << (I ? "," : "") << FPageBreaks[I];
  O << "],\"wrap\":" << FWrapText << ",\"margins\":[" << FPageSetup.LeftMargin << ","
    << FPageSetup.RightMargin << "," << FPageSetup.TopMargin << "," << FPageSetup.BottomMargin
    << "],\"landscape\":" << (FPageSetup.Orientation == xlLandscape) << "}";
  return O.str();
}
