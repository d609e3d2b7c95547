// vqrPreview.h - the report preview: TvqrPageList (pages laid out in centred rows),
// TvqrPreviewWorkspace (the scrolling page canvas: painting, dragging, clicks on page objects,
// the text search) and TvqrPreview (the control around two canvases, the main view and the
// thumbnail strip, with the outline tree, zoom, navigation, keys, run feeding and the file,
// print, export and page commands).
#pragma once

#include <memory>
#include <vector>

#include "platform/controls/Controls.h"
#include "report/core/vqrClassAbstract.h"
#include "report/output/vqrCtrls.h"

class TButton;
class TLabel;
class TMetafile;
class TPanel;
class TPopupMenu;
class TSplitter;
class TTreeView;
class TvqrPreview;

struct TvqrPageItem {
  int Height = 0, Width = 0, OffsetX = 0, OffsetY = 0;
};

class TvqrPageList {
public:
  void AddPage(int AWidth, int AHeight, Extended Zoom);
  void Clear() { FItems.clear(); }
  int Count() const { return static_cast<int>(FItems.size()); }
  const TvqrPageItem& Items(int Index) const { return FItems.at(Index); }
  // Rows of as many pages as fit, 10 pixels apart, each row centred and moved 10 right.
  void CalcBounds(int ClientWidth);
  // The page at a vertical offset (OffsetX 0: within a fifth of its height), or the page under
  // the point; -1 above the first page.
  int FindPage(int OffsetY, int OffsetX) const;
  // The page's rectangle; an index outside the list gives the placeholder of an empty A4 page.
  TRect GetPageBounds(int Index, int ClientWidth, Extended Scale, bool RTL) const;
  TPoint GetMaxBounds() const;

private:
  std::vector<TvqrPageItem> FItems;
  int FMaxWidth = 0;
};

// The text search state shared by every preview.
struct TvqrSearchState {
  String SearchText;
  bool SearchCaseSensitive = false;
  bool SearchFound = false;
  TRect FoundRect;
  int RecordCounter = 0;
  int LastFoundRecord = -1;
};
TvqrSearchState& vqrSearch();

class TvqrPreviewWorkspace : public TvqrScrollWin {
  VORENTA_CLASS(TvqrPreviewWorkspace, TvqrScrollWin)
public:
  explicit TvqrPreviewWorkspace(TComponent* AOwner);
  ~TvqrPreviewWorkspace() override;

  void AddPage(int AWidth, int AHeight) { FPageList.AddPage(AWidth, AHeight, Zoom); }
  void ClearPageList() { FPageList.Clear(); }
  void CalcPageBounds(int ClientWidth) { FPageList.CalcBounds(ClientWidth); }
  void SetPosition(int PageN, int Top);
  int GetTopPosition();
  void ScrollToPage(int APageNo);
  void UpdateScrollRanges();
  void DrawPages(bool FrameOnly);
  void FindNext();
  const TvqrPageList& PageList() const { return FPageList; }
  TPoint Offset() const { return FOffset; }
  void SetOffset(TPoint Value) { FOffset = Value; }

  TColor ActiveFrameColor = TColor(0x804020);
  TColor BackColor = TColor(0x808080);
  TColor FrameColor = TColor(0);
  bool IsThumbnail = false;
  bool Locked = false;
  int PageNo = 1;
  TvqrPreview* Preview = nullptr;
  TvqrCustomPreviewPages* PreviewPages = nullptr;
  Extended Zoom = 1;
  bool RTLLanguage = false;
  bool FDisableUpdate = false;
  int FLastFoundPage = 0;
  int FEMFImagePage = -1;
  int FDefaultCursor = 150;

  void Dispatch(TMessage& Message) override;

protected:
  void Paint() override { DrawPages(false); }
  void HorzPositionChanged() override;
  void VertPositionChanged() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DblClick() override;

private:
  int UsableWidth() const;
  TvqrPageList FPageList;
  std::unique_ptr<TMetafile> FEMFImage;
  bool FDown = false;
  TPoint FLastPoint;
  TPoint FOffset;
  Cardinal FTimeOffset = 0;
};

