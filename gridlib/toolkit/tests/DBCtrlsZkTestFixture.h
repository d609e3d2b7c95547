// DBCtrlsZkTestFixture.h - a form with a dataset of names, dates, prices and flags for the
// editor tests, with the toolkit started, Russian format settings and the test clock.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "gridlib/toolkit/DBCtrlsZk.h"
#include "gridlib/toolkit/ToolkitModule.h"
#include "platform/controls/Forms.h"
#include "platform/controls/StdCtrls.h"
#include "platform/controls/WinApi.h"
#include "platform/db/ArrayDataSet.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/Fields.h"
#include "platform/rtl/FormatSettings.h"

class EditorTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() { ToolkitModuleInitialize(); }
  static void TearDownTestSuite() { ToolkitModuleFinalize(); }

  void SetUp() override {
    InitControls();
    UseTestClock(true);
    ResetKeyboardState();
    Form = new TForm(Application);
    Form->SetBounds(100, 100, 420, 300);
    Data = new TArrayDataSet(Form);
    Data->FieldDefs()->Add(u"NAME", ftWideString, 20, true);
    Data->FieldDefs()->Add(u"NOTE", ftWideString, 30);
    Data->FieldDefs()->Add(u"PRICE", ftFloat);
    Data->FieldDefs()->Add(u"DAY", ftDateTime);
    Data->FieldDefs()->Add(u"FLAG", ftBoolean);
    Data->FieldDefs()->Add(u"QTY", ftInteger);
    Data->AddRow({Variant(u"Охра"), Variant(u"светлая"), Variant(12.5), Null(),
                  Variant(true), Variant(3)});
    Data->AddRow({Variant(u"Умбра"), Null(), Variant(7.0), Null(), Variant(false),
                  Variant(4)});
    Source = new TDataSource(Form);
    Source->SetDataSet(Data);
    Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(10, 200, 100, 21);
  }
  void TearDown() override {
    delete Form;
    UseTestClock(false);
  }

  template <class T>
  T* Place(int Top, int Width = 180) {
    auto* E = new T(Form);
    E->SetParent(Form);
    E->SetBounds(10, Top, Width, 21);
    return E;
  }
  void Show() {
    Form->Show();
    Data->Open();
  }

  TFormatSettingsScope Russian{TFormatSettings::Russian()};
  TForm* Form = nullptr;
  TArrayDataSet* Data = nullptr;
  TDataSource* Source = nullptr;
  TEdit* Other = nullptr;
};
