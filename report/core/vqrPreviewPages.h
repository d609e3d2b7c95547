// vqrPreviewPages.h - TvqrPreviewPages, the store of prepared pages, with its outline and the
// dictionary of template copies.
//
// The band engine hands the store each output page and each printed object. The store keeps
// no objects: one XML item per printed object holds the object's difference from a template
// copy (a source page copied at the start of the run), named by a short alias the dictionary
// resolves ("m1" -> "Page0.Memo1"). Outline entries, anchors and logical page numbers live in
// the same document, whose root is "preparedreport"; saved as it stands, that document is the
// prepared-report file (.vt3). Pages are rebuilt into report objects on demand and kept in a
// most-recently-used cache; drawing, printing and export read those pages.
//
// Document children: "previewpages" (one item per page, named "page" + source page index,
// children = object items), "outline" (nested "item" text/page/top), "anchors" ("item"
// text/page/top), "logicalpagenumbers" ("page" n/t), and for the file "report",
// "sourcepages", "dictionary", "picturecache".
#pragma once

#include <functional>
#include <list>
#include <map>
#include <memory>
#include <vector>

#include "report/core/vqrClass.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrPictureCache.h"
#include "report/core/vqrXML.h"

class TvqrParsedBase;

// Opens a link clicked in a preview (set by the application; none: links do nothing).
using TvqrOpenURLHandler = std::function<void(const String& URL)>;
void SetOpenURLHandler(TvqrOpenURLHandler Handler);
// Only http, https and mailto links are opened: a link computed from report data never
// starts a program or opens a local file.
bool IsOpenableURL(const String& URL);

// The script half of a preview click (the object's OnPreviewClick procedure), filled by the
// expression unit.
using TvqrPreviewClickHook = std::function<void(TvqrReport* Report, TvqrView* View, int Button,
                                                Word Shift, bool& Modified, bool DBClick)>;
TvqrPreviewClickHook& PreviewClickScriptHook();

// Aliases of the template copies: alias -> (source name "Page0.Memo1", copy).
class TvqrDictionary {
public:
  void Clear() { FNames.clear(); FSourceNames.clear(); }
  void Add(const String& Name, const String& SourceName, TvqrComponent* Obj);
  // Base + the first free number, found by halving from 10000 and counting up.
  String CreateUniqueName(const String& Base) const;
  String AddUnique(const String& Base, const String& SourceName, TvqrComponent* Obj);
  TvqrComponent* GetObject(const String& Name) const;
  String GetSourceName(const String& Name) const;
  int Count() const { return static_cast<int>(FNames.size()); }

  struct TEntry {
    String SourceName;
    TvqrComponent* Obj = nullptr;
    // Obj's base text read once, made by the first page rebuilt with it.
    std::shared_ptr<TvqrParsedBase> Parsed;
  };
  // The entry of an alias; nullptr when there is none.
  TEntry* FindEntry(const String& Name);
  struct TLess {
    bool operator()(const String& A, const String& B) const;
  };
  // Alias -> position in SourceNames, sorted by alias ignoring case.
  const std::map<String, int, TLess>& Names() const { return FNames; }
  const std::vector<TEntry>& SourceNames() const { return FSourceNames; }

private:
  std::map<String, int, TLess> FNames;
  std::vector<TEntry> FSourceNames;
};

class TvqrOutline : public TvqrCustomOutline {
public:
  explicit TvqrOutline(TvqrCustomPreviewPages* APreviewPages);

  int Count() const override;
  // Appends an entry to the current level and makes it current.
  void AddItem(const String& Text, int Top) override;
  void LevelDown(int Index) override;
  void LevelRoot() override;
  void LevelUp() override;
  // Page and Top are set only when the entry has them.
  void GetItem(int Index, String& Text, int& Page, int& Top) override;
  void ShiftItems(TvqrXMLItem* From, int NewTop) override;
  TvqrXMLItem* GetCurPosition() override;
  TvqrXMLItem* Root() const;
};

class TvqrPreviewPages : public TvqrCustomPreviewPages {
public:
  explicit TvqrPreviewPages(TvqrReport* AReport);
  ~TvqrPreviewPages() override;

  // --- the store during a run ---------------------------------------------------------------
  int Count() const override;
  void Clear() override;
  void Initialize() override;
  void Finish() override;
  void AddSourcePage(TvqrReportPage* Page) override;
  void AddToSourcePage(TvqrComponent* Obj) override;
  void AddPage(TvqrReportPage* Page) override;
  void AddObject(TvqrComponent* Obj) override;
  void BeginPass() override;
  void ClearFirstPassPages() override;
  void CutObjects(int APosition) override;
  void PasteObjects(Extended X, Extended Y) override;
  void ShiftAnchors(int From, int NewTop) override;
  void AddPicture(TvqrReportComponent* Picture) override;
  bool BandExists(TvqrBand* Band) override;
  int GetCurPosition() override;
  int GetAnchorCurPosition() override;
  Extended GetLastY(Extended ColumnPosition) override;
  void IncLogicalPageNumber() override;
  void ResetLogicalPageNumber() override;
  int GetLogicalPageNo() override;
  int GetLogicalTotalPages() override;
  void AddAnchor(const String& Text);
  TvqrXMLItem* FindAnchor(const String& Text);
  // 1-based; 1 for an unknown anchor.
  int GetAnchorPage(const String& Text);
  void UpdatePageDimensions(TvqrReportPage* Page, Extended Width, Extended Height);

