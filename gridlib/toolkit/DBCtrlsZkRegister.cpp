// DBCtrlsZkRegister.cpp - the published properties of the data-aware editors and the unit's
// class registration.
#include "gridlib/toolkit/DBCtrlsZk.h"

#include "gridlib/toolkit/MRUListZk.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/graphics/ImageList.h"

REGISTER_CLASS(TEditImageZk) {
  Class.Property("Images", &TEditImageZk::Images, &TEditImageZk::SetImages)
      .Property("ImageIndex", &TEditImageZk::ImageIndex, &TEditImageZk::SetImageIndex, -1)
      .Property("Visible", &TEditImageZk::Visible, &TEditImageZk::SetVisible, false)
      .Property("Width", &TEditImageZk::Width, &TEditImageZk::SetWidth, 0)
      .Property("UseImageHeight", &TEditImageZk::UseImageHeight, &TEditImageZk::SetUseImageHeight,
                true);
}

REGISTER_CLASS(TToolTipsWindow) {}
REGISTER_CLASS(TCustomDBEditZk) {}

REGISTER_CLASS(TDBEditZk) {
  Class.Property("Alignment", &TDBEditZk::Alignment, &TDBEditZk::SetAlignment)
      .Stored(&TDBEditZk::IsAlignmentStored)
      .Property("AlwaysShowBorder", &TDBEditZk::AlwaysShowBorder, &TDBEditZk::SetAlwaysShowBorder,
                false)
      .Property("DataField", &TDBEditZk::DataField, &TDBEditZk::SetDataField)
      .Property("DataSource", &TDBEditZk::DataSource, &TDBEditZk::SetDataSource)
      .Property("EditButtons", &TDBEditZk::EditButtons, &TDBEditZk::SetEditButtons)
      .Property("EditMask", &TDBEditZk::EditMask, &TDBEditZk::SetEditMask)
      .Stored(&TDBEditZk::IsEditMaskStored)
      .Property("Flat", &TDBEditZk::Flat, &TDBEditZk::SetFlat, false)
      .Property("HighlightRequired", &TDBEditZk::HighlightRequired,
                &TDBEditZk::SetHighlightRequired, false)
      .Property("Images", &TDBEditZk::Images, &TDBEditZk::SetImages)
      .Property("MRUList", &TDBEditZk::MRUList, &TDBEditZk::SetMRUList)
      .Property("ReadOnly", &TDBEditZk::ReadOnly, &TDBEditZk::SetReadOnly, false)
      .Property("ShowHint", &TDBEditZk::ShowHint, &TDBEditZk::SetShowHint, false)
      .Property("Text", &TDBEditZk::Text, &TDBEditZk::SetText)
      .Stored(&TDBEditZk::IsTextStored)
      .Property("Tooltips", &TDBEditZk::Tooltips, &TDBEditZk::SetTooltips, false)
      .Property("WantReturns", &TDBEditZk::WantReturns, &TDBEditZk::SetWantReturns, false)
      .Property("WantTabs", &TDBEditZk::WantTabs, &TDBEditZk::SetWantTabs, false)
      .Property("WordWrap", &TDBEditZk::WordWrap, &TDBEditZk::SetWordWrap, false)
      .Property("OnCheckDrawRequiredState", &TDBEditZk::OnCheckDrawRequiredState,
                &TDBEditZk::SetOnCheckDrawRequiredState)
      .Property("OnGetImageIndex", &TDBEditZk::OnGetImageIndex, &TDBEditZk::SetOnGetImageIndex)
      .Property("OnUpdateData", &TDBEditZk::OnUpdateData, &TDBEditZk::SetOnUpdateData);
}

REGISTER_CLASS(TCustomDBNumberEditZk) {}

REGISTER_CLASS(TDBNumberEditZk) {
  Class.Property("currency", &TDBNumberEditZk::currency, &TDBNumberEditZk::SetCurrency, false)
      .Stored(&TDBNumberEditZk::IsCurrencyStored)
      .Property("DecimalPlaces", &TDBNumberEditZk::DecimalPlaces,
                &TDBNumberEditZk::SetDecimalPlaces, 2u)
      .Property("DisplayFormat", &TDBNumberEditZk::DisplayFormat,
                &TDBNumberEditZk::SetDisplayFormat)
      .Stored(&TDBNumberEditZk::IsDisplayFormatStored)
      .Property("Increment", &TDBNumberEditZk::Increment, &TDBNumberEditZk::SetIncrement)
      .Stored(&TDBNumberEditZk::IsIncrementStored)
      .Property("MaxValue", &TDBNumberEditZk::MaxValue, &TDBNumberEditZk::SetMaxValue)
      .Stored(&TDBNumberEditZk::IsMaxValueStored)
      .Property("MinValue", &TDBNumberEditZk::MinValue, &TDBNumberEditZk::SetMinValue)
      .Stored(&TDBNumberEditZk::IsMinValueStored)
      .Property("Value", &TDBNumberEditZk::Value, &TDBNumberEditZk::SetValue)
      .Stored(&TDBNumberEditZk::IsValueStored)
      .Property("EditButton", &TDBNumberEditZk::EditButton, &TDBNumberEditZk::SetEditButton)
      .Property("OnButtonClick", &TDBNumberEditZk::OnButtonClick, &TDBNumberEditZk::SetOnButtonClick)
      .Property("OnButtonDown", &TDBNumberEditZk::OnButtonDown, &TDBNumberEditZk::SetOnButtonDown)
      .Property("OnCloseUp", &TDBNumberEditZk::OnCloseUp, &TDBNumberEditZk::SetOnCloseUp)
      .Property("OnDropDown", &TDBNumberEditZk::OnDropDown, &TDBNumberEditZk::SetOnDropDown);
}

REGISTER_CLASS(TCustomDBDateTimeEditZk) {}

REGISTER_CLASS(TDBDateTimeEditZk) {
  Class.Property("Kind", &TDBDateTimeEditZk::Kind, &TDBDateTimeEditZk::SetKind)
      .Stored(&TDBDateTimeEditZk::IsKindStored)
      .Property("EditFormat", &TDBDateTimeEditZk::EditFormat, &TDBDateTimeEditZk::SetEditFormat)
      .Stored(&TDBDateTimeEditZk::IsEditFormatStored)
      .Property("Value", &TDBDateTimeEditZk::Value, &TDBDateTimeEditZk::SetValue)
      .Stored(&TDBDateTimeEditZk::IsValueStored)
      .Property("EditButton", &TDBDateTimeEditZk::EditButton, &TDBDateTimeEditZk::SetEditButton)
      .Property("OnButtonClick", &TDBDateTimeEditZk::OnButtonClick,
                &TDBDateTimeEditZk::SetOnButtonClick)
      .Property("OnButtonDown", &TDBDateTimeEditZk::OnButtonDown,
                &TDBDateTimeEditZk::SetOnButtonDown)
      .Property("OnCloseUp", &TDBDateTimeEditZk::OnCloseUp, &TDBDateTimeEditZk::SetOnCloseUp)
      .Property("OnDropDown", &TDBDateTimeEditZk::OnDropDown, &TDBDateTimeEditZk::SetOnDropDown);
}

void RegisterDBCtrlsZkClasses() {
  RegisterClasses({TDBEditZk::ClassInfo(), TDBNumberEditZk::ClassInfo(),
                   TDBDateTimeEditZk::ClassInfo()});
}
