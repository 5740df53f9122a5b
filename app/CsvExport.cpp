#include "app/CsvExport.h"

#include <charconv>
#include <cstring>

#include <algorithm>
#include <string>

#include "platform/Convert.h"
#include "platform/TextFile.h"

namespace {
// Lines are built as bytes: every character is ASCII, and a batch writes thousands of numbers
// per file.
void AppendNumber(std::string& line, double value) {
  char buf[kFloatTextSize];
  line.append(buf, static_cast<std::size_t>(FloatToChars(value, buf)));
}

// The six values of one profile row, each followed by a comma, or the filler when the profile
// has no such row.
void AppendProfile(std::string& line, int i, const TSpectrumRecord& r) {
  if (i >= ProfileRows(r)) {
    line += " , , , , , ,";
    return;
  }
  const auto k = static_cast<std::size_t>(i);
  char index[16];
  line.append(index, static_cast<std::size_t>(std::to_chars(index, index + sizeof index, i).ptr - index));
  line += ',';
  for (const std::vector<double>* a : {&r.Wavelength, &r.RedSum, &r.GreenSum, &r.BlueSum, &r.TotalSum}) {
    AppendNumber(line, (*a)[k]);
    line += ',';
  }
}

void AppendDataLine(std::string& line, int i, const TSpectrumRecord& sample, const TSpectrumRecord& reference,
                    const TTransmittanceResult& result, const TCsvProfileText* referenceText = nullptr) {
  AppendProfile(line, i, sample);
  if (referenceText && i < static_cast<int>(referenceText->Lines.size()))
    line += referenceText->Lines[static_cast<std::size_t>(i)];
  else
    AppendProfile(line, i, reference);
  if (i < ResultPoints(result)) {
    const auto k = static_cast<std::size_t>(i);
    AppendNumber(line, result.Wavelength[k]);
    line += ',';
    AppendNumber(line, result.Transmittance[k]);
    line += ',';
    AppendNumber(line, result.Absorbance[k]);
  } else {
    line += " , , ";
  }
}
}  // namespace

QString CsvHeader() {
  return QStringLiteral("pixel number, wavelength, Isample(red), Isample(green), Isample(blue), Isample(total), "
                        "pixel number, wavelength, Iref(red), Iref(green), Iref(blue), Iref(total), "
                        "wavelength, Transmittance, Absorbance");
}

int CsvDataLineCount(const TSpectrumRecord& sample, const TSpectrumRecord& reference) {
  return std::max(sample.RowCount, reference.RowCount) + 1;
}

QString CsvDataLine(int i, const TSpectrumRecord& sample, const TSpectrumRecord& reference,
                    const TTransmittanceResult& result) {
  std::string line;
  AppendDataLine(line, i, sample, reference, result);
  return QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
}

namespace {
QByteArray Text(const TSpectrumRecord& sample, const TSpectrumRecord& reference, const TTransmittanceResult& result,
                const TCsvProfileText* referenceText) {
  std::string text = CsvHeader().toStdString() + "\r\n";
  const int lines = CsvDataLineCount(sample, reference);
  text.reserve(text.size() + static_cast<std::size_t>(lines) * 240);
  for (int i = 0; i < lines; ++i) {
    AppendDataLine(text, i, sample, reference, result, referenceText);
    text += "\r\n";
  }
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// Whether the two records' rows hold the same bytes, so that they are written alike.
bool SameProfile(const TSpectrumRecord& a, const TSpectrumRecord& b) {
  const int rows = ProfileRows(a);
  if (rows != ProfileRows(b)) return false;
  const auto same = [rows](const std::vector<double>& x, const std::vector<double>& y) {
    return std::memcmp(x.data(), y.data(), static_cast<std::size_t>(rows) * sizeof(double)) == 0;
  };
  return same(a.Wavelength, b.Wavelength) && same(a.RedSum, b.RedSum) && same(a.GreenSum, b.GreenSum) &&
         same(a.BlueSum, b.BlueSum) && same(a.TotalSum, b.TotalSum);
}
}  // namespace

QByteArray CsvText(const TSpectrumRecord& sample, const TSpectrumRecord& reference, const TTransmittanceResult& result) {
  return Text(sample, reference, result, nullptr);
}

TCsvProfileText CsvProfileText(const TSpectrumRecord& profile) {
  TCsvProfileText t{profile, {}};
  for (QLineEdit*& box : t.Profile.Binding) box = nullptr;
  const int rows = ProfileRows(profile);
  t.Lines.resize(static_cast<std::size_t>(rows));
  for (int i = 0; i < rows; ++i) AppendProfile(t.Lines[static_cast<std::size_t>(i)], i, profile);
  return t;
}

QByteArray CsvText(const TSpectrumRecord& sample, const TSpectrumRecord& reference, const TTransmittanceResult& result,
                   const TCsvProfileText& referenceText) {
  return Text(sample, reference, result, SameProfile(reference, referenceText.Profile) ? &referenceText : nullptr);
}

void WriteCsvFile(const QString& fileName, const TSpectrumRecord& sample, const TSpectrumRecord& reference,
                  const TTransmittanceResult& result) {
  TTextFile file(fileName);
  // Appending also keeps the content of an existing file that cannot be read.
  file.Append();
  file.WriteLine(CsvHeader());
  const int lines = CsvDataLineCount(sample, reference);
  for (int i = 0; i < lines; ++i) file.WriteLine(CsvDataLine(i, sample, reference, result));
  file.Close();
}
