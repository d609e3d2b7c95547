// Handles.cpp - the checked handle registry.
#include "platform/rtl/Handles.h"

#include <string>

#include "platform/rtl/Exceptions.h"

namespace {

String HandleText(TObjectHandle Handle) {
  return Utf8ToString(std::to_string(static_cast<std::uint64_t>(Handle)));
}

[[noreturn]] void RaiseNil() { throw EHandleError(u"Object handle is nil"); }

[[noreturn]] void RaiseUnknown(TObjectHandle Handle) {
  throw EHandleError(u"Invalid object handle " + HandleText(Handle));
}

[[noreturn]] void RaiseReleased(TObjectHandle Handle) {
  throw EHandleError(u"Object handle " + HandleText(Handle) + u" refers to a released object");
}

[[noreturn]] void RaiseWrongType(TObjectHandle Handle, std::string_view Registered,
                                 std::string_view Requested) {
  throw EHandleError(u"Object handle " + HandleText(Handle) + u" refers to a " +
                     Utf8ToString(Registered) + u", not a " + Utf8ToString(Requested));
}

}  // namespace

THandleRegistry::THandleRegistry() = default;
THandleRegistry::~THandleRegistry() = default;

TObjectHandle THandleRegistry::Register(void* Object, std::string_view TypeTag) {
  if (Object == nullptr) throw EHandleError(u"Cannot register a nil object");
  auto Known = FByObject.find(Object);
  if (Known != FByObject.end()) {
    TEntry& Entry = FEntries.at(Known->second);
    if (Entry.TypeTag == TypeTag) return TObjectHandle{Known->second};
    // Same address under another type: the old object is gone and its memory reused.
    FEntries.erase(Known->second);
    FByObject.erase(Known);
  }
  const std::uint64_t Handle = FNext++;
  FEntries.emplace(Handle, TEntry{Object, std::string(TypeTag)});
  FByObject.emplace(Object, Handle);
  return TObjectHandle{Handle};
}

const THandleRegistry::TEntry& THandleRegistry::Checked(TObjectHandle Handle) const {
  const auto Value = static_cast<std::uint64_t>(Handle);
  if (Value == 0) RaiseNil();
  auto It = FEntries.find(Value);
  if (It != FEntries.end()) return It->second;
  if (Value >= FirstHandle && Value < FNext) RaiseReleased(Handle);
  RaiseUnknown(Handle);
}

void THandleRegistry::Release(TObjectHandle Handle) {
  const TEntry& Entry = Checked(Handle);
  FByObject.erase(Entry.Object);
  FEntries.erase(static_cast<std::uint64_t>(Handle));
}

void THandleRegistry::ReleaseObject(const void* Object) noexcept {
  auto It = FByObject.find(Object);
  if (It == FByObject.end()) return;
  FEntries.erase(It->second);
  FByObject.erase(It);
}

void* THandleRegistry::Lookup(TObjectHandle Handle, std::string_view TypeTag) const {
  const TEntry& Entry = Checked(Handle);
  if (Entry.TypeTag == TypeTag) return Entry.Object;
  if (FTypeCompatibility && FTypeCompatibility(Entry.TypeTag, TypeTag)) return Entry.Object;
  RaiseWrongType(Handle, Entry.TypeTag, TypeTag);
}

void* THandleRegistry::Lookup(TObjectHandle Handle) const { return Checked(Handle).Object; }

const std::string& THandleRegistry::TypeTagOf(TObjectHandle Handle) const {
  return Checked(Handle).TypeTag;
}

bool THandleRegistry::IsValid(TObjectHandle Handle) const noexcept {
  return FEntries.count(static_cast<std::uint64_t>(Handle)) != 0;
}

void* THandleRegistry::Find(TObjectHandle Handle) const noexcept {
  auto It = FEntries.find(static_cast<std::uint64_t>(Handle));
  return It == FEntries.end() ? nullptr : It->second.Object;
}

TObjectHandle THandleRegistry::HandleOf(const void* Object) const noexcept {
  auto It = FByObject.find(Object);
  return It == FByObject.end() ? TObjectHandle::Nil : TObjectHandle{It->second};
}

THandleRegistry& DefaultHandleRegistry() {
  static THandleRegistry Registry;
  return Registry;
}
