// ks_isyntaxtree.cpp - the program tree's nodes, its blocks and its saved (XML) form.
#include "script/ks_isyntaxtree.h"

#include <cstdint>
#include <cstring>
#include <iterator>
#include <new>
#include <stdexcept>
#include <type_traits>

#include "script/ks_itools.h"
#include "script/ks_xml.h"

static_assert(std::is_trivially_destructible_v<TksSyntaxNode>,
              "nodes are freed with their blocks, without running destructors");

namespace {

constexpr size_t kBlockSize = 64 * 1024;
constexpr size_t kAlign = alignof(std::max_align_t);

// Appends name="value", the value escaped, after a blank when Out holds attributes already.
void AppendAttr(String& Out, std::u16string_view Name, std::u16string_view Value) {
  if (!Out.empty()) Out += u' ';
  Out += Name;
  Out += u"=\"";
  bool Plain = true;
  for (Char C : Value)
    if (C == u'\n' || C == u'\r' || C == u'"' || C == u'&' || C == u'<' || C == u'>') Plain = false;
  if (Plain) Out += Value;
  else Out += ksStrToXML(String(Value));
  Out += u'"';
}

void AppendPointAttr(String& Out, std::u16string_view Name, TksPoint Pt) {
  if (!Out.empty()) Out += u' ';
  Out += Name;
  Out += u"=\"";
  ksAppendLineColumn(Out, Pt);
  Out += u'"';
}

String PointText(TksPoint Pt) { return Pt.Y ? ksLineColumnText(Pt) : String(); }

struct TNameEntry {
  std::u16string_view Text;
  TksNodeName Id;
};
constexpr TNameEntry kNames[] = {
    {u"addr", nnAddr}, {u"array", nnArray}, {u"assignstmt", nnAssignStmt}, {u"break", nnBreak},
    {u"callstmt", nnCallStmt}, {u"caseselector", nnCaseSelector}, {u"casestmt", nnCaseStmt},
    {u"compoundstmt", nnCompoundStmt}, {u"const", nnConst}, {u"continue", nnContinue},
    {u"cppforstmt", nnCppForStmt}, {u"delete", nnDelete}, {u"dim", nnDim}, {u"downto", nnDownto},
    {u"dsgn", nnDsgn}, {u"elsestmt", nnElseStmt}, {u"exceptstmt", nnExceptStmt}, {u"exit", nnExit},
    {u"expr", nnExpr}, {u"finallystmt", nnFinallyStmt}, {u"forstmt", nnForStmt},
    {u"function", nnFunction}, {u"ident", nnIdent}, {u"ifstmt", nnIfStmt}, {u"init", nnInit},
    {u"inverse", nnInverse}, {u"modificator", nnModificator}, {u"name", nnName}, {u"new", nnNew},
    {u"node", nnNode}, {u"number", nnNumber}, {u"op", nnOp}, {u"parameters", nnParameters},
    {u"procedure", nnProcedure}, {u"range", nnRange}, {u"repeatstmt", nnRepeatStmt},
    {u"return", nnReturn}, {u"set", nnSet}, {u"string", nnString}, {u"thenstmt", nnThenStmt},
    {u"trystmt", nnTryStmt}, {u"type", nnType}, {u"types", nnTypes}, {u"uses", nnUses},
    {u"var", nnVar}, {u"varparam", nnVarParam}, {u"varparams", nnVarParams},
    {u"vbforstmt", nnVbForStmt}, {u"whilestmt", nnWhileStmt}, {u"with", nnWith}};
constexpr size_t kLongestName = 12;

// The names in kNames starting with each letter: [first, end) indices, worked out once.
struct TNameRanges {
  unsigned char From[26] = {}, To[26] = {};
  constexpr TNameRanges() {
    for (size_t i = 0; i < std::size(kNames); ++i) {
      int L = kNames[i].Text[0] - u'a';
      if (From[L] == To[L]) From[L] = static_cast<unsigned char>(i);
      To[L] = static_cast<unsigned char>(i + 1);
    }
  }
};
constexpr TNameRanges kNameRanges;

// Lower-cased as ksSameText compares: a character matches a name's letter when its upper
// case is that letter's. 0 for a character no name holds.
Char NameChar(Char C) {
  if (C >= 128) C = ksUpChar(C);
  if (C >= 128) return 0;
  return C >= u'A' && C <= u'Z' ? static_cast<Char>(C + 32) : C;
}

}  // namespace

TksNodeName ksNodeNameOf(std::u16string_view Name) {
  if (Name.empty() || Name.size() > kLongestName) return nnOther;
  Char First = NameChar(Name[0]);
  if (First < u'a' || First > u'z') return nnOther;
  const int L = First - u'a';
  for (size_t e = kNameRanges.From[L]; e < kNameRanges.To[L]; ++e) {
    const std::u16string_view T = kNames[e].Text;
    if (T.size() != Name.size()) continue;
    size_t i = 1;
    while (i < T.size() && NameChar(Name[i]) == T[i]) ++i;
    if (i == T.size()) return kNames[e].Id;
  }
  return nnOther;
}

// ---------------------------------------------------------------------------------------------
// TksSyntaxNode

void TksSyntaxNode::ChildOutOfRange() { throw std::out_of_range("syntax node child"); }

int TksSyntaxNode::Find(std::u16string_view AName) const {
  for (int i = 0; i < FCount; ++i)
    if (ksSameText(FItems[i]->FName, AName)) return i;
  return -1;
}

String TksSyntaxNode::Prop(std::u16string_view AName) const {
  if (!FBuilt) return ksXMLProp(FRaw, AName);
  if (ksSameText(AName, u"text")) return FHasText ? String(FText) : String();
  if (ksSameText(AName, u"pos")) return PointText(FPos);
  if (ksSameText(AName, u"pos1")) return PointText(FPos1);
  return String();
}

