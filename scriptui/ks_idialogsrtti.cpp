// ks_idialogsrtti.cpp - the dialog bindings.
#include "scriptui/ks_idialogsrtti.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Dialogs.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Variants.h"
#include "script/ks_ibindings.h"
#include "script/ks_iinterpreter.h"

namespace {

class TFunctions : public TksRTTIModule {
public:
  explicit TFunctions(TksScript* S) : TksRTTIModule(S) {
    S->AddEnumSet(u"TOpenOptions",
                  u"ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate, "
                  u"ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, "
                  u"ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, "
                  u"ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing");
    S->AddEnumSet(u"TColorDialogOptions", u"cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor");
    S->AddEnumSet(u"TFontDialogOptions",
                  u"fdAnsiOnly, fdTrueTypeOnly, fdEffects, fdFixedPitchOnly, fdForceFontExist, fdNoFaceSel, "
                  u"fdNoOEMFonts, fdNoSimulations, fdNoSizeSel, fdNoStyleSel, fdNoVectorFonts, fdShowHelp, "
                  u"fdWysiwyg, fdLimitSize, fdScalableOnly, fdApplyButton");
    S->AddEnumSet(u"TPrintDialogOptions",
                  u"poPrintToFile, poPageNums, poSelection, poWarning, poHelp, poDisablePrintToFile");
    S->AddEnumSet(u"TMsgDlgButtons",
                  u"mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp");
    S->AddEnum(u"TFileEditStyle", u"fsEdit, fsComboBox");
    S->AddEnum(u"TFontDialogDevice", u"fdScreen, fdPrinter, fdBoth");
    S->AddEnum(u"TPrintRange", u"prAllPages, prSelection, prPageNums");
    S->AddEnum(u"TMsgDlgType", u"mtWarning, mtError, mtInformation, mtConfirmation, mtCustom");

    if (TksClassVariable* C = S->AddClass(TCommonDialog::ClassInfo(), u"TComponent"))
      C->AddMethod(u"function Execute: Boolean", [](TObject* I, TksClassRef, const String&, TksMethodHelper*) {
        auto* D = dynamic_cast<TCommonDialog*>(I);
        if (!D) throw EHandleError(u"Object handle is nil");
        return Variant(D->Execute());
      });
    for (TClass C : {TOpenDialog::ClassInfo(), TSaveDialog::ClassInfo(), TColorDialog::ClassInfo(),
                     TFontDialog::ClassInfo(), TPrintDialog::ClassInfo(), TPrinterSetupDialog::ClassInfo()})
      S->AddClass(C, u"TCommonDialog");

    S->AddMethod(
        u"function MessageDlg(Msg: string; DlgType: TMsgDlgType; Buttons: TMsgDlgButtons; HelpCtx: Longint): Integer",
        [](TObject*, TksClassRef, const String&, TksMethodHelper* H) {
          int Type = H->GetParam(1).AsInteger();
          if (Type < mtWarning || Type > mtCustom) throw ERangeError(u"Range check error");
          auto Buttons = TMsgDlgButtons::FromBits(static_cast<std::uint64_t>(H->GetParam(2).AsInt64()) & 0x7FF);
          return Variant(static_cast<int>(
              MessageDlg(ksStrArg(H, 0), static_cast<TMsgDlgType>(Type), Buttons, H->GetParam(3).AsInteger())));
        },
        u"ctOther");
    S->AddMethod(u"function InputBox(ACaption, APrompt, ADefault: string): string",
                 [](TObject*, TksClassRef, const String&, TksMethodHelper* H) {
                   return Variant(InputBox(ksStrArg(H, 0), ksStrArg(H, 1), ksStrArg(H, 2)));
                 },
                 u"ctOther");
    S->AddMethod(u"function InputQuery(ACaption, APrompt: string; var Value: string): Boolean",
                 [](TObject*, TksClassRef, const String&, TksMethodHelper* H) {
                   String Value = ksStrArg(H, 2);
                   bool Ok = InputQuery(ksStrArg(H, 0), ksStrArg(H, 1), Value);
                   H->SetArgValue(2, Variant(Value));
                   return Variant(Ok);
                 },
                 u"ctOther");
    S->AddMethod(u"procedure ShowMessage(Msg: Variant)",
                 [](TObject*, TksClassRef, const String&, TksMethodHelper* H) {
                   ShowMessage(ksStrArg(H, 0));
                   return Variant(0);
                 },
                 u"ctOther");
  }
};

}  // namespace

TksRTTIModule* ksCreateDialogsRTTI(TksScript* Script) { return new TFunctions(Script); }
