#include "effect/SoftClip.h"

namespace quorvel {

void SoftClipBlock(double* samples, int count) {
  for (int i = 0; i < count; ++i) samples[i] = SoftClip(samples[i]);
}

}  // namespace quorvel
