#include "chart/editor/iPropertySnapshot.h"

#include <cmath>

namespace {

// The value part of a kept property: a getter that answers a fixed value.
TiPropertyInfo KeptProperty(const TiPropertyInfo& p, const TiPersistent& source) {
  TiPropertyInfo q;
  q.Name = p.Name;
  q.Kind = p.Kind;
  q.Default = p.Default;
  q.ValueNames = p.ValueNames;
  if (p.IsOrdinal()) {
    const std::int64_t v = p.GetOrdinal(source);
    q.GetOrdinal = [v](const TiPersistent&) { return v; };
  } else if (p.Kind == TiPropertyKind::Float) {
    const double v = p.GetFloat(source);
    q.GetFloat = [v](const TiPersistent&) { return v; };
  } else if (p.Kind == TiPropertyKind::String) {
    const QString v = p.GetString(source);
    q.GetString = [v](const TiPersistent&) { return v; };
  }
  return q;
}

TiPropertyInfo NestedProperty(const QString& name, TiPersistent* nested) {
  TiPropertyInfo q;
  q.Name = name;
  q.Kind = TiPropertyKind::Object;
  q.GetObject = [nested](const TiPersistent&) { return nested; };
  return q;
}

bool Keeps(const TiPropertyInfo& p) { return p.Stored && p.Readable(); }

// Whether target's property of that name holds the kept value; a property target lacks counts
// as held (nothing could be written to it anyway).
bool Holds(const TiPropertyInfo& kept, const TiPersistent& snapshot, const TiPersistent& target) {
  const TiPropertyInfo* t = target.ClassInfo().Find(kept.Name);
  if (!t || t->Kind != kept.Kind || !t->Readable()) return true;
  if (kept.IsOrdinal()) return t->GetOrdinal(target) == kept.GetOrdinal(snapshot);
  if (kept.Kind == TiPropertyKind::Float) return SameFloat(t->GetFloat(target), kept.GetFloat(snapshot));
  if (kept.Kind == TiPropertyKind::String) return t->GetString(target) == kept.GetString(snapshot);
  return true;
}

}  // namespace

bool SameFloat(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

TiPropertySnapshot::TiPropertySnapshot(const TiPersistent& source) {
  std::vector<TiPropertyInfo> props;
  for (const TiPropertyInfo& p : source.ClassInfo().Properties()) {
    if (!Keeps(p)) continue;
    if (p.Kind == TiPropertyKind::Object) {
      const TiPersistent* nested = p.GetObject(source);
      if (!nested) continue;
      nested_.push_back(std::make_unique<TiPropertySnapshot>(*nested));
      props.push_back(NestedProperty(p.Name, nested_.back().get()));
    } else {
      props.push_back(KeptProperty(p, source));
    }
  }
  info_ = std::make_unique<TiClassInfo>(source.ClassName(), nullptr, std::move(props));
}

TiPropertySnapshot::TiPropertySnapshot(const TiPropertySnapshot& kept, const TiPersistent& target, TOnlyDiffering) {
  std::vector<TiPropertyInfo> props;
  for (const TiPropertyInfo& p : kept.ClassInfo().Properties()) {
    if (p.Kind == TiPropertyKind::Object) {
      const TiPropertyInfo* t = target.ClassInfo().Find(p.Name);
      const TiPersistent* nestedTarget = t && t->Kind == TiPropertyKind::Object && t->GetObject ? t->GetObject(target) : nullptr;
      const auto* nestedKept = static_cast<const TiPropertySnapshot*>(p.GetObject(kept));
      if (!nestedTarget) continue;
      auto diff = std::unique_ptr<TiPropertySnapshot>(new TiPropertySnapshot(*nestedKept, *nestedTarget, TOnlyDiffering{}));
      if (diff->Empty()) continue;
      nested_.push_back(std::move(diff));
      props.push_back(NestedProperty(p.Name, nested_.back().get()));
    } else if (!Holds(p, kept, target)) {
      props.push_back(p);
    }
  }
  info_ = std::make_unique<TiClassInfo>(kept.ClassInfo().ClassName(), nullptr, std::move(props));
}

bool TiPropertySnapshot::Differs(const TiPersistent& target) const {
  return !TiPropertySnapshot(*this, target, TOnlyDiffering{}).Empty();
}

bool TiPropertySnapshot::Restore(TiPersistent& target) const {
  for (int round = 0; round < 3; ++round) {
    const TiPropertySnapshot diff(*this, target, TOnlyDiffering{});
    if (diff.Empty()) return true;
    AssignProperties(target, diff);
  }
  return !Differs(target);
}
