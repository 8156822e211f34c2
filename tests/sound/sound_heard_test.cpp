// The game's two sounds as a player hears them: the real PlaySoundW plays the
// program's WAVE resources through Wine's PulseAudio driver to the test run's
// own audio server, whose null sink's monitor is the default recording
// device. The recording must hold each sound whole, after the event that
// plays it, while the game goes on moving.
#include "game/game_fixture.h"

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

using namespace GameTest;
using namespace Meteorni;

namespace {

// One of the program's sounds: its format and its samples (mono, 16-bit).
struct Sound {
    WAVEFORMATEX format{};
    std::vector<int16_t> samples;
};

// Reads a WAVE resource of this program, as PlaySoundW finds it, through
// the multimedia file reader.
Sound ResourceSound(int32_t id) {
    Sound sound;
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), L"WAVE");
    if (!found) return sound;
    void* data = LockResource(LoadResource(nullptr, found));
    MMIOINFO memory{};
    memory.fccIOProc = FOURCC_MEM;
    memory.pchBuffer = static_cast<HPSTR>(data);
    memory.cchBuffer = static_cast<LONG>(SizeofResource(nullptr, found));
    HMMIO file = mmioOpenW(nullptr, &memory, MMIO_READ);
    if (!file) return sound;
    MMCKINFO riff{}, chunk{};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    if (mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF) == MMSYSERR_NOERROR) {
        chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
        if (mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) == MMSYSERR_NOERROR) {
            mmioRead(file, reinterpret_cast<HPSTR>(&sound.format),
                     static_cast<LONG>(std::min<DWORD>(chunk.cksize, sizeof(PCMWAVEFORMAT))));
            mmioAscend(file, &chunk, 0);
        }
        chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
        if (mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) == MMSYSERR_NOERROR) {
            sound.samples.resize(chunk.cksize / 2);
            mmioRead(file, reinterpret_cast<HPSTR>(sound.samples.data()), static_cast<LONG>(chunk.cksize & ~1u));
        }
    }
    mmioClose(file, 0);
    return sound;
}

// The best normalised cross-correlation of a sound against a stretch of a
// recording, over every place where the whole sound fits; 1 is the same
// wave at any loudness, 0 no likeness (and silence).
struct Match {
    double score = 0;
    size_t at = 0;
};
Match FindWhole(const std::vector<int16_t>& wanted, const std::vector<int16_t>& recording, size_t from, size_t to) {
    Match best;
    to = std::min(to, recording.size());
    if (wanted.empty() || to < from + wanted.size()) return best;
    double wantedEnergy = 0;
    for (int16_t s : wanted) wantedEnergy += static_cast<double>(s) * s;
    // The recording's energy under the sound, slid along one sample a step.
    double energy = 0;
    for (size_t i = 0; i < wanted.size(); ++i) energy += static_cast<double>(recording[from + i]) * recording[from + i];
    for (size_t at = from;; ++at) {
        double product = 0;
        for (size_t i = 0; i < wanted.size(); ++i) product += static_cast<double>(wanted[i]) * recording[at + i];
        if (energy > 0) {
            double score = product / std::sqrt(wantedEnergy * energy);
            if (score > best.score) best = Match{score, at};
        }
        if (at + wanted.size() >= to) break;
        double leaving = recording[at], entering = recording[at + wanted.size()];
        energy = std::max(0.0, energy - leaving * leaving + entering * entering);
    }
    return best;
}

// Records the default input in small blocks queued at once, so that the
// number of blocks filled tells how far the recording has come. It records at
// twice the sound's rate, the output's own rate here: a sound played there is
// resampled up, and its own samples come back on the even or on the odd
// samples of the recording, depending on where the output's rate conversion
// placed them. Either half at the sound's rate holds it as it was made.
class Recorder {
public:
    static constexpr DWORD kBlock = 512;

