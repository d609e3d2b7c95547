// vqrPreviewPagesFile.cpp - the prepared-page store's pages and files: rebuilding a page from
// its source page and object items, the page cache, editing finished pages, and the
// prepared-report file (.vt3).
//
// A .vt3 file is outside input: every name and number in it is checked before it is used.
// A bad one raises an Exception ("Invalid file format" or the conversion error) and leaves
// the store empty or partly loaded, never pointing at objects that do not exist.
#include "report/core/vqrPreviewPages.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrCast.h"
#include "report/core/vqrPreviewPagesBase.h"
#include "report/core/vqrUtils.h"
#include "report/core/vqrXMLSerializer.h"

namespace {

// Object items nest like the objects; deeper nesting than this is not a prepared page.
constexpr int MaxObjectDepth = 64;

bool StartsText(const String& Prefix, const String& S) {
  return S.size() >= Prefix.size() && SameText(S.substr(0, Prefix.size()), Prefix);
}

[[noreturn]] void InvalidFile() { throw TvqrInvalidXMLException(u"Invalid file format"); }

TvqrReportPage* NewPageOfClass(const String& ClassName) {
  if (TClass Class = GetClass(ClassName); Class && Class->InheritsFrom(TvqrReportPage::ClassInfo()))
    if (auto* Page = dynamic_cast<TvqrReportPage*>(Class->CreateComponent(nullptr))) return Page;
  return new TvqrReportPage(nullptr);
}

bool IsPageElement(const String& Name) {
  TClass Class = GetClass(Name);
  return Class && Class->InheritsFrom(TvqrReportPage::ClassInfo());
}

}  // namespace

void TvqrPreviewPages::ClearPageCache() { FPageCache.clear(); }

// --- Rebuilding --------------------------------------------------------------------------------

void TvqrPreviewPages::RebuildObjects(TvqrXMLItem* Item, TvqrComponent* Parent,
                                      TvqrXMLSerializer& Serializer, int Depth) {
  if (Depth > MaxObjectDepth) InvalidFile();
  for (int I = 0; I < Item->Count(); ++I) {
    TvqrXMLItem* Child = Item->Items(I);
    TvqrDictionary::TEntry* Entry = FDictionary->FindEntry(Child->Name());
    TvqrComponent* Copy = Entry ? Entry->Obj : nullptr;
    TComponent* Made = nullptr;
    if (TvqrParsedBase* Base = Copy ? ParsedBase(*Entry, Serializer.OldFormat()) : nullptr) {
      Made = Base->Read(Parent, Child->Text(), Serializer);
    } else {
      String Text = Copy ? Copy->BaseName() : Child->Name();
      Text += u' ';
      Text += Child->Text();
      Made = Serializer.ReadComponentStr(Parent, Text, true);
    }
    auto* Obj = vqrAs<TvqrReportComponent>(Made);
    if (!Obj) {
      delete Made;
      InvalidFile();
    }
    if (Copy) Obj->SetName(Copy->Name());
    if (auto* Picture = vqrAs<TvqrPictureView>(Obj); Picture && Picture->Picture()->Graphic() == nullptr)
      LoadCachedPicture(Picture);
    Obj->SetParent(Parent);
    RebuildObjects(Child, Obj, Serializer, Depth + 1);
  }
}

TvqrParsedBase* TvqrPreviewPages::ParsedBase(TvqrDictionary::TEntry& Entry, bool OldFormat) {
  if (!Entry.Parsed || Entry.Parsed->OldFormat() != OldFormat)
    Entry.Parsed = std::make_shared<TvqrParsedBase>(Entry.Obj->BaseName(), OldFormat);
  return Entry.Parsed->Usable() ? Entry.Parsed.get() : nullptr;
}

void TvqrPreviewPages::LoadCachedPicture(TvqrPictureView* Picture) {
  std::string Bytes = FPictureCache->PictureBytes(Picture->ImageIndex());
  if (Bytes.empty()) {
    Picture->Picture()->SetGraphic(nullptr);
    return;
  }
  TMemoryStream Stream;
  Stream.WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
  Picture->LoadPictureFromStream(&Stream, true);
}

