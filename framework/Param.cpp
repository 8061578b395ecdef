#include "framework/Param.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/BoundedText.h"
#include "framework/SaturatingCast.h"

namespace plugkit {

std::unique_ptr<Param::Shape> Param::ShapeLinear::Clone() const {
  return std::make_unique<ShapeLinear>(*this);
}

double Param::ShapeLinear::PlainFromNormal(double x, const Param& param) const {
  return param.Min() + (param.Max() - param.Min()) * x;
}

double Param::ShapeLinear::NormalFromPlain(double v, const Param& param) const {
  return (v - param.Min()) / (param.Max() - param.Min());
}

std::unique_ptr<Param::Shape> Param::ShapePowCurve::Clone() const {
  return std::make_unique<ShapePowCurve>(*this);
}

double Param::ShapePowCurve::PlainFromNormal(double x, const Param& param) const {
  return std::pow(x, exponent_) * (param.Max() - param.Min()) + param.Min();
}

double Param::ShapePowCurve::NormalFromPlain(double v, const Param& param) const {
  return std::pow((v - param.Min()) / (param.Max() - param.Min()), 1.0 / exponent_);
}

Param::Param() : shape_(std::make_unique<ShapeLinear>()) {}

void Param::DefineDouble(const char* name, double defaultValue, double min, double max, double step,
                         const char* label, int flags, const char* group, const Shape& shape,
                         int unitCode, FormatHook formatHook, ParseHook parseHook) {
  if (type_ == ParamType::None) type_ = ParamType::Double;
  name_ = BoundedText(name, kMaxNameLength);
  label_ = BoundedText(label, kMaxTextLength);
  group_ = BoundedText(group, kMaxTextLength);
  min_ = min;
  max_ = std::max(min + step, max);
  step_ = step;
  default_ = defaultValue;
  unitCode_ = unitCode;
  flags_ = flags;
  formatHook_ = std::move(formatHook);
  parseHook_ = std::move(parseHook);
  value_.store(Clamp(defaultValue));

  // Decimals needed to show one step exactly, at most six.
  double scaled = step;
  int precision = 0;
  while (precision < 6 && scaled != std::floor(scaled)) {
    scaled *= 10.0;
    ++precision;
  }
  precision_ = precision;

  shape_ = shape.Clone();
  shape_->Attach(*this);
}

void Param::DefineInt(const char* name, int defaultValue, int min, int max, const char* label,
                      int flags, const char* group) {
  if (type_ == ParamType::None) type_ = ParamType::Int;
  DefineDouble(name, defaultValue, min, max, 1.0, label, flags | Stepped, group, ShapeLinear(),
               kDefaultUnitCode);
}

void Param::DefineEnum(const char* name, int defaultValue, int count, const char* label, int flags,
                       const char* group, std::initializer_list<const char*> texts) {
  if (type_ == ParamType::None) type_ = ParamType::Enum;
  DefineInt(name, defaultValue, 0, count - 1, label, flags | Stepped, group);
  int value = 0;
  for (const char* text : texts) {
    if (value >= count) break;
    AddDisplayText(value++, text);
  }
}

void Param::DefineBool(const char* name, bool defaultValue, const char* label, int flags,
                       const char* group, const char* offText, const char* onText) {
  if (type_ == ParamType::None) type_ = ParamType::Bool;
  DefineEnum(name, defaultValue ? 1 : 0, 2, label, flags | Stepped, group);
  AddDisplayText(0, offText);
  AddDisplayText(1, onText);
}

void Param::AddDisplayText(double value, const char* text) {
  displayTexts_.push_back({value, BoundedText(text, kMaxTextLength)});
}

double Param::Clamp(double v) const {
  if (HasFlag(Stepped)) v = std::round(v / step_) * step_;
  const double t = min_ > v ? min_ : v;
  return max_ < t ? max_ : t;
}

double Param::Normalize(double v) const {
  const double n = shape_->NormalFromPlain(Clamp(v), *this);
  if (n < 0.0) return 0.0;
  if (n > 1.0) return 1.0;
  return n;
}

double Param::Denormalize(double x) const { return shape_->PlainFromNormal(x, *this); }

void Param::SetPlain(double v) {
  if (std::isnan(v)) return;
  value_.store(Clamp(v), std::memory_order_relaxed);
}

double Param::DefaultValue(bool normalized) const {
  return normalized ? Normalize(default_) : default_;
}

const char* Param::DisplayTextFor(double v) const {
  for (const DisplayText& entry : displayTexts_)
    if (entry.value == v) return entry.text.c_str();
  return "";
}

bool Param::DisplayTextAt(int i, double& value, std::string& text) const {
  if (i < 0 || i >= DisplayTextCount()) return false;
  value = displayTexts_[static_cast<size_t>(i)].value;
  text = displayTexts_[static_cast<size_t>(i)].text;
  return true;
}

void Param::FormatValue(double v, bool isNormalized, std::string& out, bool useDisplayTexts) const {
  if (isNormalized) v = Clamp(Denormalize(v));
  if (formatHook_) {
    formatHook_(v, out);
    if (out.size() > kMaxFormattedLength) out.resize(kMaxFormattedLength);
    return;
  }
  if (useDisplayTexts) {
    for (const DisplayText& entry : displayTexts_) {
      if (entry.value != v) continue;
      if (!entry.text.empty()) {
        out = BoundedText(entry.text.c_str(), kMaxFormattedLength);
        return;
      }
      break;
    }
  }

  double d = HasFlag(DisplayNegated) ? -v : v;

  char buffer[kMaxFormattedLength + 1];
  if (precision_ == 0)
    std::snprintf(buffer, sizeof buffer, "%d", SaturateRound<int>(d));
  else if (HasFlag(DisplaySigned) && d != 0.0)
    std::snprintf(buffer, sizeof buffer, "%+.*f", precision_, d);
  else
    std::snprintf(buffer, sizeof buffer, "%.*f", precision_, d);
  // A value that rounds to zero reads "0.00", not "-0.00" or "+0.00".
  if (buffer[std::strspn(buffer, "+-0.")] == '\0')
    std::snprintf(buffer, sizeof buffer, "%.*f", precision_, 0.0);
  out = buffer;
}

std::string Param::FormatValue(double v, bool isNormalized, bool useDisplayTexts) const {
  std::string out;
  FormatValue(v, isNormalized, out, useDisplayTexts);
  return out;
}

double Param::ParseText(const char* text) const {
  if (!text) text = "";
  if (parseHook_) return Clamp(parseHook_(text));
  for (const DisplayText& entry : displayTexts_)
    if (entry.text == text) return entry.value;
  if (type_ == ParamType::Enum || type_ == ParamType::Bool) return 0.0;
  double x = std::strtod(text, nullptr);
  if (HasFlag(DisplayNegated)) x = -x;
  return Clamp(x);
}

const char* Param::UnitLabel() const {
  const double whole = std::trunc(GetPlain());
  for (const DisplayText& entry : displayTexts_)
    if (entry.value == whole && !entry.text.empty()) return "";
  return label_.c_str();
}

}  // namespace plugkit
