#include "cli/standard_output.h"

#include <unistd.h>

#include <cerrno>

namespace brillora::cli {

StandardOutput::StandardOutput() { setp(buffer_.data(), buffer_.data() + buffer_.size()); }

int StandardOutput::Finish() {
  Drain();
  return error_;
}

StandardOutput::int_type StandardOutput::overflow(int_type ch) {
  if (!Drain()) return traits_type::eof();
  if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
  *pptr() = traits_type::to_char_type(ch);
  pbump(1);
  return ch;
}

int StandardOutput::sync() { return Drain() ? 0 : -1; }

// After a failure nothing more is written: the output is cut off already.
bool StandardOutput::Drain() {
  const char* next = pbase();
  while (error_ == 0 && next < pptr()) {
    const ssize_t written = ::write(STDOUT_FILENO, next, static_cast<std::size_t>(pptr() - next));
    if (written < 0) {
      if (errno != EINTR) error_ = errno;
      continue;
    }
    next += written;
  }
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  return error_ == 0;
}

}  // namespace brillora::cli
