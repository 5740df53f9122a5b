#pragma once
// Emission lines of calibration lamps.
#include <QString>
#include <vector>

struct TLampLine {
  QString Name;       // "Hg", "Tb", "Eu", "Ne"
  double Wavelength;  // nm
  bool Enabled = true;
};

struct TLineList {
  QString Name;
  std::vector<TLampLine> Lines;  // empty for a lamp without lines
  QString Note;                  // said instead of calibrating when the list has no lines
};

// Compact fluorescent lamp, neon lamp, white LED (no lines), in this order.
const std::vector<TLineList>& BuiltInLineLists();
const TLineList& CompactFluorescentLines();
