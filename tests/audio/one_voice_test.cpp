#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "announcements.h"
#include "fake_clock.h"
#include "game_state.h"
#include "input_state.h"
#include "pinned_draws.h"
#include "player_help.h"
#include "timeline_sound.h"
#include "voice_arbiter.h"
#include "world_fixture.h"

// Scripted levels played through the rules with the game's real sound files
// (their lengths, and where each speaks), on a fake clock: no two sentences
// may be heard at once.
namespace {

const std::string kGame = QUORVANE_GAME_DIR;

// The welcome's scripts play through an input state past the name.
InputState pastTheName()
{
    InputState input;
    input.nameEntry = false;
    return input;
}

struct Player {
    FakeClock& clock;
    GameState& game;
    VoiceArbiter* arbiter;
    InputState input = pastTheName();

    // Frames of the main loop, 16 ms apart, for a while.
    void wait(int ms)
    {
        for (int t = 0; t < ms; t += 16) {
            clock.advance(16);
            game.shiftMutant();
            game.shiftSuperMonster();
            welcomeStep(game, input);
            if (arbiter)
                arbiter->update();
        }
    }
    // The side action aimed at the creature on the square, wherever it is now.
    void shootCreature()
    {
        switch ((game.player.currentCell.kind - CellKind::MonsterLeft) % 3) {
        case 0: game.leftAction(); break;
        case 1: game.centreAction(); break;
        default: game.rightAction(); break;
        }
    }
    // A key taken by the welcome, pressed and released.
    void press(int vk)
    {
        welcomeKey(vk, game, input);
        input.keys[vk] = false;
    }
    void type(const char* letters)
    {
        for (const char* c = letters; *c; ++c) {
            const std::string letter = std::string("SonidosLetras/") + *c + ".wav";
            game.channels.SonidosExtras.playFile(letter.c_str(), 0, 0, kPlayOnce);
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
     false},
    {"LossForWantOfBullets", {"SM."},
     [](Player& p) {
         p.game.player.bullets = 0;
         p.game.advance(); p.wait(700);
         p.shootCreature(); p.wait(3000);
     },
     false},
    {"NoBulletsInACorridorThenASquareWithBullets", {"S.B."},
     [](Player& p) {
         p.game.player.bullets = 0;
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
         p.game.channels.SonidoFeedBackSeteo.playFile("SonidosSeteo/MusicaActivada.wav", 0, 0, kPlayOnce); p.wait(5000);
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
         p.game.channels.SonidosExtras.playFile("Sonidos/InicioJuego.wav", 0, 0, kPlayOnce);
         p.game.channels.SonidoEscribeTuNombre.playCurrent(0, 0, kPlayOnce); p.wait(1600);
         p.type("pepe"); p.wait(1000);
     },
     true},
    {"WelcomeAnsweredInAHurryThenSkippedMidSentence", {"S.E"},
     [](Player& p) {
         p.game.channels.SonidosExtras.playFile("Sonidos/InicioJuego.wav", 0, 0, kPlayOnce);
         startWelcome(p.game, p.input); p.wait(2000);
         p.press(' '); p.wait(600); p.press(' '); p.wait(1500); p.press(27); p.wait(5000);
     },
     false},
};

void PrintTo(const Script& script, std::ostream* out) { *out << script.name; }

// A fresh level of a picture (the player facing east, 12 bullets) on the
// game's real sound files, timed on a fake clock, through the arbiter or not.
struct Stage {
    FakeClock clock{100000};
    SpeechTable table = SpeechTable::load(kGame + "/speech.tsv");
    TimelineSound timeline{kGame, table, clock};
    VoiceArbiter arbiter{timeline, table, [this](double ms) { clock.advance(static_cast<Tick>(ms) + 1); }, clock};
    GameState game{clock};

