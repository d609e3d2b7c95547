// vqrPreviewPagesTest.cpp - the prepared-page store: aliases, page and object items, keep-block
// cut and paste, outline, anchors, logical page numbers, rebuilding and the .vt3 file.
#include "report/core/vqrPreviewPages.h"

#include <gtest/gtest.h>

#include "platform/classes/Streams.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClassAbstract.h"

namespace {

std::string StreamText(TMemoryStream& S) {
  return std::string(static_cast<const char*>(S.Memory()), static_cast<size_t>(S.Size()));
}

// A page with a page header (three texts) and a master data band (one text).
struct TemplateFixture {
  TemplateFixture() {
    vqrModuleInitialize();
    Page = std::make_unique<TvqrReportPage>(nullptr);
    Page->SetName(u"Page1");
    Header = new TvqrPageHeader(Page.get());
    Header->SetName(u"PageHeader1");
    Header->SetBounds(0, 0, 700, 40);
    for (int I = 1; I <= 3; ++I) {
      auto* M = new TvqrMemoView(Header);
      M->SetName(u"Memo" + IntToStr(I));
      M->SetBounds(100 * (I - 1), 0, 100, 20);
      M->SetText(u"Title " + IntToStr(I));
    }
    Data = new TvqrMasterData(Page.get());
    Data->SetName(u"MasterData1");
    Data->SetBounds(0, 60, 700, 20);
    Cell = new TvqrMemoView(Data);
    Cell->SetName(u"Memo4");
    Cell->SetBounds(0, 0, 200, 20);
  }
  ~TemplateFixture() {
    Page.reset();
    vqrModuleFinalize();
  }

  // Prints the header, then the data band at Y with the text Value.
  void PrintRow(TvqrPreviewPages& Store, Extended Y, const String& Value) {
    Data->SetTop(Y);
    Cell->SetText(Value);
    Store.AddObject(Data);
  }

