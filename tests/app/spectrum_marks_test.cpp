// The spectrum marks drawn over a loaded picture: the exact pixels of the squares, the line and
// the band edges, and the message when the red end lies outside the picture.
#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <cstdlib>
#include <vector>

#include "app/MainWindow.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "support/PictureFiles.h"

namespace {
const TColor kWhite = RGB(255, 255, 255), kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kLime = RGB(0, 255, 0),
             kDarkGreen = RGB(0, 128, 0);

// The marks as the rules give them, painted pixel by pixel: outlines without their right and
// bottom edges' outer line, and lines without their end point (only straight and 45-degree lines).
class TExpected {
 public:
  TExpected(int w, int h) : w_(w), h_(h), px_(static_cast<std::size_t>(w * h), kWhite) {}
  void Set(int x, int y, TColor c) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) px_[static_cast<std::size_t>(y * w_ + x)] = c;
  }
  TColor At(int x, int y) const { return px_[static_cast<std::size_t>(y * w_ + x)]; }
  void Square(int cx, int cy, TColor c) {
    for (int x = cx - 4; x <= cx + 3; ++x) Set(x, cy - 4, c), Set(x, cy + 3, c);
    for (int y = cy - 4; y <= cy + 3; ++y) Set(cx - 4, y, c), Set(cx + 3, y, c);
  }
  void Line(int x0, int y0, int x1, int y1, TColor c) {
    const int dx = x1 - x0, dy = y1 - y0;
    ASSERT_TRUE(dx == 0 || dy == 0 || std::abs(dx) == std::abs(dy));
    const int steps = std::max(std::abs(dx), std::abs(dy));
    for (int i = 0; i < steps; ++i) Set(x0 + i * (dx > 0) - i * (dx < 0), y0 + i * (dy > 0) - i * (dy < 0), c);
  }

 private:
  int w_, h_;
  std::vector<TColor> px_;
};

struct Marks {
  int blueX, blueY, redX, redY, bandWidth;
};

TExpected ExpectedMarks(int w, int h, const Marks& m) {
  TExpected e(w, h);
  e.Square(m.redX, m.redY, kRed);
  e.Square(m.blueX, m.blueY, kBlue);
  e.Line(m.blueX, m.blueY, m.redX, m.redY, kLime);
  if (m.bandWidth > 4) {
    const int half = m.bandWidth / 2;
    if (std::abs(m.redX - m.blueX) > std::abs(m.redY - m.blueY)) {
      e.Line(m.blueX, m.blueY - half, m.redX, m.redY - half, kDarkGreen);
      e.Line(m.blueX, m.blueY + half, m.redX, m.redY + half, kDarkGreen);
    } else {
      e.Line(m.blueX - half, m.blueY, m.redX - half, m.redY, kDarkGreen);
      e.Line(m.blueX + half, m.blueY, m.redX + half, m.redY, kDarkGreen);
    }
  }
  return e;
}

class SpectrumMarksTest : public testing::Test {
 protected:
  TDialogRecorder dialogs;
  TForm1 form;
  static constexpr int W = 60, H = 50;

  void SetUp() override {
    form.SampleBitmap = FlatPicture(W, H, kWhite);
    form.SampleLoaded = true;
  }
  void Draw(const Marks& m) {
    TSpectrumRecord& r = form.Sample;
    r.BlueX = m.blueX, r.BlueY = m.blueY, r.RedX = m.redX, r.RedY = m.redY, r.BandWidth = m.bandWidth;
    form.DrawSpectrumMarks(sdSample);
  }
  // Compares every pixel of the view's bitmap and of the shown picture with the expectation.
  void ExpectPixels(const TExpected& e) {
    ASSERT_EQ(form.Image1Bitmap.Width(), W);
    ASSERT_EQ(form.Image1->Picture().size(), QSize(W, H));
    int wrong = 0;
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        const QRgb shown = form.Image1->Picture().pixel(x, y);
        if (form.Image1Bitmap.Pixel(x, y) != e.At(x, y) || RGB(qRed(shown), qGreen(shown), qBlue(shown)) != e.At(x, y)) {
          if (++wrong <= 5) ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << form.Image1Bitmap.Pixel(x, y)
                                          << ", expected " << e.At(x, y);
        }
      }
    EXPECT_EQ(wrong, 0);
  }
};

