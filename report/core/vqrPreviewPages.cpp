// vqrPreviewPages.cpp - the prepared-page store during a run: source pages and the
// dictionary, pages and object items, passes, cut and paste for keep blocks, the outline,
// anchors and logical page numbers. Rebuilding and files are in vqrPreviewPagesFile.cpp,
// drawing and export in vqrPreviewPagesDraw.cpp.
#include "report/core/vqrPreviewPages.h"

#include <cmath>

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrUtils.h"
#include "report/core/vqrXMLSerializer.h"

namespace {

void EnsureOutlineFactory() {
  static const bool Done = [] {
    TvqrCustomPreviewPages::SetOutlineFactory(
        [](TvqrCustomPreviewPages* P) -> TvqrCustomOutline* { return new TvqrOutline(P); });
    return true;
  }();
  (void)Done;
}

TvqrReport* EnsureOutline(TvqrReport* Report) {
  EnsureOutlineFactory();
  return Report;
}

// An attribute read as a float, Default when absent.
Extended FloatProp(TvqrXMLItem* Item, const String& Name, Extended Default) {
  String V = Item->Prop(Name);
  return V.empty() ? Default : ParseFloatText(V);
}

int IntProp(TvqrXMLItem* Item, const String& Name) { return StrToInt(Item->Prop(Name)); }

TvqrComponent* NewLike(TvqrComponent* Template, TComponent* Owner) {
  auto* Obj = dynamic_cast<TvqrComponent*>(Template->ClassType()->CreateComponent(Owner));
  if (!Obj) throw EInvalidCast(u"Invalid class typecast");
  return Obj;
}

}  // namespace

// =============================================================================================
// Dictionary

bool TvqrDictionary::TLess::operator()(const String& A, const String& B) const {
  return CompareText(A, B) < 0;
}

void TvqrDictionary::Add(const String& Name, const String& SourceName, TvqrComponent* Obj) {
  FSourceNames.push_back({SourceName, Obj, nullptr});
  FNames[Name] = static_cast<int>(FSourceNames.size()) - 1;
}

String TvqrDictionary::CreateUniqueName(const String& Base) const {
  int I = 10000;
  while (I > 1 && !FNames.count(Base + IntToStr(I))) I /= 2;
  while (FNames.count(Base + IntToStr(I))) ++I;
  return Base + IntToStr(I);
}

String TvqrDictionary::AddUnique(const String& Base, const String& SourceName,
                                 TvqrComponent* Obj) {
  String Name = CreateUniqueName(Base);
  Add(Name, SourceName, Obj);
  return Name;
}

TvqrComponent* TvqrDictionary::GetObject(const String& Name) const {
  auto It = FNames.find(Name);
  return It == FNames.end() ? nullptr : FSourceNames[static_cast<size_t>(It->second)].Obj;
}

TvqrDictionary::TEntry* TvqrDictionary::FindEntry(const String& Name) {
  auto It = FNames.find(Name);
  return It == FNames.end() ? nullptr : &FSourceNames[static_cast<size_t>(It->second)];
}

String TvqrDictionary::GetSourceName(const String& Name) const {
  auto It = FNames.find(Name);
  return It == FNames.end() ? String() : FSourceNames[static_cast<size_t>(It->second)].SourceName;
}

// =============================================================================================
// Outline

TvqrOutline::TvqrOutline(TvqrCustomPreviewPages* APreviewPages)
    : TvqrCustomOutline(APreviewPages) {}

TvqrXMLItem* TvqrOutline::Root() const {
  auto* Store = static_cast<TvqrPreviewPages*>(PreviewPages());
  return Store->XMLDocument()->Root()->FindItem(u"outline");
}

int TvqrOutline::Count() const { return CurItem ? CurItem->Count() : 0; }

void TvqrOutline::AddItem(const String& Text, int Top) {
  if (!CurItem) CurItem = Root();
  TvqrXMLItem* Item = CurItem->Add();
  Item->SetName(u"item");
  Item->SetText(u"text=\"" + EncodeXMLValue(Text) + u"\" page=\"" +
                IntToStr(PreviewPages()->CurPage) + u"\" top=\"" + IntToStr(Top) + u"\"");
  CurItem = Item;
}

