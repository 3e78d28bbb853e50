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
    if (fail_at_ == 0) return false;
    return onwards_ ? n >= fail_at_ : n == fail_at_;
  }
  // The k-th call fails (k from 1), or with `onwards` every one from it on.
  void Arm(std::uint64_t k, bool onwards) {
    fail_at_ = k;
    onwards_ = onwards;
  }
  // The first call once the first send began fails (or every one from it on).
  void ArmAtSend(bool onwards) {
    armed_at_send_ = true;
    onwards_ = onwards;
  }
  void MarkSend() {
    at_send_ = calls_;
    if (armed_at_send_) fail_at_ = calls_ + 1;
  }
  void MarkSendEnd() { after_send_ = calls_; }
  void Start() { calls_ = 0; }

  std::uint64_t Calls() const { return calls_; }
  std::uint64_t AtSend() const { return at_send_; }
  std::uint64_t AfterSend() const { return after_send_; }

 private:
  std::uint64_t calls_ = 0;
  std::uint64_t fail_at_ = 0;  // 0: no call fails
  bool onwards_ = false;
  bool armed_at_send_ = false;
  std::uint64_t at_send_ = 0;
  std::uint64_t after_send_ = 0;
};

// Told of each allocation made to fail (the fault module logs it).
inline void (*g_on_new_fault)() = nullptr;

// operator new's calls (fault_new_win32.cpp); constant-initialised, so it
// counts from before any other initialisation.
inline Counter g_new_counter;
inline Counter& NewCounter() { return g_new_counter; }

}  // namespace fault
