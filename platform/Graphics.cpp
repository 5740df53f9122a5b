#include "platform/Graphics.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>
#include <array>

namespace {
// The system colour table: the classic desktop scheme, so that drawings look the same on every machine.
constexpr std::array<TColor, COLOR_SYSTEM_COUNT> kSystemColors = {
    RGB(200, 200, 200),  // scroll bar
    RGB(0, 128, 128),    // desktop
    RGB(10, 36, 106),    // active caption
    RGB(128, 128, 128),  // inactive caption
    RGB(212, 208, 200),  // menu
    RGB(255, 255, 255),  // window
    RGB(0, 0, 0),        // window frame
    RGB(0, 0, 0),        // menu text
    RGB(0, 0, 0),        // window text
    RGB(255, 255, 255),  // caption text
    RGB(212, 208, 200),  // active border
    RGB(212, 208, 200),  // inactive border
    RGB(128, 128, 128),  // application work space
    RGB(10, 36, 106),    // highlight
    RGB(255, 255, 255),  // highlight text
    RGB(212, 208, 200),  // button face
    RGB(128, 128, 128),  // button shadow
    RGB(128, 128, 128),  // grey text
    RGB(0, 0, 0),        // button text
    RGB(212, 208, 200),  // inactive caption text
    RGB(255, 255, 255),  // button highlight
    RGB(64, 64, 64),     // 3D dark shadow
    RGB(212, 208, 200),  // 3D light
    RGB(0, 0, 0),        // info text
    RGB(255, 255, 225),  // info background
};

QString g_tahomaFamily;
bool g_fontsRegistered = false;
}  // namespace

TColor ColorToRGB(TColor color) {
  if (IsSystemColor(color)) {
    const int index = color & 0xFF;
    return index < COLOR_SYSTEM_COUNT ? kSystemColors[static_cast<std::size_t>(index)] : clBlack;
  }
  if (color == clNone || color == clDefault) return clBlack;
  return color & 0x00FFFFFF;
}

QColor ToQColor(TColor color) {
  const TColor c = ColorToRGB(color);
  return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor FromQColor(const QColor& color) { return RGB(color.red(), color.green(), color.blue()); }

void RegisterPlatformFonts() {
  if (g_fontsRegistered || !QGuiApplication::instance()) return;
  g_fontsRegistered = true;
  for (const char* file : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"}) {
    const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file));
    if (id >= 0 && g_tahomaFamily.isEmpty()) {
      const QStringList families = QFontDatabase::applicationFontFamilies(id);
      if (!families.isEmpty()) g_tahomaFamily = families.first();
    }
  }
  QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("DejaVu Sans")});
  QFont::insertSubstitutions(QStringLiteral("Courier New"), {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
  QFont::insertSubstitutions(QStringLiteral("Times New Roman"), {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
}

QString ResolveFontFace(const QString& face) {
  RegisterPlatformFonts();
  if (face.compare(QStringLiteral("Tahoma"), Qt::CaseInsensitive) == 0 && !g_tahomaFamily.isEmpty()) return g_tahomaFamily;
  if (face.compare(QStringLiteral("Arial"), Qt::CaseInsensitive) == 0) return QStringLiteral("Liberation Sans");
  return face;
}

QFont TFont::ToQFont() const {
  QFont f(ResolveFontFace(Name));
  f.setPixelSize(Height > 0 ? Height : 1);
  f.setBold(Style & FontStyleBit(fsBold));
  f.setItalic(Style & FontStyleBit(fsItalic));
  f.setUnderline(Style & FontStyleBit(fsUnderline));
  f.setStrikeOut(Style & FontStyleBit(fsStrikeOut));
  f.setStyleStrategy(QFont::NoAntialias);
  f.setHintingPreference(QFont::PreferFullHinting);
  return f;
}

int TFont::Size() const { return (Height * 72 + 48) / 96; }
