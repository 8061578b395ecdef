#include "host/StateExtension.h"

#include "host/ClapPlugin.h"
#include "host/InstanceCall.h"
#include "host/ThreadGuard.h"

namespace plugkit {
namespace {

constexpr int64_t kReadPiece = 256;
// Far beyond any state this plug-in writes; a stream that never ends is refused here.
constexpr int kMaxStateBytes = 1 << 20;

// [main-thread]
bool Save(const clap_plugin* plugin, const clap_ostream* stream) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_state.save", false);
  if (!stream || !stream->write) return false;
  return CallInstance<ClapPlugin>(plugin, false, [stream](ClapPlugin& self) {
    ByteChunk chunk;
    if (!self.SaveState(chunk)) return false;
    const uint8_t* bytes = chunk.Data();
    uint64_t remaining = static_cast<uint64_t>(chunk.Size());
    while (remaining > 0) {
      const int64_t written = stream->write(stream, bytes, remaining);
      if (written < 1 || static_cast<uint64_t>(written) > remaining) return false;
      bytes += written;
      remaining -= static_cast<uint64_t>(written);
    }
    return true;
  });
}

// [main-thread]
bool Load(const clap_plugin* plugin, const clap_istream* stream) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_state.load", false);
  if (!stream || !stream->read) return false;
  return CallInstance<ClapPlugin>(plugin, false, [stream](ClapPlugin& self) {
    ByteChunk chunk;
    uint8_t piece[kReadPiece];
    int64_t result = 0;
    while ((result = stream->read(stream, piece, sizeof piece)) > 0) {
      // A count beyond what was asked for, or an endless stream, is a broken stream.
      if (result > kReadPiece || chunk.Size() > kMaxStateBytes) return false;
      chunk.PutBytes(piece, static_cast<int>(result));
    }
    if (result < 0 || chunk.Size() == 0) return false;
    // A state of another length is not ours: refused before any value is applied.
    ByteChunk current;
    if (!self.SaveState(current) || chunk.Size() != current.Size()) return false;
    const int position = self.LoadState(chunk, 0);
    if (position < 0 || position != chunk.Size()) return false;
    self.OnStateRestored();
    self.Host().ParamsRescan(CLAP_PARAM_RESCAN_VALUES);
    return true;
  });
}

constexpr clap_plugin_state kState{Save, Load};

}  // namespace

const clap_plugin_state& StateExtension() { return kState; }

}  // namespace plugkit
