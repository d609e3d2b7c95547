// vqrClassRTTITest.cpp - the report model's script bindings from a script.
#include "report/core/vqrClassRTTI.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/db/ArrayDataSet.h"
#include "platform/db/FieldDefs.h"
#include "platform/graphics/FontService.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

#include "platform/rtl/Variants.h"
#include "report/core/vqrClassDataSet.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrClassBands.h"
#include "report/core/vqrClassMemo.h"
#include "report/core/vqrClassOptions.h"
#include "report/core/vqrClassPages.h"
#include "report/core/vqrClassReport.h"
#include "report/core/vqrDBSet.h"
#include "report/core/vqrEngine.h"
#include "report/core/vqrPreviewPages.h"
#include "script/ks_iinterpreter.h"

TEST(vqrClassRTTI, ScriptsReachDataSourcesMemosConstantsAndFunctions) {
  vqrRegisterClassRTTI();
  TvqrUserDataSet DS(nullptr);
  DS.SetName(u"Source1");
  DS.SetRangeEnd(reCount);
  DS.SetRangeEndCount(3);
  TvqrMemoView Memo(nullptr);
  Memo.SetName(u"Memo1");
  TksScript S;
  S.AddRTTI();
  String Output;
  S.AddMethod(u"procedure Out(v: Variant)", [&](TObject*, TksClassRef, const String&, TksMethodHelper* H) {
    Output += VarToStr(H->GetParam(0)) + u" ";
    return Variant(0);
  });
  S.AddObject(u"DS", &DS);
  S.AddObject(u"Memo1", &Memo);
  S.SetText(u"var n: Integer; begin n := 0; DS.First; while not DS.Eof do begin n := n + DS.RecNo; DS.Next end;\r\n"
            u"  Out(n); Out(DS.RecordCount); Out(DS.HasField('x'));\r\n"
            u"  Memo1.Text := 'Краска'; Out(Memo1.Text); Out(Memo1.Lines.Count);\r\n"
            u"  Out(YearOf(EncodeDate(2024, 5, 6))); Out(MonthOf(EncodeDate(2024, 5, 6))); Out(IIF(1 > 2, 'y', 'n'));\r\n"
            u"  Out(vq1in); Out(pbTools); Out(reCount) end.");
  ASSERT_TRUE(S.Compile()) << StringToUtf8(S.ErrorPos() + u" " + S.ErrorMsg());
  S.Execute();
  EXPECT_EQ(Output, u"3 3 False Краска 1 2024 5 n 96 256 2 ");
}

TEST(vqrClassRTTI, ComponentTreeVariablesStylesAndStringLists) {
  vqrRegisterClassRTTI();
  vqrModuleInitialize();
  struct TFinalize {
    ~TFinalize() { vqrModuleFinalize(); }
  } Finalize;
  TvqrReport Report(nullptr);
  auto* Page = new TvqrReportPage(&Report);
  Page->SetName(u"Page1");
  auto* Band = new TvqrMasterData(Page);
  Band->SetName(u"Band1");
  auto* Memo = new TvqrMemoView(Band);
  Memo->SetName(u"Memo1");
  Memo->SetBounds(10, 20, 100, 30);
  Band->SetBounds(0, 100, 700, 50);
  TksScript S;
  S.AddRTTI();
  String Output;
  S.AddMethod(u"procedure Out(v: Variant)", [&](TObject*, TksClassRef, const String&, TksMethodHelper* H) {
    Output += VarToStr(H->GetParam(0)) + u" ";
    return Variant(0);
  });
  S.AddObject(u"Report", &Report);
  S.SetText(
      u"var m: TvqrMemoView; w: TWideStrings; a: TvqrArray; st: TvqrStyleItem; ss: TvqrStyles;\r\n"
      u"begin m := TvqrMemoView(Report.FindObject('memo1')); Out(m.Name); Out(m.Parent.Name); Out(m.Page.Name);\r\n"
      u"  Out(m.AbsTop); Out(Report.AllObjects.Count); Out(Page1.Objects.Count); Out(Report.FindObject('none') = nil);\r\n"
      u"  m.SetBounds(1, 2, 3, 4); Out(m.Width); m.TagStr := 'tag'; Out(m.TagStr);\r\n"
      u"  Report.Variables['v1'] := 5; Out(Report.Variables['v1'] + 1);\r\n"
      u"  vqrGlobalVariables['g'] := 'glob'; Out(vqrGlobalVariables['g']);\r\n"
      u"  a := TvqrArray.Create; a[7] := 'seven'; Out(a[7]); a.Free;\r\n"
      u"  st := Report.Styles.Add; st.Name := 'Head'; Out(Report.Styles.Find('head').Name);\r\n"
      u"  Report.Styles[0] := nil; Out(Report.Styles.Count);\r\n"
      u"  ss := TvqrStyles.Create(Report); ss.Add; Out(ss.Count); ss.Free;\r\n"
      u"  w := TWideStrings.Create; w.Add('a'); w.Add('б'); Out(w.Count); m.Lines := w; Out(m.Lines[1]); w.Free;\r\n"
      u"  Out(Report.Calc('2 + 3'));\r\n"
      u"  try Report.Calc('2 +') except Out(Copy(ExceptionMessage, 1, 26)) end;\r\n"
      u"  Out(Report.EngineOptions.DestroyForms); Report.PreviewOptions.Buttons := pbPrint + pbTools; Out(SUM(1))\r\n"
      u"end.");
  S.AddObject(u"Page1", Page);
  ASSERT_TRUE(S.Compile()) << StringToUtf8(S.ErrorPos() + u" " + S.ErrorMsg());
  S.Execute();
  EXPECT_EQ(Output, u"Memo1 Band1 Page1 120 3 1 True 3 tag 6 glob seven Head 1 1 2 б 5 Error in Calc expression:  "
                    u"True 0 ");
  EXPECT_EQ(Report.PreviewOptions()->Buttons().Bits(), (1u << pbPrint) | (1u << pbTools));
  EXPECT_EQ(Report.Errors()->Count(), 0);
}

