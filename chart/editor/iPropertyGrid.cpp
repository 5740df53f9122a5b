#include "chart/editor/iPropertyGrid.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QCoreApplication>
#include <QEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "chart/core/iErrors.h"
#include "chart/editor/iPlotEditorWidgets.h"
#include "platform/ColorNames.h"
#include "platform/Convert.h"
#include "platform/Dialogs.h"
#include "platform/Locale.h"
#include "platform/PickerDialogs.h"

namespace {

constexpr int kMaxDepth = 4;  // nested objects deeper than this are not shown (no cycles)
constexpr int kRowHeight = 24;
enum TColumn { colName, colValue, colReset };

QString FloatText(double v) {
  if (std::isnan(v)) return QStringLiteral("NAN");
  if (std::isinf(v)) return v > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
  return FloatToStr(v, FormatSettings().DecimalSeparator);
}

// The text a set shows folded: its members' names in brackets.
QString SetText(const TiPropertyInfo& p, std::int64_t v) {
  QStringList members;
  for (int bit = 0; bit < p.ValueNames.size(); ++bit)
    if (v & (std::int64_t{1} << bit)) members << p.ValueNames[bit];
  return QLatin1Char('[') + members.join(QLatin1Char(',')) + QLatin1Char(']');
}

QString ObjectText(const TiPersistent* object) {
  if (!object) return QStringLiteral("(none)");
  if (const auto* font = dynamic_cast<const TiFont*>(object)) return FontSummary(font->Font());
  return QLatin1Char('(') + object->ClassName() + QLatin1Char(')');
}

QString OrdinalText(const TiPropertyInfo& p, std::int64_t v) {
  switch (p.Kind) {
    case TiPropertyKind::Char: return QString(QChar(static_cast<char16_t>(v)));
    case TiPropertyKind::Color: return ColorToString(static_cast<TColor>(v));
    case TiPropertyKind::Set: return SetText(p, v);
    case TiPropertyKind::Boolean: return v ? QStringLiteral("True") : QStringLiteral("False");
    case TiPropertyKind::Enumeration:
      return v >= 0 && v < p.ValueNames.size() ? p.ValueNames[static_cast<int>(v)] : QString::number(v);
    default: return QString::number(v);
  }
}

// The declared default as the grid shows values; empty when there is none.
QString DefaultText(const TiPropertyInfo& p) {
  if (p.IsOrdinal() && p.Default) return OrdinalText(p, *p.Default);
  if (p.Kind == TiPropertyKind::Float && p.FloatDefault) return FloatText(*p.FloatDefault);
  if (p.Kind == TiPropertyKind::String && p.StringDefault)
    return p.StringDefault->isEmpty() ? QStringLiteral("(empty)") : QLatin1Char('"') + *p.StringDefault + QLatin1Char('"');
  return {};
}

QString ValueText(const TiPropertyInfo& p, const TiPersistent& owner) {
  if (p.IsOrdinal()) return OrdinalText(p, p.GetOrdinal(owner));
  if (p.Kind == TiPropertyKind::Float) return FloatText(p.GetFloat(owner));
  if (p.Kind == TiPropertyKind::String) return p.GetString(owner);
  return ObjectText(p.GetObject(owner));
}

// Reads a typed value into the property: the platform's conversions and their messages.
void SetFromText(TiPersistent& owner, const TiPropertyInfo& p, const QString& text) {
  switch (p.Kind) {
    case TiPropertyKind::Float: {
      double v = 0;
      // The local separator first; a dot is always understood as well.
      if (!TryStrToFloat(text, v, FormatSettings().DecimalSeparator)) v = StrToFloat(text);
      p.SetFloat(owner, v);
      break;
    }
    case TiPropertyKind::String: p.SetString(owner, text); break;
    case TiPropertyKind::Char:
      if (text.size() != 1) throw EConvertError(QStringLiteral("'%1' is not a single character").arg(text));
      p.SetOrdinal(owner, text[0].unicode());
      break;
    default: p.SetOrdinal(owner, StrToInt(text)); break;
  }
}

}  // namespace

struct TiPropertyGrid::TRow {
  QTreeWidgetItem* Item = nullptr;
  std::vector<const TiPropertyInfo*> Path;  // the nested objects from the root to the owner
  const TiPropertyInfo* Prop = nullptr;
  int Bit = -1;  // a member row of a set
  QString DottedName;
  QWidget* Editor = nullptr;
  QToolButton* Reset = nullptr;
};

