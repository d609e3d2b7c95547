object AboutBox: TAboutBox
  Caption = 'О программе'
  ClientWidth = 420
  ClientHeight = 150
  BorderStyle = bsDialog
  Position = poScreenCenter
  Font.Height = -11
  Font.Name = 'DejaVu Sans'
  object ProgramIcon: TImage
    Left = 10
    Top = 10
    Width = 400
    Height = 64
    Stretch = True
  end
  object ProductName: TLabel
    Left = 10
    Top = 84
    Caption = 'V o r e n t a'
  end
  object OKButton: TButton
    Left = 170
    Top = 112
    Width = 80
    Height = 26
    Caption = 'OK'
    Default = True
    ModalResult = 1
  end
end
