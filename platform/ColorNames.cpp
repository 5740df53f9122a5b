#include "platform/ColorNames.h"

#include <cstdint>

const std::vector<TColorName>& ColorNames() {
  static const std::vector<TColorName> names = {
      {clBlack, QStringLiteral("clBlack")},
      {clMaroon, QStringLiteral("clMaroon")},
      {clGreen, QStringLiteral("clGreen")},
      {clOlive, QStringLiteral("clOlive")},
      {clNavy, QStringLiteral("clNavy")},
      {clPurple, QStringLiteral("clPurple")},
      {clTeal, QStringLiteral("clTeal")},
      {clGray, QStringLiteral("clGray")},
      {clSilver, QStringLiteral("clSilver")},
      {clRed, QStringLiteral("clRed")},
      {clLime, QStringLiteral("clLime")},
      {clYellow, QStringLiteral("clYellow")},
      {clBlue, QStringLiteral("clBlue")},
      {clFuchsia, QStringLiteral("clFuchsia")},
      {clAqua, QStringLiteral("clAqua")},
      {clWhite, QStringLiteral("clWhite")},
      {clMoneyGreen, QStringLiteral("clMoneyGreen")},
      {clSkyBlue, QStringLiteral("clSkyBlue")},
      {clCream, QStringLiteral("clCream")},
      {clMedGray, QStringLiteral("clMedGray")},
      {clNone, QStringLiteral("clNone")},
      {clDefault, QStringLiteral("clDefault")},
      {clScrollBar, QStringLiteral("clScrollBar")},
      {clBackground, QStringLiteral("clBackground")},
      {clActiveCaption, QStringLiteral("clActiveCaption")},
      {clInactiveCaption, QStringLiteral("clInactiveCaption")},
      {clMenu, QStringLiteral("clMenu")},
      {clWindow, QStringLiteral("clWindow")},
      {clWindowFrame, QStringLiteral("clWindowFrame")},
      {clMenuText, QStringLiteral("clMenuText")},
      {clWindowText, QStringLiteral("clWindowText")},
      {clCaptionText, QStringLiteral("clCaptionText")},
      {clActiveBorder, QStringLiteral("clActiveBorder")},
      {clInactiveBorder, QStringLiteral("clInactiveBorder")},
      {clAppWorkSpace, QStringLiteral("clAppWorkSpace")},
      {clHighlight, QStringLiteral("clHighlight")},
      {clHighlightText, QStringLiteral("clHighlightText")},
      {clBtnFace, QStringLiteral("clBtnFace")},
      {clBtnShadow, QStringLiteral("clBtnShadow")},
      {clGrayText, QStringLiteral("clGrayText")},
      {clBtnText, QStringLiteral("clBtnText")},
      {clInactiveCaptionText, QStringLiteral("clInactiveCaptionText")},
      {clBtnHighlight, QStringLiteral("clBtnHighlight")},
      {cl3DDkShadow, QStringLiteral("cl3DDkShadow")},
      {cl3DLight, QStringLiteral("cl3DLight")},
      {clInfoText, QStringLiteral("clInfoText")},
      {clInfoBk, QStringLiteral("clInfoBk")},
  };
  return names;
}

QString ColorToString(TColor color) {
  for (const TColorName& n : ColorNames())
    if (n.Value == color) return n.Name;
  return QStringLiteral("$%1").arg(static_cast<std::uint32_t>(color), 8, 16, QLatin1Char('0')).toUpper();
}

bool TryStringToColor(const QString& text, TColor& color) {
  const QString t = text.trimmed();
  for (const TColorName& n : ColorNames())
    if (n.Name.compare(t, Qt::CaseInsensitive) == 0) {
      color = n.Value;
      return true;
    }
  if (!t.startsWith(QLatin1Char('$')) || t.size() < 2 || t.size() > 9) return false;
  bool ok = false;
  const std::uint32_t v = t.mid(1).toUInt(&ok, 16);
  if (!ok) return false;
  color = static_cast<TColor>(v);
  return true;
}
