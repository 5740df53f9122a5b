#pragma once
// The per-photograph spectrum record and the extraction of its intensity profile.
#include <cstdint>
#include <utility>
#include <vector>

class QLineEdit;
class TBitmap;

// The number of entries every spectrum array holds at least; arrays grow past it for longer spectra.
inline constexpr int SpectrumCapacity = 1025;

struct TSpectrumRecord {
  double BlueWavelength = 400.0;
  double RedWavelength = 720.0;
  std::int32_t BlueX = 0;
  std::int32_t BlueY = 0;
  std::int32_t RedX = 0;
  std::int32_t RedY = 0;
  std::int32_t BandWidth = 1;
  std::int32_t RowCount = 0;
  // A quadratic calibration from a lamp: while in force, row i has the wavelength
  // Quadratic[0] + Quadratic[1] i + Quadratic[2] i^2 instead of the linear rule.
  bool QuadraticInForce = false;
  double Quadratic[3] = {};
  std::vector<double> Wavelength = std::vector<double>(SpectrumCapacity, 0.0);
  // The boxes for BlueWavelength, RedWavelength, BlueX, BlueY, RedX, RedY and BandWidth.
  QLineEdit* Binding[7] = {};
  std::vector<double> RedSum = std::vector<double>(SpectrumCapacity, 0.0);
  std::vector<double> GreenSum = std::vector<double>(SpectrumCapacity, 0.0);
  std::vector<double> BlueSum = std::vector<double>(SpectrumCapacity, 0.0);
  std::vector<double> TotalSum = std::vector<double>(SpectrumCapacity, 0.0);

  // Entries the arrays hold (at least SpectrumCapacity).
  int Capacity() const { return static_cast<int>(Wavelength.size()); }
  // Grows the five arrays to hold `rows` entries; new entries are 0. Arrays never shrink.
  void EnsureCapacity(int rows);
};

// Nearest integer, ties to the even neighbour.
std::int64_t RoundEven(double x);
// Truncating integer halving (-3 div 2 = -1).
constexpr std::int64_t Div2(std::int64_t n) { return n / 2; }
// Distance with the squares summed as integers and the root taken in floating point.
double PixelDistance(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2);

// The rotation that turns the blue-to-red line straight down (radians).
double RotationAngle(const TSpectrumRecord& record);

// Geometry of one extraction: the rotated picture's side, the rows and the band columns.
struct TExtractionGeometry {
  double Sin = 0, Cos = 1;
  std::int64_t D = 0;       // side of the rotated square picture
  std::int64_t LastRow = 0; // e
  bool Truncated = false;   // the spectrum ran off the rotated picture
  std::int64_t Left = 0, Right = -1;
};
TExtractionGeometry ExtractionGeometry(int width, int height, const TSpectrumRecord& record);

// Reads the source pixel that rotated pixel (x', y') takes; false when it falls outside the picture.
bool RotatedSource(const TExtractionGeometry& g, const TSpectrumRecord& record, int width, int height,
                   std::int64_t xr, std::int64_t yr, int& sx, int& sy);

// Calls visit(sx, sy) with the source pixel of each band column of rotated row `yr` that falls
// inside the picture, from the left column on.
template <class Visit>
void ForEachBandPixel(const TExtractionGeometry& g, const TSpectrumRecord& record, int width, int height,
                      std::int64_t yr, Visit visit) {
  for (std::int64_t xr = g.Left; xr <= g.Right; ++xr) {
    int sx = 0, sy = 0;
    if (RotatedSource(g, record, width, height, xr, yr, sx, sy)) visit(sx, sy);
  }
}

// The first and last picture rows that the band of `record` reads in a picture of this size:
// the extraction and the clipping check read no other row. Second < first when none.
std::pair<int, int> BandSourceRows(int width, int height, const TSpectrumRecord& record);

// Reads the blue, green and red bytes of a pixel in any of the 15-, 16-, 24- and 32-bit formats.
void ReadPixel(const TBitmap& picture, int x, int y, int& red, int& green, int& blue);

// Rows of the marked band with a clipped (255) component, per colour.
struct TBandClipping {
  std::vector<unsigned char> Rows;  // bit 0 red, bit 1 green, bit 2 blue
  int RedRows = 0, GreenRows = 0, BlueRows = 0;
  bool Any() const { return RedRows + GreenRows + BlueRows > 0; }
};

// ExtractSpectrum that also finds the band's clipped rows as BandClipping does, in the same pass
// over the band (a live frame has both done on every frame).
void ExtractSpectrum(const TBitmap& picture, TSpectrumRecord& record, TBandClipping& clipping);

// Extracts the intensity profile of `picture` into `record`. Shows its messages through the
// platform's message box; an unsupported pixel format leaves the record unchanged.
void ExtractSpectrum(const TBitmap& picture, TSpectrumRecord& record);

inline constexpr const char* kPixelFormatMessage = "JPG pixel format not 15, 16, 24, or 32 bit.  Can not process data.";
inline constexpr const char* kTruncatedMessage =
    "WARNING!! Because of spectrum location in picture, data have been truncated during processing.";
// A blue end above the picture: the turned picture has no such rows.
inline constexpr const char* kOutsideMessage =
    "Blue end of spectrum lies above the picture.  Can not process data.";

// The wavelength of row i: the linear rule between the two wavelengths over RowCount rows, or the
// quadratic calibration while it is in force.
double RowWavelength(const TSpectrumRecord& record, int i);

// The rows of a record that hold a profile: RowCount, held to what its arrays really hold.
int ProfileRows(const TSpectrumRecord& record);
