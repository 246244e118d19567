#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "wave.h"
#include "wave_bytes.h"

using namespace wavebytes;

namespace {

ByteView viewOf(const Bytes& bytes) { return bytes; }

// The walk's result as offsets into the file, for compact expectations.
struct Found {
    bool ok;
    long formatAt, formatSize, samplesAt, samplesSize;
};

Found walk(const Bytes& file)
{
    WaveChunks chunks;
    const bool ok = parseWave(viewOf(file), chunks);
    auto at = [&](ByteView v) { return v.data() ? long(v.data() - file.data()) : -1L; };
    return {ok, at(chunks.format), long(chunks.format.size()), at(chunks.samples),
            long(chunks.samples.size())};
}

const Bytes kFormat = pcmFormat(1, 22050, 16);

// The 40-byte extensible fmt body for 16-bit mono, with the given sub-format
// tag in its GUID.
Bytes extensibleFormat(uint16_t subFormat)
{
    Bytes body = formatBody(0xFFFE, 1, 22050, 16, 2);
    putLe16(body, 22);
    putLe16(body, 16);
    putLe32(body, 4);
    putLe16(body, subFormat);
    body.insert(body.end(), {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71});
    return body;
}
const Bytes kSamples{1, 2, 3, 4};

}  // namespace

TEST(ParseWave, FindsFormatAndSamplesInEitherOrder)
{
    const Found plain = walk(riff({chunk("fmt ", kFormat), chunk("data", kSamples)}));
    EXPECT_TRUE(plain.ok);
    EXPECT_EQ(plain.formatAt, 20);
    EXPECT_EQ(plain.formatSize, 16);
    EXPECT_EQ(plain.samplesAt, 44);
    EXPECT_EQ(plain.samplesSize, 4);

    const Found reversed = walk(riff({chunk("data", kSamples), chunk("fmt ", kFormat)}));
    EXPECT_TRUE(reversed.ok);
    EXPECT_EQ(reversed.samplesAt, 20);
    EXPECT_EQ(reversed.formatAt, 32);
}

TEST(ParseWave, SkipsOtherChunksAndThePadByteAfterAnOddOne)
{
    // If the pad byte were not skipped, the fmt header would be read one byte
    // early and the walk would find nothing.
    const Found found = walk(riff({chunk("LIST", {'a', 'b', 'c'}), chunk("fmt ", kFormat),
                                   chunk("junk", {}), chunk("data", {9, 9, 9})}));
    EXPECT_TRUE(found.ok);
    EXPECT_EQ(found.formatAt, 12 + 12 + 8);
    EXPECT_EQ(found.samplesSize, 3);
}

TEST(ParseWave, TheFirstFormatAndSamplesCount)
{
    const Bytes otherFormat = pcmFormat(2, 44100, 8);
    const Bytes file = riff({chunk("fmt ", kFormat), chunk("fmt ", otherFormat), chunk("data", kSamples),
                             chunk("data", {7, 7})});
    const Found found = walk(file);
    EXPECT_TRUE(found.ok);
    EXPECT_EQ(found.formatAt, 20);
    EXPECT_EQ(found.samplesSize, 4);

    WaveSound sound;
    ASSERT_TRUE(decodeWave(viewOf(file), sound));
    EXPECT_EQ(sound.sampleRate, 22050u);
    EXPECT_EQ(sound.samples, kSamples);
}

TEST(ParseWave, ChunksPastTheRiffSizeAreNotLookedAt)
{
    const Bytes fmt = chunk("fmt ", kFormat);
    EXPECT_FALSE(walk(riffWithSize(4 + uint32_t(fmt.size()), {fmt, chunk("data", kSamples)})).ok);
    // Trailing bytes after a correct RIFF size change nothing.
    Bytes withTail = riff({fmt, chunk("data", kSamples)});
    withTail.insert(withTail.end(), {'d', 'a', 't', 'a', 1, 0, 0, 0});
    EXPECT_TRUE(walk(withTail).ok);
}

