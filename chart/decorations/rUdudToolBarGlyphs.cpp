// The toolbar's pictures, drawn once per name on a teal background without smoothing, so that
// every pixel is one of the basic 16 colours. Coordinates are on a 24-pixel grid; the small set
// maps them onto 16 pixels.
#include "chart/decorations/rUdudToolBarGlyphs.h"

#include <QPainter>
#include <QPolygon>
#include <cmath>
#include <functional>
#include <map>

namespace {

const QColor kTeal(0, 128, 128);
const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kSilver(192, 192, 192);
const QColor kGray(128, 128, 128);
const QColor kNavy(0, 0, 128);
const QColor kGreen(0, 128, 0);
const QColor kLime(0, 255, 0);
const QColor kMaroon(128, 0, 0);
const QColor kRed(255, 0, 0);
const QColor kYellow(255, 255, 0);
const QColor kOlive(128, 128, 0);
const QColor kBlue(0, 0, 255);

// Draws on the picture in grid units (24 per side), rounding each coordinate to a whole pixel.
class TGlyphPainter {
 public:
  TGlyphPainter(QImage& image) : p_(&image), n_(image.width()) { p_.setRenderHint(QPainter::Antialiasing, false); }
  int C(double v) const { return static_cast<int>(std::lround(v * (n_ - 1) / 23.0)); }
  bool Small() const { return n_ < 24; }

  void Line(double x1, double y1, double x2, double y2, const QColor& color) {
    p_.setPen(QPen(color, 1));
    p_.drawLine(C(x1), C(y1), C(x2), C(y2));
  }
  // A rectangle with both corners inside it: filled, then outlined unless outline is invalid.
  void Box(double x1, double y1, double x2, double y2, const QColor& fill, const QColor& outline = QColor()) {
    const int l = C(x1), t = C(y1), r = C(x2), b = C(y2);
    p_.fillRect(l, t, r - l + 1, b - t + 1, fill);
    if (outline.isValid()) {
      p_.setPen(QPen(outline, 1));
      p_.setBrush(Qt::NoBrush);
      p_.drawRect(l, t, r - l, b - t);
    }
  }
  void Shape(std::initializer_list<QPointF> points, const QColor& fill, const QColor& outline) {
    QPolygon polygon;
    for (const QPointF& q : points) polygon << QPoint(C(q.x()), C(q.y()));
    p_.setPen(outline.isValid() ? QPen(outline, 1) : QPen(Qt::NoPen));
    p_.setBrush(fill);
    p_.drawPolygon(polygon);
  }
  void Circle(double cx, double cy, double r, const QColor& fill, const QColor& outline) {
    const int x = C(cx - r), y = C(cy - r), w = C(cx + r) - x, h = C(cy + r) - y;
    p_.setPen(QPen(outline, 1));
    p_.setBrush(fill);
    p_.drawEllipse(x, y, w, h);
  }
  // Every second pixel of a rectangle's frame.
  void DottedFrame(double x1, double y1, double x2, double y2, const QColor& color) {
    const int l = C(x1), t = C(y1), r = C(x2), b = C(y2);
    for (int x = l; x <= r; ++x)
      for (int y : {t, b})
        if ((x + y) % 2 == 0) Dot(x, y, color);
    for (int y = t; y <= b; ++y)
      for (int x : {l, r})
        if ((x + y) % 2 == 0) Dot(x, y, color);
  }
  void Dot(int x, int y, const QColor& color) {
    p_.setPen(QPen(color, 1));
    p_.drawPoint(x, y);
  }

