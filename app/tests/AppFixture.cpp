// AppFixture.cpp - the sample database in a temporary folder and the recorders.
#include "app/tests/AppFixture.h"

#include <unistd.h>

#include <string>

#include "app/SampleDatabase.h"
#include "platform/classes/Strings.h"
#include "platform/db/Fields.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sqlite/ADODB.h"
#include "report/core/vqrEngine.h"

namespace fs = std::filesystem;

void TReportRecorder::SetAdapterDataSet(const String& Adapter, TDataSet* DataSet) {
  Calls.push_back(u"adapter " + Adapter + u"=" + DataSet->Name());
}
void TReportRecorder::PrepareReport(const String& Report, bool ClearLastReport) {
  Calls.push_back(u"prepare " + Report + (ClearLastReport ? u" clear" : u""));
}
void TReportRecorder::ShowReport(const String& Report, bool) { Calls.push_back(u"show " + Report); }
void TReportRecorder::Print(const String& Report) { Calls.push_back(u"print " + Report); }
TPdfExportResult TReportRecorder::ExportPdf(const String& Report, const String& DefaultPath,
                                            const String& FileName) {
  Calls.push_back(u"pdf " + Report + u" " + FileName);
  TPdfExportResult Result;
  Result.Status = ExportStatus;
  if (ExportStatus == TPdfExportResult::psWritten) Result.Path = DefaultPath + FileName;
  return Result;
}

void AppFixture::SetUp() {
  const auto* Info = ::testing::UnitTest::GetInstance()->current_test_info();
  // The process id keeps test runs of several build folders at one time apart.
  Dir = fs::temp_directory_path() / (std::string("vorenta_app_") + std::to_string(::getpid()) + "_" +
                                     Info->test_suite_name() + "_" + Info->name());
  fs::remove_all(Dir);
  fs::create_directories(Dir);
  OldDir = fs::current_path();
  fs::current_path(Dir);
  CreateDatabaseFile(u"DATA/vorenta.data", ReadTextFile(Utf8ToString(VORENTA_SAMPLE_SQL)));
  Russian = std::make_unique<TFormatSettingsScope>(TFormatSettings::Russian());
  SetAppBoxHandler([this](TAppBoxKind Kind, const String& Text, const String& Caption) {
    Boxes.push_back({Kind, Text, Caption});
    if (Kind != TAppBoxKind::Question) return false;
    if (Answers.empty()) return true;
    const bool Answer = Answers.front();
    Answers.pop_front();
    return Answer;
  });
  Module = std::make_unique<TDM>(nullptr);
  Module->StartDirectory = Utf8ToString(Dir.string());
  Module->Reports = &Reports;
  Module->RefreshAllData();
}

void AppFixture::TearDown() {
  Module.reset();
  SetAppBoxHandler(nullptr);
  Russian.reset();
  fs::current_path(OldDir);
  fs::remove_all(Dir);
}

Variant AppFixture::Scalar(const String& Sql) {
  TADOQuery Query(nullptr);
  Query.SetConnection(Module->Connection);
  Query.SQL()->SetText(Sql);
  Query.Open();
  return Query.Fields()->Fields(0)->Value();
}

void AppFixture::Exec(const String& Sql) { Module->Connection->Execute(Sql); }

void AppFixture::GoToColour(int Id) {
  ASSERT_TRUE(Module->Color->Locate(u"ID", Variant(Id), TLocateOptions())) << "colour " << Id;
}

void AppFixture::GoToOrder(int Id) {
  ASSERT_TRUE(Module->Ord->Locate(u"ID", Variant(Id), TLocateOptions())) << "order " << Id;
}

void AppReportsFixture::SetUp() {
  AppFixture::SetUp();
  TvqrEngine::SetClockForTests([] { return 46000.5; });
  Real = std::make_unique<TAppReports>(Module.get());
  Module->Reports = Real.get();
}

// Nothing to undo when the test skipped before the fixture was set up.
void AppReportsFixture::TearDown() {
  if (!Real) return;
  Module->Reports = &Reports;
  Real.reset();
  TvqrEngine::SetClockForTests(nullptr);
  AppFixture::TearDown();
}
