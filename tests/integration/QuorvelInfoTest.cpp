// quorvel-info run on the built module, as a user runs it.

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

namespace {

std::string RunInfo(int& status) {
  const std::string command =
      std::string("'") + QUORVEL_INFO_PATH + "' '" + QUORVEL_MODULE_PATH + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return "";
  std::string output;
  char buffer[4096];
  size_t n = 0;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  status = pclose(pipe);
  return output;
}

// Lines that start with prefix and contain part.
size_t CountLines(const std::string& text, const std::string& prefix, const std::string& part) {
  std::istringstream lines(text);
  size_t count = 0;
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(prefix, 0) == 0 && line.find(part) != std::string::npos) ++count;
  }
  return count;
}

TEST(QuorvelInfoTest, PrintsParametersPortsAndPresetsWithLoadKeys) {
  int status = -1;
  const std::string output = RunInfo(status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_NE(output.find("Parameters (60)"), std::string::npos);
  EXPECT_EQ(CountLines(output, "  ", ", default "), 60u);
  EXPECT_NE(output.find("  1 input trim: 0.0 dB (range 0 .. 1, default 0.25 = 0.0 dB; "
                        "automatable requires-process)"),
            std::string::npos)
      << output;
  EXPECT_NE(output.find("Port configurations (5)"), std::string::npos);
  EXPECT_NE(output.find("  4 2.2-2: 2 input port(s), 1 output port(s)"), std::string::npos);
  EXPECT_NE(output.find("Latency: 0 samples"), std::string::npos);
  EXPECT_NE(output.find("Tail: "), std::string::npos);
  EXPECT_EQ(output.find("Tail: 0 samples"), std::string::npos) << "the defaults ring on";
  EXPECT_NE(output.find("Presets (27)"), std::string::npos);
  EXPECT_EQ(CountLines(output, "  key ", ": "), 27u);
  EXPECT_NE(output.find("  key 0: Empty\n  key 1: Full Bypass\n"), std::string::npos);
}

}  // namespace
