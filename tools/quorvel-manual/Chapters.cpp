#include "tools/quorvel-manual/Chapters.h"

#include <string>
#include <vector>

#include "tools/quorvel-manual/Figures.h"

namespace quorvelManual {

void WriteIntroduction(ManualDocument& doc) {
  doc.Chapter("Welcome to Quorvel");
  doc.Paragraph(
      "Thank you for choosing Quorvel. Quorvel is a stereo modulation and filtering effect "
      "with an analog temperament: a resonant ladder filter, a high-pass filter, drive, a "
      "four-stage phaser and a four-voice chorus, all of which can move with the music. Two "
      "LFOs, an envelope follower and a gated ADSR envelope can modulate nine settings, "
      "each with its own choice of source and its own strength. Use it for anything from a "
      "gentle chorus on a clean guitar to a filter that talks back to the drummer.");
  doc.Paragraph(
      "Quorvel runs as a CLAP plug-in in any host that loads CLAP effects. It processes mono "
      "or stereo, accepts a mono or stereo side-chain input, and needs no licence key and no "
      "network connection.");
  doc.Section("The signal chain");
  doc.Paragraph(
      "The order of the stages is fixed, so each always hears what it expects: the filter "
      "before the drive, so that drive follows the filtered tone; the phaser and chorus "
      "after it, so that they work on the finished colour. The brickwall limiter at the very "
      "end keeps the output below full scale, whatever the modulation does.");
  doc.Figure(220, DrawSignalChain,
             "Quorvel's signal chain. Dashed arrows: the nine modulation targets. The detector "
             "that feeds the envelope follower and the gate listens to the main input or, "
             "when switched over, to the side-chain input.");
  doc.Bullets({
      "<b>Input trim</b> sets the level into the chain and into the detectors.",
      "<b>Cutoff filter</b>: a four-stage ladder low pass, or a wide or narrow band pass built "
      "from it. Switchable.",
      "<b>High-pass filter</b>: always in the path; at its lowest setting it only removes "
      "subsonic rumble.",
      "<b>Drive</b>: envelope-controlled saturation mixed onto the clean signal, with an "
      "optional feedback path. Switchable.",
      "<b>Phaser</b>: four all-pass stages with feedback, optionally in true stereo. "
      "Switchable.",
      "<b>Chorus</b>: four drifting voices, optionally in true stereo. Switchable.",
      "<b>Output gain</b> and the <b>brickwall limiter</b>, which bends peaks softly from "
      "\xe2\x88\x92"
      "6 dBFS and never lets the output exceed \xe2\x88\x92"
      "0.1 dBFS.",
  });
  doc.Section("Getting started");
  doc.Paragraph(
      "Insert Quorvel on a track and play: the default sound is a swirling phaser with a "
      "wide chorus. Switch sections on and off with their toggles to hear what each adds, "
      "then browse the factory presets (chapter 5) for ideas. Whenever you want to know what "
      "a control does, the tables in chapter 2 explain every one of them.");
}

void WriteModulationChapter(ManualDocument& doc, const ProductFacts& facts) {
  doc.Chapter("The modulation system");
  doc.Paragraph(
      "Nine settings can move on their own. Each of them has a lever that chooses its "
      "source, a MOD knob that sets the strength, and a red lamp that shows the modulation "
      "at work. The modulation is added to the position of the setting's own knob, so the "
      "knob sets the centre (or starting point) and the modulation moves around it.");
  doc.Section("The nine targets");
  std::vector<std::vector<std::string>> rows;
  // The setting each pair moves, the pair's name and what it is good for.
  const char* targets[][3] = {
      {"cutoff filter frequency", "cutoff filter", "filter sweeps, wah"},
      {"drive", "drive", "dynamic dirt"},
      {"phaser wet", "phaser wet", "phaser depth"},
      {"phaser frequency 1", "phaser frequency 1", "the phaser sweep"},
      {"phaser frequency 2", "phaser frequency 2", "the phaser sweep"},
      {"phaser frequency 3", "phaser frequency 3", "the phaser sweep"},
      {"chorus wet", "chorus wet", "chorus that blooms or ducks"},
      {"chorus delay", "chorus delay", "tape-like wobble"},
      {"output", "output", "tremolo, ducking, gating"},
  };
  for (const auto& target : targets) {
    const std::string pair = target[1];
    const ParameterFact& base = FactNamed(facts, target[0]);
    const ParameterFact& source = FactNamed(facts, pair + " modulation source");
    const ParameterFact& strength = FactNamed(facts, pair + " modulation strength");
    rows.push_back({"<b>" + Escape(base.name) + "</b>", Escape(source.defaultText),
                    Escape(strength.defaultText), target[2]});
  }
  doc.Table({0.32, 0.20, 0.16, 0.32}, {"Target", "Default source", "Strength", "Typical use"},
            rows);
  doc.Paragraph(
      "The three phaser frequencies are modulated by LFO 2 at full strength out of the box; "
      "that is what makes the default phaser sweep. The chorus delay hears the two LFOs at "
      "half their speed, for a slower, tape-like movement.");
  doc.Section("The five source positions");
  doc.Paragraph(
      "Every lever has five positions, printed beneath it from left to right: LFO1, ADSR, "
      "OFF, ENV and LFO2. Hosts list the same choices in the same order, as LFO 1, ADSR, no "
      "modulation, env follower and LFO 2.");
  doc.Bullets({
      "<b>LFO 1</b> and <b>LFO 2</b>: the two low-frequency oscillators. They swing the "
      "setting up and down around its knob position by up to half the knob's travel.",
      "<b>ADSR</b>: the envelope started by the gate. It rises from the knob position by up "
      "to the full travel on every note and falls back after the gate closes.",
      "<b>no modulation</b> (OFF): the setting stays where its knob is.",
      "<b>env follower</b>: follows the loudness of the detector signal between the floor "
      "and the ceiling, moving the setting by up to the full travel.",
  });
  doc.Section("Strength and direction");
  doc.Paragraph(
      "The MOD knob runs from \xe2\x88\x92"
      "1 on the left through 0 at the top to +1 on the "
      "right. Positive values move the setting up (a brighter filter, more drive, more "
      "level), negative values move it down: with the envelope follower and a negative "
      "strength on the output, Quorvel ducks the sound whenever the detector hears "
      "something. The movement always stays within the setting's range, so a knob at the top "
      "of its travel can only be modulated downwards. Strength is set in the knob's own "
      "travel, so the same strength moves a frequency knob and a level knob by the same "
      "amount of rotation.");
  doc.Section("Motorized knobs");
  doc.Paragraph(
      "Press MOTORS and the knobs of the modulated settings turn by themselves, showing the "
      "modulated value as it happens. The motors only show what is going on; they do not "
      "change the sound, and your own setting is restored when you switch them off. While a "
      "section is switched off its knobs stay still.");
  doc.Section("Lamps and meters");
  doc.Bullets({
      "<b>Green lamps</b> beside each section switch: the section is running.",
      "<b>Red lamps</b> beside each modulated setting: they glow with the modulation, "
      "brighter the stronger the source and the strength. A setting with no modulation "
      "shows a steady light while its section runs.",
      "<b>CLOSED, HOLD, OPEN</b>: the state of the ADSR gate. Exactly one lamp is lit.",
      "<b>The outer meter</b> shows the level the gate hears; the green marker is the on "
      "threshold and the red marker the level at which the gate closes (threshold minus "
      "hysteresis).",
      "<b>The inner meter</b> shows the level the envelope follower hears, between the red "
      "floor marker and the yellow ceiling marker. Both meters read from \xe2\x88\x92"
      "24 dB "
      "to full scale.",
      "<b>LIMIT</b> in the output section glows when the brickwall limiter reduces peaks.",
  });
  doc.Paragraph(
      "To set the detectors, play your loudest and softest passages and watch the needles: "
      "put the follower's floor just above the quiet parts and the ceiling just below the "
      "loud ones, and the gate threshold where a new note should start the envelope.");
}

void WritePlotChapter(ManualDocument& doc) {
  doc.Chapter("Quorvel in pictures");
  doc.Paragraph(
      "The plots in this chapter were computed by Quorvel's own sound engine when this "
      "manual was made, so they show exactly what the plug-in does.");
  doc.Section("The cutoff filter");
  doc.Paragraph(
      "In its low-pass shape the filter rolls off steeply above the cutoff; resonance "
      "raises a peak at the cutoff and, at high settings, makes the filter ring. Like the "
      "classic transistor ladder it thins the low end as the resonance rises, which keeps "
      "resonant sweeps from getting boomy. The two "
      "band passes add a resonant high pass after the ladder and make up the lost level: "
      "the wide one keeps a broad band below the cutoff, the narrow one focuses on a band "
      "just beneath it, with a sharper peak the higher the resonance.");
  doc.Figure(190, FilterResponsePlot(0), "Low pass at 1000 Hz and four resonance settings.");
  doc.Figure(190, FilterResponsePlot(1), "Wide band pass at 1000 Hz.");
  doc.Figure(190, FilterResponsePlot(2), "Narrow band pass at 1000 Hz.");
  doc.Section("The drive curve");
  doc.Paragraph(
      "Drive bends the signal with this curve. It is steep around zero, so even quiet "
      "signals pick up harmonics, and asymmetric: positive peaks flatten near 0.875, "
      "negative ones near \xe2\x88\x92"
      "1. The asymmetry adds even harmonics, the warm "
      "quality of a valve stage; the drive amount sets how much of the shaped sound joins "
      "the clean one, and the knob's gain pushes the signal further along the curve.");
  doc.Figure(210, DrawDriveCurve,
             "The drive's transfer curve; the thin line is the unchanged signal.");
  doc.Section("The LFO shapes");
  doc.Paragraph(
      "The five shapes give different kinds of movement: sine is the smoothest; triangle "
      "moves at a constant speed; nonlinear lingers at the top and bottom and turns quickly "
      "through the middle; saw falls slowly and jumps back, for rhythmic chops; square "
      "switches between two states.");
  doc.Figure(120, DrawLfoShapes, "One cycle of each LFO shape.");
  doc.Section("The ADSR and its gate");
  doc.Paragraph(
      "When the detector's level rises above the gate threshold, the gate opens and the "
      "envelope starts: attack to full, decay to the sustain level, sustain while the gate "
      "stays open, release once it closes. The curves are shaped like an analog envelope, "
      "fast at first and easing into their target. If the gate reopens during the release, "
      "the attack starts from where the envelope is, so fast playing never clicks.");
  doc.Figure(190, DrawAdsr, "The ADSR (orange) and its gate (blue) at the default settings.");
}

void WriteUsingChapter(ManualDocument& doc) {
  doc.Chapter("Using Quorvel");
  doc.Section("Installing");
  doc.Paragraph(
      "Quorvel is one file, <tt>Quorvel.clap</tt>. Copy it into a folder your host searches "
      "for CLAP plug-ins: <tt>~/.clap</tt> for your own user account, or "
      "<tt>/usr/lib/clap</tt> for everyone on the computer. Keep this manual, "
      "<tt>Quorvel_manual.pdf</tt>, beside it (or in an <tt>installer</tt> or "
      "<tt>Resources</tt> folder next to it): clicking the Quorvel logo in the editor opens "
      "it. If the manual cannot be found, the logo opens the Brackmoor Audio web site "
      "instead.");
  doc.Paragraph(
      "When you build Quorvel from source, <tt>cmake --install</tt> copies both files into "
      "place.");
  doc.Section("Hosts and automation");
  doc.Paragraph(
      "After a rescan, your host lists Quorvel by Brackmoor Audio among its audio effects. "
      "Every control of the panel is a host parameter under the name given in chapter 6, so "
      "you can automate anything, including the modulation sources and strengths. Your "
      "host's generic parameter view shows the same names and values. The factory presets "
      "appear in the host's preset browser, and a project saves Quorvel's complete state.");
  doc.Paragraph("Quorvel adds no latency, so it needs no delay compensation in your host.");
  doc.Section("Side-chain routing");
  doc.Paragraph(
      "Quorvel has a second input, the side-chain. Route another track to it in your host "
      "(mono or stereo) and switch SIDECHAIN on: the envelope follower and the gate now "
      "react to that track while the sound still comes from the main input. Use it to duck "
      "a pad under the kick drum with the output's envelope-follower modulation, or to let "
      "the drums open the filter on a bass line. Without a connected side-chain the switch "
      "has no effect and the detectors keep listening to the main input.");
  doc.Section("Zoom and the remembered display scale");
  doc.Paragraph(
      "Drag the triangle in the lower right corner of the editor to zoom it in steps of 100, "
      "125, 150, 175 and 200 %. Quorvel remembers the "
      "size you leave it at: the next time you open the editor, in this project or any "
      "other, it opens at that size. The setting is kept in "
      "<tt>~/.config/Brackmoor Audio/Preferences/Quorvel-display-scale.txt</tt> (or under "
      "<tt>$XDG_CONFIG_HOME</tt> when set); delete the file to return to 100 %.");
  doc.Section("The command-line tools");
  doc.Paragraph(
      "Quorvel's source package builds four small programs that load the plug-in exactly as "
      "a host does. They are handy for checking an installation, rendering audio in batches "
      "and making pictures of settings.");
  doc.Bullets({
      "<tt>quorvel-info PATH.clap</tt> prints what a host sees: the description, every "
      "parameter with its range and default, the audio ports, latency and tail, and the "
      "factory presets.",
      "<tt>quorvel-render [INPUT] [options]</tt> runs an audio file (WAV, FLAC, AIFF, OGG) or "
      "a built-in demo loop through Quorvel and writes the result: "
      "<tt>--preset NAME</tt>, <tt>--set \"NAME=TEXT\"</tt> for any parameter in its text "
      "form, <tt>--sidechain FILE</tt>, <tt>--out FILE</tt>, <tt>--list-presets</tt>.",
      "<tt>quorvel-snapshot [INPUT] [options]</tt> draws the editor into a PNG picture "
      "without opening a window, optionally after a preset, settings and some seconds of "
      "audio: <tt>--preset</tt>, <tt>--set</tt>, <tt>--seconds N</tt>, <tt>--scale S</tt>, "
      "<tt>--out FILE.png</tt>. The pictures in this manual were made with it.",
      "<tt>quorvel-editor</tt> opens the editor in a window of its own, without a host, for "
      "trying the panel.",
  });
  doc.Paragraph(
      "Every program prints its options with <tt>--help</tt>; mistakes end with a one-line "
      "message and a non-zero exit status.");
}

}  // namespace quorvelManual
