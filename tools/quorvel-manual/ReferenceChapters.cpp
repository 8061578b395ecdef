#include "tools/quorvel-manual/ReferenceChapters.h"

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvelManual {

namespace {

const std::map<std::string, std::string>& PresetNotes() {
  static const std::map<std::string, std::string> notes{
      {"Empty",
       "Every control at its default: the phaser swirling with LFO 2 and the chorus on. The "
       "place to start your own sound."},
      {"Full Bypass",
       "Filter, drive, phaser and chorus off: only trim, high pass, output and limiter remain. "
       "For comparing against the dry signal."},
      {"[DRUM]  Decorate the Peaks",
       "The gate fires the ADSR on every hit and pushes the drive up for that moment, while a "
       "tempo-synced phaser colours the transients."},
      {"[DRUM]  Dirt Mover",
       "A hot, filtered drum bus: trim up, a low pass that the ADSR opens on each hit, drive "
       "with feedback and a touch of chorus."},
      {"[DRUM]  Loop Mangler",
       "Drive that follows the envelope, a phaser the ADSR pulls back on each hit, a synced "
       "chorus wobble and an output that ducks with the follower: loops come out pumping."},
      {"[DRUM]  Heavy Comp",
       "Drive that follows the envelope, without feedback: drums sound denser and more "
       "compressed, with no modulation effects."},
      {"[DRUM]  Put Him in the Tank",
       "Chorus only, with the delay pushed by the envelope follower: a metallic, boxy small "
       "room around the kit."},
      {"[EPIANO]  Duck and Cover",
       "A band pass that opens as you play harder, phaser and a chorus that ducks under each "
       "chord and blooms in the gaps."},
      {"[EPIANO]  Intense Tremolo",
       "A deep, fast LFO 1 tremolo on the output with drive and chorus: the classic "
       "electric-piano throb, exaggerated."},
      {"[EPIANO]  Vintage Combo",
       "Band-passed, lightly driven, phased and chorused, with a gentle tremolo: the sound of "
       "a small combo amplifier."},
      {"[FX]  3AM and I Hate This band",
       "Full drive with feedback, a low, slow phaser and a chorus delay swept by LFO 1: "
       "seasick, detuned grunge."},
      {"[FX]  Planet of the Trance Sweeps",
       "The filter alone, a resonant low pass swept down by a tempo-synced saw: rhythmic "
       "trance gating."},
      {"[FX]  Short Wave",
       "High pass and filter narrow the band, a mono phaser and a wobbling chorus and level: "
       "a distant radio drifting off station."},
      {"[FX]  Toyland Chase",
       "A square-wave LFO 1 hands the sound back and forth between phaser and chorus: a "
       "toy-box, clockwork effect."},
      {"[GUITAR]  Chord Smoothener",
       "Drive that backs off on loud chords and a chorus that swells after each strum: "
       "smooth, even rhythm parts."},
      {"[GUITAR]  Chord Sweetener",
       "A softer, lower-level relative of Chord Smoothener with a slowly moving chorus "
       "delay: sweet, shimmering chords."},
      {"[GUITAR]  Chord Vogonizer",
       "The ADSR and a fast LFO 2 pull the phaser stages apart with high feedback: strange, "
       "alien chord warbles."},
      {"[GUITAR]  Sergeant Love",
       "Warm drive with feedback and a gentle, slow phaser at a lower level: a singing, "
       "psychedelic lead."},
      {"[GUITAR]  Sergeant Hate",
       "A resonant band pass around 680 Hz with strong drive and chorus: nasal and "
       "aggressive."},
      {"[GUITAR]  Spiced Tremolo",
       "An LFO 1 tremolo with envelope-controlled drive and a lightly swept phaser: tremolo "
       "with bite."},
      {"[GUITAR]  Swirly Tail 3000",
       "The ADSR and LFO 2 move the phaser so each note's tail swirls off, with chorus and a "
       "high pass for clarity."},
      {"[GUITAR]  Touch-Wah",
       "A resonant band pass opened by the envelope follower: the harder you pick, the more "
       "it quacks. A classic auto-wah."},
      {"[SYNTH]  Bass Shape",
       "Trim up into a low pass and drive that the ADSR opens with each note, and an output "
       "that follows the gate: plucky, shaped bass."},
      {"[SYNTH]  Bidirectional Phaser",
       "Phaser only, with stages modulated by both LFOs at opposite strengths: the sweep "
       "moves up and down at the same time."},
      {"[SYNTH]  Chord Groove",
       "Tempo-synced LFOs move the phaser and the level while the chorus ducks under each "
       "chord: held chords turn into a rhythmic groove."},
      {"[SYNTH]  Rehydration",
       "A slowly swept band pass, a phaser on LFO 1, full chorus and a gently moving level: "
       "lush, breathing pads."},
      {"[VOX]  Doublexpander",
       "A chorus whose delay and level follow the voice, and an output that swells with it: "
       "a wide, doubled vocal."},
  };
  return notes;
}

// "[GUITAR]  Touch-Wah" belongs to GUITAR; the two utility presets have no tag.
std::string CategoryOf(const std::string& name) {
  if (name.size() > 2 && name[0] == '[') {
    const auto end = name.find(']');
    if (end != std::string::npos) return name.substr(1, end - 1);
  }
  return "";
}

std::string CategoryTitle(const std::string& tag) {
  static const std::map<std::string, std::string> titles{
      {"", "Starting points"}, {"DRUM", "Drums"},    {"EPIANO", "Electric piano"},
      {"FX", "Effects"},       {"GUITAR", "Guitar"}, {"SYNTH", "Synthesizer"},
      {"VOX", "Vocals"}};
  const auto found = titles.find(tag);
  return found != titles.end() ? found->second : tag;
}

}  // namespace

void WritePresetChapter(ManualDocument& doc, const ProductFacts& facts) {
  doc.Chapter("Factory presets");
  doc.Paragraph(
      "Quorvel comes with 27 presets. Your host lists them in its preset browser; choosing "
      "one sets every control, including those the preset does not use, so each starts from "
      "a known place. The tag in square brackets says which instrument a preset was made "
      "for, but try them on anything: a guitar preset can be just as good on a synthesizer.");
  std::vector<std::string> order;  // categories in the order the module lists them
  std::map<std::string, std::vector<std::vector<std::string>>> rows;
  for (const std::string& name : facts.presets) {
    const auto note = PresetNotes().find(name);
    if (note == PresetNotes().end())
      throw std::runtime_error("no description for the preset '" + name + "'");
    const std::string category = CategoryOf(name);
    if (rows.find(category) == rows.end()) order.push_back(category);
    rows[category].push_back({"<b>" + Escape(name) + "</b>", Escape(note->second)});
  }
  for (const std::string& category : order) {
    doc.Section(CategoryTitle(category));
    doc.Table({0.38, 0.62}, {"Preset", "What it is for"}, rows[category]);
  }
}

void WriteParameterChapter(ManualDocument& doc, const ProductFacts& facts) {
  doc.Chapter("Parameter reference");
  doc.Paragraph(
      "Your host lists Quorvel's parameters for automation under exactly these names. The "
      "range, default and text form are what the host shows: numbers with the unit hosts "
      "append, switches as off and on, choices by name. Parameters without a unit run as "
      "plain numbers. \xe2\x80\x9c"
      "brickwall limit\xe2\x80\x9d has no control on the "
      "panel and is reachable through the host only; \xe2\x80\x9cunused\xe2\x80\x9d is kept "
      "for compatibility and does nothing.");
  std::vector<std::vector<std::string>> rows;
  for (const ParameterFact& fact : facts.parameters) {
    rows.push_back({std::to_string(fact.id), "<b>" + Escape(fact.name) + "</b>", RangeText(fact),
                    Escape(fact.defaultText),
                    fact.unit.empty() ? "\xe2\x80\x94" : Escape(fact.unit)});
  }
  doc.Table({0.05, 0.41, 0.30, 0.15, 0.09}, {"Id", "Name", "Range or values", "Default", "Unit"},
            rows);
}

}  // namespace quorvelManual