TvqrReportPage* TvqrPreviewPages::RebuildPage(TvqrXMLItem* Item) {
  TvqrXMLSerializer Serializer;
  Serializer.SetOldFormat(FXMLDoc->OldVersion());
  std::unique_ptr<TvqrReportPage> Page;
  if (IsPageElement(Item->Name())) {
    Page.reset(NewPageOfClass(Item->Name()));
    Serializer.SetOwner(Page.get());
    Serializer.ReadRootComponent(Page.get(), Item);
  } else {
    if (Item->Name().size() < 5 || !StartsText(u"page", Item->Name())) InvalidFile();
    int Index = StrToInt(Item->Name().substr(4, 5));
    if (Index < 0 || Index >= static_cast<int>(FSourcePages.size())) InvalidFile();
    TvqrReportPage* Source = FSourcePages[static_cast<size_t>(Index)].get();
    Page.reset(NewPageOfClass(Source->ClassName()));
    Page->Assign(Source);
    Page->SetName(Source->Name());
    Serializer.SetOwner(Page.get());
    RebuildObjects(Item, Page.get(), Serializer, 0);
  }
  Page->AlignChildren();
  return Page.release();
}

TvqrReportPage* TvqrPreviewPages::Page(int Index) {
  if (Count() == 0) return nullptr;
  if (Index < 0 || Index >= Count()) throw EListError(Format(u"List index out of bounds (%d)", {Index}));
  bool Running = Engine() && Engine()->Running;
  if (!Running) {
    for (auto It = FPageCache.begin(); It != FPageCache.end(); ++It)
      if (It->first == Index) {
        FPageCache.splice(FPageCache.begin(), FPageCache, It);
        return FPageCache.front().second.get();
      }
  }
  TvqrXMLItem* Item = PagesItem()->Items(Index);
  if (!Item->Loaded()) FXMLDoc->LoadItem(Item);
  std::unique_ptr<TvqrReportPage> Page(RebuildPage(Item));
  FPageCache.emplace_front(Index, std::move(Page));
  int Limit = Report() ? Report()->PreviewOptions()->PagesInCache() : 50;
  while (FPageCache.size() > 1 && static_cast<int>(FPageCache.size()) > Limit) {
    int Last = FPageCache.back().first;
    bool Swap = Report() && Report()->EngineOptions()->UseFileCache();
    if (Swap && Last < Count()) {
      TvqrXMLItem* LastItem = PagesItem()->Items(Last);
      if (LastItem->Unloadable() && LastItem->Loaded()) FXMLDoc->UnloadItem(LastItem);
    }
    FPageCache.pop_back();
  }
  return FPageCache.front().second.get();
}

TPoint TvqrPreviewPages::PageSize(int Index) {
  if (Index < 0 || Index >= Count()) return {};
  TvqrXMLItem* Item = PagesItem()->Items(Index);
  TvqrReportPage* Source = nullptr;
  if (IsPageElement(Item->Name())) {
    Source = Page(Index);
  } else if (Item->Name().size() > 4 && StartsText(u"page", Item->Name())) {
    int SourceIndex = StrToIntDef(Item->Name().substr(4, 5), -1);
    if (SourceIndex >= 0 && SourceIndex < static_cast<int>(FSourcePages.size()))
      Source = FSourcePages[static_cast<size_t>(SourceIndex)].get();
  }
  if (!Source) return {};
  return {static_cast<int>(Round(Source->Width())), static_cast<int>(Round(Source->Height()))};
}

// --- Editing finished pages -------------------------------------------------------------------

void TvqrPreviewPages::AddEmptyPage(int Index) {
  if (Count() == 0 || Index < 0 || Index >= Count()) return;
  auto* Item = new TvqrXMLItem();
  Item->SetName(PagesItem()->Items(Index)->Name());
  PagesItem()->InsertItem(Index, Item);
  ClearPageCache();
}

void TvqrPreviewPages::DeletePage(int Index) {
  if (Count() <= 1 || Index < 0 || Index >= Count()) return;
  delete PagesItem()->Items(Index);
  ClearPageCache();
}

