// The chart data file (text and compact-interval) and chart-level logging of TiPlotComponent.
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <bit>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <future>
#include <limits>
#include <system_error>
#include <thread>
#include <vector>

#include "chart/channels/rUdudChannelCustom.h"
#include "chart/channels/rUdudDataLists.h"
#include "chart/core/rUdudComponent.h"
#include "chart/files/iDataNumbers.h"
#include "platform/Convert.h"
#include "platform/FileReplace.h"
#include "platform/TextFile.h"

static_assert(std::endian::native == std::endian::little, "the compact files hold little-endian floats");

namespace {

constexpr char kCompactHeader[] = "Compact Interval\r\n";
constexpr float kMissingMark = 1e38f;
constexpr float kEndMarker = 2e38f;

// The single-precision form of a value as the compact files hold it: NaN, infinities and what
// would read back as a mark or beyond the float range become the missing mark.
float CompactValue(double value) {
  if (!std::isfinite(value) || value >= 9e37 || value < -double(FLT_MAX)) return kMissingMark;
  const float f = static_cast<float>(value);
  return f >= 9e37f ? kMissingMark : f;
}

void PutFloat(char* out, float value) { std::memcpy(out, &value, 4); }

// A title as one column of the header: characters that would split the column or the line
// become blanks.
QByteArray HeaderTitle(const QString& title, char separator) {
  QByteArray bytes = title.toUtf8();
  for (char& c : bytes)
    if (c == '\t' || c == '\r' || c == '\n' || c == separator) c = ' ';
  return bytes;
}

char* PutNumber(char* out, double value) { return WriteDataNumber(out, value); }

// One channel's cell of a text row: X and Y (or "Null" / "Empty"); a coordinate that is not
// finite leaves both columns empty, as a channel without the point does.
char* PutTextCell(char* out, char separator, const TiPlotPoint& p) {
  if (!std::isfinite(p.X) || (!p.Null && !p.Empty && !std::isfinite(p.Y))) {
    *out++ = separator;
    return out;
  }
  out = PutNumber(out, p.X);
  *out++ = separator;
  if (p.Null) {
    std::memcpy(out, "Null", 4);
    return out + 4;
  }
  if (p.Empty) {
    std::memcpy(out, "Empty", 5);
    return out + 5;
  }
  return PutNumber(out, p.Y);
}

// The points of rows first..last-1 of every channel, read through each channel's typed list.
class TRowPoints {
 public:
  void Read(const std::vector<const TiPlotChannelCustom*>& channels, int first, int last) {
    first_ = first;
    rows_ = last - first;
    points_.resize(channels.size() * static_cast<std::size_t>(rows_));
    ends_.resize(channels.size());
    for (std::size_t j = 0; j < channels.size(); ++j) {
      const int end = std::min(last, channels[j]->Count());
      ends_[j] = end;
      TiPlotPoint* into = points_.data() + j * static_cast<std::size_t>(rows_);
      VisitDataList(channels[j]->DataList(), [&](const auto& list) {
        list.ForEachPoint(first, end - 1, [into, first](int i, TiPlotPoint p) { into[i - first] = p; });
      });
    }
  }
  // Null where channel j has no point in row r.
  const TiPlotPoint* At(std::size_t j, int r) const {
    return r < ends_[j] ? &points_[j * static_cast<std::size_t>(rows_) + static_cast<std::size_t>(r - first_)] : nullptr;
  }

