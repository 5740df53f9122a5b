#include "chart/core/iErrors.h"

#include "platform/Convert.h"

QString ErrorMessage(const std::exception& error) {
  if (const auto* e = dynamic_cast<const EiError*>(&error)) return e->Message;
  if (const auto* e = dynamic_cast<const EConvertError*>(&error)) return e->Message;
  return QString::fromUtf8(error.what());
}

void CheckIndex(int index, int count) {
  if (index < 0 || index >= count) throw EiError(QStringLiteral("Index out of Bounds"));
}
