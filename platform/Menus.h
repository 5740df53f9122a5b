#pragma once
// Popup menus with the platform's semantics: a tree of items (caption, check mark, visibility,
// enabled state, click action, submenus) that the program builds and shows at a screen point.
// Showing goes through one seam, so that tests can look at a menu and pick an item without a
// window; production shows a QMenu built from the tree only when the menu really pops up.
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class TMenuItem {
 public:
  TMenuItem() = default;
  explicit TMenuItem(const QString& caption, std::function<void()> onClick = {});
  ~TMenuItem();
  TMenuItem(const TMenuItem&) = delete;
  TMenuItem& operator=(const TMenuItem&) = delete;

  QString Caption;
  bool Checked = false;
  bool Visible = true;
  bool Enabled = true;
  bool RadioItem = false;   // drawn as a radio mark when checked
  int Tag = 0;
  std::function<void()> OnClick;

  int Count() const { return static_cast<int>(items_.size()); }
  // The sub-item at index; nullptr outside 0 .. Count - 1.
  TMenuItem* Items(int index) const;
  TMenuItem* Parent() const { return parent_; }
  int IndexOf(const TMenuItem* item) const;
  // Appends an item and returns it; the menu owns it.
  TMenuItem* Add(std::unique_ptr<TMenuItem> item);
  TMenuItem* Add(const QString& caption, std::function<void()> onClick = {});
  // Removes and destroys one sub-item, or all of them.
  void Delete(int index);
  void Clear();
  // First sub-item with this caption (exact text), searching this level only.
  TMenuItem* Find(const QString& caption) const;
  // Runs the click action as choosing the item does: only for a visible, enabled item.
  // The action may rebuild the menu that holds the item.
  void Click();

 private:
  std::vector<std::unique_ptr<TMenuItem>> items_;
  TMenuItem* parent_ = nullptr;
};

class TPopupMenu {
 public:
  TPopupMenu();
  ~TPopupMenu();
  TPopupMenu(const TPopupMenu&) = delete;
  TPopupMenu& operator=(const TPopupMenu&) = delete;

  TMenuItem& Items() { return items_; }
  const TMenuItem& Items() const { return items_; }
  // Shows the menu at a screen point through the presenter in force. A chosen item's action runs
  // after the caller's input handling has finished, as the platform delivers menu commands.
  void Popup(int screenX, int screenY);
  int PopupX() const { return popupX_; }
  int PopupY() const { return popupY_; }

 private:
  TMenuItem items_;
  int popupX_ = 0;
  int popupY_ = 0;
};

// Shows popup menus. Production uses a QMenu; tests install a recorder.
class TMenuPresenter {
 public:
  virtual ~TMenuPresenter() = default;
  virtual void Show(TPopupMenu& menu, int screenX, int screenY) = 0;
};

TMenuPresenter& MenuPresenter();
// Installs another presenter (a test recorder); nullptr goes back to the QMenu presenter.
void SetMenuPresenter(TMenuPresenter* presenter);

// A recorder for tests: keeps a snapshot of every menu shown and can run one item right away.
class TMenuRecorder : public TMenuPresenter {
 public:
  TMenuRecorder();
  ~TMenuRecorder() override;
  TMenuRecorder(const TMenuRecorder&) = delete;
  TMenuRecorder& operator=(const TMenuRecorder&) = delete;

  struct TShown {
    QStringList Captions;          // visible top-level items, in order
    int X = 0;
    int Y = 0;
  };
  void Show(TPopupMenu& menu, int screenX, int screenY) override;

  std::vector<TShown> Shown;
  TPopupMenu* LastMenu = nullptr;
  // When set, the top-level item with this caption is clicked as the menu is shown.
  QString ChooseCaption;

 private:
  TMenuPresenter* previous_;
};