TiPropertyGrid::TiPropertyGrid(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(3);
  setHeaderLabels({QStringLiteral("Property"), QStringLiteral("Value"), QString()});
  header()->setSectionResizeMode(colName, QHeaderView::Interactive);
  header()->setSectionResizeMode(colValue, QHeaderView::Stretch);
  header()->setSectionResizeMode(colReset, QHeaderView::Fixed);
  header()->setStretchLastSection(false);
  header()->resizeSection(colName, 210);
  header()->resizeSection(colReset, 56);
  setAlternatingRowColors(true);
  // A light selection, so that the value editors on the current row stay readable.
  QPalette light = palette();
  light.setColor(QPalette::Highlight, QColor(204, 228, 247));
  light.setColor(QPalette::HighlightedText, QColor(Qt::black));
  setPalette(light);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformRowHeights(false);
  setIndentation(14);
  setRootIsDecorated(true);
}

TiPropertyGrid::~TiPropertyGrid() = default;

TiPersistent* TiPropertyGrid::Object() const { return root_ ? root_() : nullptr; }

void TiPropertyGrid::SetObject(std::function<TiPersistent*()> root) {
  ++generation_;
  clear();
  rows_.clear();
  headings_.clear();
  root_ = std::move(root);
  TiPersistent* object = Object();
  if (!object) return;
  AddRows(nullptr, *object, {}, QString(), 0);
  for (int i = 0; i < static_cast<int>(rows_.size()); ++i) AddEditor(i);
  Refresh();
  FitNameColumn();
  // The first property is the current row, so that its description shows from the start.
  if (!rows_.empty()) setCurrentItem(rows_.front().Item);
}

void TiPropertyGrid::FitNameColumn() {
  // Wide enough for the longest name (bold, as a changed value shows), within bounds that leave
  // the values room.
  QFont bold = font();
  bold.setBold(true);
  const QFontMetrics metrics(bold);
  int widest = 0;
  for (const TRow& row : rows_) {
    int depth = 1;
    for (const QTreeWidgetItem* up = row.Item->parent(); up; up = up->parent()) ++depth;
    widest = std::max(widest, metrics.horizontalAdvance(row.Item->text(colName)) + depth * indentation());
  }
  header()->resizeSection(colName, std::clamp(widest + 16, 180, 340));
}

namespace {
// The class whose table first declares the property: the heading it is listed under.
QString DeclaringClass(const TiClassInfo& info, const QString& name) {
  const TiClassInfo* c = &info;
  while (c->Parent() && c->Parent()->Find(name)) c = c->Parent();
  return c->ClassName();
}
}  // namespace

void TiPropertyGrid::AddRows(QTreeWidgetItem* parent, TiPersistent& object, const std::vector<const TiPropertyInfo*>& path,
                             const QString& prefix, int depth) {
  QString heading;
  for (const TiPropertyInfo& p : object.ClassInfo().Properties()) {
    if (!p.Readable()) continue;
    if (depth == 0) {
      // The object's own properties come in groups by the class that declares them, the base
      // classes first, as the tables list them.
      const QString declaring = DeclaringClass(object.ClassInfo(), p.Name);
      if (declaring != heading || !parent) {
        heading = declaring;
        parent = new QTreeWidgetItem(this, {heading});
        parent->setFirstColumnSpanned(true);
        QFont bold = font();
        bold.setBold(true);
        parent->setFont(colName, bold);
        parent->setBackground(colName, palette().brush(QPalette::Button));
        parent->setFlags(Qt::ItemIsEnabled);
        parent->setExpanded(true);
        headings_.push_back(parent);
      }
    }
    const QString name = prefix.isEmpty() ? p.Name : prefix + QLatin1Char('.') + p.Name;
    auto* item = new QTreeWidgetItem(parent, {p.Name});
    item->setSizeHint(colName, QSize(-1, kRowHeight));
    rows_.push_back({item, path, &p, -1, name});
    if (p.Kind == TiPropertyKind::Object && depth < kMaxDepth) {
      if (TiPersistent* nested = p.GetObject(object)) {
        std::vector<const TiPropertyInfo*> inner = path;
        inner.push_back(&p);
        AddRows(item, *nested, inner, name, depth + 1);
      }
    } else if (p.Kind == TiPropertyKind::Set) {
      for (int bit = 0; bit < p.ValueNames.size(); ++bit) {
        auto* member = new QTreeWidgetItem(item, {p.ValueNames[bit]});
        member->setSizeHint(colName, QSize(-1, kRowHeight));
        rows_.push_back({member, path, &p, bit, name + QLatin1Char('.') + p.ValueNames[bit]});
      }
    }
  }
}

