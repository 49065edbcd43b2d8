// The find box's rule: which item matches the typed text, and which items a narrowed
// tree keeps around the matching ones.
#include <gtest/gtest.h>

#include "catalogue/FindFilter.h"

namespace {

struct RuleRow {
    const char* typed;
    bool matches;
    const char* why;
};
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

TEST(FindRule, ItemsWithoutARecordNeverMatchByTheirLabel)
{
    EXPECT_FALSE(itemMatchesFind("Unit Operations", nullptr, "unit")) << "a category is no component";
}

TEST(FindRule, KeepsMatchesWithWhatIsBelowThemAndWhatIsAboveThem)
{
    const CAPETreeItemTag manager{"", "QnTest.Thermo", "", "Thermo", "", "", "", "", "", ""};
    const CAPETreeItemTag srk{"", "SRK", "", "SRK", "Cubic", "", "", "", "", ""};
    const CAPETreeItemTag ideal{"", "Ideal", "", "Ideal", "", "", "", "", "", ""};
    const std::vector<FindItem> items{
        {kTopLevelItem, findKeyOf("Managers", nullptr)},         // 0
        {0, findKeyOf("Thermo [QnTest.Thermo]", &manager)},       // 1
        {1, findKeyOf("SRK", &srk)},                              // 2
        {1, findKeyOf("Ideal", &ideal)},                          // 3
        {kTopLevelItem, findKeyOf("Units", nullptr)},            // 4
        {4, findKeyOf("Mixer [QnTest.Mixer]", &kMixer)},          // 5
        {5, findKeyOf(" a probe line", nullptr)},                 // 6
    };
    EXPECT_EQ(itemsKeptByFind(items, "cubic"), (std::vector<bool>{true, true, true, false, false, false, false}))
        << "a package keeps its manager and category, not its sibling";
    EXPECT_EQ(itemsKeptByFind(items, "thermo"), (std::vector<bool>{true, true, true, true, false, false, false}))
        << "a manager keeps all its packages";
    EXPECT_EQ(itemsKeptByFind(items, "mixes"), (std::vector<bool>{false, false, false, false, true, true, true}))
        << "a component keeps the lines below it";
    EXPECT_EQ(itemsKeptByFind(items, "probe"), std::vector<bool>(7, false)) << "a line without record matches nothing";
}
