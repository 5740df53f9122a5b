#pragma once
// A list of equally sized pictures, drawn by index, normal or greyed.
#include <QImage>
#include <vector>

class TCanvas;

// Pictures are drawn without their teal (red 0, green 128, blue 128) pixels.
class TImageList {
 public:
  static constexpr unsigned kTransparentRgb = 0x008080u;   // as QRgb: 0xRRGGBB

  TImageList(int width = 16, int height = 16) : width_(width), height_(height) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  int Count() const { return static_cast<int>(images_.size()); }
  // Appends a picture, scaled to the list's size when it differs, its teal pixels made
  // transparent; returns its index.
  int Add(const QImage& image);
  void Clear() { images_.clear(); }
  // The picture at index; a null image outside 0 .. Count - 1.
  QImage Image(int index) const;
  // Draws the picture at index with its top-left corner at (x, y); greyed when not enabled.
  // Nothing for an index outside the list.
  void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;

 private:
  int width_;
  int height_;
  std::vector<QImage> images_;
};
