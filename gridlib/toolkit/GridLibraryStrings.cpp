// GridLibraryStrings.cpp - the grid library's string table.
#include "gridlib/toolkit/GridLibraryStrings.h"

#include <string_view>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

namespace {

struct TEntry {
  int Id;
  const char16_t* Text;
};

// In the order of the string ids.
constexpr TEntry Table[] = {
    {SClearSelectedCells, u"Очистить выделенные ячейки?"},
    {SInvalidTextFormat, u"Неверный формат текста"},
    {SInvalidVclDbifFormat, u"Неверный формат VCLDBIF"},
    {SErrorInsertingValue, u"Ошибка при вставке значения:"},
    {SIgnoreError, u"Игнорировать ошибку?"},
    {SFieldNameNotFound, u"Имя поля '%s' не найдено"},
    {SVisibleColumns, u"Видимые столбцы"},
    {SCut, u"Вырезать"},
    {SCopy, u"Копировать"},
    {SPaste, u"Вставить"},
    {SDelete, u"Удалить"},
    {SSelectAll, u"Выбрать все"},
    {SFilterBlanks, u"(Пустые)"},
    {SFilterNonBlanks, u"(Не пустые)"},
    {SFilterAll, u"(Все)"},
    {SFilterClear, u"(Очистить фильтр)"},
    {SFilterSortDescending, u"(Сортировка по убыванию)"},
    {SFilterSortAscending, u"(Сортировка по возрастанию)"},
    {SFilterApply, u"(Применить фильтр)"},
    {SFilterCustom, u"(Условие...)"},
    {SOpEqual, u"равно"},
    {SOpNotEqual, u"не равно"},
    {SOpGreater, u"больше"},
    {SOpGreaterOrEqual, u"больше или равно"},
    {SOpLess, u"меньше"},
    {SOpLessOrEqual, u"меньше или равно"},
    {SOpBeginsWith, u"начинается с"},
    {SOpNotBeginsWith, u"не начинается с"},
    {SOpEndsWith, u"заканчивается на"},
    {SOpNotEndsWith, u"не заканчивается на"},
    {SOpContains, u"содержит"},
    {SOpNotContains, u"не содержит"},
    {SOpLike, u"подобно"},
    {SOpNotLike, u"не подобно"},
    {SOpInList, u"в списке"},
    {SOpNotInList, u"не в списке"},
    {SOpBlanks, u"пустые"},
    {SOpNonBlanks, u"не пустые"},
    {SGroupPanelHint, u"Перетащите сюда заголовок чтобы группировать по столбцу"},
};

}  // namespace

String GridLibraryString(int Id) {
  for (const TEntry& E : Table)
    if (E.Id == Id) return E.Text;
  throw EResNotFound(u"Resource " + IntToStr(Id) + u" not found");
}
