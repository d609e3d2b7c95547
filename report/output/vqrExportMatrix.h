// vqrExportMatrix.h - TvqrIEMatrix: the objects of prepared pages laid into one grid of cells.
//
// A table-shaped export feeds every object of every page (AddObject), closes each page with
// AddPage, and calls Prepare once. Prepare sorts all object edges into column and row
// positions, gives every object a rectangle of cells, cuts objects that overlap into pieces,
// shares equal cell styles and, when asked, removes empty rows. The filter then walks the
// cells row by row and reads each object's text or picture, its style and its span.
//
// Coordinates are report pixels; pages are stacked, each page's objects moved down by the
// height of the content before it.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/graphics/Colors.h"
#include "platform/graphics/Graphics.h"
#include "report/core/vqrClassBase.h"
#include "report/core/vqrClassMemo.h"
#include "report/core/vqrClassViews.h"

class TBitmap;
class TMetafile;
class TvqrWideStrings;
class TvqrBand;
class TvqrExportProgress;

// One cell style; equal styles are shared (see TvqrIEMatrix::FindOrAddStyle).
class TvqrIEMStyle {
public:
  TvqrIEMStyle();
  ~TvqrIEMStyle();
  TvqrIEMStyle(const TvqrIEMStyle&) = delete;
  TvqrIEMStyle& operator=(const TvqrIEMStyle&) = delete;
  // Every field, the font and the format by value.
  void Assign(const TvqrIEMStyle& Source);
  // Equal for the matrix: every visual attribute; the thousands separator is not compared.
  bool SameAs(const TvqrIEMStyle& Other) const;

  std::unique_ptr<TFont> Font;
  Extended LineSpacing = 0;
  TvqrVAlign VAlign = vaTop;
  TvqrHAlign HAlign = haLeft;
  TvqrFrameTypes FrameTyp;
  float FrameWidth = 0;
  TColor FrameColor = 0;
  TvqrFrameStyle FrameStyle = fsSolid;
  TColor Color = clNone;
  int Rotation = 0;
  TBrushStyle BrushStyle = bsSolid;
  Extended ParagraphGap = 0, GapX = 0, GapY = 0, CharSpacing = 0;
  bool WordBreak = false;
  int Charset = 0;
  std::unique_ptr<TvqrFormat> DisplayFormat;
  bool WordWrap = false;
};

// One exported object or a piece cut from one.
class TvqrIEMObject {
public:
  TvqrIEMObject();
  ~TvqrIEMObject();
  TvqrIEMObject(const TvqrIEMObject&) = delete;
  TvqrIEMObject& operator=(const TvqrIEMObject&) = delete;

  std::unique_ptr<TvqrWideStrings> Memo;
  String URL;
  int StyleIndex = -1;
  TvqrIEMStyle* Style = nullptr;  // in the matrix's style list
  bool IsText = true;
  bool IsRichText = false;
  bool IsDialogObject = false;
  Extended Left = 0, Top = 0, Width = 0, Height = 0;
  std::unique_ptr<TBitmap> Image;
  TvqrIEMObject* Parent = nullptr;
  int Counter = 0;
  TObject* Link = nullptr;
  bool RTL = false;
  String Anchor;
  bool Cached = false;
  bool Footer = false, Header = false;
  String Name;
  bool HTMLTags = false;
  std::unique_ptr<TMetafile> Metafile;
};

// A placement: the object and its cell rectangle.
struct TvqrIEMObjectList {
  std::unique_ptr<TvqrIEMObject> Obj;
  int x = 0, y = 0, dx = 1, dy = 1;
  bool Exist = false;
};

struct TvqrIEMPage {
  Extended Value = 0;  // the content height of all pages up to and including this one
  TPrinterOrientation Orientation = poPortrait;
  Extended Width = 0, Height = 0;  // pixels
  Extended LeftMargin = 0, TopMargin = 0, BottomMargin = 0, RightMargin = 0;  // millimetres
  bool MirrorMargin = false;
  bool PrintOnPreviousPage = false;
  String PageName;
};

class TvqrIEMatrix {
public:
  // Both arguments are ignored (everything is kept in memory).
  TvqrIEMatrix(bool UseFileCache = false, const String& TempDir = String());
  ~TvqrIEMatrix();
  TvqrIEMatrix(const TvqrIEMatrix&) = delete;
  TvqrIEMatrix& operator=(const TvqrIEMatrix&) = delete;

  // Frees objects, styles, positions and pages and empties the cells; the extents stay.
  void Clear();
  // One object of a prepared page at its absolute position.
  void AddObject(TvqrView* Obj);
  // A dialog control: a placement without style or picture at its absolute bounds.
  void AddDialogObject(TvqrReportComponent* Obj);
  // Closes the page whose objects were just added; Index is the page's 0-based number.
  void AddPage(TPrinterOrientation Orientation, Extended Width, Extended Height,
               Extended LeftMargin, Extended TopMargin, Extended RightMargin,
               Extended BottomMargin, bool MirrorMargins, int Index);
  // Once, after the last page.
  void Prepare();
  // Removes row y; later rows, and the page breaks below it, move up by its height.
  void DeleteMatrixLine(int y);