String TksSyntaxNode::Text() const {
  if (!FBuilt) return ksXMLProp(FRaw, u"text");
  return FHasText ? String(FText) : String();
}

bool TksSyntaxNode::HasText() const { return FBuilt ? FHasText : ksXMLPropExists(FRaw, u"text"); }

String TksSyntaxNode::Pos() const { return FBuilt ? PointText(FPos) : ksXMLProp(FRaw, u"pos"); }

bool TksSyntaxNode::HasRawPos() const { return !ksXMLProp(FRaw, u"pos").empty(); }

TksPoint TksSyntaxNode::StartPoint() const {
  return FBuilt ? FPos : PositionToPoint(ksXMLProp(FRaw, u"pos"));
}

bool TksSyntaxNode::HasEndPoint() const {
  return FBuilt ? FPos1.Y != 0 : !ksXMLProp(FRaw, u"pos1").empty();
}

TksPoint TksSyntaxNode::EndPoint() const {
  return FBuilt ? FPos1 : PositionToPoint(ksXMLProp(FRaw, u"pos1"));
}

// ---------------------------------------------------------------------------------------------
// TksSyntaxTree

TksSyntaxTree::TksSyntaxTree() = default;
TksSyntaxTree::~TksSyntaxTree() = default;

void* TksSyntaxTree::Allocate(size_t Bytes) {
  Bytes = (Bytes + kAlign - 1) & ~(kAlign - 1);
  if (Bytes > FLeft) {
    if (Bytes > kBlockSize / 4) {
      // A large piece gets a block of its own, so the current block's rest is not wasted.
      FBlocks.emplace_back(new char[Bytes]);
      return FBlocks.back().get();
    }
    FBlocks.emplace_back(new char[kBlockSize]);  // not zero-filled: every piece is written
    FNext = FBlocks.back().get();
    FLeft = kBlockSize;
  }
  void* P = FNext;
  FNext += Bytes;
  FLeft -= Bytes;
  return P;
}

std::u16string_view TksSyntaxTree::Keep(std::u16string_view S) {
  if (S.empty()) return {};
  auto* P = static_cast<Char*>(Allocate(S.size() * sizeof(Char)));
  std::memcpy(P, S.data(), S.size() * sizeof(Char));
  return {P, S.size()};
}

TksNodeName TksSyntaxTree::NameIdOf(std::u16string_view Name) {
  const auto At = reinterpret_cast<std::uintptr_t>(Name.data());
  TNameSeen& Seen = FNamesSeen[((At >> 4) ^ (At >> 10)) % std::size(FNamesSeen)];
  if (Seen.Data != Name.data() || Seen.Size != Name.size()) Seen = {Name.data(), Name.size(), ksNodeNameOf(Name)};
  return Seen.Id;
}

TksSyntaxNode* TksSyntaxTree::NewNode(std::u16string_view Name) {
  auto* N = new (Allocate(sizeof(TksSyntaxNode))) TksSyntaxNode;
  N->FName = Name;
  N->FNameId = NameIdOf(Name);
  return N;
}

TksSyntaxNode* TksSyntaxTree::NewRawNode(std::u16string_view Name, std::u16string_view Attributes) {
  TksSyntaxNode* N = NewNode(Keep(Name));
  N->FRaw = Keep(Attributes);
  N->FBuilt = false;
  return N;
}

void TksSyntaxTree::SetChildren(TksSyntaxNode* N, TksSyntaxNode* const* First, size_t Count) {
  if (!Count) {
    N->FItems = nullptr;
    N->FCount = 0;
    return;
  }
  auto** Items = static_cast<TksSyntaxNode**>(Allocate(Count * sizeof(TksSyntaxNode*)));
  std::memcpy(Items, First, Count * sizeof(TksSyntaxNode*));
  N->FItems = Items;
  N->FCount = static_cast<int>(Count);
}

void TksSyntaxTree::InsertChild(TksSyntaxNode* N, int Index, TksSyntaxNode* Child) {
  std::vector<TksSyntaxNode*> Items(N->FItems, N->FItems + N->FCount);
  Items.insert(Items.begin() + Index, Child);
  SetChildren(N, Items.data(), Items.size());
}

TksSyntaxNode* TksSyntaxTree::FromXML(const TksXMLItem* X) {
  TksSyntaxNode* N = NewRawNode(X->Name(), X->Text());
  std::vector<TksSyntaxNode*> Items;
  Items.reserve(static_cast<size_t>(X->Count()));
  for (int i = 0; i < X->Count(); ++i) Items.push_back(FromXML(X->Items(i)));
  SetChildren(N, Items.data(), Items.size());
  return N;
}

String TksSyntaxTree::AttributeText(const TksSyntaxNode* N) {
  if (!N->FBuilt) return String(N->FRaw);
  String A;
  if (N->FHasText) AppendAttr(A, u"text", N->FText);
  if (N->FPos.Y) AppendPointAttr(A, u"pos", N->FPos);
  if (N->FPos1.Y) AppendPointAttr(A, u"pos1", N->FPos1);
  return A;
}

std::unique_ptr<TksXMLItem> TksSyntaxTree::ToXML(const TksSyntaxNode* N) {
  auto X = std::make_unique<TksXMLItem>();
  X->SetName(String(N->FName));
  X->SetText(AttributeText(N));
  X->ReserveItems(static_cast<size_t>(N->FCount));
  for (int i = 0; i < N->FCount; ++i) X->AddItem(ToXML(N->FItems[i]).release());
  return X;
}
