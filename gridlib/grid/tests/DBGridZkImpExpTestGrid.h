// DBGridZkImpExpTestGrid.h - the exchange tests' grid: the "ITEMS" form with the columns ID,
// NAME and QTY, and helpers that export into bytes and import bytes.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "gridlib/grid/DBGridZkImpExp.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/classes/Streams.h"
#include "platform/controls/Clipboard.h"
#include "platform/rtl/CodePage.h"

struct TExchangeGrid : TDBGridOnForm {
  explicit TExchangeGrid(int Rows = 5) : TDBGridOnForm(Rows) {
    DBGridZkImpExpInitialize();
    if (Nesting()++ == 0) SetClipboardForTests(true);
    Columns({u"ID", u"NAME", u"QTY"});
  }
  ~TExchangeGrid() {
    if (--Nesting() == 0) SetClipboardForTests(false);
  }
  // Grids made inside a test share the in-memory clipboard until the outermost one goes.
  static int& Nesting() {
    static int Count = 0;
    return Count;
  }

  void Columns(std::initializer_list<const char16_t*> Names) {
    Grid->Columns()->Clear();
    for (const char16_t* N : Names) Grid->Columns()->Add()->SetFieldName(N);
  }

  std::string Export(TDBGridZkExportClass Class, bool All = true) {
    TMemoryStream S;
    RunGridExporter(Class, Grid, &S, All);
    S.SetPosition(0);
    return ReadRestOfStream(&S);
  }

  void Import(TDBGridZkImportClass Class, const std::string& Bytes, bool All = false) {
    TMemoryStream S;
    S.WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
    S.SetPosition(0);
    RunGridImporter(Class, Grid, &S, All);
  }

  // Every row's values (or those of the fields at Only) as text, "|"-joined, rows by "\n": a
  // digest of the table.
  std::string Digest(std::vector<std::size_t> Only = {}) {
    std::string Out;
    for (int R = 0; R < Set->RowCount(); ++R) {
      const std::vector<Variant>& Row = Set->Row(R);
      for (std::size_t I = 0; I < Row.size(); ++I) {
        if (!Only.empty() && std::find(Only.begin(), Only.end(), I) == Only.end()) continue;
        Out += (Row[I].IsNull() ? std::string("<null>") : StringToUtf8(VarToStr(Row[I]))) + "|";
      }
      Out += "\n";
    }
    return Out;
  }
};

inline std::string Utf16Bytes(const String& Text) {
  return std::string(reinterpret_cast<const char*>(Text.data()), Text.size() * 2);
}