  // --- cells --------------------------------------------------------------------------------
  int GetCell(int x, int y) const;                // placement index or -1
  TvqrIEMObject* GetObject(int x, int y) const;
  TvqrIEMStyle* GetStyle(int x, int y) const;
  Extended GetCellXPos(int x) const { return GetXPosById(x); }
  Extended GetCellYPos(int y) const { return GetYPosById(y); }
  Extended GetXPosById(int x) const;
  Extended GetYPosById(int y) const;

  // --- objects, styles, pages ---------------------------------------------------------------
  TvqrIEMObject* GetObjectById(int i) const;
  void GetObjectPos(int i, int& x, int& y, int& dx, int& dy) const;
  int GetObjectsCount() const { return static_cast<int>(FIEMObjectList.size()); }
  TvqrIEMStyle* GetStyleById(int i) const;
  int GetStylesCount() const { return static_cast<int>(FIEMStyleList.size()); }
  Extended GetPageBreak(int Page) const;
  Extended GetPageWidth(int Page) const;
  Extended GetPageHeight(int Page) const;
  Extended GetPageLMargin(int Page) const;
  Extended GetPageTMargin(int Page) const;
  Extended GetPageRMargin(int Page) const;
  Extended GetPageBMargin(int Page) const;
  bool GetPageMirrorMargin(int Page) const;
  TPrinterOrientation GetPageOrientation(int Page) const;
  int GetPagesCount() const { return static_cast<int>(FPages.size()); }
  int PagesCount() const { return GetPagesCount(); }
  int StylesCount() const { return GetStylesCount(); }
  int ObjectsCount() const { return GetObjectsCount(); }

  // The character set the font really has (cached per name for the whole export).
  int GetFontCharset(TFont* Font);
  void SetPageHeader(TvqrBand* Band) { FHeader = Band; }
  void SetPageFooter(TvqrBand* Band) { FFooter = Band; }

  // --- extents and settings -----------------------------------------------------------------
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  Extended MaxWidth() const { return FMaxWidth; }
  Extended MaxHeight() const { return FMaxHeight; }
  Extended MinLeft() const { return FMinLeft; }
  Extended MinTop() const { return FMinTop; }
  Extended Left() const { return FLeft; }
  Extended Top() const { return FTop; }

  bool ShowProgress = true;
  Extended MaxCellHeight = 0, MaxCellWidth = 0;
  Extended Inaccuracy = 0;
  bool RotatedAsImage = false;
  bool PlainRich = true, RichText = false;
  bool CropAreaFill = false, AreaFill = false;
  bool FramesOptimization = false;
  bool DeleteHTMLTags = false;
  bool BackgroundImage = false, Background = false;
  TvqrReport* Report = nullptr;
  bool Printable = true;
  bool Images = true;
  bool WrapText = false;
  bool EmptyLines = true;
  bool BrushAsBitmap = true;
  bool EMFPictures = false;
  bool DotMatrix = false;

private:
  using TPosList = std::vector<Extended>;

  int StyleOfView(TvqrView* Obj, int Kind);
  int FindOrAddStyle(std::unique_ptr<TvqrIEMStyle> Style);
  int AddStyleCopy(const TvqrIEMStyle& From, TColor Fill, TvqrFrameTypes Frames);
  void AddShadow(TvqrCustomMemoView* Memo);
  void AddRectangle(TvqrShapeView* Shape);
  void RenderPicture(TvqrView* Obj, TvqrIEMObject* Item);
  void SetStyleOf(TvqrIEMObject* Item, int Index);
  void AddPlacement(std::unique_ptr<TvqrIEMObject> Item);

  static void AddPosition(TPosList& List, Extended Value);
  void OrderPositions(TPosList& List, bool Vertical);
  static int FindPosition(const TPosList& List, Extended Value);
  void PlaceObjects();
  void BuildCells();
  void CutOverlaps();
  void MeasureCellRun(int x, int y, int& dx, int& dy) const;
  void CutPiece(int Index, int x, int y, int dx, int dy);
  void FitPieceFrame(int OldIndex, int NewIndex);
  void OptimizeFrames();
  void Step();

  std::vector<TvqrIEMObjectList> FIEMObjectList;
  std::vector<std::unique_ptr<TvqrIEMStyle>> FIEMStyleList;
  TPosList FXPos, FYPos;
  std::vector<TvqrIEMPage> FPages;
  int FWidth = 0, FHeight = 0;
  Extended FMaxWidth = 0, FMaxHeight = 0;
  Extended FMinLeft = 99999, FMinTop = 99999;
  std::vector<int> FMatrix;
  Extended FDeltaY = 0;
  TvqrExportProgress* FProgress = nullptr;
  Extended FLeft = 0, FTop = 0;
  TvqrBand* FHeader = nullptr;
  TvqrBand* FFooter = nullptr;
  std::map<String, int> FFontList;
};
