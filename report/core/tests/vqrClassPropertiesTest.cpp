// vqrClassPropertiesTest.cpp - every published property of every report class survives a
// template save and reload: what a run's template restore (DestroyForms) relies on.
#include <gtest/gtest.h>

#include "platform/classes/Streams.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrDBSet.h"

namespace {

// Properties that name other objects or files: set through their own tests.
bool Skipped(const TPropInfo* Prop) {
  static const char16_t* Names[] = {u"ParentReport", u"Version", u"Style", u"Preview", u"Name"};
  for (const char16_t* N : Names)
    if (Prop->Name() == N) return true;
  return false;
}

// Gives Obj's published properties values other than their current ones, by kind; nested
// objects (fonts, frames, formats, options) are walked, references to components skipped.
void SetEveryProperty(TPersistent* Obj, int Depth = 0) {
  for (const TPropInfo* Prop : Obj->ClassType()->Properties()) {
    if (Prop->ReadOnly() || Skipped(Prop)) continue;
    switch (Prop->Kind()) {
      case tkInteger:
        Prop->SetOrd(Obj, Prop->GetOrd(Obj) + 3);
        break;
      case tkEnumeration: {
        const int Count = Prop->EnumType() ? Prop->EnumType()->Count() : 2;
        Prop->SetOrd(Obj, (Prop->GetOrd(Obj) + 1) % Count);
        break;
      }
      case tkSet:
        Prop->SetOrd(Obj, Prop->GetOrd(Obj) ^ 1);
        break;
      case tkFloat:
        Prop->SetFloat(Obj, Prop->GetFloat(Obj) + 12.5L);
        break;
      case tkString:
        Prop->SetStr(Obj, Prop->Name() + u" «значение»");
        break;
      case tkVariant:
        Prop->SetVariant(Obj, Variant(String(u"v")));
        break;
      case tkClass: {
        TObject* Value = Prop->GetObject(Obj);
        if (dynamic_cast<TComponent*>(Value) || !Value) break;
        if (auto* List = dynamic_cast<TStrings*>(Value)) {
          List->SetText(u"первая\r\nвторая");
        } else if (auto* Sub = dynamic_cast<TPersistent*>(Value); Sub && Depth < 3) {
          SetEveryProperty(Sub, Depth + 1);
        }
        break;
      }
      default:
        break;
    }
  }
}

String SaveText(TvqrReport& Report) {
  TStringStream Stream;
  Report.SaveToStream(&Stream);
  return Stream.DataString();
}

// Puts an object of Class where the model expects such objects.
TvqrComponent* Place(TClass Class, TvqrReport& Report, TvqrDataPage* Data, TvqrReportPage* Page,
                     TvqrBand* Band) {
  TComponent* Parent = Band;
  if (Class->InheritsFrom(TvqrPage::ClassInfo()))
    Parent = &Report;
  else if (Class->InheritsFrom(TvqrBand::ClassInfo()))
    Parent = Page;
  else if (Class->InheritsFrom(TvqrDialogComponent::ClassInfo()))
    Parent = Data;
  return dynamic_cast<TvqrComponent*>(Class->CreateComponent(Parent));
}

}  // namespace

TEST(vqrPublishedProperties, EveryClassRoundTripsEveryProperty) {
  TFormatSettingsScope Russian(TFormatSettings::Russian());
  RegisterReportClasses();
  for (TClass Class : vqrReportClassList()) {
    if (!Class->InheritsFrom(TvqrComponent::ClassInfo())) continue;
    SCOPED_TRACE(StringToUtf8(Class->Name()));
    TvqrReport Report(nullptr);
    auto* Data = new TvqrDataPage(&Report);
    Data->SetName(u"Data");
    auto* Page = new TvqrReportPage(&Report);
    Page->SetName(u"Page1");
    auto* Band = new TvqrMasterData(Page);
    Band->SetName(u"MasterData1");
    TvqrComponent* Obj = Class == TvqrReport::ClassInfo()
                             ? &Report
                             : Place(Class, Report, Data, Page, Band);
    ASSERT_NE(Obj, nullptr);
    if (Obj != &Report) Obj->SetName(u"Object1");
    SetEveryProperty(Obj);
    // A run empties the password before it saves (its own test covers the stored form).
    Report.ReportOptions()->SetPassword(String());

    // As a run restores its template: saved, then read back into the same report (which
    // keeps the settings that belong to its host).
    const String First = SaveText(Report);
    TStringStream In(First);
    Report.LoadFromStream(&In);
    EXPECT_EQ(Report.Errors()->Count(), 0) << StringToUtf8(Report.Errors()->Text());
    EXPECT_EQ(StringToUtf8(SaveText(Report)), StringToUtf8(First));
  }
}