 private:
  int first_ = 0, rows_ = 0;
  std::vector<TiPlotPoint> points_;
  std::vector<int> ends_;
};

// Text rows first..last-1 of the channels, each ending in CR LF, made in `out`.
void PutTextRows(const std::vector<const TiPlotChannelCustom*>& channels, char separator, int first, int last,
                 TRowPoints& points, std::vector<char>& out) {
  constexpr std::size_t kCell = 2 * kDataNumberMaxChars + 8;
  points.Read(channels, first, last);
  out.resize(static_cast<std::size_t>(last - first) * (channels.size() * kCell + 2));
  char* o = out.data();
  for (int r = first; r < last; ++r) {
    for (std::size_t j = 0; j < channels.size(); ++j) {
      if (j > 0) *o++ = separator;
      if (const TiPlotPoint* p = points.At(j, r)) o = PutTextCell(o, separator, *p);
      else *o++ = separator;
    }
    *o++ = '\r';
    *o++ = '\n';
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
}

// The text rows of the channels written to the file. Numbers take most of the time: a large file
// is made in blocks of rows by several threads at once, each reading the channels only, and the
// blocks are written in order once every thread of the round is done.
void WriteTextRows(TReplacingFile& file, const std::vector<const TiPlotChannelCustom*>& channels, char separator, int rows) {
  constexpr int kBlockCells = 1 << 15;
  const int blockRows = std::max(1, kBlockCells / std::max<int>(1, static_cast<int>(channels.size())));
  const int blocks = (rows + blockRows - 1) / blockRows;
  const int threads = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 4);
  std::vector<std::vector<char>> text(static_cast<std::size_t>(std::min(threads, std::max(blocks, 1))));
  std::vector<TRowPoints> points(text.size());
  for (int b = 0; b < blocks; b += static_cast<int>(text.size())) {
    const int round = std::min(static_cast<int>(text.size()), blocks - b);
    const auto make = [&](int k) {
      const int first = (b + k) * blockRows;
      PutTextRows(channels, separator, first, std::min(rows, first + blockRows), points[static_cast<std::size_t>(k)],
                  text[static_cast<std::size_t>(k)]);
    };
    std::vector<std::future<void>> others;
    for (int k = 1; k < round; ++k) {
      try {
        others.push_back(std::async(std::launch::async, make, k));
      } catch (const std::system_error&) {
        make(k);  // no thread to be had: this one makes the block itself
      }
    }
    make(0);
    for (auto& f : others) f.get();
    for (int k = 0; k < round; ++k) file.Write(text[static_cast<std::size_t>(k)].data(), text[static_cast<std::size_t>(k)].size());
  }
}

int MaxCount(const TiPlotComponent& chart) {
  int rows = 0;
  for (int j = 0; j < chart.ChannelCount(); ++j) rows = std::max(rows, chart.Channel(j)->Count());
  return rows;
}

QByteArray ReadWholeFile(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly))
    throw EInOutError(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, file.errorString()), ENOENT);
  QByteArray data = file.readAll();
  if (file.error() != QFileDevice::NoError)
    throw EInOutError(QStringLiteral("Cannot read file \"%1\". %2").arg(fileName, file.errorString()), EIO);
  return data;
}

struct TField {
  const char* First;
  const char* Last;
  bool Blank() const {
    for (const char* p = First; p < Last; ++p)
      if (*p != ' ' && *p != '\t' && *p != '\r' && *p != '\n' && *p != '\v' && *p != '\f') return false;
    return true;
  }
  bool Is(const char* word) const {
    const char* a = First;
    const char* b = Last;
    while (a < b && (*a == ' ' || *a == '\t')) ++a;
    while (b > a && (b[-1] == ' ' || b[-1] == '\t')) --b;
    const std::size_t n = std::strlen(word);
    if (static_cast<std::size_t>(b - a) != n) return false;
    for (std::size_t i = 0; i < n; ++i)
      if ((a[i] | 0x20) != (word[i] | 0x20)) return false;
    return true;
  }
};

// Fields of a line end at the separator or at the end of the line; a separator at the very end
// gives no further field.
void SplitFields(const char* first, const char* last, char separator, std::vector<TField>& fields) {
  fields.clear();
  if (first == last) return;
  const char* start = first;
  for (const char* p = first; p < last; ++p)
    if (*p == separator) {
      fields.push_back({start, p});
      start = p + 1;
    }
  if (start < last) fields.push_back({start, last});
}

// The next line of the text from pos: it ends at CR LF, a lone CR or a lone LF.
bool NextLine(const char*& pos, const char* end, const char*& first, const char*& last) {
  if (pos >= end) return false;
  first = pos;
  const char* p = pos;
  while (p < end && *p != '\r' && *p != '\n') ++p;
  last = p;
  if (p < end && *p == '\r') {
    ++p;
    if (p < end && *p == '\n') ++p;
  } else if (p < end) {
    ++p;
  }
  pos = p;
  return true;
}

