#pragma once
// The comma-separated export of the two profiles and the transmittance result.
#include <QByteArray>
#include <QString>
#include <string>
#include <vector>

#include "app/SpectrumRecord.h"
#include "app/Transmittance.h"

inline constexpr const char* kCsvProposedName = "LumioData.CSV";
inline constexpr const char* kCsvDefaultExt = "CSV";
inline constexpr const char* kCsvDoneMessage = "Output data reflect most recent plot.";

// The header line, without its line end.
QString CsvHeader();
// Number of data lines: one more than the longer profile (the last line holds only fillers).
int CsvDataLineCount(const TSpectrumRecord& sample, const TSpectrumRecord& reference);
// Data line i, without its line end.
QString CsvDataLine(int i, const TSpectrumRecord& sample, const TSpectrumRecord& reference,
                    const TTransmittanceResult& result);
// The whole file as WriteCsvFile writes it into a new file: header and data lines, each ending
// with CR LF, in UTF-8.
QByteArray CsvText(const TSpectrumRecord& sample, const TSpectrumRecord& reference, const TTransmittanceResult& result);

// A profile's columns of every line, made once: a batch's photographs share one reference.
struct TCsvProfileText {
  TSpectrumRecord Profile;         // what the text was made from
  std::vector<std::string> Lines;  // the six values of each row, each followed by a comma
};
TCsvProfileText CsvProfileText(const TSpectrumRecord& profile);
// CsvText with the reference's columns taken from `referenceText` when `reference` holds exactly
// the values the text was made from (the same bytes as CsvText either way).
QByteArray CsvText(const TSpectrumRecord& sample, const TSpectrumRecord& reference, const TTransmittanceResult& result,
                   const TCsvProfileText& referenceText);
// Adds the header and the data lines to the end of the file, creating it when missing; each line
// ends with CR LF. Raises EInOutError; the lines written before a failure stay in the file.
void WriteCsvFile(const QString& fileName, const TSpectrumRecord& sample, const TSpectrumRecord& reference,
                  const TTransmittanceResult& result);
