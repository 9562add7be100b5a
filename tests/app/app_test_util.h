// Running command texts in-process for the front-end tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/interpreter.h"
#include "app/settings.h"
#include "tests/support/test_support.h"

namespace apptest {

struct Outcome {
  int result = -1;
  std::vector<std::string> messages;  // log lines without time stamps
};

// Interprets text on fresh default settings and collects what it logged.
inline Outcome interpret(const std::string& text) {
  resetChartSettings();
  testing::internal::CaptureStdout();
  Outcome o;
  o.result = interpretCommands(text.c_str());
  o.messages = pvtest::logMessages(testing::internal::GetCapturedStdout());
  return o;
}

}  // namespace apptest
