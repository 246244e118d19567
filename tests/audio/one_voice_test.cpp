#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fake_clock.h"
#include "game_state.h"
#include "input_state.h"
#include "player_help.h"
#include "timeline_sound.h"
#include "voice_arbiter.h"
#include "world_fixture.h"

// Scripted levels played through the rules with the game's real sound files
// (their lengths, and where each speaks), on a fake clock: no two sentences
// may be heard at once.
namespace {

const std::string kGame = QUORVANE_GAME_DIR;

struct Player {
    FakeClock& clock;
    GameState& game;
    VoiceArbiter* arbiter;

    // Frames of the main loop, 16 ms apart, for a while.
    void wait(int ms)
    {
        for (int t = 0; t < ms; t += 16) {
            clock.advance(16);
            game.shiftMutant();
            game.shiftSuperMonster();
            welcomeStep(game);
            if (arbiter)
                arbiter->update();
        }
    }
    // The side action aimed at the creature on the square, wherever it is now.
    void shootCreature()
    {
        switch ((game.currentCell.kind - CellKind::MonsterLeft) % 3) {
        case 0: game.leftAction(); break;
        case 1: game.centreAction(); break;
        default: game.rightAction(); break;
        }
    }
    // A key taken by the welcome, pressed and released.
    void press(int vk)
    {
        welcomeKey(vk);
        input.keys[vk] = false;
    }
    void type(const char* letters)
    {
        for (const char* c = letters; *c; ++c) {
            game.SonidosExtras.playFile((std::string("SonidosLetras/") + *c + ".wav").c_str(), 0, 0, kPlayOnce);
            wait(250);
        }
    }
};

struct Script {
    const char* name;
    std::vector<std::string> picture;  // the player starts facing east
    std::function<void(Player&)> play;
    // Whether the sentences collide when nothing keeps them apart: the
    // collisions the game had, which the check must be able to see.
    bool collidesUnarbitrated;
};

const Script kScripts[] = {
    {"MonsterKilledThenOnwards", {"S.M.B"},
     [](Player& p) {
         p.game.advance(); p.wait(300); p.game.advance(); p.wait(1500);
         for (int i = 0; i < 3; ++i) { p.shootCreature(); p.wait(250); }
         p.game.advance(); p.wait(200); p.game.advance(); p.wait(3000);
     },
     true},
    {"MutantKilledWhileItMoves", {"SU.."},
     [](Player& p) {
         p.game.advance(); p.wait(3500);
         for (int i = 0; i < 3; ++i) { p.shootCreature(); p.wait(400); }
         p.wait(2000);
     },
     false},
    {"SuperMonsterKilled", {"SX."},
     [](Player& p) {
         p.game.advance(); p.wait(1000);
         for (int i = 0; i < 6; ++i) { p.shootCreature(); p.wait(150); }
         p.wait(2500);
     },
     true},
    {"LossForWantOfBullets", {"SM."},
     [](Player& p) {
         p.game.bullets = 0;
         p.game.advance(); p.wait(700);
         p.shootCreature(); p.wait(3000);
     },
     true},
    {"NoBulletsInACorridorThenASquareWithBullets", {"S.B."},
     [](Player& p) {
         p.game.bullets = 0;
         p.game.advance(); p.game.centreAction(); p.wait(300);
         p.game.advance(); p.wait(2500);
     },
     true},
    {"DoorOpenedInAHurry", {"#.", "SL"},
     [](Player& p) {
         p.game.advance(); p.wait(200); p.game.leftAction(); p.wait(100);
         p.game.advance(); p.wait(2500);
     },
     true},
    {"BulletsCountedDuringAFight", {"SM."},
     [](Player& p) {
         p.game.advance(); p.wait(1200);
         p.game.reportBullets("Sonidos/TeQuedan.wav"); p.wait(100);
         p.shootCreature(); p.wait(100); p.game.reportBullets("Sonidos/TeQuedan.wav"); p.wait(4000);
     },
     true},
    {"OptionSwitchedDuringAFight", {"SU."},
     [](Player& p) {
         p.game.advance(); p.wait(900);
         p.game.SonidoFeedBackSeteo.playFile("SonidosSeteo/MusicaActivada.wav", 0, 0, kPlayOnce); p.wait(5000);
     },
     true},
    {"TrapRightAfterBulletsFound", {"S.BT"},
     [](Player& p) { p.game.advance(); p.wait(100); p.game.advance(); p.wait(100); p.game.advance(); },
     true},
    {"WinWithBulletsLeft", {"S.E"},
     [](Player& p) { p.game.advance(); p.wait(100); p.game.advance(); p.wait(1000); },
     false},
    {"NamePromptAfterTheJingleAndCutByTyping", {"S."},
     [](Player& p) {
         p.game.SonidosExtras.playFile("Sonidos/InicioJuego.wav", 0, 0, kPlayOnce);
         p.game.SonidoEscribeTuNombre.playCurrent(0, 0, kPlayOnce); p.wait(1600);
         p.type("pepe"); p.wait(1000);
     },
     true},
    {"WelcomeAnsweredInAHurryThenSkippedMidSentence", {"S.E"},
     [](Player& p) {
         p.game.SonidosExtras.playFile("Sonidos/InicioJuego.wav", 0, 0, kPlayOnce);
         startWelcome(p.game); p.wait(2000);
         p.press(' '); p.wait(600); p.press(' '); p.wait(1500); p.press(27); p.wait(5000);
     },
     false},
};

void PrintTo(const Script& script, std::ostream* out) { *out << script.name; }

class OneVoiceTest : public testing::TestWithParam<Script> {
protected:
    // Plays the script from a fresh level; the collisions heard.
    std::vector<std::string> collisions(bool arbitrated)
    {
        const Script& script = GetParam();
        const std::string map = std::string(script.name) + ".quorvane";
        std::vector<std::string> picture = script.picture;
        writeFile(map, mapText(picture));

        FakeClock clock{100000};
        const SpeechTable table = SpeechTable::load(kGame + "/speech.tsv");
        EXPECT_GT(table.size(), 100u) << "the game folder's speech table";
        TimelineSound timeline(kGame, table, clock);
        VoiceArbiter arbiter(timeline, table, [&](double ms) { clock.advance(static_cast<Tick>(ms) + 1); }, clock);
        SoundSystem& sound = arbitrated ? static_cast<SoundSystem&>(arbiter) : timeline;

        auto game = std::make_unique<GameState>(clock);
        game->firstInit(map, sound);
        input = InputState{};
        input.nameEntry = false;
        input.currentGame = game.get();
        EXPECT_TRUE(game->lastLoadError.empty()) << game->lastLoadError;
        game->facing = Facing::East;
        game->bullets = 12;
        // Let the start jingle end unless the script is about the start.
        clock.advance(3000);
        Player player{clock, *game, arbitrated ? &arbiter : nullptr};
        script.play(player);
        EXPECT_FALSE(timeline.speech().empty());
        input = InputState{};
        return timeline.overlaps(0.5);
    }
};

TEST_P(OneVoiceTest, NoTwoSentencesAreHeardAtOnce)
{
    const auto heard = collisions(true);
    EXPECT_TRUE(heard.empty()) << testing::PrintToString(heard);
}

TEST_P(OneVoiceTest, TheCheckSeesTheCollisionsTheArbiterRemoves)
{
    EXPECT_EQ(!collisions(false).empty(), GetParam().collidesUnarbitrated) << testing::PrintToString(collisions(false));
}

INSTANTIATE_TEST_SUITE_P(Scripts, OneVoiceTest, testing::ValuesIn(kScripts),
                         [](const testing::TestParamInfo<Script>& info) { return std::string(info.param.name); });

}  // namespace

