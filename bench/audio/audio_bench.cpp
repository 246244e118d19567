// How quickly a sound reaches the player: the device's output latency, and
// the time playFile takes to read, parse and start a typical spoken sentence
// (2 s, 22050 Hz, 16-bit mono).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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
    std::filesystem::remove(file);
    return 0;
}
