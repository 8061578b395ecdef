#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "framework/Param.h"

namespace plugkit {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(ParamTest, DefineDoubleWidensRangeAndDerivesPrecision) {
  Param p;
  EXPECT_EQ(p.Type(), ParamType::None);
  p.DefineDouble("width", 0.0, 0.0, 0.05, 0.1);
  EXPECT_EQ(p.Type(), ParamType::Double);
  EXPECT_DOUBLE_EQ(p.Max(), 0.1);

  const struct {
    double step;
    int precision;
  } cases[] = {{1, 0}, {0.1, 1}, {0.01, 2}, {0.25, 2}, {1.0 / 3.0, 6}, {1e-9, 6}};
  for (const auto& c : cases) {
    Param q;
    q.DefineDouble("q", 0, 0, 100, c.step);
    EXPECT_EQ(q.Precision(), c.precision) << "step " << c.step;
  }
}

TEST(ParamTest, OutermostDefineDecidesKindAndStepping) {
  Param i, e, b;
  i.DefineInt("i", 2, 0, 4);
  e.DefineEnum("e", 1, 3, "", 0, "", {"a", "b", "c"});
  b.DefineBool("b", true);
  EXPECT_EQ(i.Type(), ParamType::Int);
  EXPECT_EQ(e.Type(), ParamType::Enum);
  EXPECT_EQ(b.Type(), ParamType::Bool);
  for (const Param* p : {&i, &e, &b}) {
    EXPECT_TRUE(p->HasFlag(Param::Stepped));
    EXPECT_EQ(p->UnitCode(), Param::kDefaultUnitCode);
  }
  EXPECT_EQ(e.DisplayTextCount(), 3);
  EXPECT_DOUBLE_EQ(e.Max(), 2);
  EXPECT_EQ(b.DisplayTextCount(), 2);
  EXPECT_DOUBLE_EQ(b.GetPlain(), 1);
}

TEST(ParamTest, ClampStepsHalfAwayFromZeroThenLimits) {
  Param p;
  p.DefineInt("steps", 0, 0, 5);
  EXPECT_EQ(p.Clamp(2.5), 3);
  EXPECT_EQ(p.Clamp(-0.5), 0);
  EXPECT_EQ(p.Clamp(7), 5);
  EXPECT_EQ(p.Clamp(kInf), 5);
  EXPECT_EQ(p.Clamp(-kInf), 0);

  Param b;
  b.DefineBool("b", false);
  EXPECT_EQ(b.Clamp(1.5), 1);  // rounds to 2 first, then limited
}

TEST(ParamTest, SetPlainIgnoresNaNAndClampsInfinities) {
  Param p;
  p.DefineDouble("gain", 0.5, -8, 24, 0.1, "dB");
  p.SetPlain(3.25);
  p.SetPlain(kNaN);
  EXPECT_EQ(p.GetPlain(), 3.25);
  p.SetNormalizedValue(kNaN);
  EXPECT_EQ(p.GetPlain(), 3.25);
  p.SetPlain(kInf);
  EXPECT_EQ(p.GetPlain(), 24);
  p.SetPlain(-kInf);
  EXPECT_EQ(p.GetPlain(), -8);
}

TEST(ParamTest, ShapesMapBothWays) {
  Param lin;
  lin.DefineDouble("lin", 0, -1, 1, 0.01);
  EXPECT_DOUBLE_EQ(lin.Denormalize(0.25), -0.5);
  EXPECT_DOUBLE_EQ(lin.Normalize(-0.5), 0.25);
  EXPECT_EQ(lin.Normalize(-5), 0);
  EXPECT_EQ(lin.Normalize(5), 1);

  Param curve;
  curve.DefineDouble("freq", 18000, 10, 18000, 1, "Hz", 0, "", Param::ShapePowCurve(2));
  EXPECT_DOUBLE_EQ(curve.Denormalize(0.5), 10 + 0.25 * 17990);
  EXPECT_DOUBLE_EQ(curve.Normalize(10 + 0.25 * 17990), 0.5);
  EXPECT_EQ(curve.DefaultValue(true), 1);
  EXPECT_EQ(curve.DefaultValue(false), 18000);
  EXPECT_EQ(curve.Normalize(1), 0);

  // The shape is copied at definition, not referenced.
  Param::ShapePowCurve shape(4);
  Param copy;
  copy.DefineDouble("c", 10, 10, 18000, 1, "", 0, "", shape);
  const auto* stored = dynamic_cast<const Param::ShapePowCurve*>(&copy.GetShape());
  ASSERT_NE(stored, nullptr);
  EXPECT_NE(stored, &shape);
  EXPECT_EQ(stored->Exponent(), 4);
}

TEST(ParamTest, FormatsNumbers) {
  Param whole;
  whole.DefineDouble("w", 0, -10, 10, 1);
  EXPECT_EQ(whole.FormatValue(-2.5, false), "-3");
  EXPECT_EQ(whole.FormatValue(2.5, false), "3");
  EXPECT_EQ(whole.FormatValue(-0.0, false), "0");
  // Saturates instead of overflowing the integer conversion.
  EXPECT_EQ(whole.FormatValue(1e300, false), "2147483647");
  EXPECT_EQ(whole.FormatValue(-kInf, false), "-2147483648");
  EXPECT_EQ(whole.FormatValue(kNaN, false), "0");

  Param negated;
  negated.DefineDouble("n", 0, -10, 10, 0.1, "", Param::DisplayNegated);
  EXPECT_EQ(negated.FormatValue(0, false), "0.0");
  EXPECT_EQ(negated.FormatValue(2.5, false), "-2.5");
  EXPECT_DOUBLE_EQ(negated.ParseText("2.5"), -2.5);

  Param signedParam;
  signedParam.DefineDouble("s", 0, -10, 10, 0.1, "", Param::DisplaySigned);
  EXPECT_EQ(signedParam.FormatValue(1.5, false), "+1.5");
  EXPECT_EQ(signedParam.FormatValue(-1.5, false), "-1.5");
  EXPECT_EQ(signedParam.FormatValue(0, false), "0.0");

  Param huge;
  huge.DefineDouble("h", 0, 0, 1e300, 0.000001);
  EXPECT_EQ(huge.FormatValue(1e300, false).size(), size_t{Param::kMaxFormattedLength});

  Param normalized;
  normalized.DefineDouble("x", 0, 10, 18000, 1, "", 0, "", Param::ShapePowCurve(2));
  EXPECT_EQ(normalized.FormatValue(1.0, true), "18000");
  EXPECT_EQ(normalized.FormatValue(2.0, true), "18000");  // clamped after mapping
}

TEST(ParamTest, DisplayTextsFormatAndParse) {
  Param b;
  b.DefineBool("switch", false, "", 0, "", "off", "on");
  EXPECT_EQ(b.FormatValue(1, false), "on");
  EXPECT_EQ(b.FormatValue(1, false, false), "1");
  EXPECT_EQ(b.ParseText("on"), 1);
  EXPECT_EQ(b.ParseText("ON"), 0);
  EXPECT_EQ(b.ParseText("1"), 0);
  EXPECT_EQ(b.ParseText(nullptr), 0);

  Param e;
  e.DefineEnum("mode", 0, 3, "unit");
  e.AddDisplayText(2, "two");
  e.AddDisplayText(0, "");
  e.AddDisplayText(2, "second two");
  EXPECT_EQ(e.FormatValue(2, false), "two");  // first entry wins
  EXPECT_EQ(e.FormatValue(0, false), "0");    // an empty text falls through to the number
  EXPECT_STREQ(e.DisplayTextFor(2), "two");
  EXPECT_STREQ(e.DisplayTextFor(1), "");
  EXPECT_EQ(e.ParseText("second two"), 2);

  EXPECT_STREQ(e.UnitLabel(), "unit");  // current value 0 has only an empty text
  e.SetPlain(2);
  EXPECT_STREQ(e.UnitLabel(), "");

  Param cut;
  cut.DefineDouble(std::string(300, 'n').c_str(), 0, 0, 1, 0.1, std::string(40, 'l').c_str());
  cut.AddDisplayText(0.5, std::string(40, 't').c_str());
  EXPECT_EQ(std::string(cut.Name()).size(), size_t{Param::kMaxNameLength});
  EXPECT_EQ(std::string(cut.Label()).size(), size_t{Param::kMaxTextLength});
  EXPECT_EQ(cut.FormatValue(0.5, false).size(), size_t{Param::kMaxTextLength});
}

TEST(ParamTest, ParsesLeadingNumberAndClamps) {
  Param p;
  p.DefineDouble("gain", 0, -24, 0, 0.1, "dB");
  EXPECT_DOUBLE_EQ(p.ParseText("-12.5 dB"), -12.5);
  EXPECT_DOUBLE_EQ(p.ParseText("-99"), -24);
  EXPECT_DOUBLE_EQ(p.ParseText("loud"), 0);
  EXPECT_TRUE(std::isnan(p.ParseText("nan")));  // SetPlain keeps the value for it

  Param hooked;
  hooked.DefineDouble(
      "h", 0, 0, 10, 1, "", 0, "", Param::ShapeLinear(), 21,
      [](double v, std::string& out) { out = "v=" + std::to_string(int(v)); },
      [](const char*) { return 42.0; });
  EXPECT_EQ(hooked.FormatValue(3, false), "v=3");
  EXPECT_EQ(hooked.ParseText("anything"), 10);
}

}  // namespace
}  // namespace plugkit
