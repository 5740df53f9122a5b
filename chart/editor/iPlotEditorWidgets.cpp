#include "chart/editor/iPlotEditorWidgets.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <QPointer>

#include "chart/core/iErrors.h"
#include "platform/ColorNames.h"
#include "platform/Dialogs.h"
#include "platform/PickerDialogs.h"

void ReportSlotFailure(const std::exception* error) {
  try {
    if (error) Dialogs().ShowMessage(ErrorMessage(*error));
  } catch (...) {
    // Showing the message failed as well; nothing more can be done inside a slot.
  }
}

QString FontSummary(const TFont& font) {
  QStringList styles;
  if (font.Style & FontStyleBit(fsBold)) styles << QStringLiteral("Bold");
  if (font.Style & FontStyleBit(fsItalic)) styles << QStringLiteral("Italic");
  if (font.Style & FontStyleBit(fsUnderline)) styles << QStringLiteral("Underline");
  if (font.Style & FontStyleBit(fsStrikeOut)) styles << QStringLiteral("Strike-out");
  QString text = QStringLiteral("%1, %2 px").arg(font.Name).arg(font.Height);
  if (!styles.isEmpty()) text += QStringLiteral(", ") + styles.join(QLatin1Char(' '));
  return text;
}

QIcon ColorSwatch(TColor color) {
  QPixmap pixmap(20, 14);
  pixmap.fill(color == clNone ? QColor(Qt::white) : ToQColor(color));
  QPainter painter(&pixmap);
  painter.setPen(QColor(96, 96, 96));
  painter.drawRect(0, 0, pixmap.width() - 1, pixmap.height() - 1);
  if (color == clNone) {
    painter.setPen(QColor(200, 0, 0));
    painter.drawLine(1, pixmap.height() - 2, pixmap.width() - 2, 1);
  }
  return QIcon(pixmap);
}

namespace {
constexpr int kCustomRole = Qt::UserRole + 1;  // marks the entry of an unnamed value
}

TiColorBox::TiColorBox(QWidget* parent) : QWidget(parent), list_(new QComboBox(this)), more_(new QToolButton(this)) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  list_->setIconSize(QSize(20, 14));
  list_->setMaxVisibleItems(20);
  // Named colours, the two special values, the system colours: a line between the groups.
  for (const TColorName& n : ColorNames()) {
    if (n.Value == clNone || n.Value == clScrollBar) list_->insertSeparator(list_->count());
    list_->addItem(ColorSwatch(n.Value), n.Name, n.Value);
  }
  more_->setText(QStringLiteral("..."));
  more_->setToolTip(QStringLiteral("Choose a colour"));
  layout->addWidget(list_, 1);
  layout->addWidget(more_);
  connect(list_, &QComboBox::currentIndexChanged, this, Guarded([this](int i) {
            if (i < 0) return;
            const TColor c = static_cast<TColor>(list_->itemData(i).toInt());
            if (c == color_) return;
            color_ = c;
            if (OnPicked) OnPicked(c);
          }));
  connect(more_, &QToolButton::clicked, this, Guarded([this] {
            TColor c = color_;
            const QPointer<TiColorBox> self(this);
            // The box may go while the dialog is open (the grid turned to another object).
            if (!Pickers().ExecuteColor(c) || !self || c == color_) return;
            color_ = c;
            if (OnPicked) OnPicked(c);
          }));
}

void TiColorBox::SetColor(TColor color) {
  // Shown already: the list stays as it is (it may be open under the mouse).
  const int current = list_->currentIndex();
  if (color == color_ && current >= 0 && list_->itemData(current).toInt() == color) return;
  color_ = color;
  ShowInList(color);
}

void TiColorBox::ShowInList(TColor color) {
  const QSignalBlocker block(list_);
  if (list_->count() > 0 && list_->itemData(0, kCustomRole).toBool()) list_->removeItem(0);
  int index = list_->findData(color);
  if (index < 0) {
    list_->insertItem(0, ColorSwatch(color), ColorToString(color), color);
    list_->setItemData(0, true, kCustomRole);
    index = 0;
  }
  list_->setCurrentIndex(index);
}

TiObjectBox::TiObjectBox(QWidget* parent) : QWidget(parent), label_(new QLabel(this)), font_(new QToolButton(this)) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 0, 0, 0);
  layout->setSpacing(2);
  font_->setText(QStringLiteral("..."));
  font_->setToolTip(QStringLiteral("Choose a font"));
  layout->addWidget(label_, 1);
  layout->addWidget(font_);
  connect(font_, &QToolButton::clicked, this, Guarded([this] {
            if (OnEditFont) OnEditFont();
          }));
}

void TiObjectBox::SetText(const QString& text, bool isFont) {
  label_->setText(text);
  font_->setVisible(isFont);
}
