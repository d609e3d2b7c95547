// vqrClassTest.cpp - the report component tree: ownership, names, fonts, alignment, the
// prepared-object texts, pages, options, the dataset list, styles and the abstract contracts.
#include "report/core/vqrClass.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/classes/Filer.h"
#include "platform/classes/Registry.h"
#include "platform/classes/Streams.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/FormatSettings.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrRes.h"

namespace {

// A text object that counts the live instances, to see who frees what.
class TCountedMemo : public TvqrMemoView {
  VORENTA_CLASS(TCountedMemo, TvqrMemoView)
public:
  explicit TCountedMemo(TComponent* AOwner) : TvqrMemoView(AOwner) { ++Alive; }
  ~TCountedMemo() override { --Alive; }
  static inline int Alive = 0;
};

// A report: data page, report page with a page header and a master band, text objects.
struct TSmallReport {
  // The module's start registers the classes the reader creates by name.
  bool Registered = (RegisterReportClasses(), true);
  TvqrReport Report{nullptr};
  TvqrDataPage* Data = new TvqrDataPage(&Report);
  TvqrReportPage* Page = new TvqrReportPage(&Report);
  TvqrPageHeader* Header = new TvqrPageHeader(Page);
  TvqrMasterData* Master = new TvqrMasterData(Page);
  TvqrMemoView* Title = new TvqrMemoView(Header);
  TvqrMemoView* Value = new TvqrMemoView(Master);

  TSmallReport() {
    Data->SetName(u"Data");
    Page->SetName(u"Page1");
    Header->SetName(u"PageHeader1");
    Master->SetName(u"MasterData1");
    Title->SetName(u"Memo1");
    Value->SetName(u"Memo2");
    Header->SetBounds(0, 18.9L, 718.1L, 30);
    Master->SetBounds(0, 68, 718.1L, 20);
    Title->SetBounds(10, 2, 300, 20);
    Title->SetText(u"Цвет \"Охра\"\r\nвторая строка");
    Value->SetBounds(10.5L, 0, 120, 18);
    Value->SetText(u"[ds.\"AM\"]");
  }
};

String SaveText(TvqrComponent* Obj) {
  TStringStream Stream;
  Obj->SaveToStream(&Stream);
  return Stream.DataString();
}

}  // namespace

REGISTER_CLASS(TCountedMemo) {}

// --- Ownership and the tree ---------------------------------------------------------------------

TEST(vqrComponentTree, OwnerIsTheReportAndParentIsTheGivenComponent) {
  TSmallReport R;
  EXPECT_EQ(R.Value->Owner(), &R.Report);
  EXPECT_EQ(R.Value->Parent(), R.Master);
  EXPECT_EQ(R.Value->Report(), &R.Report);
  EXPECT_EQ(R.Value->Page(), R.Page);
  EXPECT_EQ(R.Report.PagesCount(), 2);
  EXPECT_EQ(R.Report.Pages(1), R.Page);
  const std::vector<TvqrComponent*> Expected = {R.Data,  R.Page,   R.Header,
                                                R.Title, R.Master, R.Value};
  EXPECT_EQ(R.Report.AllObjects(), Expected);
  EXPECT_EQ(R.Report.FindObject(u"MEMO2"), R.Value);
  EXPECT_EQ(R.Report.FindObject(u"Memo9"), nullptr);
}

TEST(vqrComponentTree, FreeingAnObjectFreesItsSubtreeAndLeavesItsParent) {
  TCountedMemo::Alive = 0;
  {
    TSmallReport R;
    new TCountedMemo(R.Master);
    new TCountedMemo(R.Header);
    ASSERT_EQ(TCountedMemo::Alive, 2);
    delete R.Master;
    EXPECT_EQ(TCountedMemo::Alive, 1);
    EXPECT_EQ(R.Page->Objects().size(), 1u);
    EXPECT_EQ(R.Report.FindObject(u"Memo2"), nullptr);
  }
  EXPECT_EQ(TCountedMemo::Alive, 0);  // the report freed the rest
}

TEST(vqrComponentTree, ClearKeepsObjectsInheritedFromAnAncestor) {
  TCountedMemo::Alive = 0;
  TSmallReport R;
  auto* Kept = new TCountedMemo(R.Master);
  new TCountedMemo(Kept);
  new TCountedMemo(R.Master);
  Kept->SetAncestor(true);
  R.Master->Clear();
  ASSERT_EQ(R.Master->Objects().size(), 1u);
  EXPECT_EQ(R.Master->Objects()[0], Kept);
  EXPECT_TRUE(Kept->Objects().empty());  // its own Clear ran
  EXPECT_EQ(TCountedMemo::Alive, 1);
  delete R.Master;  // a parent that goes frees the kept ones too
  EXPECT_EQ(TCountedMemo::Alive, 0);
}

