#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "effect/QuorvelParameters.h"
#include "framework/EditorDelegateBase.h"

namespace quorvel {
namespace {

using plugkit::Param;
using plugkit::ParamType;

struct Expected {
  const char* name;
  ParamType type;
  double min, max, defaultValue, step;
  const char* label;
  double exponent;  // 0 for a linear shape
};

constexpr ParamType B = ParamType::Bool;
constexpr ParamType E = ParamType::Enum;
constexpr ParamType D = ParamType::Double;

// The host-visible definition of every parameter, in index order.
const Expected kExpected[kParamCount] = {
    {"sidechain detector", B, 0, 1, 0, 1, "", 0},
    {"input trim", D, -8, 24, 0, 0.1, "dB", 0},
    {"LFO 1 rate", D, 0, 1, 0.5, 0.01, "", 2},
    {"LFO 2 rate", D, 0, 1, 0.2, 0.01, "", 2},
    {"LFO 1 tempo sync", B, 0, 1, 0, 1, "", 0},
    {"LFO 2 tempo sync", B, 0, 1, 0, 1, "", 0},
    {"LFO 1 shape", E, 0, 4, 1, 1, "", 0},
    {"LFO 2 shape", E, 0, 4, 1, 1, "", 0},
    {"envelope follower speed", D, 0, 1, 0.25, 0.01, "", 0},
    {"envelope follower floor", D, -24, 0, -18, 0.01, "dB", 0},
    {"envelope follower ceiling", D, -24, 0, -3, 0.01, "dB", 0},
    {"ADSR gate on threshold", D, -24, 0, -12, 0.01, "dB", 0},
    {"ADSR gate hysteresis", D, 0, 18, 3, 0.01, "dB", 0},
    {"ADSR gate hold", D, 0, 500, 0, 1, "ms", 0},
    {"ADSR attack", D, 0, 1, 0.06666666666667, 0.01, "", 2.5},
    {"ADSR decay", D, 0, 1, 0.16666666666667, 0.01, "", 2.5},
    {"ADSR sustain", D, 0, 1, 0.75, 0.01, "", 0},
    {"ADSR release", D, 0, 1, 0.08333333333333, 0.01, "", 2.5},
    {"cutoff filter enable", B, 0, 1, 0, 1, "", 0},
    {"cutoff filter shape", E, 0, 2, 0, 1, "", 0},
    {"cutoff filter modulation source", E, 0, 4, 2, 1, "", 0},
    {"cutoff filter modulation strength", D, -1, 1, 0, 0.01, "", 0},
    {"cutoff filter frequency", D, 10, 18000, 18000, 1, "Hz", 2.5},
    {"resonance", D, 0, 1, 0, 0.01, "", 2},
    {"high pass frequency", D, 10, 18000, 10, 1, "Hz", 4},
    {"drive enable", B, 0, 1, 0, 1, "", 0},
    {"drive modulation source", E, 0, 4, 2, 1, "", 0},
    {"drive modulation strength", D, -1, 1, 0, 0.01, "", 0},
    {"drive", D, 0, 1, 0, 0.01, "", 0},
    {"drive feedback", B, 0, 1, 1, 1, "", 0},
    {"phaser enable", B, 0, 1, 1, 1, "", 0},
    {"phaser wet modulation source", E, 0, 4, 2, 1, "", 0},
    {"phaser wet modulation strength", D, -1, 1, 0, 0.01, "", 0},
    {"phaser wet", D, 0, 1, 1, 0.01, "", 0},
    {"phaser frequency 1 modulation source", E, 0, 4, 4, 1, "", 0},
    {"phaser frequency 1 modulation strength", D, -1, 1, 1, 0.01, "", 0},
    {"phaser frequency 1", D, 10, 18000, 3400, 1, "Hz", 2.5},
    {"phaser frequency 2 modulation source", E, 0, 4, 4, 1, "", 0},
    {"phaser frequency 2 modulation strength", D, -1, 1, 1, 0.01, "", 0},
    {"phaser frequency 2", D, 10, 18000, 110, 1, "Hz", 2.5},
    {"phaser frequency 3 modulation source", E, 0, 4, 4, 1, "", 0},
    {"phaser frequency 3 modulation strength", D, -1, 1, 1, 0.01, "", 0},
    {"phaser frequency 3", D, 10, 18000, 12000, 1, "Hz", 2.5},
    {"phaser feedback", D, 0, 1, 0.7, 0.01, "", 0},
    {"phaser super stereo", B, 0, 1, 1, 1, "", 0},
    {"chorus enable", B, 0, 1, 1, 1, "", 0},
    {"chorus wet modulation source", E, 0, 4, 2, 1, "", 0},
    {"chorus wet modulation strength", D, -1, 1, 0, 0.01, "", 0},
    {"chorus wet", D, 0, 1, 1, 0.01, "", 0},
    {"chorus delay modulation source", E, 0, 4, 2, 1, "", 0},
    {"chorus delay modulation strength", D, -1, 1, 0, 0.01, "", 0},
    {"chorus delay", D, 0, 1, 0.25, 0.01, "", 1.5},
    {"chorus spread", D, 0, 1, 1, 0.01, "", 0},
    {"chorus super stereo", B, 0, 1, 1, 1, "", 0},
    {"output modulation source", E, 0, 4, 2, 1, "", 0},
    {"output modulation strength", D, -1, 1, 0, 0.01, "", 0},
    {"output", D, 0, 2, 1, 0.01, "", 0},
    {"motorized knobs", B, 0, 1, 0, 1, "", 0},
    {"brickwall limit", B, 0, 1, 1, 1, "", 0},
    {"unused", B, 0, 1, 0, 1, "", 0},
};

class ParametersTest : public ::testing::Test {
 protected:
  ParametersTest() { DefineParameters(params); }
  const Param& At(ParamIndex index) const { return *params.ParamAt(ToIndex(index)); }

