// The score is written bar by bar: chords for the left hand's broken figures, the
// right hand's melody, a dynamic level and how much time the bar's last beat
// takes. The performance adds what a pianist adds: a tempo that presses on in the
// middle of a phrase and yields at its end, dynamics that follow the line, a
// melody that sings over a softer accompaniment, and a pedal changed with each
// harmony just after its bass is struck.
#include "media_nocturne.h"
#include "media_chord_voicing.h"
#include "media_piano_render.h"
#include "media_random.h"
#include "media_score_notation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int eighthsPerBar = 12;
constexpr int sixteenthsPerBar = 24;
constexpr double eighthSeconds = 0.48;   // a dotted crotchet of about 42 to the minute
constexpr int phraseBars = 4;
constexpr double musicLevel = 0.106;   // RMS, -19.5 dBFS
constexpr float peakCeiling = 0.84f;   // -1.5 dBFS, under the decoded file's -1 dBFS with room for the encoder

// A left-hand figure: which voice sounds on each eighth of the bar. 0 is the bass,
// 1 the bass an octave up, 2 to 4 the voicing's tones from low to high. Where a
// new chord starts within the bar its eighth takes the bass instead.
using Figure = std::array<int, eighthsPerBar>;
constexpr Figure flowing{0, 2, 3, 4, 3, 2, 1, 2, 3, 4, 3, 2};
constexpr Figure widening{0, 2, 4, 3, 4, 2, 1, 3, 4, 2, 4, 3};
constexpr Figure restless{0, 3, 2, 4, 2, 3, 1, 3, 2, 4, 2, 3};
constexpr Figure rocking{0, 2, 4, 2, 3, 2, 1, 2, 4, 2, 3, 2};

struct Bar {
    const char* harmony;
    const char* melody;
    double level;    // 0.2 pianissimo .. 0.9 fortissimo, at the bar's start
    double breath;   // the bar's last beat is broadened by up to this share
    const Figure& figure;
};

