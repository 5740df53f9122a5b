#pragma once
// TiCustomComponent: the common base of the framework's own controls; it adds no behaviour.
#include "chart/core/iVCLComponent.h"

class TiCustomComponent : public TiVCLComponent {
  Q_OBJECT
  TI_PERSISTENT
 public:
  explicit TiCustomComponent(QWidget* parent = nullptr) : TiVCLComponent(parent) {}
};
