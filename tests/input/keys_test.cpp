#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>

#include "input_fixture.h"
#include "input_state.h"
#include "journal.h"
#include "key_input.h"
#include "hold_input.h"
#include "player_help.h"
#include "replay.h"
#include "report.h"
#include "scaled_time.h"

namespace {

using NameEntryTest = InputTest;

TEST_F(NameEntryTest, LettersAndDigitsAreStoredLowercaseAndSpoken)
{
    for (int vk : std::initializer_list<int>{'A', 'N', Vk::Digit0 + 7, Vk::Numpad0 + 3, Vk::Space, 8 /* Backspace */, Vk::Numpad0 + 1})
        keyDown(vk, play);
    EXPECT_STREQ(input.playerName, "an7");
    EXPECT_EQ(input.playerNameLength, 3);
    EXPECT_EQ(plays(), (std::vector<std::string>{"SonidosExtras once SonidosLetras/a.wav",
                                                 "SonidosExtras once SonidosLetras/n.wav",
                                                 "SonidosExtras once SonidosLetras/7.wav"}));
    EXPECT_TRUE(input.keys[Vk::Space]);
    EXPECT_FALSE(input.advanceRequested);
    EXPECT_TRUE(input.nameEntry);
}

TEST_F(NameEntryTest, SpanishLettersAreKeptInWindows1252AndSpokenAsTheirLetter)
{
    for (int vk : {int('I'), int(Vk::NTilde), int('A'), int('K'), int('I'), int(Vk::OAcute), int(Vk::UDiaeresis)})
        press(vk);
    EXPECT_STREQ(input.playerName, "i\xF1" "aki\xF3\xFC");
    EXPECT_EQ(plays(), (std::vector<std::string>{
                           "SonidosExtras once SonidosLetras/i.wav", "SonidosExtras once SonidosLetras/enie.wav",
                           "SonidosExtras once SonidosLetras/a.wav", "SonidosExtras once SonidosLetras/k.wav",
                           "SonidosExtras once SonidosLetras/i.wav", "SonidosExtras once SonidosLetras/o.wav",
                           "SonidosExtras once SonidosLetras/u.wav"}));
    press(Vk::Delete);
    press(Vk::Delete);
    press(Vk::Enter);

    // The report: the name in Windows-1252 inside, in UTF-8 in its file name.
    game.stats.stepCount = 2;  // a level with something to report
    std::string error;
    ASSERT_TRUE(writeStatisticsReport(game, session.journal, input.playerName, &error)) << error;
    ASSERT_TRUE(std::filesystem::exists(here("bd")));
    const auto entry = *std::filesystem::directory_iterator(here("bd"));
    EXPECT_EQ(entry.path().filename().string().substr(0, 7), "i\xC3\xB1" "aki_");
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("Nombre :\ni\xF1" "aki\n"), std::string::npos);
}

TEST_F(NameEntryTest, ALetterWhoseSoundIsMissingPlaysNothingNeverTheLetterBefore)
{
    sound.missing = {"SonidosLetras/n.wav"};
    for (int vk : {'M', 'N', 'A'})
        keyDown(vk, play);
    EXPECT_STREQ(input.playerName, "mna");
    EXPECT_EQ(plays(), (std::vector<std::string>{"SonidosExtras once SonidosLetras/m.wav",
                                                 "SonidosExtras once SonidosLetras/a.wav"}));
}

TEST_F(NameEntryTest, DeleteErasesTheLastCharacterAndIsSilentOnAnEmptyName)
{
    keyDown(Vk::Delete, play);
    EXPECT_TRUE(plays().empty());
    EXPECT_EQ(input.playerNameLength, 0);

    press('H');
    press('J');
    press(Vk::Delete);
    EXPECT_STREQ(input.playerName, "h");
    EXPECT_EQ(plays().back(), "SonidosExtras once SonidosLetras/borrar.wav");
    press('K');
    EXPECT_STREQ(input.playerName, "hk");
    EXPECT_FALSE(input.leftRequested || input.centreRequested || input.rightRequested);
}

