// Clipboard.cpp - the clipboard over QClipboard, or in memory.
#include "platform/controls/Clipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include <cstring>
#include <map>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/SysUtils.h"

namespace {

struct TState {
  std::map<String, unsigned> Names;   // upper-case name -> number
  std::map<unsigned, String> Formats;
  unsigned Next = 0xC000;
  bool InMemory = false;
  std::map<unsigned, std::string> Memory;
  int OpenCount = 0;
  bool ClearedSinceOpen = false;
  QMimeData* Pending = nullptr;   // being filled between Open and Close
};

TState& S() {
  static TState State;
  return State;
}

QClipboard* Platform() {
  if (S().InMemory || !qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
  return QApplication::clipboard();
}

QString Mime(unsigned Format) { return QString::fromStdString(MimeTypeOfFormat(Format)); }

std::string Utf16Bytes(const String& Text) {
  return std::string(reinterpret_cast<const char*>(Text.data()), Text.size() * 2);
}

String FromUtf16Bytes(const std::string& Bytes) {
  String Out(Bytes.size() / 2, u'\0');
  std::memcpy(Out.data(), Bytes.data(), Out.size() * 2);
  while (!Out.empty() && Out.back() == 0) Out.pop_back();
  return Out;
}

// The bytes other programs get: text formats written with the terminator of a C string (one
// NUL, two for UTF-16) go to the window system without it, or readers show it as text.
std::string WithoutTerminator(unsigned Format, const std::string& Bytes) {
  const std::string Mime = MimeTypeOfFormat(Format);
  if (Mime.rfind("text/", 0) != 0) return Bytes;
  const std::size_t Width = Format == CF_UNICODETEXT ? 2 : 1;
  if (Bytes.size() >= Width && Bytes.compare(Bytes.size() - Width, Width, std::string(Width, '\0')) == 0)
    return Bytes.substr(0, Bytes.size() - Width);
  return Bytes;
}

}  // namespace

unsigned RegisterClipboardFormat(const String& Name) {
  const String Key = AnsiUpperCase(Name);
  auto It = S().Names.find(Key);
  if (It != S().Names.end()) return It->second;
  const unsigned Number = S().Next++;
  S().Names[Key] = Number;
  S().Formats[Number] = Name;
  return Number;
}

std::string MimeTypeOfFormat(unsigned Format) {
  switch (Format) {
    case CF_TEXT: return "text/plain;charset=windows-1251";
    case CF_OEMTEXT: return "text/plain;charset=cp866";
    case CF_UNICODETEXT: return "text/plain;charset=utf-16le";
    default: break;
  }
  auto It = S().Formats.find(Format);
  if (It == S().Formats.end()) return "application/x-vorenta-format-" + std::to_string(Format);
  const String Upper = AnsiUpperCase(It->second);
  if (Upper == u"CSV") return "text/csv";
  if (Upper == u"RICH TEXT FORMAT") return "text/rtf";
  return "application/x-vorenta-" + StringToUtf8(It->second);
}

void SetClipboardForTests(bool InMemory) {
  S().InMemory = InMemory;
  S().Memory.clear();
}

TClipboard* Clipboard() {
  static TClipboard Instance;
  return &Instance;
}

void TClipboard::Open() {
  if (S().OpenCount++ == 0) S().ClearedSinceOpen = false;
}

void TClipboard::Close() {
  if (S().OpenCount == 0 || --S().OpenCount > 0) return;
  if (S().Pending) {
    if (QClipboard* C = Platform()) C->setMimeData(S().Pending);
    else delete S().Pending;
    S().Pending = nullptr;
  }
}

void TClipboard::Clear() {
  S().Memory.clear();
  if (QClipboard* C = Platform()) C->clear();
}

void TClipboard::SetData(unsigned Format, const std::string& Bytes) {
  Open();
  if (!S().ClearedSinceOpen) {
    S().ClearedSinceOpen = true;
    S().Memory.clear();
    if (Platform() && !S().Pending) S().Pending = new QMimeData;
  }
  S().Memory[Format] = Bytes;
  if (S().Pending) {
    const std::string Out = WithoutTerminator(Format, Bytes);
    S().Pending->setData(Mime(Format), QByteArray(Out.data(), qsizetype(Out.size())));
    if (Format == CF_UNICODETEXT) S().Pending->setText(QString::fromUtf16(FromUtf16Bytes(Bytes).c_str()));
  }
  Close();
}

std::string TClipboard::GetData(unsigned Format) const {
  if (QClipboard* C = Platform()) {
    const QMimeData* D = C->mimeData();
    if (!D) return {};
    if (Format == CF_UNICODETEXT && !D->hasFormat(Mime(Format)) && D->hasText()) {
      const QString T = D->text();
      return Utf16Bytes(String(reinterpret_cast<const char16_t*>(T.utf16()), size_t(T.size())));
    }
    const QByteArray B = D->data(Mime(Format));
    return std::string(B.constData(), size_t(B.size()));
  }
  auto It = S().Memory.find(Format);
  return It == S().Memory.end() ? std::string() : It->second;
}

bool TClipboard::HasFormat(unsigned Format) const {
  if (QClipboard* C = Platform()) {
    const QMimeData* D = C->mimeData();
    if (!D) return false;
    if ((Format == CF_TEXT || Format == CF_UNICODETEXT) && D->hasText()) return true;
    return D->hasFormat(Mime(Format));
  }
  if ((Format == CF_TEXT) && S().Memory.count(CF_UNICODETEXT)) return true;
  return S().Memory.count(Format) != 0;
}

String TClipboard::AsText() const {
  if (HasFormat(CF_UNICODETEXT)) {
    const std::string B = GetData(CF_UNICODETEXT);
    if (!B.empty()) return FromUtf16Bytes(B);
  }
  std::string Ansi = GetData(CF_TEXT);
  while (!Ansi.empty() && Ansi.back() == 0) Ansi.pop_back();
  return AnsiToString(Ansi);
}

void TClipboard::SetAsText(const String& Value) {
  Open();
  SetData(CF_UNICODETEXT, Utf16Bytes(Value));
  SetData(CF_TEXT, StringToAnsi(Value));
  Close();
}
