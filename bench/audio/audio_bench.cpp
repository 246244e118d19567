// How quickly a sound reaches the player: the device's output latency, and
// the time playFile takes to read, parse and start a typical spoken sentence
// (2 s, 22050 Hz, 16-bit mono). Then how far OpenAL's mixer falls behind its
// schedule while eight voices play: the periods queued ahead of a sound card
// (alsoft.conf) must cover the worst of it, or the output runs dry. Run it in
// the game folder to measure with the game's settings.
#define AL_ALEXT_PROTOTYPES
#include <AL/alc.h>
#include <AL/alext.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "openal_sound.h"

namespace {

constexpr uint32_t kRate = 22050;
constexpr int kRuns = 200;

void put16(std::ofstream& out, uint32_t v) { out.put(char(v & 0xFF)).put(char(v >> 8 & 0xFF)); }
void put32(std::ofstream& out, uint32_t v) { put16(out, v & 0xFFFF), put16(out, v >> 16); }

// A voiced, vowel-like signal so the file is as big as a real sentence.
void writeVoiceFile(const std::string& path)
{
    const uint32_t frames = 2 * kRate;
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    put32(out, 36 + frames * 2);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1), put16(out, 1), put32(out, kRate), put32(out, kRate * 2), put16(out, 2), put16(out, 16);
    out.write("data", 4);
    put32(out, frames * 2);
    for (uint32_t i = 0; i < frames; ++i) {
        const double t = double(i) / kRate;
        const double v = std::sin(2 * M_PI * 140 * t) * 0.5 + std::sin(2 * M_PI * 700 * t) * 0.3 +
                         std::sin(2 * M_PI * 1200 * t) * 0.2;
        put16(out, uint16_t(int16_t(v * 12000)));
    }
}

// Without a sound card the default device cannot open; the measurement then
// runs on OpenAL Soft's null backend, which mixes as a card would.
void rerunOnNullBackend(char** argv)
{
    if (std::getenv("ALSOFT_DRIVERS"))
        return;
    std::printf("no sound device: measuring on the null backend\n");
    std::fflush(stdout);
    ::setenv("ALSOFT_DRIVERS", "null", 1);
    ::execv("/proc/self/exe", argv);
}

// The mixer's lag behind the wall clock: the wall time since the start less
// the device clock (the output mixed so far), sampled every 0.3 ms for
// `seconds`, relative to its smallest value. Mixing a period as soon as it
// is due keeps the lag within about one period plus the backend's own
// sleep; anything above that is the mixer thread kept from running.
void measureMixerLag(OpenAlSound& sound, const std::string& file, int seconds)
{
    ALCdevice* device = alcGetContextsDevice(alcGetCurrentContext());
    if (device == nullptr || alcIsExtensionPresent(device, "ALC_SOFT_device_clock") != ALC_TRUE)
        return;
    std::vector<int> voices;
    for (int i = 0; i < 8; ++i) {
        voices.push_back(sound.openVoice());
        sound.loadVoice(voices.back(), file);
        sound.playVoice(voices.back(), true);
    }
    auto deviceMs = [device] {
        ALCint64SOFT ns = 0;
        alcGetInteger64vSOFT(device, ALC_DEVICE_CLOCK_SOFT, 1, &ns);
        return double(ns) / 1e6;
    };
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    const double deviceStart = deviceMs();
    std::vector<double> lags;
    while (Clock::now() - start < std::chrono::seconds(seconds)) {
        std::this_thread::sleep_for(std::chrono::microseconds(300));
        const double wall = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        lags.push_back(wall - (deviceMs() - deviceStart));
    }
    for (int voice : voices)
        sound.closeVoice(voice);
    const double least = *std::min_element(lags.begin(), lags.end());
    for (double& lag : lags)
        lag -= least;
    std::sort(lags.begin(), lags.end());
    ALCint frequency = 0, refresh = 0;
    alcGetIntegerv(device, ALC_FREQUENCY, 1, &frequency);
    alcGetIntegerv(device, ALC_REFRESH, 1, &refresh);
    std::printf("mixer lag, 8 voices for %d s (period %.2f ms at %d Hz): median %.2f ms, p99.9 %.2f ms, "
                "max %.2f ms\n",
                seconds, refresh > 0 ? 1000.0 / refresh : 0.0, frequency, lags[lags.size() / 2],
                lags[lags.size() * 999 / 1000], lags.back());
}

}  // namespace

int main(int, char** argv)
{
    const std::string file = std::filesystem::temp_directory_path() / ("quorvane_bench_voice.wav");
    writeVoiceFile(file);

    auto sound = std::make_unique<OpenAlSound>();
    if (!sound->hasDevice()) {
        sound.reset();
        rerunOnNullBackend(argv);
        std::printf("no sound device at all; nothing to measure\n");
        return 1;
    }
    std::printf("output latency: %.2f ms\n", sound->outputLatencyMs());

    SoundChannel channel;
    channel.initChannel(file.c_str(), *sound);
    std::vector<double> micros;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        channel.playFile(file.c_str(), 0, 0, kPlayOnce);
        micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    channel.releaseChannel();
    std::sort(micros.begin(), micros.end());
    std::printf("playFile, 2 s 22050 Hz 16-bit mono (%d runs): min %.0f us, median %.0f us, max %.0f us\n",
                kRuns, micros.front(), micros[micros.size() / 2], micros.back());
    measureMixerLag(*sound, file, 20);
    std::filesystem::remove(file);
    return 0;
}
