// MemTableData.cpp - fuzz target: a memory table's stored data (the "MemTableData" entry with
// its structure and records) read into a container watched by a view and an index, then
// written again.
#include "fuzz/FuzzTarget.h"

#include "gridlib/memtable/MTIndexZk.h"
#include "gridlib/memtable/MemTableDataZkView.h"
#include "platform/classes/Streams.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  static const bool Started = (RegisterMemTableDataClasses(), true);
  (void)Started;
  return FuzzRun([&] {
    TMemTableDataZk Container(nullptr);
    TRecordsViewZk View(nullptr);
    View.SetMemTableData(&Container);
    TMemoryStream In;
    In.WriteBuffer(Data, static_cast<Int64>(Size));
    In.SetPosition(0);
    try {
      Container.LoadDataFromStream(&In);
    } catch (const EReadError&) {
      // Damaged input; what was read must still be usable below.
    }
    if (Container.DataStruct()->Count() > 0) {
      TMTIndexZk* Index = Container.RecordsList()->Indexes()->Add();
      Index->SetFields(Container.DataStruct()->DataFields(0)->FieldName());
      Index->SetActive(true);
    }
    for (int R = 0; R < View.Count(); ++R) View.ViewItems(R)->ValueCount();
    TMemoryStream Out;
    Container.SaveDataToStream(&Out);
  });
}
