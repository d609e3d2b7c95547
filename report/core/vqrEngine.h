// vqrEngine.h - TvqrEngine, the band-layout engine, and the run-time parts a report owns with
// it: the expression cache, the text renderer and the aggregate list.
//
// The report's PrepareReport calls Run: the engine builds each page's band tree, walks the
// data sources with master/detail nesting and groups, and hands every band to ShowBand, which
// evaluates, stretches and places it on the output pages of the prepared-page store, breaking
// columns and pages with their headers and footers.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "report/core/vqrAggregate.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrDrawText.h"
#include "report/core/vqrExpression.h"

class TvqrPreviewPages;

// A band reprinted at the top of each new page or column.
struct TvqrHeaderListItem {
  TvqrBand* Band = nullptr;
  Extended Left = 0;
  bool IsInKeepList = false;
};

class TvqrHeaderList {
public:
  void Clear() { FItems.clear(); }
  int Count() const { return static_cast<int>(FItems.size()); }
  TvqrHeaderListItem& HeaderItemAt(int Index) { return FItems[static_cast<size_t>(Index)]; }
  void AddItem(TvqrBand* ABand, Extended ALeft, bool AInKeepList);
  // The first item of ABand leaves; nothing when there is none.
  void RemoveItem(TvqrBand* ABand);

private:
  std::vector<TvqrHeaderListItem> FItems;
};

class TvqrEngine : public TvqrCustomEngine {
public:
  explicit TvqrEngine(TvqrReport* AReport);
  ~TvqrEngine() override;

  // --- the run-time parts the report owns through its engine -------------------------------
  TvqrExpressionCache* ExpressionCache() const { return FExpressionCache.get(); }
  TvqrDrawText* DrawText() const { return FDrawText.get(); }
  TvqrAggregateList* Aggregates() const { return FAggregates.get(); }

  // --- the engine's operations ---------------------------------------------------------------
  Extended PageHeight() const override;
  void EndPage() override;
  void BreakAllKeep() override;
  void NewColumn() override;
  void NewPage() override;
  void ShowBand(TvqrBand* Band) override;
  void ShowBand(TClass BandClass) override;
  Extended HeaderHeight() override;
  Extended FooterHeight() override;
  Extended FreeSpace() override;
  Variant GetAggregateValue(const String& Name, const String& Expression, TvqrBand* Band,
                            int Flags) override;
  bool Run() override;

  TvqrBand* CurBand() const { return FCurBand; }
  TvqrHeaderList* HeaderList() { return &FHeaderList; }

  // --- for tests ----------------------------------------------------------------------------
  // Replaces the clock of StartDate and StartTime (nullptr: the system clock).
  static void SetClockForTests(std::function<TDateTime()> Clock);

private:
  // --- run loop (vqrEngine.cpp)
  bool Initialize();
  void Finalize();
  void BuildBandTree(bool Vertical);
  bool RunDialogs();
  void RunReportPass();
  void RunReportPage(TvqrReportPage* Page);
  void RunPage();
  void BeginReportPage();
  void ShowPageObjects();
  bool HasDetailRecords(TvqrComponent* Owner, bool Force);
  void RunDataBands(TvqrComponent* Owner);
  void ShowGroupHeaders(TvqrDataBand* D, TvqrBand* H, bool IsFirst, int From);
  void CheckGroupBreak(TvqrDataBand* D, TvqrBand* H, Extended& Y0, int& A);
  void ShowGroupFooters(TvqrBand* H, int From, TvqrDataBand* D);
  void ApplyDrillDown(TvqrDataBand* D, TvqrBand* H);
  void NextDataColumn(TvqrDataBand* D, int A, Extended Y0);
  void AddHeader(TvqrBand* Band);
  void AddBandOutline(TvqrBand* Band);
  void AddPageOutline();
  void ClearSuppress(TvqrBand* Band);
  TvqrPreviewPages* Store() const;

  // --- band output and page flow (vqrEngineOutput.cpp)
  void OutputBand(TvqrBand* B);
  void PrepareBand(TvqrBand* B);
  void BuildShiftTree(TvqrBand* B);
  void ShiftObjects(TvqrReportComponent* P, Extended D);
  void FinishBand(TvqrBand* B);
  void BeginKeepBlock(TvqrBand* B, int P);
  void EndKeepBlock(TvqrBand* B);
  void OpenPage();
  void OutputColumnFooter();
  void StartColumn();
  void OutputPageBand(TvqrBand* F);
  void RecalcSuppressed(TvqrBand* B);
  void PrintSubreports(TvqrBand* B);
  void SplitBand(TvqrBand* B);
  void PushDownBelow(TvqrReportComponent* O, Extended X, std::vector<TvqrReportComponent*>& ToPrint,
                     std::vector<TvqrReportComponent*>& Pushed);
  TvqrBand* PageBand(TClass Class) const;
  // --- vertical bands (vqrEngineVertical.cpp)
  void CaptureVerticalObjects(TvqrBand* Band);
  void BuildVMasterBand(TvqrBand* B);
  void RunVDataBands(std::vector<TvqrComponent*> List);
  void OutputVBand(TvqrBand* B);
  void OutputVMasterBand(TvqrBand* M, Extended SavedX);

  std::unique_ptr<TvqrExpressionCache> FExpressionCache;
  std::unique_ptr<TvqrDrawText> FDrawText;
  std::unique_ptr<TvqrAggregateList> FAggregates;
  TvqrBand* FCurBand = nullptr;
  TvqrBand* FLastBandOnPage = nullptr;
  TvqrBand* FStartNewPageBand = nullptr;
  TvqrBand* FKeepBand = nullptr;
  TvqrReportPage* FPage = nullptr;
  TvqrHeaderList FHeaderList;
  std::vector<std::pair<String, int>> FHBandNamesTree;
  bool FCallFromAddPage = false, FCallFromEndPage = false, FCallFromPHeader = false;
  bool FDontShowHeaders = false, FFirstReportPage = false, FIsFirstBand = false;
  bool FIsFirstPage = false, FIsLastPage = false;
  bool FKeepFooter = false, FKeeping = false, FKeepHeader = false;
  Extended FFirstColumnY = 0, FKeepCurY = 0, FPrevFooterHeight = 0, FPageCurX = 0;
  int FKeepPosition = 0, FKeepAnchor = 0;
  TvqrXMLItem* FKeepOutline = nullptr;
  TvqrBand* FVMasterBand = nullptr;
  std::vector<int> FVPageList;
  std::vector<TvqrBand*> FVHeaderList;
};

// Makes reports create this engine and the prepared-page store, and prepare their scripts
// with the expression machinery. Called by the report module's start.
void vqrEngineModuleInitialize();