  std::unique_ptr<TvqrReportPage> Page;
  TvqrPageHeader* Header;
  TvqrMasterData* Data;
  TvqrMemoView* Cell;
};

class PreviewPagesTest : public ::testing::Test {
protected:
  void SetUp() override {
    Store.AddSourcePage(T.Page.get());
    Store.AddPageAction = apAdd;
    Store.CurPage = -1;
  }
  TFormatSettingsScope Russian{TFormatSettings::Russian()};
  TemplateFixture T;
  TvqrPreviewPages Store{nullptr};
};

TEST_F(PreviewPagesTest, SourcePageCopiesGetAliases) {
  const TvqrDictionary& D = *Store.Dictionary();
  EXPECT_EQ(D.GetSourceName(u"b1"), u"Page0.PageHeader1");
  EXPECT_EQ(D.GetSourceName(u"m1"), u"Page0.Memo1");
  EXPECT_EQ(D.GetSourceName(u"m3"), u"Page0.Memo3");
  EXPECT_EQ(D.GetSourceName(u"b2"), u"Page0.MasterData1");
  EXPECT_EQ(D.GetSourceName(u"m4"), u"Page0.Memo4");
  EXPECT_EQ(T.Cell->AliasName(), u"m4");
  ASSERT_NE(T.Cell->OriginalComponent(), nullptr);
  EXPECT_EQ(T.Cell->OriginalComponent()->OriginalComponent(), T.Cell);
}

TEST_F(PreviewPagesTest, UniqueNamesHalveThenCountUp) {
  TvqrDictionary D;
  EXPECT_EQ(D.CreateUniqueName(u"m"), u"m1");
  for (int I = 1; I <= 100; ++I) D.Add(u"m" + IntToStr(I), u"", nullptr);
  EXPECT_EQ(D.CreateUniqueName(u"m"), u"m101");
}

TEST_F(PreviewPagesTest, PagesHoldTheDifferencesOfPrintedObjects) {
  Store.AddPage(T.Page.get());
  Store.AddObject(T.Header);
  T.PrintRow(Store, 40, u"first");
  T.PrintRow(Store, 60, u"second");
  EXPECT_EQ(Store.Count(), 1);
  EXPECT_EQ(Store.GetCurPosition(), 3);
  TvqrXMLItem* PageItem = Store.PagesItem()->Items(0);
  EXPECT_EQ(PageItem->Name(), u"page0");
  TvqrXMLItem* Row = PageItem->Items(2);
  EXPECT_EQ(Row->Name(), u"b2");
  EXPECT_EQ(Row->Prop(u"t"), u"60");
  ASSERT_EQ(Row->Count(), 1);
  EXPECT_EQ(Row->Items(0)->Name(), u"m4");
  EXPECT_EQ(Row->Items(0)->Prop(u"u"), u"second");

  EXPECT_TRUE(Store.BandExists(T.Data));
  EXPECT_DOUBLE_EQ(static_cast<double>(Store.GetLastY(0)), 80.0);

  // An invisible band leaves no item.
  T.Data->SetVisible(false);
  Store.AddObject(T.Data);
  EXPECT_EQ(Store.GetCurPosition(), 3);
}

TEST_F(PreviewPagesTest, RebuiltPageEqualsThePrintedObjects) {
  Store.AddPage(T.Page.get());
  Store.AddObject(T.Header);
  T.PrintRow(Store, 40, u"value \"1\" & <2>");
  TvqrReportPage* Page = Store.Page(0);
  ASSERT_NE(Page, nullptr);
  ASSERT_EQ(Page->Objects().size(), 2u);
  auto* Band = dynamic_cast<TvqrMasterData*>(Page->Objects()[1]);
  ASSERT_NE(Band, nullptr);
  EXPECT_EQ(Band->Name(), u"MasterData1");
  EXPECT_DOUBLE_EQ(static_cast<double>(Band->Top()), 40.0);
  ASSERT_EQ(Band->Objects().size(), 1u);
  auto* Memo = dynamic_cast<TvqrMemoView*>(Band->Objects()[0]);
  ASSERT_NE(Memo, nullptr);
  EXPECT_EQ(Memo->Text(), u"value \"1\" & <2>");
  EXPECT_DOUBLE_EQ(static_cast<double>(Memo->Width()), 200.0);
  auto* Title = dynamic_cast<TvqrMemoView*>(Page->Objects()[0]->Objects()[2]);
  ASSERT_NE(Title, nullptr);
  EXPECT_EQ(Title->Text(), u"Title 3");
  EXPECT_DOUBLE_EQ(static_cast<double>(Title->Left()), 200.0);
  // The same page again comes from the cache.
  EXPECT_EQ(Store.Page(0), Page);
  EXPECT_EQ(Store.PageSize(0).X, static_cast<int>(Round(T.Page->Width())));
}

TEST_F(PreviewPagesTest, KeepBlocksAreCutAndPastedWithAnOffset) {
  Store.AddPage(T.Page.get());
  T.PrintRow(Store, 40, u"a");
  T.PrintRow(Store, 60, u"b");
  Store.CutObjects(0);
  EXPECT_EQ(Store.GetCurPosition(), 0);
  Store.AddPage(T.Page.get());
  Store.PasteObjects(0, 10);
  ASSERT_EQ(Store.GetCurPosition(), 2);
  TvqrXMLItem* PageItem = Store.PagesItem()->Items(1);
  EXPECT_EQ(PageItem->Items(0)->Prop(u"t"), u"10");
  EXPECT_EQ(PageItem->Items(1)->Prop(u"t"), u"30");
  EXPECT_EQ(Store.XMLDocument()->Root()->Find(u"cutted"), -1);
}

TEST_F(PreviewPagesTest, LogicalPageNumbersAnchorsAndOutline) {
  Store.BeginPass();
  for (int I = 0; I < 3; ++I) Store.AddPage(T.Page.get());
  Store.CurPage = 1;
  EXPECT_EQ(Store.GetLogicalPageNo(), 2);
  EXPECT_EQ(Store.GetLogicalTotalPages(), 0);  // the group has not ended
  Store.CurPage = 2;
  Store.ResetLogicalPageNumber();
  Store.CurPage = 0;
  EXPECT_EQ(Store.GetLogicalTotalPages(), 3);

  Store.AddAnchor(u"Intro");
  Store.CurPage = 1;
  Store.AddAnchor(u"Details");
  EXPECT_EQ(Store.GetAnchorPage(u"details"), 2);
  EXPECT_EQ(Store.GetAnchorPage(u"missing"), 1);
  Store.ShiftAnchors(0, 25);
  EXPECT_EQ(Store.GetAnchorPage(u"Details"), 3);
  EXPECT_EQ(Store.FindAnchor(u"Details")->Prop(u"top"), u"25");

  TvqrCustomOutline* O = Store.Outline();
  O->LevelRoot();
  O->AddItem(u"Group 1", 10);
  O->AddItem(u"Row", 20);
  O->LevelUp();
  O->LevelUp();
  O->AddItem(u"Group 2", 30);
  O->LevelRoot();
  EXPECT_EQ(O->Count(), 2);
  String Text;
  int Page = -1, Top = -1;
  O->GetItem(1, Text, Page, Top);
  EXPECT_EQ(Text, u"Group 2");
  EXPECT_EQ(Page, 1);
  EXPECT_EQ(Top, 30);
}

TEST_F(PreviewPagesTest, FileRoundTripGivesTheSameText) {
  Store.AddPage(T.Page.get());
  Store.AddObject(T.Header);
  T.PrintRow(Store, 40, u"строка 1");
  Store.AddPage(T.Page.get());
  T.PrintRow(Store, 0, u"[TotalPages#]");
  Store.AddAnchor(u"end");
  Store.Outline()->LevelRoot();
  Store.Outline()->AddItem(u"Раздел", 5);
  Store.PictureCache()->AddBytes("\x89PNG");
  TMemoryStream First;
  Store.SaveToStream(&First);

  TvqrPreviewPages Loaded(nullptr);
  First.SetPosition(0);
  Loaded.LoadFromStream(&First);
  EXPECT_EQ(Loaded.Count(), 2);
  EXPECT_EQ(Loaded.SourcePages().size(), 1u);
  EXPECT_EQ(Loaded.PictureCache()->PictureBytes(1), "\x89PNG");
  TMemoryStream Second;
  Loaded.SaveToStream(&Second);
  EXPECT_EQ(StreamText(First), StreamText(Second));

  // The loaded store rebuilds the pages without the templates.
  T.Page.reset();
  TvqrReportPage* Page = Loaded.Page(1);
  ASSERT_NE(Page, nullptr);
  auto* Memo = dynamic_cast<TvqrMemoView*>(Page->Objects()[0]->Objects()[0]);
  ASSERT_NE(Memo, nullptr);
  EXPECT_EQ(Memo->Text(), u"[TotalPages#]");
}

TEST_F(PreviewPagesTest, BadFilesRaiseAndLeaveNoDanglingEntries) {
  Store.AddPage(T.Page.get());
  T.PrintRow(Store, 40, u"x");
  TMemoryStream Good;
  Store.SaveToStream(&Good);
  const std::string Text = StreamText(Good);
  auto Replace = [&](const std::string& From, const std::string& To) {
    std::string S = Text;
    size_t At = S.find(From);
    EXPECT_NE(At, std::string::npos) << From;
    if (At != std::string::npos) S.replace(At, From.size(), To);
    return S;
  };
  struct Case {
    const char* Name;
    std::string Data;
    bool RaisesOnLoad;
  } Cases[] = {
      {"truncated", Text.substr(0, Text.size() / 2), false},
      {"not xml", "hello", true},
      {"missing object", Replace("Page0.Memo4", "Page0.Nothing"), true},
      {"missing page", Replace("Page0.Memo4", "Page7.Memo4"), true},
      {"bad page number", Replace("Page0.Memo4", "PageX.Memo4"), true},
      {"page without source", Replace("<page0>", "<page5>"), false},
      {"unknown class", Replace("<m4 ", "<TNoSuchClass "), false},
      {"bad hex", Replace("</preparedreport>", "<picturecache><item stream=\"ZZ\"/></picturecache></preparedreport>"), false},
  };
  for (const Case& C : Cases) {
    TvqrPreviewPages Loaded(nullptr);
    TMemoryStream S;
    S.WriteBuffer(C.Data.data(), static_cast<Int64>(C.Data.size()));
    S.SetPosition(0);
    bool Raised = false;
    try {
      Loaded.LoadFromStream(&S);
      for (int I = 0; I < Loaded.Count(); ++I) {
        Loaded.Page(I);
        Loaded.PageSize(I);
      }
    } catch (const Exception&) {
      Raised = true;
    }
    if (C.RaisesOnLoad) {
      EXPECT_TRUE(Raised) << C.Name;
    }
    for (const auto& [Alias, Index] : Loaded.Dictionary()->Names()) {
      EXPECT_NE(Loaded.Dictionary()->SourceNames()[static_cast<size_t>(Index)].Obj, nullptr) << C.Name;
    }
  }
}

TEST_F(PreviewPagesTest, OnlyWebAndMailLinksOpen) {
  struct Case {
    const char* URL;
    bool Opens;
  } Cases[] = {{"http://example.org", true}, {"HTTPS://x.ru/a", true}, {"mailto:a@b.c", true},
               {"file:///bin/sh", false},    {"/usr/bin/xterm", false}, {"javascript:x", false},
               {"http://", false}};
  String Opened;
  SetOpenURLHandler([&](const String& URL) { Opened = URL; });
  for (const Case& C : Cases) {
    Opened.clear();
    Store.OpenViewURL(Utf8ToString(C.URL));
    EXPECT_EQ(!Opened.empty(), C.Opens) << C.URL;
  }
  SetOpenURLHandler(nullptr);

  for (int I = 0; I < 4; ++I) Store.AddPage(T.Page.get());
  Store.CurPage = 2;
  Store.AddAnchor(u"anchor");
  int NavPage = 0;
  Store.SetOnNavigate([&](int PageNo, int) { NavPage = PageNo; });
  Store.OpenViewURL(u"@3");
  EXPECT_EQ(NavPage, 3);
  NavPage = 0;
  Store.OpenViewURL(u"@x");
  EXPECT_EQ(NavPage, 0);
  Store.OpenViewURL(u"#anchor");
  EXPECT_EQ(NavPage, 3);
  NavPage = 0;
  Store.OpenViewURL(u"#unknown");
  EXPECT_EQ(NavPage, 0);
}

}  // namespace
