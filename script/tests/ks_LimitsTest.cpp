// ks_LimitsTest.cpp - outside input within limits: nesting depth, call depth, program trees
// and used units.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "script/tests/ks_TestHost.h"

namespace {

namespace fs = std::filesystem;

String Repeat(const char16_t* Piece, int Count) {
  String R;
  for (int i = 0; i < Count; ++i) R += Piece;
  return R;
}

String NestedBrackets(int Depth) {
  return u"var x: Integer; begin x := " + Repeat(u"(", Depth) + u"1" + Repeat(u")", Depth) +
         u"; Out(x) end.";
}

String NestedBlocks(int Depth) {
  return u"begin " + Repeat(u"begin ", Depth) + u"Out(1)" + Repeat(u" end", Depth) + u" end.";
}

// Nesting a few hundred levels deep compiles and runs; deeper is a compile error at the place
// reached, found quickly however deep the text goes (each case once ran out of stack).
TEST(ksLimits, NestingDepthIsACompileError) {
  struct {
    const char* Name;
    String (*Make)(int);
    int Depth;
    bool Compiles;
  } const kCases[] = {
      {"brackets within", NestedBrackets, 250, true},
      {"brackets over", NestedBrackets, 400, false},
      {"brackets far over", NestedBrackets, 200000, false},
      {"blocks within", NestedBlocks, 250, true},
      {"blocks over", NestedBlocks, 400, false},
      {"blocks far over", NestedBlocks, 100000, false},
  };
  for (auto& C : kCases) {
    TksTestHost H;
    auto Start = std::chrono::steady_clock::now();
    std::string Result = H.Run(C.Make(C.Depth));
    if (C.Compiles) EXPECT_EQ(Result, "1") << C.Name;
    else EXPECT_THAT(Result, ::testing::MatchesRegex("error 1:[0-9]+: Nesting too deep")) << C.Name;
    EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(20)) << C.Name;
  }
}

// An expression's tree is as deep as its chain of operators: a chain of up to 2,000 operands
// and operators compiles, a longer one is a compile error (60,000 terms once ran out of stack
// when the tree was evaluated or freed), also when spread over nested arguments.
TEST(ksLimits, ExpressionSizeIsACompileError) {
  auto Chain = [](int Terms) { return u"1" + Repeat(u"+1", Terms - 1); };
  struct {
    const char* Name;
    String Source;
    const char* Expected;
  } const kCases[] = {
      {"within", u"begin Out(" + Chain(900) + u") end.", "900"},
      {"over", u"begin Out(" + Chain(1200) + u") end.", "error"},
      {"far over", u"begin Out(" + Chain(100000) + u") end.", "error"},
      {"nested arguments", u"begin Out(" + Repeat(u"Abs(1+1+1+1+1+1+1+1+1+", 150) + u"1" +
                               Repeat(u")", 150) + u") end.",
       "error"},
  };
  for (auto& C : kCases) {
    TksTestHost H;
    std::string Result = H.Run(C.Source);
    if (std::string(C.Expected) == "error")
      EXPECT_THAT(Result, ::testing::MatchesRegex("error 1:[0-9]+: Expression too complex")) << C.Name;
    else
      EXPECT_EQ(Result, C.Expected) << C.Name;
  }
}

// Runaway recursion is the run-time error "Stack overflow": the script's own try ... except
// catches it, and uncaught it reaches the host like any other error (it once ended the
// process). Deep but bounded recursion still runs.
TEST(ksLimits, CallDepthIsARunTimeError) {
  struct {
    const char* Name;
    String Source;
    const char* Expected;
  } const kCases[] = {
      {"endless", u"procedure P; begin P end; begin P end.",
       " raised EStackOverflow: Stack overflow"},
      {"caught", u"procedure P; begin P end; begin try P except Out(ExceptionMessage) end; "
                 u"Out('after') end.",
       "Stack overflow after"},
      {"mutual", u"procedure A; begin B end; procedure B; begin A end; begin A end.",
       " raised EStackOverflow: Stack overflow"},
      {"deep blocks per call", (u"procedure P; begin " + Repeat(u"begin ", 200) + u"P" +
                                Repeat(u" end", 200) + u" end; begin P end."),
       " raised EStackOverflow: Stack overflow"},
      {"deep but bounded",
       u"function D(n: Integer): Integer; begin if n = 0 then Result := 0 "
       u"else Result := D(n - 1) + 1 end; begin Out(D(900)) end.",
       "900"},
  };
  for (auto& C : kCases) {
    TksTestHost H;
    EXPECT_EQ(H.Run(C.Source), C.Expected) << C.Name;
  }
  TksTestHost Again;  // the count is back to zero after the error
  EXPECT_EQ(Again.Run(u"function D(n: Integer): Integer; begin if n = 0 then Result := 0 "
                      u"else Result := D(n - 1) + 1 end; begin Out(D(900)) end."),
            "900");
}