// A report over an in-memory table whose script, run by the engine for each record, reads
// the data source, asks the report to calculate, and drives the engine and the outline.
TEST(vqrClassRTTI, AReportScriptDrivesTheEngine) {
  vqrModuleInitialize();
  vqrEngineModuleInitialize();
  TFormatSettingsScope Russian{TFormatSettings::Russian()};
  TFixedFontMetrics Metrics{50, 100, 50};
  IFontMetrics* PreviousMetrics = SetFontMetricsForTests(&Metrics);
  struct TRestore {
    IFontMetrics* Metrics;
    ~TRestore() {
      SetFontMetricsForTests(Metrics);
      vqrModuleFinalize();
    }
  } Restore{PreviousMetrics};
  TComponent Owner(nullptr);
  auto* Table = new TArrayDataSet(&Owner);
  Table->FieldDefs()->Add(u"NAME", ftString, 40);
  Table->AddRow({String(u"a")});
  Table->AddRow({String(u"b")});
  Table->Open();
  TvqrReport Report(nullptr);
  Report.EngineOptions()->SetDestroyForms(false);
  auto* Adapter = new TvqrDBDataset(&Report);
  Adapter->SetName(u"ds");
  Adapter->SetUserName(u"ds");
  Adapter->SetDataSet(Table);
  Report.DataSets()->Add(Adapter);
  auto* Page = new TvqrReportPage(&Report);
  Page->SetName(u"Page1");
  Page->SetPaperSize(9);
  auto* Title = new TvqrReportTitle(Page);
  Title->SetName(u"Title1");
  Title->SetBounds(0, 0, 700, 40);
  auto* Data = new TvqrMasterData(Page);
  Data->SetName(u"MasterData1");
  Data->SetBounds(0, 80, 700, 20);
  Data->SetDataSet(Adapter);
  auto* Memo = new TvqrMemoView(Data);
  Memo->SetName(u"Memo1");
  Memo->SetBounds(0, 0, 600, 20);
  Memo->SetOnBeforePrint(u"Memo1OnBeforePrint");
  Report.ScriptText()->SetText(
      u"procedure Memo1OnBeforePrint(Sender: TvqrComponent);\r\n"
      u"var d: TvqrDataSet; n, f: String;\r\n"
      u"begin\r\n"
      u"  d := Report.GetDataset('ds'); n := d.Value['NAME'];\r\n"
      u"  if n = 'b' then Engine.NewPage;\r\n"
      u"  if Engine.FreeSpace > 0 then f := 'free' else f := 'full';\r\n"
      u"  Memo1.Text := n + ' ' + IntToStr(d.RecNo) + ' ' + VarToStr(Report.Calc('2 * 3')) + ' ' +\r\n"
      u"    IntToStr(Engine.GetAnchorPage('anchor a')) + ' ' + f;\r\n"
      u"  Engine.AddAnchor('anchor ' + n);\r\n"
      u"  Outline.LevelRoot; Outline.AddItem(n)\r\n"
      u"end;\r\n"
      u"begin end.");
  ASSERT_TRUE(Report.PrepareReport(true)) << ToUtf8(Report.Errors()->Text());
  auto* Store = static_cast<TvqrPreviewPages*>(Report.PreviewPages());
  ASSERT_EQ(Store->Count(), 2);
  TvqrCustomOutline* Outline = Store->Outline();
  Outline->LevelRoot();
  ASSERT_EQ(Outline->Count(), 2);
  struct TItem {
    String Text;
    int Page = -1, Top = -1;
  } A, B;
  Outline->GetItem(0, A.Text, A.Page, A.Top);
  Outline->GetItem(1, B.Text, B.Page, B.Top);
  // Pages count from 0 in the outline; a's band follows the 40-pixel title, b's starts its page.
  EXPECT_EQ(A.Text + u" " + IntToStr(A.Page) + u" " + IntToStr(A.Top), u"a 0 40");
  EXPECT_EQ(B.Text + u" " + IntToStr(B.Page) + u" " + IntToStr(B.Top), u"b 1 0");
  EXPECT_EQ(Store->GetAnchorPage(u"anchor b"), 2);
  auto Texts = [&](int PageIndex) {
    std::vector<String> Out;
    std::function<void(TvqrXMLItem*)> Walk = [&](TvqrXMLItem* Item) {
      for (int I = 0; I < Item->Count(); ++I) {
        if (Item->Items(I)->PropExists(u"u")) Out.push_back(Item->Items(I)->Prop(u"u"));
        Walk(Item->Items(I));
      }
    };
    TvqrXMLItem* PageItem = Store->PagesItem()->Items(PageIndex);
    if (!PageItem->Loaded()) Store->XMLDocument()->LoadItem(PageItem);
    Walk(PageItem);
    return Out;
  };
  EXPECT_EQ(Texts(0), (std::vector<String>{u"a 0 6 1 free"}));
  EXPECT_EQ(Texts(1), (std::vector<String>{u"b 1 6 1 free"}));
}
