#include "app/JcampExport.h"

#include <QCoreApplication>
#include <cmath>

#include "platform/Convert.h"

namespace {
// A label's value stays on its line.
QString OneLine(QString text) {
  text.replace(QLatin1Char('\r'), QLatin1Char(' '));
  text.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return text;
}

QString Number(double v) { return std::isfinite(v) ? FloatToStr(v) : QStringLiteral("?"); }

class TJcampWriter {
 public:
  void Label(const char* name, const QString& value) {
    text_ += QStringLiteral("##%1=%2\r\n").arg(QLatin1String(name), OneLine(value));
  }
  void Line(const QString& line) { text_ += line + QStringLiteral("\r\n"); }
  QByteArray Bytes() const { return text_.toUtf8(); }

  void Header(const QString& title, const char* dataType) {
    Label("TITLE", title);
    Label("JCAMP-DX", QStringLiteral("5.01"));
    Label("DATA TYPE", QString::fromLatin1(dataType));
  }

  void Spectrum(const TSpectrumCurve& c, const QString& title, int blockId) {
    Header(title, "UV/VIS SPECTRUM");
    if (blockId > 0) Label("BLOCK_ID", QString::number(blockId));
    const QString origin = QCoreApplication::applicationName().isEmpty()
                               ? QStringLiteral("Lumio Spectrometer")
                               : QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion();
    Label("ORIGIN", origin.trimmed());
    Label("OWNER", QString());
    Label("XUNITS", c.Wavelength ? QStringLiteral("NANOMETERS") : QStringLiteral("PIXEL NUMBER"));
    Label("YUNITS", c.YUnits);
    // Points without a position cannot be placed on the X axis; they are left out.
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i < c.X.size() && i < c.Y.size(); ++i)
      if (std::isfinite(c.X[i])) kept.push_back(i);
    Label("XFACTOR", QStringLiteral("1"));
    Label("YFACTOR", QStringLiteral("1"));
    Label("FIRSTX", kept.empty() ? QStringLiteral("0") : Number(c.X[kept.front()]));
    Label("LASTX", kept.empty() ? QStringLiteral("0") : Number(c.X[kept.back()]));
    Label("NPOINTS", QString::number(kept.size()));
    Label("XYPOINTS", QStringLiteral("(XY..XY)"));
    for (std::size_t i : kept) Line(Number(c.X[i]) + QStringLiteral(", ") + Number(c.Y[i]));
    Label("END", QString());
  }

 private:
  QString text_;
};
}  // namespace

QByteArray JcampText(const std::vector<TSpectrumCurve>& curves, const QString& title) {
  TJcampWriter w;
  const auto named = [&](const TSpectrumCurve& c) { return title.isEmpty() ? c.Title : title + QStringLiteral(": ") + c.Title; };
  if (curves.size() == 1) {
    w.Spectrum(curves.front(), named(curves.front()), 0);
    return w.Bytes();
  }
  w.Header(title, "LINK");
  w.Label("BLOCKS", QString::number(curves.size()));
  int id = 0;
  for (const TSpectrumCurve& c : curves) w.Spectrum(c, named(c), ++id);
  w.Label("END", QString());
  return w.Bytes();
}
