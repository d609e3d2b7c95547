// ReportTemplatesTest.cpp - the application's four report templates: they load without errors
// over adapters on the data module's queries, save back to the committed bytes, and hold the
// paper, margins, columns, text objects and data bindings of the reports.
#include <memory>
#include <string>
#include <vector>

#include "app/tests/AppFixture.h"
#include "platform/classes/Streams.h"
#include "platform/rtl/Resources.h"
#include "platform/sqlite/ADODB.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrDBSet.h"

namespace {

struct TTemplateCase {
  const char16_t* Name;
  int Memos;
  Extended Left, Right, Top, Bottom;
  int Columns;
  std::vector<const char16_t*> Adapters;  // the dataset list, in order
  const char16_t* DataBandSource;
};

const TTemplateCase Cases[] = {
    {u"vqrRepColor", 19, 10, 10, 10, 10, 0, {u"vqrDBDSColor", u"vqrDBDSColorRec"}, u"vqrDBDSColorRec"},
    {u"vqrRepOrd", 21, 10, 10, 10, 10, 0, {u"vqrDBDSOrd", u"vqrDBDSROrdRec"}, u"vqrDBDSROrdRec"},
    {u"vqrRepColorPrice", 9, 10, 5, 10, 10, 2, {u"vqrDBDColorPrice"}, u"vqrDBDColorPrice"},
    {u"vqrRepLKMPrice", 8, 10, 5, 10, 10, 0, {u"vqrDBDLkmPrice"}, u"vqrDBDLkmPrice"},
};

class ReportTemplates : public AppFixture {
protected:
  void SetUp() override {
    AppFixture::SetUp();
    vqrModuleInitialize();
    AddAdapter(u"vqrDBDSColor", Module->Color);
    Adapters.back()->SetRangeBegin(rbCurrent);
    Adapters.back()->SetRangeEnd(reCurrent);
    AddAdapter(u"vqrDBDSColorRec", Module->ColorRec1);
    AddAdapter(u"vqrDBDSOrd", nullptr)->SetDataSource(Module->DSOrd);
    AddAdapter(u"vqrDBDSROrdRec", Module->ROrdRec);
    AddAdapter(u"vqrDBDColorPrice", Module->RepColor);
    AddAdapter(u"vqrDBDLkmPrice", nullptr)->SetDataSource(Module->DSLKMRec);
  }
  void TearDown() override {
    Adapters.clear();
    vqrModuleFinalize();
    AppFixture::TearDown();
  }

  TvqrDBDataset* AddAdapter(const String& Name, TDataSet* DataSet) {
    Adapters.push_back(std::make_unique<TvqrDBDataset>(nullptr));
    Adapters.back()->SetName(Name);
    if (DataSet) Adapters.back()->SetDataSet(DataSet);
    return Adapters.back().get();
  }
  TvqrDBDataset* Adapter(const String& Name) {
    for (auto& A : Adapters)
      if (A->Name() == Name) return A.get();
    return nullptr;
  }

  std::vector<std::unique_ptr<TvqrDBDataset>> Adapters;
};

std::string TemplateBytes(const String& Name) {
  return std::string(LoadResource("reports/" + StringToUtf8(Name) + ".xml"));
}

std::string SaveBytes(TvqrReport& Report) {
  TMemoryStream Out;
  Report.SaveToStream(&Out);
  return std::string(static_cast<const char*>(Out.Memory()), static_cast<std::size_t>(Out.Size()));
}

}  // namespace

TEST_F(ReportTemplates, EachLoadsWithoutErrorsAndSavesTheCommittedBytes) {
  int AllMemos = 0;
  for (const TTemplateCase& C : Cases) {
    SCOPED_TRACE(StringToUtf8(C.Name));
    const std::string Bytes = TemplateBytes(C.Name);
    TvqrReport Report(nullptr);
    TMemoryStream In;
    In.WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
    In.SetPosition(0);
    Report.LoadFromStream(&In);
    EXPECT_EQ(Report.Errors()->Count(), 0) << StringToUtf8(Report.Errors()->Text());
    EXPECT_EQ(SaveBytes(Report), Bytes);

    int Memos = 0;
    for (TvqrComponent* Obj : Report.AllObjects())
      if (dynamic_cast<TvqrMemoView*>(Obj)) ++Memos;
    EXPECT_EQ(Memos, C.Memos);
    AllMemos += Memos;

    auto* Page = dynamic_cast<TvqrReportPage*>(Report.FindObject(u"Page1"));
    ASSERT_NE(Page, nullptr);
    EXPECT_EQ(Page->PaperSize(), 9);
    EXPECT_EQ(Page->Orientation(), poPortrait);
    EXPECT_EQ(double(Page->PaperWidth()), 210.0);
    EXPECT_EQ(double(Page->PaperHeight()), 297.0);
    EXPECT_EQ(double(Page->LeftMargin()), double(C.Left));
    EXPECT_EQ(double(Page->RightMargin()), double(C.Right));
    EXPECT_EQ(double(Page->TopMargin()), double(C.Top));
    EXPECT_EQ(double(Page->BottomMargin()), double(C.Bottom));
    EXPECT_EQ(Page->Columns(), C.Columns);
    EXPECT_EQ(Page->Font()->Name(), u"Arial");
    EXPECT_EQ(Page->Font()->Size(), 9);
    EXPECT_TRUE(dynamic_cast<TvqrDataPage*>(Report.Pages(0)));

    ASSERT_EQ(Report.DataSets()->Count(), static_cast<int>(C.Adapters.size()));
    for (int I = 0; I < Report.DataSets()->Count(); ++I)
      EXPECT_EQ(Report.DataSets()->Items(I)->DataSet(), Adapter(C.Adapters[I]));
    auto* Master = dynamic_cast<TvqrMasterData*>(Report.FindObject(u"MasterData1"));
    ASSERT_NE(Master, nullptr);
    EXPECT_EQ(Master->DataSet(), Adapter(C.DataBandSource));
  }
  EXPECT_EQ(AllMemos, 57);
}

