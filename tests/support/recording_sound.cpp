#include "recording_sound.h"

#include "game_state.h"

int RecordingSound::openVoice()
{
    if (noDevice)
        return -1;
    held.emplace_back();
    const int voice = static_cast<int>(held.size()) - 1;
    events.push_back({Op::Open, voice, {}});
    return voice;
}

void RecordingSound::closeVoice(int voice) { events.push_back({Op::Close, voice, {}}); }

bool RecordingSound::loadVoice(int voice, const std::string& file)
{
    events.push_back({Op::Load, voice, file});
    // As a device does: a failed load leaves the voice holding nothing.
    held.at(voice) = missing.count(file) ? std::string() : file;
    return !held.at(voice).empty();
}

int RecordingSound::playVoice(int voice, bool looping)
{
    // A voice holding nothing plays nothing, as on a device.
    if (held.at(voice).empty())
        return -1;
    events.push_back({looping ? Op::Loop : Op::Play, voice, held.at(voice)});
    return 0;
}

int RecordingSound::stopVoice(int voice)
{
    events.push_back({Op::Stop, voice, held.at(voice)});
    return 0;
}

bool RecordingSound::playBlocking(const std::string& file)
{
    events.push_back({Op::Blocking, -1, file});
    return !missing.count(file);
}

std::string channelName(const GameState& g, int voice)
{
    const std::pair<const SoundChannel*, const char*> channels[] = {
        {&g.channels.sonido, "sonido"},
        {&g.channels.SonidoDisparos, "SonidoDisparos"},
        {&g.channels.SonidoMonstruos, "SonidoMonstruos"},
        {&g.channels.SonidosExtras, "SonidosExtras"},
        {&g.channels.MusicaDeFondo, "MusicaDeFondo"},
        {&g.channels.SonidoPasos, "SonidoPasos"},
        {&g.channels.MusicaFinal, "MusicaFinal"},
        {&g.channels.SonidoFeedBackSeteo, "SonidoFeedBackSeteo"},
        {&g.channels.SonidoMuerteMonstruo, "SonidoMuerteMonstruo"},
        {&g.channels.SonidoBloqueando, "SonidoBloqueando"},
        {&g.channels.SonidoEscribeTuNombre, "SonidoEscribeTuNombre"},
        {&g.channels.SonidoIntroduccion1, "SonidoIntroduccion1"},
        {&g.channels.SonidoIntroduccion2, "SonidoIntroduccion2"},
    };
    for (const auto& [channel, name] : channels)
        if (channel->voice == voice)
            return name;
    return "voice" + std::to_string(voice);
}

std::vector<std::string> RecordingSound::plays(const GameState& game) const
{
    std::vector<std::string> out;
    for (const Event& e : events) {
        if (e.op == Op::Play)
            out.push_back(channelName(game, e.voice) + " once " + e.file);
        else if (e.op == Op::Loop)
            out.push_back(channelName(game, e.voice) + " loop " + e.file);
        else if (e.op == Op::Blocking)
            out.push_back("block " + e.file);
    }
    return out;
}

std::vector<std::string> RecordingSound::blocking() const
{
    std::vector<std::string> out;
    for (const Event& e : events)
        if (e.op == Op::Blocking)
            out.push_back(e.file);
    return out;
}
