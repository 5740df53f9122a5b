#include "app/CsvExport.h"

#include <algorithm>

#include "platform/Convert.h"
#include "platform/TextFile.h"

namespace {
const QString kComma = QStringLiteral(",");

// The six values of one profile row, each followed by a comma, or the filler when the profile
// has no such row.
void AppendProfile(QString& line, int i, const TSpectrumRecord& r) {
  if (i >= ProfileRows(r)) {
    line += QStringLiteral(" , , , , , ,");
    return;
  }
  const auto k = static_cast<std::size_t>(i);
  line += IntToStr(i) + kComma;
  for (const std::vector<double>* a : {&r.Wavelength, &r.RedSum, &r.GreenSum, &r.BlueSum, &r.TotalSum})
    line += FloatToStr((*a)[k]) + kComma;
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
  QString line;
  AppendProfile(line, i, sample);
  AppendProfile(line, i, reference);
  if (i < ResultPoints(result)) {
    const auto k = static_cast<std::size_t>(i);
    line += FloatToStr(result.Wavelength[k]) + kComma + FloatToStr(result.Transmittance[k]) + kComma +
            FloatToStr(result.Absorbance[k]);
  } else {
    line += QStringLiteral(" , , ");
  }
  return line;
}

QByteArray CsvText(const TSpectrumRecord& sample, const TSpectrumRecord& reference, const TTransmittanceResult& result) {
  const QString end = QStringLiteral("\r\n");
  QString text = CsvHeader() + end;
  const int lines = CsvDataLineCount(sample, reference);
  for (int i = 0; i < lines; ++i) text += CsvDataLine(i, sample, reference, result) + end;
  return text.toUtf8();
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
