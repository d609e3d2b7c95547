// vqrDialogPage.cpp - dialog pages and dialog controls.
#include "report/core/vqrDialogPage.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrClassReport.h"
#include "report/core/vqrExpression.h"
#include "report/core/vqrRes.h"

REGISTER_CLASS(TvqrDialogControl) {}
REGISTER_CLASS(TvqrDialogPage) {
  Class.Property("BorderStyle", &TvqrDialogPage::BorderStyle, &TvqrDialogPage::SetBorderStyle, bsSizeable)
      .Property("Caption", &TvqrDialogPage::Caption, &TvqrDialogPage::SetCaption)
      .Property("Position", &TvqrDialogPage::Position, &TvqrDialogPage::SetPosition, poScreenCenter)
      .Property("WindowState", &TvqrDialogPage::WindowState, &TvqrDialogPage::SetWindowState, wsNormal)
      .Property("ClientWidth", &TvqrDialogPage::ClientWidth, &TvqrDialogPage::SetClientWidth)
      .Property("ClientHeight", &TvqrDialogPage::ClientHeight, &TvqrDialogPage::SetClientHeight);
}

namespace {

int RoundInt(Extended X) { return static_cast<int>(Round(X)); }

// The hidden window holding controls whose parent is no page.
TForm* HiddenParent() {
  static TForm* Form = nullptr;
  if (!Form) Form = new TForm(nullptr);
  return Form;
}

}  // namespace

// --- controls ---------------------------------------------------------------------------------

TvqrDialogControl::~TvqrDialogControl() { delete FControl; }

void TvqrDialogControl::Draw(TCanvas* Canvas, Extended, Extended, Extended, Extended) {
  if (!FControl) return;
  const int W = RoundInt(Width()), H = RoundInt(Height());
  if (W <= 0 || H <= 0) return;
  TBitmap Picture(W, H);
  TCanvas* C = Picture.Canvas();
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(Rect(0, 0, W, H));
  Canvas->Lock();
  if (auto* Windowed = dynamic_cast<TWinControl*>(FControl)) {
    Windowed->PaintTo(C, 0, 0);
  } else {
    FControl->Perform(WM_ERASEBKGND, WPARAM(C), 0);
    FControl->Perform(WM_PAINT, WPARAM(C), 0);
  }
  Canvas->Draw(RoundInt(AbsLeft()), RoundInt(AbsTop()), &Picture);
  Canvas->Unlock();
}

void TvqrDialogControl::SetControl(TControl* Value) {
  delete FControl;
  FControl = Value;
  SyncBounds();
}

void TvqrDialogControl::SyncBounds() {
  if (FControl)
    FControl->SetBounds(RoundInt(Left()), RoundInt(Top()), RoundInt(Width()), RoundInt(Height()));
}

String TvqrDialogControl::Caption() const { return FControl ? FControl->Caption() : String(); }
void TvqrDialogControl::SetCaption(const String& Value) {
  if (FControl) FControl->SetCaption(Value);
}
bool TvqrDialogControl::Enabled() const { return FControl && FControl->Enabled(); }
void TvqrDialogControl::SetEnabled(bool Value) {
  if (FControl) FControl->SetEnabled(Value);
}

void TvqrDialogControl::SetLeft(Extended Value) {
  TvqrReportComponent::SetLeft(Value);
  if (FControl) FControl->SetLeft(RoundInt(Left()));
}
void TvqrDialogControl::SetTop(Extended Value) {
  TvqrReportComponent::SetTop(Value);
  if (FControl) FControl->SetTop(RoundInt(Top()));
}
void TvqrDialogControl::SetWidth(Extended Value) {
  TvqrReportComponent::SetWidth(Value);
  if (FControl) FControl->SetWidth(RoundInt(Width()));
}
void TvqrDialogControl::SetHeight(Extended Value) {
  TvqrReportComponent::SetHeight(Value);
  if (FControl) FControl->SetHeight(RoundInt(Height()));
}
void TvqrDialogControl::SetVisible(bool Value) {
  TvqrReportComponent::SetVisible(Value);
  if (FControl) FControl->SetVisible(Value);
}