void TiPropertyGrid::AddEditor(int index) {
  TRow& row = rows_[static_cast<std::size_t>(index)];
  const TiPropertyInfo& p = *row.Prop;
  const bool writable = p.Writable();
  QWidget* editor = nullptr;
  if (row.Bit >= 0 || p.Kind == TiPropertyKind::Boolean) {
    auto* box = new QCheckBox;
    box->setEnabled(writable);
    const int bit = row.Bit;
    connect(box, &QCheckBox::toggled, this, Guarded([this, index, bit](bool on) {
              Change(index, [bit, on](TiPersistent& o, const TiPropertyInfo& q) {
                if (bit < 0) {
                  q.SetOrdinal(o, on ? 1 : 0);
                  return;
                }
                const std::int64_t mask = std::int64_t{1} << bit;
                const std::int64_t v = q.GetOrdinal(o);
                q.SetOrdinal(o, on ? (v | mask) : (v & ~mask));
              });
            }));
    editor = box;
  } else if (p.Kind == TiPropertyKind::Enumeration && !p.ValueNames.isEmpty()) {
    auto* combo = new QComboBox;
    combo->setFocusPolicy(Qt::StrongFocus);
    combo->installEventFilter(this);
    combo->addItems(p.ValueNames);
    combo->setEnabled(writable);
    connect(combo, &QComboBox::currentIndexChanged, this, Guarded([this, index](int i) {
              if (i < 0) return;
              Change(index, [i](TiPersistent& o, const TiPropertyInfo& q) { q.SetOrdinal(o, i); });
            }));
    editor = combo;
  } else if (p.Kind == TiPropertyKind::Color) {
    auto* box = new TiColorBox;
    box->List()->setFocusPolicy(Qt::StrongFocus);
    box->List()->installEventFilter(this);
    box->setEnabled(writable);
    box->OnPicked = [this, index, generation = generation_](TColor c) {
      if (generation != generation_) return;
      Change(index, [c](TiPersistent& o, const TiPropertyInfo& q) { q.SetOrdinal(o, c); });
    };
    editor = box;
  } else if (p.Kind == TiPropertyKind::Object) {
    auto* box = new TiObjectBox;
    const TiPropertyInfo* prop = row.Prop;
    box->OnEditFont = [this, index, prop] {
      TiPersistent* owner = Owner(rows_[static_cast<std::size_t>(index)]);
      auto* font = owner ? dynamic_cast<TiFont*>(prop->GetObject(*owner)) : nullptr;
      if (!font) return;
      TFont chosen = font->Font();
      const int generation = generation_;
      if (!Pickers().ExecuteFont(chosen)) return;
      // The grid may show another object by now: the choice belongs to the rows it was made for.
      if (generation != generation_) return;
      // One change for the whole font, through the font's own setter.
      Change(index, [chosen](TiPersistent& o, const TiPropertyInfo& q) {
        if (auto* f = dynamic_cast<TiFont*>(q.GetObject(o))) f->Assign(chosen);
      });
    };
    editor = box;
  } else if (p.Kind == TiPropertyKind::Set) {
    editor = new QLabel;
  } else {
    auto* line = new QLineEdit;
    line->setFrame(false);
    // The row's own shading shows through, as in the other rows.
    QPalette palette = line->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    line->setPalette(palette);
    line->setReadOnly(!writable);
    if (p.Kind == TiPropertyKind::Char) line->setMaxLength(1);
    connect(line, &QLineEdit::editingFinished, this, Guarded([this, index] { CommitText(index); }));
    editor = line;
  }
  row.Editor = editor;
  editor->setMinimumHeight(kRowHeight - 2);
  setItemWidget(row.Item, colValue, editor);
  if (writable && row.Bit < 0 && p.HasDefault()) {
    auto* reset = new QToolButton;
    reset->setText(QStringLiteral("Reset"));
    reset->setAutoRaise(true);
    reset->setToolTip(QStringLiteral("Back to the default value"));
    // Shown only where there is something to reset: a locked button draws no text.
    QPalette palette = reset->palette();
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, Qt::transparent);
    reset->setPalette(palette);
    connect(reset, &QToolButton::clicked, this, Guarded([this, index] { ResetRow(index); }));
    row.Reset = reset;
    setItemWidget(row.Item, colReset, reset);
  }
  if (!writable && p.Kind != TiPropertyKind::Object) row.Item->setToolTip(colName, QStringLiteral("Read only"));
}

