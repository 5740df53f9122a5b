#include "chart/core/iValueNames.h"

const QStringList& PenStyleNames() {
  static const QStringList names{QStringLiteral("psSolid"),      QStringLiteral("psDash"),  QStringLiteral("psDot"),
                                 QStringLiteral("psDashDot"),    QStringLiteral("psDashDotDot"), QStringLiteral("psClear"),
                                 QStringLiteral("psInsideFrame")};
  return names;
}

const QStringList& BrushStyleNames() {
  static const QStringList names{QStringLiteral("bsSolid"),     QStringLiteral("bsClear"),     QStringLiteral("bsHorizontal"),
                                 QStringLiteral("bsVertical"),  QStringLiteral("bsFDiagonal"), QStringLiteral("bsBDiagonal"),
                                 QStringLiteral("bsCross"),     QStringLiteral("bsDiagCross")};
  return names;
}

const QStringList& FillDirectionNames() {
  static const QStringList names{
      QStringLiteral("ifdTopBottom"),          QStringLiteral("ifdBottomTop"),          QStringLiteral("ifdLeftRight"),
      QStringLiteral("ifdRightLeft"),          QStringLiteral("ifdTopLeftBottomRight"), QStringLiteral("ifdBottomRightTopLeft"),
      QStringLiteral("ifdBottomLeftTopRight"), QStringLiteral("ifdTopRightBottomLeft"), QStringLiteral("ifdRectangleOut"),
      QStringLiteral("ifdRectangleIn"),        QStringLiteral("ifdCircleOut"),          QStringLiteral("ifdCircleIn")};
  return names;
}
