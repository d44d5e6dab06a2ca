// Names and messages made safe to print on a terminal.

#include <gtest/gtest.h>

#include "ZtQuotedName.h"

namespace quorvex::testing {
namespace {

TEST(QuotedName, PrintableNamesStayAsTheyAreOthersAreQuotedAsLsQuotesThem)
{
    // UTF-8, the 8-bit letters of old names (0xE4, 0xE1) and shell
    // characters print as they are.
    for (const std::string name : {"BRIEF.TXT", "a b/it's (1).fa4", "M\xC3\xBCller", "K\xE4se\xE1", ""})
        EXPECT_EQ(QuotedName(name), name);
    EXPECT_EQ(QuotedName("a\x1b]0;x\a"), "'a'$'\\033'']0;x'$'\\a'");
    EXPECT_EQ(QuotedName("it's\n"), "'it'\\''s'$'\\n'");
    EXPECT_EQ(QuotedName("\x1b[2J\x7f"), "$'\\033''[2J'$'\\177'");
    // C1 controls: as UTF-8 (U+009B), and a byte 0x80 to 0x9F outside any
    // UTF-8 sequence (the CSI of an 8-bit terminal); a UTF-8 letter whose
    // second byte lies in that range is none.
    EXPECT_EQ(QuotedName("a\xC2\x9B"
                         "1A"),
        "'a'$'\\302\\233''1A'");
    EXPECT_EQ(QuotedName("M\x81ller"), "'M'$'\\201''ller'");
    EXPECT_EQ(QuotedName("\xE2\x82\xAC\xC3\x9F"), "\xE2\x82\xAC\xC3\x9F");
}

TEST(QuotedName, MessagesKeepTheirTextAndOnlyTheirOwnLineEnds)
{
    EXPECT_EQ(WithoutControls("Cannot open file x: No such file"), "Cannot open file x: No such file");
    EXPECT_EQ(WithoutControls("a\x1b[2Jb\r\nc"), "a$'\\033'[2Jb$'\\r\\n'c");
    EXPECT_EQ(WithoutControls("Failed!\n\nRange\x07", true), "Failed!\n\nRange$'\\a'");
}

} // namespace
} // namespace quorvex::testing
