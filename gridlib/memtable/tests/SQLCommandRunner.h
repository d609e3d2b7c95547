// SQLCommandRunner.h - for tests of SQL data drivers on a real database: runs a generated
// command through TADOCommand on a connection, ":NAME" parameters from the record's values,
// ":OLD_NAME" from its oldest ones.
#pragma once

#include "gridlib/memtable/DataDriverZk.h"
#include "gridlib/memtable/MemTableDataZk.h"
#include "platform/db/Params.h"
#include "platform/sqlite/ADODB.h"

inline int RunGeneratedCommand(TADOConnection* Connection, TCustomSQLCommandZk* Command, TMemoryRecordZk* Rec) {
  TADOCommand Run(nullptr);
  Run.SetConnection(Connection);
  Run.SetCommandText(Command->CommandText()->Text());
  TMTDataStructZk* Struct = Rec->DataStruct();
  for (int I = 0; I < Run.Parameters()->Count(); ++I) {
    TParam* P = Run.Parameters()->Items(I);
    const bool Old = P->Name().rfind(u"OLD_", 0) == 0;
    const int Index = Struct->FieldIndex(Old ? P->Name().substr(4) : P->Name());
    P->SetValue(Rec->GetDataValue(Index, Old ? dvvOldestValue : dvvValueZk));
  }
  return Run.Execute();
}
