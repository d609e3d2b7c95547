// vqrClassReportTest.cpp - the report object: PrepareReport with a recording engine, the
// template restore, progress hooks, the deferred run of ShowReport, templates and parent
// templates, passwords, the data page and inheritance.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/classes/IniFiles.h"
#include "platform/classes/Registry.h"
#include "platform/classes/Streams.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Timer.h"
#include "platform/controls/WinApi.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrRes.h"
#include "report/core/vqrUtils.h"

namespace fs = std::filesystem;

namespace {

// An engine whose Run does what the test asks and writes down that it ran.
class TRecordingEngine : public TvqrCustomEngine {
public:
  explicit TRecordingEngine(TvqrReport* R, std::vector<String>* Log)
      : TvqrCustomEngine(R), FLog(Log) {}
  bool Run() override {
    FLog->push_back(u"run");
    return OnRun ? OnRun() : true;
  }
  std::function<bool()> OnRun;

private:
  std::vector<String>* FLog;
};

class TRecordingPages : public TvqrCustomPreviewPages {
public:
  explicit TRecordingPages(TvqrReport* R, std::vector<String>* Log)
      : TvqrCustomPreviewPages(R), FLog(Log) {}
  void Clear() override { FLog->push_back(u"clear"); }

private:
  std::vector<String>* FLog;
};

class TRecordingProgress : public IvqrProgressWindow {
public:
  explicit TRecordingProgress(std::vector<String>* Log) : FLog(Log) {}
  ~TRecordingProgress() override { FLog->push_back(u"window closed"); }
  void Execute(int, const String&, bool, bool) override { FLog->push_back(u"window shown"); }
  void SetMessage(const String& Msg) override { FLog->push_back(u"window: " + Msg); }
  bool Canceled() const override { return false; }

private:
  std::vector<String>* FLog;
};

struct TReportFixture {
  bool Registered = (RegisterReportClasses(), true);
  std::vector<String> Log;
  TvqrReport Report{nullptr};
  TRecordingEngine* Engine = new TRecordingEngine(&Report, &Log);
  TvqrReportPage* Page = new TvqrReportPage(&Report);
  TvqrMasterData* Band = new TvqrMasterData(Page);
  TvqrMemoView* Memo1 = new TvqrMemoView(Band);
  TvqrMemoView* Memo2 = new TvqrMemoView(Band);
  TFormatSettingsScope Russian{TFormatSettings::Russian()};

  TReportFixture() {
    Report.SetEngineForTest(Engine);
    Report.SetPreviewPagesForTest(new TRecordingPages(&Report, &Log));
    Report.EngineOptions()->SetNewSilentMode(simSilent);
    Page->SetName(u"Page1");
    Band->SetName(u"MasterData1");
    Memo1->SetName(u"Memo1");
    Memo1->SetText(u"как задумано");
    Memo2->SetName(u"Memo2");
    Report.CheckDataPage();
  }
};

// A text object that cannot be created again once armed (a failing reload).
class TExplodingMemo : public TvqrMemoView {
  VORENTA_CLASS(TExplodingMemo, TvqrMemoView)
public:
  explicit TExplodingMemo(TComponent* AOwner) : TvqrMemoView(AOwner) {
    if (Armed) throw std::runtime_error("cannot read");
  }
  static inline bool Armed = false;
};

String Lines(const std::vector<String>& Log) {
  String Out;
  for (const String& S : Log) Out += S + u"\n";
  return Out;
}

}  // namespace

REGISTER_CLASS(TExplodingMemo) {}

// --- PrepareReport ------------------------------------------------------------------------------

TEST(vqrPrepareReport, ARunsChangesToTheTemplateAreUndoneAndPasswordAndErrorsSurvive) {
  TReportFixture F;
  F.Report.ReportOptions()->SetPassword(u"секрет");
  F.Engine->OnRun = [&F] {
    delete F.Report.FindObject(u"Memo2");
    dynamic_cast<TvqrMemoView*>(F.Report.FindObject(u"Memo1"))->SetText(u"изменено");
    F.Report.Errors()->Add(u"ошибка при построении");
    return true;
  };
  EXPECT_FALSE(F.Report.PrepareReport(true));
  auto* Memo1 = dynamic_cast<TvqrMemoView*>(F.Report.FindObject(u"Memo1"));
  ASSERT_NE(Memo1, nullptr);
  EXPECT_EQ(Memo1->Text(), u"как задумано");
  EXPECT_NE(F.Report.FindObject(u"Memo2"), nullptr);
  EXPECT_EQ(F.Report.ReportOptions()->Password(), u"секрет");
  EXPECT_EQ(F.Report.Errors()->Text(), u"ошибка при построении\r\n");
  EXPECT_EQ(Lines(F.Log), u"clear\nrun\n");
}