void TvqrPreviewPages::ModifyPage(int Index, TvqrReportPage* APage) {
  if (Index < 0 || Index >= Count() || !APage) return;
  TvqrXMLItem* Item = PagesItem()->Items(Index);
  if (!Item->Loaded()) FXMLDoc->LoadItem(Item);
  Item->Clear();
  Item->SetText(String());
  Item->SetUnloadable(false);
  TvqrXMLSerializer Serializer;
  Serializer.WriteRootComponent(APage, true, Item);
  ClearPageCache();
}

void TvqrPreviewPages::AddFrom(TvqrReport* AReport) {
  auto* Other = AReport ? dynamic_cast<TvqrPreviewPages*>(AReport->PreviewPages()) : nullptr;
  if (!Other || Other == this) return;
  int Base = Count();
  for (int I = 0; I < Other->Count(); ++I) {
    TvqrXMLItem* Item = PagesItem()->Add();
    TvqrXMLSerializer Serializer;
    Serializer.WriteRootComponent(Other->Page(I), true, Item);
  }
  TvqrXMLItem* Anchors = FXMLDoc->Root()->FindItem(u"anchors");
  TvqrXMLItem* OtherAnchors = Other->XMLDocument()->Root()->FindItem(u"anchors");
  for (int I = 0; I < OtherAnchors->Count(); ++I) {
    TvqrXMLItem* Item = Anchors->Add();
    Item->SetName(u"item");
    Item->SetText(OtherAnchors->Items(I)->Text());
    Item->SetProp(u"page", IntToStr(StrToInt(Item->Prop(u"page")) + Base));
  }
  TvqrCustomOutline* Mine = Outline();
  TvqrCustomOutline* Theirs = Other->Outline();
  if (!Mine || !Theirs) return;
  Mine->LevelRoot();
  Theirs->LevelRoot();
  int SavedPage = CurPage;
  struct Copier {
    TvqrPreviewPages* Self;
    int Base;
    void Copy(TvqrCustomOutline* Mine, TvqrCustomOutline* Theirs, int Depth) {
      if (Depth > MaxObjectDepth) InvalidFile();
      for (int I = 0; I < Theirs->Count(); ++I) {
        String Text;
        int Page = 0, Top = 0;
        Theirs->GetItem(I, Text, Page, Top);
        Self->CurPage = Base + Page;
        Mine->AddItem(Text, Top);
        Theirs->LevelDown(I);
        Copy(Mine, Theirs, Depth + 1);
        Theirs->LevelUp();
        Mine->LevelUp();
      }
    }
  } C{this, Base};
  C.Copy(Mine, Theirs, 0);
  CurPage = SavedPage;
  ClearPageCache();
}

// --- The prepared-report file ------------------------------------------------------------------

void TvqrPreviewPages::SaveToStream(TStream* Stream) {
  TvqrXMLItem* Root = FXMLDoc->Root();
  if (TvqrReport* R = Report()) {
    TvqrXMLItem* ReportItem = Root->FindItem(u"report");
    ReportItem->Clear();
    TvqrXMLItem* Item = ReportItem->Add();
    Item->SetName(R->ClassName());
    Item->SetText(u"DotMatrixReport=\"" + String(R->DotMatrixReport() ? u"1" : u"0") +
                  u"\" PreviewOptions.OutlineVisible=\"" +
                  String(R->PreviewOptions()->OutlineVisible() ? u"1" : u"0") +
                  u"\" PreviewOptions.OutlineWidth=\"" +
                  IntToStr(R->PreviewOptions()->OutlineWidth()) + u"\" ReportOptions.Name=\"" +
                  EncodeXMLValue(VariantToXMLText(Variant(R->ReportOptions()->Name()))) + u"\"");
  }
  TvqrXMLItem* SourceItem = Root->FindItem(u"sourcepages");
  SourceItem->Clear();
  TvqrXMLSerializer Serializer;
  if (!FSourcePages.empty()) Serializer.SetOwner(FSourcePages.front().get());
  for (auto& Page : FSourcePages) Serializer.WriteRootComponent(Page.get(), true, SourceItem->Add());
  TvqrXMLItem* Dictionary = Root->FindItem(u"dictionary");
  Dictionary->Clear();
  for (const auto& [Alias, Index] : FDictionary->Names()) {
    TvqrXMLItem* Item = Dictionary->Add();
    Item->SetName(Alias);
    Item->SetText(u"name=\"" + FDictionary->SourceNames()[static_cast<size_t>(Index)].SourceName +
                  u"\"");
  }
  FPictureCache->SaveToXML(Root->FindItem(u"picturecache"));
  FXMLDoc->SetAutoIndent(false);
  FXMLDoc->SaveToStream(Stream);
}

