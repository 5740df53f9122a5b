#pragma once
// The system clock as the platform counts it: days since 30 December 1899, the fraction being the
// time of day. Tests install their own clock.
#include <functional>

using TDateTime = double;

TDateTime Now();
// Replaces the clock (nullptr or an empty function goes back to the system clock).
void SetClock(std::function<TDateTime()> clock);

// Milliseconds as a day fraction, and back.
constexpr double kMsPerDay = 86400000.0;
constexpr TDateTime MsToDays(double ms) { return ms / kMsPerDay; }

// A clock for tests: starts at a fixed moment and moves only when told.
class TManualClock {
 public:
  explicit TManualClock(TDateTime start = 46000.0);
  ~TManualClock();
  TManualClock(const TManualClock&) = delete;
  TManualClock& operator=(const TManualClock&) = delete;
  void AdvanceMs(double ms) { now_ += MsToDays(ms); }
  TDateTime Value() const { return now_; }

 private:
  TDateTime now_;
};
