// SA_MainOrders.cpp - the main window's orders and price-list tabs and the report commands.
#include "app/SA_Main.h"

#include "app/DM_MAIN.h"
#include "app/SD_LKMRec.h"
#include "gridlib/toolkit/DBCtrlsZk.h"
#include "platform/db/DataSet.h"
#include "platform/sqlite/ADODB.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/Menus.h"
#include "platform/controls/StdCtrls.h"

void TSAMAIN::WireOrders() {
  auto CreateOrder = [](TObject*) { DM->CreateOrder(); };
  auto DeleteOrder = [](TObject*) { DM->DeleteOrder(); };
  auto Reprice = [](TObject*) { DM->RecalculateOrderPrices(); };
  ToolButtonOrdCreate->SetOnClick(CreateOrder);
  MenuOrdCreate->SetOnClick(CreateOrder);
  ToolButtonOrdDelete->SetOnClick(DeleteOrder);
  MenuOrdDelete->SetOnClick(DeleteOrder);
  ToolButtonOrdReprice->SetOnClick(Reprice);
  MenuOrdReprice->SetOnClick(Reprice);
  MenuOrdTopReprice->SetOnClick(Reprice);
  MenuOrdTopDelete->SetOnClick([](TObject*) { DM->DeleteOrderColour(); });
  MenuOrdRec3Delete->SetOnClick([](TObject*) { DM->DeleteExtraPayment(); });
  ToolButtonOrdPreview->SetOnClick([](TObject*) { DM->PreviewOrder(); });
  ToolButtonOrdPrint->SetOnClick([](TObject*) { DM->PrintOrder(); });
  ToolButtonOrdExport->SetOnClick([](TObject*) { DM->ExportOrderPdf(); });
  // Return in the order's number, date or remark posts the order, keeps it in edit and goes on.
  for (TWinControl* Editor : std::initializer_list<TWinControl*>{
           DBEditZkOrdNUM, DBDateTimeEditZkOrdDT, DBEditZkOrdComment})
    Editor->SetOnKeyPress([this, Editor](TObject*, Char& Key) {
      if (Key != u'\r') return;
      Key = 0;
      if (IsDataSetEditing(DM->Ord)) {
        DM->Ord->Post();
        DM->Ord->Edit();
      }
      SelectNext(Editor, true, true);
    });
}

void TSAMAIN::WirePriceList() {
  auto Add = [this](TObject*) { ShowPriceItemDialog(2); };
  auto Edit = [this](TObject*) { ShowPriceItemDialog(1); };
  auto Delete = [](TObject*) { DM->DeletePriceItem(); };
  ToolButtonLKMAdd->SetOnClick(Add);
  MenuLKMAdd->SetOnClick(Add);
  ToolButtonLKMEdit->SetOnClick(Edit);
  MenuLKMEdit->SetOnClick(Edit);
  ToolButtonLKMDelete->SetOnClick(Delete);
  MenuLKMDelete->SetOnClick(Delete);
  BtnRecalcCatalog->SetOnClick([](TObject*) { DM->RecalculateCatalogPrices(); });
  for (TButton* Button : {BtnPriceReports1, BtnPriceReports2})
    Button->SetOnClick([this](TObject*) { PopupPriceReports(); });
  MenuPriceColor->SetOnClick([](TObject*) { DM->PreviewColourPriceList(); });
  MenuPriceColorPdf->SetOnClick([](TObject*) { DM->ExportColourPriceListPdf(); });
  MenuPriceLKM->SetOnClick([](TObject*) { DM->PreviewMaterialPriceList(); });
  MenuPriceLKMPdf->SetOnClick([](TObject*) { DM->ExportMaterialPriceListPdf(); });
}

void TSAMAIN::ShowPriceItemDialog(int Mode) {
  DM->MaterialDialogMode = Mode;
  SDLKMREC->ShowModal();
  PageControl1->SetActivePage(TabSheetPrice);
}

void TSAMAIN::PopupPriceReports() {
  const TPoint At = Mouse->CursorPos();
  PopupMenuPrice->Popup(At.X, At.Y);
}
