#pragma once
// Helpers of the chart's property and annotation files: the key lookup, the check of count
// lines, discarding a section nobody takes, and putting an object back to its declared
// defaults before its section is read.
#include <QString>
#include <QStringList>
#include <optional>

class TiPersistent;

// The first line whose name (before its first "=", trimmed) equals key ignoring case: its value
// (after that "=", trimmed) is returned and the line removed. Nothing when there is none.
std::optional<QString> TakePropertyKey(QStringList& lines, const QString& key);

// The count line of key taken from lines: 0 when absent; otherwise it must be a whole number
// from 0 up to the number of lines in the file (every object writes at least its name), or
// EiError says what is wrong with it.
int TakePropertyCount(QStringList& lines, const QString& key, int linesInFile);

// Removes lines that are empty or hold only blanks (an editor's blank line would otherwise end
// the section it stands in, and every section after it would be read as the chart's own).
void RemoveBlankLines(QStringList& lines);

// Removes the lines of the section with prefix from the top of lines (as ReadProperties would
// consume them), for a section whose object does not exist.
void DiscardSection(const QString& prefix, QStringList& lines);

// Sets every stored property of object that has a declared default and does not hold it back
// to that default, nested objects included; names (dotted from object) in exclusions are left.
// Values at their default are not written to files, so a section read over an object that had
// other values would otherwise leave them in place.
void ResetStoredToDefaults(TiPersistent& object, const QStringList& exclusions);
