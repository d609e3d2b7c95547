// vqrPDFSecurityTest.cpp - the PDF security handler: permissions, passwords, escapes.
#include "report/output/vqrPDFSecurity.h"

#include <gtest/gtest.h>

#include "PdfFixture.h"
#include "platform/classes/Streams.h"
#include "report/output/vqrExportPDF.h"

TEST(PdfSecurity, PermissionValues) {
  struct Case { TvqrPDFEncBits Flags; int P; } Cases[] = {
      {{ePrint, eModify, eCopy, eAnnot}, -4}, {{}, -64}, {{ePrint}, -60},
      {{eCopy}, -48}, {{eModify, eAnnot}, -24},
  };
  for (const auto& C : Cases) EXPECT_EQ(ProtectionValue(C.Flags), C.P) << C.P;
  // The constructor computes P from the default permissions.
  TvqrPDFExport F(TvqrCustomExportFilter::NoRegisterTag{});
  EXPECT_EQ(F.EncBits(), -4);
  F.SetProtectionFlags({ePrint});
  EXPECT_EQ(F.EncBits(), -60);
}

TEST(PdfSecurity, PaddingAndEscapes) {
  EXPECT_EQ(PadPassword("").substr(0, 4), "\x28\xBF\x4E\x5E");
  EXPECT_EQ(PadPassword("user").substr(0, 6), std::string("user\x28\xBF"));
  EXPECT_EQ(PadPassword(std::string(40, 'x')), std::string(32, 'x'));
  EXPECT_EQ(EscapeLiteralString(std::string("a\nb\rc(d)e\\f\0g", 13)),
            std::string("a\\nb\\rc\\(d\\)e\\\\f\0g", 18));
  const TvqrPDFSecurityKeys K = ComputeSecurityKeys("owner", "user", -4,
                                                    "0123456789abcdef0123456789abcdef");
  EXPECT_EQ(K.O.size(), 32u);
  EXPECT_EQ(K.U.size(), 32u);
  EXPECT_EQ(K.U.substr(16), std::string(16, '\0'));
  EXPECT_EQ(K.Key.size(), 16u);
  EXPECT_NE(ObjectKey(K.Key, 1), ObjectKey(K.Key, 2));
}

TEST(PdfSecurity, OwnerPasswordFollowsTheUsersAndTheFileOpensWithIt) {
  TPdfFixture Fx;
  const std::string Path = "/tmp/vorenta-pdf-owner-" + std::to_string(::getpid()) + ".pdf";
  auto F = Fx.Filter(Path);
  F->SetUserPassword(u"секрет1");
  ASSERT_TRUE(Fx.Report()->Export(F.get()));
  EXPECT_EQ(F->OwnerPassword(), u"секрет1");
  EXPECT_TRUE(F->EmbeddedFonts());
  int Code = -1;
  // The 8-bit password is the system code page's.
  const std::string Check = CommandOutput("qpdf --check --password=$(printf '\\361\\345\\352\\360\\345\\3621') " + Path + " 2>&1", &Code);
  EXPECT_EQ(Code, 0) << Check;
  // Only an owner password: opens without a password, with the permissions.
  F->SetUserPassword(u"");
  F->SetOwnerPassword(u"owner");
  F->SetProtectionFlags({ePrint});
  ASSERT_TRUE(Fx.Report()->Export(F.get()));
  const std::string Enc = CommandOutput("qpdf --show-encryption " + Path + " 2>&1", &Code);
  EXPECT_EQ(Code, 0) << Enc;
  EXPECT_NE(Enc.find("P = -60"), std::string::npos) << Enc;
  EXPECT_NE(CommandOutput("pdftotext " + Path + " - 2>/dev/null").find("Итого по заказу"), std::string::npos);
  if (!std::getenv("VORENTA_PDF_KEEP")) std::remove(Path.c_str());
}