bool TiPropertyGrid::eventFilter(QObject* watched, QEvent* event) {
  try {
    auto* combo = qobject_cast<QComboBox*>(watched);
    if (combo && event->type() == QEvent::Wheel && !combo->hasFocus()) {
      QCoreApplication::sendEvent(viewport(), event);
      return true;
    }
    return QTreeWidget::eventFilter(watched, event);
  } catch (...) {
    return true;
  }
}

TiPersistent* TiPropertyGrid::Owner(const TRow& row) const {
  TiPersistent* object = Object();
  for (const TiPropertyInfo* step : row.Path) {
    if (!object) return nullptr;
    object = step->GetObject(*object);
  }
  return object;
}

void TiPropertyGrid::Change(int index, const std::function<void(TiPersistent&, const TiPropertyInfo&)>& change) {
  if (refreshing_ || index >= static_cast<int>(rows_.size())) return;
  const TRow& row = rows_[static_cast<std::size_t>(index)];
  TiPersistent* owner = Owner(row);
  if (owner && (row.Prop->Writable() || row.Prop->Kind == TiPropertyKind::Object)) {
    try {
      change(*owner, *row.Prop);
    } catch (const std::exception& e) {
      Dialogs().ShowMessage(ErrorMessage(e));
    }
  }
  Refresh();
  if (OnChanged) OnChanged();
}

void TiPropertyGrid::CommitText(int index) {
  const TRow& row = rows_[static_cast<std::size_t>(index)];
  auto* line = static_cast<QLineEdit*>(row.Editor);
  TiPersistent* owner = Owner(row);
  if (refreshing_ || !owner || line->isReadOnly()) return;
  const QString text = line->text();
  // Leaving the box without a change changes nothing.
  if (text == ValueText(*row.Prop, *owner)) return;
  Change(index, [text](TiPersistent& o, const TiPropertyInfo& q) { SetFromText(o, q, text); });
}

void TiPropertyGrid::ResetRow(int index) {
  if (!rows_[static_cast<std::size_t>(index)].Prop->HasDefault()) return;
  Change(index, [](TiPersistent& o, const TiPropertyInfo& q) { q.SetToDefault(o); });
}

bool TiPropertyGrid::RevertPendingEntry() {
  bool reverted = false;
  for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
    auto* line = qobject_cast<QLineEdit*>(rows_[static_cast<std::size_t>(i)].Editor);
    if (!line || !line->isModified()) continue;
    refreshing_ = true;
    ShowValue(i);
    refreshing_ = false;
    line->setModified(false);
    reverted = true;
  }
  return reverted;
}

void TiPropertyGrid::Refresh(bool keepPendingEntries) {
  refreshing_ = true;
  for (int i = 0; i < static_cast<int>(rows_.size()); ++i) ShowValue(i, keepPendingEntries);
  refreshing_ = false;
}