// clang-format off
const Bar score[] = {
    // Opening: the left hand alone, then the melody's upbeat.
    {"Eb",            "r:18 bb4:2 eb5:2 f5:2",                                    0.32, 0.08, flowing},
    // The theme: a phrase that rises and halts on the dominant, and its answer.
    {"Eb",            "g5:10 f5:1 g5:1 ab5:2 bb5:10",                             0.40, 0.00, flowing},
    {"Cm Ab",         "c6:4 bb5:2 g5:6 ab5:3 g5:1 f5:2 eb5:6",                    0.46, 0.00, flowing},
    {"Fm/Ab Bb7",     "ab5:6 g5:2 f5:2 eb5:2 d5:4 eb5:2 f5:6",                    0.44, 0.00, flowing},
    {"Eb/G Bb",       "g5:6 f5:4 eb5:2 f5:12",                                    0.38, 0.15, flowing},
    {"Eb",            "g5:10 f5:1 g5:1 ab5:2 bb5:10",                             0.40, 0.00, flowing},
    {"Eb7/Db Ab",     "bb5:4 db6:8 c6:6 ab5:2 bb5:2 c6:2",                        0.50, 0.00, flowing},
    {"Fm7 Bb7",       "eb6:4 c6:2 ab5:4 f5:2 g5:4 f5:1 eb5:1 d5:4 f5:2",          0.54, 0.00, flowing},
    {"Eb",            "eb5:12 r:6 bb4:2 eb5:2 f5:2",                              0.40, 0.22, flowing},
    // The theme again, turned and trilled, with runs between its notes.
    {"Eb",            "g5:6 (ab5 g5 f#5 g5):2 f5:1 g5:1 ab5:1 a5:1 bb5:6 (d6 c6 bb5 ab5 g5 ab5):6", 0.42, 0.00, widening},
    {"Cm Ab",         "'d6 c6:4 bb5:2 g5:4 ab5:1 g5:1 ab5:3 g5:1 f5:2 eb5:4 d5:1 eb5:1",          0.48, 0.00, widening},
    {"Fm/Ab Bb7",     "ab5~bb5:6 g5:2 f5:2 eb5:2 d5:2 (eb5 f5 ab5 c6 d6):2 eb6:2 d6:1 c6:1 ab5:2 f5:2", 0.50, 0.00, widening},
    {"Eb/G Bb",       "g5:6 f5:4 eb5:2 f5~g5:10 e5:1 f5:1",                        0.42, 0.12, widening},
    {"Eb",            "g5:8 bb5:1 ab5:1 g5:1 f5:1 ab5:2 bb5:6 c6:1 bb5:1 ab5:1 bb5:1",             0.46, 0.00, widening},
    {"Eb7/Db Ab",     "bb5:4 db6:6 c6:1 db6:1 c6:4 (bb5 ab5 g5 f5 eb5 d5 eb5 f5 g5 ab5 bb5 db6):8", 0.58, 0.00, widening},
    {"Fm7 Bb7",       "eb6:4 c6:2 ab5:4 f5:2 g5:3 f5:1 eb5:1 d5:1 f5:2 ab5:1 g5:1 f5:2",          0.60, 0.00, widening},
    {"Eb G7",         "eb5:10 d5:1 eb5:1 f5:6 d5:3 b4:3",                         0.46, 0.28, widening},
    // The middle part: low and veiled in C minor, then rising through A-flat to a
    // climax in G-flat major.
    {"Cm",            "c5:8 d5:2 eb5:2 g5:6 f5:4 eb5:2",                          0.36, 0.00, restless},
    {"Ab G7",         "eb5:6 ab5:6 g5:4 f5:2 d5:6",                               0.40, 0.00, restless},
    {"Fm Db",         "ab5:8 g5:1 f5:1 eb5:2 f5:6 ab5:4 f5:2",                    0.44, 0.00, restless},
    {"Bbm/Db Eb7",    "db6:6 c6:2 bb5:4 g5:6 bb5:4 db6:2",                        0.50, 0.06, restless},
    {"Ab",            "c6:10 db6:1 c6:1 bb5:4 ab5:2 eb5:6",                       0.56, 0.00, restless},
    {"Bbm Db7",       "f5:6 bb5:6 ab5:4 f5:2 cb6:6",                              0.60, 0.06, restless},
    {"Gb",            "bb5:8 cb6:1 bb5:1 ab5:1 bb5:1 db6:6 eb6:2 f6:2 gb6:2",     0.66, 0.00, restless},
    {"Ebm Cb",        "gb6+bb5:8 f6:1 eb6:1 db6:2 eb6+gb5:6 db6:2 cb6:2 bb5:2",   0.74, 0.12, restless},
    {"Gb/Db Db7",     "bb5+bb4:4 db6:2 gb6+gb5:6 f6+f5:4 eb6:2 db6:2 cb6:4",      0.76, 0.14, restless},
    // The way back: C-flat turns into the augmented sixth that leads to the dominant.
    {"Gb Cb",         "bb5:8 ab5:2 gb5:2 gb5:4 f5:2 eb5:4 gb5:2",                 0.66, 0.00, restless},
    {"Cb7 Eb/Bb",     "gb5:4 eb5:2 a5:6 bb5:8 g5:2 eb5:2",                        0.58, 0.10, restless},
    {"Bb7",           "ab5:6 g5:2 f5:2 d5:2 eb5:2 d5:2 c5:2 bb4:6",               0.50, 0.30, restless},
    // Over the dominant the theme's first figure is remembered, fading.
    {"Bb7",           "f5:10 e5:1 f5:1 g5:2 ab5:10",                              0.36, 0.00, flowing},
    {"Eb/Bb Bb7",     "g5:8 f5:2 eb5:2 d5:6 f5:6",                                0.34, 0.00, flowing},
    {"Cm/Bb Bb7",     "c6:6 bb5:4 ab5:2 ab5:4 g5:2 f5:6",                         0.32, 0.00, flowing},
    {"Bb7",           "d5:12 r:6 bb4:2 eb5:2 f5:2",                               0.30, 0.50, flowing},
    // The theme's return, turning aside to C minor.
    {"Eb",            "g5:10 f5:1 g5:1 ab5:2 bb5:10",                             0.38, 0.00, flowing},
    {"Cm Ab",         "c6:4 bb5:2 g5:6 ab5:3 g5:1 f5:2 eb5:6",                    0.44, 0.00, flowing},
    {"Fm7 Bb7",       "eb6:4 c6:2 ab5:4 f5:2 g5:4 f5:1 eb5:1 d5:4 f5:2",          0.50, 0.00, flowing},
    {"Cm Cm Fm7 Bb7", "eb5:8 f5:1 g5:1 ab5:2 c6:4 ab5:2 g5:3 f5:1 d5:2",          0.42, 0.22, flowing},
    // Coda over the tonic, with the minor subdominant's shadow, dying away into
    // the opening bar's figure.
    {"Eb Ab/Eb",      "eb5:6 g5:6 c6:8 bb5:2 ab5:2",                              0.38, 0.00, rocking},
    {"Eb Abm/Eb",     "g5:12 cb6:6 bb5:4 ab5:2",                                  0.36, 0.00, rocking},
    {"Eb/Bb Bb7",     "g5:8 ab5:1 g5:1 f5:1 g5:1 f5:8 eb5:2 d5:2",                0.34, 0.15, rocking},
    {"Eb",            "eb5+bb4:12 r:12",                                          0.30, 0.25, rocking},
    {"Eb Ab/Eb",      "r:6 bb5:2 eb6:2 f6:2 g6:12",                               0.24, 0.30, rocking},
};
// clang-format on
constexpr int barCount = static_cast<int>(std::size(score));

