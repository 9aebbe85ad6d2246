#include "platform/language.h"

#include <gtest/gtest.h>

namespace quorbin::platform {
namespace {

TEST(LanguageTest, TheFirstSetVariableDecidesAndOnlyGermanIsGerman)
{
    const struct {
        const char* language;
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        Language expected;
    } cases[] = {
        {"", "", "", "de_DE.UTF-8", Language::German},
        {"", "", "", "de_AT.UTF-8", Language::German},
        {"", "", "", "de", Language::German},
        {"", "", "", "en_US.UTF-8", Language::English},
        {"", "", "", "C", Language::English},
        {"", "", "", "C.UTF-8", Language::English},
        {"", "", "", "POSIX", Language::English},
        {"", "", "", "", Language::English},
        {"", "", "", "fr_FR.UTF-8", Language::English},
        // LANGUAGE first, and only its first entry.
        {"de", "en_US.UTF-8", "en_US.UTF-8", "en_US.UTF-8", Language::German},
        {"en_GB:de", "", "", "de_DE.UTF-8", Language::English},
        {"de_CH:en", "", "", "C", Language::German},
        // Then LC_ALL, LC_MESSAGES, LANG.
        {"", "C", "de_DE.UTF-8", "de_DE.UTF-8", Language::English},
        {"", "de_AT.UTF-8", "C", "en_US.UTF-8", Language::German},
        {"", "", "de_DE.UTF-8", "en_US.UTF-8", Language::German},
        {"", "", "en_US.UTF-8", "de_DE.UTF-8", Language::English},
    };
    for (const auto& c : cases)
        EXPECT_EQ(languageOf(c.language, c.lcAll, c.lcMessages, c.lang), c.expected)
            << c.language << " | " << c.lcAll << " | " << c.lcMessages << " | " << c.lang;
}

}  // namespace
}  // namespace quorbin::platform