void TvqrDialogControl::SetParent(TvqrComponent* Value) {
  TvqrReportComponent::SetParent(Value);
  if (!FControl) return;
  if (auto* C = dynamic_cast<TvqrDialogControl*>(Value); C && dynamic_cast<TWinControl*>(C->Control()))
    FControl->SetParent(static_cast<TWinControl*>(C->Control()));
  else if (auto* P = dynamic_cast<TvqrDialogPage*>(Value))
    FControl->SetParent(P->DialogForm());
  else
    FControl->SetParent(HiddenParent());
}

void TvqrDialogControl::SetName(const String& Value) {
  const bool Follows = FControl && FControl->ControlStyle().Contains(csSetCaption) &&
                       FControl->Caption() == Name() && !IsLoading();
  TvqrReportComponent::SetName(Value);
  if (Follows) FControl->SetCaption(Value);
}

String TvqrDialogControl::BaseName() const {
  String N = ClassName();
  if (const size_t P = N.find(u"Tvqr"); P != String::npos) N.erase(P, 4);
  if (const size_t P = N.find(u"Control"); P != String::npos) N.erase(P, 7);
  return N;
}

// --- pages ------------------------------------------------------------------------------------

TvqrDialogPage::TvqrDialogPage(TComponent* AOwner) : TvqrPage(AOwner) {
  // The window reads the thread-safe mode from its owner's tag.
  const int OldTag = Tag();
  auto* R = dynamic_cast<TvqrReport*>(AOwner);
  SetTag(R && R->EngineOptions()->EnableThreadSafe() ? 318 : 0);
  FForm = std::make_unique<TvqrDialogForm>(this);
  SetTag(OldTag);
  FForm->SetKeyPreview(true);
  FForm->SetShowHint(true);
  FForm->SetColor(FColor);
  Font()->SetName(u"Tahoma");
  Font()->SetSize(8);
}

// The page and its controls go under the loading lock, so a report loading on another thread
// never meets half-destroyed dialog controls; the window goes after them.
TvqrDialogPage::~TvqrDialogPage() {
  struct TLoadingLock {
    TLoadingLock() { vqrLockXMLLoading(); }
    ~TLoadingLock() { vqrUnlockXMLLoading(); }
  } Lock;
  Clear();
  while (!Objects().empty()) delete Objects().front();
}

String TvqrDialogPage::GetDescription() const { return StringTable()->Get(u"obDlgPage"); }

void TvqrDialogPage::SetCaption(const String& Value) {
  FCaption = Value;
  FForm->SetCaption(Value);
}

void TvqrDialogPage::SetColor(TColor Value) {
  FColor = Value;
  FForm->SetColor(Value);
}

Extended TvqrDialogPage::ClientWidth() const { return FForm->ClientWidth(); }
Extended TvqrDialogPage::ClientHeight() const { return FForm->ClientHeight(); }

void TvqrDialogPage::SetClientWidth(Extended Value) {
  FForm->SetClientWidth(RoundInt(Value));
  FClientWidth = Value;
  TvqrPage::SetWidth(FForm->Width());
}

void TvqrDialogPage::SetClientHeight(Extended Value) {
  FForm->SetClientHeight(RoundInt(Value));
  FClientHeight = Value;
  TvqrPage::SetHeight(FForm->Height());
}

void TvqrDialogPage::SetLeft(Extended Value) {
  TvqrPage::SetLeft(Value);
  FForm->SetLeft(RoundInt(Left()));
}

void TvqrDialogPage::SetTop(Extended Value) {
  TvqrPage::SetTop(Value);
  FForm->SetTop(RoundInt(Top()));
}

void TvqrDialogPage::SetWidth(Extended Value) {
  TvqrPage::SetWidth(Value);
  // A stored client width decides the window's size while loading.
  if (IsLoading() && FClientWidth != 0) return;
  FForm->SetWidth(RoundInt(Width()));
}

void TvqrDialogPage::SetHeight(Extended Value) {
  TvqrPage::SetHeight(Value);
  if (IsLoading() && FClientHeight != 0) return;
  FForm->SetHeight(RoundInt(Height()));
}

void TvqrDialogPage::FontChanged() {
  TvqrPage::FontChanged();
  FForm->Font()->Assign(Font());
}

void TvqrDialogPage::Relay(const TvqrNotifyEvent& Event, TObject* Sender) {
  if (!Trim(Event).empty() && Report()) vqrDoNotifyEvent(Report(), Sender, Event, true);
}

