// vqrPreviewForm.cpp - the preview window.
#include "report/output/vqrPreviewForm.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Buttons.h"
#include "platform/graphics/ImageList.h"
#include "platform/controls/Menus.h"
#include "platform/controls/StdCtrls.h"
#include "platform/controls/WinApi.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClassBands.h"
#include "report/core/vqrDsgnIntf.h"
#include "report/core/vqrRes.h"
#include "report/core/vqrUtils.h"
#include "report/output/vqrCtrls.h"
#include "report/output/vqrDock.h"
#include "report/output/vqrPreview.h"

REGISTER_CLASS(TvqrPreviewForm) {}

namespace {

constexpr unsigned WM_SHOWZOOM = WM_USER + 1;

String Res(const char16_t* Key) { return StringTable()->Get(Key); }

}  // namespace

TvqrPreviewForm::TvqrPreviewForm(TComponent* AOwner) : TForm(AOwner) {
  SetCaption(Res(u"100"));
  SetBounds(0, 0, 800, 600);
  TForm::SetPosition(poScreenCenter);
  SetKeyPreview(true);
  Font()->SetName(u"Tahoma");
  Font()->SetHeight(-11);

  ToolBar = new TToolBar(this);
  ToolBar->SetParent(this);
  ToolBar->SetAlign(alTop);
  ToolBar->SetFlat(true);
  ToolBar->SetHeight(29);
  ToolBar->SetImages(StringTable()->PreviewButtonImages());
  ExportPopup = new TPopupMenu(this);
  HiddenMenu = new TPopupMenu(this);
  auto* ShowTemplate = new TMenuItem(HiddenMenu);
  ShowTemplate->SetCaption(u"Show template");
  HiddenMenu->Items()->Add(ShowTemplate);
  RightMenu = new TPopupMenu(this);
  auto NewItem = [this](const String& Caption, int Image, TNotifyEvent Click) {
    auto* Item = new TMenuItem(RightMenu);
    Item->SetCaption(Caption);
    Item->SetImageIndex(Image);
    Item->SetOnClick(std::move(Click));
    RightMenu->Items()->Add(Item);
    return Item;
  };
  CollapseMI = NewItem(Res(u"601"), 13, [this](TObject*) { DrillCommand(false); });
  ExpandMI = NewItem(Res(u"600"), 14, [this](TObject*) { DrillCommand(true); });
  N1 = NewItem(u"-", -1, nullptr);

  PrintB = AddButton(2, u"101", u"102", [this](TObject*) { FPreview->Print(); SetEnabled(true); });
  OpenB = AddButton(0, u"103", u"104", [this](TObject*) {
    FPreview->LoadFromFile();
    if (Report()) SetCaption(Report()->ReportOptions()->Name().empty() ? Res(u"100") : Report()->ReportOptions()->Name());
  });
  SaveB = AddButton(1, u"105", u"106", [this](TObject*) { FPreview->SaveToFile(); });
  ExportB = AddButton(3, u"107", u"108", nullptr);
  ExportB->SetStyle(tbsDropDown);
  ExportB->SetDropdownMenu(ExportPopup);
  PdfB = AddButton(24, nullptr, u"151", [this](TObject*) { if (FPDFExport) FPreview->Export(FPDFExport); });
  PdfB->SetCaption(u"PdfB");
  EmailB = AddButton(23, nullptr, u"152", [this](TObject*) { if (FEmailExport) FPreview->Export(FEmailExport); });
  EmailB->SetCaption(u"EmailB");
  FindB = AddButton(4, u"109", u"110", [this](TObject*) { FPreview->Find(); });
  Sep1 = AddSeparator();
  Sep1->SetWidth(8);
  ZoomPlusB = AddButton(15, u"124", u"125", [this](TObject*) { FPreview->SetZoom(FPreview->Zoom() + 0.25); });
  Sep3 = new TvqrTBPanel(this);
  Sep3->SetParent(ToolBar);
  Sep3->SetAlign(alNone);
  Sep3->SetBounds(1000, 0, 56, 23);
  ZoomCB = new TvqrComboBox(this);
  ZoomCB->SetParent(Sep3);
  ZoomCB->SetBounds(4, 2, 49, 19);
  ZoomCB->SetListWidth(100);
  ZoomCB->SetHint(Res(u"119"));
  for (const char16_t* Z : {u"25%", u"50%", u"75%", u"100%", u"150%", u"200%"}) ZoomCB->Items()->Add(Z);
  ZoomCB->Items()->Add(Res(u"zmPageWidth"));
  ZoomCB->Items()->Add(Res(u"zmWholePage"));
  ZoomCB->SetText(u"100%");
  ZoomCB->SetOnSelect([this](TObject*) { ZoomCBClick(); });
  ZoomMinusB = AddButton(16, u"126", u"127", [this](TObject*) { FPreview->SetZoom(FPreview->Zoom() - 0.25); });
  FullScreenBtn = AddButton(22, nullptr, u"150", [this](TObject*) { SwitchToFullScreen(); });
  FullScreenBtn->SetCaption(u"F");
  Sep2 = AddSeparator();
  OutlineB = AddButton(12, u"128", u"129", [this](TObject*) { FPreview->SetOutlineVisible(OutlineB->Down()); });
  ThumbB = AddButton(5, u"130", u"131", [this](TObject*) { FPreview->SetThumbnailVisible(ThumbB->Down()); });
  for (TToolButton* B : {OutlineB, ThumbB}) {
    B->SetStyle(tbsCheck);
    B->SetGrouped(true);
    B->SetAllowAllUp(true);
  }
  PageSettingsB = AddButton(7, u"120", u"121", [this](TObject*) { FPreview->PageSetupDlg(); });
  DesignerB = AddButton(21, u"132", u"133", [this](TObject*) { FPreview->Edit(); });
  Sep5 = AddSeparator();
  FirstB = AddButton(8, u"134", u"135", [this](TObject*) { FPreview->First(); });
  PriorB = AddButton(9, u"136", u"137", [this](TObject*) { FPreview->Prior(); });
  Sep4 = new TvqrTBPanel(this);
  Sep4->SetParent(ToolBar);
  Sep4->SetAlign(alNone);
  Sep4->SetBounds(2000, 0, 47, 23);
  PageE = new TEdit(this);
  PageE->SetParent(Sep4);
  PageE->SetBorderStyle(bsNone);
  PageE->SetBounds(4, 4, 37, 15);
  PageE->SetText(u"1");
  PageE->SetHint(Res(u"142"));
  PageE->SetOnKeyPress([](TObject*, Char& Key) {
    if (Key >= 32 && (Key < u'0' || Key > u'9')) Key = 0;
  });
  NextB = AddButton(10, u"138", u"139", [this](TObject*) { FPreview->Next(); });
  LastB = AddButton(11, u"140", u"141", [this](TObject*) { FPreview->Last(); });
  Spacer = new TvqrTBPanel(this);
  Spacer->SetParent(ToolBar);
  Spacer->SetAlign(alNone);
  Spacer->SetBounds(3000, 0, 35, 23);
  CancelB = new TSpeedButton(this);
  CancelB->SetParent(ToolBar);
  CancelB->SetBounds(3100, 0, 68, 23);
  CancelB->SetCaption(Res(u"clClose"));
  CancelB->SetOnClick([this](TObject*) {
    if (FPreview->Running()) FPreview->Cancel();
    else TForm::Close();
  });

  StatusBar = new TStatusBar(this);
  StatusBar->SetParent(this);
  StatusBar->SetAlign(alBottom);
  StatusBar->AddPanel()->SetWidth(200);
  StatusBar->AddPanel()->SetWidth(50);
  StatusBar->AddPanel()->SetWidth(50);

  FPreview = new TvqrPreview(this);
  FPreview->SetParent(this);
  FPreview->SetAlign(alClient);
  FPreview->OnPageChanged = [this](TObject*, int N) { PreviewPageChanged(N); };
  FPreview->SetOnDblClick([this](TObject*) {
    if (FFullScreen) SwitchToFullScreen();
  });
  SetActiveControl(FPreview);
  SetOnCloseQuery([this](TObject*, bool& CanClose) { CanClose = !FPreview->Running(); });
  SetOnClose([this](TObject*, TCloseAction& Action) {
    if (FreeOnClose) Action = caFree;
    if (TvqrReport* R = Report()) {
      if (R->OnClosePreview()) R->OnClosePreview()(R);
      if (FreeOnClose && FLink && R->PreviewForm() == FLink.get()) R->PreviewClosed();
    }
  });
}

