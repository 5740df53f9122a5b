#include "platform/Controls.h"

#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/Convert.h"

// ---- TUpDown ----

TUpDown::TUpDown(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  up_ = new QToolButton(this);
  down_ = new QToolButton(this);
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {up_, down_}) {
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addWidget(b);
  }
  connect(up_, &QToolButton::clicked, this, [this] { Click(btNext); });
  connect(down_, &QToolButton::clicked, this, [this] { Click(btPrev); });
}

void TUpDown::SetPosition(int v) {
  position_ = qBound(min_, v, max_);
  if (associate_) associate_->setText(QString::number(position_));
}

void TUpDown::SetAssociate(QLineEdit* edit) {
  associate_ = edit;
  if (associate_) associate_->setText(QString::number(position_));
}

void TUpDown::Click(TUDBtnType button) {
  if (OnChanging && !OnChanging(button)) return;
  // Like the platform's control, the step starts from the number the box shows.
  int current = position_;
  if (associate_) {
    int typed = 0;
    if (TryStrToInt(associate_->text(), typed)) current = qBound(min_, typed, max_);
  }
  SetPosition(button == btNext ? (current < max_ ? current + 1 : max_) : (current > min_ ? current - 1 : min_));
}

// ---- TRadioGroup ----

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent) : QGroupBox(caption, parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 4, 4, 4);
  layout->setSpacing(0);
  for (const QString& item : items) {
    auto* button = new QRadioButton(item, this);
    layout->addWidget(button);
    buttons_ << button;
  }
}

QStringList TRadioGroup::Items() const {
  QStringList items;
  for (const QRadioButton* b : buttons_) items << b->text();
  return items;
}

int TRadioGroup::ItemIndex() const {
  for (int i = 0; i < buttons_.size(); ++i)
    if (buttons_[i]->isChecked()) return i;
  return -1;
}

void TRadioGroup::SetItemIndex(int index) {
  if (index >= 0 && index < buttons_.size()) buttons_[index]->setChecked(true);
}

// ---- TWrapButton ----

void TWrapButton::paintEvent(QPaintEvent*) {
  QStylePainter p(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  const QString caption = option.text;
  option.text.clear();
  p.drawControl(QStyle::CE_PushButton, option);
  const QRect textRect = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).adjusted(2, 0, -2, 0);
  p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  p.drawText(textRect, Qt::AlignCenter | Qt::TextWordWrap, caption);
}

void SetControlColor(QWidget* control, const QColor& background) {
  control->setAutoFillBackground(true);
  QPalette p = control->palette();
  p.setColor(QPalette::Window, background);
  control->setPalette(p);
}

void SetControlTextColor(QWidget* control, const QColor& text) {
  QPalette p = control->palette();
  p.setColor(QPalette::WindowText, text);
  control->setPalette(p);
}

QLabel* MakeWrappedLabel(const QString& text, QWidget* parent, int left, int top, int width, int height) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setGeometry(left, top, width, height);
  return label;
}

// ---- TDriveComboBox ----

TDriveComboBox::TDriveComboBox(QWidget* parent) : QComboBox(parent) {
  addItems(Drives());
  connect(this, &QComboBox::currentTextChanged, this, [this](const QString& root) {
    if (DirList && !root.isEmpty() && !DirList->Directory().startsWith(root)) DirList->SetDirectory(root);
  });
}

QStringList TDriveComboBox::Drives() {
  QStringList drives{QDir::rootPath()};
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (!volume.isValid() || !volume.isReady()) continue;
    const QString root = volume.rootPath();
    if (!drives.contains(root)) drives << root;
  }
  drives.sort();
  drives.removeAll(QDir::rootPath());
  drives.prepend(QDir::rootPath());
  return drives;
}

void TDriveComboBox::SetDrive(const QString& root) {
  int index = findText(root);
  if (index < 0) {
    addItem(root);
    index = count() - 1;
  }
  setCurrentIndex(index);
}

// ---- TDirectoryListBox ----

