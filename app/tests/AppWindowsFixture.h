// AppWindowsFixture.h - the program's real start-up on a temporary copy of the sample database
// (offscreen, Russian settings, a test dialog service): the fixture of the window tests.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/AppMessageBoxes.h"
#include "app/AppStartup.h"
#include "app/DM_MAIN.h"
#include "app/SA_Main.h"
#include "app/SampleDatabase.h"
#include "platform/classes/Strings.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/Forms.h"
#include "platform/controls/WinApi.h"
#include "platform/db/Fields.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sqlite/ADODB.h"

class AppWindows : public ::testing::Test {
protected:
  void SetUp() override {
    const auto* Info = ::testing::UnitTest::GetInstance()->current_test_info();
    Dir = std::filesystem::temp_directory_path() /
          ("vorenta_win_" + std::to_string(::getpid()) + "_" + Info->name());
    std::filesystem::remove_all(Dir);
    std::filesystem::create_directories(Dir);
    OldDir = std::filesystem::current_path();
    std::filesystem::current_path(Dir);
    CreateDatabaseFile(u"DATA/vorenta.data", ReadTextFile(Utf8ToString(VORENTA_SAMPLE_SQL)));
    Russian = std::make_unique<TFormatSettingsScope>(TFormatSettings::Russian());
    auto Service = std::make_unique<TTestDialogAnswerer>();
    Answerer = Service.get();
    PreviousService = SetDialogService(std::move(Service));
    AppStartup();
    Application->Initialize();
    Application->SetTitle(u"V o r e n t a");
    UsePlatformMessageBoxes();
    CreateAppWindows();
    SAMAIN->Show();
    Application->ProcessMessages();
  }
  void TearDown() override {
    TCustomForm::SetModalHookForTests(nullptr);
    DestroyAppWindows();
    AppShutdown();
    SetAppBoxHandler(nullptr);
    SetDialogService(std::move(PreviousService));
    Russian.reset();
    std::filesystem::current_path(OldDir);
    std::filesystem::remove_all(Dir);
  }

  static Variant Scalar(const String& Sql) {
    TADOQuery Query(nullptr);
    Query.SetConnection(DM->Connection);
    Query.SQL()->SetText(Sql);
    Query.Open();
    return Query.Fields()->Fields(0)->Value();
  }
  static void Click(TControl* Control) {
    SimulateClick(Control, {Control->Width() / 2, Control->Height() / 2});
  }
  static int ColourId() { return DM->Color->FieldByName(u"ID")->AsInteger(); }
  // Every message box shown so far, one line each, for failure output.
  std::string Told() const {
    std::string All;
    for (const auto& M : Answerer->Messages) All += StringToUtf8(M.Text) + "\n";
    return All;
  }

  std::filesystem::path Dir, OldDir;
  std::unique_ptr<TFormatSettingsScope> Russian;
  TTestDialogAnswerer* Answerer = nullptr;
  std::unique_ptr<IDialogService> PreviousService;
};
