#include "chart/editor/iPlotEditor.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "chart/core/iErrors.h"
#include "chart/editor/iPlotEditorWidgets.h"
#include "chart/editor/iPropertyGrid.h"
#include "chart/editor/iPropertySnapshot.h"
#include "platform/Dialogs.h"

namespace {

// The kinds of chart object the editor lists, in the order it lists them, each reached through
// the chart's own operations for that kind.
struct TiEditorKind {
  const char* Group;
  const char* Single;
  int (*Count)(const TiPlotComponent&);
  TiPlotObject* (*Item)(const TiPlotComponent&, int);
  int (*Add)(TiPlotComponent&);
  void (*Delete)(TiPlotComponent&, int);
  // Channels come and go only when the chart's UserCanAddRemoveChannels allows it.
  bool Channels = false;
  // The first object is the chart's title, which stays.
  bool FirstIsTitle = false;
};

#define TI_EDITOR_KIND(group, single, Name, Items, ...)                                              \
  TiEditorKind {                                                                                   \
    group, single, [](const TiPlotComponent& c) { return c.Name##Count(); },                       \
        [](const TiPlotComponent& c, int i) -> TiPlotObject* { return c.Items(i); },               \
        [](TiPlotComponent& c) { return c.Add##Name(); }, [](TiPlotComponent& c, int i) { c.Delete##Name(i); }, \
        __VA_ARGS__                                                                                \
  }

const std::vector<TiEditorKind>& Kinds() {
  static const std::vector<TiEditorKind> kinds = {
      TI_EDITOR_KIND("Channels", "Channel", Channel, Channel, true, false),
      TI_EDITOR_KIND("X-Axes", "X-Axis", XAxis, XAxis, false, false),
      TI_EDITOR_KIND("Y-Axes", "Y-Axis", YAxis, YAxis, false, false),
      TI_EDITOR_KIND("Data Views", "Data View", DataView, DataView, false, false),
      TI_EDITOR_KIND("Legends", "Legend", Legend, Legend, false, false),
      TI_EDITOR_KIND("Toolbars", "Toolbar", ToolBar, ToolBar, false, false),
      TI_EDITOR_KIND("Data Cursors", "Data Cursor", DataCursor, DataCursor, false, false),
      TI_EDITOR_KIND("Labels", "Label", Label, Labels, false, true),
      TI_EDITOR_KIND("Limits", "Limit", Limit, Limit, false, false),
      TI_EDITOR_KIND("Annotations", "Annotation", Annotation, Annotation, false, false),
      TI_EDITOR_KIND("Tables", "Table", Table, Table, false, false),
  };
  return kinds;
}
#undef TI_EDITOR_KIND

// What a row of the object list stands for.
enum TEntry { entChart, entKind, entObject };
constexpr int kEntryRole = Qt::UserRole;
constexpr int kKindRole = Qt::UserRole + 1;
constexpr int kListedRole = Qt::UserRole + 2;

// Keeps a function from running into the next one when it fails.
template <class F>
void Safely(F f) {
  try {
    f();
  } catch (const std::exception& e) {
    ReportSlotFailure(&e);
  }
}

}  // namespace

// The values of one object as the window found them.
struct TiPlotEditorForm::TKept {
  TiPersistent* Object = nullptr;
  std::weak_ptr<const void> Life;  // empty for the chart, which the form watches itself
  std::unique_ptr<TiPropertySnapshot> Values;
};

TiPlotEditorForm::TiPlotEditorForm(TiPlotComponent* chart, TiPlotObject* object) : QDialog(chart), chart_(chart) {
  setWindowTitle(QStringLiteral("Chart Editor"));
  setObjectName(QStringLiteral("iPlotEditorForm"));
  BuildWindow();
  // The grid's column titles are no control captions; they take the chart's table directly.
  if (chart_)
    grid_->setHeaderLabels({chart_->Translate(QStringLiteral("Property")), chart_->Translate(QStringLiteral("Value")), QString()});
  // The window's own captions now; the grid's rows are translated as they are made.
  if (chart_ && chart_->Master()) chart_->Master()->TranslateForm(this);
  KeepEverything();
  RebuildList(object ? static_cast<TiPersistent*>(object) : chart);
  syncTimer_ = new QTimer(this);
  syncTimer_->setInterval(500);
  connect(syncTimer_, &QTimer::timeout, this, Guarded([this] { SyncObjects(); }));
  syncTimer_->start();
}

TiPlotEditorForm::~TiPlotEditorForm() = default;

void TiPlotEditorForm::BuildWindow() {
  resize(960, 640);
  setMinimumSize(560, 380);
  auto* splitter = new QSplitter(Qt::Horizontal, this);

  auto* left = new QWidget(splitter);
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(0, 0, 4, 0);
  leftLayout->addWidget(new QLabel(QStringLiteral("Objects"), left));
  objects_ = new QTreeWidget(left);
  objects_->setHeaderHidden(true);
  objects_->setIndentation(14);
  objects_->installEventFilter(this);
  leftLayout->addWidget(objects_, 1);
  auto* buttons = new QHBoxLayout;
  add_ = new QPushButton(QStringLiteral("Add"), left);
  delete_ = new QPushButton(QStringLiteral("Delete"), left);
  buttons->addWidget(add_);
  buttons->addWidget(delete_);
  leftLayout->addLayout(buttons);

  auto* right = new QWidget(splitter);
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(4, 0, 0, 0);
  auto* top = new QHBoxLayout;
  caption_ = new QLabel(right);
  QFont bold = caption_->font();
  bold.setBold(true);
  caption_->setFont(bold);
  filter_ = new QLineEdit(right);
  filter_->setPlaceholderText(QStringLiteral("Filter properties"));
  filter_->setClearButtonEnabled(true);
  filter_->setMaximumWidth(220);
  top->addWidget(caption_, 1);
  top->addWidget(filter_);
  rightLayout->addLayout(top);
  grid_ = new TiPropertyGrid(right);
  rightLayout->addWidget(grid_, 1);
  description_ = new QLabel(right);
  description_->setWordWrap(true);
  description_->setFrameShape(QFrame::StyledPanel);
  description_->setMinimumHeight(40);
  description_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  description_->setTextFormat(Qt::PlainText);
  rightLayout->addWidget(description_);

  splitter->addWidget(left);
  splitter->addWidget(right);
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({220, 740});

  auto* box = new QDialogButtonBox(this);
  // The property file's buttons stand apart from the window's own, at the left.
  load_ = new QPushButton(QStringLiteral("Load..."), this);
  save_ = new QPushButton(QStringLiteral("Save..."), this);
  ok_ = box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  cancel_ = box->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  ok_->setDefault(false);
  ok_->setAutoDefault(false);
  cancel_->setAutoDefault(false);
  load_->setAutoDefault(false);
  save_->setAutoDefault(false);
  add_->setAutoDefault(false);
  delete_->setAutoDefault(false);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(splitter, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(load_);
  bottom->addWidget(save_);
  bottom->addStretch(1);
  bottom->addWidget(box);
  layout->addLayout(bottom);

  connect(box, &QDialogButtonBox::accepted, this, Guarded([this] { accept(); }));
  connect(box, &QDialogButtonBox::rejected, this, Guarded([this] { reject(); }));
  connect(objects_, &QTreeWidget::currentItemChanged, this, Guarded([this] { ShowSelection(); }));
  connect(add_, &QPushButton::clicked, this, Guarded([this] { AddObject(); }));
  connect(delete_, &QPushButton::clicked, this, Guarded([this] { DeleteObject(); }));
  connect(load_, &QPushButton::clicked, this, Guarded([this] { LoadProperties(); }));
  connect(save_, &QPushButton::clicked, this, Guarded([this] { SaveProperties(); }));
  connect(filter_, &QLineEdit::textChanged, this, Guarded([this](const QString& text) { grid_->SetFilter(text); }));
  connect(grid_, &QTreeWidget::currentItemChanged, this,
          Guarded([this](QTreeWidgetItem* item) { description_->setText(grid_->Description(item)); }));
  grid_->OnChanged = [this] { UpdateListTexts(); };
}

// ---- what the window found ----

void TiPlotEditorForm::Keep(TiPersistent* object, std::weak_ptr<const void> life) {
  auto kept = std::make_unique<TKept>();
  kept->Object = object;
  kept->Life = std::move(life);
  kept->Values = std::make_unique<TiPropertySnapshot>(*object);
  kept_.push_back(std::move(kept));
}

void TiPlotEditorForm::KeepEverything() {
  if (!chart_) return;
  Keep(chart_.data(), {});
  KeepNewObjects(ListNow());
}

void TiPlotEditorForm::KeepNewObjects(const std::vector<TListed>& listed) {
  // Objects the program adds while the window is open are kept as they first appear, so that
  // Cancel takes back what the user changed on them too. Objects added here are deleted by
  // Cancel anyway.
  auto known = [this](const TListed& l) {
    for (const auto& kept : kept_)
      if (kept->Object == static_cast<TiPersistent*>(l.Object) && !kept->Life.expired()) return true;
    for (const TListed& added : added_)
      if (added.Object == l.Object && !added.Life.expired()) return true;
    return false;
  };
  for (const TListed& l : listed)
    if (!l.Life.expired() && !known(l)) Keep(l.Object, l.Life);
}

void TiPlotEditorForm::CancelChanges() {
  if (!chart_) return;
  TiPlotComponent* chart = chart_.data();
  chart->BeginUpdate();
  // Newest first, so that the positions of the older ones stay as found.
  for (auto it = added_.rbegin(); it != added_.rend(); ++it)
    Safely([&] {
      if (it->Life.expired()) return;
      const int index = IndexInKind(it->Kind, it->Object);
      if (index >= 0) Kinds()[static_cast<std::size_t>(it->Kind)].Delete(*chart, index);
    });
  added_.clear();
  for (const auto& kept : kept_)
    Safely([&] {
      const bool isChart = kept->Object == static_cast<TiPersistent*>(chart);
      if (!isChart && kept->Life.expired()) return;
      kept->Values->Restore(*kept->Object);
    });
  Safely([&] { chart->EndUpdate(); });
  if (chart_) {
    RebuildList(SelectedObject());
  }
}

// ---- the property file ----

namespace {
const QString kPropertyFileFilter = QStringLiteral("Chart Properties (*.txt) | *.txt | All Files | *.*");
}  // namespace

void TiPlotEditorForm::LoadProperties() {
  if (!chart_) return;
  TOpenDialogOptions options;
  options.Title = chart_->Translate(QStringLiteral("Load Properties"));
  options.Filter = kPropertyFileFilter;
  QString fileName;
  if (!Dialogs().ExecuteOpen(options, fileName)) return;
  bool loaded = false;
  try {
    chart_->LoadPropertiesFromFile(fileName);
    loaded = true;
  } catch (const std::exception& e) {
    ShowMessage(ErrorMessage(e));
  }
  if (!chart_) return;
  if (loaded) {
    // The objects found when the window opened are gone: Cancel takes back what follows.
    kept_.clear();
    added_.clear();
    KeepEverything();
  }
  RebuildList(chart_.data());
}

void TiPlotEditorForm::SaveProperties() {
  if (!chart_) return;
  TSaveDialogOptions options;
  options.Title = chart_->Translate(QStringLiteral("Save Properties"));
  options.Filter = kPropertyFileFilter;
  options.DefaultExt = QStringLiteral("txt");
  options.OverwritePrompt = true;
  QString fileName;
  if (!Dialogs().ExecuteSave(options, fileName)) return;
  try {
    chart_->SavePropertiesToFile(fileName);
  } catch (const std::exception& e) {
    ShowMessage(ErrorMessage(e));
  }
}

// ---- the object list ----

std::vector<TiPlotEditorForm::TListed> TiPlotEditorForm::ListNow() const {
  std::vector<TListed> now;
  if (!chart_) return now;
  const auto& kinds = Kinds();
  for (int k = 0; k < static_cast<int>(kinds.size()); ++k) {
    const int count = kinds[static_cast<std::size_t>(k)].Count(*chart_);
    for (int i = 0; i < count; ++i) {
      TiPlotObject* object = kinds[static_cast<std::size_t>(k)].Item(*chart_, i);
      if (object) now.push_back({k, object, object->LifeToken()});
    }
  }
  return now;
}

int TiPlotEditorForm::IndexInKind(int kind, const TiPlotObject* object) const {
  if (!chart_ || kind < 0) return -1;
  const TiEditorKind& k = Kinds()[static_cast<std::size_t>(kind)];
  const int count = k.Count(*chart_);
  for (int i = 0; i < count; ++i)
    if (k.Item(*chart_, i) == object) return i;
  return -1;
}

QString TiPlotEditorForm::ListText(int kind, int index, const TiPlotObject* object) const {
  if (!object->Name().isEmpty()) return object->Name();
  // Objects without a name (annotations) go by their kind and position.
  const QString single = QString::fromLatin1(Kinds()[static_cast<std::size_t>(kind)].Single);
  return QStringLiteral("%1 #%2").arg(chart_ ? chart_->Translate(single) : single).arg(index + 1);
}

void TiPlotEditorForm::RebuildList(TiPersistent* select) {
  TiPersistent* const shownBefore = grid_->Object();
  const QSignalBlocker block(objects_);
  objects_->clear();
  listItems_.clear();
  kindItems_.clear();
  listed_ = ListNow();
  KeepNewObjects(listed_);
  if (!chart_) {
    grid_->SetObject({});
    UpdateButtons();
    return;
  }
  auto* chartItem = new QTreeWidgetItem(objects_, {chart_->Translate(QStringLiteral("Chart"))});
  chartItem->setData(0, kEntryRole, entChart);
  QFont bold = chartItem->font(0);
  bold.setBold(true);
  chartItem->setFont(0, bold);
  const auto& kinds = Kinds();
  for (int k = 0; k < static_cast<int>(kinds.size()); ++k) {
    const QString group = chart_->Translate(QString::fromLatin1(kinds[static_cast<std::size_t>(k)].Group));
    auto* kindItem = new QTreeWidgetItem(objects_, {group});
    kindItem->setData(0, kEntryRole, entKind);
    kindItem->setData(0, kKindRole, k);
    kindItem->setFont(0, bold);
    kindItems_.push_back(kindItem);
  }
  for (int i = 0; i < static_cast<int>(listed_.size()); ++i) {
    const TListed& l = listed_[static_cast<std::size_t>(i)];
    QTreeWidgetItem* parent = kindItems_[static_cast<std::size_t>(l.Kind)];
    auto* item = new QTreeWidgetItem(parent, {ListText(l.Kind, parent->childCount(), l.Object)});
    item->setData(0, kEntryRole, entObject);
    item->setData(0, kKindRole, l.Kind);
    item->setData(0, kListedRole, i);
    listItems_.push_back(item);
  }
  for (QTreeWidgetItem* kindItem : kindItems_)
    kindItem->setText(0, QStringLiteral("%1 (%2)").arg(kindItem->text(0)).arg(kindItem->childCount()));
  objects_->expandAll();
  QTreeWidgetItem* current = ItemOf(select);
  objects_->setCurrentItem(current ? current : chartItem);
  // The grid keeps its rows (and whatever is being typed) while it shows the same object.
  TiPersistent* selected = SelectedObject();
  if (selected && selected == shownBefore) {
    grid_->Refresh(true);
    UpdateListTexts();
    UpdateButtons();
  } else {
    ShowSelection();
  }
}

QTreeWidgetItem* TiPlotEditorForm::ItemOf(const TiPersistent* object) const {
  if (!object) return nullptr;
  if (chart_ && object == static_cast<const TiPersistent*>(chart_.data())) return objects_->topLevelItem(0);
  for (std::size_t i = 0; i < listed_.size(); ++i)
    if (!listed_[i].Life.expired() && static_cast<const TiPersistent*>(listed_[i].Object) == object) return listItems_[i];
  return nullptr;
}

void TiPlotEditorForm::UpdateListTexts() {
  for (std::size_t i = 0; i < listed_.size(); ++i) {
    const TListed& l = listed_[i];
    if (l.Life.expired()) continue;
    QTreeWidgetItem* item = listItems_[i];
    item->setText(0, ListText(l.Kind, item->parent()->indexOfChild(item), l.Object));
  }
  if (TiPersistent* shown = SelectedObject())
    if (auto* object = dynamic_cast<TiPlotObject*>(shown)) caption_->setText(objects_->currentItem()->text(0) + QStringLiteral("  (") + object->ClassName() + QLatin1Char(')'));
}

void TiPlotEditorForm::SyncObjects() {
  if (!chart_ || closing_) return;
  // Not while a dialog of the grid (font, colour, message) is open over the window: its rows
  // stay as they are until it closes.
  if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != this) return;
  const std::vector<TListed> now = ListNow();
  bool same = now.size() == listed_.size();
  for (std::size_t i = 0; same && i < now.size(); ++i)
    same = now[i].Object == listed_[i].Object && !listed_[i].Life.expired();
  if (!same) {
    RebuildList(SelectedObject());
    return;
  }
  // Values the program changed meanwhile; what the user is typing stays.
  grid_->Refresh(true);
  UpdateListTexts();
}

TiPersistent* TiPlotEditorForm::SelectedObject() const {
  const QTreeWidgetItem* item = objects_->currentItem();
  if (!item || !chart_) return nullptr;
  const int entry = item->data(0, kEntryRole).toInt();
  if (entry == entChart) return chart_.data();
  if (entry != entObject) return nullptr;
  const TListed& l = listed_[static_cast<std::size_t>(item->data(0, kListedRole).toInt())];
  return l.Life.expired() ? nullptr : l.Object;
}

void TiPlotEditorForm::SelectObject(TiPlotObject* object) {
  SyncObjects();
  QTreeWidgetItem* item = ItemOf(object ? static_cast<TiPersistent*>(object) : chart_.data());
  if (item) objects_->setCurrentItem(item);
}

bool TiPlotEditorForm::SelectKind(const QString& kindCaption) {
  const auto& kinds = Kinds();
  for (std::size_t k = 0; k < kinds.size() && k < kindItems_.size(); ++k)
    if (kindCaption == QLatin1String(kinds[k].Group)) {
      objects_->setCurrentItem(kindItems_[k]);
      return true;
    }
  return false;
}

int TiPlotEditorForm::SelectedKind() const {
  const QTreeWidgetItem* item = objects_->currentItem();
  if (!item || item->data(0, kEntryRole).toInt() == entChart) return -1;
  return item->data(0, kKindRole).toInt();
}

void TiPlotEditorForm::ShowSelection() {
  TiPersistent* shown = SelectedObject();
  description_->clear();
  if (!shown) {
    grid_->SetObject({});
    const int kind = SelectedKind();
    caption_->setText(kind >= 0 && chart_ ? chart_->Translate(QString::fromLatin1(Kinds()[static_cast<std::size_t>(kind)].Group))
                                          : QString());
    if (kind >= 0) description_->setText(chart_->Translate(QStringLiteral("Choose an object of this kind, or add one.")));
  } else if (shown == static_cast<TiPersistent*>(chart_.data())) {
    QPointer<TiPlotComponent> chart = chart_;
    grid_->SetObject([chart]() -> TiPersistent* { return chart.data(); });
    caption_->setText(chart_->Translate(QStringLiteral("Chart")) + QStringLiteral("  (") + chart_->ClassName() + QLatin1Char(')'));
  } else {
    auto* object = static_cast<TiPlotObject*>(shown);
    std::weak_ptr<const void> life = object->LifeToken();
    grid_->SetObject([object, life]() -> TiPersistent* { return life.expired() ? nullptr : object; });
    UpdateListTexts();
  }
  grid_->SetFilter(filter_->text());
  // Rows are made anew for each object; their captions and lists pass through the chart's
  // translation table like the rest of the window.
  if (chart_ && chart_->Master() && !closing_) chart_->Master()->TranslateForm(grid_);
  UpdateButtons();
}

void TiPlotEditorForm::UpdateButtons() {
  const int kind = SelectedKind();
  const TiEditorKind* k = kind >= 0 ? &Kinds()[static_cast<std::size_t>(kind)] : nullptr;
  const bool channelsLocked = k && k->Channels && chart_ && !chart_->UserCanAddRemoveChannels();
  add_->setEnabled(chart_ && k && !channelsLocked);
  auto* object = dynamic_cast<TiPlotObject*>(SelectedObject());
  const bool title = k && k->FirstIsTitle && object && IndexInKind(kind, object) == 0;
  delete_->setEnabled(chart_ && object && !channelsLocked && !title);
  delete_->setToolTip(title ? chart_->Translate(QStringLiteral("The title label cannot be deleted"))
                            : channelsLocked ? chart_->Translate(QStringLiteral("The chart does not let channels be added or removed"))
                                             : QString());
  add_->setToolTip(channelsLocked ? delete_->toolTip() : QString());
}

void TiPlotEditorForm::AddObject() {
  const int kind = SelectedKind();
  if (!chart_ || kind < 0 || !add_->isEnabled()) return;
  const TiEditorKind& k = Kinds()[static_cast<std::size_t>(kind)];
  const int index = k.Add(*chart_);
  if (index < 0) return;
  TiPlotObject* object = k.Item(*chart_, index);
  added_.push_back({kind, object, object->LifeToken()});
  RebuildList(object);
}

void TiPlotEditorForm::DeleteObject() {
  auto* object = dynamic_cast<TiPlotObject*>(SelectedObject());
  const int kind = SelectedKind();
  if (!chart_ || !object || kind < 0 || !delete_->isEnabled()) return;
  const int index = IndexInKind(kind, object);
  if (index < 0) return;
  const TiEditorKind& k = Kinds()[static_cast<std::size_t>(kind)];
  // Cancel cannot bring a deleted object back (nor a channel's points): the user says so first.
  const QString question = chart_->Translate(QStringLiteral("Delete %1? Cancel will not bring it back."));
  const QString name = ListText(kind, index, object);
  if (!Dialogs().AskYesNo(question.arg(name))) return;
  if (!chart_ || IndexInKind(kind, object) != index) return;  // gone or moved meanwhile
  k.Delete(*chart_, index);
  // The next object of the kind takes the place, or the kind itself when none is left.
  const int count = k.Count(*chart_);
  TiPlotObject* next = count > 0 ? k.Item(*chart_, std::min(index, count - 1)) : nullptr;
  RebuildList(next);
  if (!next) objects_->setCurrentItem(kindItems_[static_cast<std::size_t>(kind)]);
}

// ---- opening and closing ----

void TiPlotEditorForm::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (opened_) return;
  opened_ = true;
  Safely([&] {
    if (chart_) chart_->RaiseEvent(chart_->OnAfterOpenEditor, chart_.data());
  });
}

void TiPlotEditorForm::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    e->accept();
    return;
  }
  if (e->key() == Qt::Key_Escape) {
    bool reverted = false;
    Safely([&] { reverted = grid_->RevertPendingEntry(); });
    if (reverted) {
      e->accept();
      return;
    }
  }
  Safely([&] { QDialog::keyPressEvent(e); });
}

bool TiPlotEditorForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched != objects_ || event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key != Qt::Key_Delete && key != Qt::Key_Insert) return QDialog::eventFilter(watched, event);
  Safely([&] {
    if (key == Qt::Key_Delete) DeleteObject();
    else AddObject();
  });
  return true;
}

void TiPlotEditorForm::done(int result) {
  if (closing_) {
    QDialog::done(result);
    return;
  }
  closing_ = true;
  // A closing editor is left alone by the translation of windows.
  setProperty("iPlotEditorClosing", true);
  syncTimer_->stop();
  if (result == QDialog::Rejected) Safely([&] { CancelChanges(); });
  QDialog::done(result);
  Safely([&] {
    if (chart_) chart_->RaiseEvent(chart_->OnAfterCloseEditor, chart_.data());
  });
}
