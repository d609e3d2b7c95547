object DBGridZkFindDlg: TDBGridZkFindDlg
  BorderStyle = bsDialog
  Caption = 'Поиск'
  ClientHeight = 141
  ClientWidth = 467
  Font.Height = -10
  KeyPreview = True
  Position = poScreenCenter
  object Label1: TLabel
    Left = 9
    Top = 11
    Caption = '&Образец:'
  end
  object Label2: TLabel
    Left = 9
    Top = 32
    Caption = '&Поиск в:'
  end
  object cbMatchType: TLabel
    Left = 9
    Top = 53
    Caption = '&Совпадение:'
  end
  object Label3: TLabel
    Left = 9
    Top = 76
    Caption = 'Прос&мотр:'
  end
  object Label4: TLabel
    Left = 8
    Top = 119
    Caption = 'Искать в дереве:'
  end
  object cbText: TDBComboBoxZk
    Left = 81
    Top = 8
    Width = 292
    Height = 19
    TabOrder = 0
    DropDownBox.Rows = 17
    DropDownBox.Sizable = True
  end
  object cbFindIn: TDBComboBoxZk
    Left = 81
    Top = 29
    Width = 178
    Height = 19
    TabOrder = 1
    DropDownBox.Rows = 17
    DropDownBox.Sizable = True
  end
  object cbMatchinType: TDBComboBoxZk
    Left = 81
    Top = 51
    Width = 134
    Height = 19
    TabOrder = 2
    Text = 'С любой части поля'
    Items.Strings = (
      'С любой части поля'
      'Поля целиком'
      'С начала поля')
    KeyItems.Strings = (
      'С любой части поля'
      'Поля целиком'
      'С начала поля')
  end
  object cbFindDirection: TDBComboBoxZk
    Left = 81
    Top = 73
    Width = 134
    Height = 19
    TabOrder = 3
    Text = 'Все'
    Items.Strings = (
      'Вверх'
      'Вниз'
      'Все')
    KeyItems.Strings = (
      'Вверх'
      'Вниз'
      'Все')
  end
  object cbCharCase: TDBCheckBoxZk
    Left = 81
    Top = 97
    Width = 134
    Height = 17
    Caption = 'С учетом ре&гистра'
    TabOrder = 4
  end
  object cbUseFormat: TDBCheckBoxZk
    Left = 240
    Top = 97
    Width = 133
    Height = 17
    Caption = 'С у&четом формата'
    Checked = True
    TabOrder = 5
  end
  object bFind: TButton
    Left = 380
    Top = 8
    Width = 80
    Height = 22
    Caption = 'На&йти далее'
    TabOrder = 6
  end
  object bCancel: TButton
    Left = 380
    Top = 35
    Width = 80
    Height = 22
    Cancel = True
    Caption = 'Закрыть'
    ModalResult = 2
    TabOrder = 7
  end
  object dbcTreeFindRange: TDBComboBoxZk
    Left = 112
    Top = 115
    Width = 140
    Height = 19
    TabOrder = 8
    Text = 'Во всех ветвях'
    Items.Strings = (
      'Во всех ветвях'
      'В раскрытых ветвях'
      'В текущем уровне'
      'В текущей ветке')
    KeyItems.Strings = (
      'Во всех ветвях'
      'В раскрытых ветвях'
      'В текущем уровне'
      'В текущей ветке')
  end
end
