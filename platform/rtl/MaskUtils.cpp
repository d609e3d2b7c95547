// MaskUtils.cpp - parsing a mask, the EditText/Text rules and the masked editing steps.
#include "platform/rtl/MaskUtils.h"

#include <unicode/uchar.h>

#include <algorithm>

#include "platform/rtl/FormatSettings.h"

namespace {

// One UTF-16 unit at a time, as the edit handles characters; a surrogate is no letter.
bool IsLetter(Char C) { return u_isalpha(C); }
bool IsDigit(Char C) { return C >= u'0' && C <= u'9'; }

Char ConvertCase(Char C, TMaskCase Case) {
  if (Case == mcUpper) return Char(u_toupper(C));
  if (Case == mcLower) return Char(u_tolower(C));
  return C;
}

// A ";" that a backslash does not escape.
bool IsSeparatorAt(const String& Mask, int I) {
  return I >= 0 && I < int(Mask.size()) && Mask[I] == u';' && (I == 0 || Mask[I - 1] != u'\\');
}

// Splits "body;save;blank": the separators count only in the suffix, where a field holds at
// most one character, so a ";" inside the body stays a literal.
struct TMaskParts {
  String Body;
  String Save;
  String Blank;
};

TMaskParts SplitMask(const String& Mask) {
  const int Len = int(Mask.size());
  int Last = -1;
  for (int I = Len - 1; I >= Len - 2 && I >= 0; --I)
    if (IsSeparatorAt(Mask, I)) {
      Last = I;
      break;
    }
  if (Last < 0) return {Mask, {}, {}};
  String AfterLast = Mask.substr(Last + 1);
  for (int I = Last - 1; I >= Last - 2 && I >= 0; --I)
    if (IsSeparatorAt(Mask, I)) return {Mask.substr(0, I), Mask.substr(I + 1, Last - I - 1), AfterLast};
  return {Mask.substr(0, Last), AfterLast, {}};
}

}  // namespace

TMaskEngine::TMaskEngine(const String& EditMask) : TMaskEngine(EditMask, FormatSettings) {}

TMaskEngine::TMaskEngine(const String& EditMask, const TFormatSettings& Settings)
    : FEditMask(EditMask) {
  Parse(Settings);
}

void TMaskEngine::Parse(const TFormatSettings& Settings) {
  if (FEditMask.empty()) return;
  TMaskParts Parts = SplitMask(FEditMask);
  FSaveLiterals = Parts.Save != u"0";
  if (!Parts.Blank.empty()) FBlank = Parts.Blank[0];

  TMaskCase Case = mcNone;
  const String& B = Parts.Body;
  for (size_t I = 0; I < B.size(); ++I) {
    Char C = B[I];
    TMaskPosition P;
    P.Case = Case;
    switch (C) {
      case u'!': FReverse = true; continue;
      case u'>': Case = mcUpper; continue;
      case u'<':
        if (I + 1 < B.size() && B[I + 1] == u'>') {
          Case = mcNone;
          ++I;
        } else {
          Case = mcLower;
        }
        continue;
      case u'\\':
        if (I + 1 < B.size()) C = B[++I];
        P.Literal = C;
        break;
      case u'L': P.Kind = mkLetter; P.Required = true; break;
      case u'l': P.Kind = mkLetter; break;
      case u'A': P.Kind = mkLetterOrDigit; P.Required = true; break;
      case u'a': P.Kind = mkLetterOrDigit; break;
      case u'C': P.Kind = mkAny; P.Required = true; break;
      case u'c': P.Kind = mkAny; break;
      case u'0': P.Kind = mkDigit; P.Required = true; break;
      case u'9': P.Kind = mkDigit; break;
      case u'#': P.Kind = mkDigitOrSign; break;
      case u':': P.Literal = Settings.TimeSeparator; break;
      case u'/': P.Literal = Settings.DateSeparator; break;
      case u'_': P.Literal = u' '; break;
      default: P.Literal = C; break;
    }
    FPositions.push_back(P);
  }
}

bool TMaskEngine::IsLiteral(int Pos) const {
  return Pos >= 0 && Pos < Length() && FPositions[Pos].Kind == mkLiteral;
}

// --- EditText and Text ------------------------------------------------------------------------

String TMaskEngine::EmptyEditText() const {
  String S;
  for (const TMaskPosition& P : FPositions) S += P.Kind == mkLiteral ? P.Literal : FBlank;
  return S;
}