TEST_F(NameEntryTest, AFullNameTakesNoMoreCharactersAndStaysTerminated)
{
    for (int i = 0; i < kMaxNameLength; ++i)
        press('A' + i % 26);
    sound.clear();
    press('B');
    press(Vk::Digit0);
    EXPECT_TRUE(plays().empty());
    EXPECT_EQ(input.playerNameLength, kMaxNameLength);
    EXPECT_EQ(input.playerName[kMaxNameLength - 1], 'a' + (kMaxNameLength - 1) % 26);

    press(Vk::Enter);
    EXPECT_EQ(std::strlen(input.playerName), static_cast<size_t>(kMaxNameLength));
    EXPECT_FALSE(input.nameEntry);
}

TEST_F(NameEntryTest, EnterWithAnEmptyNameStartsTheGameAndItsWelcome)
{
    keyDown(Vk::Enter, play);
    EXPECT_FALSE(input.nameEntry);
    EXPECT_STREQ(input.playerName, "");
    // The welcome follows the start jingle.
    EXPECT_EQ(plays(), (std::vector<std::string>{"SonidosExtras once Sonidos/InicioJuego.wav",
                                                 "SonidoIntroduccion1 once Sonidos/Intro1.wav"}));

    keyDown(Vk::Enter, play);  // the name's Enter, held: not a skip
    EXPECT_EQ(input.welcomeStage, WelcomeStage::Running);
    EXPECT_EQ(input.playerNameLength, 0);
}

TEST_F(NameEntryTest, KeyCodesOutsideTheTableAreIgnored)
{
    keyDown(-1, play);
    keyDown(256, play);
    keyDown(100000, play);
    keyUp(-5, play);
    keyUp(4096, play);
    EXPECT_EQ(input.playerNameLength, 0);
    EXPECT_TRUE(plays().empty());
}

class GameKeysTest : public InputTest {
protected:
    GameKeysTest()
    {
        input.nameEntry = false;
        clock.advance(5000);  // clear of the option gate
    }
};

TEST_F(GameKeysTest, PlayKeysOnlyRaiseRequests)
{
    for (int vk : std::initializer_list<int>{Vk::Space, 'H', 'J', 'K'})
        press(vk);
    EXPECT_TRUE(input.advanceRequested && input.leftRequested && input.centreRequested && input.rightRequested);
    EXPECT_EQ(game.player.col, 1);
    EXPECT_EQ(session.journal.journalCount, 0);
    EXPECT_FALSE(input.keys['H']);
}

TEST_F(GameKeysTest, OptionKeysToggleWithMessageSoundBoxAndJournal)
{
    struct Case {
        int vk;
        bool PlayOptions::*field;
        int box;
        const char* messageOn;
        const char* soundOn;
        const char* soundOff;
    };
    const Case cases[] = {
        {'E', &PlayOptions::showMap, OptionBox::ShowMap, "Mostrar mapa activado.\n",
         "SonidosSeteo/MostraMapaActivado.wav", "SonidosSeteo/MostrarMapaDesactivado.wav"},
        {'Q', &PlayOptions::musicOn, OptionBox::Music, "Musica activada.\n", "SonidosSeteo/MusicaActivada.wav",
         "SonidosSeteo/MusicaDesactivada.wav"},
        {'R', &PlayOptions::mouseEnabled, OptionBox::Mouse, "Mouse activado.\n", "SonidosSeteo/MouseActivado.wav",
         "SonidosSeteo/MouseDesactivado.wav"},
        {'W', &PlayOptions::infiniteBullets, OptionBox::InfiniteBullets, "Balas infinitas activadas.\n",
         "SonidosSeteo/BalasIniActivadas.wav", "SonidosSeteo/BalasIniDesactivadas.wav"},
    };
    std::string letters;
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<char>(c.vk));
        sound.clear();
        hooks.boxes.clear();
        clock.advance(1100);
        press(c.vk);
        EXPECT_TRUE(game.options.*c.field);
        EXPECT_EQ(game.options.mouseActive, c.vk == 'R');  // steering follows its key at once
        EXPECT_STREQ(game.log.lastMessage, c.messageOn);
        EXPECT_EQ(plays(), std::vector<std::string>{std::string("SonidoFeedBackSeteo once ") + c.soundOn});
        clock.advance(1100);
        press(c.vk);
        EXPECT_FALSE(game.options.*c.field);
        EXPECT_EQ(plays().back(), std::string("SonidoFeedBackSeteo once ") + c.soundOff);
        EXPECT_EQ(hooks.boxes, (std::vector<std::pair<int, bool>>{{c.box, true}, {c.box, false}}));
        letters += std::string(2, static_cast<char>(c.vk));
    }
    EXPECT_EQ(journalLetters(), letters);
    EXPECT_EQ(game.log.historyCount, 8);
}