void TvqrOutline::LevelDown(int Index) {
  if (CurItem && Index >= 0 && Index < CurItem->Count()) CurItem = CurItem->Items(Index);
}

void TvqrOutline::LevelRoot() { CurItem = Root(); }

void TvqrOutline::LevelUp() {
  if (CurItem && CurItem != Root() && CurItem->Parent()) CurItem = CurItem->Parent();
}

void TvqrOutline::GetItem(int Index, String& Text, int& Page, int& Top) {
  if (!CurItem || Index < 0 || Index >= CurItem->Count()) return;
  TvqrXMLItem* Item = CurItem->Items(Index);
  Text = Item->Prop(u"text");
  if (Item->PropExists(u"page")) Page = IntProp(Item, u"page");
  if (Item->PropExists(u"top")) Top = IntProp(Item, u"top");
}

TvqrXMLItem* TvqrOutline::GetCurPosition() {
  return CurItem && CurItem->Count() > 0 ? CurItem->Items(CurItem->Count() - 1) : nullptr;
}

void TvqrOutline::ShiftItems(TvqrXMLItem* From, int NewTop) {
  if (!From || !From->Parent()) return;
  TvqrXMLItem* Parent = From->Parent();
  int Next = Parent->IndexOf(From) + 1;
  if (Next <= 0 || Next >= Parent->Count()) return;
  TvqrXMLItem* Sibling = Parent->Items(Next);
  int Correction = NewTop - IntProp(Sibling, u"top");
  std::vector<TvqrXMLItem*> Stack{Sibling};
  while (!Stack.empty()) {
    TvqrXMLItem* Item = Stack.back();
    Stack.pop_back();
    Item->SetProp(u"page", IntToStr(IntProp(Item, u"page") + 1));
    Item->SetProp(u"top", IntToStr(IntProp(Item, u"top") + Correction));
    for (int I = 0; I < Item->Count(); ++I) Stack.push_back(Item->Items(I));
  }
}

// =============================================================================================
// Store

TvqrPreviewPages::TvqrPreviewPages(TvqrReport* AReport)
    : TvqrCustomPreviewPages(EnsureOutline(AReport)),
      FXMLDoc(std::make_unique<TvqrXMLDocument>()),
      FDictionary(std::make_unique<TvqrDictionary>()),
      FPictureCache(std::make_unique<TvqrPictureCache>()) {
  FXMLDoc->Root()->SetName(u"preparedreport");
}

TvqrPreviewPages::~TvqrPreviewPages() {
  FPageCache.clear();
  FSourcePages.clear();
}

bool TvqrPreviewPages::FinalPass() const { return !Engine() || Engine()->FinalPass; }

TvqrXMLItem* TvqrPreviewPages::PagesItem() const {
  return FXMLDoc->Root()->FindItem(u"previewpages");
}

int TvqrPreviewPages::Count() const { return PagesItem()->Count(); }

TvqrXMLItem* TvqrPreviewPages::CurPageItem() const {
  TvqrXMLItem* Pages = PagesItem();
  if (CurPage < 0 || CurPage >= Pages->Count()) return nullptr;
  TvqrXMLItem* Item = Pages->Items(CurPage);
  if (!Item->Loaded()) FXMLDoc->LoadItem(Item);
  return Item;
}

void TvqrPreviewPages::Clear() {
  FPageCache.clear();
  FSourcePages.clear();
  FXMLDoc->Clear();
  FXMLDoc->Root()->SetName(u"preparedreport");
  FDictionary->Clear();
  FPictureCache->Clear();
  if (Outline()) Outline()->CurItem = nullptr;
  CurPage = -1;
  FMemoryEstimate = 0;
  FLogicalPageN = 0;
}

void TvqrPreviewPages::Initialize() {
  TvqrReport* R = Report();
  if (!R) return;
  FPictureCache->SetUseFileCache(R->PreviewOptions()->PictureCacheInFile());
  FPictureCache->SetTempDir(R->EngineOptions()->TempDir());
  FXMLDoc->SetTempDir(R->EngineOptions()->TempDir());
  R->InternalOnProgressStart(ptRunning);
}