TEST(vqrPrepareReport, AMissingDataSourceStopsTheRunBeforeTheScript) {
  TReportFixture F;
  bool BeganDoc = false;
  F.Report.SetOnBeginDoc([&BeganDoc](TObject*) { BeganDoc = true; });
  auto* Item = new TvqrDataSetItem(F.Report.DataSets());
  Item->SetDataSetName(u"НетТакого");
  EXPECT_FALSE(F.Report.PrepareReport(false));
  EXPECT_FALSE(BeganDoc);
  EXPECT_EQ(Lines(F.Log), u"");
  EXPECT_EQ(F.Report.Errors()->Text(),
            Format(StringTable()->Get(u"clDSNotExist"), {String(u"НетТакого")}) + u"\r\n");
}

TEST(vqrPrepareReport, ErrorsAreSortedEachOnceAndReportedInOneMessage) {
  TReportFixture F;
  F.Report.EngineOptions()->SetNewSilentMode(simMessageBoxes);
  std::vector<String> Boxes;
  SetErrorBoxHandler([&Boxes](const String&, const String& Text) { Boxes.push_back(Text); });
  F.Engine->OnRun = [&F]() -> bool {
    F.Report.Errors()->Add(u"б");
    F.Report.Errors()->Add(u"а");
    throw Exception(u"б");
  };
  EXPECT_FALSE(F.Report.PrepareReport(false));
  SetErrorBoxHandler(nullptr);
  EXPECT_EQ(F.Report.Errors()->Text(), u"а\r\nб\r\n");
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0], StringTable()->Get(u"clErrors") + u"\r\nа\r\nб\r\n");
}

TEST(vqrPrepareReport, AScriptThatDoesNotCompileStopsTheRunWithItsMessage) {
  TReportFixture F;
  F.Report.ScriptText()->SetText(u"begin\r\n  x := ;\r\nend.");
  EXPECT_FALSE(F.Report.PrepareReport(false));
  EXPECT_EQ(Lines(F.Log), u"");
  ASSERT_EQ(F.Report.Errors()->Count(), 1);
  EXPECT_TRUE(F.Report.Errors()->Strings(0).starts_with(u"Ошибка в скрипте "));
}

// The temporary copy of the template is removed even when reading it back fails.
TEST(vqrPrepareReport, TheTemplateFileGoesAlsoWhenTheReloadFails) {
  TReportFixture F;
  RegisterClass(TExplodingMemo::ClassInfo());
  new TExplodingMemo(F.Band);
  const fs::path Dir = fs::temp_directory_path() / ("vqr_reload_" + std::to_string(::getpid()));
  fs::create_directories(Dir);
  F.Report.EngineOptions()->SetUseFileCache(true);
  F.Report.EngineOptions()->SetTempDir(Utf8ToString(Dir.string()));
  F.Engine->OnRun = [] {
    TExplodingMemo::Armed = true;
    return true;
  };
  EXPECT_THROW(F.Report.PrepareReport(false), std::runtime_error);
  TExplodingMemo::Armed = false;
  EXPECT_TRUE(fs::is_empty(Dir));
  fs::remove_all(Dir);
}

