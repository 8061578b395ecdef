// Parameters, state and preset loading through the extensions a host uses.

#include <algorithm>
#include <cmath>
#include <random>
#include <regex>
#include <vector>

#include "tests/integration/QuorvelHarness.h"
#include "tools/clap-host/MemoryStreams.h"

namespace quorvelTest {
namespace {

std::string ToText(const clap_plugin_params& params, const clap_plugin* plugin, clap_id id,
                   double value) {
  char text[CLAP_NAME_SIZE] = {};
  if (!params.value_to_text(plugin, id, value, text, sizeof text)) return "(refused)";
  return text;
}

TEST_F(QuorvelTest, ParameterInfoShowsDoublesNormalizedAndOtherKindsPlain) {
  Host host;
  auto instance = Create(host);
  ASSERT_TRUE(instance);
  const auto& params = RequireExtension<clap_plugin_params>(*instance, CLAP_EXT_PARAMS);
  const clap_plugin* plugin = instance->Plugin();
  ASSERT_EQ(params.count(plugin), 60u);
  for (uint32_t i = 0; i < 60; ++i) {
    clap_param_info info{};
    ASSERT_TRUE(params.get_info(plugin, i, &info));
    EXPECT_EQ(info.id, i);
    EXPECT_EQ(info.cookie, nullptr);
    EXPECT_NE(info.name[0], '\0');
    EXPECT_EQ(info.module[0], '\0');
    EXPECT_TRUE(info.flags & CLAP_PARAM_REQUIRES_PROCESS);
    EXPECT_TRUE(info.flags & CLAP_PARAM_IS_AUTOMATABLE);
    EXPECT_LE(info.min_value, info.default_value);
    EXPECT_LE(info.default_value, info.max_value);
    double value = -1.0;
    ASSERT_TRUE(params.get_value(plugin, i, &value));
    EXPECT_DOUBLE_EQ(value, info.default_value) << info.name;
  }
  clap_param_info info{};
  ASSERT_TRUE(params.get_info(plugin, kCutoffFrequency, &info));
  EXPECT_EQ(info.min_value, 0.0);
  EXPECT_EQ(info.max_value, 1.0);
  EXPECT_DOUBLE_EQ(info.default_value, 1.0);
  EXPECT_FALSE(info.flags & CLAP_PARAM_IS_STEPPED);
  ASSERT_TRUE(params.get_info(plugin, kCutoffModSource, &info));
  EXPECT_EQ(info.min_value, 0.0);
  EXPECT_EQ(info.max_value, 4.0);
  EXPECT_EQ(info.default_value, 2.0);
  EXPECT_TRUE(info.flags & CLAP_PARAM_IS_STEPPED);

  EXPECT_FALSE(params.get_info(plugin, 60, &info));
  EXPECT_FALSE(params.get_info(plugin, 0, nullptr));
  double value = 0.0;
  EXPECT_FALSE(params.get_value(plugin, 60, &value));
  EXPECT_FALSE(params.get_value(plugin, CLAP_INVALID_ID, &value));
  EXPECT_FALSE(params.get_value(plugin, 0, nullptr));
}

// Fixed points, random values and values a hair either side of zero: each text reads back to
// the same text, and none shows a negative zero.
TEST_F(QuorvelTest, ValueTextValueRoundTripsForEveryParameter) {
  Host host;
  auto instance = Create(host);
  ASSERT_TRUE(instance);
  const auto& params = RequireExtension<clap_plugin_params>(*instance, CLAP_EXT_PARAMS);
  const clap_plugin* plugin = instance->Plugin();
  const std::regex negativeZero("^-0([.,]0*)?( .*)?$");
  std::mt19937 random(24);
  for (uint32_t i = 0; i < 60; ++i) {
    clap_param_info info{};
    ASSERT_TRUE(params.get_info(plugin, i, &info));
    const double span = info.max_value - info.min_value;
    std::vector<double> values;
    for (const double fraction : {0.0, 0.1, 0.25, 0.5, 0.77, 1.0})
      values.push_back(info.min_value + fraction * span);
    std::uniform_real_distribution<double> anywhere(info.min_value, info.max_value);
    for (int n = 0; n < 300; ++n) values.push_back(anywhere(random));
    double zero = 0.0;
    if (params.text_to_value(plugin, i, "0", &zero)) {
      for (const double offset : {-1e-3, -1e-6, -1e-9, 1e-9, 1e-6})
        values.push_back(std::clamp(zero + offset * span, info.min_value, info.max_value));
    }
    for (double value : values) {
      if (info.flags & CLAP_PARAM_IS_STEPPED) value = std::round(value);
      const std::string text = ToText(params, plugin, i, value);
      ASSERT_NE(text, "(refused)") << info.name << " at " << value;
      EXPECT_FALSE(std::regex_match(text, negativeZero)) << info.name << " '" << text << "'";
      double parsed = -1.0;
      ASSERT_TRUE(params.text_to_value(plugin, i, text.c_str(), &parsed)) << text;
      EXPECT_EQ(ToText(params, plugin, i, parsed), text) << info.name << " at " << value;
      if (info.flags & CLAP_PARAM_IS_STEPPED) {
        EXPECT_EQ(parsed, value) << info.name << " '" << text << "'";
      }
    }
  }
}

TEST_F(QuorvelTest, TextConversionsRefuseWhatTheyCannotRepresent) {
  Host host;
  auto instance = Create(host);
  ASSERT_TRUE(instance);
  const auto& params = RequireExtension<clap_plugin_params>(*instance, CLAP_EXT_PARAMS);
  const clap_plugin* plugin = instance->Plugin();

  const std::string trim = ToText(params, plugin, kInputTrim, 0.25);
  EXPECT_EQ(trim, "0.0 dB");
  char exact[6];
  EXPECT_FALSE(params.value_to_text(plugin, kInputTrim, 0.25, exact, sizeof exact))
      << "no room for the terminator";
  char roomy[7];
  EXPECT_TRUE(params.value_to_text(plugin, kInputTrim, 0.25, roomy, sizeof roomy));
  EXPECT_STREQ(roomy, "0.0 dB");
  EXPECT_EQ(ToText(params, plugin, kLfo1Shape, 3.0), "saw") << "display texts carry no label";
  EXPECT_EQ(ToText(params, plugin, kLfo1Shape, 9.0), "square") << "clamped to the range";

  for (const double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
    EXPECT_EQ(ToText(params, plugin, kInputTrim, bad), "(refused)");
    EXPECT_EQ(ToText(params, plugin, kLfo1Shape, bad), "(refused)");
  }
  char text[8];
  EXPECT_FALSE(params.value_to_text(plugin, 60, 0.0, text, sizeof text));
  EXPECT_FALSE(params.value_to_text(plugin, 0, 0.0, nullptr, 8));
  EXPECT_FALSE(params.value_to_text(plugin, 0, 0.0, text, 0));

  double value = 42.0;
  for (const char* bad : {"nan", "inf", "-inf", "INFINITY", " nan"}) {
    EXPECT_FALSE(params.text_to_value(plugin, kInputTrim, bad, &value)) << bad;
  }
  EXPECT_EQ(value, 42.0) << "a refused conversion writes nothing";
  ASSERT_TRUE(params.text_to_value(plugin, kInputTrim, "24 dB", &value));
  EXPECT_DOUBLE_EQ(value, 1.0);
  ASSERT_TRUE(params.text_to_value(plugin, kInputTrim, "1000", &value));
  EXPECT_DOUBLE_EQ(value, 1.0) << "clamped to the range";
  ASSERT_TRUE(params.text_to_value(plugin, kLfo1Shape, "nonlinear", &value));
  EXPECT_EQ(value, 2.0);
  EXPECT_FALSE(params.text_to_value(plugin, 60, "1", &value));
  EXPECT_FALSE(params.text_to_value(plugin, 0, nullptr, &value));
  EXPECT_FALSE(params.text_to_value(plugin, 0, "1", nullptr));
}

TEST_F(QuorvelTest, FlushAppliesParameterEventsWithoutProcessing) {
  Host host;
  auto instance = Create(host);
  ASSERT_TRUE(instance);
  InputEventList in;
  in.Add(clapHost::MakeParamValue(0, kLfo1Rate, 0.5));
  in.Add(clapHost::MakeParamValue(0, kLfo1Shape, 2.6));
  in.Add(clapHost::MakeParamValue(0, 60, 0.5));
  in.Add(clapHost::MakeParamValue(0, CLAP_INVALID_ID, 0.5));
  OutputEventList out;
  ASSERT_TRUE(instance->Flush(in, out));
  EXPECT_DOUBLE_EQ(GetValue(*instance, kLfo1Rate), 0.5);
  EXPECT_DOUBLE_EQ(PlainValue(*instance, kLfo1Rate), 0.25) << "square curve";
  EXPECT_EQ(GetValue(*instance, kLfo1Shape), 3.0) << "rounded to the step";
  EXPECT_EQ(out.Size(), 0u);
}

TEST_F(QuorvelTest, StateSavesAndLoadsThroughStreamsOfAnyPieceSize) {
  Host host;
  auto source = Create(host);
  ASSERT_TRUE(source);
  InputEventList in;
  in.Add(clapHost::MakeParamValue(0, kCutoffFrequency, 0.3));
  in.Add(clapHost::MakeParamValue(0, kLfo1Shape, 4));
  in.Add(clapHost::MakeParamValue(0, kPhaserEnable, 0));
  OutputEventList out;
  source->Flush(in, out);
  const auto saved = source->SaveState();
  ASSERT_TRUE(saved);
  ASSERT_EQ(saved->size(), 480u);

  Host otherHost;
  auto target = Create(otherHost);
  ASSERT_TRUE(target);
  ASSERT_TRUE(target->LoadState(*saved, 17));
  EXPECT_EQ(target->SaveState(23), saved) << "save, load, save is byte-identical";
  EXPECT_DOUBLE_EQ(GetValue(*target, kCutoffFrequency), 0.3);
  EXPECT_EQ(GetValue(*target, kLfo1Shape), 4.0);
  EXPECT_EQ(GetValue(*target, kPhaserEnable), 0.0);
  EXPECT_EQ(otherHost.RescanFlags(), std::vector<uint32_t>{CLAP_PARAM_RESCAN_VALUES});
  ASSERT_TRUE(target->LoadState(*saved, 1));
  EXPECT_EQ(target->SaveState(1), saved);
}

TEST_F(QuorvelTest, StateOfTheWrongLengthOrFromBrokenStreamsIsRefused) {
  Host host;
  auto instance = Create(host);
  ASSERT_TRUE(instance);
  const auto defaults = instance->SaveState();
  ASSERT_TRUE(defaults);

  std::vector<uint8_t> changed = *defaults;
  const double loud = 24.0;
  std::memcpy(changed.data() + kInputTrim * sizeof(double), &loud, sizeof loud);

  std::vector<uint8_t> shorter(changed.begin(), changed.end() - 1);
  EXPECT_FALSE(instance->LoadState(shorter));
  std::vector<uint8_t> longer = changed;
  longer.resize(488, 0);
  EXPECT_FALSE(instance->LoadState(longer));
  EXPECT_FALSE(instance->LoadState({}));
  EXPECT_TRUE(host.RescanFlags().empty());

  const auto& state = RequireExtension<clap_plugin_state>(*instance, CLAP_EXT_STATE);
  clapHost::MemoryInputStream failing(changed, 100);
  failing.SetEndResult(-1);
  EXPECT_FALSE(state.load(instance->Plugin(), failing.Clap()));
  EXPECT_FALSE(state.load(instance->Plugin(), nullptr));
  clap_istream noRead{nullptr, nullptr};
  EXPECT_FALSE(state.load(instance->Plugin(), &noRead));

  for (const int64_t result : {int64_t{0}, int64_t{-5}, int64_t{1000}}) {
    clapHost::MemoryOutputStream broken(64);
    broken.FailAfter(128, result);
    EXPECT_FALSE(state.save(instance->Plugin(), broken.Clap())) << "write result " << result;
  }
  EXPECT_FALSE(state.save(instance->Plugin(), nullptr));
  clap_ostream noWrite{nullptr, nullptr};
  EXPECT_FALSE(state.save(instance->Plugin(), &noWrite));

  // Random bytes: refused or clamped into range, never a value the host cannot show.
  std::mt19937 random(7);
  const auto& params = RequireExtension<clap_plugin_params>(*instance, CLAP_EXT_PARAMS);
  for (int round = 0; round < 20; ++round) {
    std::vector<uint8_t> noise(480);
    for (uint8_t& byte : noise) byte = static_cast<uint8_t>(random());
    instance->LoadState(noise);
    for (uint32_t i = 0; i < 60; ++i) {
      clap_param_info info{};
      params.get_info(instance->Plugin(), i, &info);
      const double value = GetValue(*instance, i);
      EXPECT_TRUE(std::isfinite(value));
      EXPECT_GE(value, info.min_value);
      EXPECT_LE(value, info.max_value);
    }
  }
}

TEST_F(QuorvelTest, AFailedStateLoadLeavesEveryParameterAsItWas) {
  Host host;
  auto instance = Create(host);
  ASSERT_TRUE(instance);
  ASSERT_TRUE(instance->LoadState(*instance->SaveState()));
  const auto before = instance->SaveState();
  ASSERT_TRUE(before);
  const size_t rescans = host.RescanFlags().size();

  // A state that differs from the current one in every parameter except the damaged spot.
  std::vector<uint8_t> other = *before;
  for (size_t i = 0; i < 60; ++i) {
    double value = 0.0;
    std::memcpy(&value, other.data() + i * 8, 8);
    value = value == 0.0 ? 1.0 : value * 0.5;
    std::memcpy(other.data() + i * 8, &value, 8);
  }
  std::vector<uint8_t> withNaN = other;
  const double nan = std::nan("");
  std::memcpy(withNaN.data() + 30 * 8, &nan, 8);
  std::vector<uint8_t> shortBy8(other.begin(), other.end() - 8);
  std::vector<uint8_t> longBy8 = other;
  longBy8.resize(488, 0);

  for (const auto* bad : {&withNaN, &shortBy8, &longBy8}) {
    EXPECT_FALSE(instance->LoadState(*bad)) << bad->size() << " bytes";
    EXPECT_EQ(instance->SaveState(), before) << bad->size() << " bytes";
  }
  EXPECT_EQ(host.RescanFlags().size(), rescans);
}

TEST_F(QuorvelTest, PresetLoadAcceptsOnlyDecimalSlotKeysInsideThePlugin) {
  Host host;
  auto instance = Create(host);
  ASSERT_TRUE(instance);
  const auto& presets = RequireExtension<clap_plugin_preset_load>(*instance, CLAP_EXT_PRESET_LOAD);
  const clap_plugin* plugin = instance->Plugin();

  ASSERT_TRUE(presets.from_location(plugin, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, "1"));
  EXPECT_EQ(GetValue(*instance, kPhaserEnable), 0.0) << "\"Full Bypass\" switches stages off";
  ASSERT_TRUE(presets.from_location(plugin, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, "0"));
  EXPECT_EQ(GetValue(*instance, kPhaserEnable), 1.0) << "\"Empty\" holds the defaults";
  const auto loaded = host.PresetsLoaded();
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(loaded[1].loadKey, "0");
  EXPECT_EQ(loaded[1].locationKind, 1u);
  EXPECT_FALSE(loaded[1].location.has_value());
  EXPECT_EQ(host.RescanFlags().size(), 2u);

  const char* const badKeys[] = {
      "01", "-1", "31", "27", "+1", " 1", "1 ", "1a", "", "2147483648", "99999999999999999999"};
  for (const char* key : badKeys) {
    EXPECT_FALSE(presets.from_location(plugin, 1, nullptr, key)) << "'" << key << "'";
  }
  EXPECT_FALSE(presets.from_location(plugin, CLAP_PRESET_DISCOVERY_LOCATION_FILE, nullptr, "3"));
  EXPECT_FALSE(presets.from_location(plugin, 1, "/tmp/x", "3"));
  EXPECT_FALSE(presets.from_location(plugin, 1, nullptr, nullptr));
  const auto errors = host.PresetLoadErrors();
  ASSERT_EQ(errors.size(), std::size(badKeys) + 3);
  for (const clapHost::PresetLoadReport& error : errors) {
    EXPECT_EQ(error.message, "Unknown factory preset");
    EXPECT_EQ(error.osError, 0);
  }
  EXPECT_EQ(errors[0].loadKey, "01");
  EXPECT_EQ(errors[std::size(badKeys)].locationKind, 0u);
  EXPECT_EQ(host.PresetsLoaded().size(), 2u);
}

TEST_F(QuorvelTest, PresetLoadIsAlsoFoundUnderItsDraftIdentifierOnTheHostSide) {
  clapHost::HostConfig config;
  config.presetLoadDraftOnly = true;
  Host host(config);
  auto instance = Create(host);
  ASSERT_TRUE(instance);
  const auto& presets =
      RequireExtension<clap_plugin_preset_load>(*instance, CLAP_EXT_PRESET_LOAD_COMPAT);
  EXPECT_FALSE(presets.from_location(instance->Plugin(), 1, nullptr, "30"));
  EXPECT_EQ(host.PresetLoadErrors().size(), 1u);
}

}  // namespace
}  // namespace quorvelTest