TEST(vqrComponentTree, MovingToAnotherParentAppendsAtTheEnd) {
  TSmallReport R;
  R.Title->SetParent(R.Master);
  EXPECT_TRUE(R.Header->Objects().empty());
  ASSERT_EQ(R.Master->Objects().size(), 2u);
  EXPECT_EQ(R.Master->Objects()[1], R.Title);
  EXPECT_EQ(R.Title->Owner(), &R.Report);  // the owner does not change
}

TEST(vqrComponentTree, FindObjectFollowsRenamesMovesAndDuplicateNames) {
  TSmallReport R;
  R.Title->SetName(u"Caption");
  EXPECT_EQ(R.Report.FindObject(u"Memo1"), nullptr);
  EXPECT_EQ(R.Report.FindObject(u"CAPTION"), R.Title);

  // A band moved to another report takes its objects' names along.
  TvqrReport Other(nullptr);
  auto* OtherPage = new TvqrReportPage(&Other);
  R.Master->SetParent(OtherPage);
  EXPECT_EQ(R.Report.FindObject(u"Memo2"), nullptr);
  EXPECT_EQ(Other.FindObject(u"Memo2"), R.Value);
  R.Master->SetParent(R.Page);
  EXPECT_EQ(Other.FindObject(u"Memo2"), nullptr);
  EXPECT_EQ(R.Report.FindObject(u"Memo2"), R.Value);

  // A band built outside any report may bring a name the report has; the first in tree order
  // answers, and the other once the first is gone.
  auto* Loose = new TvqrMasterData(nullptr);
  auto* Twin = new TvqrMemoView(Loose);
  Twin->SetName(u"Caption");
  Loose->SetParent(R.Page);
  EXPECT_EQ(R.Report.FindObject(u"Caption"), R.Title);
  R.Page->MoveChildToFront(Loose);
  EXPECT_EQ(R.Report.FindObject(u"Caption"), Twin);
  delete R.Header;
  EXPECT_EQ(R.Report.FindObject(u"Caption"), Twin);
  delete Loose;
  EXPECT_EQ(R.Report.FindObject(u"Caption"), nullptr);
}

TEST(vqrComponentTree, ClearingTellsTheKeptObjectsWhatWent) {
  TSmallReport R;
  auto* ChildBand = new TvqrChild(R.Page);
  R.Master->SetChild(ChildBand);
  R.Page->SetAncestor(true);
  R.Master->SetAncestor(true);
  R.Report.Clear();
  ASSERT_EQ(R.Page->Objects(), (std::vector<TvqrComponent*>{R.Master}));
  EXPECT_EQ(R.Master->Child(), nullptr);
  EXPECT_EQ(R.Report.FindObject(u"MasterData1"), R.Master);
  EXPECT_EQ(R.Report.FindObject(u"Memo2"), nullptr);
}

// --- Names --------------------------------------------------------------------------------------

TEST(vqrComponentNames, UniqueNamesFollowTheBaseName) {
  TvqrReport Report(nullptr);
  auto* Page = new TvqrReportPage(&Report);
  EXPECT_EQ(Page->BaseName(), u"Page");
  auto* Memo = new TvqrMemoView(Page);
  EXPECT_EQ(Memo->BaseName(), u"Memo");
  Memo->CreateUniqueName();
  EXPECT_EQ(Memo->Name(), u"Memo1");
  Memo->SetName(u"memo1");
  EXPECT_EQ(Memo->Name(), u"Memo1");  // a change of case alone does nothing
  (new TvqrMemoView(Page))->SetName(u"Memo2");
  auto* Third = new TvqrMemoView(Page);
  Third->CreateUniqueName();
  EXPECT_EQ(Third->Name(), u"Memo3");
  EXPECT_EQ((new TvqrMasterData(Page))->BaseName(), u"MasterData");
}

TEST(vqrComponentNames, DuplicateAndAncestorRenamesAreRefused) {
  TSmallReport R;
  try {
    R.Value->SetName(u"MEMO1");
    FAIL() << "duplicate accepted";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), StringTable()->Get(u"prDupl"));
  }
  EXPECT_EQ(R.Value->Name(), u"Memo2");
  R.Value->SetAncestorFlag(true);
  try {
    R.Value->SetName(u"Other");
    FAIL() << "ancestor rename accepted";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"Could not rename Memo2, it was introduced in the ancestor report");
  }
  EXPECT_EQ(R.Value->Name(), u"Memo2");
}

// --- Fonts --------------------------------------------------------------------------------------

TEST(vqrComponentFont, NewObjectsFollowTheParentFont) {
  TvqrMemoView Alone(nullptr);
  EXPECT_EQ(Alone.Font()->Name(), u"Arial");
  EXPECT_EQ(Alone.Font()->Size(), 10);
  EXPECT_EQ(Alone.Font()->Color(), 0);
  EXPECT_EQ(Alone.Font()->Charset(), 1);
  EXPECT_TRUE(Alone.ParentFont());
}