VORENTA_ENUM(TvqrPreviewTool, ptHand, ptZoom);

class TvqrPreview : public TCustomControl, public TvqrCustomPreview {
  VORENTA_CLASS(TvqrPreview, TCustomControl)
public:
  using TPageChangedEvent = std::function<void(TObject* Sender, int PageNo)>;

  explicit TvqrPreview(TComponent* AOwner);
  ~TvqrPreview() override;

  // --- the contract of the report
  void Init() override;
  void Lock() override;
  void Unlock() override;
  void RefreshReport() override;
  void InternalOnProgressStart(TvqrReport* Sender, TvqrProgressType ProgressType, int Progress) override;
  void InternalOnProgress(TvqrReport* Sender, TvqrProgressType ProgressType, int Progress) override;
  void InternalOnProgressStop(TvqrReport* Sender, TvqrProgressType ProgressType, int Progress) override;

  // --- navigation and zoom
  void First() { SetPageNo(1); }
  void Prior() { SetPageNo(FPageNo - 1); }
  void Next() { SetPageNo(FPageNo + 1); }
  void Last() { SetPageNo(PageCount()); }
  int PageNo() const { return FPageNo; }
  void SetPageNo(int Value);
  int PageCount() const;
  void SetPosition(int PageN, int Top);
  int GetTopPosition() { return Workspace->GetTopPosition(); }
  Extended Zoom() const { return FZoom; }
  void SetZoom(Extended Value);
  TvqrZoomMode ZoomMode() const { return FZoomMode; }
  void SetZoomMode(TvqrZoomMode Value);
  void MouseWheelScroll(int Delta, bool Horz, bool Zoom);
  bool OutlineVisible() const;
  void SetOutlineVisible(bool Value);
  bool ThumbnailVisible() const;
  void SetThumbnailVisible(bool Value);
  int OutlineWidth() const;
  void SetOutlineWidth(int Value);
  bool Locked() const { return FLocked; }
  bool Running() const { return FRunning; }
  void RebuildLayout();

  // --- commands
  void ShowMessage(const String& S);
  void HideMessage();
  void Print();
  void Export(TvqrCustomExportFilter* Filter);
  void SaveToFile();
  void SaveToFile(const String& FileName);
  void LoadFromFile();
  void LoadFromFile(const String& FileName);
  void Clear();
  void AddPage();
  void DeletePage();
  void PageSetupDlg();
  void Edit();
  void Find();
  void FindNext();
  bool FindText(const String& SearchString, bool FromTop, bool IsCaseSensitive);
  bool FindTextFound() const;
  void FindTextClear();
  void Cancel();
  void CancelButtonClick();
  void NotifyPageChanged();
  void FillOutlineTree();
  void CollapseOutline();
  void ExpandOutline();

  TvqrPreviewWorkspace* Workspace = nullptr;
  TvqrPreviewWorkspace* Thumbnail = nullptr;
  TTreeView* OutlineTree = nullptr;
  TSplitter* Splitter = nullptr;
  TPopupMenu* FOutlinePopup = nullptr;
  TPanel* FMessagePanel = nullptr;
  TLabel* FMessageLabel = nullptr;
  TButton* FCancelButton = nullptr;
  TvqrPreviewTool Tool = ptHand;
  TPageChangedEvent OnPageChanged;

  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
  void Resize() override;
  void KeyDown(Word& Key, TShiftState Shift) override;

private:
  bool HasButton(int Button) const;
  int LayoutWidth(TvqrPreviewWorkspace* W) const;
  class TvqrPreviewForm* Form() const;

  bool FAllowF3 = false, FLocked = false, FRefreshing = false, FRunning = false;
  int FPageNo = 1;
  Cardinal FTick = 0;
  Extended FZoom = 1;
  TvqrZoomMode FZoomMode = zmDefault;
};
