// BlobStream.h - TBlobStream: a stream over the bytes of a blob or memo field of the record the
// dataset's state selects, what TDataSet::CreateBlobStream returns (the caller frees it).
//
// The bytes are those of the field's value: a blob's value holds one byte per character
// (TBlobField::AsBytes), a memo's text travels as UTF-8, a wide memo's as UTF-16LE. Opening for
// writing needs the dataset in edit or insert mode; bmWrite empties the field first. Every
// write or size change is stored into the field at once, so the field (and its OnChange) sees
// the new value without waiting for the stream to be freed.
#pragma once

#include "platform/classes/Streams.h"
#include "platform/db/DBConsts.h"

class TField;

class TBlobStream : public TMemoryStream {
public:
  TBlobStream(TField* Field, TBlobStreamMode Mode);

  Int64 Write(const void* Buffer, Int64 Count) override;
  void SetSize(Int64 NewSize) override;

private:
  void Store();

  TField* FField;
  TBlobStreamMode FMode;
  bool FLoaded = false;  // the field's bytes are in; writes from here on are the caller's
};