TEST_F(GameKeysTest, MusicKeyOffStopsTheMusicAndMarksItToStartAgain)
{
    game.options.musicOn = true;
    game.options.musicRestart = false;
    sound.clear();
    press('Q');
    EXPECT_FALSE(game.options.musicOn);
    EXPECT_TRUE(game.options.musicRestart);
    ASSERT_FALSE(sound.events.empty());
    EXPECT_EQ(sound.events.back().op, RecordingSound::Op::Stop);
    EXPECT_EQ(channelName(game, sound.events.back().voice), "MusicaDeFondo");
}

TEST_F(GameKeysTest, OneOptionKeyPerSecondAndAnyKeyUsesTheGateUp)
{
    press('E');
    clock.advance(900);
    press('E');
    EXPECT_TRUE(game.options.showMap);

    // An arrow key passes the gate and does nothing, but shuts it again.
    clock.advance(1100);
    press(38);
    clock.advance(500);
    press('E');
    EXPECT_TRUE(game.options.showMap);
    clock.advance(600);
    press('E');
    EXPECT_FALSE(game.options.showMap);
    EXPECT_EQ(journalLetters(), "EE");
}

TEST_F(GameKeysTest, FSpeaksTheBulletsIsGatedAndNotJournalled)
{
    game.player.bullets = 7;
    press('F');
    EXPECT_EQ(sound.blocking(), (std::vector<std::string>{"Sonidos/TeQuedan.wav", "Sonidos/07__M.wav",
                                                          "Sonidos/Balas.wav", "Sonidos/Vidas6.wav"}));
    sound.clear();
    clock.advance(300);
    press('F');
    EXPECT_TRUE(sound.blocking().empty());
    EXPECT_EQ(session.journal.journalCount, 0);
}

TEST_F(GameKeysTest, F1SuspendsSteeringAndOpensTheOptionsEvenWhenOneIsOpen)
{
    game.options.mouseActive = true;
    input.dialogOpen = true;
    press(Vk::F1);
    press(Vk::F1);
    EXPECT_FALSE(game.options.mouseActive);
    EXPECT_EQ(hooks.optionsOpened, 2);
    EXPECT_TRUE(input.dialogOpen);
}

TEST_F(GameKeysTest, WhileReplayingKeysOnlyMarkKeysDown)
{
    session.replay.replaying = true;
    game.player.bullets = 4;
    for (int vk : std::initializer_list<int>{Vk::Space, 'H', 'E', 'F', Vk::F1, Vk::Enter})
        press(vk);
    EXPECT_FALSE(input.advanceRequested || input.leftRequested);
    EXPECT_FALSE(game.options.showMap);
    EXPECT_EQ(hooks.optionsOpened, 0);
    EXPECT_TRUE(plays().empty());
    EXPECT_TRUE(session.replay.replaying);
    EXPECT_TRUE(input.keys[Vk::Space] && input.keys[Vk::Enter]);

    session.replay.replaying = false;
    keyUp(Vk::Space, play);
    EXPECT_FALSE(input.keys[Vk::Space]);
}

}  // namespace

TEST_F(GameKeysTest, DSaysTheSquareThenTheBulletsAndLivesAndIsNotJournalled)
{
    struct Case {
        int32_t kind;
        const char* sound;
        const char* message;
    };
    const Case cases[] = {
        {CellKind::DoorLeft, "Sonidos/EncontrarPuertaIzq.wav", "Hay una puerta a la izquierda.\n"},
        {CellKind::BulletsRight, "Sonidos/RecargaBalasDer.wav", "Hay balas a la derecha.\n"},
        {CellKind::Wall, "Sonidos/Nada.wav", "No hay nada a los lados.\n"},  // a door already opened
    };
    for (const Case& c : cases) {
        game.player.currentCell.kind = c.kind;
        game.player.bullets = 1;
        game.player.lives = 4;
        sound.clear();
        clock.advance(1500);
        press('D');
        EXPECT_EQ(sound.blocking(), (std::vector<std::string>{c.sound, "Sonidos/01__M.wav", "Sonidos/Vidas4.wav"}));
        EXPECT_STREQ(game.log.history[game.log.historyCount - 1], c.message);
    }
    EXPECT_EQ(session.journal.journalCount, 0);
}