TEST(vqrPrepareReport, ProgressHooksRunInOrderWithTheWindowOfAnOldStyleRun) {
  TReportFixture F;
  F.Report.SetOldStyleProgress(true);
  TvqrReport::SetProgressWindowFactory(
      [&F](TvqrReport*) -> IvqrProgressWindow* { return new TRecordingProgress(&F.Log); });
  auto Hook = [&F](const char16_t* Name) {
    return [&F, Name](TvqrReport*, TvqrProgressType, int P) {
      F.Log.push_back(String(Name) + u" " + IntToStr(P));
    };
  };
  F.Report.SetOnProgressStart(Hook(u"start"));
  F.Report.SetOnProgress(Hook(u"progress"));
  F.Report.SetOnProgressStop(Hook(u"stop"));
  F.Engine->OnRun = [&F] {
    F.Report.InternalOnProgressStart(ptRunning);
    F.Engine->FinalPass = true;
    F.Report.InternalOnProgress(ptRunning, 1);
    F.Report.InternalOnProgressStop(ptRunning);
    return true;
  };
  EXPECT_TRUE(F.Report.PrepareReport(false));
  TvqrReport::SetProgressWindowFactory(nullptr);
  EXPECT_EQ(Lines(F.Log), u"run\nstart 0\nwindow shown\nprogress 1\nwindow: Готовится страница 1\n"
                          u"stop 0\nwindow closed\n");
}

TEST(vqrShowReport, TheRunStartsOnTheTimerAfterTheReportReturns) {
  InitControls();
  TReportFixture F;
  UseTestClock(true);
  F.Report.ShowReport(true);
  EXPECT_EQ(Lines(F.Log), u"clear\n");
  EXPECT_TRUE(F.Report.Timer()->Enabled());
  AdvanceTestClock(60);
  Application->ProcessMessages();
  UseTestClock(false);
  EXPECT_EQ(Lines(F.Log), u"clear\nrun\n");
  EXPECT_FALSE(F.Report.Timer()->Enabled());
}

// --- Templates ----------------------------------------------------------------------------------

TEST(vqrTemplates, APasswordIsStoredTenCodeUnitsLowerAndReadsBack) {
  EXPECT_EQ(ShiftPasswordOut(u"K"), u"A");
  // A code unit below 10 wraps around.
  EXPECT_EQ(ShiftPasswordOut(String(1, u'\x05')), String(1, u'\xFFFB'));
  EXPECT_EQ(ShiftPasswordIn(ShiftPasswordOut(String(u"\x03пароль"))), String(u"\x03пароль"));

  TReportFixture F;
  F.Report.ReportOptions()->SetPassword(String(1, u'\x03') + u"ab");
  TStringStream Out;
  F.Report.SaveToStream(&Out);
  EXPECT_NE(Out.DataString().find(u"ReportOptions.Password=\"\uFFF9WX\""), String::npos)
      << StringToUtf8(Out.DataString());
  // The user is asked for the password of a protected template.
  TvqrReportOptions::SetPasswordPrompt([](String& Typed) {
    Typed = String(1, u'\x03') + u"ab";
    return true;
  });
  TStringStream In(Out.DataString());
  F.Report.LoadFromStream(&In);
  TvqrReportOptions::SetPasswordPrompt(nullptr);
  EXPECT_EQ(F.Report.ReportOptions()->Password(), String(1, u'\x03') + u"ab");
}

TEST(vqrTemplates, AWrongPasswordClearsTheReport) {
  TReportFixture F;
  F.Report.ReportOptions()->SetPassword(u"секрет");
  TStringStream Out;
  F.Report.SaveToStream(&Out);
  TvqrReport Other(nullptr);
  Other.EngineOptions()->SetNewSilentMode(simSilent);
  TvqrReportOptions::SetPasswordPrompt([](String& Typed) {
    Typed = u"не тот";
    return true;
  });
  TStringStream In(Out.DataString());
  Other.LoadFromStream(&In);
  TvqrReportOptions::SetPasswordPrompt(nullptr);
  EXPECT_EQ(Other.FindObject(u"Memo1"), nullptr);
}

TEST(vqrTemplates, ALoadKeepsTheHostsSettings) {
  TReportFixture F;
  TStringStream Out;
  F.Report.SaveToStream(&Out);
  TvqrReport Host(nullptr);
  Host.SetIniFile(u"/tmp/host.ini");
  Host.SetShowProgress(false);
  Host.SetOldStyleProgress(true);
  Host.EngineOptions()->SetUseFileCache(true);
  Host.EngineOptions()->SetNewSilentMode(simSilent);
  Host.PreviewOptions()->SetZoom(2);
  TStringStream In(Out.DataString());
  Host.LoadFromStream(&In);
  EXPECT_EQ(Host.IniFile(), u"/tmp/host.ini");
  EXPECT_FALSE(Host.ShowProgress());
  EXPECT_TRUE(Host.OldStyleProgress());
  EXPECT_TRUE(Host.EngineOptions()->UseFileCache());
  EXPECT_EQ(double(Host.PreviewOptions()->Zoom()), 2.0);
  // What the template decides comes from the template.
  EXPECT_TRUE(Host.EngineOptions()->ConvertNulls());
  EXPECT_NE(Host.FindObject(u"Memo1"), nullptr);
}