TEST(vqrComponentFont, ABandFontChangeRunsDownAndADirectChangeEndsParentFont) {
  TSmallReport R;
  auto* Inner = new TvqrMemoView(R.Value);
  R.Master->Font()->SetName(u"Times New Roman");
  EXPECT_FALSE(R.Master->ParentFont());
  EXPECT_EQ(R.Value->Font()->Name(), u"Times New Roman");
  EXPECT_EQ(Inner->Font()->Name(), u"Times New Roman");
  EXPECT_TRUE(R.Value->ParentFont());
  EXPECT_TRUE(Inner->ParentFont());
  EXPECT_EQ(R.Title->Font()->Name(), u"Arial");  // another band

  R.Value->Font()->SetSize(14);
  EXPECT_FALSE(R.Value->ParentFont());
  R.Master->Font()->SetName(u"Courier New");
  EXPECT_EQ(R.Value->Font()->Name(), u"Times New Roman");
  EXPECT_EQ(Inner->Font()->Size(), 14);
}

// --- Geometry -----------------------------------------------------------------------------------

TEST(vqrComponentGeometry, AbsolutePositionsAndPrintBounds) {
  TSmallReport R;
  EXPECT_DOUBLE_EQ(double(R.Value->AbsLeft()), 10.5);
  EXPECT_DOUBLE_EQ(double(R.Value->AbsTop()), 68.0);
  const TvqrRect B = R.Value->GetRealBounds();
  EXPECT_DOUBLE_EQ(double(B.Right), 130.5);
  EXPECT_DOUBLE_EQ(double(B.Bottom), 86.0);

  R.Value->BeforePrint();
  R.Value->SetBounds(1, 2, 3, 4);
  R.Value->AfterPrint();
  EXPECT_DOUBLE_EQ(double(R.Value->Left()), 10.5);
  EXPECT_DOUBLE_EQ(double(R.Value->Height()), 18.0);
}

TEST(vqrComponentGeometry, RestrictionsHoldOnlyWhileDesigning) {
  auto* Memo = TvqrComponent::DesignCreate<TvqrMemoView>(nullptr);
  std::unique_ptr<TvqrMemoView> Owned(Memo);
  EXPECT_TRUE(Memo->IsDesigning());
  Memo->SetBounds(1, 2, 3, 4);
  Memo->SetRestrictions({rfDontMove, rfDontSize});
  Memo->SetBounds(10, 20, 30, 40);
  EXPECT_DOUBLE_EQ(double(Memo->Left()), 1.0);
  EXPECT_DOUBLE_EQ(double(Memo->Width()), 3.0);
  Memo->SetIsDesigning(false);
  Memo->SetBounds(10, 20, 30, 40);
  EXPECT_DOUBLE_EQ(double(Memo->Top()), 20.0);
  EXPECT_FALSE(TvqrMemoView(nullptr).IsDesigning());
}

// --- Alignment ----------------------------------------------------------------------------------

TEST(vqrComponentAlign, ViewsAlignAgainstTheirNeighbours) {
  struct Case {
    const char* Name;
    TvqrAlign Align;
    Extended Top;  // of the aligned view; the neighbours stand at 0..20
    Extended Left, Width;
  };
  // Band 500 wide; neighbours A at 0..100 and B at 300..350; the view starts at 150 x 50.
  const Case Cases[] = {
      {"left to A", baLeft, 5, 100, 50},
      {"right to B", baRight, 5, 250, 50},
      {"width between", baWidth, 5, 100, 200},
      {"centre", baCenter, 5, 225, 50},
      {"no overlap: left edge", baLeft, 20, 0, 50},
      {"touching within tolerance: right edge", baRight, 19.99995L, 450, 50},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TvqrMasterData Band(nullptr);
    Band.SetBounds(0, 0, 500, 40);
    auto* A = new TvqrMemoView(&Band);
    A->SetBounds(0, 0, 100, 20);
    auto* B = new TvqrMemoView(&Band);
    B->SetBounds(300, 0, 50, 20);
    auto* V = new TvqrMemoView(&Band);
    V->SetBounds(150, C.Top, 50, 10);
    V->SetAlign(C.Align);
    Band.AlignChildren();
    EXPECT_DOUBLE_EQ(double(V->Left()), double(C.Left));
    EXPECT_DOUBLE_EQ(double(V->Width()), double(C.Width));
  }
}

TEST(vqrComponentAlign, NegativeLeftsSortMinusFiveBeforeMinusTen) {
  // Both views left-aligned in one row: the one taken first (-5) goes to 0, the other
  // follows it, so the order of the keys shows in the result.
  TvqrMasterData Band(nullptr);
  Band.SetBounds(0, 0, 500, 40);
  auto* Ten = new TvqrMemoView(&Band);
  Ten->SetBounds(-10, 0, 30, 20);
  Ten->SetAlign(baLeft);
  auto* Five = new TvqrMemoView(&Band);
  Five->SetBounds(-5, 0, 40, 20);
  Five->SetAlign(baLeft);
  Band.AlignChildren();
  EXPECT_DOUBLE_EQ(double(Five->Left()), 0.0);
  EXPECT_DOUBLE_EQ(double(Ten->Left()), 40.0);
}