TEST_F(ReportTemplates, TheColourPriceListHasTwoColumnsOfNinetySevenAndAHalfMillimetres) {
  const std::string Bytes = TemplateBytes(u"vqrRepColorPrice");
  TvqrReport Report(nullptr);
  TStringStream In(Utf8ToString(Bytes));
  Report.LoadFromStream(&In);
  auto* Page = dynamic_cast<TvqrReportPage*>(Report.FindObject(u"Page1"));
  ASSERT_NE(Page, nullptr);
  EXPECT_EQ(double(Page->ColumnWidth()), 97.5);
  EXPECT_EQ(Page->ColumnPositions()->Text(), u"0\r\n97,5\r\n");
  EXPECT_NE(Page->FindBand(TvqrColumnHeader::ClassInfo()), nullptr);
}

// The recipe title: Times New Roman of 19 pixels, bold, framed; the other objects follow the
// page's Arial 9 pt unless they are bold.
TEST_F(ReportTemplates, FontsFrameAndFormatsOfTheRecipe) {
  TvqrReport Report(nullptr);
  TStringStream In(Utf8ToString(TemplateBytes(u"vqrRepColor")));
  Report.LoadFromStream(&In);
  auto* Title = dynamic_cast<TvqrMemoView*>(Report.FindObject(u"Memo2"));
  ASSERT_NE(Title, nullptr);
  EXPECT_EQ(Title->Text(), u" [vqrDBDSColor.\"NM\"]");
  EXPECT_EQ(Title->Font()->Name(), u"Times New Roman");
  EXPECT_EQ(Title->Font()->Height(), -19);
  EXPECT_TRUE(Title->Font()->Style().Contains(fsBold));
  EXPECT_EQ(FrameTypBits(Title->Frame()->Typ()), 15);
  for (TvqrComponent* Obj : Report.AllObjects()) {
    auto* Memo = dynamic_cast<TvqrMemoView*>(Obj);
    if (!Memo) continue;
    if (Memo->Text() == u"[vqrDBDSColorRec.\"AMX\"]") {
      EXPECT_TRUE(Memo->HideZeros());
      EXPECT_EQ(Memo->DisplayFormat()->Kind(), fkNumeric);
      EXPECT_EQ(Memo->DisplayFormat()->FormatStr(), u"%g");
      EXPECT_TRUE(Memo->ParentFont());
      EXPECT_EQ(Memo->Font()->Size(), 9);
    }
  }
}

TEST_F(ReportTemplates, TheRecipeAdapterReadsTheCurrentRecipeQuery) {
  TvqrDBDataset* Recipe = Adapter(u"vqrDBDSColorRec");
  Recipe->Initialize();
  Recipe->First();
  ASSERT_FALSE(Recipe->Eof());
  int Rows = 0;
  for (; !Recipe->Eof(); Recipe->Next()) {
    EXPECT_FALSE(Recipe->Value(u"AM").IsNull());
    ++Rows;
  }
  EXPECT_EQ(Rows, Module->ColorRec1->RecordCount());
  Recipe->Finalize();
}

TEST_F(ReportTemplates, TheColourAdapterYieldsOnlyTheCurrentCatalogueRow) {
  Module->Color->First();
  Module->Color->Next();
  const Variant Current = Module->Color->FieldByName(u"NM")->Value();
  TvqrDBDataset* Colour = Adapter(u"vqrDBDSColor");
  Colour->Initialize();
  Colour->First();
  EXPECT_EQ(VarToStr(Colour->Value(u"NM")), VarToStr(Current));
  Colour->Next();
  EXPECT_TRUE(Colour->Eof());
  Colour->Finalize();
  EXPECT_EQ(VarToStr(Module->Color->FieldByName(u"NM")->Value()), VarToStr(Current));
}
