#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorvelManual {

// One parameter as a host lists it: its info and the texts of the params extension.
struct ParameterFact {
  int id = 0;
  std::string name;
  bool stepped = false;
  std::string minText;
  std::string maxText;
  std::string defaultText;
  std::string unit;                 // the label hosts append to numbers, "" if none
  std::vector<std::string> values;  // every value's text, for stepped parameters
};

struct ProductFacts {
  std::vector<ParameterFact> parameters;
  std::vector<std::string> presets;  // in load-key order
};

// Loads the module as a host does and reads its parameters and factory presets.
std::optional<ProductFacts> ReadProductFacts(const std::string& modulePath, std::string& error);

// The fact for a parameter name; throws when the module has no such parameter, so a renamed
// parameter stops the manual's build instead of leaving stale text.
const ParameterFact& FactNamed(const ProductFacts& facts, const std::string& name);

}  // namespace quorvelManual

namespace quorvelManual {

// Text made safe for Pango markup.
std::string Escape(const std::string& text);

// "10 Hz … 18000 Hz", or the values' texts for a stepped parameter.
std::string RangeText(const ParameterFact& fact);

}  // namespace quorvelManual