void TiPropertyGrid::ShowValue(int index, bool keepPendingEntry) {
  const TRow& row = rows_[static_cast<std::size_t>(index)];
  const TiPropertyInfo& p = *row.Prop;
  TiPersistent* owner = Owner(row);
  // Read-only values stay readable (and their text selectable); only their editors are locked.
  const bool shownOnly = qobject_cast<QLineEdit*>(row.Editor) || qobject_cast<QLabel*>(row.Editor);
  row.Editor->setEnabled(owner != nullptr && (p.Writable() || p.Kind == TiPropertyKind::Object || shownOnly));
  ShowDefaultState(row, owner);
  if (!owner) return;
  const QSignalBlocker block(row.Editor);
  if (auto* box = qobject_cast<QCheckBox*>(row.Editor)) {
    const std::int64_t v = p.GetOrdinal(*owner);
    box->setChecked(row.Bit >= 0 ? ((v >> row.Bit) & 1) != 0 : v != 0);
  } else if (auto* combo = qobject_cast<QComboBox*>(row.Editor)) {
    const std::int64_t v = p.GetOrdinal(*owner);
    combo->setCurrentIndex(v >= 0 && v < combo->count() ? static_cast<int>(v) : -1);
  } else if (auto* colorBox = qobject_cast<TiColorBox*>(row.Editor)) {
    colorBox->SetColor(static_cast<TColor>(p.GetOrdinal(*owner)));
  } else if (auto* objectBox = qobject_cast<TiObjectBox*>(row.Editor)) {
    const TiPersistent* nested = p.GetObject(*owner);
    objectBox->SetText(ObjectText(nested), dynamic_cast<const TiFont*>(nested) != nullptr);
  } else if (auto* label = qobject_cast<QLabel*>(row.Editor)) {
    label->setText(ValueText(p, *owner));
  } else if (auto* line = qobject_cast<QLineEdit*>(row.Editor)) {
    if (keepPendingEntry && line->isModified()) return;
    line->setText(ValueText(p, *owner));
    line->setCursorPosition(0);
  }
}

void TiPropertyGrid::ShowDefaultState(const TRow& row, TiPersistent* owner) {
  const TiPropertyInfo& p = *row.Prop;
  const bool hasDefault = p.HasDefault() && row.Bit < 0;
  const bool differs = owner && hasDefault && !p.AtDefault(*owner);
  // Names of values that differ from their default stand out, as in other property editors.
  QFont f = font();
  f.setBold(differs);
  row.Item->setFont(colName, f);
  if (row.Reset) row.Reset->setEnabled(differs);
  if (hasDefault) row.Item->setToolTip(colValue, QStringLiteral("Default: %1").arg(DefaultText(p)));
}

void TiPropertyGrid::SetFilter(const QString& text) {
  // Children first, so that a parent stays visible when any of its rows matches.
  for (auto it = rows_.rbegin(); it != rows_.rend(); ++it) {
    bool visible = text.isEmpty() || it->DottedName.contains(text, Qt::CaseInsensitive);
    for (int c = 0; c < it->Item->childCount() && !visible; ++c) visible = !it->Item->child(c)->isHidden();
    it->Item->setHidden(!visible);
  }
  for (QTreeWidgetItem* heading : headings_) {
    bool visible = false;
    for (int c = 0; c < heading->childCount() && !visible; ++c) visible = !heading->child(c)->isHidden();
    heading->setHidden(!visible);
  }
  if (!text.isEmpty()) expandAll();
}

QTreeWidgetItem* TiPropertyGrid::Row(const QString& dottedName) const {
  for (const TRow& row : rows_)
    if (row.DottedName.compare(dottedName, Qt::CaseInsensitive) == 0) return row.Item;
  return nullptr;
}

QWidget* TiPropertyGrid::Editor(const QString& dottedName) const {
  for (const TRow& row : rows_)
    if (row.DottedName.compare(dottedName, Qt::CaseInsensitive) == 0) return row.Editor;
  return nullptr;
}

QToolButton* TiPropertyGrid::ResetButton(const QString& dottedName) const {
  for (const TRow& row : rows_)
    if (row.DottedName.compare(dottedName, Qt::CaseInsensitive) == 0) return row.Reset;
  return nullptr;
}

QString TiPropertyGrid::Description(const QTreeWidgetItem* item) const {
  for (const TRow& row : rows_) {
    if (row.Item != item) continue;
    const TiPropertyInfo& p = *row.Prop;
    if (row.Bit >= 0) return QStringLiteral("%1: member of the set %2").arg(row.DottedName, p.Name);
    static const char* const kKinds[] = {"whole number", "character", "enumeration", "True or False", "set",
                                         "colour", "number", "text", "nested object"};
    QString text = QStringLiteral("%1: %2").arg(row.DottedName, QLatin1String(kKinds[static_cast<int>(p.Kind)]));
    if (p.HasDefault()) text += QStringLiteral(", default %1").arg(DefaultText(p));
    if (!p.Writable() && p.Kind != TiPropertyKind::Object) text += QStringLiteral(", read only");
    if (!p.Stored) text += QStringLiteral(", not stored in files");
    return text;
  }
  return {};
}

QStringList TiPropertyGrid::RowNames() const {
  QStringList names;
  for (const TRow& row : rows_) names << row.DottedName;
  return names;
}