 private:
  QPainter p_;
  int n_;
};

// A page with ruled lines.
void Page(TGlyphPainter& g, double x1, double y1, double x2, double y2) {
  g.Box(x1, y1, x2, y2, kWhite, kBlack);
  const double step = g.Small() ? 4.5 : 3.0;
  for (double y = y1 + 3; y < y2 - 1.5; y += step) g.Line(x1 + 2, y, x2 - 2, y, kGray);
}

// A magnifying glass: lens centred at (cx, cy) and a handle toward the lower right.
void Glass(TGlyphPainter& g, double cx, double cy, double r, double handle) {
  const double a = cx + r * 0.72;
  const double b = cy + r * 0.72;
  g.Shape({{a - 1, b + 1}, {a + 1, b - 1}, {a + handle + 1, b + handle - 1}, {a + handle - 1, b + handle + 1}}, kMaroon, kMaroon);
  g.Circle(cx, cy, r, kWhite, kBlack);
}

void Auto(TGlyphPainter& g) { g.Shape({{7, 4}, {7, 19}, {18, 11.5}}, kGreen, kBlack); }

void Pause(TGlyphPainter& g) {
  g.Box(5, 5, 9, 18, kNavy, kBlack);
  g.Box(14, 5, 18, 18, kNavy, kBlack);
}

void Scroll(TGlyphPainter& g) {
  g.Line(11.5, 4, 11.5, 19, kBlack);
  g.Line(4, 11.5, 19, 11.5, kBlack);
  g.Shape({{11.5, 1}, {8, 5}, {15, 5}}, kBlack, kBlack);
  g.Shape({{11.5, 22}, {8, 18}, {15, 18}}, kBlack, kBlack);
  g.Shape({{1, 11.5}, {5, 8}, {5, 15}}, kBlack, kBlack);
  g.Shape({{22, 11.5}, {18, 8}, {18, 15}}, kBlack, kBlack);
}

void Zoom(TGlyphPainter& g) {
  g.Shape({{0.5, 11.5}, {4, 7.5}, {4, 15.5}}, kBlack, kBlack);
  g.Shape({{22.5, 11.5}, {19, 7.5}, {19, 15.5}}, kBlack, kBlack);
  Glass(g, 10, 9.5, 4.5, 5);
}

void ZoomOut(TGlyphPainter& g) {
  Glass(g, 9, 9, 6.5, 7);
  g.Line(6, 9, 12, 9, kBlack);
}

void ZoomIn(TGlyphPainter& g) {
  ZoomOut(g);
  g.Line(9, 6, 9, 12, kBlack);
}

void Select(TGlyphPainter& g) {
  g.Shape({{7, 2}, {7, 18}, {11, 14.5}, {14, 21}, {16.5, 20}, {13.5, 13.5}, {18.5, 13.5}}, kWhite, kBlack);
}

void ScrollBox(TGlyphPainter& g) { g.DottedFrame(3, 5, 20, 18, kBlack); }

void Cursor(TGlyphPainter& g) {
  g.Line(11.5, 2, 11.5, 21, kRed);
  g.Shape({{3, 8}, {3, 15}, {9, 11.5}}, kNavy, kNavy);
  g.Shape({{20, 8}, {20, 15}, {14, 11.5}}, kNavy, kNavy);
}

void Properties(TGlyphPainter& g) {
  Page(g, 3, 2, 16, 21);
  // The pen lies across the sheet toward its lower right.
  g.Shape({{19, 4}, {22, 7}, {13, 16}, {10, 13}}, kYellow, kBlack);
  g.Shape({{10, 13}, {13, 16}, {8.5, 17.5}}, kWhite, kBlack);
}

void Copy(TGlyphPainter& g) {
  Page(g, 2, 2, 13, 15);
  Page(g, 9, 8, 20, 21);
}

void Save(TGlyphPainter& g) {
  g.Box(3, 3, 20, 20, kNavy, kBlack);
  g.Box(7, 3, 16, 9, kSilver, kBlack);
  g.Box(13, 4, 14.5, 8, kNavy);
  g.Box(6, 12, 17, 20, kWhite, kBlack);
}

void Printer(TGlyphPainter& g) {
  g.Box(6, 2, 17, 10, kWhite, kBlack);
  g.Box(2, 9, 21, 17, kSilver, kBlack);
  g.Line(3, 16, 20, 16, kGray);
  g.Box(17, 11, 18.5, 12.5, kLime);
  g.Box(6, 15, 17, 21, kWhite, kBlack);
}

void Preview(TGlyphPainter& g) {
  Page(g, 2, 2, 15, 21);
  Glass(g, 14, 12, 5, 5.5);
}

const std::map<QString, std::function<void(TGlyphPainter&)>>& Pictures() {
  static const std::map<QString, std::function<void(TGlyphPainter&)>> pictures{
      {QStringLiteral("AUTO"), Auto},          {QStringLiteral("PAUSE"), Pause},
      {QStringLiteral("SCROLL"), Scroll},      {QStringLiteral("ZOOM"), Zoom},
      {QStringLiteral("ZOOMOUT"), ZoomOut},    {QStringLiteral("ZOOMIN"), ZoomIn},
      {QStringLiteral("SELECT"), Select},      {QStringLiteral("SCROLLBOX"), ScrollBox},
      {QStringLiteral("CURSOR"), Cursor},      {QStringLiteral("PROPERTIES"), Properties},
      {QStringLiteral("COPY"), Copy},          {QStringLiteral("SAVE"), Save},
      {QStringLiteral("PRINTER"), Printer},    {QStringLiteral("PREVIEW"), Preview}};
  return pictures;
}

}  // namespace

QImage ToolBarGlyph(const QString& name) {
  const QString smallPrefix = QStringLiteral("SMALL");
  const bool small = name.startsWith(smallPrefix);
  const int size = small ? 16 : 24;
  QImage image(size, size, QImage::Format_RGB32);
  image.fill(kTeal);
  const auto& pictures = Pictures();
  const auto found = pictures.find(small ? name.mid(smallPrefix.size()) : name);
  if (found == pictures.end()) return image;
  TGlyphPainter painter(image);
  found->second(painter);
  return image;
}

QStringList ToolBarGlyphNames() {
  QStringList names;
  for (const auto& entry : Pictures()) names << entry.first;
  return names;
}
