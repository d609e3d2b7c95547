// ks_itools.cpp - type compatibility, literal conversion, declaration strings and positions.
#include "script/ks_itools.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "platform/rtl/Exceptions.h"

TksVarType VarTypeOfTypeName(const String& Name, const TksScript* Script) {
  TksCustomVariable* V = Script ? Script->Find(Name) : nullptr;
  return V ? V->Typ() : fvtClass;
}

bool ClassTypesCompatible(const String& Name1, const String& Name2, const TksScript* Script) {
  TksClassVariable* C1 = Script->FindClass(Name1);
  TksClassVariable* C2 = Script->FindClass(Name2);
  if (!C1 || !C2) return false;
  if (C1 == C2) return true;
  // Walk the ancestor names of the second class.
  for (TksClassVariable* C = C2; C; C = Script->FindClass(C->Ancestor())) {
    if (C == C1) return true;
    if (C->Ancestor().empty() || ksSameText(C->Ancestor(), C->Name())) break;
  }
  return false;
}

bool TypeRecsCompatible(const TksTypeRec& Target, const TksTypeRec& Source, const TksScript* Script) {
  TksVarType S = Source.Typ;
  switch (Target.Typ) {
    case fvtInt: return S == fvtInt || S == fvtFloat || S == fvtVariant || S == fvtEnum;
    case fvtBool: return S == fvtBool || S == fvtVariant;
    case fvtFloat: return S == fvtInt || S == fvtFloat || S == fvtVariant;
    case fvtChar:
    case fvtString: return S == fvtChar || S == fvtString || S == fvtVariant;
    case fvtClass:
      return S == fvtVariant ||
             (S == fvtClass && ClassTypesCompatible(Target.TypeName, Source.TypeName, Script));
    case fvtArray: return S == fvtArray || S == fvtVariant;
    case fvtVariant: return true;
    case fvtEnum:
      return S == fvtInt || S == fvtVariant ||
             (S == fvtEnum && ksSameText(Target.TypeName, Source.TypeName));
    case fvtConstructor: return false;
  }
  return false;
}

bool VariablesCompatible(const TksCustomVariable* Target, const TksCustomVariable* Source,
                         const TksScript* Script) {
  if (Target->Typ() == fvtInt && Source->Typ() == fvtFloat) return false;
  return TypeRecsCompatible({Target->Typ(), Target->TypeName()},
                            {Source->Typ(), Source->TypeName()}, Script);
}

Variant LiteralToVariant(const String& Text) {
  if (Text.empty()) return Variant::MakeNull();
  if (Text[0] == u'\'') return Variant(Text.substr(1, Text.size() >= 2 ? Text.size() - 2 : 0));
  // Most literals are a few decimal digits: read them in place.
  if (Text.size() <= 9) {
    int V = 0;
    size_t i = 0;
    for (; i < Text.size() && Text[i] >= u'0' && Text[i] <= u'9'; ++i) V = V * 10 + (Text[i] - u'0');
    if (i == Text.size()) return Variant(V);
  }
  std::string A = StringToUtf8(Text);
  long long I = 0;
  std::from_chars_result R;
  if (A[0] == '$') R = std::from_chars(A.data() + 1, A.data() + A.size(), I, 16);
  else R = std::from_chars(A.data(), A.data() + A.size(), I, 10);
  if (R.ec == std::errc() && R.ptr == A.data() + A.size()) {
    if (I >= 0 && I <= 2147483647) return Variant(static_cast<int>(I));
    return Variant(I);
  }
  double D = 0;
  auto F = std::from_chars(A.data(), A.data() + A.size(), D);
  if (F.ec != std::errc() || F.ptr != A.data() + A.size())
    throw EConvertError(u"'" + Text + u"' is not a valid floating point value");
  return Variant(D);
}

TksPoint PositionToPoint(const String& Text) {
  if (Text.empty()) return {};
  size_t C = Text.find(u':');
  auto ToInt = [&](const String& S) {
    std::string A = StringToUtf8(S);
    int V = 0;
    auto R = std::from_chars(A.data(), A.data() + A.size(), V);
    if (R.ec != std::errc() || R.ptr != A.data() + A.size() || A.empty())
      throw EConvertError(u"'" + S + u"' is not a valid integer value");
    return V;
  };
  TksPoint P;
  P.Y = ToInt(Text.substr(0, C));
  P.X = C == String::npos ? 0 : ToInt(Text.substr(C + 1));
  return P;
}

