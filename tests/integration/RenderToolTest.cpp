// quorvel-render as a user runs it: the demo through every preset, files in and out, and one
// clear line for every mistaken command line.

#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/ShellQuoted.h"

namespace {

namespace fs = std::filesystem;
using quorvelTest::Quoted;

struct Result {
  int exitCode = -1;
  std::string out;
  std::string err;
};

struct Sound {
  SF_INFO info{};
  std::vector<double> samples;  // interleaved
};

std::string ReadText(const fs::path& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

class RenderToolTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "quorvel-render-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }

  Result Run(const std::vector<std::string>& args) const {
    std::string command = "cd " + Quoted(dir.string()) + " && " + Quoted(QUORVEL_RENDER_PATH);
    for (const std::string& arg : args) command += " " + Quoted(arg);
    command += " >" + Quoted((dir / "stdout.txt").string()) + " 2>" +
               Quoted((dir / "stderr.txt").string());
    const int status = std::system(command.c_str());
    Result result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadText(dir / "stdout.txt");
    result.err = ReadText(dir / "stderr.txt");
    return result;
  }

  std::string Path(const std::string& name) const { return (dir / name).string(); }

  static Sound Read(const std::string& path) {
    Sound sound;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &sound.info);
    EXPECT_NE(file, nullptr) << path;
    if (!file) return sound;
    sound.samples.resize(static_cast<size_t>(sound.info.frames * sound.info.channels));
    sf_readf_double(file, sound.samples.data(), sound.info.frames);
    sf_close(file);
    return sound;
  }

  static void Write(const std::string& path, int format, int rate, int channels, int frames,
                    double hz) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    std::vector<double> samples(static_cast<size_t>(frames * channels));
    for (int f = 0; f < frames; ++f) {
      for (int c = 0; c < channels; ++c)
        samples[static_cast<size_t>(f * channels + c)] =
            0.5 * std::sin(6.283185307179586 * hz * f / rate);
    }
    sf_writef_double(file, samples.data(), frames);
    sf_close(file);
  }

  static double Peak(const Sound& sound, size_t fromFrame = 0) {
    double peak = 0.0;
    const size_t from = fromFrame * static_cast<size_t>(sound.info.channels);
    for (size_t i = from; i < sound.samples.size(); ++i)
      peak = std::max(peak, std::abs(sound.samples[i]));
    return peak;
  }

  fs::path dir;
};

TEST_F(RenderToolTest, ListsThePresetsAndRendersTheDemoThroughEach) {
  const Result list = Run({"--list-presets"});
  ASSERT_EQ(list.exitCode, 0) << list.err;
  std::vector<std::string> lines;
  std::istringstream stream(list.out);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 27u);
  EXPECT_EQ(lines[0], "0\tEmpty");
  EXPECT_EQ(lines[1], "1\tFull Bypass");

  for (int index = 0; index < 27; ++index) {
    const std::string out = "preset" + std::to_string(index) + ".wav";
    const Result result = Run({"--preset", std::to_string(index), "--length", "0.5", "--out", out});
    ASSERT_EQ(result.exitCode, 0) << index << ": " << result.err;
    EXPECT_EQ(result.err, "");
    const Sound sound = Read(Path(out));
    EXPECT_EQ(sound.info.channels, 2);
    EXPECT_EQ(sound.info.samplerate, 48000);
    EXPECT_EQ(sound.info.frames, 24000);
    EXPECT_EQ(sound.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
    EXPECT_GT(Peak(sound), 0.05) << index;
    EXPECT_LE(Peak(sound), 1.0) << index;
  }

  // A preset by name sounds as by its index; the same command renders the same bytes.
  const Result named =
      Run({"--preset", "[DRUM]  Heavy Comp", "--length", "0.5", "--out", "named.wav"});
  ASSERT_EQ(named.exitCode, 0) << named.err;
  EXPECT_EQ(ReadText(dir / "named.wav"), ReadText(dir / "preset5.wav"));
}

