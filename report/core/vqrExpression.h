// vqrExpression.h - expressions of a report: the expression cache, Calc with its fast name
// lookup, the preparation of the report script (objects, variables, Get and Set, the macro
// functions IIF, SUM, AVG, MIN, MAX and COUNT) and the calls into script event procedures.
//
// Calc first tries a name (a data-source field, a system variable, a report, global or script
// variable); anything else is compiled once into a small function of the report's script
// language ("vq3f" + number) and called. Objects reach scripts as checked handles
// (ksObjectToVariant), never as addresses.
#pragma once

#include <functional>
#include <map>
#include <memory>

#include "platform/rtl/Types.h"
#include "platform/rtl/Variant.h"

class TObject;
class TksScript;
class TksCustomVariable;
class TvqrReport;
class TvqrView;
class TvqrReportComponent;

class TvqrExpressionCache {
public:
  // The cache's own script searches MainScript's symbols after its own.
  explicit TvqrExpressionCache(TksScript* MainScript);
  ~TvqrExpressionCache();
  TvqrExpressionCache(const TvqrExpressionCache&) = delete;
  TvqrExpressionCache& operator=(const TvqrExpressionCache&) = delete;

  // Forgets every compiled expression.
  void Clear();
  // The value of Expression run with AScript as the parent scope. A compile or run-time error
  // leaves its text in ErrorMsg (the result is then Null or what the run left).
  Variant Calc(const String& Expression, String& ErrorMsg, TksScript* AScript);

  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);
  const String& ScriptLanguage() const { return FScriptLanguage; }
  void SetScriptLanguage(const String& Value) { FScriptLanguage = Value; }
  TksScript* Script() const { return FScript.get(); }
  TksScript* MainScript() const { return FMainScript; }
  int Count() const { return static_cast<int>(FExpressions.size()); }
  // The report script's variables "Value" and "Self", found once by PrepareScript.
  TksCustomVariable* LocalVariable = nullptr;
  TksCustomVariable* SelfVariable = nullptr;
  // The wrapper of an expression as function Name in Language; empty for other languages.
  static String WrapExpression(const String& Language, const String& Name,
                               const String& Expression);

private:
  struct TLess {
    const bool* CaseSensitive;
    bool operator()(const String& A, const String& B) const;
  };
  TksScript* FMainScript;
  std::unique_ptr<TksScript> FScript;
  bool FCaseSensitive = false;
  std::map<String, TksCustomVariable*, TLess> FExpressions;
  String FScriptLanguage = u"PascalScript";
};

// --- the report's expression machinery ------------------------------------------------------

// The report's expression cache (made with the report's engine); nullptr without one.
TvqrExpressionCache* vqrExpressionCache(TvqrReport* Report);

// The value of Expr. AScript nullptr means the report's script; FromScript marks a call of a
// script's Report.Calc (its errors are raised with "Error in Calc expression: ", not listed).
// Errors are "<CurObject>: <message>" lines in Errors, then an Exception.
Variant vqrCalc(TvqrReport* Report, const String& Expr, TksScript* AScript = nullptr,
                bool FromScript = false);
// A plain name's value without compiling: true when Name resolved.
bool vqrResolveValueName(TvqrReport* Report, const String& Name, Variant& Value);
// Registers the report's objects, variables and host functions in its script (the report
// compiles ScriptText afterwards).
void vqrPrepareScript(TvqrReport* Report);

// The script variables "Value" and "Self".
Variant vqrLocalValue(TvqrReport* Report);
void vqrSetLocalValue(TvqrReport* Report, const Variant& Value);
TvqrView* vqrSelfValue(TvqrReport* Report);
void vqrSetSelfValue(TvqrReport* Report, TvqrView* View);

// Script event calls: EventName with the object as its one argument / with Params (var
// parameters written back), when RunAlways or the engine runs.
void vqrDoNotifyEvent(TvqrReport* Report, TObject* Obj, const String& EventName, bool RunAlways);
void vqrDoParamEvent(TvqrReport* Report, const String& EventName, Variant& Params,
                     bool RunAlways);
// The host event, then the object's OnBeforePrint / OnAfterPrint script procedure.
void vqrDoBeforePrint(TvqrReport* Report, TvqrReportComponent* Component);
void vqrDoAfterPrint(TvqrReport* Report, TvqrReportComponent* Component);

// The open and close delimiters of a text object's ExpressionDelimiters ("[,]"); false when
// either is empty.
bool vqrSplitDelimiters(const String& Delimiters, String& Open, String& Close);
// Text with each bracketed part (nesting counted, quotes skipped) replaced by Evaluate of its
// inner text; inserted values are never scanned again.
String vqrExpandBrackets(const String& Text, const String& Open, const String& Close,
                         const std::function<String(const String& Inner)>& Evaluate);

// The low byte of a shift-state set.
Byte ShiftStateToByte(Word Shift);
