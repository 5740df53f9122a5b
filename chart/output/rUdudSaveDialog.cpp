#include "chart/output/rUdudSaveDialog.h"

#include <QFileInfo>
#include <QStringList>
#include <QWidget>

#include "platform/Dialogs.h"

namespace {
constexpr int kFileNameBuffer = 260;
}

QWidget* TiSaveDialog::OwnerWindow() const {
  QWidget* outermost = nullptr;
  for (QWidget* w = owner_; w; w = w->parentWidget()) {
    if (w->isWindow()) return w;
    outermost = w;
  }
  return outermost;
}

bool TiSaveDialog::Execute() {
  if (!OwnerWindow()) return false;
  TSaveDialogOptions options;
  options.Filter = Filter;
  options.FilterIndex = FilterIndex;
  options.FileName = FileName.left(kFileNameBuffer);
  options.InitialDir = QStringLiteral(".");
  options.DefaultExt = DefaultExt;
  options.OverwritePrompt = true;
  int chosenFilter = FilterIndex;
  options.ChosenFilterIndex = &chosenFilter;
  QString chosen;
  if (!Dialogs().ExecuteSave(options, chosen)) return false;
  FileName = chosen;
  FilterIndex = chosenFilter;

  QStringList patterns;
  for (const QString& item : Filter.split(QLatin1Char('|')))
    if (item.startsWith(QLatin1Char('*'))) patterns << item;
  returnExt_.clear();
  if (FilterIndex >= 1 && FilterIndex <= patterns.size()) returnExt_ = patterns[FilterIndex - 1].mid(1);

  if (!returnExt_.isEmpty() && returnExt_ != QLatin1String(".*")) {
    const QString suffix = QFileInfo(FileName).suffix();
    const QString pattern = patterns[FilterIndex - 1];
    if (suffix.isEmpty() || (QStringLiteral("*.") + suffix).compare(pattern, Qt::CaseInsensitive) != 0) {
      FileName += returnExt_;
      // The dialog confirmed replacing only the name it showed; this one is new to the user.
      if (QFileInfo::exists(FileName) &&
          !Dialogs().AskYesNo(QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(FileName)))
        return false;
    }
  }
  return true;
}
