// The last bar (B-flat seventh) leads back into the first (E-flat), and every
// event sits a quarter second after its beat, so the loop point falls between
// notes, inside the ringing of the last chord.
#include "media_nocturne.h"
#include "media_loop_reverb.h"
#include "media_piano_voice.h"
#include "media_random.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

constexpr double eighth = 0.5;       // seconds; a 12/8 bar lasts six seconds
constexpr int eighthsPerBar = 12;
constexpr double offset = 0.25;      // keeps the loop point clear of onsets

struct Chord {
    int bass;                   // MIDI key of the bass note
    std::array<int, 3> tones;   // middle-register chord tones
    std::array<int, 7> scale;   // pitch classes for the melody over this chord
};

constexpr std::array<int, 7> majorScale{3, 5, 7, 8, 10, 0, 2};           // E-flat major
constexpr std::array<int, 7> withDFlat{3, 5, 7, 8, 10, 0, 1};
constexpr std::array<int, 7> withA{3, 5, 7, 9, 10, 0, 2};
constexpr std::array<int, 7> withCFlat{3, 5, 7, 8, 10, 11, 2};

const std::array<Chord, 16> progression{{
    {39, {55, 58, 63}, majorScale},  // E-flat
    {44, {56, 60, 63}, majorScale},  // A-flat
    {46, {53, 56, 62}, majorScale},  // B-flat seventh
    {39, {55, 58, 63}, majorScale},  // E-flat
    {36, {55, 60, 63}, majorScale},  // C minor
    {44, {56, 60, 63}, majorScale},  // A-flat
    {41, {57, 60, 63}, withA},       // F seventh
    {46, {53, 56, 62}, majorScale},  // B-flat seventh
    {39, {55, 58, 63}, majorScale},  // E-flat
    {39, {55, 61, 63}, withDFlat},   // E-flat seventh
    {44, {56, 60, 63}, majorScale},  // A-flat
    {44, {56, 59, 63}, withCFlat},   // A-flat minor
    {46, {55, 58, 63}, majorScale},  // E-flat over B-flat
    {46, {53, 56, 62}, majorScale},  // B-flat seventh
    {39, {55, 58, 63}, majorScale},  // E-flat
    {46, {53, 56, 62}, majorScale},  // B-flat seventh
}};

// Melody rhythms, in eighths, each filling one bar.
const std::vector<std::vector<int>> rhythms{
    {3, 3, 3, 3}, {6, 2, 1, 3}, {4, 2, 3, 3}, {3, 2, 1, 6}, {2, 1, 3, 2, 1, 3}, {9, 3}, {6, 6},
};

double eighthTime(int bar, int position)
{
    return offset + (bar * eighthsPerBar + position) * eighth;
}

// Broken chord: bass, up through the chord, the bass's octave, up again.
void addLeftHand(std::vector<PianoNote>& notes, int bar, const Chord& chord)
{
    const std::array<int, 5> keys{chord.bass, chord.bass + 12, chord.tones[0], chord.tones[1], chord.tones[2]};
    const std::array<int, eighthsPerBar> pattern{0, 2, 3, 4, 3, 2, 1, 2, 3, 4, 3, 2};
    const double pedalChange = eighthTime(bar + 1, 0) - 0.05;
    for (int position = 0; position < eighthsPerBar; ++position) {
        PianoNote note;
        note.key = keys[pattern[position]];
        note.start = eighthTime(bar, position);
        note.damped = pedalChange - note.start;
        note.velocity = position == 0 ? 0.5f : (position == 6 ? 0.34f : 0.26f);
        notes.push_back(note);
    }
}

bool inScale(int key, const std::array<int, 7>& scale)
{
    return std::find(scale.begin(), scale.end(), key % 12) != scale.end();
}

bool inChord(int key, const Chord& chord)
{
    const int pc = key % 12;
    return pc == chord.bass % 12 || std::any_of(chord.tones.begin(), chord.tones.end(),
                                                [pc](int tone) { return tone % 12 == pc; });
}

// The next melody key: a small step in the bar's scale, landing on a chord tone on the beats.
int nextMelodyKey(int current, const Chord& chord, bool onBeat, MediaRandom& random)
{
    const int steps = static_cast<int>(std::floor(random.range(-2.0, 3.0)));
    int key = current;
    const int direction = steps < 0 ? -1 : 1;
    for (int taken = 0; taken < std::abs(steps);) {
        key += direction;
        if (inScale(key, chord.scale))
            ++taken;
    }
    key = std::clamp(key, 67, 84);
    if (onBeat) {
        // Nearest chord tone, searching outwards from the step's result.
        for (int distance = 0; distance < 6; ++distance) {
            if (inChord(key + distance, chord)) { key += distance; break; }
            if (inChord(key - distance, chord)) { key -= distance; break; }
        }
    }
    while (!inScale(key, chord.scale))
        ++key;
    return key;
}

void addMelody(std::vector<PianoNote>& notes, MediaRandom& random)
{
    int key = 79;  // G5
    for (int bar = 0; bar < static_cast<int>(progression.size()); ++bar) {
        const Chord& chord = progression[static_cast<std::size_t>(bar)];
        const std::vector<int>& rhythm = rhythms[static_cast<std::size_t>(random.uniform() * rhythms.size())];
        int position = 0;
        for (const int length : rhythm) {
            key = nextMelodyKey(key, chord, position % 3 == 0, random);
            PianoNote note;
            note.key = key;
            note.start = eighthTime(bar, position) + 0.02 * random.uniform();
            note.damped = length * eighth + 0.15;
            note.velocity = static_cast<float>((position == 0 ? 0.62 : 0.5) + 0.08 * random.uniform());
            notes.push_back(note);
            position += length;
        }
    }
}

} // namespace

StereoLoop composeNocturne()
{
    const double seconds = static_cast<double>(progression.size()) * eighthsPerBar * eighth;
    StereoLoop loop(static_cast<std::size_t>(seconds * audioSampleRate));

    std::vector<PianoNote> notes;
    for (int bar = 0; bar < static_cast<int>(progression.size()); ++bar)
        addLeftHand(notes, bar, progression[static_cast<std::size_t>(bar)]);
    MediaRandom random(0x6E6F6374ull);
    addMelody(notes, random);

    for (std::size_t i = 0; i < notes.size(); ++i)
        addPianoNote(loop, notes[i], 0x48414D4D00ull + i);
    addLoopReverb(loop, 0.35f);
    normaliseLoop(loop, 0.85f);
    return loop;
}
