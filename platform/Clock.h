#pragma once
// The system clock as the platform counts it: days since 30 December 1899, the fraction being the
// time of day. Tests install their own clock.
#include <functional>

using TDateTime = double;

TDateTime Now();
// Replaces the clock (nullptr or an empty function goes back to the system clock).
void SetClock(std::function<TDateTime()> clock);
// Milliseconds of a steady clock from an arbitrary origin: it never goes back, and setting the
// clock or a daylight-saving change does not move it. Durations are measured with it.
double SteadyMs();
void SetSteadyClock(std::function<double()> clock);

// Milliseconds as a day fraction, and back.
constexpr double kMsPerDay = 86400000.0;
constexpr TDateTime MsToDays(double ms) { return ms / kMsPerDay; }

// A clock for tests: starts at a fixed moment and moves only when told. It drives the steady
// clock as well; SetWall moves only the date and time, as a clock set does.
class TManualClock {
 public:
  explicit TManualClock(TDateTime start = 46000.0);
  ~TManualClock();
  TManualClock(const TManualClock&) = delete;
  TManualClock& operator=(const TManualClock&) = delete;
  void AdvanceMs(double ms) {
    now_ += MsToDays(ms);
    steadyMs_ += ms;
  }
  void SetWall(TDateTime value) { now_ = value; }
  TDateTime Value() const { return now_; }

 private:
  TDateTime now_;
  double steadyMs_ = 0.0;
};
