// The sixty parameters on a bare delegate, without the instance around them.

#pragma once

#include <array>

#include "effect/QuorvelParameters.h"
#include "framework/EditorDelegateBase.h"

namespace testSupport {

class ParameterSet : public plugkit::EditorDelegateBase {
 public:
  ParameterSet() : EditorDelegateBase(quorvel::kParamCount) { quorvel::DefineParameters(*this); }

  // The plain value of every parameter, as the engine reads them.
  std::array<double, quorvel::kParamCount> PlainValues() const {
    std::array<double, quorvel::kParamCount> values{};
    for (int i = 0; i < quorvel::kParamCount; ++i)
      values[static_cast<size_t>(i)] = ParamAt(i)->GetPlain();
    return values;
  }
};

}  // namespace testSupport