void TvqrDialogPage::Initialize() {
  if (FForm->Visible()) FForm->Hide();
  FForm->TForm::SetPosition(FPosition);
  FForm->SetWindowState(FWindowState);
  FForm->SetOnActivate([this](TObject* Sender) {
    UpdateBounds();
    Relay(OnActivate, Sender);
    for (TvqrComponent* C : AllObjects())
      if (auto* D = dynamic_cast<TvqrDialogControl*>(C); D && D->OnActivate) D->OnActivate(this);
  });
  FForm->SetOnClick([this](TObject* Sender) { Relay(OnClick, Sender); });
  FForm->SetOnDeactivate([this](TObject* Sender) { Relay(OnDeactivate, Sender); });
  FForm->SetOnHide([this](TObject* Sender) { Relay(OnHide, Sender); });
  FForm->SetOnResize([this](TObject* Sender) { Relay(OnResize, Sender); });
  FForm->SetOnShow([this](TObject* Sender) { Relay(OnShow, Sender); });
  FForm->SetOnCloseQuery([this](TObject* Sender, bool& CanClose) {
    if (Trim(OnCloseQuery).empty() || !Report()) return;
    Variant Params = VarArrayOf({Variant(static_cast<int>(reinterpret_cast<std::intptr_t>(Sender) & 0x7FFFFFFF)),
                                 Variant(CanClose)});
    vqrDoParamEvent(Report(), OnCloseQuery, Params, true);
    CanClose = Params[1].AsBoolean();
  });
  auto KeyRelay = [this](const String& Event) {
    return [this, Event](TObject* Sender, Word& Key, TShiftState Shift) {
      if (Trim(Event).empty() || !Report()) return;
      Variant Params = VarArrayOf({Variant(static_cast<int>(reinterpret_cast<std::intptr_t>(Sender) & 0x7FFFFFFF)),
                                   Variant(static_cast<int>(Key)), Variant(static_cast<int>(Shift.Bits() & 0xFF))});
      vqrDoParamEvent(Report(), Event, Params, true);
      Key = static_cast<Word>(Params[1].AsInteger());
    };
  };
  FForm->SetOnKeyDown(KeyRelay(OnKeyDown));
  FForm->SetOnKeyUp(KeyRelay(OnKeyUp));
  FForm->SetOnKeyPress([this](TObject* Sender, Char& Key) {
    if (Trim(OnKeyPress).empty() || !Report()) return;
    Variant Params = VarArrayOf({Variant(static_cast<int>(reinterpret_cast<std::intptr_t>(Sender) & 0x7FFFFFFF)),
                                 Variant(String(1, Key))});
    vqrDoParamEvent(Report(), OnKeyPress, Params, true);
    const String K = Params[1].AsString();
    Key = K.empty() ? Char(0) : K[0];
  });
  FForm->SetOnMouseMove([this](TObject*, TShiftState, int, int) {
    if (Report()) Report()->SetProgressMessage(String(), true);
  });
}

TModalResult TvqrDialogPage::ShowModal() {
  Initialize();
  FForm->SetBorderStyle(FBorderStyle);
  FForm->SetFormStyle(fsNormal);
  FForm->SetOnModify([this](TObject*) { UpdateBounds(); });
  struct TAfter {
    TvqrDialogForm* F;
    ~TAfter() { F->SetFormStyle(fsStayOnTop); }
  } After{FForm.get()};
  return FForm->ShowModal();
}

void TvqrDialogPage::UpdateBounds() {
  SetLeftDirect(FForm->Left());
  TvqrPage::SetTop(FForm->Top());
  SetWidthDirect(FForm->Width());
  SetHeightDirect(FForm->Height());
}

bool vqrRunDialogPages(TvqrReport* Report) {
  for (int I = 0; I < Report->PagesCount(); ++I) {
    auto* Page = dynamic_cast<TvqrDialogPage*>(Report->Pages(I));
    if (!Page || !Page->Visible()) continue;
    Page->DialogForm()->SetBorderStyle(Page->BorderStyle());
    if (Page->DialogForm()->ControlCount() == 0) continue;
    if (Page->ShowModal() == mrCancel) return false;
  }
  return true;
}