TEST(vqrTemplates, MalformedXmlIsReportedOnceAndNothingCrashes) {
  TReportFixture F;
  F.Report.EngineOptions()->SetNewSilentMode(simMessageBoxes);
  std::vector<String> Boxes;
  SetErrorBoxHandler([&Boxes](const String&, const String& Text) { Boxes.push_back(Text); });
  TStringStream In(u"<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n"
                   u"<TvqrReport><TvqrReportPage Name=\"Page1\"></TvqrMasterData></TvqrReport>");
  F.Report.LoadFromStream(&In);
  SetErrorBoxHandler(nullptr);
  EXPECT_EQ(F.Report.Errors()->Text(), u"Invalid file format\r\n");
  EXPECT_EQ(Boxes.size(), 1u);
  EXPECT_NE(F.Report.FindObject(u"Data"), nullptr);
}

TEST(vqrTemplates, UnknownClassesAndBadValuesEachAddOneLineAndReadingGoesOn) {
  TReportFixture F;
  TStringStream In(
      u"<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n"
      u"<TvqrReport><TvqrReportPage Name=\"Page1\" Columns=\"100000000\">"
      u"<TvqrNoSuchBand Name=\"X\"/><TvqrMasterData Name=\"MasterData1\" RowCount=\"abc\">"
      u"<TvqrMemoView Name=\"Memo1\" Text=\"дальше\"/></TvqrMasterData></TvqrReportPage>"
      u"</TvqrReport>");
  F.Report.LoadFromStream(&In);
  EXPECT_EQ(F.Report.Errors()->Count(), 3) << StringToUtf8(F.Report.Errors()->Text());
  auto* Memo = dynamic_cast<TvqrMemoView*>(F.Report.FindObject(u"Memo1"));
  ASSERT_NE(Memo, nullptr);
  EXPECT_EQ(Memo->Text(), u"дальше");
  auto* Page = dynamic_cast<TvqrReportPage*>(F.Report.FindObject(u"Page1"));
  EXPECT_EQ(Page->Columns(), 0);
  EXPECT_EQ(Page->ColumnPositions()->Count(), 0);
}

TEST(vqrTemplates, CheckDataPageAddsOneFirstAndNamesItDataWhenFree) {
  RegisterReportClasses();
  TvqrReport Report(nullptr);
  auto* Page = new TvqrReportPage(&Report);
  Page->SetName(u"Page1");
  auto* A = new TvqrUserDataSet(Page);
  auto* B = new TvqrUserDataSet(Page);
  Report.CheckDataPage();
  ASSERT_EQ(Report.PagesCount(), 2);
  EXPECT_EQ(Report.Pages(0)->Name(), u"Data");
  EXPECT_EQ(A->Parent(), Report.Pages(0));
  EXPECT_EQ(double(A->Left()), 60.0);
  EXPECT_EQ(double(B->Left()), 124.0);
  EXPECT_EQ(double(B->Top()), 20.0);
  Report.CheckDataPage();
  EXPECT_EQ(Report.PagesCount(), 2);

  TvqrReport Taken(nullptr);
  (new TvqrReportPage(&Taken))->SetName(u"Data");
  Taken.CheckDataPage();
  EXPECT_TRUE(dynamic_cast<TvqrDataPage*>(Taken.Pages(0)));
  EXPECT_EQ(Taken.Pages(0)->Name(), u"DataPage1");
}

// --- Parent templates ---------------------------------------------------------------------------