TvqrPreviewForm::~TvqrPreviewForm() {
  if (TvqrReport* R = Report()) {
    if (FLink && R->PreviewForm() == FLink.get()) R->PreviewClosed();
    if (R->Preview() == FPreview) R->SetPreview(nullptr);
  }
}

TToolButton* TvqrPreviewForm::AddButton(int Image, const char16_t* Caption, const char16_t* Hint,
                                        TNotifyEvent Click) {
  auto* B = new TToolButton(this);
  B->SetParent(ToolBar);
  B->SetLeft(ToolBar->ButtonCount() * 30 + 100 * ToolBar->ControlCount());
  B->SetImageIndex(Image);
  if (Caption) B->SetCaption(Res(Caption));
  B->SetHint(Res(Hint));
  B->SetShowHint(true);
  B->SetOnClick(std::move(Click));
  return B;
}

TToolButton* TvqrPreviewForm::AddSeparator() {
  TToolButton* B = AddButton(-1, nullptr, u"", nullptr);
  B->SetStyle(tbsSeparator);
  B->SetHint(String());
  return B;
}

TvqrCustomPreview* TvqrPreviewForm::Preview() { return FPreview; }

TvqrReport* TvqrPreviewForm::Report() const { return FPreview ? FPreview->Report : nullptr; }