TEST(vqrComponentAlign, ClientAndBottomFillTheParent) {
  TvqrMasterData Band(nullptr);
  Band.SetBounds(0, 0, 500, 40);
  auto* Client = new TvqrMemoView(&Band);
  Client->SetAlign(baClient);
  auto* Bottom = new TvqrMemoView(&Band);
  Bottom->SetBounds(7, 0, 10, 15);
  Bottom->SetAlign(baBottom);
  Band.AlignChildren();
  EXPECT_DOUBLE_EQ(double(Client->Width()), 500.0);
  EXPECT_DOUBLE_EQ(double(Client->Height()), 40.0);
  EXPECT_DOUBLE_EQ(double(Bottom->Top()), 25.0);
}

// --- Prepared-object texts ----------------------------------------------------------------------

TEST(vqrComponentDiff, FloatsDifferBeyondTheTolerance) {
  EXPECT_FALSE(FloatsDiffer(10.00005L, 10.0L));
  EXPECT_TRUE(FloatsDiffer(10.0002L, 10.0L));
}

TEST(vqrComponentDiff, BaseAttributesListWhatDiffers) {
  TFormatSettingsScope Russian(TFormatSettings::Russian());
  TSmallReport R;
  TvqrMemoView Ref(nullptr);
  Ref.SetBounds(10.5L, 0.00005L, 100, 18);
  EXPECT_EQ(R.Value->DiffBaseAttributes(&Ref), u" w=\"120\"");

  R.Value->SetVisible(false);
  R.Value->SetTag(7);
  R.Value->Font()->SetName(u"A&B");
  R.Value->Font()->SetStyle({fsBold, fsUnderline});
  R.Value->SetLeft(12.25L);
  EXPECT_EQ(R.Value->DiffBaseAttributes(&Ref),
            u" l=\"12,25\" w=\"120\" Visible=\"0\" Font.Name=\"A&#38;B\" Font.Style=\"5\""
            u" ParentFont=\"0\" Tag=\"7\"");

  R.Value->SetAutoWidth(true);
  EXPECT_EQ(R.Value->DiffBaseAttributes(&Ref).find(u" w="), String::npos);

  TvqrMasterData Band(nullptr);
  EXPECT_EQ(R.Master->DiffBaseAttributes(&Band), u" t=\"68\" w=\"718,1\" h=\"20\"");  // t always
}

TEST(vqrComponentDiff, AllDiffIsTheSerializerTextPlusTheBaseDifferences) {
  TSmallReport R;
  const String All = R.Value->AllDiff(nullptr);
  EXPECT_NE(All.find(u"Left=\"10.5\""), String::npos) << StringToUtf8(All);
  EXPECT_NE(All.find(u"Text=\"[ds.&#34;AM&#34;]\""), String::npos) << StringToUtf8(All);
  EXPECT_NE(All.front(), u'<');
  EXPECT_NE(All.back(), u'>');
  TvqrMemoView Ref(nullptr);
  Ref.SetBounds(10.5L, 0, 120, 18);
  EXPECT_EQ(R.Value->AllDiff(&Ref), All + u" ");  // no base differences
}

TEST(vqrComponentDiff, AllDiffOfAnObjectWithoutAttributesIsEmpty) {
  TvqrDataSet Plain(nullptr), Ref(nullptr);
  EXPECT_EQ(Plain.AllDiff(nullptr), u"");
  Ref.SetLeft(3);
  EXPECT_EQ(Plain.AllDiff(&Ref), u"  l=\"0\"");
}

// --- Streaming ----------------------------------------------------------------------------------

TEST(vqrComponentStream, ATreeSavedLoadedAndSavedAgainGivesTheSameText) {
  TSmallReport R;
  R.Page->SetDefaults();
  R.Page->SetOrientation(poLandscape);
  R.Master->Font()->SetStyle({fsBold});
  R.Report.ReportOptions()->SetAuthor(u"Магазин");
  const String First = SaveText(&R.Report);

  TvqrReport Copy(nullptr);
  TStringStream In(First);
  Copy.LoadFromStream(&In);
  EXPECT_EQ(Copy.Errors()->Count(), 0) << StringToUtf8(Copy.Errors()->Text());
  EXPECT_EQ(SaveText(&Copy), First);

  auto* Memo = dynamic_cast<TvqrMemoView*>(Copy.FindObject(u"Memo1"));
  ASSERT_NE(Memo, nullptr);
  EXPECT_EQ(Memo->Text(), R.Title->Text());
  EXPECT_EQ(Memo->Parent()->Name(), u"PageHeader1");
  EXPECT_TRUE(Memo->ParentFont());
  EXPECT_TRUE(Memo->Font()->Style().Empty());
  auto* Page = dynamic_cast<TvqrReportPage*>(Copy.FindObject(u"Page1"));
  ASSERT_NE(Page, nullptr);
  EXPECT_EQ(Page->Orientation(), poLandscape);
  EXPECT_DOUBLE_EQ(double(Page->PaperWidth()), 297.0);
  EXPECT_EQ(Copy.ReportOptions()->Author(), u"Магазин");
}