void TvqrPreviewPages::Finish() {
  FPageCache.clear();
  for (auto& Page : FSourcePages) Page->SetOriginalComponent(nullptr);
  if (TvqrReport* R = Report()) R->InternalOnProgressStop(ptRunning);
}

void TvqrPreviewPages::AddSourcePage(TvqrReportPage* Page) {
  auto* Copy = dynamic_cast<TvqrReportPage*>(NewLike(Page, nullptr));
  FSourcePages.emplace_back(Copy);
  Copy->Assign(Page);
  Copy->SetName(Page->Name());
  Copy->SetOriginalComponent(Page);
  std::vector<std::pair<TvqrComponent*, TvqrComponent*>> Pairs;  // template, copy
  CopyTree(Page, Copy, Pairs);
  String PageName = u"Page" + IntToStr(static_cast<int>(FSourcePages.size()) - 1) + u".";
  TvqrXMLSerializer Serializer;
  for (auto [Template, CopyObj] : Pairs) {
    Template->SetOriginalComponent(CopyObj);
    CopyObj->SetOriginalComponent(Template);
    String Base = dynamic_cast<TvqrBand*>(CopyObj) ? String(u"b")
                                                   : LowerCase(CopyObj->BaseName().substr(0, 1));
    String Alias = FDictionary->AddUnique(Base, PageName + CopyObj->Name(), CopyObj);
    if (auto* Memo = dynamic_cast<TvqrCustomMemoView*>(CopyObj)) {
      Memo->SetDataSet(nullptr);
      Memo->SetDataField(String());
    }
    CopyObj->SetBaseName(CopyObj->vqComponentStyle().Contains(csDefaultDiff)
                             ? CopyObj->ClassName()
                             : Serializer.WriteComponentStr(CopyObj));
    CopyObj->SetAliasName(Alias);
    Template->SetAliasName(Alias);
  }
}

void TvqrPreviewPages::CopyTree(TvqrComponent* Template, TvqrComponent* CopyParent,
                                std::vector<std::pair<TvqrComponent*, TvqrComponent*>>& Pairs) {
  for (TvqrComponent* Child : Template->Objects()) {
    if (!Child->vqComponentStyle().Contains(csPreviewVisible)) continue;
    TvqrComponent* Copy = NewLike(Child, CopyParent);
    // A picture is copied without its graphic: prepared pages take pictures from the cache.
    auto* Picture = dynamic_cast<TvqrPictureView*>(Child);
    bool Stored = Picture && Picture->IsPictureStored();
    if (Picture) Picture->SetIsPictureStored(false);
    Copy->Assign(Child);
    if (Picture) Picture->SetIsPictureStored(Stored);
    Copy->SetName(Child->Name());
    Pairs.push_back({Child, Copy});
    CopyTree(Child, Copy, Pairs);
  }
}

void TvqrPreviewPages::AddToSourcePage(TvqrComponent* Obj) {
  if (FSourcePages.empty()) return;
  TvqrReportPage* Page = FSourcePages.back().get();
  TvqrComponent* Copy = NewLike(Obj, Page);
  Copy->Assign(Obj);
  Copy->CreateUniqueName();
  String Base = LowerCase(Copy->BaseName().substr(0, 1));
  String Alias = FDictionary->AddUnique(
      Base, u"Page" + IntToStr(static_cast<int>(FSourcePages.size()) - 1) + u"." + Copy->Name(),
      Copy);
  TvqrXMLSerializer Serializer;
  Copy->SetBaseName(Copy->vqComponentStyle().Contains(csDefaultDiff)
                        ? Copy->ClassName()
                        : Serializer.WriteComponentStr(Copy));
  Obj->SetOriginalComponent(Copy);
  Obj->SetAliasName(Alias);
  Copy->SetAliasName(Alias);
}

