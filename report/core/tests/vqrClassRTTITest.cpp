// vqrClassRTTITest.cpp - the report model's script bindings from a script.
#include "report/core/vqrClassRTTI.h"

#include <gtest/gtest.h>

#include "platform/rtl/Variants.h"
#include "report/core/vqrClassDataSet.h"
#include "report/core/vqrClassMemo.h"
#include "script/ks_iinterpreter.h"

TEST(vqrClassRTTI, ScriptsReachDataSourcesMemosConstantsAndFunctions) {
  vqrRegisterClassRTTI();
  TvqrUserDataSet DS(nullptr);
  DS.SetName(u"Source1");
  DS.SetRangeEnd(reCount);
  DS.SetRangeEndCount(3);
  TvqrMemoView Memo(nullptr);
  Memo.SetName(u"Memo1");
  TksScript S;
  S.AddRTTI();
  String Output;
  S.AddMethod(u"procedure Out(v: Variant)", [&](TObject*, TksClassRef, const String&, TksMethodHelper* H) {
    Output += VarToStr(H->GetParam(0)) + u" ";
    return Variant(0);
  });
  S.AddObject(u"DS", &DS);
  S.AddObject(u"Memo1", &Memo);
  S.SetText(u"var n: Integer; begin n := 0; DS.First; while not DS.Eof do begin n := n + DS.RecNo; DS.Next end;\r\n"
            u"  Out(n); Out(DS.RecordCount); Out(DS.HasField('x'));\r\n"
            u"  Memo1.Text := 'Краска'; Out(Memo1.Text); Out(Memo1.Lines.Count);\r\n"
            u"  Out(YearOf(EncodeDate(2024, 5, 6))); Out(MonthOf(EncodeDate(2024, 5, 6))); Out(IIF(1 > 2, 'y', 'n'));\r\n"
            u"  Out(vq1in); Out(pbTools); Out(reCount) end.");
  ASSERT_TRUE(S.Compile()) << StringToUtf8(S.ErrorPos() + u" " + S.ErrorMsg());
  S.Execute();
  EXPECT_EQ(Output, u"3 3 False Краска 1 2024 5 n 96 256 2 ");
}
