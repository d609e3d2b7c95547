// ks_ievents.cpp - the event adapters of controls and forms.
#include "scriptui/ks_ievents.h"

#include <algorithm>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Controls.h"
#include "platform/controls/Forms.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Variants.h"

namespace {

Variant Shift(TShiftState S) { return Variant(static_cast<int>(S.Bits() & 0xFF)); }

// An adapter whose handler has the signature Sig and converts the event's arguments with
// Call(adapter, args...).
template <class Sig, class Call>
class TAdapter : public TksCustomEvent {
public:
  TAdapter(TObject* O, TksProcVariable* P) : TksCustomEvent(O, P) {}
  std::any GetMethod() override {
    std::shared_ptr<TksCustomEvent> Self = shared_from_this();
    return std::function<Sig>(TBoundMethod<Sig>(ProcName(), [Self, this](auto&&... Args) {
      Call()(*this, std::forward<decltype(Args)>(Args)...);
    }));
  }
  bool Run(std::vector<Variant>& Args) { return CallHandler(Args); }
};

struct TMouseCall {
  template <class A>
  void operator()(A& Ad, TObject* Sender, TMouseButton Button, TShiftState S, int X, int Y) const {
    std::vector<Variant> Args{ksObjectToVariant(Sender), Variant(static_cast<int>(Button)), Shift(S), Variant(X),
                              Variant(Y)};
    Ad.Run(Args);
  }
};
struct TMouseMoveCall {
  template <class A>
  void operator()(A& Ad, TObject* Sender, TShiftState S, int X, int Y) const {
    std::vector<Variant> Args{ksObjectToVariant(Sender), Shift(S), Variant(X), Variant(Y)};
    Ad.Run(Args);
  }
};
struct TKeyCall {
  template <class A>
  void operator()(A& Ad, TObject* Sender, Word& Key, TShiftState S) const {
    std::vector<Variant> Args{ksObjectToVariant(Sender), Variant(static_cast<int>(Key)), Shift(S)};
    if (!Ad.Run(Args)) return;
    Int64 K = Args[1].AsInt64();
    if (K < 0 || K > 65535) throw ERangeError(u"Range check error");
    Key = static_cast<Word>(K);
  }
};
struct TKeyPressCall {
  template <class A>
  void operator()(A& Ad, TObject* Sender, Char& Key) const {
    std::vector<Variant> Args{ksObjectToVariant(Sender), Variant(String(1, Key))};
    if (!Ad.Run(Args)) return;
    String K = VarToStr(Args[1]);
    Key = K.empty() ? Char(0) : K[0];
  }
};
struct TCloseCall {
  template <class A>
  void operator()(A& Ad, TObject* Sender, TCloseAction& Action) const {
    std::vector<Variant> Args{ksObjectToVariant(Sender), Variant(static_cast<int>(Action))};
    if (!Ad.Run(Args)) return;
    int V = Args[1].AsInteger();
    if (V < caNone || V > caMinimize) throw ERangeError(u"Range check error");
    Action = static_cast<TCloseAction>(V);
  }
};
struct TCloseQueryCall {
  template <class A>
  void operator()(A& Ad, TObject* Sender, bool& CanClose) const {
    std::vector<Variant> Args{ksObjectToVariant(Sender), Variant(CanClose)};
    if (Ad.Run(Args)) CanClose = Args[1].AsBoolean();
  }
};
struct TCanResizeCall {
  template <class A>
  void operator()(A& Ad, TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize) const {
    std::vector<Variant> Args{ksObjectToVariant(Sender), Variant(NewWidth), Variant(NewHeight), Variant(Resize)};
    if (!Ad.Run(Args)) return;
    NewWidth = Args[1].AsInteger();
    NewHeight = Args[2].AsInteger();
    Resize = Args[3].AsBoolean();
  }
};

template <class Sig, class Call>
std::shared_ptr<TksCustomEvent> Make(TObject* O, TksProcVariable* P) {
  return std::make_shared<TAdapter<Sig, Call>>(O, P);
}

using TCanResizeSig = void(TObject*, int&, int&, bool&);

const TksEventClassInfo kMouse{u"TksMouseEvent", 5, Make<void(TObject*, TMouseButton, TShiftState, int, int), TMouseCall>};
const TksEventClassInfo kMouseMove{u"TksMouseMoveEvent", 4, Make<void(TObject*, TShiftState, int, int), TMouseMoveCall>};
const TksEventClassInfo kKey{u"TksKeyEvent", 3, Make<void(TObject*, Word&, TShiftState), TKeyCall>};
const TksEventClassInfo kKeyPress{u"TksKeyPressEvent", 2, Make<void(TObject*, Char&), TKeyPressCall>};
const TksEventClassInfo kClose{u"TksCloseEvent", 2, Make<void(TObject*, TCloseAction&), TCloseCall>};
const TksEventClassInfo kCloseQuery{u"TksCloseQueryEvent", 2, Make<void(TObject*, bool&), TCloseQueryCall>};
const TksEventClassInfo kCanResize{u"TksCanResizeEvent", 4, Make<TCanResizeSig, TCanResizeCall>};

}  // namespace

TksEventClass ksMouseEventClass() { return &kMouse; }
TksEventClass ksMouseMoveEventClass() { return &kMouseMove; }
TksEventClass ksKeyEventClass() { return &kKey; }
TksEventClass ksKeyPressEventClass() { return &kKeyPress; }
TksEventClass ksCloseEventClass() { return &kClose; }
TksEventClass ksCloseQueryEventClass() { return &kCloseQuery; }
TksEventClass ksCanResizeEventClass() { return &kCanResize; }

void ksRegisterEventAdapters() {
  std::vector<TksEventClass>& List = ksEventClasses();
  for (TksEventClass E : {&kMouse, &kMouseMove, &kKey, &kKeyPress, &kClose, &kCloseQuery, &kCanResize})
    if (std::find(List.begin(), List.end(), E) == List.end()) List.push_back(E);
}