TEST(ParseWave, RefusesWhatIsNotRiffWave)
{
    Bytes notRiff = riff({chunk("fmt ", kFormat), chunk("data", kSamples)});
    notRiff[0] = 'X';
    Bytes notWave = riff({chunk("fmt ", kFormat), chunk("data", kSamples)});
    notWave[11] = 'X';
    EXPECT_FALSE(walk(notRiff).ok);
    EXPECT_FALSE(walk(notWave).ok);
    EXPECT_FALSE(walk({}).ok);
    EXPECT_FALSE(walk({'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V'}).ok);
    EXPECT_FALSE(walk(riff({})).ok);
    EXPECT_FALSE(walk(riff({chunk("fmt ", kFormat)})).ok);
    EXPECT_FALSE(walk(riff({chunk("data", kSamples)})).ok);

    WaveChunks chunks;
    EXPECT_FALSE(parseWave(ByteView{}, chunks));
}

// Each file below lives in a vector of exactly its size, so a read past its
// end is caught by the address sanitizer run.
TEST(ParseWave, SizesRunningPastTheFileEndTheWalk)
{
    const Bytes fmt = chunk("fmt ", kFormat);
    // A data chunk claiming more bytes than the file holds.
    EXPECT_FALSE(walk(riff({fmt, chunkWithLength("data", 1000, kSamples)})).ok);
    // The largest length, and one that would bring a 32-bit position back to
    // where it started.
    EXPECT_FALSE(walk(riffWithSize(0xFFFFFFFF, {chunkWithLength("LIST", 0xFFFFFFFF, {})})).ok);
    EXPECT_FALSE(walk(riffWithSize(0xFFFFFFFF, {chunkWithLength("LIST", 0xFFFFFFF8, {}), fmt})).ok);
    // A file cut off inside a chunk header.
    Bytes cut = riffWithSize(0xFFFFFFFF, {fmt});
    cut.insert(cut.end(), {'d', 'a', 't'});
    EXPECT_FALSE(walk(cut).ok);
    // A RIFF size larger than the file: what the file holds still counts.
    EXPECT_TRUE(walk(riffWithSize(0xFFFFFFF0, {fmt, chunk("data", kSamples)})).ok);
    // The last odd chunk may miss its pad byte.
    Bytes unpadded = riffWithSize(0xFFFFFFFF, {fmt, chunk("data", {1, 2, 3})});
    unpadded.pop_back();
    EXPECT_TRUE(walk(unpadded).ok);
}

TEST(DecodeWave, AcceptsPcmEightAndSixteenBitMonoAndStereo)
{
    WaveSound mono8;
    ASSERT_TRUE(decodeWave(viewOf(riff({chunk("fmt ", pcmFormat(1, 11025, 8)), chunk("data", {128, 255, 0})})),
                           mono8));
    EXPECT_EQ(mono8.channels, 1);
    EXPECT_EQ(mono8.bitsPerSample, 8);
    EXPECT_EQ(mono8.sampleRate, 11025u);
    EXPECT_EQ(mono8.samples, (Bytes{128, 255, 0}));

    // A partial last frame is dropped: the device takes whole frames only.
    WaveSound stereo16;
    ASSERT_TRUE(decodeWave(viewOf(riff({chunk("fmt ", pcmFormat(2, 44100, 16)),
                                        chunk("data", {1, 2, 3, 4, 5, 6, 7})})),
                           stereo16));
    EXPECT_EQ(stereo16.channels, 2);
    EXPECT_EQ(stereo16.samples.size(), 4u);
    EXPECT_DOUBLE_EQ(stereo16.seconds(), 1.0 / 44100);

    WaveSound extensible;
    ASSERT_TRUE(decodeWave(viewOf(riff({chunk("fmt ", extensibleFormat(1)), chunk("data", kSamples)})), extensible));
    EXPECT_EQ(extensible.samples, kSamples);
}

