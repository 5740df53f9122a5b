#pragma once
// The property grid of the chart editor: one row per published property of an object, in
// declaration order (inherited first), nested objects and sets as expandable rows, each value
// with an editor that fits its kind. Every change goes through the property's setter, so the
// object's change protocol (compare, store, notify, repaint) runs as for a program's change.
#include <QTreeWidget>
#include <functional>
#include <vector>

#include "chart/core/iPersistent.h"

class QToolButton;

class TiPropertyGrid : public QTreeWidget {
  Q_OBJECT
 public:
  explicit TiPropertyGrid(QWidget* parent = nullptr);
  ~TiPropertyGrid() override;

  // Shows the properties of the object that root answers; root answers nullptr once the object
  // has gone, and the grid then changes nothing. An empty function clears the grid.
  void SetObject(std::function<TiPersistent*()> root);
  TiPersistent* Object() const;
  // Reads every shown value again (after a change that may have moved others, or one the
  // program made). keepPendingEntries leaves boxes alone that hold an entry not yet made.
  void Refresh(bool keepPendingEntries = false);
  // Takes back what is typed into a box and not yet entered; false when nothing was pending.
  bool RevertPendingEntry();
  // Shows only the rows whose dotted name contains text (ignoring case) and their parents.
  void SetFilter(const QString& text);

  // Runs after every change made through the grid.
  std::function<void()> OnChanged;

  // The row of a dotted property name ("Font.Color", "Font.Style.fsBold"), its editor widget and
  // its reset button; nullptr when there is none.
  QTreeWidgetItem* Row(const QString& dottedName) const;
  QWidget* Editor(const QString& dottedName) const;
  QToolButton* ResetButton(const QString& dottedName) const;
  QStringList RowNames() const;
  // A line about the row's property: its dotted name, kind, default and whether it is read only.
  QString Description(const QTreeWidgetItem* item) const;

 protected:
  // A turn of the wheel over a list that does not have the focus scrolls the grid instead of
  // changing the value under the mouse.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct TRow;
  void AddRows(QTreeWidgetItem* parent, TiPersistent& object, const std::vector<const TiPropertyInfo*>& path,
               const QString& prefix, int depth);
  void AddEditor(int row);
  // The object that holds the row's property, or nullptr when it (or the root) has gone.
  TiPersistent* Owner(const TRow& row) const;
  // Runs a change on the row's property; failures are shown as messages.
  void Change(int row, const std::function<void(TiPersistent&, const TiPropertyInfo&)>& change);
  void CommitText(int row);
  void ResetRow(int row);
  void ShowValue(int row, bool keepPendingEntry = false);
  void ShowDefaultState(const TRow& row, TiPersistent* owner);
  void FitNameColumn();

  std::function<TiPersistent*()> root_;
  std::vector<TRow> rows_;
  std::vector<QTreeWidgetItem*> headings_;
  bool refreshing_ = false;
  // Counts the objects shown; a choice from a dialog that was open meanwhile is dropped.
  int generation_ = 0;
};
