#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

#include "catalogue.h"
#include "text.h"

namespace {

// The words of a UTF-8 sentence, in lower case and without accents; a
// capital letter alone is taken as the letter's name when lettersByName is
// set ("la letra H" is said "la letra hache"; the "y" of "balas y vidas"
// stays a word).
std::set<std::string> words(const std::string& utf8, bool lettersByName)
{
    static const std::string kFrom = "\xA1\x81\xA9\x89\xAD\x8D\xB3\x93\xBA\x9A\xBC\x9C\xB1\x91";
    static const std::string kTo = "aaeeiioouuuunn";
    std::set<std::string> found;
    std::string word;
    bool capital = false;
    auto endWord = [&] {
        if (lettersByName && capital && word.size() == 1 && word[0] >= 'a' && word[0] <= 'z')
            word = catalogue::kLetters[word[0] - 'a'].spoken;
        if (!word.empty())
            found.insert(word);
        word.clear();
    };
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = utf8[i];
        const size_t accented = c == 0xC3 && i + 1 < utf8.size() ? kFrom.find(utf8[i + 1]) : std::string::npos;
        if (std::isalnum(c)) {
            capital = word.empty() ? std::isupper(c) : capital;
            word += static_cast<char>(std::tolower(c));
        } else if (accented != std::string::npos) {
            word += kTo[accented];
            ++i;
        } else {
            endWord();
        }
    }
    endWord();
    return found;
}

}  // namespace

// What the player hears is also on the screen for the screen reader: every
// word the voice says is written, except where the catalogue's data says why
// not. An exception that no longer differs is stale and fails too.
TEST(Catalogue, EveryWordTheVoiceSaysIsWrittenUnlessTheDataSaysWhyNot)
{
    int compared = 0;
    for (const catalogue::Line* line : catalogue::kAll) {
        if (!line->spoken || !line->written)
            continue;
        SCOPED_TRACE(line->file);
        const std::set<std::string> written = words(line->shown, true);
        std::string unwritten;
        for (const std::string& word : words(line->spoken, false))
            if (!written.count(word))
                unwritten += " " + word;
        if (line->differs)
            EXPECT_NE(unwritten, "") << "no longer differs: " << line->differs;
        else
            EXPECT_EQ(unwritten, "") << "said, not written";
        ++compared;
    }
    EXPECT_GE(compared, 50);
}

// The game writes each sentence in Windows-1252 with a line feed; the
// teacher's tools read it back from a report and compare it with the UTF-8
// form, so the two must be the same sentence.
TEST(Catalogue, WrittenSentencesReadBackAsTheFormReportsAreComparedWith)
{
    for (const catalogue::Line* line : catalogue::kAll) {
        if (!line->written)
            continue;
        const std::string written = line->written;
        ASSERT_FALSE(written.empty());
        EXPECT_EQ(written.back(), '\n') << written;
        EXPECT_EQ(utf8FromGameText(written.substr(0, written.size() - 1)), line->shown);
    }
}