TksCustomVariable* ParseMethodSyntax(const String& Syntax, const TksScript* Script) {
  TksParser L;
  if (Script && Script->ExtendedCharset())
    for (int C = 128; C < 256; ++C) L.IdentifierCharset().set(C);
  L.SetText(Syntax);
  String Kind = L.GetWord();
  bool IsMacro = false;
  if (Kind.size() >= 5 && ksSameText(Kind.substr(0, 5), u"macro")) {
    IsMacro = true;
    Kind = Kind.substr(5);
  }
  bool IsFunc = ksSameText(Kind, u"function");
  String Name = L.GetWord();
  String TypeName;
  if (IsFunc) {
    size_t Colon = Syntax.rfind(u':');
    TksParser T;
    T.SetText(Colon == String::npos ? String() : Syntax.substr(Colon + 1));
    TypeName = T.GetWord();
  }
  auto Result = std::make_unique<TksCustomVariable>(Name, VarTypeOfTypeName(TypeName, Script), TypeName);
  if (TypeName.empty()) Result->SetTyp(fvtVariant);
  Result->SetIsMacro(IsMacro);
  L.SkipSpaces();
  if (L.GetChar() != u"(") return Result.release();
  for (;;) {
    L.SkipSpaces();
    int Save = L.Position();
    String W = L.GetWord();
    bool IsVar = false;
    if (ksSameText(W, u"var")) IsVar = true;
    else if (!ksSameText(W, u"const")) L.SetPosition(Save);
    std::vector<String> Names;
    for (;;) {
      String N = L.GetWord();
      if (N.empty()) break;
      Names.push_back(N);
      L.SkipSpaces();
      int AfterName = L.Position();
      if (L.GetChar() != u",") {
        L.SetPosition(AfterName);
        break;
      }
    }
    L.SkipSpaces();
    // A name list closed without ':' and a type adds nothing.
    int Before = L.Position();
    String C = L.GetChar();
    if (C != u":") {
      L.SetPosition(Before);
      break;
    }
    String Type = L.GetWord();
    Variant Def = Variant::MakeNull();
    L.SkipSpaces();
    Before = L.Position();
    if (L.GetChar() == u"=") {
      String Num = L.GetNumber();
      if (!Num.empty()) Def = LiteralToVariant(Num);
      else {
        String Str = L.GetString();
        if (!Str.empty()) Def = LiteralToVariant(Str);
        else {
          L.SkipSpaces();
          int B2 = L.Position();
          if (L.GetChar() == u"-" && !(Num = L.GetNumber()).empty()) {
            Def = -LiteralToVariant(Num);
          } else {
            L.SetPosition(B2);
            String Id = L.GetWord();
            TksCustomVariable* V = Script ? Script->Find(Id) : nullptr;
            if (V) Def = V->GetValue();
          }
        }
      }
    } else {
      L.SetPosition(Before);
    }
    TksVarType PT = VarTypeOfTypeName(Type, Script);
    for (size_t i = 0; i < Names.size(); ++i) {
      bool Last = i + 1 == Names.size();
      auto* P = new TksParamItem(Names[i], PT, Type, Last && !Def.IsNull(), IsVar);
      if (Last) P->SetDefValue(Def);
      Result->AddParam(P);
    }
    L.SkipSpaces();
    String Sep = L.GetChar();
    if (Sep != u";") break;
  }
  return Result.release();
}

std::vector<TVarRec> VarRecsFromVariantArray(const Variant& Args) {
  std::vector<TVarRec> R;
  if (!Args.IsArray()) return R;
  for (int i = Args.ArrayLowBound(); i <= Args.ArrayHighBound(); ++i) {
    const Variant& V = Args[i];
    switch (V.VType()) {
      case varSmallint: case varInteger: case varShortInt: case varByte: case varWord:
      case varLongWord: R.emplace_back(V.AsInteger()); break;
      case varInt64: R.emplace_back(static_cast<long long>(V.AsInt64())); break;
      case varSingle: case varDouble: case varDate: R.emplace_back(V.AsDouble()); break;
      case varCurrency: R.emplace_back(V.AsCurrency()); break;
      case varBoolean: R.emplace_back(V.AsBoolean() ? 1 : 0); break;
      case varUString: case varString: case varOleStr: R.emplace_back(String(V.StringRef())); break;
      default: R.emplace_back(0);
    }
  }
  return R;
}

Variant VariantFromVarRec(const TVarRec& Rec) {
  switch (Rec.Kind()) {
    case TVarRec::vtInteger: return Variant(static_cast<int>(Rec.AsInt64()));
    case TVarRec::vtInt64: return Variant(static_cast<long long>(Rec.AsInt64()));
    case TVarRec::vtUInt64: return Variant(static_cast<unsigned long long>(Rec.AsInt64()));
    case TVarRec::vtExtended: return Variant(static_cast<double>(Rec.AsExtended()));
    case TVarRec::vtCurrency: return Variant(Rec.AsCurrency());
    case TVarRec::vtString: return Variant(String(Rec.AsText()));
    case TVarRec::vtWideChar: return Variant(String(1, static_cast<Char>(Rec.AsInt64())));
    default: return Variant(0);
  }
}
