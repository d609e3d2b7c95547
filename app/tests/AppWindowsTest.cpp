// AppWindowsTest.cpp - the program's real start-up on a copy of the sample database (offscreen),
// driven through its windows as a user would: first activation, the colour type menu, the search
// panel with the navigator, the price list, the edit actions; and every window as a PNG.
#include "app/tests/AppWindowsFixture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <thread>

#include "app/ABOUT.h"
#include "app/AppMessageBoxes.h"
#include "app/DM_MAIN.h"
#include "app/SA_Find.h"
#include "app/SA_Main.h"
#include "app/SA_OrdAdd.h"
#include "app/SD_LKMRec.h"
#include "app/SD_NewMat.h"
#include "app/SampleDatabase.h"
#include "gridlib/grid/DBGridZk.h"
#include "gridlib/grid/DBGridZkFindDlgs.h"
#include "gridlib/grid/DBLookupZk.h"
#include "gridlib/toolkit/DBCtrlsZk.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/controls/ActnList.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Mask.h"
#include "platform/controls/Menus.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/StdCtrls.h"
#include "platform/controls/WinApi.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/dbctrls/DBCtrls.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sqlite/ADODB.h"
#include "platform/rtl/Variants.h"
#include "script/ks_iinterpreter.h"

namespace fs = std::filesystem;

