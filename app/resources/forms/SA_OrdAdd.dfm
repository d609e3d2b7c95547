object SAOrdAdd: TSAOrdAdd
  Caption = 'В заказ'
  ClientWidth = 300
  ClientHeight = 132
  BorderStyle = bsDialog
  Position = poOwnerFormCenter
  Font.Height = -11
  Font.Name = 'DejaVu Sans'
  object rbtnCh1: TRadioButton
    Left = 16
    Top = 14
    Width = 200
    Height = 18
    Caption = 'Создать новый заказ'
    Checked = True
  end
  object rbtnCh2: TRadioButton
    Left = 16
    Top = 40
    Width = 200
    Height = 18
    Caption = 'Дополнить заказ'
  end
  object DBLookupComboboxZkOrd: TDBLookupComboboxZk
    Left = 40
    Top = 64
    Width = 250
    Height = 21
    Enabled = False
    KeyField = 'ID'
    ListField = 'NUM;DT;COMMENT'
    ListSource = DM.DSOrd
    DropDownBox.Sizable = True
  end
  object BtnOk: TButton
    Left = 124
    Top = 96
    Width = 80
    Height = 26
    Caption = 'Ok'
    Default = True
  end
  object BtnCancel: TButton
    Left = 210
    Top = 96
    Width = 80
    Height = 26
    Caption = 'Отмена'
    Cancel = True
    ModalResult = 2
  end
end
