// Tests of the checked handle registry.
#include "platform/rtl/Handles.h"

#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"

namespace {

String MessageOf(const std::function<void()>& Action) {
  try {
    Action();
  } catch (const EHandleError& E) {
    return E.Message();
  }
  return u"(no exception)";
}

}  // namespace

TEST(Handles, RegisterLookupRelease) {
  THandleRegistry Registry;
  int Font = 0, List = 0;
  const TObjectHandle H1 = Registry.Register(&Font, "TFont");
  const TObjectHandle H2 = Registry.Register(&List, "TStringList");
  EXPECT_EQ(static_cast<std::uint64_t>(H1), THandleRegistry::FirstHandle);
  EXPECT_NE(H1, H2);
  EXPECT_EQ(Registry.Register(&Font, "TFont"), H1);  // one object, one handle
  EXPECT_EQ(Registry.Lookup(H1, "TFont"), &Font);
  EXPECT_EQ(Registry.LookupAs<int>(H2, "TStringList"), &List);
  EXPECT_EQ(Registry.HandleOf(&List), H2);
  EXPECT_EQ(Registry.TypeTagOf(H2), "TStringList");

  Registry.Release(H1);
  EXPECT_FALSE(Registry.IsValid(H1));
  EXPECT_EQ(Registry.Find(H1), nullptr);
  // A released object registered again gets a fresh handle: handles are never reused.
  const TObjectHandle H3 = Registry.Register(&Font, "TFont");
  EXPECT_GT(static_cast<std::uint64_t>(H3), static_cast<std::uint64_t>(H2));
  Registry.ReleaseObject(&List);
  Registry.ReleaseObject(&List);  // harmless twice
  EXPECT_EQ(Registry.Count(), 1u);
}

TEST(Handles, BadHandlesRaiseClearErrors) {
  THandleRegistry Registry;
  int Font = 0;
  const TObjectHandle H = Registry.Register(&Font, "TFont");
  const auto Number = static_cast<std::uint64_t>(H);
  struct Case {
    const char* Name;
    std::function<void()> Action;
    String Message;
  } Cases[] = {
      {"nil", [&] { Registry.Lookup(TObjectHandle::Nil); }, u"Object handle is nil"},
      {"small integer", [&] { Registry.Lookup(TObjectHandle{5}); }, u"Invalid object handle 5"},
      {"never issued", [&] { Registry.Lookup(TObjectHandle{Number + 100}, "TFont"); },
       u"Invalid object handle 65636"},
      {"wrong type", [&] { Registry.Lookup(H, "TStringList"); },
       u"Object handle 65536 refers to a TFont, not a TStringList"},
      {"released", [&] { Registry.Release(H); Registry.Lookup(H, "TFont"); },
       u"Object handle 65536 refers to a released object"},
      {"released twice", [&] { Registry.Release(H); },
       u"Object handle 65536 refers to a released object"},
      {"nil object", [&] { Registry.Register(nullptr, "TFont"); }, u"Cannot register a nil object"},
  };
  for (const Case& C : Cases) EXPECT_EQ(MessageOf(C.Action), C.Message) << C.Name;
}

TEST(Handles, TypeCompatibilityHookAllowsDescendants) {
  THandleRegistry Registry;
  int List = 0;
  const TObjectHandle H = Registry.Register(&List, "TStringList");
  Registry.SetTypeCompatibility([](std::string_view Registered, std::string_view Requested) {
    return Registered == "TStringList" && Requested == "TStrings";
  });
  EXPECT_EQ(Registry.Lookup(H, "TStrings"), &List);
  EXPECT_THROW(Registry.Lookup(H, "TFont"), EHandleError);
}

TEST(Handles, DefaultRegistryIsOneInstance) {
  EXPECT_EQ(&DefaultHandleRegistry(), &DefaultHandleRegistry());
}
