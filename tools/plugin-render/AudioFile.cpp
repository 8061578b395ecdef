#include "tools/plugin-render/AudioFile.h"

#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace quorvelRender {

namespace {

struct SndfileCloser {
  void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndfilePtr = std::unique_ptr<SNDFILE, SndfileCloser>;

constexpr sf_count_t kChunkFrames = 4096;

std::string Lowercase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string Extension(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  return Lowercase(path.substr(dot + 1));
}

// Container and the sample encoding used when the input gives none that fits.
std::optional<std::pair<int, int>> ContainerFor(const std::string& extension) {
  if (extension == "wav") return std::pair{SF_FORMAT_WAV, SF_FORMAT_PCM_24};
  if (extension == "flac") return std::pair{SF_FORMAT_FLAC, SF_FORMAT_PCM_24};
  if (extension == "aif" || extension == "aiff") return std::pair{SF_FORMAT_AIFF, SF_FORMAT_PCM_24};
  if (extension == "ogg" || extension == "oga") return std::pair{SF_FORMAT_OGG, SF_FORMAT_VORBIS};
  return std::nullopt;
}

}  // namespace

std::optional<Audio> ReadAudioFile(const std::string& path, std::string& error) {
  if (access(path.c_str(), R_OK) != 0) {
    error = "cannot read '" + path + "': " + std::strerror(errno);
    return std::nullopt;
  }
  SF_INFO info{};
  SndfilePtr file(sf_open(path.c_str(), SFM_READ, &info));
  if (!file) {
    error = "cannot read '" + path + "': " + sf_strerror(nullptr);
    return std::nullopt;
  }
  if (info.channels < 1 || info.samplerate < 1) {
    error = "'" + path + "' holds no usable audio";
    return std::nullopt;
  }
  Audio audio;
  audio.sampleRate = info.samplerate;
  audio.format = info.format;
  audio.channels.resize(static_cast<size_t>(info.channels));
  const auto channelCount = static_cast<size_t>(info.channels);
  std::vector<double> interleaved(static_cast<size_t>(kChunkFrames) * channelCount);
  for (;;) {
    const sf_count_t got = sf_readf_double(file.get(), interleaved.data(), kChunkFrames);
    if (got <= 0) break;
    for (sf_count_t f = 0; f < got; ++f) {
      for (size_t c = 0; c < channelCount; ++c) {
        audio.channels[c].push_back(interleaved[static_cast<size_t>(f) * channelCount + c]);
      }
    }
  }
  if (sf_error(file.get()) != SF_ERR_NO_ERROR) {
    error = "cannot read '" + path + "': " + sf_strerror(file.get());
    return std::nullopt;
  }
  return audio;
}

std::optional<int> OutputFormat(const std::string& path, const Audio* input, std::string& error) {
  const std::string extension = Extension(path);
  const auto container = ContainerFor(extension);
  if (container) {
    if (input && (input->format & SF_FORMAT_TYPEMASK) == container->first) return input->format;
    return container->first | container->second;
  }
  if (input && input->format != 0) return input->format;
  error = "cannot tell the output format from '" + path + "' (use .wav, .flac, .aiff or .ogg)";
  return std::nullopt;
}

int WithDoubleSamples(int format) { return (format & SF_FORMAT_TYPEMASK) | SF_FORMAT_DOUBLE; }

bool WriteAudioFile(const std::string& path, const Audio& audio, int format, std::string& error) {
  SF_INFO info{};
  info.samplerate = audio.sampleRate;
  info.channels = audio.ChannelCount();
  info.format = format;
  if (!sf_format_check(&info)) {
    error = "cannot write '" + path + "' in that format at " + std::to_string(audio.sampleRate) +
            " Hz with " + std::to_string(audio.ChannelCount()) + " channel(s)";
    return false;
  }
  // Keeps the file type recognisable for libsndfile tools while it is being written.
  const std::string partial = path + ".part";
  SndfilePtr file(sf_open(partial.c_str(), SFM_WRITE, &info));
  if (!file) {
    error = "cannot write '" + path + "': " + sf_strerror(nullptr);
    return false;
  }
  sf_command(file.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);
  const auto channelCount = static_cast<size_t>(info.channels);
  std::vector<double> interleaved(static_cast<size_t>(kChunkFrames) * channelCount);
  const size_t frames = audio.Frames();
  bool written = true;
  for (size_t start = 0; start < frames && written; start += kChunkFrames) {
    const size_t count = std::min(frames - start, static_cast<size_t>(kChunkFrames));
    for (size_t f = 0; f < count; ++f) {
      for (size_t c = 0; c < channelCount; ++c)
        interleaved[f * channelCount + c] = audio.channels[c][start + f];
    }
    written = sf_writef_double(file.get(), interleaved.data(), static_cast<sf_count_t>(count)) ==
              static_cast<sf_count_t>(count);
  }
  if (!written) error = "cannot write '" + path + "': " + sf_strerror(file.get());
  const bool closed = sf_close(file.release()) == 0;
  if (written && !closed) error = "cannot finish '" + path + "'";
  // std::filesystem's rename replaces an existing file on Windows too, where std::rename fails.
  std::error_code moveError;
  if (written && closed) std::filesystem::rename(partial, path, moveError);
  if (!written || !closed || moveError) {
    if (written && closed) error = "cannot move the finished file to '" + path + "'";
    std::filesystem::remove(partial, moveError);
    return false;
  }
  return true;
}

}  // namespace quorvelRender