TEST_F(SpectrumMarksTest, MarkPixels) {
  struct Case {
    const char* name;
    Marks marks;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"vertical, band 4 draws no edges", {20, 10, 20, 40, 4}},
           {"vertical, band 5 draws edges 2 pixels beside", {20, 10, 20, 40, 5}},
           {"upwards", {40, 40, 40, 5, 1}},
           {"flat line, edges above and below", {5, 20, 50, 20, 7}},
           {"equal slopes shift the edges in x", {10, 10, 20, 20, 5}},
           {"descending diagonal", {30, 10, 10, 30, 6}},
           {"red end on the far corner is still drawn", {35, 25, W, H, 1}},
           {"blue end partly outside", {0, 0, 30, 0, 9}},
       }) {
    SCOPED_TRACE(c.name);
    Draw(c.marks);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    ExpectPixels(ExpectedMarks(W, H, c.marks));
  }
  // The copy never carries marks.
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) ASSERT_EQ(form.SampleBitmap.Pixel(x, y), kWhite);
}

TEST_F(SpectrumMarksTest, RedEndOutsideShowsTheMessageAndNoMarks) {
  Draw({20, 10, 20, 40, 5});
  for (Marks m : {Marks{20, 10, W + 1, 40, 5}, Marks{20, 10, 20, H + 1, 5}}) {
    dialogs.Messages.clear();
    Draw(m);
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_TRUE(dialogs.Messages[0].startsWith(QStringLiteral("Not showing spectrum location in image.")));
    ExpectPixels(TExpected(W, H));  // earlier marks are gone too
  }
  // Only the red end is tested: a blue end far outside draws what falls inside.
  dialogs.Messages.clear();
  Draw({W + 30, 10, 20, 10, 1});
  EXPECT_TRUE(dialogs.Messages.isEmpty());
  TExpected e(W, H);
  e.Square(20, 10, kRed);
  e.Line(W + 30, 10, 20, 10, kLime);
  ExpectPixels(e);
}

TEST_F(SpectrumMarksTest, GreyPicturesGetColouredMarks) {
  form.SampleBitmap.SetPixelFormat(pf8bit);
  ASSERT_EQ(form.SampleBitmap.PixelFormat(), pf8bit);
  Draw({20, 10, 20, 40, 5});
  ExpectPixels(ExpectedMarks(W, H, {20, 10, 20, 40, 5}));
  EXPECT_EQ(form.SampleBitmap.PixelFormat(), pf8bit);
  EXPECT_EQ(form.SampleBitmap.Pixel(20, 20), kWhite);
}
}  // namespace

namespace {
TEST_F(SpectrumMarksTest, EndsFarOutsideDrawTheirPartInsideQuickly) {
  // Positions typed into a box reach the record unchecked when a menu command reads the box
  // before it is left. Only the part inside the picture is drawn; nothing overflows and no
  // billions of off-picture pixels are walked.
  struct Case {
    const char* name;
    Marks marks;
    std::vector<std::array<int, 5>> lines;  // x0, y0, x1, y1 (end excluded), colour index
  };
  const TColor colours[] = {kLime, kDarkGreen};
  for (const Case& c : std::initializer_list<Case>{
           {"flat from far left", {INT32_MIN + 2, 20, 30, 20, 9},
            {{-1, 20, 30, 20, 0}, {-1, 16, 30, 16, 1}, {-1, 24, 30, 24, 1}}},
           {"straight down from far above", {20, INT32_MIN, 20, 30, 5},
            {{20, -1, 20, 30, 0}, {18, -1, 18, 30, 1}, {22, -1, 22, 30, 1}}},
           {"diagonal from the far corner", {INT32_MIN, INT32_MIN, 30, 30, 1}, {{-1, -1, 30, 30, 0}}},
       }) {
    SCOPED_TRACE(c.name);
    dialogs.Messages.clear();
    Draw(c.marks);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    TExpected e(W, H);
    e.Square(c.marks.redX, c.marks.redY, kRed);
    for (const auto& l : c.lines) e.Line(l[0], l[1], l[2], l[3], colours[l[4]]);
    ExpectPixels(e);
  }
}
}  // namespace
