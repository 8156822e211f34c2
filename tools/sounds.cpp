#include "tools/sounds.h"

#include "tools/det_math.h"
#include "tools/random.h"

namespace Assets {

namespace {

// Scales the sound so its loudest sample reaches `peak` of full scale, and
// fades the last `fade` seconds out so it never ends on a click.
std::vector<int16_t> Finish(std::vector<double> wave, double peak, double fade) {
    const size_t fadeSamples = static_cast<size_t>(fade * kSampleRate);
    for (size_t i = 0; i < fadeSamples && i < wave.size(); ++i)
        wave[wave.size() - 1 - i] *= static_cast<double>(i) / fadeSamples;
    double loudest = 1e-9;
    for (double v : wave) loudest = dm::Max(loudest, dm::Abs(v));
    std::vector<int16_t> out;
    out.reserve(wave.size());
    for (double v : wave) out.push_back(static_cast<int16_t>(dm::Floor(v / loudest * peak * 32767.0 + 0.5)));
    return out;
}

// A short attack so no sound starts with a click.
double Attack(double t, double length) {
    return t < length ? t / length : 1.0;
}

}  // namespace

std::vector<int16_t> MakePickupSound() {
    // Two bell-like notes a fifth apart (E6 then B6), each with a few
    // partials, the second starting as the first dies away.
    const double length = 0.25;
    const size_t n = static_cast<size_t>(length * kSampleRate);
    std::vector<double> wave(n, 0.0);
    struct Note {
        double start, frequency, decay, level;
    };
    const Note notes[] = {{0.0, 1318.51, 0.07, 0.8}, {0.065, 1975.53, 0.09, 1.0}};
    const double partials[][2] = {{1.0, 1.0}, {2.0, 0.28}, {3.0, 0.1}, {4.16, 0.06}};
    for (const Note& note : notes) {
        for (size_t i = 0; i < n; ++i) {
            double t = static_cast<double>(i) / kSampleRate - note.start;
            if (t < 0) continue;
            double envelope = Attack(t, 0.005) * dm::Exp(-t / note.decay);
            double v = 0;
            for (const auto& p : partials) {
                // Higher partials fade faster, as on a struck bar.
                v += p[1] * dm::Exp(-t * (p[0] - 1) * 6.0) * dm::Sin(dm::kTwoPi * note.frequency * p[0] * t);
            }
            wave[i] += note.level * envelope * v;
        }
    }
    return Finish(wave, 0.7, 0.01);
}

std::vector<int16_t> MakeCrashSound() {
    // A burst of noise whose brightness falls away, a deep thump under it and
    // a few crackles of debris.
    const double length = 0.6;
    const size_t n = static_cast<size_t>(length * kSampleRate);
    std::vector<double> wave(n, 0.0);
    Random random(0xC8A54);
    double low = 0, lower = 0, phase = 0;
    for (size_t i = 0; i < n; ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        double white = random.Range(-1, 1);
        double cutoff = 300 + 5200 * dm::Exp(-t / 0.09);
        double a = 1 - dm::Exp(-dm::kTwoPi * cutoff / kSampleRate);
        low += a * (white - low);
        lower += a * (low - lower);  // two poles: a softer, rumbling noise
        double noise = lower * 2.2 * Attack(t, 0.002) * dm::Exp(-t / 0.17);
        double frequency = 38 + 80 * dm::Exp(-t / 0.08);
        phase += dm::kTwoPi * frequency / kSampleRate;
        double thump = 0.9 * dm::Sin(phase) * Attack(t, 0.004) * dm::Exp(-t / 0.14);
        double crackle = 0;
        if (t < 0.4 && random.Chance(0.004)) crackle = random.Range(-1, 1) * 0.9 * (1 - t / 0.4);
        double v = noise + thump + crackle;
        wave[i] = v / (1 + dm::Abs(v) * 0.6);  // a gentle saturation, as of an overdriven speaker
    }
    return Finish(wave, 0.85, 0.03);
}

}  // namespace Assets
