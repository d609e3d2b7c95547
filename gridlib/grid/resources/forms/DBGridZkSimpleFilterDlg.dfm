object DBGridZkSimpleFilterDialog: TDBGridZkSimpleFilterDialog
  BorderStyle = bsDialog
  Caption = 'Пользовательский фильтр'
  ClientHeight = 218
  ClientWidth = 410
  Position = poScreenCenter
  object Label1: TLabel
    Left = 6
    Top = 7
    Caption = 'Показывать только те записи, значения которых:'
  end
  object Bevel1: TBevel
    Left = 4
    Top = 27
    Width = 399
    Height = 8
    Shape = bsTopLine
  end
  object ComboBox1: TComboBox
    Left = 8
    Top = 39
    Width = 191
    Height = 21
    Style = csDropDownList
    TabOrder = 0
  end
  object DBComboBoxZk1: TDBComboBoxZk
    Left = 207
    Top = 39
    Width = 190
    Height = 21
    TabOrder = 1
    DropDownBox.Rows = 17
    DropDownBox.Sizable = True
  end
  object rbAnd: TRadioButton
    Left = 38
    Top = 69
    Width = 47
    Height = 17
    Caption = '&И'
    Checked = True
    TabOrder = 2
  end
  object rbOr: TRadioButton
    Left = 105
    Top = 69
    Width = 53
    Height = 17
    Caption = 'И&ли'
    TabOrder = 3
  end
  object ComboBox2: TComboBox
    Left = 8
    Top = 92
    Width = 191
    Height = 21
    Style = csDropDownList
    TabOrder = 4
  end
  object DBComboBoxZk2: TDBComboBoxZk
    Left = 207
    Top = 92
    Width = 191
    Height = 21
    TabOrder = 5
    DropDownBox.Rows = 17
    DropDownBox.Sizable = True
  end
  object Label2: TLabel
    Left = 6
    Top = 131
    Caption = 'Знак '#39'_'#39' обозначает один любой знак'
  end
  object Label3: TLabel
    Left = 6
    Top = 151
    Caption = 'Знак '#39'%'#39' обозначает последовательность любых знаков'
  end
  object bOk: TButton
    Left = 237
    Top = 188
    Width = 78
    Height = 22
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 6
  end
  object bCancel: TButton
    Left = 323
    Top = 188
    Width = 78
    Height = 22
    Cancel = True
    Caption = 'Отмена'
    ModalResult = 2
    TabOrder = 7
  end
end
