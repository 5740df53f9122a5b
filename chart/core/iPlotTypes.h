#pragma once
// What the chart objects share from the platform (rectangles and points, mouse buttons, the
// shift state, virtual keys and cursor codes) and from the foundation (the framework's error,
// published properties).
#include "chart/core/iErrors.h"
#include "chart/core/iPersistent.h"
#include "platform/Geometry.h"
#include "platform/Input.h"