void TvqrPreviewForm::SetDesignedPosition() { TForm::SetPosition(poDesigned); }

void TvqrPreviewForm::ShowModeless(bool AppWindow) {
  (void)AppWindow;
  FreeOnClose = true;
  Show();
}

void TvqrPreviewForm::Init() {
  FPreview->Init();
  TvqrReport* R = Report();
  if (!R) return;
  TvqrPreviewOptions* O = R->PreviewOptions();
  if (O->Maximized()) SetWindowState(wsMaximized);
  FPreview->SetZoom(O->Zoom());
  FPreview->SetZoomMode(O->ZoomMode());
  DesignerB->SetEnabled(O->AllowEdit());
  FPreview->Workspace->RTLLanguage = O->RTLPreview();
  const TvqrPreviewButtons B = O->Buttons();
  PrintB->SetVisible(B.Contains(pbPrint));
  OpenB->SetVisible(B.Contains(pbLoad));
  SaveB->SetVisible(B.Contains(pbSave));
  ExportB->SetVisible(B.Contains(pbExport));
  PdfB->SetVisible(false);
  EmailB->SetVisible(false);
  FindB->SetVisible(B.Contains(pbFind));
  for (TControl* C : std::initializer_list<TControl*>{ZoomPlusB, Sep3, ZoomMinusB, Sep1}) C->SetVisible(B.Contains(pbZoom));
  FullScreenBtn->SetVisible(B.Contains(pbZoom) && !B.Contains(pbNoFullScreen));
  OutlineB->SetVisible(B.Contains(pbOutline));
  ThumbB->SetVisible(B.Contains(pbOutline));
  PageSettingsB->SetVisible(B.Contains(pbPageSetup));
  DesignerB->SetVisible(B.Contains(pbEdit));
  Sep2->SetVisible(PageSettingsB->Visible() || DesignerB->Visible());
  for (TControl* C : std::initializer_list<TControl*>{FirstB, PriorB, Sep4, NextB, LastB, Sep5})
    C->SetVisible(B.Contains(pbNavigator));
  CancelB->SetVisible(!B.Contains(pbNoClose));
  ToolBar->SetShowCaptions(O->ShowCaptions());
  BuildExportMenu();
  if (!R->ReportOptions()->Name().empty()) SetCaption(R->ReportOptions()->Name());
  BuildRightMenu();
  UpdateButtonStates();
  SetPopupMenu(RightMenu);
}