// A host stops an endless loop through the run-line hook and Terminate, as the report engine
// does: every loop ends at its next pass, and an empty body still reports its line (such
// loops once ran for ever after Terminate).
TEST(ksLimits, TerminateStopsEveryLoop) {
  struct {
    const char* Name;
    const char16_t* Language;
    const char16_t* Source;
  } const kCases[] = {
      {"while, empty body", u"PascalScript", u"begin while True do ; Out('after') end."},
      {"while", u"PascalScript", u"var x: Integer; begin while True do x := 1; Out('after') end."},
      {"repeat", u"PascalScript", u"var x: Integer; begin repeat x := 1 until False; Out('after') end."},
      {"for", u"PascalScript", u"var i, x: Integer; begin for i := 1 to 2000000000 do x := i; Out('after') end."},
      {"C for, empty body", u"JScript", u"for (i = 0; i >= 0;) { } Out(\"after\");"},
      {"while, empty block", u"JScript", u"var i = 1; while (i > 0) { } Out(\"after\");"},
      {"Wend, empty body", u"BasicScript", u"i = 1\r\nWhile i\r\nWend\r\nOut(\"after\")"},
      {"Do Loop", u"BasicScript", u"i = 1\r\nDo\r\n  x = i - 1\r\nLoop Until i = 0\r\nOut(\"after\")"},
      {"For with step 0", u"BasicScript", u"For i = 1 To 2 Step 0\r\nNext\r\nOut(\"after\")"},
  };
  for (auto& C : kCases) {
    TksTestHost H(C.Language);
    int Lines = 0;
    H.Script->SetOnRunLine([&Lines](TksScript* Sender, const String&, const String&) {
      if (++Lines > 1000) Sender->Terminate();
    });
    auto Start = std::chrono::steady_clock::now();
    EXPECT_EQ(H.Run(C.Source), "") << C.Name;
    EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(5)) << C.Name;
  }
}

// A program tree is outside data when it is loaded: elements missing where the compiler
// needs them are a compile error, never a foreign exception (std::out_of_range once escaped
// SetILCode).
TEST(ksLimits, MalformedProgramTreeIsACompileError) {
  struct {
    const char* Tree;
    const char* Expected;
  } const kCases[] = {
      {"<program><const/></program>", "Invalid file format"},
      {"<program><compoundstmt><callstmt/></compoundstmt></program>", "Invalid file format"},
      {"<program><compoundstmt><assignstmt/></compoundstmt></program>", "Invalid file format"},
      {"<program><compoundstmt><ifstmt/></compoundstmt></program>", "Invalid file format"},
      {"<program", "Invalid file format"},
  };
  for (auto& C : kCases) {
    TksScript S;
    std::string Tree = std::string("<?xml version=\"1.0\"?>") + C.Tree;
    EXPECT_FALSE(S.SetILCode(Tree)) << C.Tree;
    EXPECT_EQ(StringToUtf8(S.ErrorMsg()), C.Expected) << C.Tree;
  }
}

// The script XML reader: up to 1,000 nested elements load, deeper is "Invalid file format",
// found quickly (about 53,000 levels once ran out of stack). A program tree at the limit
// compiles and runs.
TEST(ksLimits, XMLNestingDepth) {
  auto Nested = [](int Depth) {
    std::string S = "<?xml version=\"1.0\"?>";
    for (int i = 0; i < Depth; ++i) S += "<a>";
    for (int i = 0; i < Depth; ++i) S += "</a>";
    return S;
  };
  struct {
    int Depth;
    const char* Expected;
  } const kCases[] = {{1000, "ok"}, {1001, "Invalid file format"}, {200000, "Invalid file format"}};
  for (auto& C : kCases) {
    std::string Result = "ok";
    try {
      TksXMLDocument Doc;
      Doc.LoadFromString(Nested(C.Depth));
    } catch (const Exception& E) {
      Result = StringToUtf8(E.Message());
    }
    EXPECT_EQ(Result, C.Expected) << C.Depth;
  }
  std::string Tree = "<?xml version=\"1.0\"?><program>";
  for (int i = 0; i < 998; ++i) Tree += "<compoundstmt pos=\"1:1\">";
  for (int i = 0; i < 998; ++i) Tree += "</compoundstmt>";
  Tree += "</program>";
  TksScript S;
  EXPECT_TRUE(S.SetILCode(Tree)) << StringToUtf8(S.ErrorMsg());
  S.Execute();
}

