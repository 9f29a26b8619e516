#pragma once
// Shared by the tests that need a temporary directory too small for a file.
#include <sys/resource.h>

#include <csignal>

// Writes past `limit` bytes fail (EFBIG) while it lives.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t limit) {
    std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    const rlimit reduced{limit, saved_.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &reduced);
  }
  ~TFileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &saved_); }

 private:
  rlimit saved_{};
};
