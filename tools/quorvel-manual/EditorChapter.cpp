#include "tools/quorvel-manual/EditorChapter.h"

#include <algorithm>
#include <string>
#include <vector>

namespace quorvelManual {

namespace {

// The editor picture is drawn at twice the size of the 790 × 350 panel.
constexpr int kPictureScale = 2;

struct Control {
  const char* where;
  const char* parameter;
  const char* explanation;
};

struct PanelSection {
  const char* title;
  int x, y, w, h;  // editor units
  const char* caption;
  const char* introduction;
  std::vector<Control> controls;
};

std::vector<std::string> Row(const ProductFacts& facts, const Control& control) {
  const ParameterFact& fact = FactNamed(facts, control.parameter);
  return {control.where, "<b>" + Escape(fact.name) + "</b>",
          RangeText(fact) + "\n<i>default " + Escape(fact.defaultText) + "</i>",
          control.explanation};
}

const std::vector<PanelSection>& Sections() {
  static const std::vector<PanelSection> sections{
      {"Filter",
       0,
       0,
       240,
       126,
       "The filter section.",
       "The filter section at the top left shapes the tone before anything else happens. Its "
       "heart is a four-stage ladder low pass with a warm, rounded resonance; two band-pass "
       "shapes are built from it for wah, telephone and vowel sounds. The high-pass filter "
       "after it is always in the signal path and thins out the low end when you need it to.",
       {{"toggle at the top, green lamp", "cutoff filter enable",
         "Switches the cutoff filter in. The green lamp beside it lights while the filter "
         "runs. The high-pass filter is not affected."},
        {"slide switch SHAPE", "cutoff filter shape",
         "LP is the classic 24 dB per octave low pass. BP is a wide band pass, NARROW a "
         "tighter, more vocal band pass that sits a little above the cutoff."},
        {"large knob CUTOFF", "cutoff filter frequency",
         "The corner of the filter. Turn it down for darker, muffled sound; with modulation "
         "this is the knob that sweeps. At the top of its travel the low pass is open."},
        {"knob RESONANCE", "resonance",
         "Emphasis around the cutoff. Low settings stay smooth; from about half way the "
         "filter sings and whistles, and the band passes grow narrower."},
        {"knob HIGH PASS", "high pass frequency",
         "A gentle 12 dB per octave high pass. At its lowest (10 Hz) it is effectively out "
         "of the way; turn it up to remove rumble or to make a bass-less, radio-like sound."},
        {"lever under MOD", "cutoff filter modulation source",
         "Chooses what moves the cutoff: LFO 1, the ADSR, nothing (OFF), the envelope follower "
         "or LFO 2. The red lamp shows the modulation at work."},
        {"knob MOD", "cutoff filter modulation strength",
         "How far and in which direction the source moves the cutoff. To the right opens the "
         "filter, to the left closes it; the centre means no movement."}}},
      {"Drive",
       0,
       128,
       240,
       117,
       "The drive section.",
       "Drive adds harmonics that follow the playing: the signal is shaped by an asymmetric "
       "saturation curve, weighted by a very fast envelope and filtered, then mixed onto the "
       "clean signal. Small amounts add warmth and density; large amounts give a gritty, "
       "fuzzy edge without losing the dry attack.",
       {{"vertical toggle ON, green lamp", "drive enable",
         "Switches the drive stage in; the green lamp lights while it runs."},
        {"large knob DRIVE", "drive",
         "The amount of saturated signal added to the dry signal. At 0 the stage passes the "
         "signal unchanged."},
        {"toggle FEEDBACK", "drive feedback",
         "On, half of the previous output feeds back into the drive's envelope: a rougher, "
         "more compressed and more aggressive character. Off, the drive follows the input "
         "more politely."},
        {"lever under MOD", "drive modulation source",
         "What moves the drive amount: LFO 1, ADSR, OFF, envelope follower or LFO 2. With the "
         "envelope follower, harder playing can bring in more (or less) dirt."},
        {"knob MOD", "drive modulation strength",
         "Depth and direction of the drive modulation; the red lamp shows it working."}}},
      {"Chorus",
       0,
       198,
       318,
       152,
       "The chorus section, with the chorus delay above it.",
       "The chorus thickens and widens the sound with four delayed voices whose delay times "
       "drift slowly and independently. Short delays give a lush ensemble, longer ones a "
       "seasick vibrato or a slap-back doubling.",
       {{"toggle ON, green lamp", "chorus enable",
         "Switches the chorus in; the green lamp lights while it runs."},
        {"small knob WET", "chorus wet",
         "The level of the four chorus voices against the dry signal."},
        {"large knob DELAY", "chorus delay",
         "The centre delay of the voices, up to 50 ms. Low settings give a shimmering "
         "chorus, higher ones doubling and slap-back. Changes glide smoothly, so sweeping it "
         "bends the pitch like a tape machine."},
        {"small knob SPREAD", "chorus spread",
         "How differently the four voices drift. At 0 they move together like a single "
         "vibrato; at 10 each has its own speed, for a wide, animated ensemble."},
        {"slide switch STEREO M/S", "chorus super stereo",
         "S gives the right channel its own set of voices, a quarter cycle apart from the "
         "left: very wide. M sends the same chorus to both sides, mono compatible."},
        {"left lever and knob MOD (under DELAY)", "chorus delay modulation source",
         "What moves the chorus delay. The LFOs drive it at half their set speed, for slow, "
         "tape-like wobble."},
        {"left knob MOD", "chorus delay modulation strength",
         "Depth and direction of the delay modulation."},
        {"right lever MOD", "chorus wet modulation source",
         "What moves the chorus level, for example the ADSR to let the chorus bloom after "
         "each note."},
        {"right knob MOD", "chorus wet modulation strength",
         "Depth and direction of the wet modulation."}}},
      {"Phaser",
       558,
       0,
       232,
       350,
       "The phaser section.",
       "The phaser sweeps notches through the spectrum with four all-pass stages and a "
       "feedback path. The first stage always sweeps slowly around 880 Hz on its own; the "
       "other three sit at FREQ 1, 2 and 3 and follow their modulation sources, by default "
       "LFO 2 at full strength. Out of the box this gives the classic swirling phaser.",
       {{"toggle ON, green lamp", "phaser enable",
         "Switches the phaser in; the green lamp lights while it runs."},
        {"knob FEEDBACK", "phaser feedback",
         "Feeds the phaser's output back into its stages: higher settings give deeper, more "
         "resonant and more vocal sweeps."},
        {"slide switch STEREO M/S", "phaser super stereo",
         "S gives the right channel its own phaser that sweeps the other way: a wide, "
         "rotating image. M phases a mono mix of both channels."},
        {"small knob FREQ 1", "phaser frequency 1",
         "The centre of the second all-pass stage. Together with FREQ 2 and 3 it decides "
         "where the notches sit."},
        {"small knob FREQ 2", "phaser frequency 2", "The centre of the third stage."},
        {"small knob FREQ 3", "phaser frequency 3", "The centre of the fourth stage."},
        {"lever under FREQ 1", "phaser frequency 1 modulation source",
         "What sweeps stage 2. Giving the three stages different sources or strengths of "
         "opposite sign makes the sweep move in two directions at once."},
        {"knob MOD under FREQ 1", "phaser frequency 1 modulation strength",
         "How far stage 2 sweeps: at full strength up to eight times above and below its "
         "frequency."},
        {"lever under FREQ 2", "phaser frequency 2 modulation source", "What sweeps stage 3."},
        {"knob MOD under FREQ 2", "phaser frequency 2 modulation strength",
         "How far stage 3 sweeps."},
        {"lever under FREQ 3", "phaser frequency 3 modulation source", "What sweeps stage 4."},
        {"knob MOD under FREQ 3", "phaser frequency 3 modulation strength",
         "How far stage 4 sweeps."},
        {"small knob WET", "phaser wet",
         "The balance of the phased signal against the dry one. Half way gives the deepest "
         "notches; fully up gives a gentle vibrato-like colour."},
        {"lever under WET", "phaser wet modulation source", "What moves the phaser's balance."},
        {"knob MOD beside WET", "phaser wet modulation strength",
         "Depth and direction of the wet modulation."}}},
      {"Output",
       470,
       208,
       170,
       142,
       "The output section.",
       "The output section sets the final level. With a modulation source it becomes a "
       "tremolo (an LFO), a ducker or swell (the envelope follower) or a gate (the ADSR). The "
       "brickwall limiter after it catches peaks; its red lamp LIMIT lights when it works.",
       {{"small knob LEVEL", "output",
         "The output gain, from silence (0) through unity (1) up to twice the level (+6 dB)."},
        {"lever under MOD", "output modulation source",
         "What moves the output level: an LFO for tremolo, the ADSR or the envelope follower "
         "for gating and ducking effects."},
        {"knob MOD", "output modulation strength",
         "Depth and direction of the level modulation. A negative strength with the "
         "envelope follower ducks the sound while the detector hears something."}}},
      {"Modulation panel",
       245,
       0,
       313,
       350,
       "The modulation panel with the meters, the LFOs and the ADSR.",
       "The centre of the editor holds the four modulation sources and their meters. The "
       "outer needle shows the level the ADSR gate hears, the inner needle the level the "
       "envelope follower hears; the coloured marker lines show the thresholds you set, so "
       "you can see at a glance where the gate opens and where the follower starts and "
       "stops. The knob on the meters' hub is the input trim.",
       {{"knob TRIM on the meters' hub", "input trim",
         "Input gain before the whole chain, from \xe2\x88\x92"
         "8 to +24 dB. It also sets how "
         "loud the detectors hear the main input, so it changes how the follower and the gate "
         "react."},
        {"knob SPEED", "envelope follower speed",
         "How quickly the follower reacts. Low settings follow the overall dynamics smoothly; "
         "high settings follow every note and drum hit."},
        {"small knob FLOOR, red marker", "envelope follower floor",
         "The level at which the follower's output starts to rise above 0. Signals quieter "
         "than this do not move anything."},
        {"small knob CEILING, yellow marker", "envelope follower ceiling",
         "The level at which the follower's output reaches its maximum. The distance between "
         "floor and ceiling is the follower's working range."},
        {"toggle SIDECHAIN", "sidechain detector",
         "On, the follower and the gate listen to the side-chain input instead of the main "
         "input, when the host connects one. The sound still comes from the main input."},
        {"knob RATE (LFO 1)", "LFO 1 rate",
         "The speed of LFO 1: up to 8 cycles a second, or with SYNC one of eight note values "
         "from four beats down to a quarter beat per cycle."},
        {"window SHAPE (LFO 1)", "LFO 1 shape",
         "Drag the little window to choose the wave: sine, triangle, nonlinear (a rounded "
         "triangle that lingers at the extremes), saw or square."},
        {"toggle SYNC (LFO 1)", "LFO 1 tempo sync",
         "Locks LFO 1 to the host's tempo and restarts it in step with the song position."},
        {"knob RATE (LFO 2)", "LFO 2 rate", "The speed of LFO 2, as for LFO 1."},
        {"window SHAPE (LFO 2)", "LFO 2 shape", "The wave of LFO 2."},
        {"toggle SYNC (LFO 2)", "LFO 2 tempo sync", "Locks LFO 2 to the host's tempo."},
        {"knob THRESH, green marker", "ADSR gate on threshold",
         "The level above which the gate opens and starts the ADSR."},
        {"small knob HYST, red marker", "ADSR gate hysteresis",
         "How far below the threshold the level must fall before the gate closes again. More "
         "hysteresis avoids chattering on sustained notes."},
        {"small knob HOLD", "ADSR gate hold",
         "Keeps the gate open for up to half a second after the level has fallen, so short "
         "gaps do not retrigger the envelope. The yellow HOLD lamp shows the hold running."},
        {"slider A", "ADSR attack",
         "Attack time, up to 6 seconds at the top (0.07, the default, is 400 ms)."},
        {"slider D", "ADSR decay", "Decay time down to the sustain level, up to 6 seconds."},
        {"slider S", "ADSR sustain", "The level held while the gate stays open."},
        {"slider R", "ADSR release", "Release time after the gate closes, up to 6 seconds."},
        {"button MOTORS", "motorized knobs",
         "When lit, the knobs of modulated settings turn by themselves and show the "
         "modulated value as it moves. Purely visual: the sound does not change."}}},
  };
  return sections;
}

}  // namespace

void WriteEditorChapter(ManualDocument& doc, const ProductFacts& facts, cairo_surface_t* editor) {
  doc.Chapter("The editor");
  doc.Paragraph(
      "Everything Quorvel does is on one panel. Five sections run around the edge in the "
      "order of the signal, and the modulation sources sit in the middle with their meters. "
      "Every section has a switch with a green lamp that shows whether it runs; every "
      "modulated setting has a five-position lever for its source, a small MOD knob for "
      "its strength and a red lamp that glows with the modulation.");
  doc.Picture(editor, 0, 0, 790 * kPictureScale, 350 * kPictureScale, doc.TextWidth(),
              "The Quorvel editor at its default settings, with the demo loop playing.");
  doc.Paragraph(
      "Drag a knob or slider up or down to change it; the further you drag, the further it "
      "turns. Click a switch or lever to step it to its next position. Drag the small "
      "triangle in the lower right corner to zoom the editor; a click on the Quorvel logo "
      "opens this manual.");
  const std::vector<double> widths{0.17, 0.23, 0.24, 0.36};
  const std::vector<std::string> header{"Control", "Parameter", "Range and default",
                                        "What it does"};
  for (const PanelSection& section : Sections()) {
    doc.Section(section.title);
    doc.Paragraph(section.introduction);
    constexpr double kMaxHeight = 300;
    const double width =
        std::min({doc.TextWidth(), section.w * 1.35, kMaxHeight * section.w / section.h});
    doc.Picture(editor, section.x * kPictureScale, section.y * kPictureScale,
                section.w * kPictureScale, section.h * kPictureScale, width, section.caption);
    std::vector<std::vector<std::string>> rows;
    for (const Control& control : section.controls) rows.push_back(Row(facts, control));
    doc.Table(widths, header, rows);
  }
}

}  // namespace quorvelManual
