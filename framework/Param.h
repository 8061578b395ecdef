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
    explicit ShapePowCurve(double exponent) : exponent_(exponent) {}
    std::unique_ptr<Shape> Clone() const override;
    double PlainFromNormal(double x, const Param& param) const override;
    double NormalFromPlain(double v, const Param& param) const override;
    double Exponent() const { return exponent_; }

   private:
    double exponent_;
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
  double GetPlain() const { return value_.load(std::memory_order_relaxed); }
  double GetNormalizedValue() const { return Normalize(GetPlain()); }
  double DefaultValue(bool normalized = false) const;

  // The text of the first entry whose value equals v exactly, "" if none.
  const char* DisplayTextFor(double v) const;
  int DisplayTextCount() const { return static_cast<int>(displayTexts_.size()); }
  // Entry i of the display texts in insertion order; false when i is outside the list.
  bool DisplayTextAt(int i, double& value, std::string& text) const;

  // [main-thread] Text for v (normalized when isNormalized), at most 32 characters.
  void FormatValue(double v, bool isNormalized, std::string& out,
                   bool useDisplayTexts = true) const;
  std::string FormatValue(double v, bool isNormalized, bool useDisplayTexts = true) const;
  // [main-thread] Plain value for a text; display texts match exactly and case-sensitively.
  double ParseText(const char* text) const;
  // "" while the current value has a non-empty display text, otherwise the label.
  const char* UnitLabel() const;

  ParamType Type() const { return type_; }
  int UnitCode() const { return unitCode_; }
  double Min() const { return min_; }
  double Max() const { return max_; }
  double Step() const { return step_; }
  int Precision() const { return precision_; }
  int Flags() const { return flags_; }
  bool HasFlag(int flag) const { return (flags_ & flag) != 0; }
  const char* Name() const { return name_.c_str(); }
  const char* Label() const { return label_.c_str(); }
  const char* Group() const { return group_.c_str(); }
  const Shape& GetShape() const { return *shape_; }

 private:
  struct DisplayText {
    double value;
    std::string text;
  };

  ParamType type_ = ParamType::None;
  int unitCode_ = kDefaultUnitCode;
  std::atomic<double> value_{0.0};
  double min_ = 0.0;
  double max_ = 1.0;
  double step_ = 1.0;
  double default_ = 0.0;
  int precision_ = 0;
  int flags_ = 0;
  std::string name_;
  std::string label_;
  std::string group_;
  std::unique_ptr<Shape> shape_;
  FormatHook formatHook_;
  ParseHook parseHook_;
  std::vector<DisplayText> displayTexts_;
};

}  // namespace plugkit
