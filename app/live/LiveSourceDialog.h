#pragma once
// The chooser of "Live Sample..." / "Live Reference...": the cameras with their resolutions and
// frame rates, or "Video File...".
#include "app/live/LiveController.h"

class QWidget;

TLiveSourceChoice RunLiveSourceDialog(QWidget* parent, TSide side);
