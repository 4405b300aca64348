#include "core/shown_text.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvenol {
namespace {

TEST(Shown, QuotesAndCutsAndMakesPrintable) {
  EXPECT_EQ(Shown("4.5"), "\"4.5\"");
  EXPECT_EQ(Shown(std::string(41, 'a')), "\"" + std::string(40, 'a') + "...\"");
  EXPECT_EQ(Shown("a\nb\tc\x7f"), "\"a?b?c?\"");
  // Turkish and other printable characters stay whole, and count as one each.
  EXPECT_EQ(Shown("gövde ölçek", 7), "\"gövde ö...\"");
  // C1 controls, bytes of no character, cut or overlong sequences and surrogates do not.
  EXPECT_EQ(Shown("\xc2\x85|\xff|\xc3|\xc0\xaf|\xed\xa0\x80"), "\"?|?|?|??|???\"");
}

TEST(Shown, AMessageIsOneLineOfPlainTextOnATerminal) {
  EXPECT_EQ(TerminalLine("a\x1b[31mb\nc\td\r\x7f gövde"), "a?[31mb c d ? gövde");
  EXPECT_EQ(TerminalLine("\xc2\x9b|\xff"), "?|?");  // the C1 escape, a byte of no character
}

TEST(Shown, ATitleIsMarkupOfPrintableCharacters) {
  EXPECT_EQ(MarkupTitle("Flow around \"R&D <b>\x1b[1m's\xef\xbf\xbf\xff\".body"),
            "Flow around &quot;R&amp;D &lt;b&gt;?[1m&#39;s??&quot;.body");
  EXPECT_EQ(MarkupTitle("α = 5°, 40 × 6"), "α = 5°, 40 × 6");
}

TEST(Shown, APathKeepsItsEnd) {
  const std::string folder(200, 'd');
  const std::string shown = ShownPath("/" + folder + "/gövde.body");
  EXPECT_EQ(shown.rfind("\"...", 0), 0u);
  EXPECT_EQ(shown.substr(shown.size() - 13), "/gövde.body\"");
  EXPECT_LT(shown.size(), 130u);
  EXPECT_EQ(ShownPath("short/b.body"), "\"short/b.body\"");
}

}  // namespace
}  // namespace tarvenol
