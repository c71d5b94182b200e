// FluidSynth is driven as a library with no audio driver: the performance becomes
// a time-ordered list of MIDI events and the synthesiser is run from one to the
// next, its output added into the loop. The SoundFont's samples are decoded only
// for the piano, which keeps loading to a second or two.
#include "media_piano_render.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <utility>
#include <stdexcept>
#include <string>

namespace {

// The file the musescore-general-soundfont-small package installs.
constexpr const char* soundFontPath = "/usr/share/sounds/sf3/MuseScore_General_Lite.sf3";
constexpr int sustainController = 64;
constexpr double ringSeconds = 8.0;   // the most a release and the reverb ring on after the last event

// Pedalled notes play on one MIDI channel, the pedal's, and the others on a second.
constexpr int pedalledChannel = 0;
constexpr int clearChannel = 1;

struct MidiEvent {
    enum Kind { NoteOff, PedalUp, PedalDown, NoteOn };   // the order of events that fall together
    std::size_t frame;
    Kind kind;
    int channel;
    int key;
    int velocity;
};

std::size_t frameAt(double seconds)
{
    return static_cast<std::size_t>(std::llround(std::max(0.0, seconds) * audioSampleRate));
}

// A key struck again before it was let go is let go just before, as a pianist's finger is.
std::vector<MidiEvent> midiEvents(const PianoPerformance& performance)
{
    std::vector<MidiEvent> events;
    std::map<std::pair<int, int>, std::vector<const PianoNote*>> byKey;   // by channel and key
    for (const PianoNote& note : performance.notes)
        byKey[{note.pedalled ? pedalledChannel : clearChannel, note.key}].push_back(&note);
    for (auto& [channelKey, notes] : byKey) {
        const auto [channel, key] = channelKey;
        std::stable_sort(notes.begin(), notes.end(), [](const PianoNote* a, const PianoNote* b) { return a->start < b->start; });
        for (std::size_t i = 0; i < notes.size(); ++i) {
            const std::size_t on = frameAt(notes[i]->start);
            std::size_t off = std::max(on + 1, frameAt(notes[i]->end));
            if (i + 1 < notes.size())
                off = std::min(off, std::max(on + 1, frameAt(notes[i + 1]->start)));
            events.push_back({on, MidiEvent::NoteOn, channel, key, std::clamp(notes[i]->velocity, 1, 127)});
            events.push_back({off, MidiEvent::NoteOff, channel, key, 0});
        }
    }
    for (const PedalSpan& span : performance.pedal) {
        events.push_back({frameAt(span.down), MidiEvent::PedalDown, pedalledChannel, 0, 0});
        events.push_back({frameAt(span.up), MidiEvent::PedalUp, pedalledChannel, 0, 0});
    }
    std::stable_sort(events.begin(), events.end(), [](const MidiEvent& a, const MidiEvent& b) {
        return a.frame != b.frame ? a.frame < b.frame : a.kind < b.kind;
    });
    return events;
}

void silenceLibraryMessages()
{
    for (const int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, nullptr, nullptr);
}

struct SettingsDeleter { void operator()(fluid_settings_t* settings) const { delete_fluid_settings(settings); } };
struct SynthDeleter { void operator()(fluid_synth_t* synth) const { delete_fluid_synth(synth); } };

std::unique_ptr<fluid_settings_t, SettingsDeleter> pianoSettings()
{
    std::unique_ptr<fluid_settings_t, SettingsDeleter> settings(new_fluid_settings());
    fluid_settings_setnum(settings.get(), "synth.sample-rate", audioSampleRate);
    fluid_settings_setint(settings.get(), "synth.dynamic-sample-loading", 1);
    fluid_settings_setint(settings.get(), "synth.polyphony", 256);
    fluid_settings_setint(settings.get(), "synth.cpu-cores", 1);
    fluid_settings_setint(settings.get(), "synth.chorus.active", 0);
    fluid_settings_setint(settings.get(), "synth.reverb.active", 1);
    // A small, warm room: the reverb of a living room rather than a hall.
    fluid_settings_setnum(settings.get(), "synth.reverb.room-size", 0.5);
    fluid_settings_setnum(settings.get(), "synth.reverb.damp", 0.45);
    fluid_settings_setnum(settings.get(), "synth.reverb.width", 0.8);
    fluid_settings_setnum(settings.get(), "synth.reverb.level", 0.35);
    fluid_settings_setnum(settings.get(), "synth.gain", 0.5);
    return settings;
}

void play(fluid_synth_t* synth, const MidiEvent& event)
{
    switch (event.kind) {
    case MidiEvent::NoteOn: fluid_synth_noteon(synth, event.channel, event.key, event.velocity); break;
    case MidiEvent::NoteOff: fluid_synth_noteoff(synth, event.channel, event.key); break;
    case MidiEvent::PedalDown: fluid_synth_cc(synth, event.channel, sustainController, 127); break;
    case MidiEvent::PedalUp: fluid_synth_cc(synth, event.channel, sustainController, 0); break;
    }
}

// Runs the synthesiser from `from` up to `to`, adding its output into the loop.
void renderInto(fluid_synth_t* synth, StereoLoop& loop, std::size_t from, std::size_t to, std::vector<float>& left,
                std::vector<float>& right)
{
    while (from < to) {
        const std::size_t count = std::min<std::size_t>(to - from, left.size());
        fluid_synth_write_float(synth, static_cast<int>(count), left.data(), 0, 1, right.data(), 0, 1);
        for (std::size_t i = 0; i < count; ++i)
            loop.add(from + i, left[i], right[i]);
        from += count;
    }
}

} // namespace

StereoLoop renderPianoLoop(const PianoPerformance& performance)
{
    silenceLibraryMessages();
    const auto settings = pianoSettings();
    const std::unique_ptr<fluid_synth_t, SynthDeleter> synth(new_fluid_synth(settings.get()));
    const int font = synth ? fluid_synth_sfload(synth.get(), soundFontPath, 0) : FLUID_FAILED;
    if (font == FLUID_FAILED || fluid_synth_program_select(synth.get(), pedalledChannel, font, 0, 0) != FLUID_OK
        || fluid_synth_program_select(synth.get(), clearChannel, font, 0, 0) != FLUID_OK)
        throw std::runtime_error(std::string("cannot load the piano of ") + soundFontPath);

    StereoLoop loop(frameAt(performance.seconds));
    std::vector<float> left(4096), right(4096);
    std::size_t frame = 0;
    for (const MidiEvent& event : midiEvents(performance)) {
        renderInto(synth.get(), loop, frame, event.frame, left, right);
        frame = std::max(frame, event.frame);
        play(synth.get(), event);
    }
    renderInto(synth.get(), loop, frame, std::max(frame, loop.frames()) + frameAt(ringSeconds), left, right);
    return loop;
}
