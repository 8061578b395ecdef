#include "host/ParamsExtension.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/ClapPlugin.h"
#include "host/ThreadGuard.h"

namespace plugkit {
namespace {

const Param* ParamFor(const clap_plugin* plugin, clap_id id) {
  ClapPlugin* self = ClapPlugin::FromClap(plugin);
  if (!self || id >= static_cast<clap_id>(self->ParamCount())) return nullptr;
  return self->ParamAt(static_cast<int>(id));
}

bool IsDouble(const Param& param) { return param.Type() == ParamType::Double; }

void CopyText(char* destination, size_t room, const char* text) {
  std::strncpy(destination, text, room - 1);
  destination[room - 1] = '\0';
}

// True when a display text of the parameter is exactly this text.
bool IsDisplayText(const Param& param, const char* text) {
  double value = 0.0;
  std::string entry;
  for (int i = 0; param.DisplayTextAt(i, value, entry); ++i) {
    if (entry == text) return true;
  }
  return false;
}

// [main-thread]
uint32_t Count(const clap_plugin* plugin) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_params.count", 0);
  ClapPlugin* self = ClapPlugin::FromClap(plugin);
  return self ? static_cast<uint32_t>(self->ParamCount()) : 0;
}

// [main-thread]
bool GetInfo(const clap_plugin* plugin, uint32_t index, clap_param_info* info) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_params.get_info", false);
  const Param* param = ParamFor(plugin, index);
  if (!param || !info) return false;
  *info = clap_param_info{};
  info->id = index;
  info->cookie = nullptr;
  info->flags = CLAP_PARAM_REQUIRES_PROCESS;
  if (!param->HasFlag(Param::NotAutomatable)) info->flags |= CLAP_PARAM_IS_AUTOMATABLE;
  if (!IsDouble(*param)) info->flags |= CLAP_PARAM_IS_STEPPED;
  CopyText(info->name, sizeof info->name, param->Name());
  CopyText(info->module, sizeof info->module, param->Group());
  if (IsDouble(*param)) {
    info->min_value = 0.0;
    info->max_value = 1.0;
    info->default_value = param->DefaultValue(true);
  } else {
    info->min_value = param->Min();
    info->max_value = param->Max();
    info->default_value = param->DefaultValue(false);
  }
  return true;
}

// [main-thread]
bool GetValue(const clap_plugin* plugin, clap_id id, double* out) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_params.get_value", false);
  const Param* param = ParamFor(plugin, id);
  if (!param || !out) return false;
  *out = IsDouble(*param) ? param->GetNormalizedValue() : param->GetPlain();
  return true;
}

bool FormatForHost(const Param& param, double value, char* display, uint32_t size) {
  std::string text;
  if (IsDouble(param)) {
    const double normalized = param.Normalize(param.Clamp(param.Denormalize(value)));
    param.FormatValue(normalized, true, text, true);
  } else {
    param.FormatValue(param.Clamp(value), false, text, true);
  }
  const char* label = param.UnitLabel();
  if (label[0] != '\0') {
    text += ' ';
    text += label;
  }
  // Nothing is cut: a text that does not fit is refused.
  if (text.size() >= size) return false;
  std::memcpy(display, text.c_str(), text.size() + 1);
  return true;
}

// [main-thread]
bool ValueToText(const clap_plugin* plugin, clap_id id, double value, char* display,
                 uint32_t size) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_params.value_to_text", false);
  const Param* param = ParamFor(plugin, id);
  if (!param || !display || size == 0 || !std::isfinite(value)) return false;
  try {
    return FormatForHost(*param, value, display, size);
  } catch (...) {
    return false;
  }
}

// [main-thread]
bool TextToValue(const clap_plugin* plugin, clap_id id, const char* display, double* out) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_params.text_to_value", false);
  const Param* param = ParamFor(plugin, id);
  if (!param || !display || !out) return false;
  double value = 0.0;
  try {
    // "nan" and "inf" would otherwise become the top or the bottom of the range.
    if (!IsDisplayText(*param, display) && !std::isfinite(std::strtod(display, nullptr))) {
      return false;
    }
    value = param->ParseText(display);
  } catch (...) {
    return false;
  }
  if (!std::isfinite(value)) return false;
  if (IsDouble(*param)) value = param->Normalize(value);
  *out = value;
  return true;
}

// [active ? audio-thread : main-thread]
void Flush(const clap_plugin* plugin, const clap_input_events* in, const clap_output_events* out) {
  ClapPlugin* self = ClapPlugin::FromClap(plugin);
  if (!self) return;
  // Hosts also flush an active instance on the main thread between processing runs; only a
  // flush that could meet a process call is refused.
  PLUGKIT_THREAD_GUARD(plugin, self->IsProcessing() ? ThreadRule::Audio : ThreadRule::MainOrAudio,
                       "clap_plugin_params.flush");
  self->ApplyInputEvents(in);
  self->SendParamsToHost(out);
}

constexpr clap_plugin_params kParams{Count, GetInfo, GetValue, ValueToText, TextToValue, Flush};

}  // namespace

const clap_plugin_params& ParamsExtension() { return kParams; }

}  // namespace plugkit
