object SDNewMat: TSDNewMat
  Caption = 'Новый Материал'
  ClientWidth = 320
  ClientHeight = 110
  BorderStyle = bsDialog
  Position = poOwnerFormCenter
  Font.Height = -11
  Font.Name = 'DejaVu Sans'
  object EditName: TEdit
    Left = 12
    Top = 12
    Width = 296
    Height = 21
  end
  object DBLookupComboboxZkLKMTP: TDBLookupComboboxZk
    Left = 12
    Top = 42
    Width = 296
    Height = 21
    KeyField = 'ID'
    ListField = 'NM'
    ListSource = DM.DSLKM_TP
  end
  object BtnOk: TButton
    Left = 228
    Top = 74
    Width = 80
    Height = 26
    Caption = 'Ok'
    ModalResult = 1
  end
end
