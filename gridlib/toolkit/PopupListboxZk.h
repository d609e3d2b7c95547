// PopupListboxZk.h - the popup list box of the drop-downs: a list in a frameless top-level
// window that never takes the focus, with a size grip, hot tracking and type-ahead search.
//
// Its frame is its own: with Ctl3D a raised double edge two pixels wide (BorderWidth 2), else a
// one-pixel window border (BorderWidth 0). The frame lies in the non-client area, so the
// TWinControl border width (the margin for aligned children) stays 0 and is hidden here.
#pragma once

#include "gridlib/toolkit/PopupListboxItemZk.h"
#include "gridlib/toolkit/SizeGripZk.h"
#include "platform/controls/DropDownWindow.h"
#include "platform/controls/StdCtrls.h"

class TCustomImageList;

// Lets the owner pick the image of an item (ImageIndex starts as the item index).
using TListGetImageIndexEventZk =
    std::function<void(TObject* Sender, int ItemIndex, int& ImageIndex)>;

class TPopupListboxZk : public TCustomListBox {
  VORENTA_CLASS(TPopupListboxZk, TCustomListBox)
public:
  explicit TPopupListboxZk(TComponent* AOwner);

  // Opening and closing (Open at a screen position, Close); see DropDownWindow.h.
  TDropDownLink& Link() { return FLink; }
  TSizeGripZk* SizeGrip() const { return FSizeGrip; }
  // Set whenever the list box was resized; the owner clears it.
  bool SizeGripResized() const { return FSizeGripResized; }
  void SetSizeGripResized(bool Value) { FSizeGripResized = Value; }
  // The number of whole rows shown; setting it sizes the list to max(Value, 1) rows.
  int RowCount() const { return FRowCount; }
  void SetRowCount(int Value);
  // The raised frame's width: 2 with Ctl3D, else 0; it follows Ctl3D.
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int) = delete;
  // The height of a line of text in the list's font (the row height when ItemHeight is 0).
  int GetTextHeight() const;
  // The text typed for the type-ahead search so far.
  const String& SearchText() const { return FSearchText; }
  // With it set, items whose object is a TPopupListboxItemZk draw themselves and take the
  // mouse and keys on them first.
  bool UseItemObjects() const { return FUseItemObjects; }
  void SetUseItemObjects(bool Value);
  // Set before every mouse press and release; an item object's MouseUp may clear it. The owner
  // reads it in OnMouseUp to decide whether to close the list.
  bool IsMouseUpCloseListbox() const { return FIsMouseUpCloseListbox; }
  void SetIsMouseUpCloseListbox(bool Value) { FIsMouseUpCloseListbox = Value; }
  // A string list (not owned) the items are read from, in the virtual style; nullptr returns to
  // the list's own Items. The owner calls SetCount when the strings' count changes.
  TStrings* ExtItems() const { return FExtItems; }
  void SetExtItems(TStrings* Value);
  // With an image list (not owned) every item shows its image in a column at the left.
  TCustomImageList* ImageList() const { return FImageList; }
  void SetImageList(TCustomImageList* Value);
  const TListGetImageIndexEventZk& OnGetImageIndex() const { return FOnGetImageIndex; }
  void SetOnGetImageIndex(TListGetImageIndexEventZk Value) {
    FOnGetImageIndex = std::move(Value);
  }
  // The item object of an item when UseItemObjects is set, else nullptr.
  TPopupListboxItemZk* ItemObject(int Index) const;
  // The item's image and text; the class library's drawing without an image list.
  virtual void DefaultDrawItem(int Index, const TRect& ARect, TOwnerDrawState State);
  // Repaints item Index (nothing for a negative index).
  void InvalidateIndex(int Index);

  bool CanFocus() const override { return false; }
  // Heights snap to whole rows; the size keeps at least one scroll-bar square.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Dispatch(TMessage& Message) override;

protected:
  bool IsTopLevel() const override { return true; }
  void CreateParams(TCreateParams& Params) override;
  // The raised double edge with Ctl3D, then the scroll bars inside it.
  void PaintNonClient(HDC DC) override;
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  virtual void GetExtItemText(int Index, String& Text);
  virtual TObject* GetExtItemObject(int Index);
  void KeyPress(Char& Key) override;
  // Unhandled wheel steps scroll one row.
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

private:
  // The frame around the client area (the window's height less its client height).
  int BorderHeight() const;
  // ItemHeight, or the text height when it is 0.
  int RowHeight() const;
  void SearchFor(Char Key);

  TDropDownLink FLink;
  TSizeGripZk* FSizeGrip;
  int FBorderWidth = 2;
  TPoint FMousePos{-1, -1};
  int FMouseIndex = -1;
  int FRowCount = 0;
  String FSearchText;
  unsigned FSearchTickCount = 0;
  bool FSizeGripResized = false;
  TStrings* FExtItems = nullptr;
  TCustomImageList* FImageList = nullptr;
  TListGetImageIndexEventZk FOnGetImageIndex;
  bool FUseItemObjects = false;
  bool FIsMouseUpCloseListbox = false;
};
