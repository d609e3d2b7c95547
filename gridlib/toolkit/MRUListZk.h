// MRUListZk.h - an editor's list of most recently used texts: the end of Items is the most
// recent one; Limit caps the count, dropping the oldest.
#pragma once

#include <functional>
#include <memory>

#include "platform/classes/Strings.h"

class TMRUListZk : public TPersistent {
  VORENTA_CLASS(TMRUListZk, TPersistent)
public:
  explicit TMRUListZk(TPersistent* AOwner = nullptr);
  ~TMRUListZk() override;

  // Nothing for a text that is blank once trimmed. An equal entry (case-insensitive unless
  // CaseSensitive) moves to the end, keeping its stored text; a new one is appended.
  void Add(const String& S);
  // Fills FilteredItems with the items starting with MaskText (OnFilterItem has the last word).
  // False when a key press waiting in the queue interrupted it (with CancelIfKeyInQueue): the
  // list then holds the items accepted so far.
  bool FilterItemsTo(TStrings* FilteredItems, const String& MaskText);
  void Assign(TPersistent* Source) override;
  virtual void CloseUp(bool Accept);
  virtual void DropDown();

  bool Active() const { return FActive; }
  void SetActive(bool Value);
  bool AutoAdd() const { return FAutoAdd; }
  void SetAutoAdd(bool Value) { FAutoAdd = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value) { FCaseSensitive = Value; }
  TStrings* Items() const { return FItems.get(); }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  int Limit() const { return FLimit; }
  void SetLimit(int Value);
  int Rows() const { return FRows; }
  void SetRows(int Value) { FRows = Value; }
  int Width() const { return FWidth; }
  void SetWidth(int Value) { FWidth = Value; }
  bool DroppedDown() const { return FDroppedDown; }
  void SetDroppedDown(bool Value) { FDroppedDown = Value; }
  bool CancelIfKeyInQueue() const { return FCancelIfKeyInQueue; }
  void SetCancelIfKeyInQueue(bool Value) { FCancelIfKeyInQueue = Value; }

  using TNotifyEvent = std::function<void(TObject* Sender)>;
  using TFilterMRUItemEventZk = std::function<void(TObject* Sender, bool& Accept)>;
  using TSetCloseUpEventZk = std::function<void(TObject* Sender, bool Accept)>;
  using TSetDropDownEventZk = std::function<void(TObject* Sender)>;
  void SetOnActiveChanged(TNotifyEvent Value) { FOnActiveChanged = std::move(Value); }
  void SetOnFilterItem(TFilterMRUItemEventZk Value) { FOnFilterItem = std::move(Value); }
  void SetOnSetCloseUp(TSetCloseUpEventZk Value) { FOnSetCloseUp = std::move(Value); }
  void SetOnSetDropDown(TSetDropDownEventZk Value) { FOnSetDropDown = std::move(Value); }

protected:
  TPersistent* GetOwner() const override { return FOwner; }

private:
  int Compare(std::u16string_view A, std::u16string_view B) const;
  void TrimToLimit();

  bool FActive = false;
  bool FAutoAdd = true;
  bool FCaseSensitive = false;
  std::unique_ptr<TStringList> FItems;
  int FLimit = 100;
  int FRows = 7;
  int FWidth = 0;
  bool FCancelIfKeyInQueue = true;
  bool FDroppedDown = false;
  TPersistent* FOwner;
  TNotifyEvent FOnActiveChanged;
  TFilterMRUItemEventZk FOnFilterItem;
  TSetCloseUpEventZk FOnSetCloseUp;
  TSetDropDownEventZk FOnSetDropDown;
};
