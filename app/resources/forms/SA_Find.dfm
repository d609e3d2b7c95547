object SAFind: TSAFind
  Caption = '   П о и с к'
  ClientWidth = 260
  ClientHeight = 96
  BorderStyle = bsToolWindow
  BorderIcons = []
  Font.Height = -11
  Font.Name = 'DejaVu Sans'
  object StaticTextSearch: TStaticText
    Left = 12
    Top = 10
    Caption = 'Поиск'
  end
  object StaticTextCount: TStaticText
    Left = 12
    Top = 32
    Caption = 'Найдено: 0 записей'
  end
  object BtnNext: TButton
    Left = 12
    Top = 60
    Width = 116
    Height = 26
    Caption = 'Перейти далее'
  end
  object BtnDone: TButton
    Left = 136
    Top = 60
    Width = 112
    Height = 26
    Caption = 'Завершить'
  end
end