TEST_F(GameKeysTest, EscAsksFirstAndEndsOnlyOnASecondPressInTime)
{
    press(Vk::Escape);
    EXPECT_FALSE(input.keys[Vk::Escape]);
    EXPECT_EQ(plays(), std::vector<std::string>{"SonidoFeedBackSeteo once Sonidos/Salir.wav"});
    EXPECT_STREQ(game.log.history[game.log.historyCount - 1], "\xBFSalir? Presiona Esc otra vez para salir.\n");

    clock.advance(kQuitConfirmMs + 1);  // too late: asked again
    press(Vk::Escape);
    EXPECT_FALSE(input.keys[Vk::Escape]);
    press('H');  // another key: the player stays, and the key acts
    EXPECT_TRUE(input.leftRequested);
    press(Vk::Escape);
    EXPECT_FALSE(input.keys[Vk::Escape]);
    clock.advance(kQuitConfirmMs);
    keyDown(Vk::Escape, play);
    EXPECT_TRUE(input.keys[Vk::Escape]);
}

TEST_F(GameKeysTest, TheWelcomeTeachesOneKeyAtATimeAndKeepsTheKeysToItself)
{
    const std::string voice = "SonidoIntroduccion1 once ";
    startWelcome(game, input);
    welcomeStep(game, input);  // the recorder never plays: each sentence is over at once
    welcomeStep(game, input);
    EXPECT_EQ(plays(), (std::vector<std::string>{voice + "Sonidos/Intro1.wav", voice + "Sonidos/Intro2.wav",
                                                 voice + "Sonidos/AprendeAvanzar.wav"}));
    for (int vk : std::string(" HJKFDO")) {
        SCOPED_TRACE(vk);
        const std::string lesson = plays().back(), written = game.log.lastMessage;
        EXPECT_EQ(written.back(), '\n');
        welcomeStep(game, input);  // waits for its key
        sound.clear();
        press(vk == 'H' ? 'J' : 'H');  // another key: the lesson again
        EXPECT_EQ(plays(), std::vector<std::string>{lesson});
        EXPECT_EQ(game.log.lastMessage, written);
        press(vk);
        press(vk == 'H' ? 'J' : 'H');  // while the answer is said: nothing
        EXPECT_EQ(plays(), (std::vector<std::string>{lesson, voice + "Sonidos/MuyBien.wav"}));
        EXPECT_STREQ(game.log.lastMessage, "Muy bien.\n");
        welcomeStep(game, input);
    }
    // Learnt: the level is announced; none of the keys acted, was journalled
    // or said the bullets or the square.
    EXPECT_EQ(input.welcomeStage, WelcomeStage::Done);
    EXPECT_EQ(plays().back(), "SonidoFeedBackSeteo once Sonidos/Objetivo.wav");
    EXPECT_FALSE(input.advanceRequested || input.leftRequested || input.centreRequested || input.rightRequested);
    EXPECT_EQ(session.journal.journalCount, 0);
    EXPECT_TRUE(sound.blocking().empty());
    press('H');
    EXPECT_TRUE(input.leftRequested);
}

