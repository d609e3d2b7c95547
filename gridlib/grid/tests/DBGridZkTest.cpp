// DBGridZkTest.cpp - the data grid over the "ITEMS" fixture: columns from the dataset, option
// sets, layout numbers, rows and the scroll bar, footers with sums, the row detail panel,
// striping and bold on rows that are not current, streaming, and pictures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/classes/Filer.h"
#include "platform/classes/Streams.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

namespace {

String ShotName(const char* Name) {
  const char* Dir = std::getenv("VORENTA_SHOTS");
  return Dir ? Utf8ToString(std::string(Dir) + "/" + Name) : String();
}

void Shoot(TWinControl* C, const char* Name) {
  const String F = ShotName(Name);
  if (!F.empty()) SaveControlToPng(C, F);
}

TEST(DBGridZk, FreshGridHasItsDefaults) {
  TDBGridOnForm F(0);
  TDBGridZk* G = F.Grid;
  EXPECT_EQ(DefaultDBGridOptions().Bits(), static_cast<std::uint64_t>(DefaultDBGridOptionsValue));
  EXPECT_EQ(DefaultDBGridZkOptions().Bits(), static_cast<std::uint64_t>(DefaultDBGridZkOptionsValue));
  EXPECT_EQ(G->VTitleMargin(), 10);
  EXPECT_EQ(G->EvenRowColor(), G->Color());
  ASSERT_NE(G->RowDetailPanelControl(), nullptr);
  EXPECT_EQ(G->RowDetailPanelControl()->Name(), u"RowDetailData");
  EXPECT_FALSE(G->RowDetailPanelControl()->Visible());
  G->SetRowHeight(-5);
  EXPECT_EQ(G->RowHeight(), 0);
  G->SetFooterRowCount(-1);
  EXPECT_EQ(G->FooterRowCount(), 0);
  G->SetFooterRowCount(100000000);
  EXPECT_EQ(G->FooterRowCount(), 0) << "a count past any screen is ignored too";
}

TEST(DBGridZk, ScalingKeepsTheSumOfWidthsAndScalesOwnFonts) {
  struct TScalableGrid : TDBGridZk {
    using TDBGridZk::TDBGridZk;
    void Scale(int M, int D) { ChangeScale(M, D); }
  };
  TDBGridOnForm F(0);
  struct TCase { std::vector<int> Widths, Scaled; };
  const TCase Cases[] = {{{10, 10, 10}, {15, 15, 15}}, {{11, 11}, {17, 16}}};
  for (const TCase& C : Cases) {
    auto* G = new TScalableGrid(F.Form);
    for (int W : C.Widths) G->Columns()->Add()->SetWidth(W);
    TFont Own;
    Own.SetSize(8);
    G->Columns()->Items(0)->Title()->SetFont(&Own);   // a font of its own
    const int Following = G->Columns()->Items(0)->Font()->Size();
    G->SetParentFont(false);
    G->TitleFont()->SetSize(10);
    G->Scale(3, 2);
    std::vector<int> Widths;
    for (int I = 0; I < G->Columns()->Count(); ++I) Widths.push_back(G->Columns()->Items(I)->Width());
    EXPECT_EQ(Widths, C.Scaled);
    EXPECT_EQ(G->Columns()->Items(0)->Title()->Font()->Size(), 12);
    EXPECT_EQ(G->TitleFont()->Size(), 15);
    EXPECT_EQ(G->Columns()->Items(0)->Font()->Size(), Following) << "follows the grid's font";
    delete G;
  }
}

TEST(DBGridZk, OptionSetsKeepColumnResizeInStep) {
  TDBGridOnForm F(0);
  TDBGridZk* G = F.Grid;
  G->SetOptions(G->Options() + TDBGridOptions{dgRowSelect});
  EXPECT_FALSE(G->Options().Contains(dgEditing)) << "row select drops editing";
  G->SetOptions(G->Options() - TDBGridOptions{dgColumnResize});
  EXPECT_FALSE(G->OptionsZk().Contains(dghColumnResize));
  EXPECT_FALSE(G->OptionsZk().Contains(dghColumnMove));
  EXPECT_FALSE(G->TCustomGridZk::Options().Contains(goColSizing));
  G->SetOptionsZk(G->OptionsZk() + TDBGridZkOptions{dghColumnResize, dghColumnMove});
  EXPECT_TRUE(G->Options().Contains(dgColumnResize));
  EXPECT_TRUE(G->TCustomGridZk::Options().Contains(goColMoving));
}

TEST(DBGridZk, ColumnsFollowTheDataSetAndRowsFitTheWindow) {
  TDBGridOnForm F(100);
  TDBGridZk* G = F.Grid;
  ASSERT_EQ(G->Columns()->Count(), 6);
  EXPECT_FALSE(G->Columns()->Items(0)->Stored());
  EXPECT_EQ(G->Columns()->Items(1)->Title()->Caption(), u"NAME");
  EXPECT_EQ(G->ColCount(), 7) << "indicator and six columns";
  TBitmap B;
  B.Canvas()->Font()->Assign(G->Font());
  const int TextH = B.Canvas()->TextHeight(u"Wg");
  EXPECT_EQ(G->StdDefaultRowHeight(), TextH + 4);
  const int Visible = G->VisibleDataRowCount();
  EXPECT_EQ(G->RowCount(), 1 + Visible);
  EXPECT_EQ(G->DataLink()->BufferCount(), Visible);
  // A missing column shows nothing, and ColumnByFieldName names the field.
  try {
    G->ColumnByFieldName(u"NOPE");
    FAIL();
  } catch (const EInvalidGridOperationZk& E) {
    EXPECT_EQ(E.Message(), u"Имя поля 'NOPE' не найдено");
  }
}

TEST(DBGridZk, LayoutRunsOncePerLockAndOncePerTwoDeferrals) {
  TDBGridOnForm F(5);
  TDBGridZk* G = F.Grid;
  const int Before = G->LayoutCount();
  G->BeginLayout();
  G->SetTitleLines(2);
  G->SetVTitleMargin(4);
  G->SetFooterRowCount(1);
  EXPECT_EQ(G->LayoutCount(), Before);
  G->EndLayout();
  EXPECT_EQ(G->LayoutCount(), Before + 1);
  G->DeferLayoutChanged();
  G->DeferLayoutChanged();
  Application->ProcessMessages();
  EXPECT_EQ(G->LayoutCount(), Before + 2);
}

TEST(DBGridZk, ScrollBarFollowsRecordNumbers) {
  TDBGridOnForm F(100, 520, 0);
  TDBGridZk* G = F.Grid;
  // A grid ten rows high: 1..109 with a page of 10.
  for (int H = 60; H < 600 && G->VisibleDataRowCount() != 10; ++H) G->SetHeight(H);
  Application->ProcessMessages();
  ASSERT_EQ(G->VisibleDataRowCount(), 10);
  SCROLLINFO SI;
  SI.fMask = SIF_ALL;
  GetScrollInfo(G, SB_VERT, SI);
  EXPECT_EQ(SI.nMin, 1);
  EXPECT_EQ(SI.nMax, 109);
  EXPECT_EQ(static_cast<int>(SI.nPage), 10);
  EXPECT_EQ(SI.nPos, 1);
  G->Perform(WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(F.Set->RecNo(), 11);
  GetScrollInfo(G, SB_VERT, SI);
  EXPECT_EQ(SI.nPos, 11);
}

TEST(DBGridZk, FooterSumsFollowPostsAndDeletes) {
  TDBGridOnForm F(4);
  TDBGridZk* G = F.Grid;
  G->SetFooterRowCount(1);
  G->SumList()->SetActive(true);
  TColumnZk* Price = G->FindColumnByName(u"PRICE");
  ASSERT_NE(Price, nullptr);
  // Customised columns: the footer belongs to a stored column set.
  Price->Footer()->SetValueType(fvtSum);
  TColumnZk* Id = G->FindColumnByName(u"ID");
  Id->Footer()->SetValueType(fvtCount);
  EXPECT_EQ(Price->Footer()->SumItem()->SumValue.ToDouble(), 105.0);  // 10.5 * (1+2+3+4)
  EXPECT_EQ(G->GetFooterText(Id, 0), u"4");
  F.Set->First();
  F.Set->Edit();
  F.Set->FieldByName(u"PRICE")->SetAsFloat(0.00005);  // rounds to even: 0
  F.Set->Post();
  EXPECT_EQ(Price->Footer()->SumItem()->SumValue.Raw(), (105.0 - 10.5) * 10000);
  F.Set->Delete();
  EXPECT_EQ(G->GetFooterText(Id, 0), u"3");
}

TEST(DBGridZk, FooterOfAMissingFieldTakesNoPartAndPaintsEmpty) {
  TDBGridOnForm F(3);
  TDBGridZk* G = F.Grid;
  G->SetFooterRowCount(1);
  G->SumList()->SetActive(true);
  TColumnZk* Qty = G->FindColumnByName(u"QTY");
  Qty->Footer()->SetFieldName(u"GONE");
  Qty->Footer()->SetValueType(fvtSum);
  EXPECT_EQ(Qty->Footer()->SumItem()->SumValue.Raw(), 0);
  Qty->Footer()->SetValueType(fvtFieldValue);
  EXPECT_EQ(G->GetFooterText(Qty, 0), u"");
  Qty->Footer()->SetValueType(fvtSum);
  F.Set->Edit();
  F.Set->FieldByName(u"QTY")->SetAsInteger(7);
  EXPECT_NO_THROW(F.Set->Post());
  EXPECT_NO_THROW(F.Set->Delete());
}

TEST(DBGridZk, StripesAndBoldByRecNoOnRowsNotCurrent) {
  TDBGridOnForm F(6);
  TDBGridZk* G = F.Grid;
  G->SetEvenRowColor(clAqua);
  G->SetOddRowColor(clWhite);
  std::vector<int> SeenRecNo;
  G->SetOnGetCellParams([&](TObject*, TColumnZk* C, TFont* Font, TColor&, TGridDrawState) {
    if (C->FieldName() != u"ID") return;
    SeenRecNo.push_back(F.Set->RecNo());
    if (F.Set->FieldByName(u"QTY")->AsInteger() == 6) Font->SetStyle({fsBold});
  });
  TBitmap B;
  RenderControl(G, B);
  Shoot(G, "dbgrid-striped.png");
  ASSERT_GE(SeenRecNo.size(), 6u);
  EXPECT_EQ(SeenRecNo[0], 1);
  EXPECT_EQ(SeenRecNo[3], 4) << "the painted row's number, not the current one";
  const TRect Insets = G->NonClientInsets();
  const TRect R3 = G->CellScreenRect(2, 2);  // data row 2: record 2, even
  EXPECT_EQ(B.PixelRGB(Insets.Left + R3.Right - 3, Insets.Top + R3.Top + 3), ColorToRGB(clAqua));
  const TRect R4 = G->CellScreenRect(2, 3);
  EXPECT_EQ(B.PixelRGB(Insets.Left + R4.Right - 3, Insets.Top + R4.Top + 3), ColorToRGB(clWhite));
  EXPECT_EQ(F.Set->RecNo(), 1) << "the active record is restored";
}

TEST(DBGridZk, RowDetailPanelOpensBelowTheCurrentRow) {
  TDBGridOnForm F(6, 520, 300);
  TDBGridZk* G = F.Grid;
  G->RowDetailPanel()->SetHeight(80);
  G->RowDetailPanel()->SetActive(true);
  bool Asked = false;
  G->SetOnRowDetailPanelShow([&](TCustomDBGridZk*, bool&) { Asked = true; });
  G->RowDetailPanel()->SetVisible(true);
  EXPECT_TRUE(Asked);
  EXPECT_TRUE(G->RowDetailPanelControl()->Visible());
  EXPECT_EQ(G->RowHeight(1), G->StdDefaultRowHeight() + 80);
  EXPECT_EQ(G->RowDetailPanelControl()->Height(), 80);
  // A second grid on the panel, as the order lines sit under an order.
  auto* Inner = new TDBGridZk(F.Form);
  Inner->SetParent(G->RowDetailPanelControl());
  Inner->SetAlign(alClient);
  Inner->SetDataSource(F.Source);
  Application->ProcessMessages();
  Shoot(F.Form, "dbgrid-detail.png");
  G->SetOnRowDetailPanelHide([](TCustomDBGridZk*, bool& CanHide) { CanHide = false; });
  G->RowDetailPanel()->SetVisible(false);
  EXPECT_TRUE(G->RowDetailPanel()->Visible()) << "the handler refused";
}

TEST(DBGridZk, TitlesFootersAndMultiTitlePicture) {
  TDBGridOnForm F(12, 560, 280);
  TDBGridZk* G = F.Grid;
  G->Columns()->BeginUpdate();
  G->Columns()->Clear();
  const char16_t* Names[] = {u"ID", u"NAME", u"PRICE", u"QTY", u"FLAG"};
  const char16_t* Caps[] = {u"№", u"Товар|Название", u"Товар|Цена", u"Товар|Кол-во", u"Флаг"};
  for (int I = 0; I < 5; ++I) {
    TColumnZk* C = G->Columns()->Add();
    C->SetFieldName(Names[I]);
    C->Title()->SetCaption(Caps[I]);
  }
  G->Columns()->EndUpdate();
  G->SetUseMultiTitle(true);
  G->Columns()->Items(2)->Title()->SetSortMarker(smDownZk);
  G->Columns()->Items(3)->Title()->SetSortMarker(smUpZk);
  G->SetFooterRowCount(1);
  G->SumList()->SetActive(true);
  G->Columns()->Items(2)->Footer()->SetValueType(fvtSum);
  G->Columns()->Items(0)->Footer()->SetValueType(fvtStaticText);
  G->Columns()->Items(0)->Footer()->SetValue(u"Итого");
  G->SetOddRowColor(TColor(0xF0F0F0));
  G->Columns()->Items(4)->SetWidth(40);
  // A swatch column: the last painting event fills the cell.
  G->SetOnDrawColumnCell([&](TObject*, const TRect& R, int, TColumnZk* C, TGridDrawState) {
    if (C->FieldName() != u"FLAG") return;
    G->Canvas()->Brush()->SetColor(F.Set->FieldByName(u"FLAG")->AsBoolean() ? clRed : clBlue);
    G->Canvas()->FillRect(Rect(R.Left + 4, R.Top + 3, R.Right - 4, R.Bottom - 3));
  });
  Application->ProcessMessages();
  EXPECT_EQ(G->GetFooterText(G->Columns()->Items(2), 0),
            FloatToStrF(10.5 * 78, ffCurrency, 15, FormatSettings.CurrencyDecimals));
  TBitmap B;
  RenderControl(G, B);
  Shoot(G, "dbgrid-titles.png");
  const TRect Insets = G->NonClientInsets();
  const TRect Swatch = G->CellScreenRect(5, 1);  // record 1: FLAG false
  EXPECT_EQ(B.PixelRGB(Insets.Left + (Swatch.Left + Swatch.Right) / 2,
                       Insets.Top + (Swatch.Top + Swatch.Bottom) / 2),
            ColorToRGB(clBlue));
}

TEST(DBGridZk, TextFormWithColumnsReadsAndWritesBackTheSame) {
  TDBGridOnForm F(3);
  TDBGridZk* G = F.Grid;
  G->SetName(u"Grid1");
  G->Columns()->Clear();
  TColumnZk* C = G->Columns()->Add();
  C->SetFieldName(u"NAME");
  C->Title()->SetCaption(u"A|B");
  C->SetWidth(120);
  C->Footer()->SetValueType(fvtCount);
  C->SetHighlightRequired(true);
  G->ColumnDefValues()->SetHighlightRequired(true);
  TMemoryStream Bin;
  WriteComponentToStream(G, &Bin);
  Bin.SetPosition(0);
  TMemoryStream Text;
  ObjectBinaryToText(&Bin, &Text);
  const std::string Form(static_cast<const char*>(Text.Memory()), Text.Size());
  EXPECT_NE(Form.find("Columns = <"), std::string::npos) << Form;
  EXPECT_NE(Form.find("Caption = 'A|B'"), std::string::npos) << Form;
  EXPECT_EQ(Form.find("ColCount"), std::string::npos) << "layout counts are not stored";
  TDBGridOnForm F2(3);
  F2.Grid->SetName(u"Grid1");
  Text.SetPosition(0);
  TMemoryStream Bin2;
  ObjectTextToBinary(&Text, &Bin2);
  Bin2.SetPosition(0);
  ReadComponentFromStream(&Bin2, F2.Grid);
  ASSERT_EQ(F2.Grid->Columns()->Count(), 1) << Form;
  EXPECT_EQ(F2.Grid->Columns()->Items(0)->Title()->Caption(), u"A|B");
  EXPECT_EQ(F2.Grid->Columns()->Items(0)->Width(), 120);
  EXPECT_TRUE(F2.Grid->Columns()->Items(0)->IsHighlightRequiredStored()) << Form;
  EXPECT_TRUE(F2.Grid->ColumnDefValues()->HighlightRequired()) << Form;
  EXPECT_EQ(F2.Grid->RowDetailPanelControl()->Name(), u"RowDetailData");
  TMemoryStream Again;
  WriteComponentToStream(F2.Grid, &Again);
  Again.SetPosition(0);
  TMemoryStream Text2;
  ObjectBinaryToText(&Again, &Text2);
  EXPECT_EQ(std::string(static_cast<const char*>(Text2.Memory()), Text2.Size()), Form);
}

TEST(DBGridZk, DefaultColumnsAreNeverStored) {
  TDBGridOnForm F(2);
  F.Grid->SetName(u"Grid1");
  TMemoryStream Bin, Text;
  WriteComponentToStream(F.Grid, &Bin);
  Bin.SetPosition(0);
  ObjectBinaryToText(&Bin, &Text);
  const std::string Form(static_cast<const char*>(Text.Memory()), Text.Size());
  EXPECT_EQ(Form.find("Columns"), std::string::npos) << Form;
}

TEST(DBGridZk, BrokenColumnsListNamesTheProperty) {
  TDBGridOnForm F(2);
  TDBGridColumnsZk Cols(F.Grid);
  const std::string Bad = "object TColumnsWrapperZk\n  Columns = <\n    item\n      Wdth = 3\n    end>\nend\n";
  TMemoryStream Text, Bin;
  Text.Write(Bad.data(), Bad.size());
  Text.SetPosition(0);
  ObjectTextToBinary(&Text, &Bin);
  Bin.SetPosition(0);
  try {
    Cols.LoadFromStream(&Bin);
    FAIL();
  } catch (const Exception& E) {
    EXPECT_NE(E.Message().find(u"Wdth"), String::npos) << ToUtf8(E.Message());
  }
}

// A wrong enumeration name, a stream of another class and bytes that are no stream at all are
// refused with the reader's error.
TEST(DBGridZk, ForeignColumnStreamsAreRefused) {
  TDBGridOnForm F(2);
  TDBGridColumnsZk Cols(F.Grid);
  auto Binary = [](const std::string& Form) {
    TMemoryStream Text;
    auto Bin = std::make_unique<TMemoryStream>();
    Text.Write(Form.data(), Form.size());
    Text.SetPosition(0);
    ObjectTextToBinary(&Text, Bin.get());
    return Bin;
  };
  struct Case {
    const char* Label;
    std::unique_ptr<TMemoryStream> Stream;
    const char16_t* Named;
  };
  Case Cases[] = {
      {"wrong enumeration name",
       Binary("object TColumnsWrapperZk\n  Columns = <\n    item\n      Alignment = taSideways\n    end>\nend\n"),
       u"Alignment"},
      {"another class", Binary("object TStringList\n  Sorted = True\nend\n"), u"Sorted"},
      {"not a stream", std::make_unique<TMemoryStream>(), nullptr},
  };
  const char Junk[] = "PK\3\4 not a form";
  Cases[2].Stream->Write(Junk, sizeof Junk - 1);
  for (Case& C : Cases) {
    SCOPED_TRACE(C.Label);
    C.Stream->SetPosition(0);
    try {
      Cols.LoadFromStream(C.Stream.get());
      ADD_FAILURE() << "read without an error";
    } catch (const Exception& E) {
      if (C.Named) {
        EXPECT_NE(E.Message().find(C.Named), String::npos) << ToUtf8(E.Message());
      }
    }
  }
}

TEST(DBSumLst, CurrencyAddsHalvesToEvenAndRestoresHandlers) {
  EXPECT_EQ(TDBSumListProducer::AddValue(Currency(), 0.00005L).Raw(), 0);
  EXPECT_EQ(TDBSumListProducer::AddValue(Currency(), 0.00015L).Raw(), 2);
  EXPECT_EQ(TDBSumListProducer::AddValue(Currency(), -0.00025L).Raw(), -2);
  TDBGridOnForm F(2);
  int Calls = 0;
  F.Set->SetAfterPost([&](TDataSet*) { ++Calls; });
  TDBSumListProducer P;
  P.SetDataSet(F.Set);
  EXPECT_TRUE(P.EventsOverloaded());
  F.Set->Edit();
  F.Set->Post();
  EXPECT_EQ(Calls, 1) << "the saved handler is chained";
  P.SetActive(false);
  F.Set->Edit();
  F.Set->Post();
  EXPECT_EQ(Calls, 2) << "and put back";
}

}  // namespace

namespace {

TEST(DBGridZk, AutoFitSpreadsTheClientWidthWithoutRemainder) {
  TDBGridOnForm F(3, 500, 200);
  TDBGridZk* G = F.Grid;
  G->Columns()->BeginUpdate();
  G->Columns()->Clear();
  const int Widths[] = {10, 20, 33};
  for (int W : Widths) {
    TColumnZk* C = G->Columns()->Add();
    C->SetFieldName(u"ID");
    C->SetWidth(W);
  }
  G->Columns()->EndUpdate();
  G->SetAutoFitColWidths(true);
  const int Line = G->GridLineWidth();
  int Sum = G->ColWidth(0) + Line;
  for (int I = 1; I <= 3; ++I) Sum += G->ColWidth(I) + Line;
  EXPECT_EQ(Sum, G->ClientWidth()) << "the columns fill the client width exactly";
  EXPECT_LT(G->ColWidth(1), G->ColWidth(2));
  EXPECT_LT(G->ColWidth(2), G->ColWidth(3));
  // A minimum wider than the client: the columns fill the minimum instead, in proportion.
  G->SetMinAutoFitWidth(1200);
  Sum = G->ColWidth(0) + Line;
  for (int I = 1; I <= 3; ++I) Sum += G->ColWidth(I) + Line;
  EXPECT_EQ(Sum, 1200);
  EXPECT_LT(G->ColWidth(1), G->ColWidth(2));
}

}  // namespace

namespace {

TEST(DBGridZk, CellTypesAndTheirThreeDLook) {
  TDBGridOnForm F(3);
  TDBGridZk* G = F.Grid;
  G->SetFooterRowCount(1);
  G->SetOptionsZk(G->OptionsZk() + TDBGridZkOptions{dghFooter3D});
  const int Footer = G->RowCount();
  struct TCase { int Col, Row; TCellAreaTypeZk Type; bool Drawn3D; };
  const TCase Cases[] = {
      {0, 0, catIndicatorTitle, true}, {1, 0, catTitle, true},    {0, 1, catIndicator, true},
      {2, 2, catData, false},          {1, Footer, catFooter, true},
      {0, Footer, catIndicatorFooter, true}};
  for (const TCase& C : Cases) {
    EXPECT_EQ(G->GetCellType(C.Col, C.Row), C.Type) << C.Col << "," << C.Row;
    EXPECT_EQ(G->CellDrawn3D(C.Col, C.Row, {}), C.Drawn3D) << C.Col << "," << C.Row;
  }
  G->SetOptions(G->Options() - TDBGridOptions{dgTitles, dgIndicator});
  EXPECT_EQ(G->GetCellType(0, 0), catData) << "without titles and indicator row 0 holds data";
}

}  // namespace
