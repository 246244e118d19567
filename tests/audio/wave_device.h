#pragma once
#include <string>

#include "wave.h"

// Points OpenAL Soft at its wave-file backend for this test process, so what
// the game plays ends up in a WAV file the test can read back. OpenAL reads
// its configuration once per process, at its first call: set this up before
// any device is opened.
namespace wavedevice {

// A folder of this process for the configuration, the device's output and
// the test sounds; removed with everything in it when the process ends.
struct TestFolder {
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    std::string file(const std::string& name) const;

    std::string path;
};

// Configures the backend to write into a file in the folder; returns that
// file's path.
std::string configureWaveOutput(const TestFolder& folder);
// Configures the backend so that opening the device fails; false when the
// configuration could not be written or put in the environment.
bool configureNoDevice(const TestFolder& folder);

// The device's output so far, as 16-bit stereo; read after the device closed.
WaveSound readOutput(const std::string& path);

// Frames of the output whose left or right sample stands out from silence.
long loudFrames(const WaveSound& output, int channel = -1);
int peak(const WaveSound& output, int channel);

}  // namespace wavedevice
