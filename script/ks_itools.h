// ks_itools.h - shared rules and small converters of the script engine.
//
// Case-insensitive text helpers used by the symbol table, the lexer and the walker; the grammar
// registry (language name to grammar document text); and, further down, the type rules, literal
// conversion, declaration-string parsing and position reading the compiler uses.
#pragma once

#include <string_view>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Types.h"
#include "script/ks_iinterpreter.h"
#include "script/ks_iparser.h"

// ---- Text -----------------------------------------------------------------------------------

// One-to-one upper case of a character (Latin and Cyrillic letters; others unchanged).
Char ksUpChar(Char C);
String ksUpperCase(std::u16string_view S);
String ksLowerCase(std::u16string_view S);
int ksCompareText(std::u16string_view A, std::u16string_view B);
bool ksSameText(std::u16string_view A, std::u16string_view B);
// The text with every line ending (CR LF, LF or CR) written as CR LF and a final CR LF, as the
// lexer expects of source text (BasicScript ends a statement only at a carriage return).
String ksCRLFText(std::u16string_view S);

// ---- Grammar registry -----------------------------------------------------------------------

// Adds or replaces the grammar text of a language.
void RegisterLanguageGrammar(const String& Name, const String& Grammar);
// The grammar text of Name; raises SLangNotFound formatted with the name when there is none.
const String& LanguageGrammar(const String& Name);
// Names of the registered languages in registration order.
std::vector<String> LanguageNames();

// ---- Type rules and converters (ks_itools.cpp) ----------------------------------------------

TksVarType VarTypeOfTypeName(const String& Name, const TksScript* Script);
bool ClassTypesCompatible(const String& Name1, const String& Name2, const TksScript* Script);
bool TypeRecsCompatible(const TksTypeRec& Target, const TksTypeRec& Source, const TksScript* Script);
bool VariablesCompatible(const TksCustomVariable* Target, const TksCustomVariable* Source,
                         const TksScript* Script);
// The value of a literal text of the program tree: Null, a quoted string, an integer or a float.
Variant LiteralToVariant(const String& Text);
// Builds an entry from a declaration string such as "function Copy(s: String; from, count:
// Integer): String"; the caller owns the result.
TksCustomVariable* ParseMethodSyntax(const String& Syntax, const TksScript* Script);
TksPoint PositionToPoint(const String& Text);
// The elements of a Variant array as Format's argument records (integers, 64-bit integers,
// floats and dates as floats, Currency, Booleans as 1 or 0, texts as their own copies; any
// other kind as 0), and one record back as a Variant.
std::vector<TVarRec> VarRecsFromVariantArray(const Variant& Args);
Variant VariantFromVarRec(const TVarRec& Rec);
