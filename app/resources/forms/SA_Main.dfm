object SAMAIN: TSAMAIN
  Caption = 'Зорвель. Каталог '
  ClientWidth = 1214
  ClientHeight = 817
  Position = poScreenCenter
  Font.Height = -11
  Font.Name = 'DejaVu Sans'
  object ImageTop: TImage
    Align = alTop
    Height = 64
    Stretch = True
  end
  object PageControl1: TPageControl
    Align = alClient
    object TabSheetCatalog: TTabSheet
      Caption = ' К А Т А Л О Г         '
      object PanelColor: TPanel
        Align = alLeft
        Width = 368
        object ToolBarColor: TToolBar
          Align = alTop
          Height = 28
          ButtonWidth = 70
          ShowCaptions = True
          Flat = True
          object DBNavigatorColor: TDBNavigator
            Width = 100
            Height = 22
            DataSource = DM.DSColor
            Flat = True
          end
          object ToolButtonColorRefresh: TToolButton
            Caption = 'Обновить'
            Hint = 'Обновить'
            ShowHint = True
          end
          object ToolButtonColorRecipe: TToolButton
            Caption = 'Рецепт'
            Hint = 'Печать текущего рецепта'
            ShowHint = True
          end
          object BtnPriceReports1: TButton
            Width = 96
            Height = 22
            Caption = 'Прайс отчеты'
          end
        end
        object DBGridZkColor: TDBGridZk
          Align = alClient
          DataSource = DM.DSColor
          PopupMenu = PopupMenuColor
          Columns = <
            item
              FieldName = 'COLOR'
              ReadOnly = True
              Title.Caption = 'Цвет'
              Width = 41
            end
            item
              FieldName = 'NM'
              Width = 122
            end
            item
              FieldName = 'PRICE1'
              Title.Caption = 'Цена осн.'
              Width = 72
            end
            item
              FieldName = 'PRICE1A'
            end
            item
              FieldName = 'AM'
              Visible = False
            end
            item
              FieldName = 'lvCOLOR_TP_NM'
              Visible = False
            end
            item
              FieldName = 'BASE_ID'
              Visible = False
            end
            item
              FieldName = 'lvLKMRecNM'
              Title.Caption = 'База'
              Visible = False
            end>
        end
      end
      object PanelCatalogRight: TPanel
        Align = alClient
        object PanelTop: TPanel
          Align = alTop
          Height = 112
          object Panel2: TPanel
            Align = alClient
            object ShapeFlt1: TShape
              Left = 6
              Top = 6
              Width = 260
              Height = 30
              Brush.Color = 15856093
              Pen.Color = 12632256
            end
            object ShapeFlt2: TShape
              Left = 6
              Top = 40
              Width = 260
              Height = 30
              Brush.Color = 15459517
              Pen.Color = 12632256
            end
            object ShapeFlt3: TShape
              Left = 6
              Top = 74
              Width = 360
              Height = 30
              Brush.Color = 15457213
              Pen.Color = 12632256
            end
            object CheckBoxNM: TCheckBox
              Left = 12
              Top = 12
              Width = 104
              Height = 18
              Caption = 'Наименование'
            end
            object MaskEditNM: TMaskEdit
              Left = 118
              Top = 10
              Width = 70
              Height = 21
              Enabled = False
              CharCase = ecUpperCase
              MaxLength = 7
              EditMask = 'l 99-99;1;_'
              Text = '    -  '
            end
            object BtnClearNM: TButton
              Left = 194
              Top = 10
              Width = 66
              Height = 21
              Caption = 'очистить'
            end
            object CheckBoxColorTP: TCheckBox
              Left = 12
              Top = 46
              Width = 104
              Height = 18
              Caption = 'Применение   '
            end
            object DBLookupComboboxZkColorTP: TDBLookupComboboxZk
              Left = 118
              Top = 44
              Width = 142
              Height = 21
              Enabled = False
              KeyField = 'ID'
              ListField = 'NM'
              ListSource = DM.DSluCOLOR_TP
            end
            object CheckBoxPrice: TCheckBox
              Left = 12
              Top = 80
              Width = 104
              Height = 18
              Caption = 'Цена состава '
            end
            object LabelPriceFrom: TLabel
              Left = 120
              Top = 82
              Caption = 'от'
              Transparent = True
            end
            object LabelPriceTo: TLabel
              Left = 240
              Top = 82
              Caption = 'до'
              Transparent = True
            end
              object DBNumberEditZkPrice1: TDBNumberEditZk
                Left = 136
                Top = 78
                Width = 96
                Height = 21
                DisplayFormat = '### ### ### ### ###'
                Enabled = False
              end
              object DBNumberEditZkPrice2: TDBNumberEditZk
                Left = 258
                Top = 78
                Width = 96
                Height = 21
                DisplayFormat = '### ### ### ### ###'
                Enabled = False
              end
            object BtnSearch: TButton
              Left = 380
              Top = 8
              Width = 90
              Height = 26
              Caption = '  Поиск  '
            end
            object BtnFilter: TButton
              Left = 380
              Top = 42
              Width = 90
              Height = 26
              Caption = '  Отбор  '
            end
            object BtnCancelFilter: TButton
              Left = 380
              Top = 76
              Width = 90
              Height = 26
              Caption = '  Отмена'
            end
            object BtnExit1: TButton
              Left = 480
              Top = 8
              Width = 80
              Height = 26
              Caption = '   Выход'
            end
          end
          object GroupBoxSample: TGroupBox
            Align = alRight
            Width = 276
            Caption = ' Образец цвета '
            object ShapeColor: TShape
              Left = 10
              Top = 20
              Width = 84
              Height = 84
            end
            object DBEditZkColorNM: TDBEditZk
              Left = 102
              Top = 24
              Width = 164
              Height = 21
              DataSource = DM.DSColor
              DataField = 'NM'
              ReadOnly = True
            end
            object DBEditZkColorTP: TDBEditZk
              Left = 102
              Top = 54
              Width = 164
              Height = 21
              DataSource = DM.DSColor
              DataField = 'lvCOLOR_TP_NM'
              ReadOnly = True
            end
          end
        end
        object GroupBoxCalc: TGroupBox
          Align = alTop
          Top = 112
          Height = 56
          Caption = ' Расчет состава '
          object DBNumberEditZkX: TDBNumberEditZk
            Left = 10
            Top = 22
            Width = 84
            Height = 21
            Alignment = taCenter
            Hint = 'Внесите желаемое количество состава'
            ShowHint = True
          end
          object LabelKg: TLabel
            Left = 100
            Top = 26
            Caption = 'кг'
          end
          object bbtnCalc: TBitBtn
            Left = 124
            Top = 20
            Width = 92
            Height = 26
            Caption = ' Расчитать'
          end
          object rbtnCh1: TRadioButton
            Left = 228
            Top = 24
            Width = 96
            Height = 18
            Caption = 'Масса базы'
          end
          object rbtnCh2: TRadioButton
            Left = 328
            Top = 24
            Width = 96
            Height = 18
            Caption = 'Весь объем'
            Checked = True
          end
          object BtnRecipePreview: TBitBtn
            Left = 432
            Top = 20
            Width = 80
            Height = 26
            Caption = 'Рецепт'
            Hint = 'Печать текущего рецепта'
            ShowHint = True
          end
          object bbtnOrd: TBitBtn
            Left = 520
            Top = 20
            Width = 120
            Height = 26
            Caption = 'Внести в заказ'
          end
        end
        object PageControlRecipe: TPageControl
          Align = alClient
          object TabSheetRecipeMain: TTabSheet
            Caption = 'Рецептура основная'
            object PanelRecipeMain: TPanel
              Align = alBottom
              Height = 58
              object LabelPrice: TLabel
                Left = 8
                Top = 8
                Caption = 'Цена (1кг)'
              end
              object LabelMass: TLabel
                Left = 150
                Top = 8
                Caption = 'Масса (кг)'
              end
              object LabelCost: TLabel
                Left = 292
                Top = 8
                Caption = 'Стоимость'
              end
              object LabelBase: TLabel
                Left = 434
                Top = 8
                Caption = 'Материал базы'
              end
              object DBNumberEditZkRecPrice: TDBNumberEditZk
                Left = 8
                Top = 26
                Width = 130
                Height = 21
                DataSource = DM.DSColor
                DataField = 'PRICE1'
                ReadOnly = True
              end
              object DBNumberEditZkRecMass: TDBNumberEditZk
                Left = 150
                Top = 26
                Width = 130
                Height = 21
                DataSource = DM.DSColorCost
                DataField = 'SUM_AMX'
                ReadOnly = True
              end
              object DBNumberEditZkRecCost: TDBNumberEditZk
                Left = 292
                Top = 26
                Width = 130
                Height = 21
                DataSource = DM.DSColorCost
                DataField = 'SUM_COST'
                ReadOnly = True
              end
              object DBLookupComboboxZkBase: TDBLookupComboboxZk
                Left = 434
                Top = 26
                Width = 250
                Height = 21
                DataSource = DM.DSColor
                DataField = 'lvLKMRecNM'
              end
            end
            object DBGridZkColorRec: TDBGridZk
              Align = alClient
              DataSource = DM.DSColorRec
            end
          end
          object TabSheetRecipeAlt: TTabSheet
            Caption = 'Рецептура альтернативная'
            object PanelRecipeAlt: TPanel
              Align = alBottom
              Height = 58
              object LabelPriceA: TLabel
                Left = 8
                Top = 8
                Caption = 'Цена (1кг)'
              end
              object LabelMassA: TLabel
                Left = 150
                Top = 8
                Caption = 'Масса (кг)'
              end
              object LabelCostA: TLabel
                Left = 292
                Top = 8
                Caption = 'Стоимость'
              end
              object LabelBaseA: TLabel
                Left = 434
                Top = 8
                Caption = 'Материал базы'
              end
              object DBNumberEditZkRecPriceA: TDBNumberEditZk
                Left = 8
                Top = 26
                Width = 130
                Height = 21
                DataSource = DM.DSColor
                DataField = 'PRICE1A'
                ReadOnly = True
              end
              object DBNumberEditZkRecMassA: TDBNumberEditZk
                Left = 150
                Top = 26
                Width = 130
                Height = 21
                DataSource = DM.DSColorCostA
                DataField = 'SUM_AMX'
                ReadOnly = True
              end
              object DBNumberEditZkRecCostA: TDBNumberEditZk
                Left = 292
                Top = 26
                Width = 130
                Height = 21
                DataSource = DM.DSColorCostA
                DataField = 'SUM_COST'
                ReadOnly = True
              end
              object DBLookupComboboxZkBaseA1: TDBLookupComboboxZk
                Left = 434
                Top = 26
                Width = 250
                Height = 21
                DataSource = DM.DSColor
                DataField = 'lvLKMRecNMA1'
              end
              object DBLookupComboboxZkBaseA2: TDBLookupComboboxZk
                Left = 694
                Top = 26
                Width = 250
                Height = 21
                DataSource = DM.DSColor
                DataField = 'lvLKMRecNMA2'
              end
            end
            object DBGridZkColorRecA: TDBGridZk
              Align = alClient
              DataSource = DM.DSColorRecA
            end
          end
        end
      end
    end
    object TabSheetOrders: TTabSheet
      Caption = ' З А К А З Ы           '
      object PanelOrd: TPanel
        Align = alLeft
        Width = 361
        object ToolBarOrd: TToolBar
          Align = alTop
          Height = 28
          ButtonWidth = 62
          ShowCaptions = True
          Flat = True
          object DBNavigatorOrd: TDBNavigator
            Width = 100
            Height = 22
            DataSource = DM.DSOrd
            Flat = True
          end
          object ToolButtonOrdRefresh: TToolButton
            Caption = 'Обновить'
            Hint = 'Обновить'
            ShowHint = True
          end
          object ToolButtonOrdCreate: TToolButton
            Caption = 'Создать'
            Hint = 'Создать заказ'
            ShowHint = True
          end
          object ToolButtonOrdDelete: TToolButton
            Caption = 'Удалить'
            Hint = 'Удалить заказ'
            ShowHint = True
          end
          object ToolButtonOrdReprice: TToolButton
            Caption = 'Прайс'
            Hint = 'Пересчитать по прайсу'
            ShowHint = True
          end
        end
        object DBGridZkOrd: TDBGridZk
          Align = alClient
          DataSource = DM.DSOrd
          PopupMenu = PopupMenuOrd
          Columns = <
            item
              FieldName = 'NUM'
              Width = 48
            end
            item
              FieldName = 'DT'
              Width = 80
            end
            item
              FieldName = 'COMMENT'
            end
            item
              FieldName = 'ID'
              Visible = False
            end
            item
              FieldName = 'SUM'
              Visible = False
            end>
        end
      end
      object PanelOrdRight: TPanel
        Align = alClient
        object ToolBarOrdTop: TToolBar
          Align = alTop
          Height = 28
          ButtonWidth = 66
          ShowCaptions = True
          Flat = True
          object DBNavigatorOrdTop: TDBNavigator
            Width = 100
            Height = 22
            DataSource = DM.DSOrdTop
            Flat = True
          end
          object ToolButtonRecipe: TToolButton
            Caption = '+Р'
            Hint = 'Показывать / Скрывать рецепт'
            ShowHint = True
            Style = tbsCheck
          end
          object ToolButtonOrdPreview: TToolButton
            Caption = 'Просмотр'
            Hint = 'Просмотр'
            ShowHint = True
          end
          object ToolButtonOrdPrint: TToolButton
            Caption = 'Печать'
            Hint = 'Печать'
            ShowHint = True
          end
          object ToolButtonOrdExport: TToolButton
            Caption = 'Экспорт'
            Hint = 'Экспорт'
            ShowHint = True
          end
          object BtnExit2: TButton
            Width = 80
            Height = 22
            Caption = '   Выход'
          end
        end
        object PanelOrdHead: TPanel
          Align = alTop
          Top = 40
          Height = 64
          object LabelOrdNum: TLabel
            Left = 8
            Top = 6
            Caption = 'Заказ №'
          end
          object LabelOrdDate: TLabel
            Left = 100
            Top = 6
            Caption = 'Дата'
          end
          object LabelOrdComment: TLabel
            Left = 210
            Top = 6
            Caption = 'Примечание'
          end
          object LabelOrdAm: TLabel
            Left = 500
            Top = 6
            Caption = 'Количество ЛКМ'
          end
          object LabelOrdCost: TLabel
            Left = 610
            Top = 6
            Caption = 'Стоимость ЛКМ'
          end
          object LabelOrdTotal: TLabel
            Left = 720
            Top = 6
            Caption = 'Стоимость заказа'
          end
          object DBEditZkOrdNUM: TDBEditZk
            Left = 8
            Top = 24
            Width = 84
            Height = 21
            DataSource = DM.DSOrd
            DataField = 'NUM'
          end
          object DBDateTimeEditZkOrdDT: TDBDateTimeEditZk
            Left = 100
            Top = 24
            Width = 100
            Height = 21
            DataSource = DM.DSOrd
            DataField = 'DT'
          end
          object DBEditZkOrdComment: TDBEditZk
            Left = 210
            Top = 24
            Width = 280
            Height = 21
            DataSource = DM.DSOrd
            DataField = 'COMMENT'
          end
          object DBNumberEditZkOrdSAM: TDBNumberEditZk
            Left = 500
            Top = 24
            Width = 100
            Height = 21
            DataSource = DM.DSOrdTopSums
            DataField = 'SAM'
            ReadOnly = True
            DisplayFormat = '### ### ### ### ###'
          end
          object DBNumberEditZkOrdSCOST: TDBNumberEditZk
            Left = 610
            Top = 24
            Width = 100
            Height = 21
            DataSource = DM.DSOrdTopSums
            DataField = 'SCOST'
            ReadOnly = True
            DisplayFormat = '### ### ### ### ###'
          end
          object DBNumberEditZkOrdTotal: TDBNumberEditZk
            Left = 720
            Top = 24
            Width = 110
            Height = 21
            DataSource = DM.DSOrdSums
            DataField = 'SCOST'
            ReadOnly = True
            DisplayFormat = '### ### ### ### ###'
          end
        end
        object PanelOrdRec3: TPanel
          Align = alBottom
          Top = 600
          Height = 215
          object DBGridZkOrdRec3: TDBGridZk
            Align = alClient
            DataSource = DM.DSOrdRec3
            PopupMenu = PopupMenuOrdRec3
            Columns = <
              item
                FieldName = 'COMMENT'
                Title.Caption = 'Дополнительные платежи'
                Width = 374
              end
              item
                FieldName = 'AM'
                Width = 87
              end
              item
                FieldName = 'PRICE'
              end
              item
                FieldName = 'cvSum'
                ReadOnly = True
              end>
          end
        end
        object SplitterOrd: TSplitter
          Align = alBottom
          Top = 590
          Height = 4
        end
        object DBGridZkOrdTop: TDBGridZk
          Align = alClient
          DataSource = DM.DSOrdTop
          PopupMenu = PopupMenuOrdTop
          RowDetailPanel.Active = True
          RowDetailPanel.Width = 590
          RowDetailPanel.Height = 200
          Columns = <
            item
              FieldName = 'COLOR'
              ReadOnly = True
              Title.Caption = 'Цвет'
              Width = 59
            end
            item
              FieldName = 'lvCOLOR_NM'
              Title.Caption = 'Наименование'
              Width = 161
            end
            item
              FieldName = 'AM'
              ReadOnly = True
            end
            item
              FieldName = 'PRICE'
              ReadOnly = True
            end
            item
              FieldName = 'cvCOST'
            end
            item
              FieldName = 'COMMENT'
              Width = 232
            end>
          object RowDetailData: TRowDetailPanelControlZk
            object DBGridZkOrdRec: TDBGridZk
              Align = alClient
              DataSource = DM.DSOrdRec
              Columns = <
                item
                  FieldName = 'lvLKM_REC_NM'
                  ReadOnly = True
                  Width = 187
                end
                item
                  FieldName = 'AM0'
                  ReadOnly = True
                  Width = 91
                end
                item
                  FieldName = 'AM'
                end
                item
                  FieldName = 'PRICE'
                end
                item
                  FieldName = 'cvSum'
                  ReadOnly = True
                end>
            end
          end
        end
      end
    end
    object TabSheetPrice: TTabSheet
      Caption = ' П Р А Й С                '
      object ToolBarLKM: TToolBar
        Align = alTop
        Height = 28
        ButtonWidth = 72
        ShowCaptions = True
        Flat = True
        object DBNavigatorLKMRec: TDBNavigator
          Width = 100
          Height = 22
          DataSource = DM.DSLKMRec
          Flat = True
        end
        object ToolButtonLKMRefresh: TToolButton
          Caption = 'Обновить'
          Hint = 'Обновить'
          ShowHint = True
        end
        object ToolButtonLKMAdd: TToolButton
          Caption = 'Добавить'
          Hint = 'Добавить материал'
          ShowHint = True
        end
        object ToolButtonLKMEdit: TToolButton
          Caption = 'Править'
          Hint = 'Править материал'
          ShowHint = True
        end
        object ToolButtonLKMDelete: TToolButton
          Caption = 'Удалить'
          Hint = 'Удалить материал'
          ShowHint = True
        end
        object BtnPriceReports2: TButton
          Width = 96
          Height = 22
          Caption = 'Прайс отчеты'
        end
        object BtnRecalcCatalog: TButton
          Width = 120
          Height = 22
          Caption = 'Расчитать каталог'
          Hint = 'Внести изменения цен в каталог цвета'
          ShowHint = True
        end
        object BtnExit3: TButton
          Width = 80
          Height = 22
          Caption = '   Выход'
        end
      end
      object DBGridZkLKMRec: TDBGridZk
        Align = alClient
        DataSource = DM.DSLKMRec
        PopupMenu = PopupMenuLKMRec
        Columns = <
          item
            FieldName = 'lvLKM_TP'
            ReadOnly = True
            Title.Caption = 'Тип'
          end
          item
            FieldName = 'NM'
            ReadOnly = True
            Title.Caption = 'Наименование'
          end
          item
            FieldName = 'COMMENT'
            Title.Caption = 'Примечание'
          end
          item
            FieldName = 'PRICE1'
            Title.Caption = 'Цена'
            DisplayFormat = '# ###'
          end
          item
            FieldName = 'ID'
            Visible = False
          end
          item
            FieldName = 'PRICE2'
            Visible = False
          end
          item
            FieldName = 'PRICE3'
            Visible = False
          end>
      end
    end
  end
  object PopupMenuColor: TPopupMenu
    object MenuColorInterior: TMenuItem
      Caption = 'Назначить Интерьерная'
    end
    object MenuColorExterior: TMenuItem
      Caption = 'Назначить Наружная'
    end
    object MenuColorUniversal: TMenuItem
      Caption = 'Назначить Универсальная'
    end
    object MenuColorSep: TMenuItem
      Caption = '-'
    end
    object MenuColorNone: TMenuItem
      Caption = 'Отменить назначение'
    end
  end
  object PopupMenuOrd: TPopupMenu
    object MenuOrdCreate: TMenuItem
      Caption = 'Создать заказ'
      ShortCut = 16462
    end
    object MenuOrdDelete: TMenuItem
      Caption = 'Удалить заказ'
      ShortCut = 16430
    end
    object MenuOrdSep: TMenuItem
      Caption = '-'
    end
    object MenuOrdReprice: TMenuItem
      Caption = 'Пересчитать по прайсу'
      ShortCut = 16466
    end
  end
  object PopupMenuOrdTop: TPopupMenu
    object MenuOrdTopDelete: TMenuItem
      Caption = 'Удалить цвет из заказа'
    end
    object MenuOrdTopSep: TMenuItem
      Caption = '-'
    end
    object MenuOrdTopReprice: TMenuItem
      Caption = 'Пересчитать по прайсу'
    end
  end
  object PopupMenuOrdRec3: TPopupMenu
    object MenuOrdRec3Delete: TMenuItem
      Caption = 'Удалить строку'
    end
  end
  object PopupMenuLKMRec: TPopupMenu
    object MenuLKMAdd: TMenuItem
      Caption = 'Добавить материал'
    end
    object MenuLKMEdit: TMenuItem
      Caption = 'Править материал'
    end
    object MenuLKMDelete: TMenuItem
      Caption = 'Удалить материал'
    end
  end
  object PopupMenuPrice: TPopupMenu
    object MenuPriceColor: TMenuItem
      Caption = 'Прайс Каталог цвета'
    end
    object MenuPriceColorPdf: TMenuItem
      Caption = 'Прайс Каталог цвета   *. PDF'
    end
    object MenuPriceLKM: TMenuItem
      Caption = 'Прайс Лакокрасочные материалы'
    end
    object MenuPriceLKMPdf: TMenuItem
      Caption = 'Прайс Лакокрасочные материалы  *.PDF'
    end
  end
end
