#pragma once
// Helpers for the point list tests: the four layouts by name, a snapshot of a list's whole state
// for "nothing changed" checks, and an expectation on the framework's failure text.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "chart/channels/rUdudDataLists.h"
#include "chart/core/iErrors.h"

struct TLayout {
  const char* name;
  std::function<std::unique_ptr<TiPlotDataCustomList>()> make;
};

inline const std::vector<TLayout>& AllLayouts() {
  static const std::vector<TLayout> layouts{
      {"null", [] { return std::make_unique<TiPlotDataNullList>(); }},
      {"compact", [] { return std::make_unique<TiPlotDataCompactList>(); }},
      {"compact-interval", [] { return std::make_unique<TiPlotDataCompactIntervalList>(); }},
      {"full", [] { return std::make_unique<TiPlotDataFullList>(); }},
  };
  return layouts;
}

// Everything observable of a list, read through its public operations.
struct TListState {
  int count, capacity, ringStart;
  bool ringActive;
  std::vector<double> xs, ys;
  bool operator==(const TListState&) const = default;
};

inline TListState StateOf(const TiPlotDataCustomList& list) {
  TListState s{list.Count(), list.Capacity(), list.RingStart(), list.RingActive(), {}, {}};
  for (int i = 0; i < list.Count(); ++i) {
    s.xs.push_back(list.GetX(i));
    s.ys.push_back(list.GetY(i));
  }
  return s;
}

inline std::vector<double> YsOf(const TiPlotDataCustomList& list) { return StateOf(list).ys; }
inline std::vector<double> XsOf(const TiPlotDataCustomList& list) { return StateOf(list).xs; }

// Adds points (i, y) for the given Y values, X counting on from the list's Count.
inline void AddYs(TiPlotDataCustomList& list, std::initializer_list<double> ys) {
  for (double y : ys) list.Add(false, false, list.Count(), y);
}

template <class F>
void ExpectFailure(F&& f, const char* message) {
  try {
    f();
    ADD_FAILURE() << "no failure, expected \"" << message << '"';
  } catch (const EiError& e) {
    EXPECT_EQ(e.Message.toStdString(), message);
  }
}