// Seconds of every eighth of the piece. Phrases of four bars (after the opening
// bar) press on a little in their middle and yield towards their end; each bar's
// first eighth is leant on; a bar's breath broadens its last beat.
class TempoMap {
public:
    TempoMap()
    {
        double time = 0.0;
        for (int bar = 0; bar < barCount; ++bar) {
            for (int eighth = 0; eighth < eighthsPerBar; ++eighth) {
                starts.push_back(time);
                time += eighthSeconds * stretch(bar, eighth);
            }
        }
        starts.push_back(time);
    }

    double seconds() const { return starts.back(); }

    // The time of a point `sixteenths` into bar `bar`.
    double at(int bar, double sixteenths) const
    {
        const double eighths = bar * eighthsPerBar + sixteenths / 2.0;
        const std::size_t index = std::min(static_cast<std::size_t>(eighths), starts.size() - 2);
        return starts[index] + (eighths - index) * (starts[index + 1] - starts[index]);
    }

private:
    static double stretch(int bar, int eighth)
    {
        double factor = eighth == 0 ? 1.03 : 1.0;
        if (bar >= 1 && bar < barCount - 1) {
            const double position = ((bar - 1) % phraseBars * eighthsPerBar + eighth + 0.5) / (phraseBars * eighthsPerBar);
            factor *= 1.0 + 0.035 * std::cos(2.0 * std::numbers::pi * position);
        }
        const int lastBeat = eighthsPerBar - 3;
        if (eighth >= lastBeat) {
            const double ramp = (eighth - lastBeat + 1) / 3.0;
            factor *= 1.0 + score[bar].breath * ramp * ramp;
        }
        return factor;
    }

    std::vector<double> starts;
};

double levelAt(int bar, double sixteenths)
{
    const double share = sixteenths / sixteenthsPerBar;
    return score[bar].level * (1.0 - share) + score[(bar + 1) % barCount].level * share;
}

int velocityOf(double value, MediaRandom& random)
{
    return std::clamp(static_cast<int>(std::lround(value + random.range(-3.0, 3.0))), 1, 127);
}

bool sameChord(const ChordSymbol& a, const ChordSymbol& b)
{
    return a.root == b.root && a.bass == b.bass && a.intervals == b.intervals;
}

struct ChordSpan {
    ChordSymbol chord;
    int bar;
    int firstEighth;
    int eighths;
};

// The harmony as spans of one chord, a repeated symbol continuing its span.
std::vector<ChordSpan> chordSpans()
{
    std::vector<ChordSpan> spans;
    for (int bar = 0; bar < barCount; ++bar) {
        const std::vector<ChordSymbol> chords = parseHarmonyBar(score[bar].harmony);
        if (chords.size() != 1 && chords.size() != 2 && chords.size() != 4)
            throw std::runtime_error(std::string("score bar \"") + score[bar].harmony + "\": chords must share the bar in halves or beats");
        const int eighths = eighthsPerBar / static_cast<int>(chords.size());
        for (std::size_t i = 0; i < chords.size(); ++i) {
            if (i > 0 && sameChord(chords[i], chords[i - 1]))
                spans.back().eighths += eighths;
            else
                spans.push_back({chords[i], bar, static_cast<int>(i) * eighths, eighths});
        }
    }
    return spans;
}