String TMaskEngine::DataText(const String& EditText) const {
  if (!IsMasked()) return EditText;
  String Data;
  const int Count = std::min(Length(), int(EditText.size()));
  for (int I = 0; I < Count; ++I)
    if (!IsLiteral(I)) Data += EditText[I];
  if (FReverse) {
    size_t First = Data.find_first_not_of(FBlank);
    Data.erase(0, First == String::npos ? Data.size() : First);
  } else {
    size_t Last = Data.find_last_not_of(FBlank);
    Data.erase(Last == String::npos ? 0 : Last + 1);
  }
  for (Char& C : Data)
    if (C == FBlank) C = u' ';
  return Data;
}

String TMaskEngine::TextFromEditText(const String& EditText) const {
  if (!IsMasked()) return EditText;
  String Data = DataText(EditText);
  if (!FSaveLiterals) return Data;

  // Lay the data back onto the mask with spaces for the missing positions: at the end, or at
  // the start for a reversed mask.
  int Slots = 0;
  for (int I = 0; I < Length(); ++I) Slots += IsLiteral(I) ? 0 : 1;
  int Missing = std::max(0, Slots - int(Data.size()));
  String Padded = FReverse ? String(Missing, u' ') + Data : Data + String(Missing, u' ');
  String Text;
  size_t Next = 0;
  for (int I = 0; I < Length(); ++I)
    Text += IsLiteral(I) ? FPositions[I].Literal : (Next < Padded.size() ? Padded[Next++] : u' ');
  return Text;
}

String TMaskEngine::EditTextFromText(const String& Text) const {
  if (!IsMasked()) return Text;
  String Result = EmptyEditText();
  auto Store = [&](int Pos, Char C) { Result[Pos] = C == u' ' ? FBlank : C; };

  if (!FSaveLiterals) {
    std::vector<int> Slots;
    for (int I = 0; I < Length(); ++I)
      if (!IsLiteral(I)) Slots.push_back(I);
    const size_t Count = std::min(Slots.size(), Text.size());
    const size_t Offset = FReverse ? Slots.size() - Count : 0;
    for (size_t K = 0; K < Count; ++K) Store(Slots[Offset + K], Text[K]);
    return Result;
  }

  // With literals in the text, walk the positions and the value together; a reversed mask
  // walks both from the right so a short value lands in the last positions.
  const int N = Length();
  const int Len = int(Text.size());
  int V = FReverse ? Len - 1 : 0;
  const int Step = FReverse ? -1 : 1;
  for (int K = 0; K < N; ++K) {
    const int Pos = FReverse ? N - 1 - K : K;
    const bool HasValue = V >= 0 && V < Len;
    if (IsLiteral(Pos)) {
      if (HasValue && Text[V] == FPositions[Pos].Literal) V += Step;
      continue;
    }
    if (!HasValue) continue;
    Store(Pos, Text[V]);
    V += Step;
  }
  return Result;
}

String TMaskEngine::Remask(const TMaskEngine& OldMask, const String& OldEditText,
                           const TMaskEngine& NewMask) {
  if (!NewMask.IsMasked()) return OldEditText;
  String Data = OldMask.DataText(OldEditText);
  TMaskEngine Unsaved = NewMask;
  Unsaved.FSaveLiterals = false;
  return Unsaved.EditTextFromText(Data);
}

// --- characters and positions -----------------------------------------------------------------

bool TMaskEngine::MatchesKind(TMaskCharKind Kind, Char C) const {
  switch (Kind) {
    case mkLetter: return IsLetter(C);
    case mkLetterOrDigit: return IsLetter(C) || IsDigit(C);
    case mkAny: return C >= u' ';
    case mkDigit: return IsDigit(C);
    case mkDigitOrSign: return IsDigit(C) || C == u'+' || C == u'-' || C == u' ';
    case mkLiteral: return false;
  }
  return false;
}

bool TMaskEngine::AcceptChar(int Pos, Char& C) const {
  if (Pos < 0 || Pos >= Length() || IsLiteral(Pos)) return false;
  const TMaskPosition& P = FPositions[Pos];
  Char Converted = ConvertCase(C, P.Case);
  if (!MatchesKind(P.Kind, Converted)) return false;
  C = Converted;
  return true;
}

int TMaskEngine::FirstEditPos() const { return EditPosFrom(0); }

int TMaskEngine::EditPosFrom(int Pos) const {
  for (int I = std::max(Pos, 0); I < Length(); ++I)
    if (!IsLiteral(I)) return I;
  return Length();
}