namespace {


// Every component the windows look up by name, with its class; "pending" marks the ones whose
// class is still being built (they join the form text with it).
struct TFormPart {
  const char* Form;
  const char* Name;
  const char* Class;
  bool Pending = false;
};

const TFormPart kFormParts[] = {
    {"SAMAIN", "ImageTop", "TImage"},
    {"SAMAIN", "PageControl1", "TPageControl"},
    {"SAMAIN", "Panel2", "TPanel"},
    {"SAMAIN", "DBNavigatorColor", "TDBNavigator"},
    {"SAMAIN", "DBNavigatorOrd", "TDBNavigator"},
    {"SAMAIN", "DBNavigatorOrdTop", "TDBNavigator"},
    {"SAMAIN", "DBNavigatorLKMRec", "TDBNavigator"},
    {"SAMAIN", "MaskEditNM", "TMaskEdit"},
    {"SAMAIN", "ShapeFlt1", "TShape"},
    {"SAMAIN", "ShapeColor", "TShape"},
    {"SAMAIN", "bbtnCalc", "TBitBtn"},
    {"SAMAIN", "bbtnOrd", "TBitBtn"},
    {"SAMAIN", "rbtnCh1", "TRadioButton"},
    {"SAMAIN", "PageControlRecipe", "TPageControl"},
    {"SAMAIN", "ToolButtonRecipe", "TToolButton"},
    {"SAMAIN", "PopupMenuPrice", "TPopupMenu"},
    {"SAMAIN", "DBGridZkColor", "TDBGridZk"},
    {"SAMAIN", "DBGridZkColorRec", "TDBGridZk"},
    {"SAMAIN", "DBGridZkColorRecA", "TDBGridZk"},
    {"SAMAIN", "DBGridZkOrd", "TDBGridZk"},
    {"SAMAIN", "DBGridZkOrdTop", "TDBGridZk"},
    {"SAMAIN", "DBGridZkOrdRec", "TDBGridZk"},   // inside the row detail panel
    {"SAMAIN", "DBGridZkOrdRec3", "TDBGridZk"},
    {"SAMAIN", "DBGridZkLKMRec", "TDBGridZk"},
    {"SAMAIN", "DBNumberEditZkX", "TDBNumberEditZk"},
    {"SAMAIN", "DBNumberEditZkPrice1", "TDBNumberEditZk"},
    {"SAMAIN", "DBNumberEditZkPrice2", "TDBNumberEditZk"},
    {"SAMAIN", "DBLookupComboboxZkColorTP", "TDBLookupComboboxZk"},
    {"SAMAIN", "DBLookupComboboxZkBase", "TDBLookupComboboxZk"},
    {"SAMAIN", "DBLookupComboboxZkBaseA1", "TDBLookupComboboxZk"},
    {"SAMAIN", "DBLookupComboboxZkBaseA2", "TDBLookupComboboxZk"},
    {"SAMAIN", "DBEditZkColorNM", "TDBEditZk"},
    {"SAMAIN", "DBEditZkColorTP", "TDBEditZk"},
    {"SAMAIN", "DBEditZkOrdNUM", "TDBEditZk"},
    {"SAMAIN", "DBDateTimeEditZkOrdDT", "TDBDateTimeEditZk"},
    {"SAMAIN", "DBEditZkOrdComment", "TDBEditZk"},
    {"SAMAIN", "DBNumberEditZkOrdSAM", "TDBNumberEditZk"},
    {"SAMAIN", "DBNumberEditZkOrdSCOST", "TDBNumberEditZk"},
    {"SAMAIN", "DBNumberEditZkOrdTotal", "TDBNumberEditZk"},
    {"SAMAIN", "DBNumberEditZkRecPrice", "TDBNumberEditZk"},
    {"SAMAIN", "DBNumberEditZkRecCostA", "TDBNumberEditZk"},
    {"SAFind", "BtnNext", "TButton"},
    {"SAFind", "StaticTextCount", "TStaticText"},
    {"SAOrdAdd", "rbtnCh1", "TRadioButton"},
    {"SAOrdAdd", "DBLookupComboboxZkOrd", "TDBLookupComboboxZk"},
    {"SDLKMREC", "EditLKMRecNM", "TEdit"},
    {"SDLKMREC", "DBLookupComboBoxLKMRec", "TDBLookupComboboxZk"},
    {"SDLKMREC", "DBNumberEditP1", "TDBNumberEditZk"},
    {"SDNewMat", "EditName", "TEdit"},
    {"SDNewMat", "DBLookupComboboxZkLKMTP", "TDBLookupComboboxZk"},
    {"AboutBox", "ProgramIcon", "TImage"},
    {"DM", "MTLKM", "TMemTableZk"},
};

TEST_F(AppWindows, EveryNameTheWindowsLookUpHasItsClassOrIsPending) {
  std::string Pending;
  for (const TFormPart& Part : kFormParts) {
    TComponent* Form = Application->FindComponent(Utf8ToString(Part.Form));
    ASSERT_NE(Form, nullptr) << Part.Form;
    TComponent* Found = Form->FindComponent(Utf8ToString(Part.Name));
    if (Part.Pending && !Found) {
      Pending += std::string(" ") + Part.Form + "." + Part.Name + ":" + Part.Class;
      continue;
    }
    ASSERT_NE(Found, nullptr) << Part.Form << "." << Part.Name;
    EXPECT_EQ(StringToUtf8(Found->ClassName()), Part.Class) << Part.Form << "." << Part.Name;
  }
  RecordProperty("pending", Pending);
}

TEST_F(AppWindows, StartUpCreatesTheWindowsInOrderAndTheFirstActivationOpensTheData) {
  const char* Order[] = {"SAMAIN", "AboutBox", "DM", "SDNewMat", "SAFind", "SAOrdAdd", "SDLKMREC"};
  ASSERT_EQ(Application->ComponentCount(), 7);
  for (int I = 0; I < 7; ++I) EXPECT_EQ(StringToUtf8(Application->Components(I)->Name()), Order[I]);
  EXPECT_EQ(Application->MainForm(), SAMAIN);
  EXPECT_EQ(SAMAIN->Caption(), u"Зорвель. Каталог ");
  EXPECT_EQ(Application->Title(), u"V o r e n t a");
  EXPECT_EQ(SAMAIN->ClientWidth(), 1214);
  EXPECT_EQ(SAMAIN->ClientHeight(), 817);
  EXPECT_EQ(DM->StartDirectory, SAMAIN->StartDirectory);

  EXPECT_FALSE(SAMAIN->FirstActivate);
  EXPECT_TRUE(DM->Color->Active());
  EXPECT_TRUE(DM->Ord->Active());
  EXPECT_TRUE(DM->LKMRec->Active());
  EXPECT_EQ(SAMAIN->PageControl1->ActivePage(), SAMAIN->TabSheetCatalog);
  // The navigators found the data module's sources although it was read after the window.
  EXPECT_EQ(SAMAIN->DBNavigatorColor->DataSource(), DM->DSColor);
  EXPECT_EQ(SAMAIN->DBNavigatorOrdTop->DataSource(), DM->DSOrdTop);
  // Swatch of the first colour in the order IND, NM (А 10-04, 14474460).
  EXPECT_EQ(ColourId(), 9);
  EXPECT_EQ(SAMAIN->ShapeColor->Brush()->Color(), TColor(14474460));

  // Later activations (the return from a dialog) do nothing.
  SAMAIN->FindNameCondition = u"kept";
  SAMAIN->Perform(CM_ACTIVATE, 0, 0);
  EXPECT_EQ(SAMAIN->FindNameCondition, u"kept");

  // The navigator moves the catalogue; the swatch follows; a colour without one shows the
  // button face.
  Click(SAMAIN->DBNavigatorColor->Buttons(nbNext));
  EXPECT_EQ(ColourId(), 8);
  EXPECT_EQ(SAMAIN->ShapeColor->Brush()->Color(), TColor(12632256));
  ASSERT_TRUE(DM->Color->Locate(u"ID", Variant(7), TLocateOptions()));
  EXPECT_EQ(SAMAIN->ShapeColor->Brush()->Color(), clBtnFace);
}

// The first activation's grid settings: styled grids copy, paste and select all only and never
// select whole columns; the catalogue and recipe grids are read-only; the order lines may only
// be edited; the order list keeps the settings it was made with.
TEST_F(AppWindows, FirstActivationStylesTheGrids) {
  const TDBGridZkEditActions CopyPasteAll = {geaCopyZk, geaPasteZk, geaSelectAllZk};
  const TDBGridZkAllowedOperations All = {alopInsertZk, alopUpdateZk, alopDeleteZk, alopAppendZk};
  const struct {
    TDBGridZk* Grid;
    bool Editing;
    TDBGridZkAllowedOperations Operations;
  } Cases[] = {
      {SAMAIN->DBGridZkColor, false, {}},           {SAMAIN->DBGridZkColorRec, false, {}},
      {SAMAIN->DBGridZkColorRecA, false, {}},       {SAMAIN->DBGridZkOrdTop, true, All},
      {SAMAIN->DBGridZkOrdRec, true, {alopUpdateZk}}, {SAMAIN->DBGridZkLKMRec, true, {alopUpdateZk}},
      {SAMAIN->DBGridZkOrdRec3, true, All},
  };
  for (const auto& C : Cases) {
    const std::string Name = StringToUtf8(C.Grid->Name());
    EXPECT_EQ(C.Grid->EditActions(), CopyPasteAll) << Name;
    EXPECT_FALSE(C.Grid->AllowedSelections().Contains(gstColumnsAS)) << Name;
    EXPECT_TRUE(C.Grid->AllowedSelections().Contains(gstAllAS)) << Name;
    EXPECT_TRUE(C.Grid->Options().Contains(dgMultiSelect)) << Name;
    EXPECT_FALSE(C.Grid->Options().Contains(dgRowSelect)) << Name;
    EXPECT_TRUE(C.Grid->OptionsZk().Contains(dghDialogFind)) << Name;
    EXPECT_TRUE(C.Grid->OptionsZk().Contains(dghEnterAsTab)) << Name;
    EXPECT_TRUE(C.Grid->VertScrollBar()->Tracking()) << Name;
    EXPECT_TRUE(C.Grid->UseMultiTitle()) << Name;
    EXPECT_EQ(C.Grid->VTitleMargin(), 3) << Name;
    EXPECT_EQ(C.Grid->Options().Contains(dgEditing), C.Editing) << Name;
    EXPECT_EQ(C.Grid->AllowedOperations(), C.Operations) << Name;
  }
  EXPECT_FALSE(SAMAIN->DBGridZkOrd->Options().Contains(dgMultiSelect));
  EXPECT_TRUE(SAMAIN->DBGridZkOrd->Options().Contains(dgConfirmDelete));
  EXPECT_TRUE(SAMAIN->DBGridZkColor->Focused());

  // Column titles and widths from the form; the order lines' two-level amount titles.
  auto Column = [](TDBGridZk* Grid, const char16_t* Field) -> TColumnZk* {
    for (int I = 0; I < Grid->Columns()->Count(); ++I)
      if (Grid->Columns()->Items(I)->FieldName() == Field) return Grid->Columns()->Items(I);
    return nullptr;
  };
  EXPECT_EQ(Column(SAMAIN->DBGridZkColor, u"COLOR")->Width(), 41);
  EXPECT_EQ(Column(SAMAIN->DBGridZkColor, u"NM")->Width(), 122);
  EXPECT_EQ(Column(SAMAIN->DBGridZkColor, u"PRICE1")->Title()->Caption(), u"Цена осн.");
  EXPECT_FALSE(Column(SAMAIN->DBGridZkColor, u"lvLKMRecNM")->Visible());
  EXPECT_EQ(Column(SAMAIN->DBGridZkOrdRec, u"AM0")->Title()->Caption(),
            u"Количество, кг| расчетное ");
  EXPECT_EQ(Column(SAMAIN->DBGridZkOrdRec, u"AM")->Title()->Caption(), u"Количество, кг| фактич. ");
  EXPECT_EQ(SAMAIN->DBGridZkOrdRec->Parent(), SAMAIN->DBGridZkOrdTop->RowDetailPanelControl());
}

// The catalogue as painted: rows odd, even, odd in green-grey, white, green-grey; a colour
// column filled with the row's colour, the grid's own drawing where a colour has none.
// A recipe shows only its base line in bold, wherever it stands.
TEST_F(AppWindows, StripesSwatchesAndBoldBaseLines) {
  TDBGridZk* G = SAMAIN->DBGridZkColor;
  TBitmap Picture;
  RenderControl(G, Picture);
  const TRect Insets = G->NonClientInsets();
  auto Pixel = [&](int Col, int Row) {
    const TRect R = G->CellScreenRect(Col, Row);
    return Picture.PixelRGB(Insets.Left + R.Right - 3, Insets.Top + R.Bottom - 3);
  };
  // Column 1 is the swatch, 2 the name; rows 1..3 the first three colours (the first is
  // current and focused: its name cell keeps the highlight, so the stripes show in row 2 on).
  EXPECT_EQ(Pixel(2, 2), ColorToRGB(clWhite));
  EXPECT_EQ(Pixel(2, 3), ColorToRGB(TColor(14279129)));
  EXPECT_EQ(Pixel(3, 1), ColorToRGB(TColor(14279129)));
  EXPECT_EQ(Pixel(1, 1), ColorToRGB(TColor(14474460)));   // А 10-04
  EXPECT_EQ(Pixel(1, 3), ColorToRGB(TColor(8421631)));    // К 10-01
  // Н 30-01, the eighth row, has no colour: the cell keeps the row's stripe (even: white).
  EXPECT_EQ(Pixel(1, 8), ColorToRGB(clWhite));

  ASSERT_TRUE(DM->Color->Locate(u"ID", Variant(2), TLocateOptions()));   // К 12-05
  TDBGridZk* Rec = SAMAIN->DBGridZkColorRec;
  TDataSet* Lines = Rec->DataSource()->DataSet();
  ASSERT_EQ(Lines->RecordCount(), 2);
  std::vector<bool> Bold, Base;
  for (Lines->First(); !Lines->Eof(); Lines->Next()) {
    TFont Font;
    TColor Background = clWindow;
    Rec->OnGetCellParams()(Rec, Rec->Columns()->Items(0), &Font, Background, TGridDrawState());
    Bold.push_back(Font.Style().Contains(fsBold));
    Base.push_back(Lines->FieldByName(u"LKM_TP_ID")->AsInteger() == 1);
  }
  EXPECT_EQ(Bold, Base);
  EXPECT_EQ(std::count(Bold.begin(), Bold.end(), true), 1);
}

// Ctrl+F in a styled grid opens the grids' find dialog on that grid.
TEST_F(AppWindows, CtrlFOpensTheFindDialogOnTheGrid) {
  SAMAIN->DBGridZkColor->SetFocus();
  TCustomDBGridZk* Searched = nullptr;
  TCustomForm::SetModalHookForTests([&](TCustomForm* Form) {
    auto* Dialog = dynamic_cast<TDBGridZkFindDlg*>(Form);
    ASSERT_NE(Dialog, nullptr);
    Searched = Dialog->Grid();
    Click(Dialog->bCancel);
  });
  SimulateKeyPress(u'F', {ssCtrl});
  EXPECT_EQ(Searched, SAMAIN->DBGridZkColor);
}

// The order colour's recipe lines open under it while "+Р" is down, also after a move.
TEST_F(AppWindows, RecipeToggleShowsTheOrderLinesUnderTheOrderColour) {
  SAMAIN->PageControl1->SetActivePage(SAMAIN->TabSheetOrders);
  ASSERT_TRUE(DM->Ord->Locate(u"ID", Variant(3), TLocateOptions()));
  Click(SAMAIN->ToolButtonRecipe);
  ASSERT_TRUE(SAMAIN->ToolButtonRecipe->Down());
  EXPECT_TRUE(SAMAIN->DBGridZkOrdTop->RowDetailPanel()->Visible());
  EXPECT_EQ(DM->OrdRec->RecordCount(), 3);
  DM->OrdTop->Next();
  EXPECT_TRUE(SAMAIN->DBGridZkOrdTop->RowDetailPanel()->Visible());
  Click(SAMAIN->ToolButtonRecipe);
  EXPECT_FALSE(SAMAIN->DBGridZkOrdTop->RowDetailPanel()->Visible());
  DM->OrdTop->Prior();
  EXPECT_FALSE(SAMAIN->DBGridZkOrdTop->RowDetailPanel()->Visible());
}

// The start-up gives scripts the window-system classes: a script makes a form.
TEST_F(AppWindows, StartUpGivesScriptsTheFormClasses) {
  TksScript Script;
  Script.AddRTTI();
  Script.SetText(u"function Made: String; var F: TForm; begin F := TForm.Create(Application); "
                 u"F.Caption := 'Окно'; Result := F.ClassName + ' ' + F.Caption; F.Free end; "
                 u"begin end.");
  ASSERT_TRUE(Script.Compile()) << StringToUtf8(Script.ErrorPos() + u" " + Script.ErrorMsg());
  EXPECT_EQ(VarToStr(Script.CallFunction(u"Made")), u"TForm Окно");
}

TEST_F(AppWindows, ColourTypeMenuAndModeSwitch) {
  ASSERT_TRUE(DM->Color->Locate(u"ID", Variant(1), TLocateOptions()));
  SAMAIN->MenuColorNone->Click();
  EXPECT_EQ(Scalar(u"SELECT COLOR_TP_ID FROM DS_COLOR WHERE ID=1").AsInteger(), 0);
  EXPECT_TRUE(DM->Color->FieldByName(u"lvCOLOR_TP_NM")->AsString().empty());
  SAMAIN->MenuColorExterior->Click();
  EXPECT_EQ(Scalar(u"SELECT COLOR_TP_ID FROM DS_COLOR WHERE ID=1").AsInteger(), 2);

  Click(SAMAIN->rbtnCh1);
  EXPECT_EQ(DM->DSColorRec->DataSet(), DM->ColorRec1);
  EXPECT_EQ(DM->DSColorCostA->DataSet(), DM->ColorCostA1);
  Click(SAMAIN->rbtnCh2);
  EXPECT_EQ(DM->DSColorRec->DataSet(), DM->ColorRec2);
}

// The quantity typed with a point or a comma, the calculation, and the colour into a new order:
// the orders tab comes to the front with the new order first.
TEST_F(AppWindows, QuantityCalculationAndPutIntoANewOrder) {
  ASSERT_TRUE(DM->Color->Locate(u"ID", Variant(1), TLocateOptions()));
  for (const char16_t* Typed : {u"12.5", u"12,5"}) {
    SAMAIN->DBNumberEditZkX->SetFocus();
    SAMAIN->DBNumberEditZkX->SetText(String());
    SimulateTyping(Typed);
    Click(SAMAIN->bbtnCalc);   // leaving the editor calculates too
    EXPECT_DOUBLE_EQ(SAMAIN->Quantity().AsDouble(), 12.5) << StringToUtf8(Typed);
    EXPECT_DOUBLE_EQ(DM->ColorCost2->FieldByName(u"SUM_AMX")->AsFloat(), 12.5);
  }
  SimulateTyping(u"x");   // letters are refused by the number edit (focus is on the button)
  const int Orders = DM->Ord->RecordCount();
  TCustomForm::SetModalHookForTests([&](TCustomForm* Form) {
    ASSERT_EQ(Form, SAOrdAdd);
    Click(SAOrdAdd->BtnOk);
  });
  Click(SAMAIN->bbtnOrd);
  EXPECT_EQ(SAMAIN->PageControl1->ActivePage(), SAMAIN->TabSheetOrders);
  EXPECT_EQ(DM->Ord->RecordCount(), Orders + 1);
  EXPECT_DOUBLE_EQ(DM->OrdTop->FieldByName(u"AM")->AsFloat(), 12.5);

  // Cancelled: nothing is written, the catalogue tab stays in front.
  SAMAIN->PageControl1->SetActivePage(SAMAIN->TabSheetCatalog);
  TCustomForm::SetModalHookForTests([&](TCustomForm*) { Click(SAOrdAdd->BtnCancel); });
  Click(SAMAIN->bbtnOrd);
  EXPECT_EQ(SAMAIN->PageControl1->ActivePage(), SAMAIN->TabSheetCatalog);
  EXPECT_EQ(DM->Ord->RecordCount(), Orders + 1);
}

// "Дополнить заказ" enables the order combo box; the colour goes into the order chosen there.
TEST_F(AppWindows, PutIntoAnOrderChosenInTheComboBox) {
  ASSERT_TRUE(DM->Color->Locate(u"ID", Variant(2), TLocateOptions()));
  SAMAIN->DBNumberEditZkX->SetValue(Variant(3.0));
  const int Colours = Scalar(u"SELECT COUNT(*) FROM DR_ORD_TOP WHERE ORD_ID=1").AsInteger();
  bool WasEnabled = true;
  TCustomForm::SetModalHookForTests([&](TCustomForm*) {
    WasEnabled = SAOrdAdd->DBLookupComboboxZkOrd->Enabled();
    Click(SAOrdAdd->rbtnCh2);
    EXPECT_TRUE(SAOrdAdd->DBLookupComboboxZkOrd->Enabled());
    SAOrdAdd->DBLookupComboboxZkOrd->SetKeyValueProp(Variant(1));
    EXPECT_EQ(SAOrdAdd->DBLookupComboboxZkOrd->Text(), u"1");
    Click(SAOrdAdd->BtnOk);
  });
  Click(SAMAIN->bbtnOrd);
  EXPECT_FALSE(WasEnabled);
  EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DR_ORD_TOP WHERE ORD_ID=1").AsInteger(), Colours + 1);
  EXPECT_EQ(SAMAIN->PageControl1->ActivePage(), SAMAIN->TabSheetOrders);
}

TEST_F(AppWindows, SearchPlacesTheNavigatorAndWalksTheHits) {
  Click(SAMAIN->CheckBoxNM);
  ASSERT_TRUE(SAMAIN->MaskEditNM->Enabled());
  ASSERT_TRUE(SAMAIN->MaskEditNM->Focused());
  SimulateTyping(u"к");   // upper-cased by the mask edit
  SimulateKeyPress(VK_RETURN, {}, u'\r');
  EXPECT_TRUE(SAMAIN->BtnSearch->Focused());

  std::vector<int> Visited;
  TPoint Placed;
  String CountLine;
  TCustomForm::SetModalHookForTests([&](TCustomForm* Form) {
    ASSERT_EQ(Form, SAFind);
    Placed = {Form->Left(), Form->Top()};
    CountLine = SAFind->StaticTextCount->Caption();
    EXPECT_TRUE(SAFind->BtnNext->Focused());
    for (int I = 0; I < 4; ++I) {
      Click(SAFind->BtnNext);
      Visited.push_back(ColourId());
    }
    Click(SAFind->BtnDone);
  });
  Click(SAMAIN->BtnSearch);
  EXPECT_EQ(SAMAIN->FindNameCondition, u"(MID(NM,1,1) LIKE :Code1 ESCAPE '\\')");
  EXPECT_EQ(CountLine, u"Найдено: 4 записей");
  // Placed from the main window's frame; the window system may shift either frame by its
  // border (offscreen: up to 2 pixels), the X-server test checks it on a real screen.
  EXPECT_NEAR(Placed.X, SAMAIN->Left() + SAMAIN->Panel2->Left() + 10, 3);
  EXPECT_NEAR(Placed.Y, SAMAIN->Top() + SAMAIN->ImageTop->Height() + 35, 3);
  // Hits in the order IND, NM: К 10-01, К 12-05, К 20-11, К 21-12; round to the first.
  EXPECT_EQ(Visited, (std::vector<int>{2, 5, 6, 1}));
  EXPECT_FALSE(SAFind->Visible());
}

TEST_F(AppWindows, FilterMarksTheUsedCriterionAndCancelShowsEverything) {
  const int Listed = DM->Color->RecordCount();
  Click(SAMAIN->CheckBoxNM);
  SimulateTyping(u"Л");
  Click(SAMAIN->BtnFilter);
  EXPECT_EQ(DM->Color->RecordCount(), 1);
  EXPECT_EQ(SAMAIN->ShapeFlt1->Pen()->Color(), kCriterionUsed);
  EXPECT_EQ(SAMAIN->ShapeFlt2->Pen()->Color(), kCriterionUnused);

  Click(SAMAIN->BtnCancelFilter);
  EXPECT_FALSE(SAMAIN->CheckBoxNM->Checked());
  EXPECT_FALSE(SAMAIN->MaskEditNM->Enabled());
  EXPECT_EQ(SAMAIN->ShapeFlt1->Pen()->Color(), kCriterionUnused);
  // Every colour, also those whose recipe does not add up to 100 %.
  EXPECT_EQ(DM->Color->RecordCount(), 9);
  EXPECT_GT(DM->Color->RecordCount(), Listed);
}

// The type criterion: its box enables the type list; a filter keeps the colours of that type.
TEST_F(AppWindows, FilterByTheTypeChosenInTheList) {
  Click(SAMAIN->CheckBoxColorTP);
  ASSERT_TRUE(SAMAIN->DBLookupComboboxZkColorTP->Enabled());
  EXPECT_TRUE(SAMAIN->DBLookupComboboxZkColorTP->Focused());
  SAMAIN->DBLookupComboboxZkColorTP->SetKeyValueProp(Variant(3));
  EXPECT_EQ(SAMAIN->DBLookupComboboxZkColorTP->Text(), u"Универсальная");
  Click(SAMAIN->BtnFilter);
  const int Universal =
      Scalar(u"SELECT COUNT(*) FROM DS_COLOR WHERE COLOR_TP_ID=3 AND ROUND(AM,2)=100").AsInteger();
  ASSERT_GT(Universal, 0);
  EXPECT_EQ(DM->Color->RecordCount(), Universal);
  EXPECT_EQ(SAMAIN->ShapeFlt2->Pen()->Color(), kCriterionUsed);
  Click(SAMAIN->BtnCancelFilter);
  EXPECT_FALSE(SAMAIN->DBLookupComboboxZkColorTP->Enabled());
  EXPECT_TRUE(SAMAIN->DBLookupComboboxZkColorTP->KeyValue().IsNull());
}

// A base chosen in the recipe's list reprices the colour; leaving the list posts the change
// and keeps the colour in edit.
TEST_F(AppWindows, BaseChosenInTheListRepricesAndIsPostedOnLeaving) {
  ASSERT_TRUE(DM->Color->Locate(u"ID", Variant(1), TLocateOptions()));
  SAMAIN->DBLookupComboboxZkBase->SetFocus();
  SAMAIN->DBLookupComboboxZkBase->SetKeyValueProp(Variant(2));
  EXPECT_EQ(DM->Color->FieldByName(u"BASE_ID")->AsInteger(), 2);
  EXPECT_DOUBLE_EQ(DM->Color->FieldByName(u"PRICE1")->AsFloat(), 150);
  SAMAIN->bbtnCalc->SetFocus();
  EXPECT_EQ(Scalar(u"SELECT PRICE1 FROM DS_COLOR WHERE ID=1").AsDouble(), 150);
  EXPECT_TRUE(IsDataSetEditing(DM->Color));
}

TEST_F(AppWindows, PriceListDialogDeletionAndRecalculation) {
  SAMAIN->PageControl1->SetActivePage(SAMAIN->TabSheetPrice);
  ASSERT_TRUE(DM->LKMRec->Locate(u"ID", Variant(2), TLocateOptions()));
  // Edit the product: the remark changes, the price and group stay as they were.
  const Variant Price = DM->LKMRec->FieldByName(u"PRICE1")->Value();
  TCustomForm::SetModalHookForTests([&](TCustomForm* Form) {
    ASSERT_EQ(Form, SDLKMREC);
    EXPECT_EQ(SDLKMREC->EditLKMRecNM->Text(), u"Эмаль ПФ база A 2,7 кг");
    SDLKMREC->EditLKMRecComment->SetFocus();
    SimulateTyping(u"новая");
    Click(SDLKMREC->BtnApply);
  });
  Click(SAMAIN->ToolButtonLKMEdit);
  EXPECT_EQ(SAMAIN->PageControl1->ActivePage(), SAMAIN->TabSheetPrice);
  EXPECT_EQ(StringToUtf8(Scalar(u"SELECT COMMENT FROM DS_LKM_REC WHERE ID=2").AsString()), "новая");
  EXPECT_EQ(Scalar(u"SELECT PRICE1 FROM DS_LKM_REC WHERE ID=2").AsDouble(), Price.AsDouble());

  // Product 1 is used by recipes: the notice names the colour and nothing is deleted.
  ASSERT_TRUE(DM->LKMRec->Locate(u"ID", Variant(1), TLocateOptions()));
  Answerer->MessageAnswers = {mrYes, mrOk};
  SAMAIN->MenuLKMDelete->Click();
  ASSERT_EQ(Answerer->Messages.size(), 2u);
  EXPECT_EQ(Answerer->Messages[0].Text, u"Удалить материал ?");
  EXPECT_EQ(StringToUtf8(Answerer->Messages[1].Text).rfind("Невозможно удалить.", 0), 0u);
  EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DS_LKM_REC WHERE ID=1").AsInteger(), 1);

  Answerer->MessageAnswers = {mrOk};
  Click(SAMAIN->BtnRecalcCatalog);
  ASSERT_EQ(Answerer->Messages.size(), 3u);
  EXPECT_EQ(Answerer->Messages[2].Text, u"   Каталог   изменен    ");
}

// "Прайс отчеты" opens the price report menu at the mouse; its PDF entry exports the colour
// price list into Report/ under the start-up folder (told when the file could not be written).
TEST_F(AppWindows, PriceReportMenuAtTheMouse) {
  SAMAIN->PageControl1->SetActivePage(SAMAIN->TabSheetPrice);
  TPoint Shown{-1, -1}, Cursor{-2, -2};
  TPopupMenu::SetChooser([&](TPopupMenu* Menu, TPoint At) -> TMenuItem* {
    EXPECT_EQ(Menu, SAMAIN->PopupMenuPrice);
    Shown = At;
    Cursor = Mouse->CursorPos();   // the export's dialogs move it later
    return SAMAIN->MenuPriceColorPdf;
  });
  // The PDF options dialog answered OK, the save dialog taking the proposed name.
  TCustomForm::SetModalHookForTests([](TCustomForm* Form) { Form->SetModalResult(mrOk); });
  Answerer->FileAnswers.push_back([](TFileDialogRequest& R) {
    R.Files = {R.FileName};
    return true;
  });
  SetCursorPos(300, 200);
  Click(SAMAIN->BtnPriceReports2);
  TCustomForm::SetModalHookForTests(nullptr);
  TPopupMenu::SetChooser(nullptr);
  EXPECT_EQ(Shown.X, Cursor.X);
  EXPECT_EQ(Shown.Y, Cursor.Y);
  EXPECT_TRUE(Answerer->Messages.empty());
  int Files = 0;
  for (const auto& E : fs::directory_iterator(Dir / "Report"))
    Files += E.path().extension() == ".pdf";
  EXPECT_EQ(Files, 1);
}

// The calculate button's caption turns blue under the mouse and black when it leaves.
TEST_F(AppWindows, HoverColoursTheCaption) {
  SimulateMouseMove(SAMAIN->bbtnCalc->ClientToScreen({5, 5}));
  EXPECT_EQ(SAMAIN->bbtnCalc->Font()->Color(), TColor(16711680));
  SimulateMouseMove(SAMAIN->rbtnCh1->ClientToScreen({5, 5}));
  EXPECT_EQ(SAMAIN->bbtnCalc->Font()->Color(), clBlack);
}

TEST_F(AppWindows, CopyActsOnlyInAFocusedEdit) {
  Click(SAMAIN->CheckBoxNM);
  ASSERT_TRUE(SAMAIN->MaskEditNM->Focused());
  SAMAIN->EditCopy1->Update();
  EXPECT_TRUE(SAMAIN->EditCopy1->Enabled());
  SAMAIN->bbtnCalc->SetFocus();
  SAMAIN->EditCopy1->Update();
  EXPECT_FALSE(SAMAIN->EditCopy1->Enabled());
}

TEST_F(AppWindows, ProductDialogWithoutNameOrGroupShowsBothNotices) {
  Answerer->MessageAnswers = {mrOk, mrOk};
  TCustomForm::SetModalHookForTests([&](TCustomForm* Form) {
    Click(SDLKMREC->BtnApply);
    EXPECT_EQ(Form->ModalResult(), mrNone);   // stays open
    Click(SDLKMREC->BtnCancel);
  });
  SAMAIN->MenuLKMAdd->Click();
  ASSERT_EQ(Answerer->Messages.size(), 2u);
  EXPECT_EQ(Answerer->Messages[0].Text, u"Не определено наименование");
  EXPECT_EQ(Answerer->Messages[1].Text, u"Не определена группа");
  EXPECT_EQ(DM->MaterialDialogMode, 0);
  EXPECT_EQ(SAMAIN->PageControl1->ActivePage(), SAMAIN->TabSheetPrice);
}

// Numbers typed into a grid cell with a point or a comma both give the value; letters are
// refused; the extra payment's amount is posted with the row.
TEST_F(AppWindows, GridCellTakesPointAndCommaAndRefusesLetters) {
  SAMAIN->PageControl1->SetActivePage(SAMAIN->TabSheetOrders);
  ASSERT_TRUE(DM->Ord->Locate(u"ID", Variant(3), TLocateOptions()));
  TDBGridZk* G = SAMAIN->DBGridZkOrdRec3;
  for (const char16_t* Typed : {u"2.5", u"2,5", u"2x,5"}) {
    DM->OrdRec3->First();
    G->SetFocus();
    G->SetCol(2);   // AM
    SimulateKeyPress(VK_F2);
    for (int I = 0; I < 8; ++I) SimulateKeyPress(VK_BACK);
    SimulateTyping(Typed);
    SimulateKeyPress(VK_DOWN);   // leaves the row: posts
    EXPECT_FALSE(IsDataSetEditing(DM->OrdRec3)) << StringToUtf8(Typed);
    DM->OrdRec3->First();
    EXPECT_DOUBLE_EQ(DM->OrdRec3->FieldByName(u"AM")->AsFloat(), 2.5) << StringToUtf8(Typed);
  }
}

// ===== database files that are missing, no database or locked ================================

// Simulated input bypasses the platform's event delivery, which hands a handler's exception to
// the exception display: this does the same.
void AsFromTheWindowSystem(const std::function<void()>& Input) {
  try {
    Input();
  } catch (const Exception& E) {
    Application->HandleException(Application, E);
  }
}

// The windows made again over whatever DATA/vorenta.data now is.
void RestartWindows() {
  DestroyAppWindows();
  CreateAppWindows();
  SAMAIN->Show();
  Application->ProcessMessages();
}

// A missing file or one that is no database: the connection box names the reason on its second
// line, the main window comes up empty, each command tells its one error, and the program ends
// cleanly (the fixture's tear-down).
TEST_F(AppWindows, MissingOrForeignDatabaseFileLeavesAnEmptyWorkingWindow) {
  const struct {
    const char* Name;
    std::string Content;   // empty: no file
    const char16_t* Reason;
  } Cases[] = {
      {"missing", "", u"Не удаётся открыть файл базы данных"},
      {"no database", std::string(4096, 'x'), u"Файл не является базой данных"},
  };
  for (const auto& C : Cases) {
    fs::remove("DATA/vorenta.data");
    if (!C.Content.empty()) std::ofstream("DATA/vorenta.data") << C.Content;
    Answerer->Messages.clear();
    Answerer->MessageAnswers = {mrOk, mrOk, mrOk, mrOk};
    RestartWindows();
    ASSERT_GE(Answerer->Messages.size(), 1u) << C.Name;
    const std::string First = StringToUtf8(Answerer->Messages[0].Text);
    EXPECT_EQ(First.rfind("Ошибка подключения к базе данных! \n ", 0), 0u) << First;
    EXPECT_NE(First.find(StringToUtf8(C.Reason)), std::string::npos) << First;
    EXPECT_NE(First.find("DATA/vorenta.data"), std::string::npos) << First;
    EXPECT_TRUE(SAMAIN->Visible()) << C.Name;
    EXPECT_FALSE(DM->Color->Active()) << C.Name;
    // The first activation's refresh failed once; a refresh by hand fails once more.
    const size_t Before = Answerer->Messages.size();
    EXPECT_EQ(Before, 2u) << C.Name;
    AsFromTheWindowSystem([] { Click(SAMAIN->ToolButtonColorRefresh); });
    EXPECT_EQ(Answerer->Messages.size(), Before + 1) << C.Name;
  }
}

// A damaged catalogue table: the file is told as damaged, the orders and the price list still
// open and work.
TEST_F(AppWindows, DamagedCatalogueLeavesTheOtherTabsWorking) {
  const int Root = Scalar(u"SELECT rootpage FROM sqlite_master WHERE name='DS_COLOR'").AsInteger();
  const int PageSize = Scalar(u"PRAGMA page_size").AsInteger();
  DestroyAppWindows();
  {
    std::fstream File("DATA/vorenta.data", std::ios::in | std::ios::out | std::ios::binary);
    File.seekp(std::streamoff(Root - 1) * PageSize);
    const std::string Garbage(PageSize, '\xA5');
    File.write(Garbage.data(), std::streamsize(Garbage.size()));
  }
  Answerer->MessageAnswers = {mrOk, mrOk};
  CreateAppWindows();
  SAMAIN->Show();
  Application->ProcessMessages();
  ASSERT_EQ(Answerer->Messages.size(), 1u);
  EXPECT_EQ(StringToUtf8(Answerer->Messages[0].Text).rfind("Файл базы данных повреждён", 0), 0u)
      << StringToUtf8(Answerer->Messages[0].Text);
  EXPECT_TRUE(DM->Ord->Active());
  EXPECT_EQ(DM->Ord->RecordCount(), 3);
  EXPECT_TRUE(DM->OrdTop->Active());
  EXPECT_TRUE(DM->LKMRec->Active());
  // An order still takes a remark.
  SAMAIN->PageControl1->SetActivePage(SAMAIN->TabSheetOrders);
  ASSERT_TRUE(DM->Ord->Locate(u"ID", Variant(3), TLocateOptions()));
  DM->Ord->Edit();
  DM->Ord->FieldByName(u"COMMENT")->SetAsString(u"после сбоя");
  DM->Ord->Post();
  EXPECT_EQ(StringToUtf8(Scalar(u"SELECT COMMENT FROM DR_ORD WHERE ID=3").AsString()), "после сбоя");
}

// A write-protected database file: one notice at start, the catalogue shows, a change fails with
// a clear error and the file keeps its data.
TEST_F(AppWindows, WriteProtectedDatabaseIsToldOnceAndKeepsItsData) {
  DestroyAppWindows();
  fs::permissions("DATA/vorenta.data", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  Answerer->Messages.clear();
  Answerer->MessageAnswers = {mrOk, mrOk, mrOk};
  CreateAppWindows();
  SAMAIN->Show();
  Application->ProcessMessages();
  ASSERT_EQ(Answerer->Messages.size(), 1u);
  EXPECT_EQ(StringToUtf8(Answerer->Messages[0].Text),
            "Файл базы данных открыт только для чтения: изменения не будут сохранены");
  ASSERT_TRUE(DM->Color->Active());
  const int Colours = DM->Color->RecordCount();
  EXPECT_GT(Colours, 0);
  SAMAIN->PageControl1->SetActivePage(SAMAIN->TabSheetOrders);
  ASSERT_TRUE(DM->Ord->Locate(u"ID", Variant(3), TLocateOptions()));
  DM->Ord->Edit();
  DM->Ord->FieldByName(u"COMMENT")->SetAsString(u"не сохранится");
  try {
    DM->Ord->Post();
    ADD_FAILURE() << "a write-protected file took a change";
  } catch (const EDatabaseError& E) {
    EXPECT_EQ(StringToUtf8(E.Message()).rfind("Файл базы данных открыт только для чтения", 0), 0u)
        << StringToUtf8(E.Message());
  }
  DM->Ord->Cancel();
  fs::permissions("DATA/vorenta.data", fs::perms::owner_write, std::filesystem::perm_options::add);
  EXPECT_NE(StringToUtf8(Scalar(u"SELECT COALESCE(COMMENT, '') FROM DR_ORD WHERE ID=3").AsString()),
            "не сохранится");
}

// A file another program keeps locked past the busy time: the post fails with a clear error,
// the order keeps its typed remark in edit, and the same Return posts it once the lock is gone.
TEST_F(AppWindows, LockedDatabaseKeepsTheEditForARetry) {
  SAMAIN->PageControl1->SetActivePage(SAMAIN->TabSheetOrders);
  ASSERT_TRUE(DM->Ord->Locate(u"ID", Variant(3), TLocateOptions()));
  TADOConnection Other(nullptr);
  Other.SetConnectionString(DM->Connection->ConnectionString());
  Other.Open();
  Other.BeginTrans();
  Other.Execute(u"UPDATE DR_ORD SET NUM=NUM WHERE ID=1");   // holds the write lock
  Answerer->MessageAnswers = {mrOk};
  SAMAIN->DBEditZkOrdComment->SetFocus();
  SAMAIN->DBEditZkOrdComment->SelectAll();
  SimulateTyping(u"Петров");
  AsFromTheWindowSystem([] { SimulateKeyPress(VK_RETURN, {}, u'\r'); });
  ASSERT_EQ(Answerer->Messages.size(), 1u);
  EXPECT_EQ(StringToUtf8(Answerer->Messages[0].Text).rfind("База данных занята другой программой", 0),
            0u) << StringToUtf8(Answerer->Messages[0].Text);
  EXPECT_TRUE(IsDataSetEditing(DM->Ord));
  EXPECT_EQ(DM->Ord->FieldByName(u"COMMENT")->AsString(), u"Петров");

  Other.RollbackTrans();
  Other.Close();
  SAMAIN->DBEditZkOrdComment->SetFocus();
  SimulateKeyPress(VK_RETURN, {}, u'\r');
  EXPECT_EQ(Answerer->Messages.size(), 1u);
  EXPECT_EQ(StringToUtf8(Scalar(u"SELECT COMMENT FROM DR_ORD WHERE ID=3").AsString()), "Петров");
}

// A product added with its group chosen in the dialog's list joins that group.
TEST_F(AppWindows, ProductAddedWithTheGroupChosenInTheList) {
  SAMAIN->PageControl1->SetActivePage(SAMAIN->TabSheetPrice);
  TCustomForm::SetModalHookForTests([&](TCustomForm*) {
    SDLKMREC->EditLKMRecNM->SetText(u"Эмаль новая");
    SDLKMREC->DBLookupComboBoxLKMRec->SetKeyValueProp(Variant(1));
    EXPECT_FALSE(SDLKMREC->DBLookupComboBoxLKMRec->Text().empty());
    SDLKMREC->DBNumberEditP1->SetText(u"12,5");
    Click(SDLKMREC->BtnApply);
  });
  SAMAIN->MenuLKMAdd->Click();
  EXPECT_TRUE(Answerer->Messages.empty());
  EXPECT_EQ(Scalar(u"SELECT LKM_ID FROM DS_LKM_REC WHERE NM='Эмаль новая'").AsInteger(), 1);
  EXPECT_EQ(Scalar(u"SELECT PRICE1 FROM DS_LKM_REC WHERE NM='Эмаль новая'").AsDouble(), 12.5);
}

// Every window as a PNG in screenshots/ of the test's folder, to look at.
TEST_F(AppWindows, EveryWindowAsAPicture) {
  const fs::path Out = OldDir / "screenshots";
  fs::create_directories(Out);
  auto Save = [&](TWinControl* Window, const char* Name) {
    const fs::path File = Out / Name;
    SaveControlToPng(Window, Utf8ToString(File.string()));
    EXPECT_GT(fs::file_size(File), 1000u) << Name;
  };
  Save(SAMAIN, "main-catalogue.png");
  SAMAIN->PageControl1->SetActivePage(SAMAIN->TabSheetOrders);
  Save(SAMAIN, "main-orders.png");
  SAMAIN->PageControl1->SetActivePage(SAMAIN->TabSheetPrice);
  Save(SAMAIN, "main-price.png");
  for (auto [Window, Name] : std::initializer_list<std::pair<TCustomForm*, const char*>>{
           {SAFind, "find.png"}, {SAOrdAdd, "order-add.png"}, {SDLKMREC, "product.png"},
           {AboutBox, "about.png"}, {SDNewMat, "new-material.png"}}) {
    Window->Show();
    Application->ProcessMessages();
    Save(Window, Name);
    Window->Hide();
  }
}

}  // namespace

// ===== on a real X server (ctest label "xserver", run under xvfb-run) ========================

namespace {

using AppScreen = AppWindows;

void Pump(int Milliseconds) {
  const auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(Milliseconds);
  while (std::chrono::steady_clock::now() < End) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

// The distinct colours of the screen picture inside R.
int DistinctColours(const TBitmap& Screen, const TRect& R) {
  std::set<TColorRef> Seen;
  for (int Y = std::max(R.Top, 0); Y < std::min(R.Bottom, Screen.Height()); ++Y)
    for (int X = std::max(R.Left, 0); X < std::min(R.Right, Screen.Width()); ++X)
      Seen.insert(Screen.PixelRGB(X, Y));
  return int(Seen.size());
}

TRect ScreenRect(TControl* Control) {
  const TPoint P = Control->ClientToScreen({0, 0});
  return TRect(P.X, P.Y, P.X + Control->Width(), P.Y + Control->Height());
}

TEST_F(AppScreen, MainStepsOnTheXServer) {
  const char* Platform = std::getenv("QT_QPA_PLATFORM");
  if (!Platform || std::string(Platform) != "xcb") GTEST_SKIP() << "needs QT_QPA_PLATFORM=xcb";
  const fs::path Out = OldDir / "screenshots";
  fs::create_directories(Out);
  auto Shot = [&](const char* Name) {
    Pump(300);
    const fs::path File = Out / Name;
    SaveScreenToPng(Utf8ToString(File.string()));
    auto Picture = std::make_unique<TBitmap>();
    Picture->LoadFromBytes(ReadTextFile(Utf8ToString(File.string())));
    return Picture;
  };

  // Placement: the centred main window inside the screen's work area.
  Pump(300);
  const TRect Work = Screen->WorkAreaRect();
  EXPECT_GE(SAMAIN->Left(), Work.Left);
  EXPECT_GE(SAMAIN->Top(), Work.Top);
  EXPECT_LE(SAMAIN->Left() + SAMAIN->Width(), Work.Right);
  const std::unique_ptr<TBitmap> Catalogue = Shot("x-main-catalogue.png");
  // Antialiased text: a caption shows more than its ink and its background.
  auto* Kg = static_cast<TControl*>(SAMAIN->FindComponent(u"LabelPrice"));
  EXPECT_GT(DistinctColours(*Catalogue, ScreenRect(Kg)), 4);

  SAMAIN->PageControl1->SetActivePage(SAMAIN->TabSheetOrders);
  Shot("x-main-orders.png");
  Click(SAMAIN->ToolButtonRecipe);   // the order colour's lines under it
  Shot("x-main-orders-recipe.png");
  EXPECT_TRUE(SAMAIN->DBGridZkOrdRec->Showing());
  Click(SAMAIN->ToolButtonRecipe);
  SAMAIN->PageControl1->SetActivePage(SAMAIN->TabSheetPrice);
  Shot("x-main-price.png");
  SAMAIN->PageControl1->SetActivePage(SAMAIN->TabSheetCatalog);
  Pump(100);

  // The search navigator where the search puts it.
  Click(SAMAIN->CheckBoxNM);
  SimulateTyping(u"К");
  TPoint Placed;
  TCustomForm::SetModalHookForTests([&](TCustomForm* Form) {
    Shot("x-find.png");
    Placed = {Form->Left(), Form->Top()};
    Click(SAFind->BtnDone);
  });
  Click(SAMAIN->BtnSearch);
  EXPECT_NEAR(Placed.X, SAMAIN->Left() + SAMAIN->Panel2->Left() + 10, 2);
  EXPECT_NEAR(Placed.Y, SAMAIN->Top() + SAMAIN->ImageTop->Height() + 35, 2);

  // Dialogs centred on the main window.
  auto Centre = [](TControl* C) { return TPoint{C->Left() + C->Width() / 2, C->Top() + C->Height() / 2}; };
  TPoint DialogCentre;
  TCustomForm::SetModalHookForTests([&](TCustomForm* Form) {
    Shot("x-product.png");
    DialogCentre = Centre(Form);
    Click(SDLKMREC->BtnCancel);
  });
  SAMAIN->MenuLKMEdit->Click();
  EXPECT_NEAR(DialogCentre.X, Centre(SAMAIN).X, 2);
  EXPECT_NEAR(DialogCentre.Y, Centre(SAMAIN).Y, 2);

  SAMAIN->PageControl1->SetActivePage(SAMAIN->TabSheetCatalog);
  SAMAIN->DBNumberEditZkX->SetValue(Variant(10.0));
  TCustomForm::SetModalHookForTests([&](TCustomForm*) {
    Shot("x-order-add.png");
    Click(SAOrdAdd->BtnCancel);
  });
  Click(SAMAIN->bbtnOrd);
  TCustomForm::SetModalHookForTests(nullptr);

  for (auto [Window, Name] : std::initializer_list<std::pair<TCustomForm*, const char*>>{
           {AboutBox, "x-about.png"}, {SDNewMat, "x-new-material.png"}}) {
    Window->Show();
    Shot(Name);
    Window->Hide();
  }
}

}  // namespace
