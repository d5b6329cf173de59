#pragma once
// A stream buffer that hands out its text and then fails the next read, as
// a failing disk or network share does.

#include <ios>
#include <streambuf>
#include <string>
#include <utility>

namespace eco {

class FailingBuffer : public std::streambuf {
 public:
  explicit FailingBuffer(std::string good) : good_(std::move(good)) {
    setg(good_.data(), good_.data(), good_.data() + good_.size());
  }

 protected:
  int_type underflow() override { throw std::ios_base::failure("read error"); }

 private:
  std::string good_;
};

}  // namespace eco
