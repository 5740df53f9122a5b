#include "platform/Menus.h"

#include <QAction>
#include <QMenu>
#include <QTimer>

TMenuItem::TMenuItem(const QString& caption, std::function<void()> onClick)
    : Caption(caption), OnClick(std::move(onClick)) {}

TMenuItem::~TMenuItem() = default;

TMenuItem* TMenuItem::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)].get();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[static_cast<size_t>(i)].get() == item) return i;
  return -1;
}

TMenuItem* TMenuItem::Add(std::unique_ptr<TMenuItem> item) {
  if (!item) return nullptr;
  item->parent_ = this;
  items_.push_back(std::move(item));
  return items_.back().get();
}

TMenuItem* TMenuItem::Add(const QString& caption, std::function<void()> onClick) {
  return Add(std::make_unique<TMenuItem>(caption, std::move(onClick)));
}

void TMenuItem::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  // Taken out first, so that the item's destruction sees a consistent menu.
  std::unique_ptr<TMenuItem> gone = std::move(items_[static_cast<size_t>(index)]);
  items_.erase(items_.begin() + index);
}

void TMenuItem::Clear() {
  std::vector<std::unique_ptr<TMenuItem>> gone;
  gone.swap(items_);
}

TMenuItem* TMenuItem::Find(const QString& caption) const {
  for (const auto& item : items_)
    if (item->Caption == caption) return item.get();
  return nullptr;
}

void TMenuItem::Click() {
  if (!Visible || !Enabled || !OnClick) return;
  // A copy, because the action may clear the menu and with it this item.
  std::function<void()> action = OnClick;
  action();
}

TPopupMenu::TPopupMenu() = default;
TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::Popup(int screenX, int screenY) {
  popupX_ = screenX;
  popupY_ = screenY;
  MenuPresenter().Show(*this, screenX, screenY);
}

namespace {
void Fill(QMenu& qmenu, const TMenuItem& item, std::vector<std::pair<QAction*, const TMenuItem*>>& map) {
  for (int i = 0; i < item.Count(); ++i) {
    const TMenuItem* sub = item.Items(i);
    if (sub->Count() > 0) {
      QMenu* child = qmenu.addMenu(sub->Caption);
      child->menuAction()->setVisible(sub->Visible);
      child->menuAction()->setEnabled(sub->Enabled);
      Fill(*child, *sub, map);
      continue;
    }
    if (sub->Caption == QStringLiteral("-")) {
      qmenu.addSeparator()->setVisible(sub->Visible);
      continue;
    }
    QAction* action = qmenu.addAction(sub->Caption);
    action->setVisible(sub->Visible);
    action->setEnabled(sub->Enabled);
    if (sub->Checked) {
      action->setCheckable(true);
      action->setChecked(true);
    }
    map.emplace_back(action, sub);
  }
}

class TQtMenuPresenter final : public TMenuPresenter {
 public:
  void Show(TPopupMenu& menu, int screenX, int screenY) override {
    std::vector<std::pair<QAction*, const TMenuItem*>> map;
    QMenu qmenu;
    Fill(qmenu, menu.Items(), map);
    QAction* chosen = qmenu.exec(QPoint(screenX, screenY));
    if (!chosen) return;
    for (const auto& [action, item] : map) {
      if (action != chosen) continue;
      // The command is delivered once the current input event has been handled; the action is
      // copied so that a menu rebuilt in between cannot take it away.
      if (!item->Visible || !item->Enabled || !item->OnClick) return;
      std::function<void()> run = item->OnClick;
      QTimer::singleShot(0, [run] { run(); });
      return;
    }
  }
};

TQtMenuPresenter g_qtPresenter;
TMenuPresenter* g_presenter = nullptr;
}  // namespace

TMenuPresenter& MenuPresenter() { return g_presenter ? *g_presenter : g_qtPresenter; }
void SetMenuPresenter(TMenuPresenter* presenter) { g_presenter = presenter; }

TMenuRecorder::TMenuRecorder() : previous_(g_presenter) { SetMenuPresenter(this); }
TMenuRecorder::~TMenuRecorder() { SetMenuPresenter(previous_); }

void TMenuRecorder::Show(TPopupMenu& menu, int screenX, int screenY) {
  TShown shown;
  shown.X = screenX;
  shown.Y = screenY;
  for (int i = 0; i < menu.Items().Count(); ++i)
    if (menu.Items().Items(i)->Visible) shown.Captions << menu.Items().Items(i)->Caption;
  Shown.push_back(shown);
  LastMenu = &menu;
  if (!ChooseCaption.isEmpty())
    if (TMenuItem* item = menu.Items().Find(ChooseCaption)) item->Click();
}
