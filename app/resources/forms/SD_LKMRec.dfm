object SDLKMREC: TSDLKMREC
  Caption = 'Материал'
  ClientWidth = 400
  ClientHeight = 176
  BorderStyle = bsDialog
  Position = poOwnerFormCenter
  Font.Height = -11
  Font.Name = 'DejaVu Sans'
  object LabelName: TLabel
    Left = 12
    Top = 14
    Caption = 'Наименование'
  end
  object EditLKMRecNM: TEdit
    Left = 110
    Top = 10
    Width = 276
    Height = 21
  end
  object LabelGroup: TLabel
    Left = 12
    Top = 46
    Caption = 'Группа'
  end
  object DBLookupComboBoxLKMRec: TDBLookupComboboxZk
    Left = 110
    Top = 42
    Width = 276
    Height = 21
    KeyField = 'ID'
    ListField = 'NM'
    ListSource = DM.DSluLKMBase
  end
  object LabelPrice: TLabel
    Left = 12
    Top = 78
    Caption = 'Цена'
  end
  object DBNumberEditP1: TDBNumberEditZk
    Left = 110
    Top = 74
    Width = 120
    Height = 21
    Alignment = taRightJustify
  end
  object LabelComment: TLabel
    Left = 12
    Top = 110
    Caption = 'Примечание'
  end
  object EditLKMRecComment: TEdit
    Left = 110
    Top = 106
    Width = 276
    Height = 21
  end
  object BtnApply: TButton
    Left = 220
    Top = 140
    Width = 80
    Height = 26
    Caption = 'Внести'
  end
  object BtnCancel: TButton
    Left = 306
    Top = 140
    Width = 80
    Height = 26
    Caption = 'Отмена'
    Cancel = True
  end
end
