#include "wave_device.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace wavedevice {

namespace {

bool useConfig(const std::string& conf, const std::string& text)
{
    std::ofstream file(conf);
    file << text;
    file.close();
    // The environment's driver list outranks the file's (CI sets "null").
    const bool set = ::setenv("ALSOFT_CONF", conf.c_str(), 1) == 0 && ::setenv("ALSOFT_DRIVERS", "wave", 1) == 0;
    return file.good() && set;
}

int16_t sampleAt(const WaveSound& output, size_t frame, int channel)
{
    const size_t at = frame * 4 + size_t(channel) * 2;
    return int16_t(output.samples[at] | output.samples[at + 1] << 8);
}

// Dither and rounding leave a few units of noise; sounds in the tests are
// thousands of units loud.
constexpr int kSilence = 100;

}  // namespace

TestFolder::TestFolder()
    : path((std::filesystem::temp_directory_path() / ("quorvane_al_" + std::to_string(::getpid()))).string())
{
    std::filesystem::create_directories(path);
}

TestFolder::~TestFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::string TestFolder::file(const std::string& name) const { return path + "/" + name; }

std::string configureWaveOutput(const TestFolder& folder)
{
    const std::string out = folder.file("output.wav");
    useConfig(folder.file("alsoft.conf"), "[general]\ndrivers=wave\nsample-type=int16\nchannels=stereo\n"
                                          "frequency=44100\n[wave]\nfile=" + out + "\n");
    return out;
}

bool configureNoDevice(const TestFolder& folder)
{
    // The wave backend with no file to write refuses to open.
    return useConfig(folder.file("alsoft.conf"), "[general]\ndrivers=wave\n");
}

WaveSound readOutput(const std::string& path)
{
    WaveSound output;
    std::string error;
    if (!loadWaveFile(path, output, &error))
        throw std::runtime_error("device output unreadable: " + error);
    if (output.channels != 2 || output.bitsPerSample != 16)
        throw std::runtime_error("device output is not 16-bit stereo");
    return output;
}

long loudFrames(const WaveSound& output, int channel)
{
    long count = 0;
    const size_t frames = output.samples.size() / 4;
    for (size_t f = 0; f < frames; ++f) {
        for (int c = 0; c < 2; ++c) {
            if ((channel < 0 || channel == c) && std::abs(sampleAt(output, f, c)) > kSilence) {
                ++count;
                break;
            }
        }
    }
    return count;
}

int peak(const WaveSound& output, int channel)
{
    int highest = 0;
    const size_t frames = output.samples.size() / 4;
    for (size_t f = 0; f < frames; ++f)
        highest = std::max(highest, std::abs(int(sampleAt(output, f, channel))));
    return highest;
}

}  // namespace wavedevice
