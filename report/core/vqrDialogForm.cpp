// vqrDialogForm.cpp - the dialog page's window.
#include "report/core/vqrDialogForm.h"

#include "platform/classes/TypeRegistry.h"

REGISTER_CLASS(TvqrDialogForm) {}

namespace {

constexpr int ThreadSafeTag = 318;

}  // namespace

TvqrDialogForm::TvqrDialogForm(TComponent* AOwner)
    : TForm(nullptr), FThreadSafe(AOwner && AOwner->Tag() == ThreadSafeTag) {
  SetCaption(u" ");
  SetClientSize(115, 59);
  Font()->SetName(u"Tahoma");
  Font()->SetHeight(-11);
  SetKeyPreview(true);
  SetOnCloseQuery([](TObject*, bool& CanClose) { CanClose = false; });
}

void TvqrDialogForm::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_GETDLGCODE) {
    Message.Result = DLGC_WANTARROWS | DLGC_WANTTAB;
    return;
  }
  TForm::Dispatch(Message);
  if (Message.Msg == WM_EXITSIZEMOVE && FOnModify) FOnModify(this);
}