void TvqrPreviewForm::BuildExportMenu() {
  TvqrExportFilterCollection* Registry = ExportFilterRegistry();
  if (Registry->Count() == 0) ExportB->SetVisible(false);
  const TvqrPreviewButtons B = Report()->PreviewOptions()->Buttons();
  ExportPopup->Items()->Clear();
  for (int I = 0; I < Registry->Count(); ++I) {
    TvqrCustomExportFilter* Filter = Registry->Items(I)->Filter;
    if (!Filter) continue;
    auto* Item = new TMenuItem(ExportPopup);
    Item->SetCaption(Filter->GetDescription() + u"...");
    Item->SetTag(I);
    Item->SetOnClick([this, Item](TObject*) { ExportItemClick(Item); });
    ExportPopup->Items()->Add(Item);
    if (Filter->ClassName() == u"TvqrPDFExport") {
      FPDFExport = Filter;
      if (B.Contains(pbExportQuick)) PdfB->SetVisible(true);
    }
    if (!B.Contains(pbNoEmail) && Filter->ClassName() == u"TvqrMailExport") {
      FEmailExport = Filter;
      if (B.Contains(pbExportQuick)) EmailB->SetVisible(true);
    }
  }
}

void TvqrPreviewForm::BuildRightMenu() {
  RightMenu->SetImages(ToolBar->Images());
  FTwins.clear();
  int Separators = 0;
  for (int I = 0; I < ToolBar->ButtonCount(); ++I) {
    TToolButton* B = ToolBar->Buttons(I);
    if (B->Style() == tbsSeparator) {
      if (++Separators == 2) break;
      auto* Sep = new TMenuItem(RightMenu);
      Sep->SetCaption(u"-");
      RightMenu->Items()->Add(Sep);
      continue;
    }
    if (B->Style() == tbsCheck || !B->Visible() || B->Hint().empty()) continue;
    auto* Item = new TMenuItem(RightMenu);
    Item->SetCaption(B->Hint());
    Item->SetImageIndex(B->ImageIndex());
    Item->SetOnClick([B](TObject*) { B->Click(); });
    RightMenu->Items()->Add(Item);
    FTwins.emplace_back(B, Item);
    if (TPopupMenu* Drop = B->DropdownMenu())
      for (int K = 0; K < Drop->Items()->Count(); ++K) {
        TMenuItem* Source = Drop->Items()->Items(K);
        auto* Sub = new TMenuItem(RightMenu);
        Sub->SetCaption(Source->Caption());
        Sub->SetTag(Source->Tag());
        Sub->SetOnClick([this, Source](TObject*) { ExportItemClick(Source); });
        Item->Add(Sub);
      }
  }
}

