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
// What every editor publishes; the plain edit and the combo box add the text properties the
// date-time and number edits leave out.
REGISTER_CLASS(TCustomDBEditZk) {
  Class.Property("Alignment", &TCustomDBEditZk::Alignment, &TCustomDBEditZk::SetAlignment)
      .Stored(&TCustomDBEditZk::IsAlignmentStored)
      .Property("AlwaysShowBorder", &TCustomDBEditZk::AlwaysShowBorder,
                &TCustomDBEditZk::SetAlwaysShowBorder, false)
      .Property("DataField", &TCustomDBEditZk::DataField, &TCustomDBEditZk::SetDataField)
      .Property("DataSource", &TCustomDBEditZk::DataSource, &TCustomDBEditZk::SetDataSource)
      .Property("EditButtons", &TCustomDBEditZk::EditButtons, &TCustomDBEditZk::SetEditButtons)
      .Property("Flat", &TCustomDBEditZk::Flat, &TCustomDBEditZk::SetFlat, false)
      .Property("HighlightRequired", &TCustomDBEditZk::HighlightRequired,
                &TCustomDBEditZk::SetHighlightRequired, false)
      .Property("Images", &TCustomDBEditZk::Images, &TCustomDBEditZk::SetImages)
      .Property("MRUList", &TCustomDBEditZk::MRUList, &TCustomDBEditZk::SetMRUList)
      .Property("ReadOnly", &TCustomDBEditZk::ReadOnly, &TCustomDBEditZk::SetReadOnly, false)
      .Property("ShowHint", &TCustomDBEditZk::ShowHint, &TCustomDBEditZk::SetShowHint, false)
      .Property("Tooltips", &TCustomDBEditZk::Tooltips, &TCustomDBEditZk::SetTooltips, false)
      .Property("OnCheckDrawRequiredState", &TCustomDBEditZk::OnCheckDrawRequiredState,
                &TCustomDBEditZk::SetOnCheckDrawRequiredState)
      .Property("OnGetImageIndex", &TCustomDBEditZk::OnGetImageIndex,
                &TCustomDBEditZk::SetOnGetImageIndex)
      .Property("OnUpdateData", &TCustomDBEditZk::OnUpdateData, &TCustomDBEditZk::SetOnUpdateData);
}

