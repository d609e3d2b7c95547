// AppForms.cpp - form texts from the resources, and the error for a missing component.
#include "app/AppForms.h"

#include "platform/classes/Filer.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Messages.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/SysUtils.h"

void ReadAppForm(TComponent* Root, const char* Resource) {
  TextToComponent(Utf8ToString(LoadResource(Resource)), Root);
}

void MissingFormComponent(TComponent* Root, const String& Name, const String& Expected) {
  throw EComponentError(u"The form " + Root->Name() + u" has no component " + Name +
                        u" of class " + Expected);
}

void FocusNextOnEnter(TWinControl* Control) {
  Control->SetOnKeyPress([Control](TObject*, Char& Key) {
    if (Key != u'\r') return;
    Key = 0;
    if (TCustomForm* Form = GetParentForm(Control)) Form->SelectNext(Control, true, true);
  });
}

void OnEscape(TWinControl* Control, std::function<void()> Action) {
  Control->SetOnKeyDown([Action = std::move(Action)](TObject*, Word& Key, TShiftState) {
    if (Key == VK_ESCAPE) Action();
  });
}