TEST(vqrComponentStream, ReadingErrorsReachTheReportAndTheSerializerSlotIsCleared) {
  TSmallReport R;
  TStringStream Unknown(String(u"<?xml version=\"1.0\"?>\r\n<TvqrMasterData Top=\"5\">"
                               u"<TvqrNoSuchView Name=\"X\"/><TvqrMemoView Name=\"Memo7\"/>"
                               u"</TvqrMasterData>"));
  R.Master->LoadFromStream(&Unknown);
  EXPECT_DOUBLE_EQ(double(R.Master->Top()), 5.0);
  ASSERT_EQ(R.Master->Objects().size(), 1u);  // Clear freed Memo2; Memo7 was read
  EXPECT_EQ(R.Master->Objects()[0]->Name(), u"Memo7");
  EXPECT_EQ(R.Report.Errors()->Count(), 1);
  EXPECT_NE(R.Report.Errors()->Strings(0).find(u"TvqrNoSuchView"), String::npos);
  EXPECT_EQ(R.Report.XMLSerializer(), nullptr);

  TStringStream Broken(String(u"<TvqrMasterData><a></b></TvqrMasterData>"));
  EXPECT_THROW(R.Master->LoadFromStream(&Broken), Exception);
  EXPECT_EQ(R.Report.XMLSerializer(), nullptr);
}

TEST(vqrComponentStream, AssignCopiesOwnPropertiesAndAssignAllTheSubtree) {
  TSmallReport R;
  TvqrMasterData Band(nullptr);
  Band.Assign(R.Master);
  EXPECT_DOUBLE_EQ(double(Band.Top()), 68.0);
  EXPECT_TRUE(Band.Objects().empty());
  Band.AssignAll(R.Master);
  ASSERT_EQ(Band.Objects().size(), 1u);
  EXPECT_EQ(static_cast<TvqrMemoView*>(Band.Objects()[0])->Text(), u"[ds.\"AM\"]");
  Band.Assign(nullptr);  // ignored
}

// --- Pages --------------------------------------------------------------------------------------

TEST(vqrReportPage, PaperGeometry) {
  TvqrReportPage Page(nullptr);
  EXPECT_DOUBLE_EQ(double(Page.PaperWidth()), 210.0);
  EXPECT_DOUBLE_EQ(double(Page.Width()), 794.0);
  EXPECT_DOUBLE_EQ(double(Page.Height()), 1123.0);

  Page.SetLeftMargin(10), Page.SetRightMargin(20), Page.SetTopMargin(30), Page.SetBottomMargin(40);
  Page.SetOrientation(poLandscape);
  EXPECT_DOUBLE_EQ(double(Page.LeftMargin()), 30.0);
  EXPECT_DOUBLE_EQ(double(Page.RightMargin()), 40.0);
  EXPECT_DOUBLE_EQ(double(Page.TopMargin()), 20.0);
  EXPECT_DOUBLE_EQ(double(Page.BottomMargin()), 10.0);
  EXPECT_DOUBLE_EQ(double(Page.PaperWidth()), 297.0);
  Page.SetOrientation(poPortrait);
  EXPECT_DOUBLE_EQ(double(Page.LeftMargin()), 10.0);
  EXPECT_DOUBLE_EQ(double(Page.BottomMargin()), 40.0);

  Page.SetPaperWidth(100.123456789L);
  EXPECT_NEAR(double(Page.PaperWidth()), 100.12345679, 1e-12);
  EXPECT_EQ(Page.PaperSize(), 256);
  Page.SetPaperSize(256);
  EXPECT_NEAR(double(Page.PaperWidth()), 100.12345679, 1e-12);
  Page.SetPaperSize(4242);  // unknown code: stored, sizes kept
  EXPECT_EQ(Page.PaperSize(), 4242);

  Page.SetPageCount(0);
  Page.SetPageCount(-3);
  EXPECT_EQ(Page.PageCount(), 1);
}

// --- Options ------------------------------------------------------------------------------------

