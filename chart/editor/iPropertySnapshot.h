#pragma once
// The published values of an object kept aside, so that an editing session can be taken back.
//
// A snapshot is itself a persistent object whose table mirrors the source's stored properties
// (names, kinds, defaults) with getters that answer the kept values; putting the values back is
// then the property tables' own AssignProperties. Properties that are not stored are left out:
// they are views of stored ones (a font's Size of its Height) and writing them back would undo
// the exact value.
#include <memory>
#include <vector>

#include "chart/core/iPersistent.h"

class TiPropertySnapshot : public TiPersistent {
 public:
  // Keeps every readable stored property of source, nested objects included.
  explicit TiPropertySnapshot(const TiPersistent& source);
  const TiClassInfo& ClassInfo() const override { return *info_; }

  // True when target holds a value other than the kept one in any property (nested included).
  bool Differs(const TiPersistent& target) const;
  // Writes back the kept values that target no longer holds, through target's setters, until
  // nothing differs (setters that clamp against each other may need a second round). Returns
  // whether target holds every kept value afterwards.
  bool Restore(TiPersistent& target) const;

 private:
  struct TOnlyDiffering {};
  // A snapshot holding only the kept values that target does not hold; empty when none.
  TiPropertySnapshot(const TiPropertySnapshot& kept, const TiPersistent& target, TOnlyDiffering);
  bool Empty() const { return info_->Properties().empty(); }

  std::unique_ptr<TiClassInfo> info_;
  std::vector<std::unique_ptr<TiPropertySnapshot>> nested_;
};

// Two values of a float property count as the same when equal or both not a number.
bool SameFloat(double a, double b);
