// DBGridZkInterceptors.h - the storage interceptors of the data grid's columns: a property store
// saves and restores a column's width and a column collection's order through them.
#pragma once

#include "gridlib/toolkit/PropFilerZk.h"
#include "platform/rtl/Types.h"

class TColumnZk;
class TDBGridColumnsZk;

// A column's width: restored into the auto-fit base width while the grid auto-fits its columns.
class TColumnZkPropertyInterceptor : public TStoragePropertyInterceptor {
  VORENTA_CLASS(TColumnZkPropertyInterceptor, TStoragePropertyInterceptor)
public:
  explicit TColumnZkPropertyInterceptor(TObject* ATarget) : TStoragePropertyInterceptor(ATarget) {}
  int Width() const;
  void SetWidth(int Value);

private:
  TColumnZk* Column() const;
};

// A collection's column order as the quoted, comma-separated field names of its columns.
class TColumnsZkPropertyInterceptor : public TStoragePropertyInterceptor {
  VORENTA_CLASS(TColumnsZkPropertyInterceptor, TStoragePropertyInterceptor)
public:
  explicit TColumnsZkPropertyInterceptor(TObject* ATarget)
      : TStoragePropertyInterceptor(ATarget) {}
  String ColumnsIndex() const;
  // Moves the first column named by item i (exact case) to index i; unknown names move nothing.
  void SetColumnsIndex(const String& Value);

private:
  TDBGridColumnsZk* Columns() const;
  String FColumnsIndex;
};

// Registers both interceptors with the toolkit's interceptor registry.
void RegisterDBGridZkInterceptors();
