#include "tools/quorvel-manual/ProductFacts.h"

#include <glib.h>

#include <stdexcept>

#include "host/clap/ext/Params.h"
#include "tools/plugin-render/PluginRenderer.h"

namespace quorvelManual {

namespace {

std::string TextOf(const clap_plugin_params& params, const clap_plugin* plugin, clap_id id,
                   double value) {
  char text[256] = {};
  if (!params.value_to_text(plugin, id, value, text, sizeof text))
    throw std::runtime_error("value_to_text refused a value of parameter " + std::to_string(id));
  return text;
}

// "18000 Hz" carries the unit "Hz"; "no modulation" carries none.
std::string UnitOf(const std::string& text) {
  const auto blank = text.rfind(' ');
  if (blank == std::string::npos || text.empty()) return "";
  const char first = text[0];
  const bool numeric = (first >= '0' && first <= '9') || first == '-' || first == '.';
  return numeric ? text.substr(blank + 1) : "";
}

}  // namespace

std::optional<ProductFacts> ReadProductFacts(const std::string& modulePath, std::string& error) {
  auto renderer = quorvelRender::PluginRenderer::Open(modulePath, error);
  if (!renderer) return std::nullopt;
  const clap_plugin* plugin = renderer->Instance().Plugin();
  const auto* params = renderer->Instance().GetExtension<clap_plugin_params>(CLAP_EXT_PARAMS);
  if (!params) {
    error = "the module offers no parameters extension";
    return std::nullopt;
  }
  ProductFacts facts;
  try {
    const uint32_t count = params->count(plugin);
    for (uint32_t i = 0; i < count; ++i) {
      clap_param_info info{};
      if (!params->get_info(plugin, i, &info)) {
        error = "get_info failed for parameter " + std::to_string(i);
        return std::nullopt;
      }
      ParameterFact fact;
      fact.id = static_cast<int>(info.id);
      fact.name = info.name;
      fact.stepped = (info.flags & CLAP_PARAM_IS_STEPPED) != 0;
      fact.minText = TextOf(*params, plugin, info.id, info.min_value);
      fact.maxText = TextOf(*params, plugin, info.id, info.max_value);
      fact.defaultText = TextOf(*params, plugin, info.id, info.default_value);
      fact.unit = fact.stepped ? "" : UnitOf(fact.defaultText);
      if (fact.stepped) {
        for (double v = info.min_value; v <= info.max_value; v += 1.0)
          fact.values.push_back(TextOf(*params, plugin, info.id, v));
      }
      facts.parameters.push_back(std::move(fact));
    }
  } catch (const std::exception& e) {
    error = e.what();
    return std::nullopt;
  }
  for (const auto& preset : renderer->Presets()) facts.presets.push_back(preset.name);
  return facts;
}

const ParameterFact& FactNamed(const ProductFacts& facts, const std::string& name) {
  for (const auto& fact : facts.parameters)
    if (fact.name == name) return fact;
  throw std::runtime_error("the module has no parameter named '" + name + "'");
}

}  // namespace quorvelManual

namespace quorvelManual {

std::string Escape(const std::string& text) {
  gchar* escaped = g_markup_escape_text(text.c_str(), -1);
  std::string result = escaped;
  g_free(escaped);
  return result;
}

std::string RangeText(const ParameterFact& fact) {
  if (!fact.stepped) return Escape(fact.minText) + " \xe2\x80\xa6 " + Escape(fact.maxText);
  std::string joined;
  for (const auto& value : fact.values) joined += (joined.empty() ? "" : ", ") + Escape(value);
  return joined;
}

}  // namespace quorvelManual