TEST_F(RenderToolTest, FilesKeepTheirRateChannelsAndFormat) {
  Write(Path("mono.flac"), SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 44100, 1, 22050, 220.0);
  Result result = Run({"mono.flac", "--out", "mono-out.flac", "--block", "100", "--tempo", "95"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  Sound sound = Read(Path("mono-out.flac"));
  EXPECT_EQ(sound.info.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
  EXPECT_EQ(sound.info.channels, 1);
  EXPECT_EQ(sound.info.samplerate, 44100);
  EXPECT_EQ(sound.info.frames, 22050);
  EXPECT_GT(Peak(sound), 0.1);

  // Without --out the result lands beside, named after the input; the extension picks a
  // container, and a side-chain makes the output stereo.
  result = Run({"mono.flac"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(fs::exists(dir / "mono-quorvel.flac"));
  Write(Path("side.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 44100, 2, 30000, 3.0);
  result = Run({"mono.flac", "--sidechain", "side.wav", "--set", "sidechain detector=on", "--out",
                "sc.ogg"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  sound = Read(Path("sc.ogg"));
  EXPECT_EQ(sound.info.format, SF_FORMAT_OGG | SF_FORMAT_VORBIS);
  EXPECT_EQ(sound.info.channels, 2);
  EXPECT_EQ(sound.info.frames, 22050);

  // With every stage and the limiter off only the trim, the high-pass and the output remain.
  result = Run({"mono.flac", "--out", "plain.aiff", "--set", "phaser enable=off", "--set",
                "chorus enable=off", "--set", "brickwall limit=off", "--set", "output=0.5", "--set",
                "input trim=6.0 dB"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  sound = Read(Path("plain.aiff"));
  EXPECT_EQ(sound.info.format & SF_FORMAT_TYPEMASK, SF_FORMAT_AIFF);
  // Measured once the high-pass has settled.
  EXPECT_NEAR(Peak(sound, 11025), 0.5 * 0.5 * std::pow(10.0, 6.0 / 20.0), 0.002);
}

TEST_F(RenderToolTest, MistakesEndWithOneClearLineAndNoOutput) {
  Write(Path("in.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 48000, 2, 4800, 440.0);
  Write(Path("slow.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 22050, 1, 4800, 440.0);
  Write(Path("many.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 48000, 3, 4800, 440.0);
  std::ofstream(Path("junk.wav")) << "not audio";
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"missing.wav", "--out", "o.wav"}, "cannot read 'missing.wav': No such file or directory"},
      {{"junk.wav", "--out", "o.wav"}, "cannot read 'junk.wav'"},
      {{"many.wav", "--out", "o.wav"}, "'many.wav' has 3 channels"},
      {{"--preset", "Nonexistent", "--out", "o.wav"}, "unknown preset 'Nonexistent'"},
      {{"--preset", "27", "--out", "o.wav"}, "unknown preset '27'"},
      {{"--set", "drive=lots", "--out", "o.wav"}, "bad value 'lots' for 'drive' (a number from"},
      {{"--set", "drive=2", "--out", "o.wav"}, "bad value '2' for 'drive'"},
      {{"--set", "drive enable=maybe", "--out", "o.wav"},
       "bad value 'maybe' for 'drive enable' (one of: off, on)"},
      {{"--set", "volume=1", "--out", "o.wav"}, "unknown parameter 'volume'"},
      {{"--set", "drive", "--out", "o.wav"}, "--set expects NAME=TEXT, not 'drive'"},
      {{"--rate", "0", "--out", "o.wav"}, "--rate expects a whole number of hertz"},
      {{"in.wav", "--rate", "44100", "--out", "o.wav"}, "--rate 44100 differs from the 48000 Hz"},
      {{"--block", "-3", "--out", "o.wav"}, "--block expects a whole number of frames"},
      {{"--tempo", "fast", "--out", "o.wav"}, "--tempo expects beats per minute"},
      {{"--length", "0", "--out", "o.wav"}, "--length expects seconds"},
      {{"--out"}, "--out needs a value"},
      {{"--frobnicate"}, "unknown option '--frobnicate'"},
      {{"--list-presets=yes"}, "--list-presets takes no value"},
      {{"in.wav", "in2.wav"}, "more than one input file"},
      {{"--out", "o.xyz"}, "cannot tell the output format from 'o.xyz'"},
      {{"in.wav", "--out", "in.wav"}, "would overwrite the input 'in.wav'"},
      {{"in.wav", "--sidechain", "slow.wav", "--out", "o.wav"}, "the side-chain runs at 22050 Hz"},
      {{"--plugin", "/nonexistent/Quorvel.clap", "--out", "o.wav"}, "cannot load the plug-in"},
  };
  for (const Case& c : cases) {
    const Result result = Run(c.args);
    const std::string label = c.args.front() + (c.args.size() > 1 ? " " + c.args[1] : "");
    EXPECT_NE(result.exitCode, 0) << label;
    EXPECT_EQ(result.err.rfind("quorvel-render: ", 0), 0u) << label << ": " << result.err;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << label << ": " << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1)
        << label << ": " << result.err;
    EXPECT_FALSE(fs::exists(dir / "o.wav")) << label;
  }
  // The refused overwrite left the input as it was.
  EXPECT_EQ(Read(Path("in.wav")).info.frames, 4800);

  const Result help = Run({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("Usage: quorvel-render"), std::string::npos);
}

}  // namespace