void TvqrPreviewPages::UnloadPages() {
  TvqrReport* R = Report();
  if (!R || !R->EngineOptions()->UseFileCache()) return;
  if (FMemoryEstimate <= static_cast<Int64>(R->EngineOptions()->MaxMemSize()) * 1048576) return;
  TvqrXMLItem* Pages = PagesItem();
  for (int I = Pages->Count() - 2; I >= 0; --I) {
    TvqrXMLItem* Item = Pages->Items(I);
    if (!Item->Loaded()) break;
    if (Item->Unloadable()) FXMLDoc->UnloadItem(Item);
  }
  FMemoryEstimate = 0;
}

void TvqrPreviewPages::AddPage(TvqrReportPage* Page) {
  UnloadPages();
  ++CurPage;
  if (CurPage < Count() && AddPageAction != apAdd) return;
  int Source = -1;
  for (size_t I = 0; I < FSourcePages.size(); ++I)
    if (FSourcePages[I]->OriginalComponent() == Page) {
      Source = static_cast<int>(I);
      break;
    }
  TvqrXMLItem* Item = PagesItem()->Add();
  Item->SetName(u"page" + IntToStr(Source));
  Item->SetUnloadable(Count() > 2);
  if (TvqrReport* R = Report()) R->InternalOnProgress(ptRunning, CurPage + 1);
  AddPageAction = apWriteOver;
  CurPage = Count() - 1;
  IncLogicalPageNumber();
}

void TvqrPreviewPages::AddObjectItem(TvqrComponent* Obj, TvqrXMLItem* Parent) {
  if (!Obj->Visible() || !Obj->vqComponentStyle().Contains(csPreviewVisible)) return;
  TvqrXMLItem* Item = Parent->Add();
  if (TvqrComponent* Copy = Obj->OriginalComponent()) {
    Item->SetName(Obj->AliasName());
    if (!FinalPass())
      Item->SetText(Obj->DiffBaseAttributes(Copy));
    else if (Obj->vqComponentStyle().Contains(csDefaultDiff))
      Item->SetText(Obj->AllDiff(Copy));
    else
      Item->SetText(Obj->Diff(Copy));
  } else {
    Item->SetName(Obj->ClassName());
    Item->SetText(Obj->AllDiff(nullptr));
  }
  FMemoryEstimate += static_cast<Int64>(Item->Name().size() + Item->Text().size() + 68);
  for (TvqrComponent* Child : Obj->Objects()) AddObjectItem(Child, Item);
}

void TvqrPreviewPages::AddObject(TvqrComponent* Obj) {
  if (TvqrXMLItem* Page = CurPageItem()) AddObjectItem(Obj, Page);
}

int TvqrPreviewPages::GetCurPosition() {
  TvqrXMLItem* Page = CurPageItem();
  return Page ? Page->Count() : 0;
}

void TvqrPreviewPages::BeginPass() {
  FFirstPageIndex = Count() - 1;
  if (Count() > 0) {
    int Saved = CurPage;
    CurPage = FFirstPageIndex;
    FFirstObjectIndex = GetCurPosition();
    CurPage = Saved;
    FFirstOutlineIndex = FXMLDoc->Root()->FindItem(u"outline")->Count();
  }
  ResetLogicalPageNumber();
}

void TvqrPreviewPages::ClearFirstPassPages() {
  TvqrXMLItem* Root = FXMLDoc->Root();
  if (FFirstPageIndex == -1) {
    for (int I = 0; I < Root->Count(); ++I) {
      TvqrXMLItem* Item = Root->Items(I);
      if (!SameText(Item->Name(), u"anchors") && !SameText(Item->Name(), u"logicalpagenumbers"))
        Item->Clear();
    }
  } else {
    TvqrXMLItem* Pages = PagesItem();
    if (FFirstPageIndex < Pages->Count()) {
      TvqrXMLItem* First = Pages->Items(FFirstPageIndex);
      if (!First->Loaded()) FXMLDoc->LoadItem(First);
      while (First->Count() > FFirstObjectIndex) delete First->Items(First->Count() - 1);
    }
    while (Pages->Count() > FFirstPageIndex + 1) delete Pages->Items(Pages->Count() - 1);
    TvqrXMLItem* OutlineItem = Root->FindItem(u"outline");
    while (OutlineItem->Count() > FFirstOutlineIndex)
      delete OutlineItem->Items(OutlineItem->Count() - 1);
  }
  if (Outline()) Outline()->CurItem = nullptr;
  ResetLogicalPageNumber();
  CurPage = FFirstPageIndex;
  FMemoryEstimate = 0;
}

