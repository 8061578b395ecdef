#include "framework/Param.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

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
  return std::pow(x, mExponent) * (param.Max() - param.Min()) + param.Min();
}

double Param::ShapePowCurve::NormalFromPlain(double v, const Param& param) const {
  return std::pow((v - param.Min()) / (param.Max() - param.Min()), 1.0 / mExponent);
}

Param::Param() : mShape(std::make_unique<ShapeLinear>()) {}

void Param::DefineDouble(const char* name, double defaultValue, double min, double max,
                         double step, const char* label, int flags, const char* group,
                         const Shape& shape, int unitCode, FormatHook formatHook,
                         ParseHook parseHook) {
  if (mType == ParamType::None) mType = ParamType::Double;
  mName = BoundedText(name, kMaxNameLength);
  mLabel = BoundedText(label, kMaxTextLength);
  mGroup = BoundedText(group, kMaxTextLength);
  mMin = min;
  mMax = std::max(min + step, max);
  mStep = step;
  mDefault = defaultValue;
  mUnitCode = unitCode;
  mFlags = flags;
  mFormatHook = std::move(formatHook);
  mParseHook = std::move(parseHook);
  mValue.store(Clamp(defaultValue));

  // Decimals needed to show one step exactly, at most six.
  double scaled = step;
  int precision = 0;
  while (precision < 6 && scaled != std::floor(scaled)) {
    scaled *= 10.0;
    ++precision;
  }
  mPrecision = precision;

  mShape = shape.Clone();
  mShape->Attach(*this);
}

void Param::DefineInt(const char* name, int defaultValue, int min, int max, const char* label,
                      int flags, const char* group) {
  if (mType == ParamType::None) mType = ParamType::Int;
  DefineDouble(name, defaultValue, min, max, 1.0, label, flags | Stepped, group, ShapeLinear(),
               kDefaultUnitCode);
}

void Param::DefineEnum(const char* name, int defaultValue, int count, const char* label,
                       int flags, const char* group, std::initializer_list<const char*> texts) {
  if (mType == ParamType::None) mType = ParamType::Enum;
  DefineInt(name, defaultValue, 0, count - 1, label, flags | Stepped, group);
  int value = 0;
  for (const char* text : texts) {
    if (value >= count) break;
    AddDisplayText(value++, text);
  }
}

void Param::DefineBool(const char* name, bool defaultValue, const char* label, int flags,
                       const char* group, const char* offText, const char* onText) {
  if (mType == ParamType::None) mType = ParamType::Bool;
  DefineEnum(name, defaultValue ? 1 : 0, 2, label, flags | Stepped, group);
  AddDisplayText(0, offText);
  AddDisplayText(1, onText);
}

void Param::AddDisplayText(double value, const char* text) {
  mDisplayTexts.push_back({value, BoundedText(text, kMaxTextLength)});
}

double Param::Clamp(double v) const {
  if (HasFlag(Stepped)) v = std::round(v / mStep) * mStep;
  const double t = mMin > v ? mMin : v;
  return mMax < t ? mMax : t;
}

double Param::Normalize(double v) const {
  const double n = mShape->NormalFromPlain(Clamp(v), *this);
  if (n < 0.0) return 0.0;
  if (n > 1.0) return 1.0;
  return n;
}

double Param::Denormalize(double x) const { return mShape->PlainFromNormal(x, *this); }

void Param::SetPlain(double v) {
  if (std::isnan(v)) return;
  mValue.store(Clamp(v), std::memory_order_relaxed);
}

double Param::DefaultValue(bool normalized) const {
  return normalized ? Normalize(mDefault) : mDefault;
}

const char* Param::DisplayTextFor(double v) const {
  for (const DisplayText& entry : mDisplayTexts)
    if (entry.value == v) return entry.text.c_str();
  return "";
}

bool Param::DisplayTextAt(int i, double& value, std::string& text) const {
  if (i < 0 || i >= DisplayTextCount()) return false;
  value = mDisplayTexts[static_cast<size_t>(i)].value;
  text = mDisplayTexts[static_cast<size_t>(i)].text;
  return true;
}

void Param::FormatValue(double v, bool isNormalized, std::string& out,
                        bool useDisplayTexts) const {
  if (isNormalized) v = Clamp(Denormalize(v));
  if (mFormatHook) {
    mFormatHook(v, out);
    if (out.size() > kMaxFormattedLength) out.resize(kMaxFormattedLength);
    return;
  }
  if (useDisplayTexts) {
    for (const DisplayText& entry : mDisplayTexts) {
      if (entry.value != v) continue;
      if (!entry.text.empty()) {
        out = BoundedText(entry.text.c_str(), kMaxFormattedLength);
        return;
      }
      break;
    }
  }

  double d = HasFlag(DisplayNegated) ? -v : v;
  if (d == 0.0) d = 0.0;  // never show "-0"

  char buffer[kMaxFormattedLength + 1];
  if (mPrecision == 0)
    std::snprintf(buffer, sizeof buffer, "%d", SaturateRound<int>(d));
  else if (HasFlag(DisplaySigned) && d != 0.0)
    std::snprintf(buffer, sizeof buffer, "%+.*f", mPrecision, d);
  else
    std::snprintf(buffer, sizeof buffer, "%.*f", mPrecision, d);
  out = buffer;
}

std::string Param::FormatValue(double v, bool isNormalized, bool useDisplayTexts) const {
  std::string out;
  FormatValue(v, isNormalized, out, useDisplayTexts);
  return out;
}

double Param::ParseText(const char* text) const {
  if (!text) text = "";
  if (mParseHook) return Clamp(mParseHook(text));
  for (const DisplayText& entry : mDisplayTexts)
    if (entry.text == text) return entry.value;
  if (mType == ParamType::Enum || mType == ParamType::Bool) return 0.0;
  double x = std::strtod(text, nullptr);
  if (HasFlag(DisplayNegated)) x = -x;
  return Clamp(x);
}

const char* Param::UnitLabel() const {
  const double whole = std::trunc(GetPlain());
  for (const DisplayText& entry : mDisplayTexts)
    if (entry.value == whole && !entry.text.empty()) return "";
  return mLabel.c_str();
}

}  // namespace plugkit