TDirectoryListBox::TDirectoryListBox(QWidget* parent) : QListWidget(parent) {
  connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { OpenItem(row(item)); });
  SetDirectory(QDir::currentPath());
}

void TDirectoryListBox::SetDirectory(const QString& path) {
  QFileInfo info(path);
  if (!info.exists() || !info.isDir()) return;
  directory_ = QDir::cleanPath(info.absoluteFilePath());
  clear();
  paths_.clear();
  // Ancestors from the root down, each indented one step more, then the subfolders.
  QStringList chain;
  for (QDir d(directory_);; ) {
    chain.prepend(d.absolutePath());
    if (d.isRoot() || !d.cdUp()) break;
  }
  int depth = 0;
  for (const QString& p : chain) {
    const QString name = QDir(p).isRoot() ? p : QFileInfo(p).fileName();
    addItem(QString(depth * 2, QLatin1Char(' ')) + name);
    paths_ << p;
    ++depth;
  }
  setCurrentRow(static_cast<int>(paths_.size()) - 1);
  const QStringList subfolders = QDir(directory_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QString& s : subfolders) {
    addItem(QString(depth * 2, QLatin1Char(' ')) + s);
    paths_ << QDir(directory_).filePath(s);
  }
  if (FileList) FileList->SetDirectory(directory_);
  if (OnChange) OnChange();
}

void TDirectoryListBox::OpenItem(int row) {
  if (row >= 0 && row < paths_.size()) SetDirectory(paths_[row]);
}

// ---- TFileListBox ----

TFileListBox::TFileListBox(QWidget* parent) : QListWidget(parent) { directory_ = QDir::currentPath(); }

void TFileListBox::SetDirectory(const QString& path) {
  directory_ = path;
  Update();
}

void TFileListBox::SetMask(const QString& mask) {
  mask_ = mask;
  Update();
}

void TFileListBox::Update() {
  clear();
  QStringList patterns;
  for (const QString& p : mask_.split(QLatin1Char(';'), Qt::SkipEmptyParts)) patterns << p.trimmed();
  QStringList names;
  const QStringList all = QDir(directory_).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
  QList<QRegularExpression> matchers;
  for (const QString& p : patterns)
    matchers << QRegularExpression(QRegularExpression::wildcardToRegularExpression(p), QRegularExpression::CaseInsensitiveOption);
  for (const QString& name : all) {
    for (const QRegularExpression& re : matchers) {
      if (re.match(name).hasMatch()) {
        names << name;
        break;
      }
    }
  }
  addItems(names);
}

QString TFileListBox::FileName() const {
  const QListWidgetItem* item = currentItem();
  if (!item) return {};
  return QDir(directory_).filePath(item->text());
}

void TFileListBox::SelectFile(const QString& name) {
  const QList<QListWidgetItem*> found = findItems(name, Qt::MatchFixedString);
  if (!found.isEmpty()) setCurrentItem(found.first());
}

void TFileListBox::mouseDoubleClickEvent(QMouseEvent* event) {
  QListWidget::mouseDoubleClickEvent(event);
  if (itemAt(event->position().toPoint()) && OnDblClick) OnDblClick();
}

// ---- TImage ----

TImage::TImage(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
  resize(kEmptySize, kEmptySize);
}

void TImage::SetPicture(const QImage& picture) {
  picture_ = picture;
  if (AutoSize && !picture_.isNull()) resize(picture_.size());
  update();
}

void TImage::Clear() {
  ReleasePicture();
  if (AutoSize) resize(kEmptySize, kEmptySize);
}

void TImage::ReleasePicture() {
  picture_ = QImage();
  update();
}

void TImage::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) return;
  QPainter p(this);
  p.drawImage(0, 0, picture_);
}

void TImage::mousePressEvent(QMouseEvent* event) {
  lastScreenPos_ = event->globalPosition().toPoint();
  pressed_ = event->button() == Qt::LeftButton;
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
  lastScreenPos_ = event->globalPosition().toPoint();
  const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  if (click && OnClick) OnClick();
}