namespace {

struct TTemplateDir {
  fs::path Dir = fs::temp_directory_path() / ("vqr_parents_" + std::to_string(::getpid()));
  TTemplateDir() {
    RegisterReportClasses();
    fs::create_directories(Dir);
  }
  ~TTemplateDir() { fs::remove_all(Dir); }
  String Path(const char* Name) const { return Utf8ToString((Dir / Name).string()); }
  void Write(const char* Name, const std::string& Text) const {
    std::ofstream(Dir / Name, std::ios::binary) << Text;
  }
};

const char* Header = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n";

}  // namespace

TEST(vqrParentReport, AChildStoresOnlyItsDifferencesAndLoadsOverItsParent) {
  TTemplateDir T;
  TReportFixture Parent;
  Parent.Report.SaveToFile(T.Path("parent.xml"));

  TvqrReport Child(nullptr);
  Child.EngineOptions()->SetNewSilentMode(simSilent);
  Child.SetFileName(T.Path("child.xml"));
  Child.SetParentReport(u"parent.xml");
  ASSERT_NE(Child.FindObject(u"Memo1"), nullptr);
  EXPECT_TRUE(Child.FindObject(u"Memo1")->IsAncestor());
  dynamic_cast<TvqrMemoView*>(Child.FindObject(u"Memo2"))->SetText(u"своё");
  Child.SaveToFile(T.Path("child.xml"));

  std::ifstream In(T.Dir / "child.xml", std::ios::binary);
  const std::string Text((std::istreambuf_iterator<char>(In)), {});
  EXPECT_NE(Text.find("<inherited Name=\"Memo2\" Text=\"своё\"/>"), std::string::npos) << Text;
  EXPECT_EQ(Text.find("как задумано"), std::string::npos) << Text;

  TvqrReport Again(nullptr);
  Again.EngineOptions()->SetNewSilentMode(simSilent);
  Again.LoadFromFile(T.Path("child.xml"));
  EXPECT_EQ(Again.Errors()->Count(), 0) << StringToUtf8(Again.Errors()->Text());
  EXPECT_EQ(dynamic_cast<TvqrMemoView*>(Again.FindObject(u"Memo1"))->Text(), u"как задумано");
  EXPECT_EQ(dynamic_cast<TvqrMemoView*>(Again.FindObject(u"Memo2"))->Text(), u"своё");
}

TEST(vqrParentReport, ALoopOfParentsIsOneErrorLineNotEndlessRecursion) {
  TTemplateDir T;
  T.Write("a.xml", std::string(Header) + "<TvqrReport ParentReport=\"b.xml\"/>");
  T.Write("b.xml", std::string(Header) + "<TvqrReport ParentReport=\"a.xml\"/>");
  T.Write("self.xml", std::string(Header) + "<TvqrReport ParentReport=\"self.xml\"/>");
  for (const char* Name : {"a.xml", "self.xml"}) {
    SCOPED_TRACE(Name);
    TvqrReport Report(nullptr);
    Report.EngineOptions()->SetNewSilentMode(simSilent);
    Report.LoadFromFile(T.Path(Name));
    ASSERT_EQ(Report.Errors()->Count(), 1) << StringToUtf8(Report.Errors()->Text());
    EXPECT_TRUE(Report.Errors()->Strings(0).starts_with(u"Circular parent report reference: "))
        << StringToUtf8(Report.Errors()->Text());
  }
}

TEST(vqrParentReport, AMissingParentIsAnErrorLine) {
  TTemplateDir T;
  T.Write("orphan.xml", std::string(Header) + "<TvqrReport ParentReport=\"gone.xml\"/>");
  TvqrReport Report(nullptr);
  Report.EngineOptions()->SetNewSilentMode(simSilent);
  Report.LoadFromFile(T.Path("orphan.xml"));
  EXPECT_EQ(Report.Errors()->Text(), u"Parent report not found: gone.xml\r\n");
}

TEST(vqrParentReport, AnAbsoluteParentIsSavedRelativeToTheFile) {
  TTemplateDir T;
  TReportFixture Parent;
  Parent.Report.SaveToFile(T.Path("base.xml"));
  TvqrReport Child(nullptr);
  Child.EngineOptions()->SetNewSilentMode(simSilent);
  Child.SetParentReport(T.Path("base.xml"));
  Child.SaveToFile(T.Path("child.xml"));
  EXPECT_EQ(Child.ParentReport(), T.Path("base.xml"));
  std::ifstream In(T.Dir / "child.xml", std::ios::binary);
  const std::string Text((std::istreambuf_iterator<char>(In)), {});
  EXPECT_NE(Text.find("ParentReport=\"base.xml\""), std::string::npos) << Text;
}

