#pragma once

#include "host/clap/AbiMacros.h"

CLAP_EXTERN_C_BEGIN

static const CLAP_CONSTEXPR char CLAP_PLUGIN_FEATURE_INSTRUMENT[] = "instrument";
static const CLAP_CONSTEXPR char CLAP_PLUGIN_FEATURE_AUDIO_EFFECT[] = "audio-effect";
static const CLAP_CONSTEXPR char CLAP_PLUGIN_FEATURE_FILTER[] = "filter";
static const CLAP_CONSTEXPR char CLAP_PLUGIN_FEATURE_MONO[] = "mono";
static const CLAP_CONSTEXPR char CLAP_PLUGIN_FEATURE_STEREO[] = "stereo";

CLAP_EXTERN_C_END