void TvqrPreviewForm::UpdateButtonStates() {
  const bool Idle = !FPreview->Running() && FPreview->PageCount() > 0;
  for (TToolButton* B : {PrintB, OpenB, SaveB, ExportB, PdfB, EmailB, FindB, PageSettingsB}) {
    B->SetEnabled(Idle);
    B->SetDown(false);
  }
  for (auto& [B, Item] : FTwins) Item->SetEnabled(B->Enabled());
  TvqrReport* R = Report();
  DesignerB->SetEnabled(!FPreview->Running() && R && R->PreviewOptions()->AllowEdit());
  bool Drill = false;
  if (R)
    for (int I = 0; I < R->PagesCount(); ++I)
      if (TvqrPage* P = R->Pages(I))
        for (TvqrComponent* C : P->AllObjects())
          if (auto* G = dynamic_cast<TvqrGroupHeader*>(C); G && G->DrillDown()) Drill = true;
  for (TMenuItem* M : {ExpandMI, CollapseMI, N1}) M->SetVisible(!FPreview->Running() && Drill);
}

void TvqrPreviewForm::DrillCommand(bool Expand) {
  TvqrReport* R = Report();
  if (!R) return;
  FPreview->Lock();
  for (int I = 0; I < R->PagesCount(); ++I)
    if (TvqrPage* P = R->Pages(I))
      for (TvqrComponent* C : P->AllObjects())
        if (auto* G = dynamic_cast<TvqrGroupHeader*>(C); G && G->DrillDown()) G->SetExpandDrillDown(Expand);
  R->DrillState()->Clear();
  FPreview->RefreshReport();
  if (!Expand) FPreview->SetPosition(0, 0);
}

void TvqrPreviewForm::SetMessageText(const String& Value, bool IsHint) {
  if (!IsHint) StatusBar->Panel(1)->SetText(Value);
  else if (!(Value.empty() && StatusBar->Panel(2)->Text().empty())) StatusBar->Panel(2)->SetText(Value);
  Application->ProcessMessages();
}

void TvqrPreviewForm::SwitchToFullScreen() {
  if (!FFullScreen) {
    StatusBar->SetVisible(false);
    ToolBar->SetVisible(false);
    FOldBS = BorderStyle();
    FOldState = WindowState();
    SetBorderStyle(bsNone);
    SetWindowState(wsMaximized);
    FFullScreen = true;
  } else {
    SetWindowState(FOldState);
    SetBorderStyle(FOldBS);
    StatusBar->SetVisible(true);
    ToolBar->SetVisible(true);
    FFullScreen = false;
  }
}

void TvqrPreviewForm::ShowZoomPercent() {
  ZoomCB->SetText(IntToStr(static_cast<Int64>(Round(FPreview->Zoom() * 100))) + u"%");
}

void TvqrPreviewForm::PreviewPageChanged(int APageNo) {
  TvqrReport* R = Report();
  const bool FirstPass = FPreview->Running() && R && R->Engine() && !R->Engine()->FinalPass;
  if (FirstPass)
    StatusBar->Panel(0)->SetText(Res(u"clFirstPass") + u" " + IntToStr(FPreview->PageCount()));
  else
    StatusBar->Panel(0)->SetText(Format(Res(u"clPageOf"), {APageNo, FPreview->PageCount()}));
  PageE->SetText(IntToStr(APageNo));
}

void TvqrPreviewForm::ZoomCBClick() {
  if (FPreview->CanFocus()) FPreview->SetFocus();
  const int Index = ZoomCB->ItemIndex();
  const bool Typed = ZoomCB->Text() != (Index >= 0 ? ZoomCB->Items()->Strings(Index) : String());
  if (!Typed && Index == 6) FPreview->SetZoomMode(zmPageWidth);
  else if (!Typed && Index == 7) FPreview->SetZoomMode(zmWholePage);
  else {
    String Text = ZoomCB->Text();
    if (const size_t P = Text.find(u'%'); P != String::npos) Text[P] = u' ';
    Text.erase(std::remove(Text.begin(), Text.end(), u' '), Text.end());
    if (!Text.empty()) FPreview->SetZoom(ParseFloatText(Text) / 100);
  }
  if (HandleAllocated()) PostMessage(Handle(), WM_SHOWZOOM, 0, 0);
  else ShowZoomPercent();
}

