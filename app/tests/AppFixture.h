// AppFixture.h - a data module over a fresh copy of the sample database, for the tests.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/AppDialogs.h"
#include "app/AppReports.h"
#include "app/DM_MAIN.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Variant.h"

// One box the data module showed.
struct TShownBox {
  TAppBoxKind Kind;
  String Text;
  String Caption;
  bool operator==(const TShownBox&) const = default;
};

// Records every report call as one line of text.
class TReportRecorder : public IAppReports {
public:
  std::vector<String> Calls;
  TPdfExportResult::TStatus ExportStatus = TPdfExportResult::psWritten;
  void SetAdapterDataSet(const String& Adapter, TDataSet* DataSet) override;
  void PrepareReport(const String& Report, bool ClearLastReport) override;
  void ShowReport(const String& Report, bool ClearLastReport) override;
  void Print(const String& Report) override;
  TPdfExportResult ExportPdf(const String& Report, const String& DefaultPath,
                             const String& FileName) override;
};

class AppFixture : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // The first column of the first row of Sql, run on the module's connection.
  Variant Scalar(const String& Sql);
  void Exec(const String& Sql);
  // Moves the catalogue to the colour of that ID.
  void GoToColour(int Id);
  void GoToOrder(int Id);

  std::filesystem::path Dir;
  std::filesystem::path OldDir;
  std::unique_ptr<TFormatSettingsScope> Russian;
  std::unique_ptr<TDM> Module;
  TReportRecorder Reports;
  std::vector<TShownBox> Boxes;
  std::deque<bool> Answers;  // answers to the next questions (Yes when none is queued)
};

// The fixture with the application's real reports on the module in place of the recorder, and
// the report clock pinned to 09.12.2025 12:00:00.
class AppReportsFixture : public AppFixture {
protected:
  void SetUp() override;
  void TearDown() override;

  std::unique_ptr<TAppReports> Real;
};