TEST(vqrOptions, DefaultsAndSilentMode) {
  TvqrPrintOptions Print;
  EXPECT_EQ(Print.Printer(), u"По умолчанию");
  TvqrEngineOptions Engine;
  EXPECT_TRUE(Engine.DestroyForms());
  EXPECT_TRUE(Engine.UseGlobalDataSetList());
  Engine.SetNewSilentMode(simReThrow);
  EXPECT_FALSE(Engine.SilentMode());
  Engine.SetSilentMode(false);
  EXPECT_EQ(Engine.NewSilentMode(), simMessageBoxes);
  Engine.SetSilentMode(true);
  EXPECT_EQ(Engine.NewSilentMode(), simSilent);
  TvqrPreviewOptions Preview;
  EXPECT_TRUE(Preview.Buttons().Contains(pbExportQuick));
  EXPECT_FALSE(Preview.Buttons().Contains(pbNoClose));
}

TEST(vqrOptions, EngineAssignLeavesTheHostFlags) {
  TvqrEngineOptions Source, Target;
  Source.SetDoublePass(true);
  Source.SetEnableThreadSafe(true);
  Source.SetDestroyForms(false);
  Target.Assign(&Source);
  EXPECT_TRUE(Target.DoublePass());
  EXPECT_FALSE(Target.EnableThreadSafe());
  EXPECT_TRUE(Target.DestroyForms());
}

TEST(vqrOptions, ReportOptionsClearKeepsDescriptionOnlyWithInfo) {
  TvqrReportOptions Options;
  Options.SetAuthor(u"A");
  Options.SetName(u"N");
  Options.SetInfo(true);
  Options.Clear();
  EXPECT_EQ(Options.Author(), u"A");
  EXPECT_EQ(Options.Name(), u"");
  Options.SetInfo(false);
  Options.Clear();
  EXPECT_EQ(Options.Author(), u"");
}

TEST(vqrOptions, ReportPictureIsStoredAsHexDataAndCopiedByAssign) {
  TSmallReport R;
  TBitmap Strip;
  Strip.SetSize(3, 2);
  Strip.Canvas()->Brush()->SetColor(clRed);
  Strip.Canvas()->FillRect(Rect(0, 0, 3, 2));
  R.Report.ReportOptions()->Picture()->SetGraphic(&Strip);
  const String Saved = SaveText(&R.Report);
  // "Data": a binary value holding "TBitmap" and the counted BMP bytes.
  EXPECT_NE(Saved.find(u"ReportOptions.Picture.PropData=\"04446174610A"), String::npos);

  TvqrReport Copy(nullptr);
  TStringStream In(Saved);
  Copy.LoadFromStream(&In);
  TPicture* Read = Copy.ReportOptions()->Picture();
  ASSERT_NE(dynamic_cast<TBitmap*>(Read->Graphic()), nullptr);
  EXPECT_EQ(Read->Width(), 3);
  EXPECT_EQ(Read->Bitmap()->Canvas()->Pixels(2, 1), clRed);
  EXPECT_EQ(SaveText(&Copy), Saved);

  TvqrReportOptions Other;
  Other.Assign(Copy.ReportOptions());
  EXPECT_EQ(Other.Picture()->Height(), 2);
  Other.SetInfo(true);
  Other.Clear();  // descriptive fields, the picture among them, stay
  EXPECT_EQ(Other.Picture()->Height(), 2);
  Other.SetInfo(false);
  Other.Clear();
  EXPECT_EQ(Other.Picture()->Graphic(), nullptr);
  R.Report.ReportOptions()->Clear();
  EXPECT_EQ(SaveText(&R.Report).find(u"Picture"), String::npos);
}

TEST(vqrOptions, PasswordIsAskedUntilAccepted) {
  TvqrReport Report(nullptr);
  Report.EngineOptions()->SetNewSilentMode(simSilent);
  TvqrReportOptions* Options = Report.ReportOptions();
  int Asked = 0;
  String Answer = u"wrong";
  TvqrReportOptions::SetPasswordPrompt([&](String& Typed) {
    ++Asked;
    Typed = Answer;
    return true;
  });
  EXPECT_TRUE(Options->CheckPassword());  // no password
  Options->SetPassword(u"Secret");
  EXPECT_FALSE(Options->CheckPassword());
  EXPECT_EQ(Report.Errors()->IndexOf(u"Invalid password"), 0);
  Answer = u"Secret";
  EXPECT_TRUE(Options->CheckPassword());
  EXPECT_TRUE(Options->CheckPassword());
  EXPECT_EQ(Asked, 2);  // accepted once, not asked again
  TvqrReportOptions::SetPasswordPrompt(nullptr);
}

