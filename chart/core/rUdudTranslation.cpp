#include "chart/core/rUdudTranslation.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QVariant>
#include <QWidget>
#include <algorithm>

const TiClassInfo& TiPlotTranslationObject::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TiPlotTranslationObject>(QStringLiteral("TiPlotTranslationObject"), &TiPersistent::StaticClassInfo())
      .String(QStringLiteral("OriginalString"), &TiPlotTranslationObject::OriginalString, &TiPlotTranslationObject::SetOriginalString)
      .String(QStringLiteral("ReplacementString"), &TiPlotTranslationObject::ReplacementString, &TiPlotTranslationObject::SetReplacementString)
      .Build();
  return info;
}

// ---------------------------------------------------------------------------------------------
// TiPlotTranslationObject

TiPlotTranslationObject::TiPlotTranslationObject(const TiPlotNotifyEvent& onRemove, const TiPlotNotifyEvent& onInsert)
    : onRemove_(onRemove), onInsert_(onInsert) {}

TiPlotTranslationObject::~TiPlotTranslationObject() { BeforeDestructionInDestructor(); }

TiPlotTranslationObject* TiPlotTranslationObject::Create(const TiPlotNotifyEvent& onRemove, const TiPlotNotifyEvent& onInsert) {
  auto* entry = new TiPlotTranslationObject(onRemove, onInsert);
  const bool taken = TiPlotOwnershipHandOff::Announce(TiPlotPtr<TiPlotPersistent>(entry), [](TiPlotPersistent* p) {
    auto* e = static_cast<TiPlotTranslationObject*>(p);
    if (e->onInsert_) e->onInsert_(e);
  });
  return taken ? entry : nullptr;
}

void TiPlotTranslationObject::DoBeforeDestruction() {
  if (onRemove_) onRemove_(this);
}

// ---------------------------------------------------------------------------------------------
// TiPlotTranslationManager

TiPlotTranslationManager::TiPlotTranslationManager(const TiPlotNotifyEvent& onRemove, const TiPlotNotifyEvent& onInsert)
    : onRemove_(onRemove), onInsert_(onInsert) {
  if (!onInsert_) throw EiError(QStringLiteral("OnInsert event handler can not be null"));
  if (!onRemove_) throw EiError(QStringLiteral("OnRemove event handler can not be null"));
}

TiPlotTranslationManager::~TiPlotTranslationManager() { BeforeDestructionInDestructor(); }

TiPlotPtr<TiPlotTranslationManager> TiPlotTranslationManager::Make(const TiPlotNotifyEvent& onRemove, const TiPlotNotifyEvent& onInsert) {
  TiPlotPtr<TiPlotTranslationManager> table(new TiPlotTranslationManager(onRemove, onInsert));
  table->onInsert_(table.get());
  return table;
}

void TiPlotTranslationManager::DoBeforeDestruction() {
  Clear();
  if (onRemove_) onRemove_(this);
}

void TiPlotTranslationManager::Add(TiPlotTranslationObject* entry) {
  if (!entry || IndexOf(entry) >= 0) return;
  // Only an entry that is announcing itself can be taken: the table owns what it lists.
  TiPlotPtr<TiPlotPersistent> holder = TiPlotOwnershipHandOff::TakeOwnership(entry);
  if (!holder) return;
  (void)holder.release();
  list_.insert(list_.begin(), TiPlotPtr<TiPlotTranslationObject>(entry));
}

void TiPlotTranslationManager::Remove(TiPlotTranslationObject* entry) {
  const int index = IndexOf(entry);
  if (index < 0) return;
  if (!entry->Destroying()) {
    // Out of the table that owns it means gone.
    DestroyEntry(entry);
    return;
  }
  // On its way out (destroyed by the table, or deleted plainly): whoever destroys it holds it.
  (void)list_[static_cast<size_t>(index)].release();
  list_.erase(list_.begin() + index);
}

int TiPlotTranslationManager::IndexOf(const TiPlotTranslationObject* entry) const {
  for (size_t i = 0; i < list_.size(); ++i)
    if (list_[i].get() == entry) return static_cast<int>(i);
  return -1;
}

TiPlotTranslationObject* TiPlotTranslationManager::Items(int index) const {
  CheckIndex(index, Count());
  return list_[static_cast<size_t>(index)].get();
}

void TiPlotTranslationManager::Delete(int index) { DestroyEntry(Items(index)); }

void TiPlotTranslationManager::Clear() {
  while (!list_.empty()) DestroyEntry(list_.front().get());
}

void TiPlotTranslationManager::DestroyEntry(TiPlotTranslationObject* entry) {
  const int index = IndexOf(entry);
  if (index < 0) return;
  TiPlotPtr<TiPlotTranslationObject> holder = std::move(list_[static_cast<size_t>(index)]);
  list_.erase(list_.begin() + index);
  // Its remove handler finds it no longer listed.
  holder.reset();
}

QString TiPlotTranslationManager::Translate(const QString& text) const {
  for (const auto& entry : list_)
    if (entry->OriginalString() == text) return entry->ReplacementString();
  return text;
}

void TiPlotTranslationManager::TranslateForm(QWidget* window) const {
  if (!window || list_.empty()) return;
  if (window->property("iPlotEditorClosing").toBool()) return;
  window->setWindowTitle(Translate(window->windowTitle()));
  for (QObject* child : window->findChildren<QObject*>()) {
    if (auto* menu = qobject_cast<QMenu*>(child)) {
      // A popup menu's top-level items; submenus belong to their parent menu.
      if (qobject_cast<QMenu*>(menu->parent())) continue;
      for (QAction* action : menu->actions())
        if (!action->isSeparator()) action->setText(Translate(action->text()));
    } else if (auto* group = qobject_cast<QGroupBox*>(child)) {
      group->setTitle(Translate(group->title()));
    } else if (auto* button = qobject_cast<QAbstractButton*>(child)) {
      button->setText(Translate(button->text()));
    } else if (auto* label = qobject_cast<QLabel*>(child)) {
      label->setText(Translate(label->text()));
    } else if (auto* combo = qobject_cast<QComboBox*>(child)) {
      for (int i = 0; i < combo->count(); ++i) combo->setItemText(i, Translate(combo->itemText(i)));
    }
  }
}

std::vector<std::pair<QString, QString>> TiPlotTranslationManager::StoredEntries() const {
  std::vector<std::pair<QString, QString>> stored;
  for (const auto& entry : list_) stored.emplace_back(entry->OriginalString(), entry->ReplacementString());
  return stored;
}

void TiPlotTranslationManager::ReadStoredEntries(const std::vector<std::pair<QString, QString>>& entries) {
  Clear();
  for (const auto& [original, replacement] : entries) {
    TiPlotTranslationObject* entry = TiPlotTranslationObject::Create(onRemove_, onInsert_);
    if (!entry) continue;
    entry->SetOriginalString(original);
    entry->SetReplacementString(replacement);
  }
}