void TvqrPreviewPages::CutObjects(int APosition) {
  TvqrXMLItem* Page = CurPageItem();
  if (!Page) return;
  TvqrXMLItem* Cutted = FXMLDoc->Root()->FindItem(u"cutted");
  while (APosition >= 0 && APosition < Page->Count()) Cutted->AddItem(Page->Items(APosition));
}

void TvqrPreviewPages::PasteObjects(Extended X, Extended Y) {
  TvqrXMLItem* Root = FXMLDoc->Root();
  int Index = Root->Find(u"cutted");
  if (Index < 0) return;
  TvqrXMLItem* Cutted = Root->Items(Index);
  TvqrXMLItem* Page = CurPageItem();
  if (Cutted->Count() > 0 && Page) {
    Extended Dx = X - FloatProp(Cutted->Items(0), u"l", 0);
    Extended Dy = Y - FloatProp(Cutted->Items(0), u"t", 0);
    while (Cutted->Count() > 0) {
      TvqrXMLItem* Item = Cutted->Items(0);
      Item->SetProp(u"l", FloatToStr(static_cast<double>(FloatProp(Item, u"l", 0) + Dx)));
      Item->SetProp(u"t", FloatToStr(static_cast<double>(FloatProp(Item, u"t", 0) + Dy)));
      Page->AddItem(Item);
    }
  }
  delete Cutted;
}

bool TvqrPreviewPages::BandExists(TvqrBand* Band) {
  TvqrXMLItem* Page = CurPageItem();
  if (!Page) return false;
  for (int I = 0; I < Page->Count(); ++I) {
    TvqrComponent* Copy = FDictionary->GetObject(Page->Items(I)->Name());
    if (!Copy) continue;
    if (Copy->OriginalComponent() == Band) return true;
    if (dynamic_cast<TvqrPageFooter*>(Copy) && dynamic_cast<TvqrPageFooter*>(Band)) return true;
    if (dynamic_cast<TvqrColumnFooter*>(Copy) && dynamic_cast<TvqrColumnFooter*>(Band)) return true;
  }
  return false;
}

Extended TvqrPreviewPages::GetLastY(Extended ColumnPosition) {
  TvqrXMLItem* Page = CurPageItem();
  Extended Result = 0;
  if (!Page) return Result;
  for (int I = 0; I < Page->Count(); ++I) {
    TvqrXMLItem* Item = Page->Items(I);
    auto* Copy = dynamic_cast<TvqrBand*>(FDictionary->GetObject(Item->Name()));
    if (!Copy || dynamic_cast<TvqrPageFooter*>(Copy) || dynamic_cast<TvqrOverlay*>(Copy)) continue;
    Extended Left = FloatProp(Item, u"l", Copy->Left());
    bool Counts = ColumnPosition == 0 || std::abs(Left - ColumnPosition) < 0.001L ||
                  dynamic_cast<TvqrPageHeader*>(Copy) || dynamic_cast<TvqrReportTitle*>(Copy);
    if (!Counts) continue;
    Extended Bottom = FloatProp(Item, u"t", Copy->Top()) + FloatProp(Item, u"h", Copy->Height());
    if (Bottom > Result) Result = Bottom;
  }
  return Result;
}

void TvqrPreviewPages::UpdatePageDimensions(TvqrReportPage* Page, Extended Width,
                                            Extended Height) {
  for (auto& Source : FSourcePages) {
    if (Source->OriginalComponent() != Page) continue;
    Source->SetPaperWidth(Width / vq01cm);
    Source->SetPaperHeight(Height / vq01cm);
    Source->SetPaperSize(256);
    return;
  }
}