void TvqrPreviewForm::PageEEnter() {
  FPreview->SetPageNo(StrToInt(PageE->Text()));
  if (FPreview->CanFocus()) FPreview->SetFocus();
}

void TvqrPreviewForm::ExportItemClick(TMenuItem* Item) {
  TvqrExportFilterCollection* Registry = ExportFilterRegistry();
  const int I = Item->Tag();
  if (I >= 0 && I < Registry->Count()) FPreview->Export(Registry->Items(I)->Filter);
  SetEnabled(true);
}

void TvqrPreviewForm::Resize() {
  TForm::Resize();
  if (!StatusBar) return;
  const int W = static_cast<int>(Round((ClientWidth() - StatusBar->Panel(0)->Width()) / 2.0));
  StatusBar->Panel(1)->SetWidth(W);
  StatusBar->Panel(2)->SetWidth(W);
}

void TvqrPreviewForm::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_ESCAPE) {
    CancelB->Click();
    Key = 0;
  } else if (Key == VK_F11) {
    SwitchToFullScreen();
    Key = 0;
  } else if (Key == VK_F1) {
    StringTable()->Help(this);
    Key = 0;
  } else if (Key == VK_RETURN && ActiveControl() == ZoomCB) {
    ZoomCBClick();
    Key = 0;
  } else if (Key == VK_RETURN && ActiveControl() == PageE) {
    PageEEnter();
    Key = 0;
  }
  TForm::KeyDown(Key, Shift);
}

bool TvqrPreviewForm::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  TForm::DoMouseWheel(Shift, WheelDelta, MousePos);
  FPreview->MouseWheelScroll(WheelDelta, false, Shift.Contains(ssCtrl));
  return false;
}

void TvqrPreviewForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SHOWZOOM: ShowZoomPercent(); return;
    case WM_ACTIVATEAPP: {
      // Coming back to a minimised program brings it up with this window on top.
      TCustomForm* Main = Application->MainForm();
      if (Main && Main != this && Main->WindowState() == wsMinimized) {
        Application->Restore();
        if (Visible()) BringToFront();
      }
      break;
    }
    case WM_SYSCOMMAND: {
      // A modal preview cannot be minimised alone: the whole program is.
      TvqrReport* R = Report();
      if ((Message.WParam & 0xFFF0) == SC_MINIMIZE && R && R->PreviewOptions()->Modal() &&
          !R->PreviewOptions()->MDIChild()) {
        Application->Minimize();
        return;
      }
      break;
    }
    default: break;
  }
  TForm::Dispatch(Message);
}

namespace {

// What the report holds of its preview window. Shown modally, the report frees the link and the
// link the window; shown modeless, the window frees itself on close and the link with it.
class TvqrPreviewWindowLink : public IvqrPreviewWindow {
public:
  explicit TvqrPreviewWindowLink(TvqrPreviewForm* Form) : FForm(Form) {}
  ~TvqrPreviewWindowLink() override {
    if (FOwnsForm) delete FForm;
  }
  TvqrCustomPreview* Preview() override { return FForm->Preview(); }
  void Init() override { FForm->Init(); }
  void SetDesignedPosition() override { FForm->SetDesignedPosition(); }
  void ShowModal() override { FForm->ShowModal(); }
  void ShowModeless(bool AppWindow) override {
    FOwnsForm = false;
    FForm->FLink.reset(this);
    FForm->ShowModeless(AppWindow);
  }
  void Close() override { FForm->Close(); }
  void SetMessageText(const String& Text, bool IsHint) override { FForm->SetMessageText(Text, IsHint); }

private:
  TvqrPreviewForm* FForm;
  bool FOwnsForm = true;
};

}  // namespace

IvqrPreviewWindow* vqrNewPreviewWindow(TvqrReport*) {
  return new TvqrPreviewWindowLink(new TvqrPreviewForm(Application));
}
