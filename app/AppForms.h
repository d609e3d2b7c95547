// AppForms.h - reading a window's (or the data module's) form text from the program's resources
// and finding the components it made, by name and class.
#pragma once

#include <functional>
#include <type_traits>

#include "platform/classes/Component.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Exceptions.h"

// Reads the form text Resource ("forms/SA_Main.dfm") into Root.
void ReadAppForm(TComponent* Root, const char* Resource);

// Raises EComponentError: Root's form has no component Name of the class Expected.
[[noreturn]] void MissingFormComponent(TComponent* Root, const String& Name,
                                       const String& Expected);

// Root's component Name as a T.
template <class T>
T* FindFormComponent(TComponent* Root, const String& Name) {
  auto* Found = dynamic_cast<T*>(Root->FindComponent(Name));
  if (!Found) MissingFormComponent(Root, Name, T::ClassInfo()->Name());
  return Found;
}

// Finds the member N (a pointer to a component class) by its own name in Root.
#define VORENTA_FORM_FIND(Root, N) \
  N = FindFormComponent<std::remove_pointer_t<decltype(N)>>(Root, u## #N)

class TWinControl;
// Return in Control moves the focus to the next control of its form (the key goes no further).
void FocusNextOnEnter(TWinControl* Control);
// Escape in Control runs Action.
void OnEscape(TWinControl* Control, std::function<void()> Action);
