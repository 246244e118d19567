#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "sound_check.h"
#include "speech_table.h"
#include "wave.h"

namespace {
const std::filesystem::path kGame = QUORVANE_GAME_DIR;

// Every sound file the game can play: the catalogue's, as the start check
// lists them (the speech table aside).
std::set<std::string> listedSoundFiles()
{
    const std::vector<std::string> names = gameSoundFiles(SpeechTable{});
    return {names.begin(), names.end()};
}

// Loudness of one channel of 16-bit samples, in dB of full scale.
struct Level {
    double rmsDb = -200;
    int peak = 0;
};

Level channelLevel(const WaveSound& s, int channel)
{
    const size_t frames = s.samples.size() / s.frameBytes();
    double sum = 0;
    Level level;
    for (size_t f = 0; f < frames; ++f) {
        const uint8_t* p = &s.samples[f * s.frameBytes() + channel * 2];
        const int v = int16_t(uint16_t(p[0] | p[1] << 8));
        sum += double(v) * v;
        level.peak = std::max(level.peak, std::abs(v));
    }
    if (frames > 0 && sum > 0)
        level.rmsDb = 10 * std::log10(sum / frames / (32768.0 * 32768.0));
    return level;
}

WaveSound load(const std::string& name)
{
    WaveSound sound;
    std::string error;
    EXPECT_TRUE(loadWaveFile((kGame / name).string(), sound, &error)) << name << ": " << error;
    return sound;
}

bool endsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Which ear a file belongs to, by the side its name ends with.
char sideOf(const std::string& name)
{
    const std::string stem = name.substr(0, name.size() - 4);
    for (const char* left : {"Izq", "Izquierda"})
        if (endsWith(stem, left)) return 'L';
    for (const char* right : {"Der", "Derecha"})
        if (endsWith(stem, right)) return 'R';
    for (const char* centre : {"Cen", "Centro"})
        if (endsWith(stem, centre)) return 'C';
    return 0;
}
}

TEST(GameSounds, EveryFileOfTheCatalogueIsInTheFolderAndLoads)
{
    for (const auto& name : listedSoundFiles()) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(std::filesystem::is_regular_file(kGame / name));
        const WaveSound s = load(name);
        // One format for the whole game, so every channel mixes the same way.
        EXPECT_EQ(s.sampleRate, 22050u);
        EXPECT_EQ(s.bitsPerSample, 16);
        ASSERT_GE(s.frameBytes(), 2u);
        // Not silent, and not so short that it could not be heard.
        EXPECT_GT(s.seconds(), 0.1);
        EXPECT_GT(channelLevel(s, 0).peak, 1000);
        EXPECT_GT(channelLevel(s, 0).rmsDb, -40.0);
    }
}

TEST(GameSounds, FilesArePlainPcmWithAShortFormatChunk)
{
    // A 16-byte fmt chunk right after the RIFF header, as the simplest
    // readers expect, and RIFF sizes that match the file.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kGame)) {
        if (entry.path().extension() != ".wav")
            continue;
        SCOPED_TRACE(entry.path().string());
        std::ifstream in(entry.path(), std::ios::binary);
        unsigned char h[44] = {};
        ASSERT_TRUE(in.read(reinterpret_cast<char*>(h), sizeof h));
        auto u32 = [&](int at) { return uint32_t(h[at] | h[at + 1] << 8 | h[at + 2] << 16 | uint32_t(h[at + 3]) << 24); };
        EXPECT_EQ(std::string(reinterpret_cast<char*>(h), 4), "RIFF");
        EXPECT_EQ(std::string(reinterpret_cast<char*>(h) + 8, 8), "WAVEfmt ");
        EXPECT_EQ(u32(16), 16u);
        EXPECT_EQ(h[20] | h[21] << 8, 1);  // PCM
        EXPECT_EQ(std::string(reinterpret_cast<char*>(h) + 36, 4), "data");
        EXPECT_EQ(u32(4) + 8, std::filesystem::file_size(entry.path()));
    }
}

TEST(GameSounds, SideSoundsArePlacedOnTheirSide)
{
    int checked = 0;
    for (const auto& name : listedSoundFiles()) {
        const char side = sideOf(name);
        if (!side)
            continue;
        SCOPED_TRACE(name);
        const WaveSound s = load(name);
        ASSERT_EQ(s.channels, 2);
        const double left = channelLevel(s, 0).rmsDb;
        const double right = channelLevel(s, 1).rmsDb;
        const double leftOverRight = side == 'L' ? left - right : side == 'R' ? right - left : 0;
        if (side == 'C') {
            EXPECT_NEAR(left, right, 0.5);
        } else {
            EXPECT_GT(leftOverRight, 9.0);
        }
        ++checked;
    }
    EXPECT_EQ(checked, 35);
}

