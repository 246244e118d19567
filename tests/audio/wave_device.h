#pragma once
#include <string>

#include "wave.h"

// Points OpenAL Soft at its wave-file backend for this test process, so what
// the game plays ends up in a WAV file the test can read back. OpenAL reads
// its configuration once per process, at its first call: set this up before
// any device is opened.
namespace wavedevice {

// Configures the backend to write into a file in a fresh folder of its own;
// returns that file's path.
std::string configureWaveOutput();
// Configures the backend so that opening the device fails.
void configureNoDevice();

// The device's output so far, as 16-bit stereo; read after the device closed.
WaveSound readOutput(const std::string& path);

// Frames of the output whose left or right sample stands out from silence.
long loudFrames(const WaveSound& output, int channel = -1);
int peak(const WaveSound& output, int channel);

}  // namespace wavedevice