    Recorder(const WAVEFORMATEX& sound, double seconds) : rate(sound.nSamplesPerSec) {
        WAVEFORMATEX format = sound;
        format.nSamplesPerSec *= 2;
        format.nAvgBytesPerSec *= 2;
        size_t blocks = static_cast<size_t>(seconds * format.nSamplesPerSec / kBlock) + 1;
        samples.resize(blocks * kBlock);
        headers.resize(blocks);
        if (waveInOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
            device = nullptr;
            return;
        }
        for (size_t i = 0; i < blocks; ++i) {
            headers[i] = WAVEHDR{};
            headers[i].lpData = reinterpret_cast<LPSTR>(samples.data() + i * kBlock);
            headers[i].dwBufferLength = kBlock * sizeof(int16_t);
            waveInPrepareHeader(device, &headers[i], sizeof(WAVEHDR));
            waveInAddBuffer(device, &headers[i], sizeof(WAVEHDR));
        }
        started = waveInStart(device) == MMSYSERR_NOERROR;
    }
    ~Recorder() {
        if (!device) return;
        waveInReset(device);
        for (WAVEHDR& header : headers) waveInUnprepareHeader(device, &header, sizeof(WAVEHDR));
        waveInClose(device);
    }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    bool Recording() const { return device && started; }
    // How far the recording has come, in samples at the sound's rate.
    size_t Position() {
        while (filled < headers.size() && (headers[filled].dwFlags & WHDR_DONE)) ++filled;
        return filled * kBlock / 2;
    }
    size_t Capacity() const { return samples.size() / 2; }
    size_t Samples(double seconds) const { return static_cast<size_t>(seconds * rate); }

    // Where the first sound after a position begins (the output is exact
    // silence, zeros, when nothing plays), in what was recorded so far; or
    // nothing yet.
    std::optional<size_t> FirstSoundAfter(size_t from) {
        size_t end = Position() * 2;
        for (size_t i = std::max(from * 2, scanned); i < end; ++i)
            if (samples[i] != 0) return i / 2;
        scanned = std::max(end, scanned);
        return std::nullopt;
    }

    // The best match of a sound between two positions, in either half.
    Match Find(const std::vector<int16_t>& sound, size_t from, size_t to) const {
        Match best;
        for (size_t phase : {0u, 1u}) {
            std::vector<int16_t> half;
            for (size_t i = phase; i < samples.size(); i += 2) half.push_back(samples[i]);
            Match found = FindWhole(sound, half, from, to);
            if (found.score > best.score) best = found;
        }
        return best;
    }

private:
    DWORD rate;
    HWAVEIN device = nullptr;
    bool started = false;
    std::vector<int16_t> samples;
    std::vector<WAVEHDR> headers;
    size_t filled = 0;
    size_t scanned = 0;
};

// Where the recording stood at a tick of the game, and whether the tick moved
// the picture.
struct TickSeen {
    size_t position;
    bool pictureMoved;
};

class SoundHeard : public GameTestBase {
protected:
    void SetUp() override {
        GameTestBase::SetUp();
        Meteorni::SetSoundPlayer(nullptr);  // the real PlaySoundW
    }

    // One tick of the game as its 20 ms timer would give it; tells where the
    // recording stood and whether the window's picture of the rock's column
    // changed.
    TickSeen TickAndLook(Recorder& recorder, const RECT& column) {
        Sleep(20);
        Pump();
        HDC window = GetDC(game->hwnd);
        std::vector<uint32_t> before = Pixels(window, column);
        TickAfter(20);
        std::vector<uint32_t> after = Pixels(window, column);
        ReleaseDC(game->hwnd, window);
        return TickSeen{recorder.Position(), before != after};
    }

    // Ticks on until the recording holds the given number of samples.
    std::vector<TickSeen> TickUntil(Recorder& recorder, size_t position, const RECT& column) {
        std::vector<TickSeen> ticks;
        // A recording that stops growing ends the wait: the capacity is
        // checked by the caller.
        for (int i = 0; i < 2000 && recorder.Position() < position; ++i) ticks.push_back(TickAndLook(recorder, column));
        return ticks;
    }

    // Ticks on while a sound of the given length that begins after a position
    // is recorded, and a little beyond; or, when none begins, through three
    // seconds of silence. However late the sound starts on a busy machine,
    // the recording then holds all of it.
    std::vector<TickSeen> TickThroughSound(Recorder& recorder, size_t from, size_t length, const RECT& column) {
        std::vector<TickSeen> ticks;
        size_t until = from + recorder.Samples(3);
        bool begun = false;
        for (int i = 0; i < 2000 && recorder.Position() < until; ++i) {
            ticks.push_back(TickAndLook(recorder, column));
            std::optional<size_t> start = begun ? std::nullopt : recorder.FirstSoundAfter(from);
            if (start) {
                begun = true;
                until = *start + length + recorder.Samples(0.3);
            }
        }
        return ticks;
    }
};

// The ticks that ran, and moved the picture, while the first half of a sound
// was being recorded: a game that waits for its sound to end has none.
struct TicksDuring {
    int ran = 0;
    int moved = 0;
};
TicksDuring FirstHalf(const std::vector<TickSeen>& ticks, const Match& sound, size_t length) {
    TicksDuring during;
    for (const auto& tick : ticks)
        if (tick.position > sound.at && tick.position <= sound.at + length / 2) {
            ++during.ran;
            if (tick.pictureMoved) ++during.moved;
        }
    return during;
}

