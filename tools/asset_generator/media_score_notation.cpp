// The notation is read token by token; a malformed bar stops the generator with
// the bar's text, since a silently misread score would sound wrong unnoticed.
#include "media_score_notation.h"

#include <cctype>
#include <cmath>
#include <stdexcept>
#include <string>

namespace {

constexpr int trillNotesPerSixteenth = 3;

[[noreturn]] void malformed(std::string_view bar, std::string_view why)
{
    throw std::runtime_error("score bar \"" + std::string(bar) + "\": " + std::string(why));
}

// Pitch class of a letter with an optional flat or sharp at `at`; moves `at` past it.
int readPitchClass(std::string_view text, std::size_t& at, std::string_view bar)
{
    static constexpr int letters[7] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
    const char letter = at < text.size() ? static_cast<char>(std::tolower(text[at])) : '\0';
    if (letter < 'a' || letter > 'g')
        malformed(bar, "expected a note name");
    int pitchClass = letters[letter - 'a'];
    ++at;
    if (at < text.size() && text[at] == 'b') { --pitchClass; ++at; }
    else if (at < text.size() && text[at] == '#') { ++pitchClass; ++at; }
    return pitchClass;
}

// A note name with its octave, "eb5", as a MIDI key.
int readKey(std::string_view text, std::size_t& at, std::string_view bar)
{
    const int pitchClass = readPitchClass(text, at, bar);
    if (at >= text.size() || !std::isdigit(static_cast<unsigned char>(text[at])))
        malformed(bar, "a note needs its octave");
    const int octave = text[at++] - '0';
    return 12 * (octave + 1) + pitchClass;
}

double readLength(std::string_view text, std::string_view bar)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        malformed(bar, "expected a length in sixteenths");
    return std::stod(std::string(text));
}

// Splits "name:length"; a token without a length is a grace note.
std::pair<std::string_view, std::string_view> splitLength(std::string_view token)
{
    const std::size_t colon = token.rfind(':');
    if (colon == std::string_view::npos)
        return {token, {}};
    return {token.substr(0, colon), token.substr(colon + 1)};
}

std::vector<std::string_view> words(std::string_view text)
{
    std::vector<std::string_view> result;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t start = text.find_first_not_of(' ', at);
        if (start == std::string_view::npos)
            break;
        // A run's parentheses keep its notes in one token.
        std::size_t end = start;
        int depth = 0;
        while (end < text.size() && (depth > 0 || text[end] != ' ')) {
            depth += text[end] == '(' ? 1 : text[end] == ')' ? -1 : 0;
            ++end;
        }
        result.push_back(text.substr(start, end - start));
        at = end;
    }
    return result;
}

void addRun(std::vector<ScoreNote>& notes, std::string_view inside, double start, double length, std::string_view bar)
{
    std::vector<int> keys;
    for (const std::string_view name : words(inside)) {
        std::size_t at = 0;
        keys.push_back(readKey(name, at, bar));
        if (at != name.size())
            malformed(bar, "unexpected text in a run");
    }
    if (keys.empty())
        malformed(bar, "an empty run");
    const double step = length / static_cast<double>(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        notes.push_back({keys[i], start + step * static_cast<double>(i), step, NoteRole::Ornament});
}

void addTrill(std::vector<ScoreNote>& notes, int main, int upper, double start, double length)
{
    const int count = static_cast<int>(std::lround(length * trillNotesPerSixteenth));
    const double step = length / count;
    for (int i = 0; i < count; ++i)
        notes.push_back({i % 2 == 0 ? main : upper, start + step * i, step, i == 0 ? NoteRole::Melody : NoteRole::Ornament});
}

// "gb6+bb5", or "ab5~bb5" for a trill.
void addNotes(std::vector<ScoreNote>& notes, std::string_view name, double start, double length, std::string_view bar)
{
    std::size_t at = 0;
    const int first = readKey(name, at, bar);
    if (at < name.size() && name[at] == '~') {
        ++at;
        const int upper = readKey(name, at, bar);
        if (at != name.size())
            malformed(bar, "unexpected text after a trill");
        addTrill(notes, first, upper, start, length);
        return;
    }
    notes.push_back({first, start, length, NoteRole::Melody});
    while (at < name.size()) {
        if (name[at++] != '+')
            malformed(bar, "unexpected text after a note");
        notes.push_back({readKey(name, at, bar), start, length, NoteRole::Inner});
    }
}

} // namespace

std::vector<ScoreNote> parseMelodyBar(std::string_view text, int sixteenths)
{
    std::vector<ScoreNote> notes;
    double position = 0.0;
    for (const std::string_view token : words(text)) {
        const auto [name, lengthText] = splitLength(token);
        if (lengthText.empty() && !name.empty() && name.front() == '\'') {
            std::size_t at = 1;
            notes.push_back({readKey(name, at, text), position, 0.0, NoteRole::Grace});
            if (at != name.size())
                malformed(text, "unexpected text after a grace note");
            continue;
        }
        const double length = readLength(lengthText, text);
        if (name == "r")
            ;
        else if (name.size() > 2 && name.front() == '(' && name.back() == ')')
            addRun(notes, name.substr(1, name.size() - 2), position, length, text);
        else
            addNotes(notes, name, position, length, text);
        position += length;
    }
    if (position != sixteenths)
        malformed(text, "the lengths do not fill the bar");
    return notes;
}

std::vector<ChordSymbol> parseHarmonyBar(std::string_view text)
{
    struct Quality {
        std::string_view name;
        std::vector<int> intervals;
    };
    static const Quality qualities[] = {
        {"", {0, 4, 7}}, {"m", {0, 3, 7}}, {"7", {0, 4, 7, 10}}, {"m7", {0, 3, 7, 10}},
    };
    std::vector<ChordSymbol> chords;
    for (const std::string_view symbol : words(text)) {
        std::size_t at = 0;
        ChordSymbol chord;
        chord.root = (readPitchClass(symbol, at, text) + 12) % 12;
        const std::size_t slash = symbol.find('/', at);
        const std::string_view quality = symbol.substr(at, slash == std::string_view::npos ? symbol.npos : slash - at);
        for (const Quality& known : qualities)
            if (known.name == quality)
                chord.intervals = known.intervals;
        if (chord.intervals.empty())
            malformed(text, "unknown chord quality");
        chord.bass = chord.root;
        if (slash != std::string_view::npos) {
            at = slash + 1;
            chord.bass = (readPitchClass(symbol, at, text) + 12) % 12;
            if (at != symbol.size())
                malformed(text, "unexpected text after a bass note");
        }
        chords.push_back(chord);
    }
    if (chords.empty())
        malformed(text, "a bar without harmony");
    return chords;
}