  plugkit::EditorDelegateBase params{kParamCount};
};

TEST_F(ParametersTest, EveryParameterMatchesItsDefinition) {
  for (int i = 0; i < kParamCount; ++i) {
    SCOPED_TRACE(i);
    const Param& p = *params.ParamAt(i);
    const Expected& e = kExpected[i];
    EXPECT_STREQ(p.Name(), e.name);
    EXPECT_EQ(p.Type(), e.type);
    EXPECT_EQ(p.Min(), e.min);
    EXPECT_EQ(p.Max(), e.max);
    EXPECT_EQ(p.DefaultValue(), e.defaultValue);
    EXPECT_EQ(p.GetPlain(), e.defaultValue);
    EXPECT_EQ(p.Step(), e.step);
    EXPECT_STREQ(p.Label(), e.label);
    EXPECT_STREQ(p.Group(), "");
    EXPECT_EQ(p.UnitCode(), 21);
    EXPECT_EQ(p.Flags(), e.type == D ? 0 : int{Param::Stepped});
    const auto* curve = dynamic_cast<const Param::ShapePowCurve*>(&p.GetShape());
    if (e.exponent == 0) {
      EXPECT_EQ(curve, nullptr);
    } else {
      ASSERT_NE(curve, nullptr);
      EXPECT_EQ(curve->Exponent(), e.exponent);
    }
    if (e.type == B) {
      EXPECT_STREQ(p.DisplayTextFor(0), "off");
      EXPECT_STREQ(p.DisplayTextFor(1), "on");
    }
  }
}

TEST_F(ParametersTest, DefaultsMinimaAndMaximaSurviveFormatAndParse) {
  for (int i = 0; i < kParamCount; ++i) {
    const Param& p = *params.ParamAt(i);
    for (double v : {p.DefaultValue(), p.Min(), p.Max()}) {
      const std::string text = p.FormatValue(v, false);
      const double parsed = p.ParseText(text.c_str());
      SCOPED_TRACE(std::string(p.Name()) + " '" + text + "'");
      if (p.Type() == D) {
        // Only the shown decimals survive.
        EXPECT_NEAR(parsed, v, 0.5 * std::pow(10.0, -p.Precision()) + 1e-12);
      } else {
        EXPECT_EQ(parsed, v);
        EXPECT_FALSE(text.empty());
        EXPECT_NE(std::string(p.DisplayTextFor(v)), "");
      }
      // The normalized path gives the same text.
      EXPECT_EQ(p.FormatValue(p.Normalize(v), true), text);
    }
  }
  EXPECT_EQ(
      At(ParamIndex::AdsrAttack).FormatValue(At(ParamIndex::AdsrAttack).DefaultValue(), false),
      "0.07");
  EXPECT_EQ(At(ParamIndex::InputTrim).FormatValue(-8, false), "-8.0");
  EXPECT_EQ(At(ParamIndex::InputTrim).FormatValue(24, false), "24.0");
  EXPECT_EQ(At(ParamIndex::CutoffFilterFrequency).FormatValue(1, true), "18000");
  EXPECT_EQ(At(ParamIndex::Lfo1Shape).FormatValue(1, false), "tri");
  EXPECT_EQ(At(ParamIndex::CutoffFilterShape).FormatValue(2, false), "narrow band pass");
}

TEST_F(ParametersTest, NormalizedDefaultsAtTheRangeEnds) {
  EXPECT_EQ(At(ParamIndex::CutoffFilterFrequency).GetNormalizedValue(), 1);
  EXPECT_EQ(At(ParamIndex::HighPassFrequency).GetNormalizedValue(), 0);
  EXPECT_EQ(At(ParamIndex::HighPassFrequency).DefaultValue(true), 0);
}

TEST_F(ParametersTest, ModulationPairsAreNamedAndOrderedConsistently) {
  const char* const listOrder[] = {"no modulation", "ADSR", "env follower", "LFO 1", "LFO 2"};
  const int listValues[] = {2, 1, 3, 0, 4};
  for (const ModulationPair& pair : kModulationPairs) {
    SCOPED_TRACE(pair.target);
    const Param& source = At(pair.source);
    const Param& strength = At(pair.strength);
    EXPECT_EQ(ToIndex(pair.strength), ToIndex(pair.source) + 1);
    EXPECT_EQ(ToIndex(pair.base), ToIndex(pair.source) + 2);
    EXPECT_EQ(std::string(source.Name()), std::string(pair.target) + " modulation source");
    EXPECT_EQ(std::string(strength.Name()), std::string(pair.target) + " modulation strength");
    EXPECT_EQ(source.DefaultValue(), static_cast<int>(pair.defaultSource));
    EXPECT_EQ(strength.DefaultValue(), pair.defaultStrength);
    ASSERT_EQ(source.DisplayTextCount(), 5);
    for (int i = 0; i < 5; ++i) {
      double value = -1;
      std::string text;
      ASSERT_TRUE(source.DisplayTextAt(i, value, text));
      EXPECT_EQ(value, listValues[i]);
      EXPECT_EQ(text, listOrder[i]);
    }
    EXPECT_EQ(source.FormatValue(2, false), "no modulation");
    EXPECT_EQ(source.ParseText("env follower"), 3);
    EXPECT_STREQ(source.UnitLabel(), "");
  }
  EXPECT_EQ(At(ParamIndex::PhaserFrequency1ModSource)
                .FormatValue(At(ParamIndex::PhaserFrequency1ModSource).GetPlain(), false),
            "LFO 2");

  // The LFO shapes list their texts in the order 1, 2, 0, 4, 3.
  double value = -1;
  std::string text;
  ASSERT_TRUE(At(ParamIndex::Lfo2Shape).DisplayTextAt(2, value, text));
  EXPECT_EQ(value, 0);
  EXPECT_EQ(text, "sine");
}

TEST(ParametersDefinitionTest, TooSmallParameterListIsLeftAlone) {
  plugkit::EditorDelegateBase small(10);
  DefineParameters(small);
  EXPECT_EQ(small.ParamAt(0)->Type(), ParamType::None);
}

}  // namespace
}  // namespace quorvel
