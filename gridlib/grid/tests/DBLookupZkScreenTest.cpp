// DBLookupZkScreenTest.cpp - the order combo box dropped down on a real X server: three columns
// with titles, a size grip, the focus kept in the combo box; photographed from the screen.
//
// Runs only on the xcb platform:
//   QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" vorenta_grid_tests
//       --gtest_filter=DBLookupScreen.*
// The picture goes to $VORENTA_SCREENSHOT_LOOKUP (default lookup-combo.png here).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "gridlib/grid/DBGridZkModule.h"
#include "gridlib/grid/DBLookupZk.h"
#include "gridlib/toolkit/SizeGripZk.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/WinApi.h"
#include "platform/db/ArrayDataSet.h"
#include "platform/db/FieldDefs.h"
#include "platform/graphics/Picture.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"

namespace {

void Pump(int Rounds = 20) {
  for (int I = 0; I < Rounds; ++I) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

TEST(DBLookupScreen, OrderComboDropsDownOnTheXServer) {
  const char* Platform = std::getenv("QT_QPA_PLATFORM");
  if (!Platform || std::string(Platform) != "xcb") GTEST_SKIP() << "needs QT_QPA_PLATFORM=xcb";
  InitControls();
  Application->Initialize();
  DBGridZkModuleInitialize();
  auto* Form = new TForm(Application);
  Form->SetCaption(u"В заказ");
  Form->SetBounds(60, 60, 420, 300);
  auto* Orders = new TArrayDataSet(Form);
  Orders->FieldDefs()->Add(u"ID", ftInteger);
  Orders->FieldDefs()->Add(u"NUM", ftWideString, 10);
  Orders->FieldDefs()->Add(u"DT", ftDateTime);
  Orders->FieldDefs()->Add(u"COMMENT", ftWideString, 40);
  const char16_t* Notes[] = {u"срочно", u"", u"фасад, 2 слоя", u"самовывоз", u""};
  for (int I = 1; I <= 12; ++I)
    Orders->AddRow({I, Variant(String(u"З-") + IntToStr(100 + I)), EncodeDate(2024, 5, I),
                    String(Notes[I % 5])});
  Orders->Open();
  auto* Source = new TDataSource(Form);
  Source->SetDataSet(Orders);
  auto* Combo = new TDBLookupComboboxZk(Form);
  Combo->SetParent(Form);
  Combo->SetBounds(20, 20, 150, 21);
  Combo->SetListSource(Source);
  Combo->SetKeyField(u"ID");
  Combo->SetListField(u"NUM");
  Combo->DropDownBox()->SetSizable(true);
  Combo->DropDownBox()->SetShowTitles(true);
  const std::pair<const char16_t*, int> Columns[] = {{u"NUM", 20}, {u"DT", 30}, {u"COMMENT", 40}};
  for (const auto& [Name, Chars] : Columns) {
    TColumnZk* C = Combo->DropDownBox()->Columns()->Add();
    C->SetFieldName(Name);
    C->SetWidth(Chars * 3);
  }
  Form->Show();
  Combo->SetFocus();
  Combo->SetKeyValue(3);
  Pump();
  Combo->DropDown();
  Pump();
  ASSERT_TRUE(Combo->ListVisible());
  EXPECT_TRUE(IsWindowVisible(Combo->DataList()));
  EXPECT_TRUE(Combo->DataList()->SizeGrip()->Visible());
  EXPECT_EQ(GetFocus(), Combo) << "the focus stays in the combo box";
  const char* Out = std::getenv("VORENTA_SCREENSHOT_LOOKUP");
  const std::string File = Out ? Out : "lookup-combo.png";
  SaveScreenToPng(Utf8ToString(File));
  TPicture Picture;
  Picture.LoadFromFile(Utf8ToString(File));
  ASSERT_NE(Picture.Graphic(), nullptr);
  SimulateKeyPress(VK_DOWN);
  SimulateKeyPress(VK_RETURN);
  Pump();
  EXPECT_FALSE(Combo->ListVisible());
  EXPECT_EQ(Combo->Text(), u"З-104");
  delete Form;
  DBGridZkModuleFinalize();
}

}  // namespace