  // --- pages and files (vqrPreviewPagesFile.cpp) -------------------------------------------
  // The rebuilt page (owned by the cache: neither free nor keep it); nullptr without pages.
  TvqrReportPage* Page(int Index) override;
  TPoint PageSize(int Index) override;
  void AddEmptyPage(int Index) override;
  void DeletePage(int Index) override;
  void ModifyPage(int Index, TvqrReportPage* Page) override;
  void AddFrom(TvqrReport* Report) override;
  void LoadFromStream(TStream* Stream, bool AllowPartialLoading = false) override;
  void SaveToStream(TStream* Stream) override;
  bool LoadFromFile(const String& FileName, bool ExceptionIfNotFound = false) override;
  void SaveToFile(const String& FileName) override;
  void ClearPageCache();

  // --- drawing, printing and export (vqrPreviewPagesDraw.cpp) ------------------------------
  void DrawPage(int Index, TCanvas* Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX,
                Extended OffsetY) override;
  void ObjectOver(int Index, int X, int Y, int Button, Word Shift, Extended Scale,
                  Extended OffsetX, Extended OffsetY, bool Click, int& Cursor,
                  bool DBClick) override;
  bool Print() override;
  bool Export(TvqrCustomExportFilter* Filter) override;
  // "@3" moves the preview to page 3, "#name" to that anchor, a web or mail link opens
  // through the handler; anything else does nothing.
  void OpenViewURL(const String& URL);
  // Where a preview follows a link to (1-based page, top in pixels).
  using TNavigateEvent = std::function<void(int PageNo, int Top)>;
  void SetOnNavigate(TNavigateEvent Value) { FOnNavigate = std::move(Value); }
  // Called for every text object before an export filter gets it (its macros are expanded).
  using TPrepareMemoEvent = std::function<void(TvqrCustomMemoView* Memo)>;
  void SetOnPrepareMemo(TPrepareMemoEvent Value) { FOnPrepareMemo = std::move(Value); }

  // --- parts --------------------------------------------------------------------------------
  TvqrXMLDocument* XMLDocument() const { return FXMLDoc.get(); }
  TvqrDictionary* Dictionary() const { return FDictionary.get(); }
  TvqrPictureCache* PictureCache() const { return FPictureCache.get(); }
  const std::vector<std::unique_ptr<TvqrReportPage>>& SourcePages() const { return FSourcePages; }
  TvqrXMLItem* PagesItem() const;
  int CopyNo = 0;
  Extended PrintScale = 1;

  // --- for tests ----------------------------------------------------------------------------
  Int64 MemoryEstimate() const { return FMemoryEstimate; }
  int PageCacheCount() const { return static_cast<int>(FPageCache.size()); }

private:
  bool FinalPass() const;
  TvqrXMLItem* CurPageItem() const;
  void AddObjectItem(TvqrComponent* Obj, TvqrXMLItem* Parent);
  void CopyTree(TvqrComponent* Template, TvqrComponent* CopyParent,
                std::vector<std::pair<TvqrComponent*, TvqrComponent*>>& Pairs);
  void UnloadPages();
  TvqrXMLItem* LogicalPageItem(int Index) const;
  TvqrReportPage* RebuildPage(TvqrXMLItem* Item);
  void LoadCachedPicture(TvqrPictureView* Picture);
  void NavigateTo(int PageNo, int Top);
  void ExportPage(TvqrCustomExportFilter* Filter, int Index);
  void PrepareForExport(TvqrComponent* Obj, int TotalPages);
  void RebuildObjects(TvqrXMLItem* Item, TvqrComponent* Parent, TvqrXMLSerializer& Serializer,
                      int Depth);
  // The entry's base text read once (kept in the entry); nullptr when it must be read joined
  // to each difference.
  TvqrParsedBase* ParsedBase(TvqrDictionary::TEntry& Entry, bool OldFormat);

  std::unique_ptr<TvqrXMLDocument> FXMLDoc;
  std::vector<std::unique_ptr<TvqrReportPage>> FSourcePages;
  std::unique_ptr<TvqrDictionary> FDictionary;
  std::unique_ptr<TvqrPictureCache> FPictureCache;
  // Most recently used first.
  std::list<std::pair<int, std::unique_ptr<TvqrReportPage>>> FPageCache;
  Int64 FMemoryEstimate = 0;
  int FFirstPageIndex = -1, FFirstObjectIndex = 0, FFirstOutlineIndex = 0;
  int FLogicalPageN = 0;
  TNavigateEvent FOnNavigate;
  TPrepareMemoEvent FOnPrepareMemo;
};
