// DBGridZkImages.cpp - the grid's image lists (title images, the columns' cell images) and the
// columns' own popup menus.
#include "gridlib/grid/DBGridZk.h"

#include "platform/controls/Menus.h"
#include "platform/controls/Messages.h"

// --- title images ---------------------------------------------------------------------------------

void TCustomDBGridZk::SetTitleImages(TCustomImageList* Value) {
  if (Value == FTitleImages) return;
  if (FTitleImages) FTitleImages->UnRegisterChanges(&FTitleImageChangeLink);
  FTitleImages = Value;
  if (Value) {
    FTitleImageChangeLink.OnChange = [this](TObject*) { Invalidate(); };
    FTitleImageChangeLink.OnFree = [this](TObject*) {
      FTitleImages = nullptr;
      LayoutChanged();
    };
    Value->RegisterChanges(&FTitleImageChangeLink);
  }
  LayoutChanged();
}

// --- the columns' images and menus ----------------------------------------------------------------

void TColumnZk::SetImageList(TCustomImageList* Value) {
  if (Value == FImageList) return;
  if (FImageList) FImageList->UnRegisterChanges(&FImageChangeLink);
  FImageList = Value;
  if (Value) {
    FImageChangeLink.OnChange = [this](TObject*) {
      if (TCustomDBGridZk* G = Grid()) G->Invalidate();
    };
    FImageChangeLink.OnFree = [this](TObject*) {
      FImageList = nullptr;
      if (TCustomDBGridZk* G = Grid()) G->Invalidate();
    };
    Value->RegisterChanges(&FImageChangeLink);
  }
  if (TCustomDBGridZk* G = Grid()) G->Invalidate();
}

void TColumnZk::SetShowImageAndText(bool Value) {
  if (Value == FShowImageAndText) return;
  FShowImageAndText = Value;
  Changed(false);
}

void TColumnZk::SetPopupMenu(TPopupMenu* Value) {
  FPopupMenu = Value;
  if (Value)
    if (TCustomDBGridZk* G = Grid()) Value->FreeNotification(G);
}

// A right click on a data column (title rows included) opens the column's own menu when it
// has one that pops up by itself; other clicks and keyboard requests go to the grid's menu.
bool TCustomDBGridZk::ShowColumnPopupMenu(TMessage& Message) {
  if (Message.LParam == LPARAM(-1) || !HandleAllocated()) return false;
  const TPoint P =
      ScreenToClient(TPoint{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
  const TGridCoord Cell = MouseCoord(P.X, P.Y);
  if (Cell.X < FIndicatorOffset || Cell.Y < 0) return false;
  TColumnZk* Column = ColumnAtGridCol(Cell.X);
  TPopupMenu* Menu = Column ? Column->PopupMenu() : nullptr;
  if (!Menu || !Menu->AutoPopup()) return false;
  CancelMode();
  Menu->SetPopupComponent(this);
  Menu->Popup(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
  Message.Result = 1;
  return true;
}

// A freed menu leaves every column that used it.
void TCustomDBGridZk::ColumnMenuFreed(TComponent* AComponent) {
  if (!FColumns) return;
  for (int I = 0; I < FColumns->Count(); ++I)
    if (FColumns->Items(I)->PopupMenu() == AComponent) FColumns->Items(I)->SetPopupMenu(nullptr);
}