// What was found, for the log.
void Report(const char* what, const Match& found, size_t calledAt, const TicksDuring& ticks) {
    if (found.score <= 0) {
        std::printf("%s: not in the recording\n", what);
        return;
    }
    std::printf(
        "%s: correlation %.4f, %lld samples after its call; %d ticks, %d moving the picture, in its first half\n", what,
        found.score, static_cast<long long>(found.at) - static_cast<long long>(calledAt), ticks.ran, ticks.moved);
}

}  // namespace

TEST_F(SoundHeard, TheDiamondAndTheHitSoundWholeWhileTheGameMovesOn) {
    // The resource ids the player's ears go by: 1006 is the diamond's sound,
    // 1007 the hit's.
    Sound diamond = ResourceSound(1006);
    Sound crash = ResourceSound(1007);
    ASSERT_FALSE(diamond.samples.empty()) << "no WAVE resource 1006 in the program";
    ASSERT_FALSE(crash.samples.empty()) << "no WAVE resource 1007 in the program";
    ASSERT_EQ(diamond.format.wFormatTag, WAVE_FORMAT_PCM);
    ASSERT_EQ(diamond.format.nChannels, 1);
    ASSERT_EQ(diamond.format.wBitsPerSample, 16);
    ASSERT_EQ(std::memcmp(&diamond.format, &crash.format, sizeof(PCMWAVEFORMAT)), 0) << "the two sounds' formats";

    Recorder recorder(diamond.format, 20);
    ASSERT_TRUE(recorder.Recording())
        << "cannot record the sound output: the test run's PulseAudio server (started by scripts/test) does not "
           "answer, or Wine's PulseAudio driver is turned off";

    StartGame();
    // One rock falls a step every tick, far from the ship and the diamond; the
    // others stay where they are.
    for (size_t i = 0; i < game->movers.size(); ++i) game->movers[i]->interval = i == 0 ? 20 : 1000000;
    SpriteMeteorni* rock = game->rocks[0].get();
    rock->x = 40;
    rock->y = 20;
    rock->speed = 2;
    const RECT column{rock->x, 0, rock->x + rock->width, 600};
    // The last diamond just left of the ship, the others gone.
    for (auto& other : game->diamonds) other->onScreen = other == game->diamonds.back();
    Place(*game->diamonds.back(), game->ship->x - 20, game->ship->y + 9);
    TickUntil(recorder, recorder.Position() + recorder.Samples(0.3), column);  // a silent start

    const size_t diamondAt = recorder.Position();
    KeyDown(VK_LEFT);
    TickAfter(20);
    KeyUp(VK_LEFT);
    ASSERT_FALSE(game->diamonds.back()->onScreen) << "the ship did not take the diamond";
    std::vector<TickSeen> afterDiamond = TickThroughSound(recorder, diamondAt, diamond.samples.size(), column);

    const size_t hitAt = recorder.Position();
    AimRockAtShip(0);
    TickAfter(20);
    ASSERT_EQ(game->state, Interlude) << "the rock did not hit the ship";
    std::vector<TickSeen> afterHit = TickThroughSound(recorder, hitAt, crash.samples.size(), column);
    const size_t end = recorder.Position();
    ASSERT_LT(end, recorder.Capacity()) << "the recording ran out of room";
    ASSERT_GE(end, hitAt + crash.samples.size()) << "the recording stopped";

    Match diamondHeard = recorder.Find(diamond.samples, diamondAt, hitAt);
    Match crashHeard = recorder.Find(crash.samples, hitAt, end);
    TicksDuring diamondTicks = FirstHalf(afterDiamond, diamondHeard, diamond.samples.size());
    TicksDuring crashTicks = FirstHalf(afterHit, crashHeard, crash.samples.size());
    Report("the diamond's sound (1006)", diamondHeard, diamondAt, diamondTicks);
    Report("the hit's sound (1007)", crashHeard, hitAt, crashTicks);
    EXPECT_GE(diamondHeard.score, 0.9) << "the diamond's sound is not heard whole after the diamond is taken";
    EXPECT_GE(crashHeard.score, 0.9) << "the hit's sound is not heard whole after the rock hits the ship";
    if (HasFailure()) return;  // where a sound was not found, nothing is known of when it played
    EXPECT_GT(diamondTicks.moved, 0) << "the rock did not move while the diamond's sound was playing";
    EXPECT_GT(crashTicks.ran, 0) << "the game did not tick while the hit's sound was playing";
}