// A constant whose value raises is a compile error, and its half-made entry is freed (the
// sanitizer build's leak check watches this case).
TEST(ksLimits, ConstantWhoseValueRaises) {
  TksTestHost H;
  EXPECT_THAT(H.Run(u"const N = 1 div 0; begin end."),
              ::testing::MatchesRegex("error 1:[0-9]+: .+"));
}

// A used unit without a unit handler: a regular file of at most 16 MB inside a folder of
// IncludePath; anything else raises the file-open error, without reading or blocking.
class ksUnitFiles : public ::testing::Test {
protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() / ("ks_units_" + std::to_string(getpid()));
    fs::create_directories(Dir / "folder.pas");
    std::ofstream(Dir / "lib.pas") << "procedure Hello; begin Out('hello') end; begin end.";
    std::ofstream(Dir / "big.pas").close();
    fs::resize_file(Dir / "big.pas", (16u << 20) + 1);
    mkfifo((Dir / "fifo.pas").c_str(), 0600);
    fs::create_symlink("/dev/zero", Dir / "zero.pas");
    H.Script->IncludePath() = {Utf8ToString(Dir.string())};
  }
  void TearDown() override { fs::remove_all(Dir); }

  // The output, or the file-open error's message (the folder's name shown as "DIR").
  std::string Use(const char* Unit) {
    try {
      return H.Run(u"uses '" + Utf8ToString(Unit) + u"'; begin Hello end.");
    } catch (const EFOpenError& E) {
      std::string M = StringToUtf8(E.Message());
      size_t At = M.find(Dir.string());
      if (At != std::string::npos) M.replace(At, Dir.string().size(), "DIR");
      return M;
    }
  }

  fs::path Dir;
  TksTestHost H;
};

TEST_F(ksUnitFiles, OnlyRegularFilesInTheUnitFolderAreRead) {
  struct {
    const char* Unit;
    const char* Expected;
  } const kCases[] = {
      {"lib.pas", "hello"},
      {"folder.pas", "Cannot open file \"DIR/folder.pas\". Not a regular file"},
      {"fifo.pas", "Cannot open file \"DIR/fifo.pas\". Not a regular file"},
      {"zero.pas", "Cannot open file \"DIR/zero.pas\". Not a regular file"},
      {"big.pas", "Cannot open file \"DIR/big.pas\". The file is too large"},
      {"missing.pas", "Cannot open file \"DIR/missing.pas\". The file does not exist"},
      {"../lib.pas", "Cannot open file \"../lib.pas\". The unit must lie in the unit folder"},
      {"/etc/passwd", "Cannot open file \"/etc/passwd\". The unit must lie in the unit folder"},
      {"..\\lib.pas", "Cannot open file \"../lib.pas\". The unit must lie in the unit folder"},
  };
  for (auto& C : kCases) EXPECT_EQ(Use(C.Unit), C.Expected) << C.Unit;
}

// Units that use further units without end (every name new) stop at 64 levels with a
// compile error naming the unit, instead of recursing until the stack ends.
TEST(ksLimits, UnitNestingIsACompileError) {
  TksTestHost H;
  H.Script->SetOnGetUnit([](TksScript*, const String& Name, String& Text) {
    Text = u"uses '" + Name + u"x'; begin end.";
  });
  EXPECT_EQ(H.Run(u"uses 'u'; begin end."), "error 1:1: Nesting too deep");
  EXPECT_EQ(H.Script->ErrorUnit(), u"u" + String(64, u'x'));
  H.Script->SetOnGetUnit([](TksScript*, const String& Name, String& Text) {
    Text = Name.size() < 10 ? u"uses '" + Name + u"x'; begin end." : u"begin Out(1) end.";
  });
  EXPECT_EQ(H.Run(u"uses 'u'; begin end."), "1");  // ten levels read, the last one's code ran
}

// A unit name lands in the program tree as an attribute, escaped like any other value (the
// name is the literal's text as written, itself still escaped), so the saved tree reads back.
TEST(ksLimits, UnitNameIsEscapedInTheProgramTree) {
  TksScript S;
  String Asked;
  S.SetOnGetUnit([&](TksScript*, const String& Name, String& Text) {
    Asked = Name;
    Text = u"begin end.";
  });
  S.SetText(u"uses 'a\"<b>.pas'; begin end.");
  std::string Tree;
  ASSERT_TRUE(S.GetILCode(Tree)) << StringToUtf8(S.ErrorMsg());
  // The host is asked for the name as written, and the tree holds it escaped once.
  EXPECT_EQ(StringToUtf8(Asked), "a\"<b>.pas");
  EXPECT_NE(Tree.find("<uses unit=\"a&#34;&#60;b&#62;.pas\">"), std::string::npos) << Tree;
  TksScript Again;
  EXPECT_TRUE(Again.SetILCode(Tree)) << StringToUtf8(Again.ErrorMsg());
}

}  // namespace