TEST(vqrInheritFromTemplate, DeleteKeepsTheParentsObjectsRenameKeepsBothAndOwnNameIsRefused) {
  TTemplateDir T;
  TReportFixture Parent;
  Parent.Report.SaveToFile(T.Path("base.xml"));
  for (TvqrInheriteMode Mode : {imDelete, imRename}) {
    SCOPED_TRACE(int(Mode));
    TReportFixture Own;
    Own.Memo1->SetText(u"своё");
    Own.Report.SetFileName(T.Path("own.xml"));
    ASSERT_TRUE(Own.Report.InheritFromTemplate(T.Path("base.xml"), Mode));
    int Memos = 0;
    for (TvqrComponent* Obj : Own.Report.AllObjects())
      if (dynamic_cast<TvqrMemoView*>(Obj)) ++Memos;
    EXPECT_EQ(Memos, Mode == imDelete ? 2 : 4);
    EXPECT_EQ(dynamic_cast<TvqrMemoView*>(Own.Report.FindObject(u"Memo1"))->Text(),
              u"как задумано");
    EXPECT_NE(Own.Report.ScriptText()->Text().find(u"**********Script from parent report"),
              String::npos);
  }
  TReportFixture Self;
  Self.Report.SetFileName(T.Path("base.xml"));
  EXPECT_FALSE(Self.Report.InheritFromTemplate(T.Path("base.xml"), imDelete));
  EXPECT_EQ(Self.Report.ParentReport(), u"");
}

TEST(vqrInheritFromTemplate, DuplicatesWithoutADialogCancelAndRestoreTheReport) {
  TTemplateDir T;
  TReportFixture Parent;
  Parent.Report.SaveToFile(T.Path("base.xml"));
  TReportFixture Own;
  Own.Memo1->SetText(u"своё");
  Own.Report.SetFileName(T.Path("own.xml"));
  EXPECT_FALSE(Own.Report.InheritFromTemplate(T.Path("base.xml"), imDefault));
  EXPECT_EQ(dynamic_cast<TvqrMemoView*>(Own.Report.FindObject(u"Memo1"))->Text(), u"своё");
}

// --- Data sources and settings ------------------------------------------------------------------

TEST(vqrReportLookups, DataSourceNamesAliasesAndSettingsStores) {
  TReportFixture F;
  TvqrUserDataSet Listed(nullptr), Other(nullptr);
  Listed.SetName(u"Lines");
  Listed.SetUserName(u"Строки");
  Other.SetName(u"Other");
  F.Report.DataSets()->Add(&Listed);
  TvqrDataSet* DS = nullptr;
  String Field;
  F.Report.GetDatasetAndField(u"Строки.\"Сумма\"", DS, Field);
  EXPECT_EQ(DS, &Listed);
  EXPECT_EQ(Field, u"Сумма");
  F.Report.GetDatasetAndField(u"Нет.\"Сумма\"", DS, Field);
  EXPECT_EQ(DS, nullptr);
  EXPECT_EQ(Field, u"Сумма");
  F.Report.GetDatasetAndField(u"Строки.Сумма", DS, Field);
  EXPECT_EQ(DS, nullptr);
  EXPECT_EQ(Field, u"");
  EXPECT_EQ(F.Report.GetAlias(&Listed), u"Строки");
  EXPECT_EQ(F.Report.GetAlias(&Other), StringTable()->Get(u"clDSNotIncl"));
  EXPECT_EQ(F.Report.GetAlias(nullptr), u"");

  std::unique_ptr<TCustomIniFile> Registry(F.Report.GetIniFile());
  EXPECT_NE(dynamic_cast<TRegistryIniFile*>(Registry.get()), nullptr);
  F.Report.SetIniFile(u"/tmp/vqr-settings.ini");
  std::unique_ptr<TCustomIniFile> File(F.Report.GetIniFile());
  EXPECT_NE(dynamic_cast<TIniFile*>(File.get()), nullptr);
}