int TMaskEngine::NextEditPos(int Pos) const { return EditPosFrom(Pos + 1); }

int TMaskEngine::PriorEditPos(int Pos) const {
  for (int I = std::min(Pos, Length()) - 1; I >= 0; --I)
    if (!IsLiteral(I)) return I;
  return FirstEditPos();
}

int TMaskEngine::FirstInvalidPos(const String& EditText) const {
  if (!IsMasked() || EditText.empty() || EditText == EmptyEditText()) return -1;
  for (int I = 0; I < Length(); ++I) {
    const TMaskPosition& P = FPositions[I];
    if (P.Kind == mkLiteral || !P.Required) continue;
    Char C = I < int(EditText.size()) ? EditText[I] : FBlank;
    if (C == FBlank) return I;
    if (P.Kind != mkAny && C == u' ') return I;
  }
  return -1;
}

// --- editing steps ----------------------------------------------------------------------------

void TMaskEngine::Normalise(TMaskBuffer& Buffer) const {
  const int N = Length();
  if (int(Buffer.Text.size()) < N) {
    String Empty = EmptyEditText();
    Buffer.Text += Empty.substr(Buffer.Text.size());
  } else if (int(Buffer.Text.size()) > N) {
    Buffer.Text.resize(N);
  }
  Buffer.Anchor = std::clamp(Buffer.Anchor, 0, N);
  Buffer.Caret = std::clamp(Buffer.Caret, 0, N);
}

void TMaskEngine::SetCursor(TMaskBuffer& Buffer, int Pos) const {
  const int N = Length();
  Pos = std::clamp(Pos, 0, N);
  Buffer.Caret = Pos;
  Buffer.Anchor = Pos < N ? Pos + 1 : Pos;
}

void TMaskEngine::CheckCursor(TMaskBuffer& Buffer) const {
  if (Buffer.SelLength() == 0) SetCursor(Buffer, Buffer.SelStart());
}

void TMaskEngine::BlankRange(TMaskBuffer& Buffer, int Start, int End) const {
  Normalise(Buffer);
  End = std::min(End, Length());
  for (int I = std::max(Start, 0); I < End; ++I)
    if (!IsLiteral(I)) Buffer.Text[I] = FBlank;
}

TMaskKeyResult TMaskEngine::KeyDown(TMaskBuffer& Buffer, TMaskEditKey Key, bool Shift, bool Ctrl,
                                    bool CanModify) const {
  Normalise(Buffer);
  const int N = Length();
  switch (Key) {
    case mekLeft:
    case mekRight:
      if (Shift || Ctrl) return mkrNotHandled;
      if (Buffer.SelLength() > 1) {
        SetCursor(Buffer, Buffer.Caret);
        return mkrHandled;
      }
      CheckCursor(Buffer);
      SetCursor(Buffer, Key == mekLeft ? PriorEditPos(Buffer.SelStart())
                                       : NextEditPos(Buffer.SelStart()));
      return mkrHandled;
    case mekUp:
    case mekDown:
      return mkrHandled;
    case mekHome:
    case mekEnd: {
      const int To = Key == mekHome ? 0 : N;
      if (!Shift) {
        SetCursor(Buffer, To);
        return mkrHandled;
      }
      Buffer.Anchor = Key == mekHome ? Buffer.SelEnd() : Buffer.SelStart();
      Buffer.Caret = To;
      return mkrHandled;
    }
    case mekDelete:
      if (Shift) break;
      [[fallthrough]];
    case mekBack: {
      if (!CanModify) return mkrHandled;
      if (Key == mekBack && Buffer.SelLength() <= 1) {
        if (Buffer.SelStart() <= FirstEditPos()) return mkrHandled;
        SetCursor(Buffer, PriorEditPos(Buffer.SelStart()));
      }
      const int Start = Buffer.SelStart();
      const int Len = std::max(Buffer.SelLength(), 1);
      BlankRange(Buffer, Start, Start + Len);
      SetCursor(Buffer, Len > 1 ? EditPosFrom(Start) : Start);
      return mkrHandled;
    }
    default:
      break;
  }
  CheckCursor(Buffer);
  return mkrNotHandled;
}

