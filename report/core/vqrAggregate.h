// vqrAggregate.h - totals of a report run: SUM, AVG, MIN, MAX and COUNT in footer-like bands.
//
// A total cannot be computed when its footer prints: it needs every record printed before.
// Before the run the list scans the text objects of the footers, page footers, column footers
// and summaries for aggregate calls and makes one accumulator per call; each accumulator is
// fed when its data band prints, answers when the text object is evaluated, and restarts after
// the band holding the text object has printed.
#pragma once

#include <memory>
#include <vector>

#include "platform/rtl/Types.h"
#include "platform/rtl/Variant.h"

class TvqrBand;
class TvqrComponent;
class TvqrCustomMemoView;
class TvqrReport;
class TvqrReportPage;

enum TvqrAggregateFunction { agSum, agAvg, agMin, agMax, agCount };

// Per-column values exist for vertical columns 1 to this.
constexpr int vqrMaxVColumn = 1000;

class TvqrAggregateItem {
public:
  // Adds the current record's value.
  void Calc();
  // Takes the last value back.
  void DeleteValue();
  void Reset();
  void StartKeep();
  void EndKeep();
  // Null counts as 0.
  Variant Value() const;

  TvqrAggregateFunction AggregateFunction = agSum;
  TvqrBand* Band = nullptr;          // the data band whose records feed the item
  bool CountInvisibleBands = false;  // flags bit 0
  bool DontReset = false;            // flags bit 1: a running total
  String Expression;
  bool IsPageFooter = false;
  int ItemsCount = 0;
  Variant ItemsValue;
  bool Keeping = false;
  int LastCount = 0;
  Variant LastValue;
  String MemoName;
  String OriginalName;
  TvqrBand* ParentBand = nullptr;  // the band holding the text object
  TvqrReport* Report = nullptr;
  int TempItemsCount = 0;
  Variant TempItemsValue;
  int VColumn = 0;
  std::vector<Variant> ItemsArray;    // per vertical column, empty until first used
  std::vector<int> ItemsCountArray;

private:
  void Combine(Variant& Into, const Variant& V) const;
  void CheckVColumn() const;
};

class TvqrAggregateList {
public:
  explicit TvqrAggregateList(TvqrReport* AReport) : FReport(AReport) {}

  void Clear() { FList.clear(); }
  int Count() const { return static_cast<int>(FList.size()); }
  TvqrAggregateItem* Items(int Index) const { return FList[static_cast<size_t>(Index)].get(); }

  // Collects the aggregate calls of one report page (its band tree must be built).
  void AddItems(TvqrReportPage* Page);
  void AddValue(TvqrBand* Band, int VColumn);
  void DeleteValue(TvqrBand* Band);
  void Reset(TvqrBand* ParentBand);
  void StartKeep();
  void EndKeep();
  // Every item restarts, running totals too.
  void ClearValues();
  // Name SUM, AVG, MIN, MAX, anything else COUNT; Band nullptr matches any band.
  Variant GetValue(TvqrBand* ParentBand, int VColumn, const String& Name,
                   const String& Expression, TvqrBand* Band, int Flags);
  Variant GetValue(TvqrBand* ParentBand, const String& ComplexName, int VColumn);

  // --- the scanner, public for tests ---------------------------------------------------------
  // Adds an item for every aggregate call in expression text T of Memo in ParentBand,
  // ContextBand serving calls that name no band.
  void ScanAggregateCalls(const String& T, TvqrCustomMemoView* Memo, TvqrBand* ParentBand,
                          TvqrBand* ContextBand, int Depth = 0);
  // The up to three arguments of a call whose "(" is at Start (0-based); End receives the
  // position of the closing ")".
  static std::vector<String> SplitAggregateArgs(const String& T, size_t Start, size_t& End);

private:
  void ScanBand(TvqrBand* Band, TvqrBand* ContextBand);
  void ScanMemo(TvqrCustomMemoView* Memo, TvqrBand* ParentBand, TvqrBand* ContextBand);
  void VisitDataBand(TvqrBand* D);
  void AddCall(const String& Call, const std::vector<String>& Args, TvqrCustomMemoView* Memo,
               TvqrBand* ParentBand, TvqrBand* ContextBand);

  TvqrReport* FReport;
  std::vector<std::unique_ptr<TvqrAggregateItem>> FList;
};
