// ks_iinirtti.cpp - the ini file bindings, each member bound to its own handler.
#include "script/ks_iinirtti.h"

#include "platform/classes/IniFiles.h"
#include "platform/classes/Streams.h"
#include "platform/classes/Strings.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"
#include "script/ks_ibindings.h"
#include "script/ks_iinterpreter.h"

namespace {

using TBody = std::function<Variant(TCustomIniFile& Ini, TksMethodHelper* H)>;

class TFunctions : public TksRTTIModule {
public:
  explicit TFunctions(TksScript* S) : TksRTTIModule(S) {
    if ((FClass = S->AddClass(TCustomIniFile::ClassInfo(), u"TObject"))) AddCustomIniFile();
    if ((FClass = S->AddClass(TMemIniFile::ClassInfo(), u"TCustomIniFile"))) {
      AddFileMembers();
      FClass->AddConstructor(u"constructor Create(const FileName: String)", Construct());
      Method(u"procedure Clear", [](TCustomIniFile& I, auto*) {
        Mem(I).Clear();
        return Variant(0);
      });
      Method(u"procedure GetStrings(List: TStrings)", [](TCustomIniFile& I, auto* H) {
        Mem(I).GetStrings(ksArg<TStrings>(H, 0));
        return Variant(0);
      });
      Method(u"procedure SetStrings(List: TStrings)", [](TCustomIniFile& I, auto* H) {
        Mem(I).SetStrings(ksArg<TStrings>(H, 0));
        return Variant(0);
      });
    }
    if ((FClass = S->AddClass(TIniFile::ClassInfo(), u"TCustomIniFile"))) AddFileMembers();
  }

private:
  TksClassVariable* FClass = nullptr;

  static TMemIniFile& Mem(TCustomIniFile& I) { return ksSelf<TMemIniFile>(&I); }

  void Method(const char16_t* Syntax, TBody Body) {
    FClass->AddMethod(Syntax, [Body](TObject* I, TksClassRef, const String&, TksMethodHelper* H) {
      return Body(ksSelf<TCustomIniFile>(I), H);
    });
  }

  // The token's class builds the object: TIniFile.Create through TCustomIniFile's member
  // makes a TIniFile.
  static TksCallMethodNewEvent Construct() {
    return [](TObject*, TksClassRef Class, const String&, TksMethodHelper* H) -> Variant {
      if (Class->InheritsFrom(TIniFile::ClassInfo())) return ksObjectToVariant(new TIniFile(ksStrArg(H, 0)));
      if (Class->InheritsFrom(TMemIniFile::ClassInfo())) return ksObjectToVariant(new TMemIniFile(ksStrArg(H, 0)));
      throw EInvalidOperation(u"Cannot create an instance of " + Class->Name());
    };
  }

  void AddCustomIniFile() {
    FClass->AddConstructor(u"constructor Create(const FileName: String)", Construct());
    Method(u"function ReadInteger(const Section, Ident: String; Default: LongInt): LongInt", [](auto& I, auto* H) {
      return Variant(I.ReadInteger(ksStrArg(H, 0), ksStrArg(H, 1), H->GetParam(2).AsInteger()));
    });
    Method(u"procedure WriteInteger(const Section, Ident: String; Value: LongInt)", [](auto& I, auto* H) {
      I.WriteInteger(ksStrArg(H, 0), ksStrArg(H, 1), H->GetParam(2).AsInteger());
      return Variant(0);
    });
    Method(u"function ReadBool(const Section, Ident: String; Default: Boolean): Boolean", [](auto& I, auto* H) {
      return Variant(I.ReadBool(ksStrArg(H, 0), ksStrArg(H, 1), H->GetParam(2).AsBoolean()));
    });
    Method(u"procedure WriteBool(const Section, Ident: String; Value: Boolean)", [](auto& I, auto* H) {
      I.WriteBool(ksStrArg(H, 0), ksStrArg(H, 1), H->GetParam(2).AsBoolean());
      return Variant(0);
    });
    using TRead = TDateTime (TCustomIniFile::*)(const String&, const String&, TDateTime);
    using TWrite = void (TCustomIniFile::*)(const String&, const String&, TDateTime);
    const std::tuple<const char16_t*, TRead, TWrite> Dates[] = {
        {u"Date", &TCustomIniFile::ReadDate, &TCustomIniFile::WriteDate},
        {u"DateTime", &TCustomIniFile::ReadDateTime, &TCustomIniFile::WriteDateTime},
        {u"Time", &TCustomIniFile::ReadTime, &TCustomIniFile::WriteTime}};
    for (auto& [Name, Read, Write] : Dates) {
      TRead R = Read;
      TWrite W = Write;
      Method((u"function Read" + String(Name) + u"(const Section, Name: String; Default: TDateTime): TDateTime").c_str(),
             [R](auto& I, auto* H) {
               return VarFromDateTime((I.*R)(ksStrArg(H, 0), ksStrArg(H, 1), H->GetParam(2).AsDouble()));
             });
      Method((u"procedure Write" + String(Name) + u"(const Section, Name: String; Value: TDateTime)").c_str(),
             [W](auto& I, auto* H) {
               (I.*W)(ksStrArg(H, 0), ksStrArg(H, 1), H->GetParam(2).AsDouble());
               return Variant(0);
             });
    }
    Method(u"function ReadFloat(const Section, Name: String; Default: Double): Double", [](auto& I, auto* H) {
      return Variant(I.ReadFloat(ksStrArg(H, 0), ksStrArg(H, 1), H->GetParam(2).AsDouble()));
    });
    Method(u"procedure WriteFloat(const Section, Name: String; Value: Double)", [](auto& I, auto* H) {
      I.WriteFloat(ksStrArg(H, 0), ksStrArg(H, 1), H->GetParam(2).AsDouble());
      return Variant(0);
    });
    Method(u"function ReadBinaryStream(const Section, Name: String; Value: TStream): Integer", [](auto& I, auto* H) {
      return Variant(I.ReadBinaryStream(ksStrArg(H, 0), ksStrArg(H, 1), ksArg<TStream>(H, 2)));
    });
    Method(u"procedure WriteBinaryStream(const Section, Name: String; Value: TStream)", [](auto& I, auto* H) {
      I.WriteBinaryStream(ksStrArg(H, 0), ksStrArg(H, 1), ksArg<TStream>(H, 2));
      return Variant(0);
    });
    Method(u"function SectionExists(const Section: String): Boolean",
           [](auto& I, auto* H) { return Variant(I.SectionExists(ksStrArg(H, 0))); });
    Method(u"function ValueExists(const Section, Ident: String): Boolean",
           [](auto& I, auto* H) { return Variant(I.ValueExists(ksStrArg(H, 0), ksStrArg(H, 1))); });
    Method(u"procedure WriteTStrings(const Section :String; Value :TStrings; IsClear :Boolean = True)",
           [](auto& I, auto* H) {
             TStrings* Value = ksArg<TStrings>(H, 1);
             if (H->GetParam(2).AsBoolean()) I.EraseSection(ksStrArg(H, 0));
             const int N = Value ? Value->Count() : 0;
             for (int i = 0; i < N; ++i) I.WriteString(ksStrArg(H, 0), u"Items" + IntToStr(i), Value->Strings(i));
             I.WriteInteger(ksStrArg(H, 0), u"Count", N);
             return Variant(0);
           });
    Method(u"function ReadTStrings(const Section :String; Value :TStrings; IsClear :Boolean = True): String;",
           [](auto& I, auto* H) {
             TStrings* Value = ksArg<TStrings>(H, 1);
             if (!Value) return Variant(0);
             const int N = I.ReadInteger(ksStrArg(H, 0), u"Count", 0);
             if (H->GetParam(2).AsBoolean()) Value->Clear();
             for (int i = 0; i < N; ++i) Value->Add(I.ReadString(ksStrArg(H, 0), u"Items" + IntToStr(i), String()));
             return Variant(0);
           });
    FClass->AddProperty(u"FileName", u"String", [](TObject* I, TksClassRef, const String&) {
      return Variant(ksSelf<TCustomIniFile>(I).FileName());
    });
  }

