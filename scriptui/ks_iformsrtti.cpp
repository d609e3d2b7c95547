// ks_iformsrtti.cpp - the controls and forms bindings, each member bound to its own handler.
#include "scriptui/ks_iformsrtti.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/Controls.h"
#include "platform/controls/DataModule.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Messages.h"
#include "platform/controls/StdCtrls.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Variants.h"
#include "script/ks_ibindings.h"
#include "script/ks_iinterpreter.h"
#include "scriptui/ks_idialogsrtti.h"
#include "scriptui/ks_ievents.h"
#include "scriptui/ks_igraphicsrtti.h"

namespace {

struct TConst {
  const char16_t* Name;
  int Value;
};

// The platform's values under their names.
const TConst kConstants[] = {
    {u"mrNone", mrNone}, {u"mrOk", mrOk}, {u"mrCancel", mrCancel}, {u"mrAbort", mrAbort}, {u"mrRetry", mrRetry},
    {u"mrIgnore", mrIgnore}, {u"mrYes", mrYes}, {u"mrNo", mrNo}, {u"mrAll", mrAll}, {u"mrNoToAll", mrNoToAll},
    {u"mrYesToAll", mrYesToAll},
    {u"crDefault", crDefault}, {u"crNone", crNone}, {u"crArrow", crArrow}, {u"crCross", crCross},
    {u"crIBeam", crIBeam}, {u"crSize", crSize}, {u"crSizeNESW", crSizeNESW}, {u"crSizeNS", crSizeNS},
    {u"crSizeNWSE", crSizeNWSE}, {u"crSizeWE", crSizeWE}, {u"crUpArrow", crUpArrow},
    {u"crHourGlass", crHourGlass}, {u"crDrag", crDrag}, {u"crNoDrop", crNoDrop}, {u"crHSplit", crHSplit},
    {u"crVSplit", crVSplit}, {u"crMultiDrag", crMultiDrag}, {u"crSQLWait", crSQLWait}, {u"crNo", crNo},
    {u"crAppStart", crAppStart}, {u"crHelp", crHelp}, {u"crHandPoint", crHandPoint}, {u"crSizeAll", crSizeAll},
    {u"bsNone", bsNone}, {u"bsSingle", bsSingle}, {u"bsSizeable", bsSizeable}, {u"bsDialog", bsDialog},
    {u"bsToolWindow", bsToolWindow}, {u"bsSizeToolWin", bsSizeToolWin},
    {u"taLeftJustify", taLeftJustify}, {u"taRightJustify", taRightJustify}, {u"taCenter", taCenter},
    {u"VK_RBUTTON", VK_RBUTTON}, {u"VK_CANCEL", VK_CANCEL}, {u"VK_MBUTTON", VK_MBUTTON}, {u"VK_BACK", VK_BACK},
    {u"VK_TAB", VK_TAB}, {u"VK_RETURN", VK_RETURN}, {u"VK_SHIFT", VK_SHIFT}, {u"VK_CONTROL", VK_CONTROL},
    {u"VK_MENU", VK_MENU}, {u"VK_PAUSE", VK_PAUSE}, {u"VK_CAPITAL", VK_CAPITAL}, {u"VK_ESCAPE", VK_ESCAPE},
    {u"VK_SPACE", VK_SPACE}, {u"VK_PRIOR", VK_PRIOR}, {u"VK_NEXT", VK_NEXT}, {u"VK_END", VK_END},
    {u"VK_HOME", VK_HOME}, {u"VK_LEFT", VK_LEFT}, {u"VK_UP", VK_UP}, {u"VK_RIGHT", VK_RIGHT}, {u"VK_DOWN", VK_DOWN},
    {u"VK_INSERT", VK_INSERT}, {u"VK_DELETE", VK_DELETE}, {u"VK_HELP", VK_HELP}, {u"VK_LWIN", VK_LWIN},
    {u"VK_RWIN", VK_RWIN}, {u"VK_APPS", VK_APPS}, {u"VK_NUMPAD0", VK_NUMPAD0}, {u"VK_NUMPAD1", VK_NUMPAD0 + 1},
    {u"VK_NUMPAD2", VK_NUMPAD0 + 2}, {u"VK_NUMPAD3", VK_NUMPAD0 + 3}, {u"VK_NUMPAD4", VK_NUMPAD0 + 4},
    {u"VK_NUMPAD5", VK_NUMPAD0 + 5}, {u"VK_NUMPAD6", VK_NUMPAD0 + 6}, {u"VK_NUMPAD7", VK_NUMPAD0 + 7},
    {u"VK_NUMPAD8", VK_NUMPAD0 + 8}, {u"VK_NUMPAD9", VK_NUMPAD9}, {u"VK_MULTIPLY", VK_MULTIPLY}, {u"VK_ADD", VK_ADD},
    {u"VK_SEPARATOR", VK_SEPARATOR}, {u"VK_SUBTRACT", VK_SUBTRACT}, {u"VK_DECIMAL", VK_DECIMAL},
    {u"VK_DIVIDE", VK_DIVIDE}, {u"VK_F1", VK_F1}, {u"VK_F2", VK_F2}, {u"VK_F3", VK_F3}, {u"VK_F4", VK_F4},
    {u"VK_F5", VK_F5}, {u"VK_F6", VK_F6}, {u"VK_F7", VK_F7}, {u"VK_F8", VK_F8}, {u"VK_F9", VK_F9},
    {u"VK_F10", VK_F10}, {u"VK_F11", VK_F11}, {u"VK_F12", VK_F12}, {u"VK_NUMLOCK", VK_NUMLOCK},
    {u"VK_SCROLL", VK_SCROLL}};

class TFunctions : public TksBindingModule {
public:
  explicit TFunctions(TksScript* S) : TksBindingModule(S) {
    for (const TConst& C : kConstants) S->AddConst(C.Name, u"Integer", Variant(C.Value));
    for (const char16_t* T : {u"TFormBorderStyle", u"TBorderStyle", u"TAlignment", u"TLeftRight"}) S->AddType(T, fvtInt);
    AddSet(u"TShiftState", u"ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble");
    AddSet(u"TAnchors", u"akLeft, akTop, akRight, akBottom");
    AddSet(u"TBorderIcons", u"biSystemMenu, biMinimize, biMaximize, biHelp");
    const std::pair<const char16_t*, const char16_t*> Enums[] = {
        {u"TAlign", u"alNone, alTop, alBottom, alLeft, alRight, alClient"},
        {u"TMouseButton", u"mbLeft, mbRight, mbMiddle"},
        {u"TBevelCut", u"bvNone, bvLowered, bvRaised, bvSpace"},
        {u"TTextLayout", u"tlTop, tlCenter, tlBottom"},
        {u"TEditCharCase", u"ecNormal, ecUpperCase, ecLowerCase"},
        {u"TScrollStyle", u"ssNone, ssHorizontal, ssVertical, ssBoth"},
        {u"TComboBoxStyle", u"csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable"},
        {u"TCheckBoxState", u"cbUnchecked, cbChecked, cbGrayed"},
        {u"TListBoxStyle", u"lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable"},
        {u"TWindowState", u"wsNormal, wsMinimized, wsMaximized"},
        {u"TFormStyle", u"fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop"},
        {u"TPosition", u"poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter"},
        {u"TCloseAction", u"caNone, caHide, caFree, caMinimize"}};
    for (auto& [Typ, Names] : Enums)
      if (!S->Find(Typ)) S->AddEnum(Typ, Names);
    AddControls();
    AddForms();
  }

private:
  void AddSet(const char16_t* Typ, const char16_t* Names) {
    if (!Script()->Find(Typ)) Script()->AddEnumSet(Typ, Names);
  }
  void AddControls() {
    Class(TControl::ClassInfo(), u"TComponent");
    Prop(
        u"Parent", u"TWinControl", [](TObject* I) { return ksObjectToVariant(ksSelf<TControl>(I).Parent()); },
        [](TObject* I, const Variant& V) {
          ksSelf<TControl>(I).SetParent(static_cast<TWinControl*>(ksVariantToObject(V, TWinControl::ClassInfo())));
        });
    Method(u"procedure Hide", [](TObject* I, auto*) {
      ksSelf<TControl>(I).Hide();
      return Variant(0);
    });
    Method(u"procedure Show", [](TObject* I, auto*) {
      ksSelf<TControl>(I).Show();
      return Variant(0);
    });
    Method(u"procedure SetBounds(ALeft, ATop, AWidth, AHeight: Integer)", [](TObject* I, auto* H) {
      ksSelf<TControl>(I).SetBounds(ksIntArg(H, 0), ksIntArg(H, 1), ksIntArg(H, 2), ksIntArg(H, 3));
      return Variant(0);
    });
    Class(TWinControl::ClassInfo(), u"TControl");
    Method(u"procedure SetFocus", [](TObject* I, auto*) {
      ksSelf<TWinControl>(I).SetFocus();
      return Variant(0);
    });
    const std::pair<TClass, const char16_t*> Plain[] = {
        {TCustomControl::ClassInfo(), u"TWinControl"}, {TGraphicControl::ClassInfo(), u"TControl"},
        {TGroupBox::ClassInfo(), u"TCustomControl"},   {TLabel::ClassInfo(), u"TGraphicControl"},
        {TEdit::ClassInfo(), u"TWinControl"},          {TMemo::ClassInfo(), u"TWinControl"}};
    for (auto& [C, A] : Plain) Class(C, A);
    Class(TCustomComboBox::ClassInfo(), u"TWinControl");
    Prop(
        u"DroppedDown", u"Boolean", [](TObject* I) { return Variant(ksSelf<TCustomComboBox>(I).DroppedDown()); },
        [](TObject* I, const Variant& V) { ksSelf<TCustomComboBox>(I).SetDroppedDown(V.AsBoolean()); });
    Prop(
        u"ItemIndex", u"Integer", [](TObject* I) { return Variant(ksSelf<TCustomComboBox>(I).ItemIndex()); },
        [](TObject* I, const Variant& V) { ksSelf<TCustomComboBox>(I).SetItemIndex(V.AsInteger()); });
    Class(TComboBox::ClassInfo(), u"TCustomComboBox");
    for (auto& [C, A] : {std::pair{TButton::ClassInfo(), u"TWinControl"}, std::pair{TCheckBox::ClassInfo(), u"TWinControl"},
                         std::pair{TRadioButton::ClassInfo(), u"TWinControl"}})
      Class(C, A);
    Class(TCustomListBox::ClassInfo(), u"TWinControl");
    Prop(
        u"ItemIndex", u"Integer", [](TObject* I) { return Variant(ksSelf<TCustomListBox>(I).ItemIndex()); },
        [](TObject* I, const Variant& V) { ksSelf<TCustomListBox>(I).SetItemIndex(V.AsInteger()); });
    Class(TListBox::ClassInfo(), u"TCustomListBox");
    Class(TControlScrollBar::ClassInfo(), u"TPersistent");
    Class(TScrollingWinControl::ClassInfo(), u"TWinControl");
    Class(TScrollBox::ClassInfo(), u"TScrollingWinControl");
  }

