// The calls of one function (or allocations) in the test build, and which of
// them are made to fail.
#pragma once

#include <cstdint>

namespace fault {

// While the fault module itself works (logging, keeping its sets), calls and
// allocations are not the program's: they are neither counted nor failed.
inline bool g_module_inside = false;

class Counter {
 public:
  constexpr Counter() = default;

  // Counts a call; true when this one is to fail.
  bool Call() {
    const std::uint64_t n = ++calls_;
    if (failAt_ == 0) return false;
    return onwards_ ? n >= failAt_ : n == failAt_;
  }
  // The k-th call fails (k from 1), or with `onwards` every one from it on.
  void Arm(std::uint64_t k, bool onwards) {
    failAt_ = k;
    onwards_ = onwards;
  }
  // The first call once the first send began fails (or every one from it on).
  void ArmAtSend(bool onwards) {
    armedAtSend_ = true;
    onwards_ = onwards;
  }
  void MarkSend() {
    atSend_ = calls_;
    if (armedAtSend_) failAt_ = calls_ + 1;
  }
  void MarkSendEnd() { afterSend_ = calls_; }
  void Start() { calls_ = 0; }

  std::uint64_t Calls() const { return calls_; }
  std::uint64_t AtSend() const { return atSend_; }
  std::uint64_t AfterSend() const { return afterSend_; }

 private:
  std::uint64_t calls_ = 0;
  std::uint64_t failAt_ = 0;  // 0: no call fails
  bool onwards_ = false;
  bool armedAtSend_ = false;
  std::uint64_t atSend_ = 0;
  std::uint64_t afterSend_ = 0;
};

// Told of each allocation made to fail (the fault module logs it).
inline void (*g_on_new_fault)() = nullptr;

// operator new's calls (fault_new_win32.cpp); constant-initialised, so it
// counts from before any other initialisation.
inline Counter g_new_counter;
inline Counter& NewCounter() { return g_new_counter; }

}  // namespace fault
