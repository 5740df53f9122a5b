#include "app/calibration/LineLists.h"

const std::vector<TLineList>& BuiltInLineLists() {
  static const std::vector<TLineList> lists = {
      {QStringLiteral("Compact fluorescent lamp"),
       {{"Hg", 404.66}, {"Hg", 435.83}, {"Tb", 487.7}, {"Tb", 542.4}, {"Hg", 546.07}, {"Hg", 576.96}, {"Hg", 579.07},
        {"Eu", 611.6}},
       {}},
      // The strongest visible lines of a neon glow lamp.
      {QStringLiteral("Neon lamp"),
       {{"Ne", 540.06}, {"Ne", 585.25}, {"Ne", 588.19}, {"Ne", 594.48}, {"Ne", 603.00}, {"Ne", 607.43}, {"Ne", 609.62},
        {"Ne", 614.31}, {"Ne", 616.36}, {"Ne", 621.73}, {"Ne", 626.65}, {"Ne", 630.48}, {"Ne", 633.44}, {"Ne", 638.30},
        {"Ne", 640.22}, {"Ne", 650.65}, {"Ne", 659.90}, {"Ne", 667.83}, {"Ne", 671.70}, {"Ne", 692.95}, {"Ne", 703.24}},
       {}},
      {QStringLiteral("White LED"), {},
       QStringLiteral("A white LED has no emission lines to calibrate with: photograph a fluorescent or neon lamp.")},
  };
  return lists;
}

const TLineList& CompactFluorescentLines() { return BuiltInLineLists()[0]; }