// The chart's channels, looked up once and again whenever one of them went or their number
// changed (a handler may add or remove channels while points arrive).
class TChannelList {
 public:
  explicit TChannelList(TiPlotComponent& chart) : chart_(chart) { Refresh(); }
  int Count() {
    if (chart_.ChannelCount() != static_cast<int>(channels_.size())) Refresh();
    return static_cast<int>(channels_.size());
  }
  TiPlotChannelCustom* operator[](int i) {
    if (chart_.ChannelCount() != static_cast<int>(channels_.size()) ||
        (i < static_cast<int>(channels_.size()) && lives_[static_cast<std::size_t>(i)].Gone()))
      Refresh();
    return i < static_cast<int>(channels_.size()) ? channels_[static_cast<std::size_t>(i)] : nullptr;
  }

 private:
  void Refresh() {
    channels_.clear();
    lives_.clear();
    for (int j = 0; j < chart_.ChannelCount(); ++j) {
      channels_.push_back(chart_.Channel(j));
      lives_.emplace_back(channels_.back());
    }
  }
  TiPlotComponent& chart_;
  std::vector<TiPlotChannelCustom*> channels_;
  std::vector<TiPlotLifeGuard> lives_;
};

[[noreturn]] void InvalidData() { throw EiError(QStringLiteral("Invalid Data")); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Saving

void TiPlotComponent::SaveDataToFile(const QString& fileName) {
  try {
    TReplacingFile file(fileName);
    const int channels = ChannelCount();
    const int rows = MaxCount(*this);
    // Saving calls no handler: the channels stay as they are.
    std::vector<const TiPlotChannelCustom*> list;
    for (int j = 0; j < channels; ++j) list.push_back(Channel(j));
    if (dataFileFormat_ == ipdffCompactInterval) {
      file.Write(kCompactHeader, sizeof kCompactHeader - 1);
      file.Write(QByteArray::number(channels) + "\r\n");
      // In blocks of rows: each channel's points read through its typed list, the bytes
      // gathered before they are handed to the file.
      const int blockRows = std::max(1, (1 << 16) / std::max(1, channels));
      TRowPoints points;
      std::vector<char> bytes;
      for (int first = 0; first < rows; first += blockRows) {
        const int last = std::min(rows, first + blockRows);
        points.Read(list, first, last);
        bytes.resize(static_cast<std::size_t>(last - first) * static_cast<std::size_t>(channels) * 8);
        char* out = bytes.data();
        for (int r = first; r < last; ++r)
          for (int j = 0; j < channels; ++j) {
            float x = kMissingMark, y = kMissingMark;
            if (const TiPlotPoint* p = points.At(static_cast<std::size_t>(j), r)) {
              x = CompactValue(p->X);
              // A null or empty point has no value; written as one it would come back as a point at Y 0.
              if (!p->Null && !p->Empty) y = CompactValue(p->Y);
            }
            if (r < 2) {
              PutFloat(out, x);
              out += 4;
            }
            PutFloat(out, y);
            out += 4;
          }
        file.Write(bytes.data(), static_cast<std::size_t>(out - bytes.data()));
      }
      char* out = file.Reserve(4);
      PutFloat(out, kEndMarker);
      file.Advance(4);
    } else {
      const char separator = static_cast<char>(DataFileColumnSeparatorChar().unicode());
      QByteArray header;
      for (int j = 0; j < channels; ++j) {
        const QByteArray title = HeaderTitle(Channel(j)->TitleText(), separator);
        if (j > 0) header += separator;
        header += title + "(X)" + separator + title + "(Y)";
      }
      header += "\r\n";
      file.Write(header);
      WriteTextRows(file, list, separator, rows);
    }
    file.Commit();
  } catch (const std::exception& e) {
    throw EiError(QStringLiteral("Error Saving Data - ") + ErrorMessage(e));
  }
  if (OnAfterSaveData) OnAfterSaveData(this);
}

// ---------------------------------------------------------------------------------------------
// Loading

namespace {

// Adds one value read from a text file to channel i; the channel is looked up at each point, so
// that nothing dangles whatever a handler does meanwhile.
void AddTextPoint(TChannelList& channels, int i, double x, const TField& y) {
  TiPlotChannelCustom* channel = channels[i];
  if (!channel) return;
  if (y.Is("NULL")) channel->AddDataPoint(true, false, x, 0.0);
  else if (y.Is("EMPTY")) channel->AddDataPoint(false, true, x, 0.0);
  else channel->AddXY(x, ParseDataNumber(y.First, y.Last));
}

void ReadPairs(TiPlotComponent& chart, const char* pos, const char* end, char separator) {
  TChannelList channels(chart);
  std::vector<TField> fields;
  const char *first, *last;
  while (NextLine(pos, end, first, last)) {
    SplitFields(first, last, separator, fields);
    const int pairs = static_cast<int>(fields.size() / 2);
    for (int i = 0; i < pairs && i < channels.Count(); ++i) {
      const TField& xf = fields[static_cast<std::size_t>(2 * i)];
      if (xf.Blank()) continue;
      const double x = ParseDataNumber(xf.First, xf.Last);
      const TField& yf = fields[static_cast<std::size_t>(2 * i + 1)];
      if (yf.Blank()) continue;
      AddTextPoint(channels, i, x, yf);
    }
  }
}

void ReadLogRows(TiPlotComponent& chart, const char* pos, const char* end, char separator) {
  TChannelList channels(chart);
  std::vector<TField> fields;
  const char *first, *last;
  while (NextLine(pos, end, first, last)) {
    SplitFields(first, last, separator, fields);
    if (fields.empty() || fields[0].Blank()) continue;
    const double x = ParseDataNumber(fields[0].First, fields[0].Last);
    for (int i = 0; i + 1 < static_cast<int>(fields.size()) && i < channels.Count(); ++i) {
      const TField& yf = fields[static_cast<std::size_t>(i + 1)];
      if (yf.Blank()) continue;
      AddTextPoint(channels, i, x, yf);
    }
  }
}

// A header is a log's when it begins with "(X)" and no later column ends so (a data file whose
// first channel has no title begins with "(X)" too, but its later X columns give it away).
bool IsLogHeader(const QString& header, QChar separator) {
  if (!header.toUpper().startsWith(QLatin1String("(X)"))) return false;
  const QStringList columns = header.split(separator);
  for (qsizetype k = 1; k < columns.size(); ++k)
    if (columns[k].trimmed().toUpper().endsWith(QLatin1String("(X)"))) return false;
  return true;
}

float GetFloat(const char*& pos, const char* end) {
  if (end - pos < 4) InvalidData();
  float value;
  std::memcpy(&value, pos, 4);
  pos += 4;
  return value;
}

// A value that marks the end: finite and above 1.5e38 (NaN and infinities are missing values).
bool EndMark(float v) { return std::isfinite(v) && v > 1.5e38f; }
bool Present(double v) { return std::isfinite(v) && v < 9e37; }

void ReadCompact(TiPlotComponent& chart, const char* pos, const char* end) {
  // The first line (the header) and the second (the channel count), each up to and including
  // a line feed.
  const char* lf = static_cast<const char*>(std::memchr(pos, '\n', static_cast<std::size_t>(end - pos)));
  pos = lf ? lf + 1 : end;
  const char* countFirst = pos;
  lf = static_cast<const char*>(std::memchr(pos, '\n', static_cast<std::size_t>(end - pos)));
  const char* countLast = lf ? lf : end;
  pos = lf ? lf + 1 : end;
  std::int64_t count = -1;
  if (!TryStrToInt64(QString::fromLatin1(countFirst, countLast - countFirst), count) || count < 0 ||
      count > std::numeric_limits<int>::max())
    InvalidData();
  const std::int64_t remaining = end - pos;
  // Every channel has X and Y in the first row; only a file without rows (nothing or the end
  // marker alone) may name more channels than its bytes hold.
  if (count > 0 && remaining > 4 && count > remaining / 8) InvalidData();
  if (count == 0) return;
  const std::size_t n = static_cast<std::size_t>(count);
  TChannelList channels(chart);
  std::vector<double> x0(n, std::numeric_limits<double>::quiet_NaN()), x1(x0);
  for (int r = 0; pos < end; ++r) {
    for (std::size_t j = 0; j < n; ++j) {
      double x;
      if (r < 2) {
        const float fx = GetFloat(pos, end);
        if (EndMark(fx)) return;
        x = fx;
        (r == 0 ? x0 : x1)[j] = x;
      } else {
        // Later rows carry no X: the interval of the first two rows continues.
        x = Present(x0[j]) && Present(x1[j]) ? x0[j] + double(r) * (x1[j] - x0[j]) : std::numeric_limits<double>::quiet_NaN();
      }
      const float fy = GetFloat(pos, end);
      if (EndMark(fy)) return;
      if (Present(x) && Present(fy))
        if (TiPlotChannelCustom* channel = channels[static_cast<int>(j)]) channel->AddXY(x, fy);
    }
  }
}

}  // namespace

void TiPlotComponent::LoadDataFromFile(const QString& fileName) {
  try {
    const bool wasUpdating = Updating();
    BeginUpdate();
    try {
      QByteArray data = ReadWholeFile(fileName);
      const char* begin = data.constData();
      const char* end = begin + data.size();
      if (end - begin >= 3 && std::memcmp(begin, "\xEF\xBB\xBF", 3) == 0) begin += 3;
      // The text ends at a NUL character.
      if (const void* nul = std::memchr(begin, 0, static_cast<std::size_t>(end - begin))) end = static_cast<const char*>(nul);
      const char* pos = begin;
      const char *first = begin, *last = begin;
      NextLine(pos, end, first, last);
      const QString header = QString::fromUtf8(first, last - first);
      if (header.compare(QLatin1String("Compact Interval"), Qt::CaseInsensitive) == 0) {
        ReadCompact(*this, begin, data.constData() + data.size());
      } else if (first != last || pos != begin) {
        loadedSeparator_ = header.contains(QLatin1Char('\t')) ? QLatin1Char('\t') : QLatin1Char(',');
        const char separator = static_cast<char>(loadedSeparator_.unicode());
        if (IsLogHeader(header, loadedSeparator_)) ReadLogRows(*this, pos, end, separator);
        else ReadPairs(*this, pos, end, separator);
      }
    } catch (...) {
      if (!wasUpdating) {
        try {
          EndUpdate();
        } catch (...) {
        }
      }
      throw;
    }
    if (!wasUpdating) EndUpdate();
  } catch (const std::exception& e) {
    throw EiError(QStringLiteral("Error Loading Data - ") + ErrorMessage(e));
  }
  if (OnAfterLoadData) OnAfterLoadData(this);
}

// ---------------------------------------------------------------------------------------------
// Logging

namespace {

// Rows already in a compact log: the first two carry X and Y per channel, later ones Y only.
int CompactLogRows(const QString& fileName, int channels) {
  const QByteArray data = ReadWholeFile(fileName);
  const char* pos = data.constData();
  const char* end = pos + data.size();
  for (int line = 0; line < 2; ++line) {
    const char* lf = static_cast<const char*>(std::memchr(pos, '\n', static_cast<std::size_t>(end - pos)));
    if (!lf) throw EiError(QStringLiteral("The log file \"%1\" is no compact log").arg(fileName));
    if (line == 1) {
      std::int64_t count = -1;
      if (!TryStrToInt64(QString::fromLatin1(pos, lf - pos), count) || count != channels)
        throw EiError(QStringLiteral("The log file \"%1\" holds another number of channels").arg(fileName));
    }
    pos = lf + 1;
  }
  if (channels == 0) return 0;
  const std::int64_t bytes = end - pos;
  const std::int64_t first = 8LL * channels;
  if (bytes <= 2 * first) return static_cast<int>(bytes / first);
  return static_cast<int>(std::min<std::int64_t>(2 + (bytes - 2 * first) / (4LL * channels), std::numeric_limits<int>::max()));
}

}  // namespace

int TiPlotComponent::LogPendingCount() const {
  if (!loggingActive_ || ChannelCount() == 0) return 0;
  int least = std::numeric_limits<int>::max();
  for (int j = 0; j < ChannelCount(); ++j) least = std::min(least, Channel(j)->Count());
  return std::max(0, least - logNextRow_);
}

void TiPlotComponent::StartLogging(bool append) {
  if (logFileName_.trimmed().isEmpty()) throw EiError(QStringLiteral("Log File Name not Defined"));
  if (loggingActive_) throw EiError(QStringLiteral("Logging Already Active"));
  TTextFile file(logFileName_);
  int fileRows = 0;
  if (append) {
    // Appending continues a log that exists.
    if (!QFileInfo(logFileName_).isFile())
      throw EInOutError(QStringLiteral("Cannot open file \"%1\": No such file or directory").arg(logFileName_), ENOENT);
    file.Append();
    file.Close();
    if (dataFileFormat_ == ipdffCompactInterval) fileRows = CompactLogRows(logFileName_, ChannelCount());
  } else {
    file.Rewrite();
    QByteArray header;
    if (dataFileFormat_ == ipdffCompactInterval) {
      header = QByteArray(kCompactHeader) + QByteArray::number(ChannelCount()) + "\r\n";
    } else {
      const char separator = static_cast<char>(DataFileColumnSeparatorChar().unicode());
      header = "(X)";
      for (int j = 0; j < ChannelCount(); ++j) header += separator + HeaderTitle(Channel(j)->TitleText(), separator) + "(Y)";
      header += "\r\n";
    }
    file.WriteRaw(header.constData(), header.size());
    file.Close();
  }
  // Points present now are not logged: the first row is the one after the longest channel's last.
  logNextRow_ = MaxCount(*this);
  logFileRows_ = fileRows;
  loggingActive_ = true;
}

void TiPlotComponent::StopLogging() {
  if (!loggingActive_) throw EiError(QStringLiteral("Logging not Active"));
  // The pending rows are written as part of the logging that ends; it ends also when they fail.
  try {
    LogFlush();
  } catch (...) {
    loggingActive_ = false;
    throw;
  }
  loggingActive_ = false;
}

void TiPlotComponent::LogFlush() {
  const int pending = LogPendingCount();
  if (pending <= 0) return;
  const int channels = ChannelCount();
  QByteArray rows;
  char buf[kDataNumberMaxChars];
  const bool compact = dataFileFormat_ == ipdffCompactInterval;
  const char separator = static_cast<char>(DataFileColumnSeparatorChar().unicode());
  int fileRow = logFileRows_;
  for (int k = 0; k < pending; ++k, ++fileRow) {
    const int index = logNextRow_ + k;
    if (!compact) {
      const double x = Channel(0)->GetX(index);
      if (std::isfinite(x)) rows.append(buf, WriteDataNumber(buf, x) - buf);
    }
    for (int j = 0; j < channels; ++j) {
      double x, y;
      bool empty, null;
      Channel(j)->GetData(index, x, y, empty, null);
      if (compact) {
        char bytes[4];
        if (fileRow < 2) {
          PutFloat(bytes, CompactValue(x));
          rows.append(bytes, 4);
        }
        PutFloat(bytes, null || empty ? kMissingMark : CompactValue(y));
        rows.append(bytes, 4);
      } else {
        rows += separator;
        if (null) rows += "Null";
        else if (empty) rows += "Empty";
        else if (std::isfinite(y)) rows.append(buf, WriteDataNumber(buf, y) - buf);
      }
    }
    if (!compact) rows += "\r\n";
  }
  try {
    TTextFile file(logFileName_);
    file.Append();
    file.WriteRaw(rows.constData(), rows.size());
    file.Close();
  } catch (...) {
    // A log that cannot be written stops, so that later flushes do not fail the same way.
    loggingActive_ = false;
    throw;
  }
  logNextRow_ += pending;
  logFileRows_ = fileRow;
}