  void AddForms() {
    Class(TCustomForm::ClassInfo(), u"TScrollingWinControl");
    Method(u"procedure Close", [](TObject* I, auto*) {
      ksSelf<TCustomForm>(I).Close();
      return Variant(0);
    });
    Method(u"procedure Hide", [](TObject* I, auto*) {
      ksSelf<TCustomForm>(I).Hide();
      return Variant(0);
    });
    Method(u"procedure Show", [](TObject* I, auto*) {
      ksSelf<TCustomForm>(I).Show();
      return Variant(0);
    });
    Method(u"function ShowModal: Integer",
           [](TObject* I, auto*) { return Variant(static_cast<int>(ksSelf<TCustomForm>(I).ShowModal())); });
    Prop(u"Canvas", u"TCanvas", [](TObject* I) { return ksObjectToVariant(ksSelf<TCustomForm>(I).Canvas()); });
    Prop(
        u"ModalResult", u"Integer",
        [](TObject* I) { return Variant(static_cast<int>(ksSelf<TCustomForm>(I).ModalResult())); },
        [](TObject* I, const Variant& V) { ksSelf<TCustomForm>(I).SetModalResult(static_cast<TModalResult>(V.AsInteger())); });
    Class(TForm::ClassInfo(), u"TCustomForm");
    Class(TDataModule::ClassInfo(), u"TComponent");
    Class(TApplication::ClassInfo(), u"TComponent");
    Method(u"procedure ProcessMessages", [](TObject* I, auto*) {
      ksSelf<TApplication>(I).ProcessMessages();
      return Variant(0);
    });
    Method(u"procedure Minimize", [](TObject* I, auto*) {
      ksSelf<TApplication>(I).Minimize();
      return Variant(0);
    });
    Method(u"procedure Restore", [](TObject* I, auto*) {
      ksSelf<TApplication>(I).Restore();
      return Variant(0);
    });
    Prop(u"ExeName", u"String", [](TObject* I) { return Variant(ksSelf<TApplication>(I).ExeName()); });
    if (Application) {
      Script()->AddObject(u"Application", Application);
      ksKeepObject(Application);
    }
  }
};

}  // namespace

TksRTTIModule* ksCreateFormsRTTI(TksScript* Script) { return new TFunctions(Script); }

void ksRegisterUIModules() {
  static bool Done = false;
  if (Done) return;
  Done = true;
  ksRegisterEventAdapters();
  // After the engine's system, ini and base-class modules: dialogs, graphics, forms.
  RegisterRTTIModule(ksCreateDialogsRTTI);
  RegisterRTTIModule(ksCreateGraphicsRTTI);
  RegisterRTTIModule(ksCreateFormsRTTI);
}