    Stage(const std::string& name, std::vector<std::string> picture, bool arbitrated, bool slowVoice = false)
    {
        EXPECT_GT(table.size(), 100u) << "the game folder's speech table";
        writeFile(name + ".quorvane", mapText(picture));
        game.settings.slowVoice = slowVoice;
        game.random.pin(kLeftSidesSeed);
        game.firstInit(name + ".quorvane", arbitrated ? static_cast<SoundSystem&>(arbiter) : timeline);
        EXPECT_TRUE(game.lastLoadError.empty()) << game.lastLoadError;
        game.player.facing = Facing::East;
        game.player.bullets = 12;
        // Let the start jingle end unless the script is about the start.
        clock.advance(3000);
    }
};

class OneVoiceTest : public testing::TestWithParam<Script> {
protected:
    // Plays the script from a fresh level; the collisions heard.
    std::vector<std::string> collisions(bool arbitrated, bool slowVoice = false)
    {
        const Script& script = GetParam();
        Stage stage(script.name, script.picture, arbitrated, slowVoice);
        Player player{stage.clock, stage.game, arbitrated ? &stage.arbiter : nullptr};
        script.play(player);
        EXPECT_FALSE(stage.timeline.speech().empty());
        // The slow voice is the build's slow copy of every sentence, timed
        // by the copy's own entry in the table.
        for (const auto& heard : stage.timeline.speech())
            EXPECT_EQ(heard.file.starts_with(std::string(kSlowVoiceFolder) + "/"), slowVoice) << heard.file;
        return stage.timeline.overlaps(0.5);
    }
};

TEST_P(OneVoiceTest, NoTwoSentencesAreHeardAtOnce)
{
    for (bool slowVoice : {false, true}) {
        const auto heard = collisions(true, slowVoice);
        EXPECT_TRUE(heard.empty()) << (slowVoice ? "slow voice: " : "") << testing::PrintToString(heard);
    }
}

TEST_P(OneVoiceTest, TheCheckSeesTheCollisionsTheArbiterRemoves)
{
    EXPECT_EQ(!collisions(false).empty(), GetParam().collidesUnarbitrated) << testing::PrintToString(collisions(false));
}

INSTANTIATE_TEST_SUITE_P(Scripts, OneVoiceTest, testing::ValuesIn(kScripts),
                         [](const testing::TestParamInfo<Script>& info) { return std::string(info.param.name); });

}  // namespace

namespace {

// The endings, on the real files' lengths: the first words within a second
// of the move that ends the level, all said within about six seconds, one
// voice at a time.
struct Ending {
    const char* name;
    std::string picture;  // the player starts facing east
    std::function<void(Player&)> lead;  // up to the move that ends the level
    std::function<void(Player&)> end;
};

const Ending kEndings[] = {
    {"Win", "S.E", [](Player& p) { p.game.advance(); p.wait(1000); }, [](Player& p) { p.game.advance(); }},
    {"Trap", "S..",
     [](Player& p) { p.game.cells[p.game.player.row][p.game.player.col + 1].kind = CellKind::Trap; },
     [](Player& p) { p.game.advance(); }},
    {"LossForWantOfBullets", "SM.", [](Player& p) { p.game.player.bullets = 0; p.game.advance(); p.wait(700); },
     [](Player& p) { p.shootCreature(); }},
    {"LastLifeToASuperMonster", "SX.",
     [](Player& p) {
         p.game.player.lives = 1;
         p.game.advance();
         p.wait(2600);  // its side said, its growl alone
         // Its next move is due in the next frame.
         p.game.threatClock.lastThreatTime = p.game.threatClock.nowTime - 2990.0f;
     },
     [](Player& p) { p.wait(16); }},
};

void PrintTo(const Ending& ending, std::ostream* out) { *out << ending.name; }

class EndingTest : public testing::TestWithParam<Ending> {};

TEST_P(EndingTest, SpeaksWithinASecondAndIsOverInAboutSix)
{
    const Ending& ending = GetParam();
    Stage stage(std::string("ending") + ending.name, {ending.picture}, true);
    Player player{stage.clock, stage.game, &stage.arbiter};
    ending.lead(player);
    ASSERT_FALSE(stage.game.gameOver);

    const auto start = static_cast<double>(stage.clock.now());
    ending.end(player);
    ASSERT_TRUE(stage.game.gameOver);
    const auto heard = stage.timeline.speech();
    const auto first = std::find_if(heard.begin(), heard.end(), [&](const auto& h) { return h.fromMs >= start; });
    ASSERT_NE(first, heard.end());
    EXPECT_LE(first->fromMs - start, 1000);
    EXPECT_LE(static_cast<double>(stage.clock.now()) - start, 6000);
    EXPECT_TRUE(stage.timeline.overlaps(0.5).empty()) << testing::PrintToString(stage.timeline.overlaps(0.5));
}

INSTANTIATE_TEST_SUITE_P(Endings, EndingTest, testing::ValuesIn(kEndings),
                         [](const testing::TestParamInfo<Ending>& info) { return std::string(info.param.name); });

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

namespace {

// Fights played by a child who acts only on what he has heard in full: he
// shoots at a creature's side half a second after its sentence has been said
// to its last word, slowly (a shot every 2 s), and never at a side he has
// not heard; once, he asks where he is. Whatever the creature does, he must
// hear each side before it moves, lose no life while its side is being said, hear every count of his
// lives whole, and never shoot at a side he has not heard.
struct Fight {
    const char* name;
    std::vector<std::string> picture;
    int minMoves;  // the fight must make the creature move this often
};

class ByEarFightTest : public testing::TestWithParam<Fight> {};

void PrintTo(const Fight& fight, std::ostream* out) { *out << fight.name; }

bool isCreatureAnnouncement(const std::string& file)
{
    return file.find("Monstruo") != std::string::npos || file.find("Mutante") != std::string::npos
               ? file.find("Muerte") == std::string::npos
               : false;
}

TEST_P(ByEarFightTest, EverySideIsHeardBeforeTheCreatureMovesAndEveryShotIsAimed)
{
    const Fight& fight = GetParam();
    writeFile(std::string(fight.name) + ".quorvane", mapText(fight.picture));
    FakeClock clock{100000};
    const SpeechTable table = SpeechTable::load(kGame + "/speech.tsv");
    TimelineSound timeline(kGame, table, clock);
    VoiceArbiter arbiter(timeline, table, [&](double ms) { clock.advance(static_cast<Tick>(ms) + 1); }, clock);
    struct Start {
        std::string file;
        double at;
    };
    std::vector<Start> announced;
    bool answering = false;  // the answer to "where am I" names the creature too
    arbiter.setListener([&](const std::string& file) {
        if (isCreatureAnnouncement(file) && !answering)
            announced.push_back({file, static_cast<double>(clock.now())});
    });
    auto game = std::make_unique<GameState>(clock);
    game->random.pin(kLeftSidesSeed);
    game->firstInit(std::string(fight.name) + ".quorvane", arbiter);
    game->player.facing = Facing::East;
    game->player.bullets = 12;
    clock.advance(3000);
    Player player{clock, *game, &arbiter};

    // When the speech of an announcement was heard whole, or -1 while it
    // has not been (yet).
    auto heardWholeAt = [&](const Start& s) {
        const double length = table.find(s.file)->lastSpeechEndMs() - table.find(s.file)->firstSpeechMs();
        for (const auto& h : timeline.speech())
            if (h.file == s.file && h.fromMs >= s.at)
                return h.toMs - h.fromMs >= length - 1 && h.toMs <= clock.now() ? h.toMs : -1.0;
        return -1.0;
    };
    game->advance();
    double lastShot = 0;
    bool askedWhere = false;
    const int livesBefore = game->player.lives;
    for (int t = 0; t < 90000 && isCreature(game->player.currentCell.kind) && !game->gameOver; t += 16) {
        player.wait(16);
        const double heard = announced.empty() ? -1 : heardWholeAt(announced.back());
        const double now = clock.now();
        if (heard < 0 || now < heard + 500 || now < lastShot + 2000)
            continue;
        const std::string& file = announced.back().file;
        if (file.find("Izq") != std::string::npos)
            game->leftAction();
        else if (file.find("Cen") != std::string::npos)
            game->centreAction();
        else
            game->rightAction();
        lastShot = now;
        if (!askedWhere && isCreature(game->player.currentCell.kind)) {
            // Once, he asks where he is: the answer holds the game for
            // seconds, and the creature waits for him meanwhile.
            askedWhere = true;
            const int32_t side = game->player.currentCell.kind;
            const size_t moves = announced.size();
            answering = true;
            game->describeSquare();
            answering = false;
            EXPECT_GT(clock.now() - now, 3000) << "the answer takes longer than a creature's interval";
            player.wait(16);
            EXPECT_EQ(game->player.currentCell.kind, side) << "moved as soon as the hold ended";
            EXPECT_EQ(announced.size(), moves);
            lastShot = clock.now();
        }
    }
    player.wait(4000);

    EXPECT_FALSE(isCreature(game->player.currentCell.kind)) << "the creature was killed";
    EXPECT_EQ(game->stats.missedShots, 0) << "a shot at a side not heard";
    ASSERT_GE(static_cast<int>(announced.size()), fight.minMoves + 1);
    const auto speech = timeline.speech();
    for (size_t i = 0; i + 1 < announced.size(); ++i) {
        const double next = announced[i + 1].at;
        const double heard = heardWholeAt(announced[i]);
        EXPECT_GT(heard, 0) << announced[i].file << " at " << announced[i].at << " was not heard whole";
        EXPECT_LE(heard, next) << announced[i].file << " moved on before its side was said";
        for (const auto& h : speech)
            EXPECT_FALSE(h.file == announced[i].file && h.fromMs < next && h.toMs > next + 0.5)
                << h.file << " cut mid-sentence by the move at " << next;
    }
    // Each life taken is said, whole, after the new side.
    int livesSaid = 0;
    for (const auto& h : speech)
        if (h.file.find("VidaPerdida") != std::string::npos) {
            ++livesSaid;
            const SoundTiming* t = table.find(h.file);
            EXPECT_GE(h.toMs - h.fromMs, t->lastSpeechEndMs() - t->firstSpeechMs() - 1) << h.file << " cut";
            const Start* side = nullptr;
            for (const Start& a : announced)
                if (a.at <= h.fromMs)
                    side = &a;
            ASSERT_NE(side, nullptr);
            const double sideHeard = heardWholeAt(*side);
            EXPECT_TRUE(sideHeard > 0 && sideHeard <= h.fromMs) << h.file << " said before the side " << side->file;
        }
    EXPECT_EQ(livesSaid, livesBefore - game->player.lives);
    const auto heard = timeline.overlaps(0.5);
    EXPECT_TRUE(heard.empty()) << testing::PrintToString(heard);
}

const Fight kFights[] = {
    {"SuperMonsterFight", {"SX."}, 2},
    {"MutantFight", {"SU."}, 1},
};

INSTANTIATE_TEST_SUITE_P(Fights, ByEarFightTest, testing::ValuesIn(kFights),
                         [](const testing::TestParamInfo<Fight>& info) { return std::string(info.param.name); });

}  // namespace
