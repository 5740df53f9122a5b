#pragma once
// The chart's table of replacements for its fixed English texts.
#include <QString>
#include <utility>
#include <vector>

#include "chart/core/rUdudObjects.h"

class QWidget;

// One entry: a source text and its replacement. It registers itself through the insert handler
// it was made with and leaves through the remove handler when destroyed.
class TiPlotTranslationObject : public TiPlotPersistent {
  TI_PERSISTENT
 public:
  // Makes an entry and registers it. The table that takes it owns it; the result is nullptr (and
  // the entry gone) when no table took it.
  static TiPlotTranslationObject* Create(const TiPlotNotifyEvent& onRemove, const TiPlotNotifyEvent& onInsert);
  ~TiPlotTranslationObject() override;

  const QString& OriginalString() const { return originalString_; }
  void SetOriginalString(const QString& value) { originalString_ = value; }
  const QString& ReplacementString() const { return replacementString_; }
  void SetReplacementString(const QString& value) { replacementString_ = value; }

 protected:
  void DoBeforeDestruction() override;

 private:
  TiPlotTranslationObject(const TiPlotNotifyEvent& onRemove, const TiPlotNotifyEvent& onInsert);
  QString originalString_ = QStringLiteral("Unknown");
  QString replacementString_ = QStringLiteral("Unknown");
  TiPlotNotifyEvent onRemove_;
  TiPlotNotifyEvent onInsert_;
};

// The table: entries in reverse order of registration (the newest first), owned.
class TiPlotTranslationManager : public TiPlotPersistent {
 public:
  // Refuses a missing insert handler, then a missing remove handler.
  TiPlotTranslationManager(const TiPlotNotifyEvent& onRemove, const TiPlotNotifyEvent& onInsert);
  ~TiPlotTranslationManager() override;
  // Makes a table and announces it through its insert handler.
  static TiPlotPtr<TiPlotTranslationManager> Make(const TiPlotNotifyEvent& onRemove, const TiPlotNotifyEvent& onInsert);

  // Registration of an entry (through the insert handler): put in front unless already listed.
  void Add(TiPlotTranslationObject* entry);
  // An entry leaves (through the remove handler).
  void Remove(TiPlotTranslationObject* entry);
  int Count() const { return static_cast<int>(list_.size()); }
  // 0 is the most recently registered entry; raises "Index out of Bounds" outside the list.
  TiPlotTranslationObject* Items(int index) const;
  // Destroys entry index.
  void Delete(int index);
  // Destroys the entries from the front until none is left.
  void Clear();
  // The replacement of the first entry whose source equals the text exactly, or the text.
  QString Translate(const QString& text) const;
  // Translates a window's caption and the captions and item texts of its controls. A window whose
  // property "iPlotEditorClosing" is true (a property editor on its way out) is left alone.
  void TranslateForm(QWidget* window) const;

  // The stored form: (source, replacement) pairs in list order, and reading it back, which
  // empties the table and registers one new entry per pair (so the last pair ends up first).
  std::vector<std::pair<QString, QString>> StoredEntries() const;
  void ReadStoredEntries(const std::vector<std::pair<QString, QString>>& entries);

 protected:
  void DoBeforeDestruction() override;

 private:
  void DestroyEntry(TiPlotTranslationObject* entry);
  int IndexOf(const TiPlotTranslationObject* entry) const;

  TiPlotNotifyEvent onRemove_;
  TiPlotNotifyEvent onInsert_;
  // The entries, owned, newest first.
  std::vector<TiPlotPtr<TiPlotTranslationObject>> list_;
};
