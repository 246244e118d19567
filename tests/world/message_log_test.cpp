#include "world_fixture.h"

TEST_F(WorldTest, VisibleLinesFillFromTheTopThenScrollAtThe24thSentence)
{
    start({"#S.#"});
    static const char* const kSentences[] = {
        "s1\n", "s2\n", "s3\n", "s4\n", "s5\n", "s6\n", "s7\n", "s8\n", "s9\n", "s10\n", "s11\n", "s12\n",
        "s13\n", "s14\n", "s15\n", "s16\n", "s17\n", "s18\n", "s19\n", "s20\n", "s21\n", "s22\n", "s23\n",
        "s24\n"};
    for (int i = 0; i < 23; ++i) {
        clock.advance(10);
        game.addMessage(kSentences[i]);
    }
    for (int i = 0; i < 23; ++i)
        EXPECT_EQ(game.log.visible[i], kSentences[i]);
    game.addMessage(kSentences[23]);
    for (int i = 0; i < 23; ++i)
        EXPECT_EQ(game.log.visible[i], kSentences[i + 1]);
    EXPECT_EQ(game.log.historyCount, 24);
    EXPECT_EQ(game.log.visibleCount, 24);
    EXPECT_EQ(game.log.historyTicks[0], 100010u);
    EXPECT_EQ(game.log.historyTicks[22], 100230u);
}

TEST_F(WorldTest, SameSentenceTwiceTakesTwoEntriesWithTheirOwnTicks)
{
    start({"#S.#"});
    const char* text = "Avanzaste un paso.\n";
    game.addMessage(text);
    clock.advance(5);
    game.addMessage(text);
    EXPECT_EQ(game.log.visible[0], text);
    EXPECT_EQ(game.log.visible[1], text);
    EXPECT_EQ(game.log.historyTicks[1] - game.log.historyTicks[0], 5u);
}

TEST_F(WorldTest, FullHistoryKeepsItsFirstSentencesWhileTheScreenGoesOn)
{
    start({"#S.#"});
    for (int i = 0; i < kHistorySize + 50; ++i)
        game.addMessage(i < kHistorySize ? "old\n" : "new\n");
    EXPECT_EQ(game.log.historyCount, kHistorySize);
    EXPECT_STREQ(game.log.history[kHistorySize - 1], "old\n");
    EXPECT_STREQ(game.log.visible[kVisibleLines - 1], "new\n");
}