TEST_F(GameKeysTest, EscOrEnterSkipTheWelcomeAndNeitherLeaveNorRestart)
{
    for (int vk : {Vk::Escape, Vk::Enter}) {
        input.welcomeStage = WelcomeStage::NotYet;
        startWelcome(game, input);
        game.player.col = 3;  // a level with a report to write, and a first Esc just pressed
        game.stats.stepCount = 2;
        input.quitAsked = true;
        input.quitAskedAt = clock.now();
        sound.clear();
        press(vk);
        EXPECT_EQ(plays(), (std::vector<std::string>{"SonidosExtras once Sonidos/InicioJuego.wav",
                                                     "SonidoFeedBackSeteo once Sonidos/Objetivo.wav"}));
        EXPECT_EQ(game.player.col, 3);
        EXPECT_FALSE(input.keys[Vk::Escape] || input.quitAsked);
    }
    EXPECT_TRUE(!std::filesystem::exists(here("bd")) || std::filesystem::is_empty(here("bd")));
    startWelcome(game, input);  // once per program start
    press(Vk::Escape);
    EXPECT_EQ(plays().back(), "SonidoFeedBackSeteo once Sonidos/Salir.wav");
}

TEST_F(GameKeysTest, EveryLevelStartSaysItsTitleAndGoalAfterTheJingle)
{
    writeMap("nivel3.quorvane", {1, 2, 8});
    hooks.chooser.answer = "nivel3.quorvane";
    const std::pair<const char*, std::function<void()>> starts[] = {
        {"Sonidos/Objetivo.wav", [&] { press(Vk::Enter); }},  // on a map of the teacher's own
        {"Sonidos/TituloNivel3.wav", [&] { menuCommand(MenuId::ChangeMap, play); }},
    };
    for (const auto& [title, start] : starts) {
        sound.clear();
        start();
        EXPECT_EQ(plays(), (std::vector<std::string>{"SonidosExtras once Sonidos/InicioJuego.wav",
                                                     std::string("SonidoFeedBackSeteo once ") + title}));
        EXPECT_STREQ(game.log.history[game.log.historyCount - 1], "Encuentra la salida.\n");
    }
    EXPECT_STREQ(game.log.history[0], "Nivel 3: Los mutantes.\n");
}

TEST_F(GameKeysTest, NAfterAWinWritesTheReportAndStartsTheNextLevelWithItsTitle)
{
    writeMap("nivel1.quorvane", {1, 3, 8});
    press('N');  // the level is not won: N does nothing
    EXPECT_EQ(game.mapName, kMapName);

    for (int i = 0; i < 3; ++i)
        game.advance();
    ASSERT_TRUE(game.levelWon());
    sound.clear();
    clock.advance(1500);
    press('N');
    EXPECT_EQ(game.mapName, "nivel1.quorvane") << "the first level follows a map outside the series";
    EXPECT_FALSE(game.gameOver);
    EXPECT_EQ(game.stats.stepCount, 0);
    EXPECT_EQ(plays().back(), "SonidoFeedBackSeteo once Sonidos/TituloNivel1.wav");
    ASSERT_EQ(game.log.historyCount, 2);
    EXPECT_STREQ(game.log.history[0], "Nivel 1: Aprende a jugar.\n");
    EXPECT_STREQ(game.log.history[1], "Encuentra la salida.\n");
    EXPECT_TRUE(hooks.errors.empty()) << hooks.errors.front();
    EXPECT_STREQ(nextMapName("nivel3.quorvane"), "nivel4.quorvane");
    EXPECT_STREQ(nextMapName("nivel6.quorvane"), "nivel1.quorvane");
}

TEST_F(GameKeysTest, OneReportPerLevelWhateverIsPressedAndAReplayedWinGoesOnFromItsMap)
{
    // The next map (nivel1) is missing: every N says so, one report is kept.
    for (int i = 0; i < 3; ++i)
        game.advance();
    ASSERT_TRUE(game.levelWon());
    for (int i = 0; i < 3; ++i) {
        clock.advance(1500);
        clock.setCalendar(clock.calendar() + 2);  // a report of its own name each time
        press('N');
    }
    EXPECT_EQ(hooks.errors.size(), 3u);
    EXPECT_EQ(game.mapName, kMapName);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(here("bd")), std::filesystem::directory_iterator{}), 1);

    // A game saved on nivel4, loaded while nivel2 is in play, then won.
    writeMap("nivel2.quorvane", {1, 3, 8});
    writeMap("nivel4.quorvane", {1, 3, 3, 3, 8});
    writeMap("nivel5.quorvane", {1, 8});
    const std::pair<int, const char*> steps[] = {{MenuId::ChangeMap, "nivel4.quorvane"},
                                                 {MenuId::SaveGame, "partida.txt"},
                                                 {MenuId::ChangeMap, "nivel2.quorvane"},
                                                 {MenuId::LoadGame, "partida.txt"}};
    for (const auto& [command, name] : steps) {
        hooks.chooser.answer = name;
        menuCommand(command, play);
    }
    EXPECT_EQ(game.mapName, "nivel2.quorvane");
    EXPECT_EQ(game.playedFrom, "partida.txt");
    session.replay.replaying = false;
    for (int i = 0; i < 4; ++i)
        game.advance();
    ASSERT_TRUE(game.levelWon());
    clock.advance(1500);
    press('N');
    EXPECT_EQ(game.mapName, "nivel5.quorvane");
    EXPECT_EQ(hooks.errors.size(), 3u) << hooks.errors.back();
}