TEST(vqrOptions, ConnectionsAreLookedUpInFourPlacesUserLast) {
  const auto Dir = std::filesystem::temp_directory_path() / "vqr-connections-test";
  std::filesystem::remove_all(Dir);
  std::filesystem::create_directories(Dir);
  const char* Old = std::getenv("XDG_CONFIG_HOME");
  const std::string Saved = Old ? Old : "";
  setenv("XDG_CONFIG_HOME", Dir.c_str(), 1);
  for (HKEY Root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    TRegistry Reg;
    Reg.SetRootKey(Root);
    ASSERT_TRUE(Reg.OpenKey(u"\\Software\\Quillerant\\Connections", true));
    Reg.WriteString(u"Shop", Root == HKEY_CURRENT_USER ? u"user" : u"machine");
  }
  TvqrReport Report(nullptr);
  std::vector<String> Calls;
  Report.SetOnSetConnection([&](const String& Conn) { Calls.push_back(Conn); });
  Report.ReportOptions()->SetConnectionName(u"Shop");
  EXPECT_EQ(Calls, (std::vector<String>{u"machine", u"user"}));
  Report.ReportOptions()->SetConnectionName(u"Missing");
  EXPECT_EQ(Calls.size(), 2u);
  if (Old) setenv("XDG_CONFIG_HOME", Saved.c_str(), 1); else unsetenv("XDG_CONFIG_HOME");
  std::filesystem::remove_all(Dir);
}

// --- Dataset list -------------------------------------------------------------------------------

TEST(vqrDataSets, EntriesFollowTheirDataSources) {
  TvqrReport Report(nullptr);
  auto* DataPage = new TvqrDataPage(&Report);
  auto* Colors = new TvqrDataSet(DataPage);
  Colors->SetUserName(u"Colors");
  EXPECT_DOUBLE_EQ(double(Colors->Width()), 28.0);
  EXPECT_FALSE(Colors->vqComponentStyle().Contains(csPreviewVisible));

  Report.DataSets()->Add(Colors);
  EXPECT_EQ(Report.DataSets()->Find(u"COLORS")->DataSet(), Colors);
  EXPECT_EQ(Report.DataSets()->Find(Colors)->DataSetName(), u"Colors");
  Report.SetDataSetName(u"colors");
  EXPECT_EQ(Report.DataSet(), Colors);
  Report.SetDataSetName(u"Nothing");  // the global list has none: the bound one stays
  EXPECT_EQ(Report.DataSet(), Colors);

  delete Colors;
  EXPECT_EQ(Report.DataSets()->Count(), 0);
  EXPECT_EQ(Report.DataSet(), nullptr);
}

TEST(vqrDataSets, ANameOfAnotherReportsDataSourceIsNotTaken) {
  TvqrReport Mine(nullptr), Other(nullptr);
  auto* Foreign = new TvqrDataSet(new TvqrDataPage(&Other));
  Foreign->SetUserName(u"Shared");
  Mine.DataSets()->Add(nullptr);
  Mine.DataSets()->Items(0)->SetDataSetName(u"Shared");
  EXPECT_EQ(Mine.DataSets()->Items(0)->DataSet(), nullptr);
  auto* Local = new TvqrDataSet(new TvqrDataPage(&Mine));
  Local->SetUserName(u"Shared");
  Mine.DataSets()->Items(0)->SetDataSetName(u"Shared");
  EXPECT_EQ(Mine.DataSets()->Items(0)->DataSet(), Local);
  Mine.DataSets()->Items(0)->SetDataSetName(u"");
  EXPECT_EQ(Mine.DataSets()->Items(0)->DataSet(), nullptr);
}

TEST(vqrDialogComponent, FormStreamsCarryTheRoundedPosition) {
  RegisterReportClasses();
  RegisterClasses({TvqrDataSet::ClassInfo()});
  TvqrReport Report(nullptr);
  auto* Data = new TvqrDataPage(&Report);
  Data->SetName(u"Data");
  auto* DS = new TvqrDataSet(Data);
  DS->SetName(u"DS1");
  DS->SetBounds(10.6L, 20.4L, 5, 5);
  TMemoryStream Stream;
  WriteComponentToStream(&Report, &Stream);
  Stream.SetPosition(0);
  TvqrReport Copy(nullptr);
  ReadComponentFromStream(&Stream, &Copy);
  auto* Read = dynamic_cast<TvqrDataSet*>(Copy.FindObject(u"DS1"));
  ASSERT_NE(Read, nullptr);
  EXPECT_EQ(Read->Parent()->Name(), u"Data");
  EXPECT_DOUBLE_EQ(double(Read->Left()), 11.0);
  EXPECT_DOUBLE_EQ(double(Read->Top()), 20.0);
  EXPECT_DOUBLE_EQ(double(Read->Width()), 28.0);
}

// --- Styles -------------------------------------------------------------------------------------

