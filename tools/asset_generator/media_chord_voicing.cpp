// Voicings are found by trying every set of three chord tones in the register:
// there are only a few dozen, and the search keeps the rules plain.
#include "media_chord_voicing.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <stdexcept>

namespace {

constexpr int lowestBass = 34;    // B-flat 1
constexpr int lowestTone = 51;    // E-flat 3
constexpr int highestTone = 67;   // G 4
constexpr int widestGap = 9;      // between neighbouring tones of the voicing

int pitchClassOf(int key) { return key % 12; }

bool inChord(const ChordSymbol& chord, int pitchClass)
{
    return std::any_of(chord.intervals.begin(), chord.intervals.end(),
                       [&](int interval) { return (chord.root + interval) % 12 == pitchClass; });
}

// Lower is better; a voicing that lacks the third or a needed seventh is ruled out.
double voicingCost(const ChordSymbol& chord, const ChordVoicing& voicing, const ChordVoicing& previous)
{
    const int third = (chord.root + chord.intervals[1]) % 12;
    const bool hasSeventh = chord.intervals.size() > 3;
    const int seventh = hasSeventh ? (chord.root + chord.intervals[3]) % 12 : -1;
    bool thirdThere = false;
    bool seventhThere = false;
    int doubledBass = 0;
    int repeated = 0;
    for (std::size_t i = 0; i < voicing.size(); ++i) {
        const int pitchClass = pitchClassOf(voicing[i]);
        thirdThere |= pitchClass == third;
        seventhThere |= pitchClass == seventh;
        doubledBass += pitchClass == chord.bass ? 1 : 0;
        for (std::size_t j = 0; j < i; ++j)
            repeated += pitchClassOf(voicing[j]) == pitchClass ? 1 : 0;
    }
    if (!thirdThere || (hasSeventh && chord.bass != seventh && !seventhThere))
        return std::numeric_limits<double>::infinity();
    double movement = 0.0;
    for (std::size_t i = 0; i < voicing.size(); ++i)
        movement += std::abs(voicing[i] - previous[i]);
    return movement + 3.0 * doubledBass + 4.0 * repeated;
}

} // namespace

int bassKey(const ChordSymbol& chord)
{
    return lowestBass + (chord.bass - lowestBass % 12 + 12) % 12;
}

ChordVoicing voiceChord(const ChordSymbol& chord, const ChordVoicing& previous)
{
    ChordVoicing best{};
    double bestCost = std::numeric_limits<double>::infinity();
    for (int low = lowestTone; low <= highestTone; ++low) {
        if (!inChord(chord, pitchClassOf(low)))
            continue;
        for (int middle = low + 1; middle <= std::min(highestTone, low + widestGap); ++middle) {
            if (!inChord(chord, pitchClassOf(middle)))
                continue;
            for (int high = middle + 1; high <= std::min(highestTone, middle + widestGap); ++high) {
                if (!inChord(chord, pitchClassOf(high)))
                    continue;
                const ChordVoicing voicing{low, middle, high};
                const double cost = voicingCost(chord, voicing, previous);
                if (cost < bestCost) {
                    bestCost = cost;
                    best = voicing;
                }
            }
        }
    }
    if (bestCost == std::numeric_limits<double>::infinity())
        throw std::runtime_error("no left-hand voicing for a chord of the score");
    return best;
}