TEST(GameSounds, CreatureAnnouncementsLoopWithoutAClick)
{
    for (const char* creature : {"Monstruo", "Mutante", "SuperMonstruo"}) {
        for (const char* side : {"Izq", "Cen", "Der"}) {
            const std::string name = std::string("Sonidos/") + creature + side + ".wav";
            SCOPED_TRACE(name);
            const WaveSound s = load(name);
            ASSERT_GE(s.samples.size(), 8u);
            // Both ends near silence, so the jump from the last sample back to
            // the first is inaudible.
            for (size_t at : {size_t(0), s.samples.size() - s.frameBytes()}) {
                for (int ch = 0; ch < s.channels; ++ch) {
                    const int v = int16_t(uint16_t(s.samples[at + ch * 2] | s.samples[at + ch * 2 + 1] << 8));
                    EXPECT_LT(std::abs(v), 330);
                }
            }
            EXPECT_GT(s.seconds(), 2.0);
        }
    }
}

TEST(GameSounds, MusicStaysUnderTheVoice)
{
    const double voice = channelLevel(load("Sonidos/ATT_VolverAJugar.wav"), 0).rmsDb;
    EXPECT_LT(channelLevel(load("Sonidos/MusicaFondo.wav"), 0).rmsDb, voice - 6);
    EXPECT_LT(channelLevel(load("Sonidos/MusicaFinal.wav"), 0).rmsDb, voice - 4);
}

TEST(GameSounds, SpokenFilesAreEquallyLoud)
{
    // Sentences alone, from the shortest letter to the longest prompt.
    auto spokenAlone = [](const std::string& name) {
        return name.rfind("SonidosSeteo/", 0) == 0 || name.rfind("SonidosLetras/", 0) == 0 ||
               endsWith(name, "_M.wav");
    };
    double quietest = 0, loudest = -200;
    for (const auto& name : listedSoundFiles()) {
        if (!spokenAlone(name))
            continue;
        const double db = channelLevel(load(name), 0).rmsDb;
        quietest = std::min(quietest, db);
        loudest = std::max(loudest, db);
    }
    EXPECT_LT(loudest - quietest, 3.0);
}

TEST(GameSounds, TheSpeechTableIsReadWholeAndWhatIsWrongWithOneIsNamed)
{
    EXPECT_EQ(SpeechTable::load((kGame / "speech.tsv").string()).problem("speech.tsv"), "");
    EXPECT_EQ(SpeechTable::parse("# c\nSonidos/a.wav\t1\nmal\nSonidos/b.wav\tx\n").problem("speech.tsv"),
              "speech.tsv: no se entiende la línea \"mal\" ni 1 más.");
    EXPECT_EQ(SpeechTable::parse("# nada\n\n").problem("speech.tsv"), "speech.tsv: está vacío.");
    EXPECT_EQ(SpeechTable::load("no/hay.tsv").problem("no/hay.tsv"), "no/hay.tsv: no existe.");
}

TEST(GameSounds, SentencesTimedToFollowAnEffectStartWhenItEnds)
{
    // Each starts with the effect before it, on another channel: its words
    // wait for the effect to end (the jingle; a kill's shot, on any side).
    const SpeechTable table = SpeechTable::load((kGame / "speech.tsv").string());
    const std::pair<const char*, std::vector<std::string>> timed[] = {
        {"Sonidos/InicioJuego.wav",
         {"Sonidos/escribetunombreypresiona.wav", "Sonidos/Intro1.wav", "Sonidos/Objetivo.wav",
          "Sonidos/TituloNivel1.wav", "Sonidos/TituloNivel6.wav"}},
        {"Sonidos/AbatidoDer.wav", {"Sonidos/MuerteMutante.wav", "Sonidos/MuerteSuperMonstruo.wav"}},
    };
    for (const auto& [effect, sentences] : timed)
        for (const std::string& sentence : sentences) {
            const SoundTiming* timing = table.find(sentence);
            ASSERT_TRUE(timing && timing->speaks()) << sentence;
            EXPECT_GE(timing->firstSpeechMs(), load(effect).seconds() * 1000) << sentence;
        }
}
