#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorvelRender {

// Audio held as one vector of samples per channel, with the libsndfile format it came in
// (0 for audio made here).
struct Audio {
  int sampleRate = 0;
  int format = 0;
  std::vector<std::vector<double>> channels;

  int ChannelCount() const { return static_cast<int>(channels.size()); }
  size_t Frames() const { return channels.empty() ? 0 : channels.front().size(); }
};

// Reads a whole file (WAV, FLAC, AIFF, OGG, or anything else libsndfile reads). Empty, with
// error set, when it cannot.
std::optional<Audio> ReadAudioFile(const std::string& path, std::string& error);

// The libsndfile format for writing to path: from its extension (.wav, .flac, .aif, .aiff,
// .ogg), keeping the input's sample encoding where the container matches; without a known
// extension, the input's own format. Empty, with error set, when neither tells.
std::optional<int> OutputFormat(const std::string& path, const Audio* input, std::string& error);

// The same container with 64-bit floating-point samples (WAV and AIFF have them; writing
// another container with them fails).
int WithDoubleSamples(int format);

// Writes beside path first and renames on success, so a failed write never destroys an
// existing file. Samples beyond full scale are clipped by integer encodings.
bool WriteAudioFile(const std::string& path, const Audio& audio, int format, std::string& error);

}  // namespace quorvelRender
