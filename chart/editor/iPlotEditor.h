#pragma once
// The chart editor: a window listing the chart and its objects by kind, with the published
// properties of the chosen one in a property grid. Changes apply at once through the setters;
// Cancel takes back every property changed and every object added since the window opened.
#include <QDialog>
#include <QPointer>
#include <memory>
#include <vector>

#include "chart/core/rUdudComponent.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class TiPropertyGrid;
class TiPropertySnapshot;

class TiPlotEditorForm : public QDialog {
  Q_OBJECT
 public:
  // Opens on object (the chart itself when nullptr or not one of the chart's objects).
  explicit TiPlotEditorForm(TiPlotComponent* chart, TiPlotObject* object = nullptr);
  ~TiPlotEditorForm() override;

  TiPlotComponent* Chart() const { return chart_.data(); }
  // Shows the properties of object (or of the chart).
  void SelectObject(TiPlotObject* object);
  // The object whose properties are shown: the chart, one of its objects, or nullptr (a kind).
  TiPersistent* SelectedObject() const;
  // Selects the list entry of a kind ("Channels", "X-Axes", ...), the way the user picks where
  // to add an object.
  bool SelectKind(const QString& kindCaption);
  // Takes back the session: objects added are deleted, every property changed is restored.
  void CancelChanges();
  // Finds objects the program added or removed meanwhile and lists them again.
  void SyncObjects();

  TiPropertyGrid* Grid() const { return grid_; }
  QTreeWidget* ObjectList() const { return objects_; }
  QPushButton* AddButton() const { return add_; }
  QPushButton* DeleteButton() const { return delete_; }
  QPushButton* LoadButton() const { return load_; }
  QPushButton* SaveButton() const { return save_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  QLineEdit* FilterBox() const { return filter_; }

  void done(int result) override;

 protected:
  void showEvent(QShowEvent* e) override;
  // Return and Enter end an entry in the grid; they do not close the window. Escape takes back
  // an entry not yet made, and only without one cancels the window.
  void keyPressEvent(QKeyEvent* e) override;
  // In the object list, Insert adds an object of the chosen kind and Delete deletes the chosen one.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct TKept;
  struct TListed {
    int Kind = -1;  // position in the editor's kind list; -1 for the chart
    TiPlotObject* Object = nullptr;
    std::weak_ptr<const void> Life;
  };

  void BuildWindow();
  void Keep(TiPersistent* object, std::weak_ptr<const void> life);
  void KeepEverything();
  void KeepNewObjects(const std::vector<TListed>& listed);
  std::vector<TListed> ListNow() const;
  void RebuildList(TiPersistent* select);
  void UpdateListTexts();
  void ShowSelection();
  void UpdateButtons();
  void AddObject();
  void DeleteObject();
  // The chart property file: Load asks for a file and replaces the chart's definition by it
  // (what Cancel takes back starts over from there, as the objects found before are gone);
  // Save asks for a name and writes it. A failure is shown as a message.
  void LoadProperties();
  void SaveProperties();
  int SelectedKind() const;
  int IndexInKind(int kind, const TiPlotObject* object) const;
  QString ListText(int kind, int index, const TiPlotObject* object) const;
  QTreeWidgetItem* ItemOf(const TiPersistent* object) const;

  QPointer<TiPlotComponent> chart_;
  std::vector<std::unique_ptr<TKept>> kept_;
  std::vector<TListed> added_;
  std::vector<TListed> listed_;
  std::vector<QTreeWidgetItem*> listItems_;  // parallel to listed_
  std::vector<QTreeWidgetItem*> kindItems_;
  bool opened_ = false;
  bool closing_ = false;

  QTreeWidget* objects_ = nullptr;
  TiPropertyGrid* grid_ = nullptr;
  QLineEdit* filter_ = nullptr;
  QLabel* caption_ = nullptr;
  QLabel* description_ = nullptr;
  QPushButton* add_ = nullptr;
  QPushButton* delete_ = nullptr;
  QPushButton* load_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QTimer* syncTimer_ = nullptr;
};
