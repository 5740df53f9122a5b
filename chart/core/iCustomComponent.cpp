#include "chart/core/iCustomComponent.h"

const TiClassInfo& TiCustomComponent::StaticClassInfo() {
  static const TiClassInfo info =
      TiClassBuilder<TiCustomComponent>(QStringLiteral("TiCustomComponent"), &TiVCLComponent::StaticClassInfo()).Build();
  return info;
}
