// TextFiles.cpp - fuzz target: text files as the program reads them: the encoding found and
// decoded, the lines as a string list (also as comma and delimited text, names and values),
// and the text as an ini file read and written.
#include "fuzz/FuzzTarget.h"
#include "platform/classes/Encoding.h"
#include "platform/classes/IniText_p.h"
#include "platform/classes/Streams.h"
#include "platform/classes/Strings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string_view Bytes = FuzzBytes(Data, Size);
  FuzzRun([&] {
    TDetectedText Found = DetectAndDecodeText(Bytes);
    (void)EncodeText(Found.Text, Found.Encoding, Found.HasPreamble);
    for (TEncoding E : {TEncoding::ANSI, TEncoding::UTF8, TEncoding::Unicode})
      (void)EncodeText(DecodeText(Bytes, E), E);
  });
  FuzzRun([&] {
    TStringList List;
    TStringStream In{Bytes};
    List.LoadFromStream(&In);
    const String Text = List.Text();
    List.SetCommaText(Text);
    (void)List.CommaText();
    List.SetDelimiter(u';');
    List.SetQuoteChar(u'\'');
    List.SetDelimitedText(Text);
    (void)List.DelimitedText();
    if (List.Count() > 0) (void)List.Values(List.Names(0));
  });
  FuzzRun([&] {
    TIniText Ini;
    Ini.Parse(Bytes);
    (void)Ini.Read(u"Section", u"Key");
    Ini.Write(u"Section", u"Key", u"value = 1");
    Ini.AddSection(u"New");
    (void)Ini.Bytes();
  });
  return 0;
}
