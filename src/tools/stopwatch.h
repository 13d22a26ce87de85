// Seconds since construction, for the long-running tools' completion
// messages ("%5.3f").
#pragma once

#include <chrono>

namespace cadenzio {

class Stopwatch {
 public:
  double Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace cadenzio
