#pragma once
// Test fixture for code that reports through the error facility: messages
// go to a string, and a stop of the run throws RunStopped instead of
// ending the process.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "numeric/errors.h"

struct RunStopped {};

inline void throwRunStopped() { throw RunStopped{}; }

class ErrorCapture : public ::testing::Test {
 protected:
  void SetUp() override {
    eco::resetErrorFacility();
    eco::setErrorStream(&out_);
    eco::setStopHandler(&throwRunStopped);
  }
  void TearDown() override { eco::resetErrorFacility(); }

  // Everything printed since the last call.
  std::string printed() {
    std::string s = out_.str();
    out_.str("");
    return s;
  }

 private:
  std::ostringstream out_;
};
