// Handles.h - checked handles for objects that travel as integers.
//
// Script values and report objects refer to host objects by number, never by address. A
// THandleRegistry hands out a 64-bit handle for an object pointer and its type tag (the class
// name), and every use of a handle goes through a checked lookup: an unknown handle, a handle
// whose object was released, or a handle of another type raises EHandleError with a message
// naming the handle; nothing ever dereferences a guessed number.
//
// Handles come from a counter that starts at FirstHandle and only grows, so a released handle
// is never given out again and small integers (0..FirstHandle-1) are never valid. 0 is the nil
// handle. The registry is not thread-safe: like the messages and timers, it lives on the
// user-interface thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

// A handle as it travels inside a Variant or a script value; TObjectHandle::Nil is no object.
enum class TObjectHandle : std::uint64_t { Nil = 0 };

class THandleRegistry {
public:
  static constexpr std::uint64_t FirstHandle = 0x10000;

  // Says whether an object registered with type tag Registered may be used as Requested, e.g.
  // through class inheritance. The default accepts equal tags only.
  using TTypeCompatibility =
      std::function<bool(std::string_view Registered, std::string_view Requested)>;

  THandleRegistry();
  ~THandleRegistry();
  THandleRegistry(const THandleRegistry&) = delete;
  THandleRegistry& operator=(const THandleRegistry&) = delete;

  // --- Registering and releasing ---------------------------------------------------------
  // A new handle for Object (not null). An object registered again under the same tag gets
  // its existing handle back, so one object has one handle while it lives.
  TObjectHandle Register(void* Object, std::string_view TypeTag);
  // Forgets the handle; later lookups of it raise "released". Raises for an unknown handle.
  void Release(TObjectHandle Handle);
  // Forgets every handle of Object (an object's destructor calls this); unknown objects are
  // ignored, so a destructor may call it unconditionally.
  void ReleaseObject(const void* Object) noexcept;

  // --- Checked lookups -------------------------------------------------------------------
  // The object of Handle, checked for existence and for type compatibility with TypeTag.
  void* Lookup(TObjectHandle Handle, std::string_view TypeTag) const;
  // The object of Handle, checked for existence only.
  void* Lookup(TObjectHandle Handle) const;
  template <class T>
  T* LookupAs(TObjectHandle Handle, std::string_view TypeTag) const {
    return static_cast<T*>(Lookup(Handle, TypeTag));
  }
  // The type tag the handle was registered with (raises like Lookup).
  const std::string& TypeTagOf(TObjectHandle Handle) const;

  // --- Queries that never raise ----------------------------------------------------------
  bool IsValid(TObjectHandle Handle) const noexcept;
  void* Find(TObjectHandle Handle) const noexcept;  // nullptr when unknown or released
  TObjectHandle HandleOf(const void* Object) const noexcept;  // Nil when not registered
  std::size_t Count() const noexcept { return FEntries.size(); }

  void SetTypeCompatibility(TTypeCompatibility Value) { FTypeCompatibility = std::move(Value); }

private:
  struct TEntry {
    void* Object;
    std::string TypeTag;
  };
  const TEntry& Checked(TObjectHandle Handle) const;

  std::unordered_map<std::uint64_t, TEntry> FEntries;
  std::unordered_map<const void*, std::uint64_t> FByObject;
  std::uint64_t FNext = FirstHandle;
  TTypeCompatibility FTypeCompatibility;
};

// The process-wide registry that scripts and reports share.
THandleRegistry& DefaultHandleRegistry();
