// The find box's rule: which item matches the typed text. What a narrowed tree keeps
// around the matching ones is seen in the dialog (FindBoxTest).
#include <gtest/gtest.h>

#include "catalogue/FindFilter.h"

namespace {

struct RuleRow { const char* typed; bool matches; const char* why; };
struct FindRule : ::testing::TestWithParam<RuleRow> {};

// A component listed as "Mixer [QnTest.Mixer]"; "\xD6lpumpe" is "Ölpumpe" in the
// prefix's ANSI code page (1252).
const CAPETreeItemTag kMixer{"{678C09A5-7D66-11D2-A67D-00105A42887F}", "QnTest.Mixer", "{00000000-0000-0000-0000-000000000001}",
                             "Mixer", "Mixes streams, \xD6lpumpe included", "1.0", "", "", "", ""};

}  // namespace

TEST_P(FindRule, MatchesLabelProgIdNameOrDescriptionWhateverTheLetterCase)
{
    EXPECT_EQ(itemMatchesFind("Mixer [QnTest.Mixer]", &kMixer, GetParam().typed), GetParam().matches)
        << "\"" << GetParam().typed << "\": " << GetParam().why;
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, FindRule,
    ::testing::Values(RuleRow{"", true, "empty text matches everything"},
                      RuleRow{"mixer [q", true, "the label, in other letter case"},
                      RuleRow{"QNTEST.MIX", true, "the ProgID"},
                      RuleRow{"streams, \xF6LP", true, "the Description, non-ASCII letters folded too"},
                      RuleRow{"heater", false, "no text holds it"},
                      RuleRow{"]qntest", false, "no match across the end of one text and the start of the next"},
                      RuleRow{"included ", false, "the whole typed text, trailing space too"}));
