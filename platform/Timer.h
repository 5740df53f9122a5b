#pragma once
// A timer with the platform's semantics: Interval in milliseconds, Enabled, and OnTimer, which
// fires every Interval while enabled. Changing the interval restarts the count.
#include <functional>
#include <memory>

class QTimer;

class TTimer {
 public:
  TTimer();
  ~TTimer();
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  int Interval() const { return interval_; }
  void SetInterval(int ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  std::function<void()> OnTimer;
  // Fires the timer now, as an elapsed interval would (tests drive timers this way).
  void Fire();
  // How many times the count started afresh (enabled, or its interval set while enabled), so
  // that a test clock can tell a restart with the same interval.
  int Starts() const { return starts_; }

 private:
  void Restart();
  std::unique_ptr<QTimer> timer_;
  int interval_ = 1000;
  bool enabled_ = false;
  int starts_ = 0;
};