  // The members TMemIniFile and TIniFile both declare.
  void AddFileMembers() {
    Method(u"procedure WriteString(const Section, Ident, Value: String)", [](auto& I, auto* H) {
      I.WriteString(ksStrArg(H, 0), ksStrArg(H, 1), ksStrArg(H, 2));
      return Variant(0);
    });
    Method(u"function ReadString(const Section, Ident, Default: String): String;",
           [](auto& I, auto* H) { return Variant(I.ReadString(ksStrArg(H, 0), ksStrArg(H, 1), ksStrArg(H, 2))); });
    Method(u"procedure ReadSectionValuesEx(const Section: String; Strings: TStrings)", [](auto& I, auto* H) {
      TStringList Lines;
      I.ReadSectionValues(ksStrArg(H, 0), &Lines);
      TStrings* Out = ksArg<TStrings>(H, 1);
      if (!Out) return Variant(0);
      Out->Clear();
      for (int i = 0; i < Lines.Count(); ++i) Out->Add(Lines.ValueFromIndex(i));
      return Variant(0);
    });
    Method(u"procedure DeleteKey(const Section, Ident: String)", [](auto& I, auto* H) {
      I.DeleteKey(ksStrArg(H, 0), ksStrArg(H, 1));
      return Variant(0);
    });
    Method(u"procedure ReadSection(const Section: String; Strings: TStrings)", [](auto& I, auto* H) {
      I.ReadSection(ksStrArg(H, 0), ksArg<TStrings>(H, 1));
      return Variant(0);
    });
    Method(u"procedure ReadSections(Strings: TStrings)", [](auto& I, auto* H) {
      I.ReadSections(ksArg<TStrings>(H, 0));
      return Variant(0);
    });
    Method(u"procedure ReadSectionValues(const Section: String; Strings: TStrings)", [](auto& I, auto* H) {
      I.ReadSectionValues(ksStrArg(H, 0), ksArg<TStrings>(H, 1));
      return Variant(0);
    });
    Method(u"procedure EraseSection(const Section: String)", [](auto& I, auto* H) {
      I.EraseSection(ksStrArg(H, 0));
      return Variant(0);
    });
    Method(u"procedure SaveIniFileToStream(oStream: TStream)", [](auto& I, auto* H) {
      TStream* Stream = ksArg<TStream>(H, 0);
      if (!Stream) return Variant(0);
      TStringList Lines;
      if (auto* M = dynamic_cast<TMemIniFile*>(&I)) M->GetStrings(&Lines);
      else if (FileExists(I.FileName())) Lines.LoadFromFile(I.FileName());
      Lines.SaveToStream(Stream);
      return Variant(0);
    });
    Method(u"procedure LoadIniFileFromStream(oStream: TStream)", [](auto& I, auto* H) {
      TStream* Stream = ksArg<TStream>(H, 0);
      if (!Stream) return Variant(0);
      TStringList Lines;
      Lines.LoadFromStream(Stream);
      if (auto* M = dynamic_cast<TMemIniFile*>(&I)) M->SetStrings(&Lines);
      else Lines.SaveToFile(I.FileName());
      return Variant(0);
    });
  }
};

}  // namespace

TksRTTIModule* ksCreateIniRTTI(TksScript* Script) { return new TFunctions(Script); }