namespace {

// Repeat: the last sentence said on a channel, or the last spoken sequence
// (files played one after the other within one pass), said again in full.
TEST(VoiceRepeatTest, SaysAgainTheLastSentenceOrTheWholeLastSequence)
{
    FakeClock clock{100000};
    const SpeechTable table = SpeechTable::load(kGame + "/speech.tsv");
    TimelineSound timeline(kGame, table, clock);
    VoiceArbiter arbiter(timeline, table, [&](double ms) { clock.advance(static_cast<Tick>(ms) + 1); }, clock);
    auto heardFiles = [&] {
        std::vector<std::string> files;
        for (const auto& heard : timeline.speech())
            files.push_back(heard.file);
        return files;
    };

    EXPECT_FALSE(arbiter.repeatLastSpeech()) << "nothing said yet";
    const int voice = arbiter.openVoice();
    ASSERT_TRUE(arbiter.loadVoice(voice, "Sonidos/EncontrarPuertaIzq.wav"));
    arbiter.playVoice(voice, false);
    clock.advance(4000);
    arbiter.update();
    EXPECT_TRUE(arbiter.repeatLastSpeech());
    EXPECT_EQ(heardFiles(), (std::vector<std::string>{"Sonidos/EncontrarPuertaIzq.wav",
                                                      "Sonidos/EncontrarPuertaIzq.wav"}));

    arbiter.update();
    for (const char* file : {"Sonidos/TeQuedan.wav", "Sonidos/07__M.wav", "Sonidos/Balas.wav"})
        arbiter.playBlocking(file);
    arbiter.update();
    arbiter.repeatLastSpeech();
    const auto files = heardFiles();
    ASSERT_EQ(files.size(), 8u);
    EXPECT_EQ(std::vector<std::string>(files.begin() + 5, files.end()),
              (std::vector<std::string>{"Sonidos/TeQuedan.wav", "Sonidos/07__M.wav", "Sonidos/Balas.wav"}));
}

}  // namespace
