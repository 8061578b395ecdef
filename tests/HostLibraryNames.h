// The project's host library's names, as the host-side tests use them unqualified.

#pragma once

#include "tools/clap-host/AudioBlock.h"
#include "tools/clap-host/EventLists.h"
#include "tools/clap-host/Host.h"

namespace quorvelTest {

using clapHost::AudioBlock;
using clapHost::Host;
using clapHost::HostConfig;
using clapHost::InputEventList;
using clapHost::Offer;
using clapHost::OutputEventList;
using clapHost::SampleSize;

}  // namespace quorvelTest
