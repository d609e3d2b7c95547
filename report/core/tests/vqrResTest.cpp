// vqrResTest.cpp - the string table: lookups, merges, language files, script messages, help.
#include "report/core/vqrRes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/classes/Strings.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/ImageList.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/SysUtils.h"
#include "script/ks_imessages.h"

TEST(VqrRes, BuiltInTableByKeyAndId) {
  TvqrResources* T = StringTable();
  struct {
    const char16_t* Key;
    const char16_t* Text;
  } Cases[] = {
      {u"mbError", u"Ошибка"},
      {u"mberror", u"Ошибка"},
      {u"MBERROR", u"Ошибка"},
      {u"1", u"ОК"},
      {u"601", u"Свернуть все"},
      {u"xrCantFindClass", u"Не удалось найти класс"},
      {u"clVT3files", u"Готовый отчет"},
      {u"clFirstPass", u"Первый проход: страница "},
      {u"obReport", u"obReport"},
      {u"!absent", u"absent"},
  };
  for (const auto& C : Cases) EXPECT_EQ(T->Get(C.Key), C.Text) << ToUtf8(C.Key);
  EXPECT_EQ(StringById(9), u"Введите номера и/или диапазоны страниц, разделенные запятыми. "
                           u"Например, 1,3,5-12");
  EXPECT_EQ(StringById(5000), u"5000");
  EXPECT_EQ(T->CodePage(), 1251u);
}

// Fault: the built-in message was stored with its quotes encoded twice, so the user saw
// "&#34;" around the dataset name.
TEST(VqrRes, DataSetMessageShowsRealQuotes) {
  EXPECT_EQ(StringTable()->Get(u"clDSNotExist"), u"Набор данных \"%s\" не найден");
}

TEST(VqrRes, AddReplacesAndKeepsTextCount) {
  TvqrResources T;
  T.AddW(u"k", u"one");
  T.AddW(u"K", u"two");
  EXPECT_EQ(T.Get(u"k"), u"two");
  EXPECT_EQ(T.Count(), 1);
  EXPECT_EQ(T.TextCount(), 1);
  T.AddW(u"bang", u"!text");
  EXPECT_EQ(T.Get(u"bang"), u"text");
  T.AddStrings(u"a=1\r\n=2\nb=\nc\x2028" u"d=4");
  EXPECT_EQ(T.Get(u"a"), u"1");
  EXPECT_EQ(T.Get(u"b"), u"b");
  EXPECT_EQ(T.Get(u"d"), u"4");
  EXPECT_EQ(T.Count(), 4);
  T.Clear();
  EXPECT_EQ(T.Get(u"a"), u"a");
}

TEST(VqrRes, LanguageFileReplacesEntriesAndScriptMessagesFollow) {
  String Saved = SIdUndeclared;
  String File = GetTempDir() + u"vqr-res-test.vqc";
  {
    std::ofstream Out(ToUtf8(File), std::ios::binary);
    Out << "<?xml version=\"1.1\" encoding=\"utf-8\"?><Resources CodePage=\"1252\">"
           "<StrRes Name=\"mbError\" Text=\"Error &#34;x&#34;\"/>"
           "<StrRes Name=\"SIdUndeclared\" Text=\"Unknown name: \"/>"
           "<Other Name=\"mbInfo\" Text=\"ignored\"/><StrRes Name=\"new\"/></Resources>";
  }
  TvqrResources* T = StringTable();
  String Info = T->Get(u"mbInfo");
  T->LoadFromFile(File);
  EXPECT_EQ(T->Get(u"mbError"), u"Error \"x\"");
  EXPECT_EQ(T->Get(u"mbInfo"), Info);
  EXPECT_EQ(T->Get(u"new"), u"");
  EXPECT_EQ(T->CodePage(), 1252u);
  EXPECT_EQ(SIdUndeclared, u"Unknown name: ");
  T->LoadFromFile(GetTempDir() + u"no-such-language.vqc");  // ignored

  // Put the built-in table (texts and code page) back for the other tests.
  T->AddXML(std::string(LoadResource("report/strings-ru.xml")));
  T->UpdateFSResources();
  EXPECT_EQ(SIdUndeclared, u"Неопределенный идентификатор: ");
  DeleteFile(File);
  (void)Saved;
}

TEST(VqrRes, TableDocumentErrors) {
  TvqrResources T;
  T.AddXML("<?xml version=\"1.1\"?><Other><StrRes Name=\"a\" Text=\"1\"/></Other>");
  EXPECT_EQ(T.Count(), 0);
  EXPECT_THROW(T.AddXML("<?xml version=\"1.1\"?><Resources CodePage=\"x\"><StrRes Name=\"a\" "
                        "Text=\"1\"/></Resources>"),
               EConvertError);
  EXPECT_EQ(T.Count(), 0);
}

