object DM: TDM
  object Connection: TADOConnection
    LoginPrompt = False
  end
  object Color: TADOQuery
    Connection = Connection
    SQL.Strings = (
      'SELECT DS_COLOR.*, ID AS ID1'
      'FROM DS_COLOR'
      'WHERE ROUND(AM,2)=100'
      'ORDER BY IND, NM COLLATE RU, ID')
  end
  object ColorFind: TADOQuery
    Connection = Connection
    SQL.Strings = (
      'SELECT ID, NM'
      'FROM DS_COLOR')
  end
  object RepColor: TADOQuery
    Connection = Connection
    SQL.Strings = (
      'SELECT DS_COLOR.*, ID AS ID1'
      'FROM DS_COLOR'
      'WHERE ROUND(AM,2)=100'
      'ORDER BY IND, NM COLLATE RU, ID')
  end
  object ColorRec1: TADOQuery
    Connection = Connection
    DataSource = DSColor
    SQL.Strings = (
      'SELECT s.RID, s.COLOR_ID, s.LKM_TP_ID, s.LKM_ID, s.LKM_REC_ID, s.AM, s.AMX,'
      '  s.PRICE AS PRICE1,'
      '  ROUND(CASE WHEN s.LKM_TP_ID=1 THEN s.LR_PRICE1*:X12 ELSE s.AMX*s.PRICE END, 2) AS SUMX'
      'FROM (SELECT t.*,'
      '    ROUND(CASE WHEN t.LKM_TP_ID=1 THEN :X11 ELSE FDIV(t.AM, t.B)*t.M END, 4) AS AMX'
      '  FROM (SELECT cr1.*, cr2.AM AS A, 100-cr2.AM AS B, FDIV(100-cr2.AM, cr2.AM)*:X2 AS M,'
      '      COALESCE(lr.PRICE1, 0.0) AS PRICE, lr.PRICE1 AS LR_PRICE1, lr.NM AS LR_NM'
      '    FROM DS_COLOR_REC cr1'
      '    JOIN DS_COLOR_REC cr2 ON cr2.COLOR_ID=cr1.COLOR_ID AND cr2.LKM_TP_ID=1'
      '    JOIN DS_LKM_REC lr ON lr.ID=cr1.LKM_REC_ID'
      '    WHERE cr1.COLOR_ID=:ID) t) s'
      'ORDER BY s.LKM_TP_ID, s.LR_NM COLLATE RU, s.RID')
  end
  object ColorRec2: TADOQuery
    Connection = Connection
    DataSource = DSColor
    SQL.Strings = (
      'SELECT t.*, t.AMX*t.PRICE1 AS SUMX'
      'FROM (SELECT cr.*, COALESCE(lr.PRICE1, 0.0) AS PRICE1, (cr.AM*:X)/100 AS AMX, lr.NM AS LR_NM'
      '  FROM DS_COLOR_REC cr'
      '  LEFT JOIN DS_LKM_REC lr ON lr.ID=cr.LKM_REC_ID'
      '  WHERE cr.COLOR_ID=:ID) t'
      'ORDER BY t.LKM_TP_ID, t.LR_NM COLLATE RU, t.RID')
  end
  object ColorRecA1: TADOQuery
    Connection = Connection
    DataSource = DSColor
    SQL.Strings = (
      'SELECT s.RID, s.COLOR_ID, s.LKM_TP_ID, s.LKM_ID, s.LKM_REC_ID, s.AM, s.IS_BASE1, s.AMX,'
      '  s.PRICE AS PRICE1,'
      '  ROUND(CASE WHEN s.IS_BASE1<>0 THEN s.LR_PRICE1*:X12 ELSE s.AMX*s.PRICE END, 2) AS SUMX'
      'FROM (SELECT t.*,'
      '    ROUND(CASE WHEN t.IS_BASE1<>0 THEN :X11 ELSE FDIV(t.AM, t.B)*t.M END, 4) AS AMX'
      '  FROM (SELECT cr1.*, cr2.AM AS A, 100-cr2.AM AS B, FDIV(100-cr2.AM, cr2.AM)*:X2 AS M,'
      '      COALESCE(lr.PRICE1, 0.0) AS PRICE, lr.PRICE1 AS LR_PRICE1, lr.NM AS LR_NM'
      '    FROM DS_COLOR_REC_A cr1'
      '    JOIN DS_COLOR_REC_A cr2 ON cr2.COLOR_ID=cr1.COLOR_ID AND cr2.IS_BASE1<>0'
      '    JOIN DS_LKM_REC lr ON lr.ID=cr1.LKM_REC_ID'
      '    WHERE cr1.COLOR_ID=:ID) t) s'
      'ORDER BY s.LKM_TP_ID, s.IS_BASE1 DESC, s.LR_NM COLLATE RU, s.RID')
  end
  object ColorRecA2: TADOQuery
    Connection = Connection
    DataSource = DSColor
    SQL.Strings = (
      'SELECT t.*, t.AMX*t.PRICE1 AS SUMX'
      'FROM (SELECT cr.*, (cr.AM*:X)/100 AS AMX, COALESCE(lr.PRICE1, 0.0) AS PRICE1, lr.NM AS LR_NM'
      '  FROM DS_COLOR_REC_A cr'
      '  LEFT JOIN DS_LKM_REC lr ON lr.ID=cr.LKM_REC_ID'
      '  WHERE cr.COLOR_ID=:ID) t'
      'ORDER BY t.LKM_TP_ID, t.IS_BASE1 DESC, t.LR_NM COLLATE RU, t.RID')
  end
  object ColorCost1: TADOQuery
    Connection = Connection
    DataSource = DSColor
    SQL.Strings = (
      'SELECT ID, PRICE1, SUM_AMX, ROUND(PRICE1*SUM_AMX, 0) AS SUM_COST'
      'FROM (SELECT c.ID, c.PRICE1 AS PRICE1,'
      '    ROUND(SUM(CASE WHEN cr1.LKM_TP_ID=1 THEN 1*:X1'
      '      ELSE FDIV(cr1.AM, 100-cr2.AM)*FDIV(100-cr2.AM, cr2.AM)*:X2 END), 4) AS SUM_AMX'
      '  FROM DS_COLOR_REC cr1'
      '  JOIN DS_COLOR_REC cr2 ON cr2.COLOR_ID=cr1.COLOR_ID AND cr2.LKM_TP_ID=1'
      '  JOIN DS_COLOR c ON c.ID=cr1.COLOR_ID'
      '  WHERE cr1.COLOR_ID=:ID'
      '  GROUP BY c.ID, c.PRICE1)')
  end
  object ColorCost2: TADOQuery
    Connection = Connection
    DataSource = DSColor
    SQL.Strings = (
      'SELECT ID, PRICE1, SUM_AMX, ROUND(PRICE1*SUM_AMX, 0) AS SUM_COST'
      'FROM (SELECT c.ID, c.PRICE1 AS PRICE1, ROUND(1.0000*:X, 4) AS SUM_AMX'
      '  FROM DS_COLOR c'
      '  WHERE c.ID=:ID)')
  end
  object ColorCostA1: TADOQuery
    Connection = Connection
    DataSource = DSColor
    SQL.Strings = (
      'SELECT ID, PRICE1, SUM_AMX, ROUND(PRICE1*SUM_AMX, 0) AS SUM_COST'
      'FROM (SELECT c.ID, c.PRICE1A AS PRICE1,'
      '    ROUND(SUM(CASE WHEN cr1.IS_BASE1<>0 THEN 1*:X1'
      '      ELSE FDIV(cr1.AM, 100-cr2.AM)*FDIV(100-cr2.AM, cr2.AM)*:X2 END), 4) AS SUM_AMX'
      '  FROM DS_COLOR_REC_A cr1'
      '  JOIN DS_COLOR_REC_A cr2 ON cr2.COLOR_ID=cr1.COLOR_ID AND cr2.IS_BASE1<>0'
      '  JOIN DS_COLOR c ON c.ID=cr1.COLOR_ID'
      '  WHERE cr1.COLOR_ID=:ID'
      '  GROUP BY c.ID, c.PRICE1A)')
  end
  object ColorCostA2: TADOQuery
    Connection = Connection
    DataSource = DSColor
    SQL.Strings = (
      'SELECT ID, PRICE1, SUM_AMX, ROUND(PRICE1*SUM_AMX, 0) AS SUM_COST'
      'FROM (SELECT c.ID, c.PRICE1A AS PRICE1, ROUND(1.0000*:X, 4) AS SUM_AMX'
      '  FROM DS_COLOR c'
      '  WHERE c.ID=:ID)')
  end
  object QColorPrice: TADOQuery
    Connection = Connection
    DataSource = DSColor
    SQL.Strings = (
      'SELECT cr.COLOR_ID, SUM((cr.AM*1)/100) AS AM, ROUND(SUM((cr.AM*lr.PRICE1*1/100)), 0) AS PRICE1'
      'FROM DS_COLOR_REC cr'
      'LEFT JOIN DS_LKM_REC lr ON cr.LKM_REC_ID = lr.ID'
      'WHERE cr.COLOR_ID=:ID'
      'GROUP BY cr.COLOR_ID')
  end
  object QColorPriceA: TADOQuery
    Connection = Connection
    DataSource = DSColor
    SQL.Strings = (
      'SELECT cr.COLOR_ID, SUM((cr.AM*1)/100) AS AM, ROUND(SUM((cr.AM*lr.PRICE1*1/100)), 0) AS PRICE1'
      'FROM DS_COLOR_REC_A cr'
      'LEFT JOIN DS_LKM_REC lr ON cr.LKM_REC_ID = lr.ID'
      'WHERE cr.COLOR_ID=:ID'
      'GROUP BY cr.COLOR_ID')
  end
  object luCOLOR_TP: TADOQuery
    Connection = Connection
    SQL.Strings = (
      'SELECT *'
      'FROM DS_COLOR_TP'
      'ORDER BY NM COLLATE RU')
  end
  object luLKM: TADOQuery
    Connection = Connection
    SQL.Strings = (
      'SELECT *'
      'FROM DS_LKM'
      'WHERE LKM_TP_ID=1 or LKM_TP_ID=2'
      'ORDER BY NM COLLATE RU')
  end
  object luLKM_TP: TADOQuery
    Connection = Connection
    SQL.Strings = (
      'SELECT *'
      'FROM DS_LKM_TP'
      'ORDER BY NM COLLATE RU')
  end
  object luColor: TADOQuery
    Connection = Connection
    SQL.Strings = (
      'SELECT ID, NM'
      'FROM DS_COLOR'
      'ORDER BY IND, NM COLLATE RU')
  end
  object luLKMRecAll: TADOQuery
    Connection = Connection
    SQL.Strings = (
      'SELECT *'
      'FROM DS_LKM_REC'
      'ORDER BY LKM_TP_ID, NM COLLATE RU')
  end
  object luLKMRecBase: TADOQuery
    Connection = Connection
    SQL.Strings = (
      'SELECT *'
      'FROM DS_LKM_REC'
      'WHERE LKM_TP_ID=1'
      'ORDER BY LKM_TP_ID, NM COLLATE RU')
  end
  object luLKMRecBaseA1: TADOQuery
    Connection = Connection
    SQL.Strings = (
      'SELECT *'
      'FROM DS_LKM_REC'
      'WHERE LKM_ID=1'
      'ORDER BY LKM_ID, NM COLLATE RU')
  end
  object luLKMRecBaseA2: TADOQuery
    Connection = Connection
    SQL.Strings = (
      'SELECT *'
      'FROM DS_LKM_REC'
      'WHERE LKM_ID=2'
      'ORDER BY LKM_ID, NM COLLATE RU')
  end
  object luLKMBase: TADOQuery
    Connection = Connection
    SQL.Strings = (
      'SELECT *'
      'FROM DS_LKM'
      'WHERE LKM_TP_ID=1')
  end
  object luLKM3: TADOQuery
    Connection = Connection
    SQL.Strings = (
      'SELECT *'
      'FROM DS_LKM'
      'WHERE LKM_TP_ID=3'
      'ORDER BY NM COLLATE RU')
  end
  object LKM_TP: TADOQuery
    Connection = Connection
    SQL.Strings = (
      'SELECT *'
      'FROM DS_LKM_TP'
      'ORDER BY NM COLLATE RU')
  end
  object LKMRec: TADOQuery
    Connection = Connection
    SQL.Strings = (
      'SELECT *'
      'FROM DS_LKM_REC'
      'ORDER BY LKM_TP_ID, NM COLLATE RU, ID')
  end
  object IsLKMRec: TADOQuery
    Connection = Connection
    SQL.Strings = (
      'SELECT cr.RID, cr.LKM_REC_ID, c.NM AS COLOR_NM'
      'FROM DS_COLOR_REC cr'
      'LEFT JOIN DS_COLOR c ON cr.COLOR_ID=c.ID'
      'WHERE cr.LKM_REC_ID=:LKMRecID AND cr.COLOR_ID>0'
      'ORDER BY cr.RID'
      'LIMIT 1')
  end
  object Ord: TADOQuery
    Connection = Connection
    SQL.Strings = (
      'SELECT *'
      'FROM DR_ORD'
      'ORDER BY NUM DESC, ID DESC')
  end
  object QOrd: TADOQuery
    Connection = Connection
    SQL.Strings = (
      'SELECT MAX(NUM) AS MaxNum'
      'FROM DR_ORD')
  end
  object OrdTop: TADOQuery
    Connection = Connection
    DataSource = DSOrd
    SQL.Strings = (
      'SELECT *'
      'FROM DR_ORD_TOP'
      'WHERE ORD_ID=:ID'
      'ORDER BY TID')
  end
  object OrdRec: TADOQuery
    Connection = Connection
    DataSource = DSOrdTop
    SQL.Strings = (
      'SELECT *'
      'FROM DR_ORD_REC'
      'WHERE ORD_TOP_ID=:TID and COLOR_ID<>0'
      'ORDER BY COLOR_ID, RECEPT_ID, LKM_ID, RID')
  end
  object OrdRec3: TADOQuery
    Connection = Connection
    DataSource = DSOrd
    SQL.Strings = (
      'SELECT *'
      'FROM DR_ORD_REC'
      'WHERE ORD_ID=:ID and (COLOR_ID=0 OR COLOR_ID IS NULL)'
      'ORDER BY COLOR_ID, LKM_ID, RID')
  end
  object OrdRecSums: TADOQuery
    Connection = Connection
    DataSource = DSOrdTop
    SQL.Strings = (
      'SELECT ORD_TOP_ID, SUM(AM0) AS SAM0, SUM(AM) AS SAM, SUM(PRICE*AM) AS SCOST'
      'FROM DR_ORD_REC'
      'WHERE ORD_TOP_ID=:TID and COLOR_ID<>0'
      'GROUP BY ORD_TOP_ID')
  end
  object OrdTopSums: TADOQuery
    Connection = Connection
    DataSource = DSOrd
    SQL.Strings = (
      'SELECT ORD_ID, SUM(AM0) AS SAM0, SUM(AM) AS SAM, SUM(PRICE*AM) AS SCOST'
      'FROM DR_ORD_REC'
      'WHERE ORD_ID=:ID and COLOR_ID<>0'
      'GROUP BY ORD_ID')
  end
  object OrdSums: TADOQuery
    Connection = Connection
    DataSource = DSOrd
    SQL.Strings = (
      'SELECT ORD_ID, SUM(AM0) AS SAM0, SUM(AM) AS SAM, SUM(PRICE*AM) AS SCOST'
      'FROM DR_ORD_REC'
      'WHERE ORD_ID=:ID'
      'GROUP BY ORD_ID')
  end
  object ROrdRec: TADOQuery
    Connection = Connection
    SQL.Strings = (
      'SELECT *, 0 AS Ind'
      'FROM DR_ORD_REC'
      'WHERE ORD_ID=:OrdId1 AND COLOR_ID>0'
      'UNION ALL'
      'SELECT *, 1 AS Ind'
      'FROM DR_ORD_REC'
      'WHERE ORD_ID=:OrdId2 AND (COLOR_ID=0 OR COLOR_ID IS NULL)'
      'ORDER BY Ind, ORD_TOP_ID, RID')
  end
  object CLkmRecSet: TADOCommand
    Connection = Connection
    CommandText = 'UPDATE DS_COLOR_REC'#13#10'SET LKM_REC_ID=:LkmRecID'#13#10'WHERE LKM_TP_ID=1 and DS_COLOR_REC.COLOR_ID=:ColorID'
  end
  object CLkmRecSetA1: TADOCommand
    Connection = Connection
    CommandText = 'UPDATE DS_COLOR_REC_A'#13#10'SET LKM_REC_ID=:LkmRecID'#13#10'WHERE LKM_ID=1 and DS_COLOR_REC_A.COLOR_ID=:ColorID'
  end
  object CLkmRecSetA2: TADOCommand
    Connection = Connection
    CommandText = 'UPDATE DS_COLOR_REC_A'#13#10'SET LKM_REC_ID=:LkmRecID'#13#10'WHERE LKM_ID=2 and DS_COLOR_REC_A.COLOR_ID=:ColorID'
  end
  object CColorCostDelRecs: TADOCommand
    Connection = Connection
    CommandText = 'DELETE'#13#10'FROM DS_COLOR_COST'
  end
  object CColorCostAppendRecs: TADOCommand
    Connection = Connection
    CommandText = 'INSERT INTO DS_COLOR_COST (COLOR_ID, AM, PRICE1, PRICE2, PRICE3)'#13#10'SELECT cr.COLOR_ID, SUM((cr.AM*1)/100) AS AM, ROUND(SUM((cr.AM*lr.PRICE1*1/100)), 0) AS PRICE1, ROUND(SUM((cr.AM*lr.PRICE2*1/100)), 0) AS PRICE2, ROUND(SUM((cr.AM*lr.PRICE3*1/100)), 0) AS PRICE3'#13#10'FROM DS_COLOR_REC cr LEFT JOIN DS_LKM_REC lr ON cr.LKM_REC_ID = lr.ID'#13#10'GROUP BY cr.COLOR_ID'
  end
  object CColorCostUpdatePrice: TADOCommand
    Connection = Connection
    CommandText = 'UPDATE DS_COLOR'#13#10'SET PRICE1 = (SELECT c.PRICE1 FROM DS_COLOR_COST c WHERE c.COLOR_ID = DS_COLOR.ID)'
  end
  object CColorCostDelRecsA: TADOCommand
    Connection = Connection
    CommandText = 'DELETE'#13#10'FROM DS_COLOR_COST_A'
  end
  object CColorCostAppendRecsA: TADOCommand
    Connection = Connection
    CommandText = 'INSERT INTO DS_COLOR_COST_A (COLOR_ID, AM, PRICE1, PRICE2, PRICE3)'#13#10'SELECT cr.COLOR_ID, SUM((cr.AM*1)/100) AS AM, ROUND(SUM((cr.AM*lr.PRICE1*1/100)), 0) AS PRICE1, ROUND(SUM((cr.AM*lr.PRICE2*1/100)), 0) AS PRICE2, ROUND(SUM((cr.AM*lr.PRICE3*1/100)), 0) AS PRICE3'#13#10'FROM DS_COLOR_REC_A cr LEFT JOIN DS_LKM_REC lr ON cr.LKM_REC_ID = lr.ID'#13#10'GROUP BY cr.COLOR_ID'
  end
  object CColorCostUpdatePriceA: TADOCommand
    Connection = Connection
    CommandText = 'UPDATE DS_COLOR'#13#10'SET PRICE1A = (SELECT c.PRICE1 FROM DS_COLOR_COST_A c WHERE c.COLOR_ID = DS_COLOR.ID)'
  end
  object COrdRecColorDel: TADOCommand
    Connection = Connection
    CommandText = 'DELETE FROM DR_ORD_REC'#13#10'WHERE ORD_TOP_ID=:OrdTopId'
  end
  object COrdRecDel: TADOCommand
    Connection = Connection
    CommandText = 'DELETE FROM DR_ORD_REC'#13#10'WHERE ORD_ID=:OrdId'
  end
  object COrdTopDel: TADOCommand
    Connection = Connection
    CommandText = 'DELETE FROM DR_ORD_TOP'#13#10'WHERE ORD_ID=:OrdId'
  end
  object CRecalcOrdPrice: TADOCommand
    Connection = Connection
    CommandText = 'UPDATE DR_ORD_REC'#13#10'SET PRICE = (SELECT lr.PRICE1 FROM DS_LKM_REC lr WHERE lr.ID = DR_ORD_REC.LKM_REC_ID)'#13#10'WHERE ORD_ID=:OrdId'#13#10'  AND EXISTS (SELECT 1 FROM DS_LKM_REC lr'#13#10'    WHERE lr.ID = DR_ORD_REC.LKM_REC_ID AND lr.PRICE1 IS NOT NULL)'
  end
  object DSColor: TDataSource
    DataSet = Color
  end
  object DSColorRec: TDataSource
    DataSet = ColorRec2
  end
  object DSColorRecA: TDataSource
    DataSet = ColorRecA2
  end
  object DSColorCost: TDataSource
    DataSet = ColorCost2
  end
  object DSColorCostA: TDataSource
    DataSet = ColorCostA2
  end
  object DSluCOLOR_TP: TDataSource
    DataSet = luCOLOR_TP
  end
  object DSluLKMBase: TDataSource
    DataSet = luLKMBase
  end
  object DSLKMRec: TDataSource
    DataSet = LKMRec
  end
  object DSOrd: TDataSource
    DataSet = Ord
  end
  object DSOrdTop: TDataSource
    DataSet = OrdTop
  end
  object DSOrdRec: TDataSource
    DataSet = OrdRec
  end
  object DSOrdRec3: TDataSource
    DataSet = OrdRec3
  end
  object DSOrdTopSums: TDataSource
    DataSet = OrdTopSums
  end
  object DSOrdSums: TDataSource
    DataSet = OrdSums
  end
  object DSLKM_TP: TDataSource
    DataSet = LKM_TP
  end
  object ColorID: TAutoIncField
    FieldName = 'ID'
    Visible = False
    ReadOnly = True
    DataSet = Color
  end
  object ColorNM: TWideStringField
    FieldName = 'NM'
    DisplayLabel = 'Наименование'
    Size = 60
    DataSet = Color
  end
  object ColorCOLOR: TIntegerField
    FieldName = 'COLOR'
    DataSet = Color
  end
  object ColorCOMMENT: TWideStringField
    FieldName = 'COMMENT'
    DisplayLabel = 'Примечание'
    Size = 255
    Visible = False
    DataSet = Color
  end
  object ColorCOLOR_TP_ID: TIntegerField
    FieldName = 'COLOR_TP_ID'
    DataSet = Color
  end
  object ColorlvCOLOR_TP_NM: TStringField
    FieldKind = fkLookup
    FieldName = 'lvCOLOR_TP_NM'
    DisplayLabel = 'Тип'
    Size = 50
    KeyFields = 'COLOR_TP_ID'
    LookupDataSet = luCOLOR_TP
    LookupKeyFields = 'ID'
    LookupResultField = 'NM'
    DataSet = Color
  end
  object ColorAM: TFloatField
    FieldName = 'AM'
    DataSet = Color
  end
  object ColorBASE_ID: TIntegerField
    FieldName = 'BASE_ID'
    Visible = False
    DataSet = Color
  end
  object ColorlvLKMRecNM: TStringField
    FieldKind = fkLookup
    FieldName = 'lvLKMRecNM'
    Size = 255
    Visible = False
    KeyFields = 'BASE_ID'
    LookupDataSet = luLKMRecBase
    LookupKeyFields = 'ID'
    LookupResultField = 'NM'
    DataSet = Color
  end
  object ColorBASE_ID_A1: TIntegerField
    FieldName = 'BASE_ID_A1'
    DataSet = Color
  end
  object ColorlvLKMRecNMA1: TStringField
    FieldKind = fkLookup
    FieldName = 'lvLKMRecNMA1'
    Size = 150
    KeyFields = 'BASE_ID_A1'
    LookupDataSet = luLKMRecBaseA1
    LookupKeyFields = 'ID'
    LookupResultField = 'NM'
    DataSet = Color
  end
  object ColorBASE_ID_A2: TIntegerField
    FieldName = 'BASE_ID_A2'
    DataSet = Color
  end
  object ColorlvLKMRecNMA2: TStringField
    FieldKind = fkLookup
    FieldName = 'lvLKMRecNMA2'
    Size = 150
    KeyFields = 'BASE_ID_A2'
    LookupDataSet = luLKMRecBaseA2
    LookupKeyFields = 'ID'
    LookupResultField = 'NM'
    DataSet = Color
  end
  object ColorIND: TIntegerField
    FieldName = 'IND'
    Visible = False
    DataSet = Color
  end
  object ColorPRICE1: TFloatField
    FieldName = 'PRICE1'
    DisplayLabel = 'Цена'
    DisplayFormat = '### ### ### ### ###'
    Currency = True
    DataSet = Color
  end
  object ColorPRICE1A: TFloatField
    FieldName = 'PRICE1A'
    DisplayLabel = 'Цена альт.'
    DisplayFormat = '### ### ### ### ###'
    Currency = True
    DataSet = Color
  end
  object ColorFindID: TAutoIncField
    FieldName = 'ID'
    ReadOnly = True
    DataSet = ColorFind
  end
  object ColorFindNM: TWideStringField
    FieldName = 'NM'
    Size = 255
    DataSet = ColorFind
  end
  object RepColorID: TAutoIncField
    FieldName = 'ID'
    ReadOnly = True
    DataSet = RepColor
  end
  object RepColorIND: TIntegerField
    FieldName = 'IND'
    DataSet = RepColor
  end
  object RepColorNM: TWideStringField
    FieldName = 'NM'
    Size = 255
    DataSet = RepColor
  end
  object RepColorCOMMENT: TWideStringField
    FieldName = 'COMMENT'
    Size = 255
    DataSet = RepColor
  end
  object RepColorCOLOR: TIntegerField
    FieldName = 'COLOR'
    DataSet = RepColor
  end
  object RepColorCOLOR_TP_ID: TIntegerField
    FieldName = 'COLOR_TP_ID'
    DataSet = RepColor
  end
  object RepColorAM: TFloatField
    FieldName = 'AM'
    DataSet = RepColor
  end
  object RepColorBASE_ID: TIntegerField
    FieldName = 'BASE_ID'
    DataSet = RepColor
  end
  object RepColorLKM_ID: TIntegerField
    FieldName = 'LKM_ID'
    DataSet = RepColor
  end
  object RepColorPRICE1: TFloatField
    FieldName = 'PRICE1'
    DisplayFormat = '### ### ### ### ###'
    DataSet = RepColor
  end
  object RepColorPRICE2: TFloatField
    FieldName = 'PRICE2'
    DataSet = RepColor
  end
  object RepColorlvCOLOR_TP_NM: TStringField
    FieldKind = fkLookup
    FieldName = 'lvCOLOR_TP_NM'
    DisplayLabel = 'Тип'
    Size = 50
    KeyFields = 'COLOR_TP_ID'
    LookupDataSet = luCOLOR_TP
    LookupKeyFields = 'ID'
    LookupResultField = 'NM'
    DataSet = RepColor
  end
  object RepColorlvLKMRecNM: TStringField
    FieldKind = fkLookup
    FieldName = 'lvLKMRecNM'
    Size = 255
    Visible = False
    KeyFields = 'BASE_ID'
    LookupDataSet = luLKMRecBase
    LookupKeyFields = 'ID'
    LookupResultField = 'NM'
    DataSet = RepColor
  end
  object RepColorPRICE3: TFloatField
    FieldName = 'PRICE3'
    DataSet = RepColor
  end
  object RepColorPRICE1A: TFloatField
    FieldName = 'PRICE1A'
    DataSet = RepColor
  end
  object ColorRec1RID: TAutoIncField
    FieldName = 'RID'
    Visible = False
    ReadOnly = True
    DataSet = ColorRec1
  end
  object ColorRec1COLOR_ID: TIntegerField
    FieldName = 'COLOR_ID'
    Visible = False
    DataSet = ColorRec1
  end
  object ColorRec1LKM_TP_ID: TIntegerField
    FieldName = 'LKM_TP_ID'
    Visible = False
    DataSet = ColorRec1
  end
  object ColorRec1lvLKM_TP_NM: TStringField
    FieldKind = fkLookup
    FieldName = 'lvLKM_TP_NM'
    DisplayWidth = 16
    DisplayLabel = 'Тип'
    Size = 50
    KeyFields = 'LKM_TP_ID'
    LookupDataSet = luLKM_TP
    LookupKeyFields = 'ID'
    LookupResultField = 'NM'
    DataSet = ColorRec1
  end
  object ColorRec1LKM_ID: TIntegerField
    FieldName = 'LKM_ID'
    Visible = False
    DataSet = ColorRec1
  end
  object ColorRec1lvLKM_NM: TStringField
    FieldKind = fkLookup
    FieldName = 'lvLKM_NM'
    DisplayWidth = 32
    DisplayLabel = 'Материал'
    Size = 255
    KeyFields = 'LKM_ID'
    LookupDataSet = luLKM
    LookupKeyFields = 'ID'
    LookupResultField = 'NM'
    DataSet = ColorRec1
  end
  object ColorRec1AM: TFloatField
    FieldName = 'AM'
    DisplayLabel = '%'
    DisplayFormat = '.#####'
    DataSet = ColorRec1
  end
  object ColorRec1AMX: TFloatField
    FieldName = 'AMX'
    DisplayLabel = 'Количество, кг'
    DisplayFormat = '.#####'
    ReadOnly = True
    DataSet = ColorRec1
  end
  object ColorRec1SUMX: TFloatField
    FieldName = 'SUMX'
    DisplayFormat = '.##'
    Visible = False
    ReadOnly = True
    DataSet = ColorRec1
  end
  object ColorRec1LKM_REC_ID: TIntegerField
    FieldName = 'LKM_REC_ID'
    Visible = False
    DataSet = ColorRec1
  end
  object ColorRec1PRICE1: TFloatField
    FieldName = 'PRICE1'
    DisplayLabel = 'Цена'
    DisplayFormat = '### ### ### ### ###'
    Currency = True
    DataSet = ColorRec1
  end
  object ColorRec2RID: TAutoIncField
    FieldName = 'RID'
    Visible = False
    ReadOnly = True
    DataSet = ColorRec2
  end
  object ColorRec2COLOR_ID: TIntegerField
    FieldName = 'COLOR_ID'
    Visible = False
    DataSet = ColorRec2
  end
  object ColorRec2LKM_TP_ID: TIntegerField
    FieldName = 'LKM_TP_ID'
    Visible = False
    DataSet = ColorRec2
  end
  object ColorRec2lvLKM_TP_NM: TStringField
    FieldKind = fkLookup
    FieldName = 'lvLKM_TP_NM'
    DisplayWidth = 16
    DisplayLabel = 'Тип'
    Size = 50
    KeyFields = 'LKM_TP_ID'
    LookupDataSet = luLKM_TP
    LookupKeyFields = 'ID'
    LookupResultField = 'NM'
    DataSet = ColorRec2
  end
  object ColorRec2LKM_ID: TIntegerField
    FieldName = 'LKM_ID'
    Visible = False
    DataSet = ColorRec2
  end
  object ColorRec2lvLKM_NM: TStringField
    FieldKind = fkLookup
    FieldName = 'lvLKM_NM'
    DisplayWidth = 32
    DisplayLabel = 'Материал'
    Size = 255
    KeyFields = 'LKM_ID'
    LookupDataSet = luLKM
    LookupKeyFields = 'ID'
    LookupResultField = 'NM'
    DataSet = ColorRec2
  end
  object ColorRec2AM: TFloatField
    FieldName = 'AM'
    DisplayLabel = '%'
    DisplayFormat = '.####'
    DataSet = ColorRec2
  end
  object ColorRec2AMX: TFloatField
    FieldName = 'AMX'
    DisplayLabel = 'Количество, кг'
    DisplayFormat = '.####'
    ReadOnly = True
    DataSet = ColorRec2
  end
  object ColorRec2SUMX: TFloatField
    FieldName = 'SUMX'
    DisplayLabel = 'Сумма'
    DisplayFormat = '### ### ### ###.##'
    Visible = False
    ReadOnly = True
    Currency = True
    DataSet = ColorRec2
  end
  object ColorRec2LKM_REC_ID: TIntegerField
    FieldName = 'LKM_REC_ID'
    Visible = False
    DataSet = ColorRec2
  end
  object ColorRec2PRICE1: TFloatField
    FieldName = 'PRICE1'
    DisplayLabel = 'Цена'
    DisplayFormat = '### ### ### ### ###'
    Currency = True
    DataSet = ColorRec2
  end
  object ColorRecA1RID: TAutoIncField
    FieldName = 'RID'
    Visible = False
    ReadOnly = True
    DataSet = ColorRecA1
  end
  object ColorRecA1COLOR_ID: TIntegerField
    FieldName = 'COLOR_ID'
    Visible = False
    DataSet = ColorRecA1
  end
  object ColorRecA1LKM_TP_ID: TIntegerField
    FieldName = 'LKM_TP_ID'
    Visible = False
    DataSet = ColorRecA1
  end
  object ColorRecA1lvLKM_TP_NM: TStringField
    FieldKind = fkLookup
    FieldName = 'lvLKM_TP_NM'
    DisplayWidth = 16
    DisplayLabel = 'Тип'
    Size = 50
    KeyFields = 'LKM_TP_ID'
    LookupDataSet = luLKM_TP
    LookupKeyFields = 'ID'
    LookupResultField = 'NM'
    DataSet = ColorRecA1
  end
  object ColorRecA1LKM_ID: TIntegerField
    FieldName = 'LKM_ID'
    Visible = False
    DataSet = ColorRecA1
  end
  object ColorRecA1lvLKM_NM: TStringField
    FieldKind = fkLookup
    FieldName = 'lvLKM_NM'
    DisplayWidth = 32
    DisplayLabel = 'Материал'
    Size = 255
    KeyFields = 'LKM_ID'
    LookupDataSet = luLKM
    LookupKeyFields = 'ID'
    LookupResultField = 'NM'
    DataSet = ColorRecA1
  end
  object ColorRecA1AM: TFloatField
    FieldName = 'AM'
    DisplayLabel = '%'
    DisplayFormat = '.####'
    DataSet = ColorRecA1
  end
  object ColorRecA1AMX: TFloatField
    FieldName = 'AMX'
    DisplayLabel = 'Количество, кг'
    DisplayFormat = '.####'
    ReadOnly = True
    DataSet = ColorRecA1
  end
  object ColorRecA1SUMX: TFloatField
    FieldName = 'SUMX'
    DisplayLabel = 'Сумма'
    DisplayFormat = '### ### ### ###.##'
    Visible = False
    ReadOnly = True
    DataSet = ColorRecA1
  end
  object ColorRecA1LKM_REC_ID: TIntegerField
    FieldName = 'LKM_REC_ID'
    Visible = False
    DataSet = ColorRecA1
  end
  object ColorRecA1PRICE1: TFloatField
    FieldName = 'PRICE1'
    DisplayLabel = 'Цена'
    DisplayFormat = '### ### ### ### ###'
    DataSet = ColorRecA1
  end
  object ColorRecA1IS_BASE1: TBooleanField
    FieldName = 'IS_BASE1'
    Visible = False
    DataSet = ColorRecA1
  end
  object ColorRecA2RID: TAutoIncField
    FieldName = 'RID'
    Visible = False
    ReadOnly = True
    DataSet = ColorRecA2
  end
  object ColorRecA2COLOR_ID: TIntegerField
    FieldName = 'COLOR_ID'
    Visible = False
    DataSet = ColorRecA2
  end
  object ColorRecA2LKM_TP_ID: TIntegerField
    FieldName = 'LKM_TP_ID'
    Visible = False
    DataSet = ColorRecA2
  end
  object ColorRecA2lvLKM_TP_NM: TStringField
    FieldKind = fkLookup
    FieldName = 'lvLKM_TP_NM'
    DisplayWidth = 16
    DisplayLabel = 'Тип'
    Size = 50
    KeyFields = 'LKM_TP_ID'
    LookupDataSet = luLKM_TP
    LookupKeyFields = 'ID'
    LookupResultField = 'NM'
    DataSet = ColorRecA2
  end
  object ColorRecA2LKM_ID: TIntegerField
    FieldName = 'LKM_ID'
    Visible = False
    DataSet = ColorRecA2
  end
  object ColorRecA2lvLKM_NM: TStringField
    FieldKind = fkLookup
    FieldName = 'lvLKM_NM'
    DisplayWidth = 32
    DisplayLabel = 'Материал'
    Size = 255
    KeyFields = 'LKM_ID'
    LookupDataSet = luLKM
    LookupKeyFields = 'ID'
    LookupResultField = 'NM'
    DataSet = ColorRecA2
  end
  object ColorRecA2AM: TFloatField
    FieldName = 'AM'
    DisplayLabel = '%'
    DisplayFormat = '.####'
    DataSet = ColorRecA2
  end
  object ColorRecA2AMX: TFloatField
    FieldName = 'AMX'
    DisplayLabel = 'Количество, кг'
    DisplayFormat = '.####'
    ReadOnly = True
    DataSet = ColorRecA2
  end
  object ColorRecA2SUMX: TFloatField
    FieldName = 'SUMX'
    DisplayLabel = 'Сумма'
    DisplayFormat = '### ### ### ###.##'
    Visible = False
    ReadOnly = True
    Currency = True
    DataSet = ColorRecA2
  end
  object ColorRecA2LKM_REC_ID: TIntegerField
    FieldName = 'LKM_REC_ID'
    Visible = False
    DataSet = ColorRecA2
  end
  object ColorRecA2PRICE1: TFloatField
    FieldName = 'PRICE1'
    DisplayLabel = 'Цена'
    DisplayFormat = '### ### ### ### ###'
    Currency = True
    DataSet = ColorRecA2
  end
  object ColorCost1ID: TAutoIncField
    FieldName = 'ID'
    ReadOnly = True
    DataSet = ColorCost1
  end
  object ColorCost1PRICE1: TFloatField
    FieldName = 'PRICE1'
    DisplayLabel = 'Цена'
    DisplayFormat = '### ### ### ###.##'
    DataSet = ColorCost1
  end
  object ColorCost1SUM_AMX: TFloatField
    FieldName = 'SUM_AMX'
    ReadOnly = True
    DataSet = ColorCost1
  end
  object ColorCost1SUM_COST: TFloatField
    FieldName = 'SUM_COST'
    DisplayLabel = 'Стоимость'
    DisplayFormat = '### ### ### ### ###'
    ReadOnly = True
    Currency = True
    DataSet = ColorCost1
  end
  object ColorCost2ID: TAutoIncField
    FieldName = 'ID'
    ReadOnly = True
    DataSet = ColorCost2
  end
  object ColorCost2PRICE1: TFloatField
    FieldName = 'PRICE1'
    DisplayLabel = 'Цена'
    DisplayFormat = '### ### ### ###.##'
    DataSet = ColorCost2
  end
  object ColorCost2SUM_AMX: TFloatField
    FieldName = 'SUM_AMX'
    ReadOnly = True
    DataSet = ColorCost2
  end
  object ColorCost2SUM_COST: TFloatField
    FieldName = 'SUM_COST'
    DisplayLabel = 'Стоимость'
    DisplayFormat = '### ### ### ### ###'
    ReadOnly = True
    DataSet = ColorCost2
  end
  object ColorCostA1ID: TAutoIncField
    FieldName = 'ID'
    ReadOnly = True
    DataSet = ColorCostA1
  end
  object ColorCostA1PRICE1: TFloatField
    FieldName = 'PRICE1'
    DisplayLabel = 'Цена'
    DisplayFormat = '### ### ### ###.##'
    DataSet = ColorCostA1
  end
  object ColorCostA1SUM_AMX: TFloatField
    FieldName = 'SUM_AMX'
    ReadOnly = True
    DataSet = ColorCostA1
  end
  object ColorCostA1SUM_COST: TFloatField
    FieldName = 'SUM_COST'
    DisplayLabel = 'Стоимость'
    DisplayFormat = '### ### ### ###.##'
    ReadOnly = True
    DataSet = ColorCostA1
  end
  object ColorCostA2ID: TAutoIncField
    FieldName = 'ID'
    ReadOnly = True
    DataSet = ColorCostA2
  end
  object ColorCostA2PRICE1: TFloatField
    FieldName = 'PRICE1'
    DisplayLabel = 'Цена'
    DisplayFormat = '### ### ### ###.##'
    DataSet = ColorCostA2
  end
  object ColorCostA2SUM_AMX: TFloatField
    FieldName = 'SUM_AMX'
    ReadOnly = True
    DataSet = ColorCostA2
  end
  object ColorCostA2SUM_COST: TFloatField
    FieldName = 'SUM_COST'
    DisplayLabel = 'Стоимость'
    DisplayFormat = '### ### ### ###.##'
    ReadOnly = True
    DataSet = ColorCostA2
  end
  object QColorPriceCOLOR_ID: TIntegerField
    FieldName = 'COLOR_ID'
    DataSet = QColorPrice
  end
  object QColorPriceAM: TFloatField
    FieldName = 'AM'
    DataSet = QColorPrice
  end
  object QColorPricePRICE1: TFloatField
    FieldName = 'PRICE1'
    ReadOnly = True
    DataSet = QColorPrice
  end
  object QColorPriceACOLOR_ID: TIntegerField
    FieldName = 'COLOR_ID'
    DataSet = QColorPriceA
  end
  object QColorPriceAAM: TFloatField
    FieldName = 'AM'
    DataSet = QColorPriceA
  end
  object QColorPriceAPRICE1: TFloatField
    FieldName = 'PRICE1'
    ReadOnly = True
    DataSet = QColorPriceA
  end
  object LKMRecID: TAutoIncField
    FieldName = 'ID'
    ReadOnly = True
    DataSet = LKMRec
  end
  object LKMRecNM: TWideStringField
    FieldName = 'NM'
    DisplayLabel = 'Наименование'
    Size = 255
    DataSet = LKMRec
  end
  object LKMRecCOMMENT: TWideStringField
    FieldName = 'COMMENT'
    DisplayLabel = 'Примечание'
    Size = 255
    DataSet = LKMRec
  end
  object LKMRecLKM_ID: TIntegerField
    FieldName = 'LKM_ID'
    DataSet = LKMRec
  end
  object LKMRecLKM_TP_ID: TIntegerField
    FieldName = 'LKM_TP_ID'
    DataSet = LKMRec
  end
  object LKMReclvLKM_TP: TStringField
    FieldKind = fkLookup
    FieldName = 'lvLKM_TP'
    DisplayLabel = 'Тип'
    Size = 50
    KeyFields = 'LKM_TP_ID'
    LookupDataSet = luLKM_TP
    LookupKeyFields = 'ID'
    LookupResultField = 'NM'
    DataSet = LKMRec
  end
  object LKMRecPRICE1: TFloatField
    FieldName = 'PRICE1'
    DisplayLabel = 'Цена 1'
    DisplayFormat = '# ###'
    Currency = True
    DataSet = LKMRec
  end
  object LKMRecPRICE2: TFloatField
    FieldName = 'PRICE2'
    DisplayLabel = 'Цена 2'
    DisplayFormat = '# ###'
    Currency = True
    DataSet = LKMRec
  end
  object LKMRecPRICE3: TFloatField
    FieldName = 'PRICE3'
    DisplayLabel = 'Цена 3'
    DisplayFormat = '# ###'
    Currency = True
    DataSet = LKMRec
  end
  object IsLKMRecRID: TAutoIncField
    FieldName = 'RID'
    ReadOnly = True
    DataSet = IsLKMRec
  end
  object IsLKMRecLKM_REC_ID: TIntegerField
    FieldName = 'LKM_REC_ID'
    DataSet = IsLKMRec
  end
  object IsLKMRecCOLOR_NM: TWideStringField
    FieldName = 'COLOR_NM'
    Size = 255
    DataSet = IsLKMRec
  end
  object OrdID: TAutoIncField
    FieldName = 'ID'
    DataSet = Ord
  end
  object OrdNUM: TIntegerField
    FieldName = 'NUM'
    DisplayLabel = '№'
    DataSet = Ord
  end
  object OrdDT: TDateTimeField
    FieldName = 'DT'
    DisplayLabel = 'Дата'
    DataSet = Ord
  end
  object OrdCOMMENT: TWideStringField
    FieldName = 'COMMENT'
    DisplayLabel = 'Примечание'
    Size = 255
    DataSet = Ord
  end
  object OrdSUM: TFloatField
    FieldName = 'SUM'
    DisplayFormat = '.##'
    DataSet = Ord
  end
  object QOrdMaxNum: TIntegerField
    FieldName = 'MaxNum'
    DataSet = QOrd
  end
  object OrdTopTID: TAutoIncField
    FieldName = 'TID'
    ReadOnly = True
    DataSet = OrdTop
  end
  object OrdTopORD_ID: TIntegerField
    FieldName = 'ORD_ID'
    DataSet = OrdTop
  end
  object OrdTopCOLOR: TIntegerField
    FieldName = 'COLOR'
    DisplayLabel = 'Цвет'
    DataSet = OrdTop
  end
  object OrdTopCOLOR_ID: TIntegerField
    FieldName = 'COLOR_ID'
    DataSet = OrdTop
  end
  object OrdTopRECEPT_ID: TIntegerField
    FieldName = 'RECEPT_ID'
    DataSet = OrdTop
  end
  object OrdToplvCOLOR_NM: TStringField
    FieldKind = fkLookup
    FieldName = 'lvCOLOR_NM'
    DisplayLabel = 'Цвет'
    Size = 50
    KeyFields = 'COLOR_ID'
    LookupDataSet = luColor
    LookupKeyFields = 'ID'
    LookupResultField = 'NM'
    DataSet = OrdTop
  end
  object OrdTopAM: TFloatField
    FieldName = 'AM'
    DisplayLabel = 'Кол-во'
    DataSet = OrdTop
  end
  object OrdTopPRICE: TFloatField
    FieldName = 'PRICE'
    DisplayLabel = 'Цена'
    DisplayFormat = '### ### ### ### ###'
    Currency = True
    DataSet = OrdTop
  end
  object OrdTopCOMMENT: TWideStringField
    FieldName = 'COMMENT'
    DisplayLabel = 'Примечание'
    Size = 255
    DataSet = OrdTop
  end
  object OrdTopcvCOST: TFloatField
    FieldKind = fkCalculated
    FieldName = 'cvCOST'
    DisplayLabel = 'Стоимость'
    DisplayFormat = '### ### ### ### ###'
    Currency = True
    DataSet = OrdTop
  end
  object OrdRecRID: TAutoIncField
    FieldName = 'RID'
    Visible = False
    ReadOnly = True
    DataSet = OrdRec
  end
  object OrdRecORD_ID: TIntegerField
    FieldName = 'ORD_ID'
    DataSet = OrdRec
  end
  object OrdRecORD_TOP_ID: TIntegerField
    FieldName = 'ORD_TOP_ID'
    DataSet = OrdRec
  end
  object OrdRecRECEPT_ID: TIntegerField
    FieldName = 'RECEPT_ID'
    DataSet = OrdRec
  end
  object OrdRecCOLOR_ID: TIntegerField
    FieldName = 'COLOR_ID'
    Visible = False
    DataSet = OrdRec
  end
  object OrdReclvCOLOR_NM: TStringField
    FieldKind = fkLookup
    FieldName = 'lvCOLOR_NM'
    DisplayLabel = 'Цвет'
    Size = 50
    KeyFields = 'COLOR_ID'
    LookupDataSet = luColor
    LookupKeyFields = 'ID'
    LookupResultField = 'NM'
    DataSet = OrdRec
  end
  object OrdRecLKM_ID: TIntegerField
    FieldName = 'LKM_ID'
    Visible = False
    DataSet = OrdRec
  end
  object OrdReclvLKM_NM: TStringField
    FieldKind = fkLookup
    FieldName = 'lvLKM_NM'
    DisplayLabel = 'Материал'
    Size = 255
    KeyFields = 'LKM_ID'
    LookupDataSet = luLKM
    LookupKeyFields = 'ID'
    LookupResultField = 'NM'
    DataSet = OrdRec
  end
  object OrdRecLKM_REC_ID: TIntegerField
    FieldName = 'LKM_REC_ID'
    DataSet = OrdRec
  end
  object OrdReclvLKM_REC_NM: TStringField
    FieldKind = fkLookup
    FieldName = 'lvLKM_REC_NM'
    DisplayLabel = 'Материал'
    Size = 255
    KeyFields = 'LKM_REC_ID'
    LookupDataSet = luLKMRecAll
    LookupKeyFields = 'ID'
    LookupResultField = 'NM'
    DataSet = OrdRec
  end
  object OrdReclvLKM_TP_ID: TIntegerField
    FieldKind = fkLookup
    FieldName = 'lvLKM_TP_ID'
    KeyFields = 'LKM_REC_ID'
    LookupDataSet = luLKMRecAll
    LookupKeyFields = 'ID'
    LookupResultField = 'LKM_TP_ID'
    DataSet = OrdRec
  end
  object OrdRecAM0: TFloatField
    FieldName = 'AM0'
    DisplayLabel = 'Количество (расч.)'
    DisplayFormat = '.###'
    DataSet = OrdRec
  end
  object OrdRecAM: TFloatField
    FieldName = 'AM'
    DisplayLabel = 'Количество (факт)'
    DisplayFormat = '.###'
    DataSet = OrdRec
  end
  object OrdRecPRICE: TFloatField
    FieldName = 'PRICE'
    DisplayLabel = 'Цена'
    DisplayFormat = '### ### ### ### ###'
    Currency = True
    DataSet = OrdRec
  end
  object OrdRecCOMMENT: TWideStringField
    FieldName = 'COMMENT'
    DisplayLabel = 'Примечание'
    Size = 255
    DataSet = OrdRec
  end
  object OrdRecGRP: TIntegerField
    FieldName = 'GRP'
    Visible = False
    DataSet = OrdRec
  end
  object OrdReccvSum: TFloatField
    FieldKind = fkCalculated
    FieldName = 'cvSum'
    DisplayLabel = 'Сумма'
    DisplayFormat = '### ### ### ### ###'
    Currency = True
    DataSet = OrdRec
  end
  object OrdRec3RID: TAutoIncField
    FieldName = 'RID'
    ReadOnly = True
    DataSet = OrdRec3
  end
  object OrdRec3ORD_ID: TIntegerField
    FieldName = 'ORD_ID'
    DataSet = OrdRec3
  end
  object OrdRec3GRP: TIntegerField
    FieldName = 'GRP'
    DataSet = OrdRec3
  end
  object OrdRec3COLOR_ID: TIntegerField
    FieldName = 'COLOR_ID'
    DataSet = OrdRec3
  end
  object OrdRec3LKM_ID: TIntegerField
    FieldName = 'LKM_ID'
    DataSet = OrdRec3
  end
  object OrdRec3lvLKM_NM: TStringField
    FieldKind = fkLookup
    FieldName = 'lvLKM_NM'
    DisplayLabel = 'Материал'
    Size = 50
    KeyFields = 'LKM_ID'
    LookupDataSet = luLKM3
    LookupKeyFields = 'ID'
    LookupResultField = 'NM'
    DataSet = OrdRec3
  end
  object OrdRec3AM0: TFloatField
    FieldName = 'AM0'
    DataSet = OrdRec3
  end
  object OrdRec3AM: TFloatField
    FieldName = 'AM'
    DisplayLabel = 'Количество'
    DataSet = OrdRec3
  end
  object OrdRec3PRICE: TFloatField
    FieldName = 'PRICE'
    DisplayLabel = 'Цена'
    DisplayFormat = '# ###'
    Currency = True
    DataSet = OrdRec3
  end
  object OrdRec3COMMENT: TWideStringField
    FieldName = 'COMMENT'
    DisplayLabel = 'Примечанире'
    Size = 255
    DataSet = OrdRec3
  end
  object OrdRec3cvSum: TFloatField
    FieldKind = fkCalculated
    FieldName = 'cvSum'
    DisplayLabel = 'Сумма'
    DisplayFormat = '# ###'
    Currency = True
    DataSet = OrdRec3
  end
  object OrdRecSumsORD_TOP_ID: TIntegerField
    FieldName = 'ORD_TOP_ID'
    DataSet = OrdRecSums
  end
  object OrdRecSumsSAM0: TFloatField
    FieldName = 'SAM0'
    DataSet = OrdRecSums
  end
  object OrdRecSumsSAM: TFloatField
    FieldName = 'SAM'
    DataSet = OrdRecSums
  end
  object OrdRecSumsSCOST: TFloatField
    FieldName = 'SCOST'
    DisplayLabel = 'Стоимость'
    DisplayFormat = '### ### ### ### ###'
    Currency = True
    DataSet = OrdRecSums
  end
  object OrdTopSumsORD_ID: TIntegerField
    FieldName = 'ORD_ID'
    DataSet = OrdTopSums
  end
  object OrdTopSumsSAM0: TFloatField
    FieldName = 'SAM0'
    DataSet = OrdTopSums
  end
  object OrdTopSumsSAM: TFloatField
    FieldName = 'SAM'
    DataSet = OrdTopSums
  end
  object OrdTopSumsSCOST: TFloatField
    FieldName = 'SCOST'
    DisplayLabel = 'Стоимость'
    DisplayFormat = '### ### ### ### ###'
    Currency = True
    DataSet = OrdTopSums
  end
  object OrdSumsORD_ID: TIntegerField
    FieldName = 'ORD_ID'
    DataSet = OrdSums
  end
  object OrdSumsSAM0: TFloatField
    FieldName = 'SAM0'
    DataSet = OrdSums
  end
  object OrdSumsSAM: TFloatField
    FieldName = 'SAM'
    DataSet = OrdSums
  end
  object OrdSumsSCOST: TFloatField
    FieldName = 'SCOST'
    DisplayFormat = '### ### ### ### ###'
    Currency = True
    DataSet = OrdSums
  end
  object ROrdRecRID: TAutoIncField
    FieldName = 'RID'
    ReadOnly = True
    DataSet = ROrdRec
  end
  object ROrdRecORD_ID: TIntegerField
    FieldName = 'ORD_ID'
    DataSet = ROrdRec
  end
  object ROrdRecGRP: TIntegerField
    FieldName = 'GRP'
    DataSet = ROrdRec
  end
  object ROrdRecCOLOR_ID: TIntegerField
    FieldName = 'COLOR_ID'
    DataSet = ROrdRec
  end
  object ROrdRecLKM_ID: TIntegerField
    FieldName = 'LKM_ID'
    DataSet = ROrdRec
  end
  object ROrdRecAM0: TFloatField
    FieldName = 'AM0'
    DataSet = ROrdRec
  end
  object ROrdRecAM: TFloatField
    FieldName = 'AM'
    DataSet = ROrdRec
  end
  object ROrdRecPRICE: TFloatField
    FieldName = 'PRICE'
    DisplayFormat = '### ### ### ###'
    Currency = True
    DataSet = ROrdRec
  end
  object ROrdRecCOMMENT: TWideStringField
    FieldName = 'COMMENT'
    Size = 255
    DataSet = ROrdRec
  end
  object ROrdReclvLKM_NM: TStringField
    FieldKind = fkLookup
    FieldName = 'lvLKM_NM'
    DisplayLabel = 'Материал'
    Size = 255
    KeyFields = 'LKM_ID'
    LookupDataSet = luLKM
    LookupKeyFields = 'ID'
    LookupResultField = 'NM'
    DataSet = ROrdRec
  end
  object ROrdReclvCOLOR_NM: TStringField
    FieldKind = fkLookup
    FieldName = 'lvCOLOR_NM'
    DisplayLabel = 'Цвет'
    Size = 50
    KeyFields = 'COLOR_ID'
    LookupDataSet = luColor
    LookupKeyFields = 'ID'
    LookupResultField = 'NM'
    DataSet = ROrdRec
  end
  object ROrdReccvSum: TFloatField
    FieldKind = fkCalculated
    FieldName = 'cvSum'
    DisplayFormat = '### ### ### ###'
    Currency = True
    DataSet = ROrdRec
  end
  object ROrdRecLKM_REC_ID: TIntegerField
    FieldName = 'LKM_REC_ID'
    DataSet = ROrdRec
  end
  object ROrdReclvLKM_REC_NM: TStringField
    FieldKind = fkLookup
    FieldName = 'lvLKM_REC_NM'
    DisplayLabel = 'Материал'
    Size = 255
    KeyFields = 'LKM_REC_ID'
    LookupDataSet = luLKMRecAll
    LookupKeyFields = 'ID'
    LookupResultField = 'NM'
    DataSet = ROrdRec
  end
  object ROrdRecRECEPT_ID: TIntegerField
    FieldName = 'RECEPT_ID'
    DataSet = ROrdRec
  end
  object ROrdRecORD_TOP_ID: TIntegerField
    FieldName = 'ORD_TOP_ID'
    DataSet = ROrdRec
  end
  object ROrdRecLKM_TP_ID: TIntegerField
    FieldName = 'LKM_TP_ID'
    DataSet = ROrdRec
  end
  object qMTLKM: TADOQuery
    Connection = Connection
    SQL.Strings = (
      'SELECT *'
      'FROM DS_LKM'
      'WHERE LKM_TP_ID=1 or LKM_TP_ID=2'
      'ORDER BY LKM_TP_ID, NM COLLATE RU')
  end
  object MTLKMDriver: TDataSetDriverZk
    ProviderDataSet = qMTLKM
  end
  object MTLKM: TMemTableZk
    DataDriver = MTLKMDriver
  end
  object MTLKMID: TAutoIncField
    FieldName = 'ID'
    DisplayLabel = 'Код'
    DataSet = MTLKM
  end
  object MTLKMNM: TWideStringField
    FieldName = 'NM'
    DisplayLabel = 'Наименование'
    Size = 255
    DataSet = MTLKM
  end
  object MTLKMCOMMENT: TWideStringField
    FieldName = 'COMMENT'
    DisplayLabel = 'Примечание'
    Size = 255
    DataSet = MTLKM
  end
  object MTLKMLKM_TP_ID: TIntegerField
    FieldName = 'LKM_TP_ID'
    DataSet = MTLKM
  end
end