void TvqrPreviewPages::AddPicture(TvqrReportComponent* Picture) {
  auto* View = dynamic_cast<TvqrPictureView*>(Picture);
  if (!View) return;
  View->SetImageIndex(FPictureCache->AddPicture(View->Picture()->Graphic()));
}

// --- Anchors ---------------------------------------------------------------------------------

void TvqrPreviewPages::AddAnchor(const String& Text) {
  TvqrXMLItem* Item = FXMLDoc->Root()->FindItem(u"anchors")->Add();
  Item->SetName(u"item");
  Extended Y = Engine() ? Engine()->CurY : 0;
  Item->SetText(u"text=\"" + EncodeXMLValue(Text) + u"\" page=\"" + IntToStr(CurPage) +
                u"\" top=\"" + IntToStr(static_cast<int>(Round(Y))) + u"\"");
}

TvqrXMLItem* TvqrPreviewPages::FindAnchor(const String& Text) {
  TvqrXMLItem* Anchors = FXMLDoc->Root()->FindItem(u"anchors");
  for (int I = Anchors->Count() - 1; I >= 0; --I)
    if (AnsiSameText(Anchors->Items(I)->Prop(u"text"), Text)) return Anchors->Items(I);
  return nullptr;
}

int TvqrPreviewPages::GetAnchorPage(const String& Text) {
  TvqrXMLItem* Item = FindAnchor(Text);
  return Item ? IntProp(Item, u"page") + 1 : 1;
}

int TvqrPreviewPages::GetAnchorCurPosition() {
  return FXMLDoc->Root()->FindItem(u"anchors")->Count() - 1;
}

void TvqrPreviewPages::ShiftAnchors(int From, int NewTop) {
  TvqrXMLItem* Anchors = FXMLDoc->Root()->FindItem(u"anchors");
  if (From + 1 < 0 || From + 1 >= Anchors->Count()) return;
  int Correction = NewTop - IntProp(Anchors->Items(From + 1), u"top");
  for (int I = From + 1; I < Anchors->Count(); ++I) {
    TvqrXMLItem* Item = Anchors->Items(I);
    Item->SetProp(u"page", IntToStr(IntProp(Item, u"page") + 1));
    Item->SetProp(u"top", IntToStr(IntProp(Item, u"top") + Correction));
  }
}

// --- Logical page numbers --------------------------------------------------------------------

TvqrXMLItem* TvqrPreviewPages::LogicalPageItem(int Index) const {
  TvqrXMLItem* Numbers = FXMLDoc->Root()->FindItem(u"logicalpagenumbers");
  return Index >= 0 && Index < Numbers->Count() ? Numbers->Items(Index) : nullptr;
}

void TvqrPreviewPages::IncLogicalPageNumber() {
  if (Engine() && Engine()->DoublePass() && Engine()->FinalPass) return;
  ++FLogicalPageN;
  TvqrXMLItem* Item = FXMLDoc->Root()->FindItem(u"logicalpagenumbers")->Add();
  Item->SetName(u"page");
  Item->SetText(u"n=\"" + IntToStr(FLogicalPageN) + u"\"");
}

void TvqrPreviewPages::ResetLogicalPageNumber() {
  if (Engine() && Engine()->DoublePass() && Engine()->FinalPass) return;
  for (int I = CurPage; I > FFirstPageIndex; --I) {
    TvqrXMLItem* Item = LogicalPageItem(I);
    if (!Item) continue;
    Item->SetProp(u"t", IntToStr(FLogicalPageN));
    if (Item->Prop(u"n") == u"1") break;
  }
  FLogicalPageN = 0;
}

int TvqrPreviewPages::GetLogicalPageNo() {
  TvqrXMLItem* Item = LogicalPageItem(CurPage);
  return Item ? IntProp(Item, u"n") : CurPage - FirstPage + 1;
}

int TvqrPreviewPages::GetLogicalTotalPages() {
  TvqrXMLItem* Item = LogicalPageItem(CurPage);
  if (!Item) return (Engine() ? Engine()->TotalPages : 0) - FirstPage;
  return Item->PropExists(u"t") ? IntProp(Item, u"t") : 0;
}