namespace {

// Keys during a hold (blocking playback), by the stretch it is in: whether
// the key cuts it short, is kept to act once it is over, or only ticks.
TEST_F(GameKeysTest, KeysDuringAHoldAreKeptCutItOrTickNeverQueue)
{
    struct Case {
        Stretch stretch;
        int vk;
        bool cuts, kept, ticks;
    };
    const Case cases[] = {
        {Stretch::Fixed, Vk::Space, false, false, true},   {Stretch::Fixed, 'N', false, false, true},
        {Stretch::Fixed, Vk::Escape, false, true, false},  {Stretch::Fixed, Vk::F1, false, true, false},
        {Stretch::Answer, Vk::Space, true, true, false},  {Stretch::Answer, 'E', true, true, false},
        {Stretch::Ending, Vk::Space, true, false, false}, {Stretch::Ending, 'H', true, false, false},
        {Stretch::Ending, Vk::Enter, true, true, false},  {Stretch::Ending, 'N', true, true, false},
        {Stretch::Closing, 'H', false, false, true},      {Stretch::Closing, Vk::Escape, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.stretch) << " " << c.vk);
        hooks.ticks = 0;
        input.holding = true;
        input.holdStretch = c.stretch;
        press(c.vk);
        EXPECT_EQ(input.heldKey, c.kept ? c.vk : 0);
        EXPECT_EQ(hooks.ticks, c.ticks ? 1 : 0);
        EXPECT_EQ(takeHoldCut(input), c.cuts);
        // Nothing of the key has reached the game.
        EXPECT_FALSE(input.advanceRequested || input.leftRequested || input.keys[c.vk] || input.quitAsked);
        EXPECT_EQ(hooks.optionsOpened, 0);
        EXPECT_TRUE(plays().empty());
        input = InputState{};
        input.nameEntry = false;
    }
    // Once the hold is over the kept key acts; one thing is kept per hold,
    // and a later key or menu command only ticks.
    // The answer's own key has just used the option gate; the key that
    // cuts it short passes all the same.
    input.lastOptionKeyTime = scaledTime(clock.now());
    input.holding = true;
    input.holdStretch = Stretch::Answer;
    press('E');
    press('H');
    EXPECT_TRUE(menuCommand(MenuId::Keys, play));
    input.holding = false;
    actOnHeldInput(play);
    EXPECT_TRUE(game.options.showMap);
    EXPECT_FALSE(input.leftRequested);
    EXPECT_EQ(hooks.keysOpened, 0);
    EXPECT_EQ(hooks.ticks, 2);
}

TEST_F(GameKeysTest, KeysAfterTheLevelEndedNeverReachTheNextLevel)
{
    for (int i = 0; i < 3; ++i)
        game.advance();
    ASSERT_TRUE(game.levelWon());
    for (int vk : std::initializer_list<int>{Vk::Space, 'H', 'J', 'K'})
        press(vk);
    EXPECT_EQ(hooks.ticks, 4);
    EXPECT_FALSE(input.advanceRequested || input.leftRequested || input.centreRequested || input.rightRequested);

    // Whatever was pending when a level starts (Enter here) is dropped.
    input.advanceRequested = input.rightRequested = input.leftButtonDown = true;
    press(Vk::Enter);
    EXPECT_FALSE(game.gameOver);
    EXPECT_FALSE(input.advanceRequested || input.rightRequested || input.leftButtonDown);
}

}  // namespace