TMaskKeyResult TMaskEngine::TypeChar(TMaskBuffer& Buffer, Char C) const {
  Normalise(Buffer);
  const int N = Length();
  if (Buffer.SelLength() > 1) {
    const int Start = Buffer.SelStart();
    BlankRange(Buffer, Start, Buffer.SelEnd());
    SetCursor(Buffer, EditPosFrom(Start));
  }
  const int Pos = Buffer.SelStart();
  if (Pos >= N) return mkrBeep;
  if (IsLiteral(Pos)) {
    SetCursor(Buffer, NextEditPos(Pos));
    return mkrHandled;
  }
  Char Typed = C;
  if (AcceptChar(Pos, Typed)) {
    Buffer.Text[Pos] = Typed;
    SetCursor(Buffer, NextEditPos(Pos));
    return mkrHandled;
  }
  // A refused character that is the next literal jumps over that literal.
  for (int I = Pos + 1; I < N; ++I) {
    if (!IsLiteral(I)) continue;
    if (FPositions[I].Literal != C) break;
    SetCursor(Buffer, NextEditPos(I));
    return mkrHandled;
  }
  return mkrBeep;
}

void TMaskEngine::Paste(TMaskBuffer& Buffer, const String& Value) const {
  Normalise(Buffer);
  const int Start = Buffer.SelStart();
  BlankRange(Buffer, Start, Buffer.SelEnd());
  int Pos = Start;
  int LastStored = -1;
  size_t V = 0;
  while (V < Value.size() && Pos < Length()) {
    Char C = Value[V];
    if (IsLiteral(Pos)) {
      // A pasted character equal to the literal is consumed; any other one waits for the
      // next mask position.
      if (C == FPositions[Pos].Literal) ++V;
      ++Pos;
      continue;
    }
    Buffer.Text[Pos] = AcceptChar(Pos, C) ? C : FBlank;
    ++V;
    LastStored = Pos++;
  }
  SetCursor(Buffer, LastStored < 0 ? Start : NextEditPos(LastStored));
}

// --- FormatMaskText ---------------------------------------------------------------------------

namespace {

// The data characters only: the mask positions in order, the literals put in between.
String FormatDataOnly(const TMaskEngine& Mask, const String& Value) {
  int Slots = 0;
  for (int I = 0; I < Mask.Length(); ++I) Slots += Mask.IsLiteral(I) ? 0 : 1;
  const int Len = int(Value.size());
  const int Missing = std::max(0, Slots - Len);
  const int Extra = std::max(0, Len - Slots);
  // Filled from the right, a short value starts after the missing places and a long one
  // leaves its first characters in front.
  const String Padded = Mask.Reverse() ? String(Missing, u' ') + Value.substr(Extra)
                                       : Value.substr(0, Len - Extra) + String(Missing, u' ');
  String Result;
  size_t Next = 0;
  for (int I = 0; I < Mask.Length(); ++I)
    Result += Mask.IsLiteral(I) ? Mask.Position(I).Literal : Padded[Next++];
  return Mask.Reverse() ? Value.substr(0, Extra) + Result : Result + Value.substr(Len - Extra);
}

// Value with literals: each stretch between literals fills the run of positions before the
// matching mask literal.
String FormatWithLiterals(const TMaskEngine& Mask, const String& Value) {
  String Result;
  size_t V = 0;
  int Run = 0;   // mask positions since the last literal
  auto PutRun = [&](String Part) {
    const size_t Pad = Part.size() < size_t(Run) ? Run - Part.size() : 0;
    Result += Mask.Reverse() ? String(Pad, u' ') + Part : Part + String(Pad, u' ');
    Run = 0;
  };
  for (int I = 0; I < Mask.Length(); ++I) {
    if (!Mask.IsLiteral(I)) {
      ++Run;
      continue;
    }
    const Char Literal = Mask.Position(I).Literal;
    const size_t Found = V < Value.size() ? Value.find(Literal, V) : String::npos;
    if (Found != String::npos) {
      PutRun(Value.substr(V, Found - V));
      V = Found + 1;
    } else {
      const size_t Take = std::min(size_t(Run), Value.size() - std::min(V, Value.size()));
      PutRun(V < Value.size() ? Value.substr(V, Take) : String());
      V += Take;
    }
    Result += Literal;
  }
  PutRun(V < Value.size() ? Value.substr(V) : String());
  return Result;
}

}  // namespace

String FormatMaskText(const String& EditMask, const String& Value) {
  return FormatMaskText(EditMask, Value, FormatSettings);
}

String FormatMaskText(const String& EditMask, const String& Value,
                      const TFormatSettings& Settings) {
  TMaskEngine Mask(EditMask, Settings);
  if (!Mask.IsMasked()) return Value;
  return Mask.SaveLiterals() ? FormatWithLiterals(Mask, Value) : FormatDataOnly(Mask, Value);
}