TEST(vqrStyles, NamesAreUniqueIgnoringCase) {
  TvqrStyles Sheet;
  Sheet.Add()->SetName(u"Style1");
  Sheet.Add()->SetName(u"style3");
  TvqrStyleItem* Item = Sheet.Add();
  Item->CreateUniqueName();
  EXPECT_EQ(Item->Name(), u"Style2");
  try {
    Item->SetName(u"STYLE1");
    FAIL() << "duplicate accepted";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"Duplicate name");
  }
  EXPECT_EQ(Item->Name(), u"Style2");
  EXPECT_EQ(Sheet.Find(u"СТИЛЬ"), nullptr);
  Item->SetName(u"Стиль");
  EXPECT_EQ(Sheet.Find(u"СТИЛЬ"), Item);  // the locale's case rules
}

TEST(vqrStyles, ApplySetsTheStyleAndForgetsDeletedOnes) {
  TSmallReport R;
  TvqrStyleItem* Head = R.Report.Styles()->Add();
  Head->SetName(u"Head");
  Head->Font()->SetName(u"Times New Roman");
  Head->SetColor(clRed);
  R.Title->SetStyle(u"head");
  EXPECT_EQ(R.Title->Font()->Name(), u"Times New Roman");
  EXPECT_EQ(R.Title->Color(), clRed);
  R.Report.Styles()->Apply();
  EXPECT_EQ(R.Title->Style(), u"Head");
  R.Report.Styles()->Delete(0);
  R.Report.Styles()->Apply();
  EXPECT_EQ(R.Title->Style(), u"");
}

TEST(vqrStyles, TheStyleSheetFileRoundTrips) {
  TSmallReport R;
  TvqrStyles* Sheet = R.Report.Styles();
  Sheet->SetName(u"Магазин");
  TvqrStyleItem* Item = Sheet->Add();
  Item->SetName(u"Head");
  Item->Font()->SetStyle({fsBold});
  Item->SetColor(clYellow);
  Sheet->Add()->SetName(u"Body");
  R.Title->SetStyle(u"Head");
  TStringStream Saved;
  Sheet->SaveToStream(&Saved);
  const String Text = Saved.DataString();
  EXPECT_NE(Text.find(u"<style Name=\"Магазин\">"), String::npos) << StringToUtf8(Text);
  EXPECT_NE(Text.find(u"  <item "), String::npos);  // indented

  TSmallReport Other;
  Other.Title->SetStyle(u"Head");
  Saved.SetPosition(0);
  Other.Report.Styles()->LoadFromStream(&Saved);
  ASSERT_EQ(Other.Report.Styles()->Count(), 2);
  TvqrStyleItem* Loaded = Other.Report.Styles()->Find(u"Head");
  ASSERT_NE(Loaded, nullptr);
  EXPECT_EQ(Loaded->Color(), clYellow);
  EXPECT_TRUE(Loaded->Font()->Style().Contains(fsBold));
  EXPECT_EQ(Other.Report.Styles()->Name(), u"Магазин");
  EXPECT_TRUE(Other.Title->Font()->Style().Contains(fsBold));  // applied after loading
  TStringStream Again;
  Other.Report.Styles()->SaveToStream(&Again);
  EXPECT_EQ(Again.DataString(), Text);

  TStringStream NotASheet(String(u"<?xml version=\"1.0\"?>\r\n<variables/>"));
  Other.Report.Styles()->LoadFromStream(&NotASheet);
  EXPECT_EQ(Other.Report.Styles()->Count(), 0);
}

// --- Abstract contracts and the module --------------------------------------------------------

namespace {

class TAbstractFilter : public TvqrCustomExportFilter {
public:
  using TvqrCustomExportFilter::TvqrCustomExportFilter;
};

}  // namespace

TEST(vqrAbstract, UnimplementedOperationsRaiseTheAbstractError) {
  TvqrReport Report(nullptr);
  TvqrCustomEngine Engine(&Report);
  TvqrCustomPreviewPages Pages(&Report);
  TAbstractFilter Filter{TvqrCustomExportFilter::NoRegisterTag{}};
  EXPECT_THROW(Engine.Run(), EAbstractError);
  EXPECT_THROW(Pages.Count(), EAbstractError);
  EXPECT_THROW(Filter.ExportObject(nullptr), EAbstractError);
  TvqrMasterData Band(nullptr);
  EXPECT_THROW(Band.TvqrReportComponent::Draw(nullptr, 1, 1, 0, 0), EAbstractError);
  Engine.StopReport();
  EXPECT_TRUE(Report.Terminated());
  EXPECT_EQ(Filter.ShowModal(), 1);
}

TEST(vqrModule, StartsAndEndsAreCounted) {
  vqrModuleInitialize();
  vqrModuleInitialize();
  vqrModuleFinalize();
  EXPECT_NE(vqrVQ2Events(), nullptr);
  EXPECT_NE(vqrGlobalVariables(), nullptr);
  EXPECT_EQ(FindClass(u"TvqrReportPage"), TvqrReportPage::ClassInfo());
  vqrModuleFinalize();
  EXPECT_EQ(vqrVQ2Events(), nullptr);
  vqrConnectionsKey() = u"\\Software\\Quillerant\\Connections";
}
