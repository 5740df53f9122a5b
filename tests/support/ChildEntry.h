#pragma once
// A test program can run one of its own functions in a child process, for checks that need
// another environment than the tests' offscreen platform (a real window system). The child is
// the same program started with the argument ChildArgument(name); TestMain runs the function
// registered under that name instead of the tests and exits with its result.
#include <QString>
#include <functional>
#include <map>
#include <utility>

using TChildEntry = std::function<int()>;

inline std::map<QString, TChildEntry>& ChildEntries() {
  static std::map<QString, TChildEntry> entries;
  return entries;
}

// Registers an entry at start-up: `static TChildEntryRegistration r("name", function);`
struct TChildEntryRegistration {
  TChildEntryRegistration(const char* name, TChildEntry entry) {
    ChildEntries()[QString::fromLatin1(name)] = std::move(entry);
  }
};

inline QString ChildArgument(const char* name) { return QStringLiteral("--child=") + QString::fromLatin1(name); }