REGISTER_CLASS(TDBEditZk) {
  Class.Property("EditMask", &TDBEditZk::EditMask, &TDBEditZk::SetEditMask)
      .Stored(&TDBEditZk::IsEditMaskStored)
      .Property("Text", &TDBEditZk::Text, &TDBEditZk::SetText)
      .Stored(&TDBEditZk::IsTextStored)
      .Property("WantReturns", &TDBEditZk::WantReturns, &TDBEditZk::SetWantReturns, false)
      .Property("WantTabs", &TDBEditZk::WantTabs, &TDBEditZk::SetWantTabs, false)
      .Property("WordWrap", &TDBEditZk::WordWrap, &TDBEditZk::SetWordWrap, false);
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

REGISTER_CLASS(TDropDownBoxZk) {
  Class.Property("Align", &TDropDownBoxZk::Align, &TDropDownBoxZk::SetAlign, daLeft)
      .Property("AutoDrop", &TDropDownBoxZk::AutoDrop, &TDropDownBoxZk::SetAutoDrop, false)
      .Property("Rows", &TDropDownBoxZk::Rows, &TDropDownBoxZk::SetRows, 7)
      .Property("Sizable", &TDropDownBoxZk::Sizable, &TDropDownBoxZk::SetSizable, false)
      .Property("Width", &TDropDownBoxZk::Width, &TDropDownBoxZk::SetWidth, 0);
}

REGISTER_CLASS(TCustomDBComboBoxZk) {}

REGISTER_CLASS(TDBComboBoxZk) {
  Class.Property("EditMask", &TDBComboBoxZk::EditMask, &TDBComboBoxZk::SetEditMask)
      .Stored(&TDBComboBoxZk::IsEditMaskStored)
      .Property("Text", &TDBComboBoxZk::Text, &TDBComboBoxZk::SetText)
      .Stored(&TDBComboBoxZk::IsTextStored)
      .Property("WordWrap", &TDBComboBoxZk::WordWrap, &TDBComboBoxZk::SetWordWrap, false)
      .Property("DropDownBox", &TDBComboBoxZk::DropDownBox, &TDBComboBoxZk::SetDropDownBox)
      .Property("EditButton", &TDBComboBoxZk::EditButton, &TDBComboBoxZk::SetEditButton)
      .Property("Items", &TDBComboBoxZk::Items, &TDBComboBoxZk::SetItems)
      .Property("KeyItems", &TDBComboBoxZk::KeyItems, &TDBComboBoxZk::SetKeyItems)
      .Property("OnButtonClick", &TDBComboBoxZk::OnButtonClick, &TDBComboBoxZk::SetOnButtonClick)
      .Property("OnButtonDown", &TDBComboBoxZk::OnButtonDown, &TDBComboBoxZk::SetOnButtonDown)
      .Property("OnCloseUp", &TDBComboBoxZk::OnCloseUp, &TDBComboBoxZk::SetOnCloseUp)
      .Property("OnDropDown", &TDBComboBoxZk::OnDropDown, &TDBComboBoxZk::SetOnDropDown)
      .Property("OnGetItemImageIndex", &TDBComboBoxZk::OnGetItemImageIndex,
                &TDBComboBoxZk::SetOnGetItemImageIndex)
      .Property("OnNotInList", &TDBComboBoxZk::OnNotInList, &TDBComboBoxZk::SetOnNotInList);
}

REGISTER_CLASS(TCustomDBCheckBoxZk) {}

REGISTER_CLASS(TDBCheckBoxZk) {
  Class.Property("Alignment", &TDBCheckBoxZk::Alignment, &TDBCheckBoxZk::SetAlignment,
                 taRightJustify)
      .Property("AllowGrayed", &TDBCheckBoxZk::AllowGrayed, &TDBCheckBoxZk::SetAllowGrayed, false)
      .Property("AlwaysShowBorder", &TDBCheckBoxZk::AlwaysShowBorder,
                &TDBCheckBoxZk::SetAlwaysShowBorder, false)
      .Property("Checked", &TDBCheckBoxZk::Checked, &TDBCheckBoxZk::SetChecked).Stored(false)
      .Property("DataField", &TDBCheckBoxZk::DataField, &TDBCheckBoxZk::SetDataField)
      .Property("DataSource", &TDBCheckBoxZk::DataSource, &TDBCheckBoxZk::SetDataSource)
      .Property("Flat", &TDBCheckBoxZk::Flat, &TDBCheckBoxZk::SetFlat, false)
      .Property("ReadOnly", &TDBCheckBoxZk::ReadOnly, &TDBCheckBoxZk::SetReadOnly, false)
      .Property("State", &TDBCheckBoxZk::State, &TDBCheckBoxZk::SetState)
      .Stored(&TDBCheckBoxZk::IsStateStored)
      .Property("ValueChecked", &TDBCheckBoxZk::ValueChecked, &TDBCheckBoxZk::SetValueChecked,
                u"True")
      .Property("ValueUnchecked", &TDBCheckBoxZk::ValueUnchecked,
                &TDBCheckBoxZk::SetValueUnchecked, u"False")
      .Property("OnUpdateData", &TDBCheckBoxZk::OnUpdateData, &TDBCheckBoxZk::SetOnUpdateData);
}

void RegisterDBCtrlsZkClasses() {
  RegisterClasses({TDBEditZk::ClassInfo(), TDBNumberEditZk::ClassInfo(),
                   TDBDateTimeEditZk::ClassInfo(), TDBComboBoxZk::ClassInfo(),
                   TDBCheckBoxZk::ClassInfo()});
}
