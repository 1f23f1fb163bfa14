// The one-step character sets against the plain search they stand for.

#include "expr/char_classes.h"

#include <gtest/gtest.h>

namespace hc {
namespace {

TEST(CharSet, AnswersAsTheSearchForEveryCharacter) {
    constexpr std::u16string_view kSets[] = {
        u"", u"-+*/^\\(", u")(πε!%", u"\\ +-*/^e.", u"?@_`~\x7f", u"\x01\x3f\x40", u"πε"};
    const CharSet sets[] = {CharSet{u""},           CharSet{u"-+*/^\\("},  CharSet{u")(πε!%"},
                            CharSet{u"\\ +-*/^e."}, CharSet{u"?@_`~\x7f"}, CharSet{u"\x01\x3f\x40"},
                            CharSet{u"πε"}};
    for (std::size_t k = 0; k < std::size(kSets); ++k)
        for (char32_t c = 0; c <= 0xFFFF; ++c)
            ASSERT_EQ(sets[k].contains(char16_t(c)), inSet(char16_t(c), kSets[k]))
                << "set " << k << ", character " << int(c);
}

}  // namespace
}  // namespace hc
