#pragma once

#include <array>
#include <streambuf>

namespace brillora::cli {

// The program's standard output as a stream buffer that remembers why the
// first write failed, so that a command whose result could not be written
// can say so instead of reporting success.
class StandardOutput : public std::streambuf {
 public:
  StandardOutput();
  // Whatever a command printed before it failed is still written.
  ~StandardOutput() override { Drain(); }
  StandardOutput(const StandardOutput&) = delete;
  StandardOutput& operator=(const StandardOutput&) = delete;

  // Writes whatever is still buffered. The system's error number of the first
  // failed write, 0 when everything was written.
  int Finish();

 protected:
  int_type overflow(int_type ch) override;
  int sync() override;

 private:
  bool Drain();

  std::array<char, 1 << 16> buffer_{};
  int error_ = 0;
};

}  // namespace brillora::cli