void TvqrPreviewPages::SaveToFile(const String& FileName) {
  TFileStream Stream(FileName, fmCreate);
  SaveToStream(&Stream);
}

void TvqrPreviewPages::LoadFromStream(TStream* Stream, bool AllowPartialLoading) {
  Clear();
  FXMLDoc->LoadFromStream(Stream, AllowPartialLoading);
  TvqrXMLItem* Root = FXMLDoc->Root();
  Root->SetName(u"preparedreport");
  TvqrXMLSerializer Serializer;
  Serializer.SetOldFormat(FXMLDoc->OldVersion());
  // Children are looked up without adding missing ones, so a loaded file saves unchanged.
  auto Child = [Root](const String& Name) {
    int At = Root->Find(Name);
    return At >= 0 ? Root->Items(At) : nullptr;
  };
  TvqrXMLItem* ReportItem = Child(u"report");
  if (ReportItem && ReportItem->Count() > 0 && Report()) {
    // Only the four report properties the file carries are read.
    TvqrReport* R = Report();
    TvqrXMLItem* Item = ReportItem->Items(0);
    R->SetDotMatrixReport(Item->Prop(u"DotMatrixReport") == u"1");
    if (Item->PropExists(u"PreviewOptions.OutlineVisible"))
      R->PreviewOptions()->SetOutlineVisible(Item->Prop(u"PreviewOptions.OutlineVisible") == u"1");
    if (Item->PropExists(u"PreviewOptions.OutlineWidth"))
      R->PreviewOptions()->SetOutlineWidth(StrToInt(Item->Prop(u"PreviewOptions.OutlineWidth")));
    if (Item->PropExists(u"ReportOptions.Name"))
      R->ReportOptions()->SetName(Item->Prop(u"ReportOptions.Name"));
  }
  if (TvqrXMLItem* SourceItem = Child(u"sourcepages")) {
    for (int I = 0; I < SourceItem->Count(); ++I) {
      TvqrXMLItem* Item = SourceItem->Items(I);
      FSourcePages.emplace_back(NewPageOfClass(Item->Name()));
      TvqrReportPage* Page = FSourcePages.back().get();
      Serializer.SetOwner(Page);
      Serializer.ReadRootComponent(Page, Item);
      for (TvqrComponent* Obj : Page->AllObjects())
        Obj->SetBaseName(Serializer.WriteComponentStr(Obj));
    }
    SourceItem->Clear();
  }
  TvqrXMLItem* Dictionary = Child(u"dictionary");
  for (int I = 0; Dictionary && I < Dictionary->Count(); ++I) {
    TvqrXMLItem* Entry = Dictionary->Items(I);
    const String& Text = Entry->Text();
    if (Text.size() < 7) InvalidFile();
    String SourceName = Text.substr(6, Text.size() - 7);
    size_t Dot = SourceName.find(u'.');
    if (Dot == String::npos || Dot < 4) InvalidFile();
    int PageIndex = StrToInt(SourceName.substr(4, Dot - 4));
    if (PageIndex < 0 || PageIndex >= static_cast<int>(FSourcePages.size())) InvalidFile();
    TvqrComponent* Obj =
        FSourcePages[static_cast<size_t>(PageIndex)]->FindObject(SourceName.substr(Dot + 1, 255));
    if (!Obj) InvalidFile();
    FDictionary->Add(Entry->Name(), SourceName, Obj);
  }
  if (TvqrXMLItem* Pictures = Child(u"picturecache")) FPictureCache->LoadFromXML(Pictures);
}

bool TvqrPreviewPages::LoadFromFile(const String& FileName, bool ExceptionIfNotFound) {
  bool Exists = FileExists(FileName);
  if (Exists || ExceptionIfNotFound) {
    TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&Stream, false);
  }
  return Exists;
}
