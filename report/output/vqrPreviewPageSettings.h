// vqrPreviewPageSettings.h - TvqrPageSettingsForm: paper size, width and height, orientation
// and margins of one prepared page, in the unit the user works in, applied to the current page
// or to all pages. The current printer's papers fill the size list, and its layout paper
// follows the dialog.
#pragma once

#include "platform/controls/Forms.h"
#include "report/core/vqrClassPages.h"

class TButton;
class TComboBox;
class TEdit;
class TGroupBox;
class TImage;
class TLabel;
class TRadioButton;
class TvqrReport;

VORENTA_ENUM(TvqrDesignerUnits, duCM, duInches, duPixels, duChars);

class TvqrPageSettingsForm : public TForm {
  VORENTA_CLASS(TvqrPageSettingsForm, TForm)
public:
  explicit TvqrPageSettingsForm(TComponent* AOwner);

  TvqrReportPage* Page = nullptr;
  TvqrReport* Report = nullptr;
  bool NeedRebuild() const;
  TvqrDesignerUnits Units() const { return FUnits; }

  // A paper picked or the orientation changed: the printer's paper fills width and height.
  void SizeCBClick();
  void PortraitRBClick();
  // Width or height typed: the custom entry is selected.
  void WidthEChange();

  TGroupBox *SizeL = nullptr, *OrientationL = nullptr, *MarginsL = nullptr, *OtherL = nullptr;
  TComboBox* SizeCB = nullptr;
  TLabel *WidthL = nullptr, *HeightL = nullptr, *LeftL = nullptr, *TopL = nullptr,
         *RightL = nullptr, *BottomL = nullptr;
  TLabel* UnitL[6] = {};
  TEdit *WidthE = nullptr, *HeightE = nullptr, *MarginLeftE = nullptr, *MarginTopE = nullptr,
        *MarginRightE = nullptr, *MarginBottomE = nullptr;
  TRadioButton *PortraitRB = nullptr, *LandscapeRB = nullptr, *ApplyToCurRB = nullptr,
               *ApplyToAllRB = nullptr;
  TButton *OKB = nullptr, *CancelB = nullptr;
  TImage *PortraitImg = nullptr, *LandscapeImg = nullptr;

private:
  void FormShow();
  void FormHide();
  TImage* OrientationPicture(bool Landscape);
  String ToUnits(Extended Millimetres) const;
  Extended ToMillimetres(const String& Text) const;
  TvqrDesignerUnits FUnits = duCM;
  bool FUpdating = false;
};