TEST(DecodeWave, RefusesFormatsItCannotPlayAndLeavesTheSoundAsItWas)
{
    struct Case {
        const char* what;
        Bytes format;
        Bytes samples;
    };
    const Bytes shortFormat(kFormat.begin(), kFormat.begin() + 14);
    const Case cases[] = {
        {"fmt under 16 bytes", shortFormat, kSamples},
        {"zero channels", formatBody(1, 0, 22050, 16, 2), kSamples},
        {"zero bits", formatBody(1, 1, 22050, 0, 2), kSamples},
        {"zero block align", formatBody(1, 1, 22050, 16, 0), kSamples},
        {"zero sample rate", formatBody(1, 1, 0, 16, 2), kSamples},
        {"block align not the frame size", formatBody(1, 2, 22050, 16, 2), kSamples},
        {"three channels", pcmFormat(3, 22050, 16), Bytes(6, 0)},
        {"24-bit", pcmFormat(1, 22050, 24), Bytes(6, 0)},
        {"ADPCM", formatBody(2, 1, 22050, 4, 256), kSamples},
        {"float", formatBody(3, 1, 22050, 32, 4), kSamples},
        {"extensible without its extension", formatBody(0xFFFE, 1, 22050, 16, 2), kSamples},
        {"extensible float", extensibleFormat(3), kSamples},
        {"no samples", kFormat, {}},
        {"less than a frame", kFormat, {1}},
        {"absurd sample rate", formatBody(1, 1, 0xFFFFFFFF, 16, 2), kSamples},
    };
    for (const Case& c : cases) {
        WaveSound sound;
        sound.channels = 2;
        sound.samples = {42};
        std::string error;
        EXPECT_FALSE(decodeWave(viewOf(riff({chunk("fmt ", c.format), chunk("data", c.samples)})), sound, &error))
            << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
        EXPECT_EQ(sound.channels, 2) << c.what;
        EXPECT_EQ(sound.samples, Bytes{42}) << c.what;
    }
}

TEST(DecodeWave, AnEmptyDataChunkFirstLeavesTheSoundWithoutSamples)
{
    // The first data chunk counts even when it is empty; a later one does not
    // stand in for it.
    WaveSound sound;
    EXPECT_FALSE(decodeWave(viewOf(riff({chunk("data", {}), chunk("fmt ", kFormat), chunk("data", kSamples)})),
                            sound));
}

TEST(LoadWaveFile, ReadsRegularFilesAndRefusesEverythingElse)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("quorvane_wave_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string good = (dir / "good.wav").string();
    writeFile(good, pcmWave(1, 22050, kSamples));

    WaveSound sound;
    ASSERT_TRUE(loadWaveFile(good, sound));
    EXPECT_EQ(sound.samples, kSamples);

    std::string error;
    EXPECT_FALSE(loadWaveFile((dir / "missing.wav").string(), sound, &error));
    EXPECT_NE(error.find("missing.wav"), std::string::npos);
    EXPECT_FALSE(loadWaveFile(dir.string(), sound, &error));

    // A named pipe would block a plain open until a writer came.
    const std::string pipe = (dir / "pipe.wav").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(loadWaveFile(pipe, sound, &error));
    EXPECT_NE(error.find("tubería"), std::string::npos) << error;

    const std::string empty = (dir / "empty.wav").string();
    writeFile(empty, {});
    EXPECT_FALSE(loadWaveFile(empty, sound, &error));
    EXPECT_EQ(sound.samples, kSamples);

    // Larger than any sound of the game: refused unread, by name.
    const std::string huge = (dir / "enorme.wav").string();
    writeFile(huge, pcmWave(1, 22050, kSamples));
    std::filesystem::resize_file(huge, (size_t(16) << 20) + 1);
    EXPECT_FALSE(loadWaveFile(huge, sound, &error));
    EXPECT_NE(error.find("enorme.wav: es demasiado grande"), std::string::npos) << error;

    std::filesystem::remove_all(dir);
}