// The left hand: each span's eighths of the bar's figure over the span's voicing;
// the bass is held through the span, the others a little past their eighth. The
// pedal goes down just after each bass is struck and comes up just after the next.
void playLeftHand(PianoPerformance& performance, const TempoMap& tempo, MediaRandom& random)
{
    const std::vector<ChordSpan> spans = chordSpans();
    ChordVoicing voicing{55, 58, 63};
    for (std::size_t s = 0; s < spans.size(); ++s) {
        const ChordSpan& span = spans[s];
        voicing = voiceChord(span.chord, voicing);
        const int bass = bassKey(span.chord);
        const std::array<int, 5> keys{bass, bass + 12, voicing[0], voicing[1], voicing[2]};
        const double spanStart = tempo.at(span.bar, 2.0 * span.firstEighth);
        const double spanEnd = tempo.at(span.bar, 2.0 * (span.firstEighth + span.eighths));
        for (int e = span.firstEighth; e < span.firstEighth + span.eighths; ++e) {
            const int voice = e == span.firstEighth ? 0 : score[span.bar].figure[static_cast<std::size_t>(e)];
            const double level = levelAt(span.bar, 2.0 * e);
            const double velocity = 28.0 + 36.0 * level + (voice == 0 ? 8.0 : 0.0) + (voice == 4 ? 2.0 : 0.0) + (e == 0 ? 3.0 : 0.0);
            PianoNote note;
            note.key = keys[static_cast<std::size_t>(voice)];
            note.velocity = velocityOf(velocity, random);
            note.start = tempo.at(span.bar, 2.0 * e) + random.range(0.0, 0.006);
            note.end = voice == 0 ? spanEnd : tempo.at(span.bar, 2.0 * e + 2.4);
            performance.notes.push_back(note);
        }
        const double nextStart = s + 1 < spans.size() ? tempo.at(spans[s + 1].bar, 2.0 * spans[s + 1].firstEighth)
                                                      : tempo.seconds();
        performance.pedal.push_back({spanStart + 0.11, nextStart + 0.035});
    }
}

// The melody sings over the accompaniment: louder, a little louder still as it
// climbs and on the bar's main beats; ornaments lighter, the inner voice softer.
void playMelody(PianoPerformance& performance, const TempoMap& tempo, MediaRandom& random)
{
    for (int bar = 0; bar < barCount; ++bar) {
        for (const ScoreNote& written : parseMelodyBar(score[bar].melody, sixteenthsPerBar)) {
            const double level = levelAt(bar, written.start);
            double velocity = 46.0 + 50.0 * level + std::clamp(0.7 * (written.key - 77), -6.0, 8.0);
            if (written.start == 0.0)
                velocity += 5.0;
            else if (written.start == sixteenthsPerBar / 2)
                velocity += 3.0;
            const double share = written.role == NoteRole::Inner      ? 0.75
                                 : written.role == NoteRole::Ornament ? 0.82
                                 : written.role == NoteRole::Grace    ? 0.7
                                                                      : 1.0;
            PianoNote note;
            note.key = written.key;
            note.velocity = velocityOf(velocity * share, random);
            note.pedalled = written.role != NoteRole::Ornament && written.role != NoteRole::Grace;
            const double onset = tempo.at(bar, written.start);
            if (written.role == NoteRole::Grace) {
                note.start = onset - 0.07;
                note.end = onset + 0.02;
            } else {
                note.start = onset + random.range(0.0, 0.008);
                note.end = tempo.at(bar, written.start + written.length) + 0.05;
            }
            performance.notes.push_back(note);
        }
    }
}

} // namespace

StereoLoop composeNocturne()
{
    const TempoMap tempo;
    PianoPerformance performance;
    performance.seconds = tempo.seconds();
    MediaRandom random(0x6E6F6374ull);
    playLeftHand(performance, tempo, random);
    playMelody(performance, tempo, random);
    StereoLoop loop = renderPianoLoop(performance);
    setLoopLevel(loop, musicLevel);
    limitLoopPeaks(loop, peakCeiling);
    return loop;
}
