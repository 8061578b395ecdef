#pragma once

#include <atomic>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace plugkit {

enum class ParamType : int { None = 0, Bool = 1, Int = 2, Enum = 3, Double = 4 };

// One automatable parameter: range, step, default, display texts and the shape mapping the
// plain value to [0, 1]. Everything but the value is written only during construction; the
// value is atomic because the audio thread and the main thread both write it.
class Param {
 public:
  enum Flags : int {
    NotAutomatable = 1,
    Stepped = 2,         // Clamp snaps to multiples of the step
    DisplayNegated = 4,  // shown and parsed negated
    DisplaySigned = 8,   // non-zero values shown with an explicit sign
  };

  // Labels, groups and display texts. Names get more room: hosts show them whole, and
  // "phaser frequency 1 modulation strength" must not collapse into its source's name.
  static constexpr int kMaxTextLength = 31;
  static constexpr int kMaxNameLength = 255;
  static constexpr int kMaxFormattedLength = 32;
  static constexpr int kDefaultUnitCode = 21;

  // Normalization curve between plain and normalized values.
  class Shape {
   public:
    virtual ~Shape() = default;
    virtual std::unique_ptr<Shape> Clone() const = 0;
    virtual void Attach(const Param&) {}
    virtual double PlainFromNormal(double x, const Param& param) const = 0;
    virtual double NormalFromPlain(double v, const Param& param) const = 0;
  };

  class ShapeLinear final : public Shape {
   public:
    std::unique_ptr<Shape> Clone() const override;
    double PlainFromNormal(double x, const Param& param) const override;
    double NormalFromPlain(double v, const Param& param) const override;
  };

  // An exponent above 1 gives the low end of the range more control travel.
  class ShapePowCurve final : public Shape {
   public:
    explicit ShapePowCurve(double exponent) : mExponent(exponent) {}
    std::unique_ptr<Shape> Clone() const override;
    double PlainFromNormal(double x, const Param& param) const override;
    double NormalFromPlain(double v, const Param& param) const override;
    double Exponent() const { return mExponent; }

   private:
    double mExponent;
  };

  using FormatHook = std::function<void(double plain, std::string& out)>;
  using ParseHook = std::function<double(const char* text)>;

  Param();
  Param(const Param&) = delete;
  Param& operator=(const Param&) = delete;

  // Each Define sets the kind only while it is still None, so the outermost call decides.
  void DefineDouble(const char* name, double defaultValue, double min, double max, double step,
                    const char* label = "", int flags = 0, const char* group = "",
                    const Shape& shape = ShapeLinear(), int unitCode = kDefaultUnitCode,
                    FormatHook formatHook = {}, ParseHook parseHook = {});
  void DefineInt(const char* name, int defaultValue, int min, int max, const char* label = "",
                 int flags = 0, const char* group = "");
  // Texts, when given, label the values 0, 1, ... in order.
  void DefineEnum(const char* name, int defaultValue, int count, const char* label = "",
                  int flags = 0, const char* group = "",
                  std::initializer_list<const char*> texts = {});
  void DefineBool(const char* name, bool defaultValue, const char* label = "", int flags = 0,
                  const char* group = "", const char* offText = "off", const char* onText = "on");
  void AddDisplayText(double value, const char* text);

  // [thread-safe] Snaps to the step (when Stepped) and limits to the range. NaN passes
  // through; SetPlain is the guard against it.
  double Clamp(double v) const;
  double Normalize(double v) const;
  double Denormalize(double x) const;

  // [thread-safe] A NaN keeps the current value; infinities clamp to the range.
  void SetPlain(double v);
  void SetNormalizedValue(double x) { SetPlain(Denormalize(x)); }
  double GetPlain() const { return mValue.load(std::memory_order_relaxed); }
  double GetNormalizedValue() const { return Normalize(GetPlain()); }
  double DefaultValue(bool normalized = false) const;

  // The text of the first entry whose value equals v exactly, "" if none.
  const char* DisplayTextFor(double v) const;
  int DisplayTextCount() const { return static_cast<int>(mDisplayTexts.size()); }
  // Entry i of the display texts in insertion order; false when i is outside the list.
  bool DisplayTextAt(int i, double& value, std::string& text) const;

  // [main-thread] Text for v (normalized when isNormalized), at most 32 characters.
  void FormatValue(double v, bool isNormalized, std::string& out, bool useDisplayTexts = true) const;
  std::string FormatValue(double v, bool isNormalized, bool useDisplayTexts = true) const;
  // [main-thread] Plain value for a text; display texts match exactly and case-sensitively.
  double ParseText(const char* text) const;
  // "" while the current value has a non-empty display text, otherwise the label.
  const char* UnitLabel() const;

  ParamType Type() const { return mType; }
  int UnitCode() const { return mUnitCode; }
  double Min() const { return mMin; }
  double Max() const { return mMax; }
  double Step() const { return mStep; }
  int Precision() const { return mPrecision; }
  int Flags() const { return mFlags; }
  bool HasFlag(int flag) const { return (mFlags & flag) != 0; }
  const char* Name() const { return mName.c_str(); }
  const char* Label() const { return mLabel.c_str(); }
  const char* Group() const { return mGroup.c_str(); }
  const Shape& GetShape() const { return *mShape; }

 private:
  struct DisplayText {
    double value;
    std::string text;
  };

  ParamType mType = ParamType::None;
  int mUnitCode = kDefaultUnitCode;
  std::atomic<double> mValue{0.0};
  double mMin = 0.0;
  double mMax = 1.0;
  double mStep = 1.0;
  double mDefault = 0.0;
  int mPrecision = 0;
  int mFlags = 0;
  std::string mName;
  std::string mLabel;
  std::string mGroup;
  std::unique_ptr<Shape> mShape;
  FormatHook mFormatHook;
  ParseHook mParseHook;
  std::vector<DisplayText> mDisplayTexts;
};

}  // namespace plugkit