TEST(VqrRes, LanguagesListedFromTheFolder) {
  namespace fs = std::filesystem;
  fs::path Dir = fs::temp_directory_path() / "vqr-langs";
  fs::create_directories(Dir);
  for (const char* Name : {"russian.vqc", "ENGLISH.VQC", "a.vqc.vqc", "readme.txt"})
    std::ofstream(Dir / Name) << "";
  TvqrResources T;
  T.FillLanguages(Utf8ToString(Dir.string()));
  ASSERT_EQ(T.Languages()->Count(), 3);
  EXPECT_EQ(T.Languages()->Get(0), u"A.vqc");
  EXPECT_EQ(T.Languages()->Get(1), u"English");
  EXPECT_EQ(T.Languages()->Get(2), u"Russian");
  fs::remove_all(Dir);
}

TEST(VqrRes, HelpPathByWindowClass) {
  String Shown;
  SetHelpViewer([&](const String& Path) {
    Shown = Path;
    return true;
  });
  TStringList NotAWindow;
  StringTable()->Help(&NotAWindow);
  EXPECT_EQ(ExtractFileName(Shown), u"VQUser.chm");
  StringTable()->Help(nullptr);
  EXPECT_EQ(Shown.find(u"::/"), String::npos);
  SetHelpViewer(nullptr);
  EXPECT_FALSE(ShowHelpTopic(u"x.chm"));
}

// --- Image lists ----------------------------------------------------------------------------

namespace {

// A strip of 16 x 16 cells in the given colours, each with a magenta bottom-left pixel.
void PaintStrip(TBitmap& Strip, std::initializer_list<TColor> Cells) {
  Strip.SetSize(16 * int(Cells.size()), 16);
  int X = 0;
  for (TColor C : Cells) {
    Strip.Canvas()->Brush()->SetColor(C);
    Strip.Canvas()->FillRect(Rect(X, 0, X + 16, 16));
    Strip.Canvas()->SetPixels(X, 15, clFuchsia);
    X += 16;
  }
}

TColor CellColor(TImageList* List, int Index, int X, int Y) {
  TBitmap Image;
  List->GetBitmap(Index, &Image);
  return Image.Canvas()->Pixels(X, Y);
}

}  // namespace

TEST(VqrResImages, StripsAreCutIntoMaskedCellsAndButtonsComeInPairs) {
  TvqrResources T;
  TBitmap Strip;
  PaintStrip(Strip, {clRed, clLime, clBlue});
  T.SetPreviewButtonImages(&Strip, true);
  T.SetPreviewButtonImages(&Strip);  // appends
  ASSERT_EQ(T.PreviewButtonImages()->Count(), 6);  // no row of blank cells below the strip
  EXPECT_EQ(CellColor(T.PreviewButtonImages(), 4, 5, 5), clLime);
  EXPECT_EQ(CellColor(T.PreviewButtonImages(), 4, 0, 15), clWhite);  // masked
  T.SetPreviewButtonImages(&Strip, true);
  EXPECT_EQ(T.PreviewButtonImages()->Count(), 3);

  PaintStrip(Strip, {clRed, clLime, clBlue, clYellow, clNavy});
  T.SetButtonImages(&Strip, true);
  ASSERT_EQ(T.MainButtonImages()->Count(), 3);
  ASSERT_EQ(T.DisabledButtonImages()->Count(), 2);  // the last cell has no partner
  EXPECT_EQ(CellColor(T.MainButtonImages(), 1, 5, 5), clBlue);
  EXPECT_EQ(CellColor(T.DisabledButtonImages(), 1, 5, 5), clYellow);
}

TEST(VqrResImages, MissingOrUnpackableResourcesRaiseAndLeaveTheListEmpty) {
  TvqrResources T;
  struct {
    TImageList* (TvqrResources::*Getter)();
    const char16_t* Message;
  } Cases[] = {
      {&TvqrResources::MainButtonImages, u"Resource report/DesgnButtons.gz not found"},
      {&TvqrResources::ObjectImages, u"Resource report/ObjectButtons.gz not found"},
      {&TvqrResources::WizardImages, u"Resource report/WizardButtons.gz not found"},
  };
  for (const auto& C : Cases) {
    try {
      (T.*C.Getter)();
      ADD_FAILURE() << ToUtf8(C.Message);
    } catch (const EResNotFound& E) {
      EXPECT_EQ(E.Message(), C.Message);
    }
  }
  EXPECT_EQ(T.DisabledButtonImages()->Count(), 0);
}
