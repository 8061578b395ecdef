#pragma once

#include "host/clap/ext/Latency.h"
#include "host/clap/ext/Render.h"
#include "host/clap/ext/Tail.h"
#include "host/clap/ext/TimerSupport.h"

namespace plugkit {

// "clap.latency": the processor's latency in samples.
const clap_plugin_latency& LatencyExtension();
// "clap.tail": the processor's tail; an infinite tail is reported as UINT32_MAX.
const clap_plugin_tail& TailExtension();
// "clap.render": real-time or offline rendering; no hard real-time requirement.
const clap_plugin_render& RenderExtension();
// "clap.timer-support": the host's timers reach the instance's timers here.
const clap_plugin_timer_support& TimerSupportExtension();

}  // namespace plugkit
