// The chart data file (text and compact-interval) and chart-level logging, against hand-written
// bytes; bad input; failed saves.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <functional>
#include <string>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "chart/files/iDataNumbers.h"
#include "platform/Convert.h"
#include "platform/Locale.h"
#include "platform/TextFile.h"
#include "tests/chart/files/FilesTestSupport.h"
#include "tests/support/FileSizeLimit.h"

using namespace std::string_literals;

namespace {

// A chart with n channels titled A, B, ... and nothing else that matters here.
struct TChannels {
  explicit TChannels(int n) {
    chart.RemoveAllChannels();
    for (int j = 0; j < n; ++j) {
      chart.AddChannel();
      chart.Channel(j)->SetTitleText(QString(QChar('A' + j)));
    }
  }
  TiXYPlot chart;
};

struct TPoint4 {
  double X, Y;
  bool Null, Empty;
  bool operator==(const TPoint4&) const = default;
};

std::vector<TPoint4> Points(const TiPlotChannelCustom& channel) {
  std::vector<TPoint4> out;
  for (int i = 0; i < channel.Count(); ++i) out.push_back({channel.GetX(i), channel.GetY(i), channel.GetNull(i), channel.GetEmpty(i)});
  return out;
}

QByteArray Floats(std::initializer_list<float> values) {
  QByteArray out;
  for (float v : values) out.append(reinterpret_cast<const char*>(&v), 4);
  return out;
}

QString LoadError(TiPlotComponent& chart, const QString& path) {
  try {
    chart.LoadDataFromFile(path);
  } catch (const EiError& e) {
    return e.Message;
  }
  return QString();
}

}  // namespace

// ---- numbers ----

TEST(DataNumbers, WrittenAsTheGeneralFormWritesThem) {
  std::vector<double> values{0.0, -0.0, 1.0, -1.5, 400.063122923588, 1e-5, 1.5e-7, 2e20, 999999999999999.9, 1e15, 123456789012345.0,
                             0.1, 1.0 / 3.0, -2.5e-300, 1.7976931348623157e308, 4.9e-324, 99999.99999999999, 1e14, 12345.678};
  std::uint64_t bits = 0x9E3779B97F4A7C15ull;
  for (int i = 0; i < 100000; ++i) {
    bits = bits * 6364136223846793005ull + 1442695040888963407ull;
    double v;
    std::memcpy(&v, &bits, 8);
    if (std::isfinite(v)) values.push_back(v);
    values.push_back(double(bits % 2000000) / 1000.0 - 1000.0);
    values.push_back(double(bits >> 11) * 0x1p-53 * 1000.0);  // all 17 digits in use
    // Every decade from 1e-12 to 1e40, and the neighbours of its power of ten.
    const int decade = static_cast<int>(bits % 53) - 12;
    values.push_back((1.0 + double(bits >> 11) * 0x1p-53 * 9.0) * std::pow(10.0, decade));
    values.push_back(std::nextafter(std::pow(10.0, decade), bits & 1 ? 0.0 : 1e300));
  }
  // Values whose 16th and 17th digits lie near the midpoint of the 15th.
  for (const char* text : {"0.1234567890123450", "0.12345678901234549", "0.12345678901234551", "1.0000000000000050",
                           "9.9999999999999950", "9.9999999999999949", "99999999999999.95", "1.2345678901234562e-300",
                           "2.5000000000000048e100", "7.7777777777777738", "7.7777777777777762"}) {
    double v;
    std::from_chars(text, text + std::strlen(text), v);
    values.push_back(v);
    values.push_back(-v);
    values.push_back(std::nextafter(v, 0.0));
    values.push_back(std::nextafter(v, 10.0));
  }
  for (double v : values) {
    char buf[kDataNumberMaxChars];
    const QString written = QString::fromLatin1(buf, WriteDataNumber(buf, v) - buf);
    ASSERT_EQ(written, FloatToStr(v)) << v;
  }
}

TEST(DataNumbers, ReadWithEitherSeparatorAndNothingElse) {
  struct Case { const char* text; bool ok; double value; };
  for (const Case& c : std::initializer_list<Case>{
           {"1.5", true, 1.5}, {"1,5", true, 1.5}, {" -2.5e3 ", true, -2500}, {"+7", true, 7}, {"1.", true, 1},
           {"1.234,5", false, 0}, {"1.234.5", false, 0}, {"0x10", false, 0}, {"NAN", false, 0}, {"INF", false, 0},
           {"1e400", false, 0}, {"", false, 0}, {"  ", false, 0}, {"+-1", false, 0}, {"1 2", false, 0}, {"\xC3\xA9", false, 0},
       }) {
    SCOPED_TRACE(c.text);
    double v = -99;
    EXPECT_EQ(TryParseDataNumber(c.text, c.text + std::strlen(c.text), v), c.ok);
    if (c.ok) EXPECT_EQ(v, c.value);
  }
}

// ---- text data file ----

TEST(TextDataFile, TwoChannelsOfThreeAndOnePoints) {
  QTemporaryDir dir;
  TChannels c(2);
  c.chart.Channel(0)->AddXY(1, 10);
  c.chart.Channel(0)->AddXY(2.5, -0.125);
  c.chart.Channel(0)->AddDataPoint(true, false, 3, 0);
  c.chart.Channel(1)->AddXY(1e20, 1e-7);
  int saved = 0;
  c.chart.OnAfterSaveData = [&](QObject* sender) {
    EXPECT_EQ(sender, &c.chart);
    ++saved;
  };
  const QString path = dir.filePath("d.txt");
  c.chart.SaveDataToFile(path);
  EXPECT_EQ(saved, 1);
  EXPECT_EQ(FileBytes(path), QByteArray("A(X)\tA(Y)\tB(X)\tB(Y)\r\n"
                                        "1\t10\t1E20\t1E-7\r\n"
                                        "2.5\t-0.125\t\t\r\n"
                                        "3\tNull\t\t\r\n"));
  // Read back into a chart of two channels: the same points, the null one at Y 0 flagged.
  TChannels back(2);
  int loaded = 0;
  back.chart.OnAfterLoadData = [&](QObject*) { ++loaded; };
  back.chart.LoadDataFromFile(path);
  EXPECT_EQ(loaded, 1);
  EXPECT_EQ(Points(*back.chart.Channel(0)), (std::vector<TPoint4>{{1, 10, false, false}, {2.5, -0.125, false, false}, {3, 0, true, false}}));
  EXPECT_EQ(Points(*back.chart.Channel(1)), (std::vector<TPoint4>{{1e20, 1e-7, false, false}}));
  EXPECT_EQ(back.chart.LoadedSeparator(), QLatin1Char('\t'));
}

// Large enough to be made in several blocks of rows at once: the rows still come in order,
// channels of different lengths end where they end.
TEST(TextDataFile, ALargeFileHoldsEveryRowInOrder) {
  QTemporaryDir dir;
  TChannels c(3);
  const int counts[] = {40000, 12345, 2};
  c.chart.BeginUpdate();
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < counts[j]; ++i) {
      if (i % 1000 == 7) c.chart.Channel(j)->AddDataPoint(true, false, i, 0);
      else c.chart.Channel(j)->AddXY(i * 0.001 + j, std::sin(i * 0.01) * (j + 1));
    }
  c.chart.EndUpdate();
  QByteArray expected = "A(X)\tA(Y)\tB(X)\tB(Y)\tC(X)\tC(Y)\r\n";
  for (int i = 0; i < counts[0]; ++i) {
    for (int j = 0; j < 3; ++j) {
      if (j > 0) expected += '\t';
      const TiPlotChannelCustom& channel = *c.chart.Channel(j);
      if (i >= channel.Count()) expected += '\t';
      else expected += (FloatToStr(channel.GetX(i)) + '\t' + (channel.GetNull(i) ? QStringLiteral("Null") : FloatToStr(channel.GetY(i)))).toLatin1();
    }
    expected += "\r\n";
  }
  const QString path = dir.filePath("d.txt");
  c.chart.SaveDataToFile(path);
  EXPECT_TRUE(FileBytes(path) == expected);
}

TEST(TextDataFile, CommasTitlesAndValuesThatAreNoNumbers) {
  QTemporaryDir dir;
  TChannels c(2);
  c.chart.SetDataFileColumnSeparator(ipdfcsComma);
  c.chart.Channel(0)->SetTitleText(QStringLiteral("a\tb,c\r\nd"));
  c.chart.Channel(0)->AddXY(1, std::numeric_limits<double>::quiet_NaN());
  c.chart.Channel(0)->AddXY(std::numeric_limits<double>::infinity(), 2);
  c.chart.Channel(0)->AddDataPoint(false, true, 4, 0);
  c.chart.Channel(1)->AddXY(0.5, 0.25);
  {
    TFormatSettings settings;
    settings.DecimalSeparator = QLatin1Char(',');
    settings.ThousandSeparator = QLatin1Char('.');
    TFormatSettingsScope comma(settings);
    c.chart.SaveDataToFile(dir.filePath("c.txt"));
  }
  EXPECT_EQ(FileBytes(dir.filePath("c.txt")), QByteArray("a b c  d(X),a b c  d(Y),B(X),B(Y)\r\n"
                                                         ",,0.5,0.25\r\n"
                                                         ",,,\r\n"
                                                         "4,Empty,,\r\n"));
  TChannels back(2);
  back.chart.LoadDataFromFile(dir.filePath("c.txt"));
  EXPECT_EQ(Points(*back.chart.Channel(0)), (std::vector<TPoint4>{{4, 0, false, true}}));
  EXPECT_EQ(Points(*back.chart.Channel(1)), (std::vector<TPoint4>{{0.5, 0.25, false, false}}));
  EXPECT_EQ(back.chart.LoadedSeparator(), QLatin1Char(','));
}

TEST(TextDataFile, PairReaderCases) {
  struct Case { std::string file; std::vector<TPoint4> first, second; const char* error; };
  for (const Case& c : std::initializer_list<Case>{
           // The header is never data; more pairs than channels and an odd last field are ignored.
           {"1\t2\t3\t4\r\n5\t6\t7\t8\t9\t10\t11\r\n", {{5, 6, false, false}}, {{7, 8, false, false}}, ""},
           // Blank X or Y skips the pair; "1,5" is one and a half in a tab file.
           {"h\th\r\n\t1\r\n1\t\r\n1,5\t2.5\r\n", {{1.5, 2.5, false, false}}, {}, ""},
           // Comma-separated (no tab in the header), lone CR and LF line ends, NUL ends the text.
           {"a,b,c,d\r1,2,3,empty\n4,null,5,6\r\n\0 7,8"s, {{1, 2, false, false}, {4, 0, true, false}}, {{3, 0, false, true}, {5, 6, false, false}}, ""},
           // The points before a bad value stay.
           {"h\th\r\n1\t2\r\n1.234,5\t3\r\n4\t5\r\n", {{1, 2, false, false}}, {}, "'1.234,5' is not a valid floating point value"},
           {"h\th\r\n0x10\t1\r\n", {}, {}, "'0x10' is not a valid floating point value"},
           {"h\th\r\n1\tNAN\r\n", {}, {}, "'NAN' is not a valid floating point value"},
           {"", {}, {}, ""},
           {"only a header", {}, {}, ""},
           {"\r", {}, {}, ""},
       }) {
    SCOPED_TRACE(c.file);
    QTemporaryDir dir;
    TChannels chart(2);
    const QString path = PutFile(dir, "p.txt", QByteArray::fromStdString(c.file));
    int loaded = 0;
    chart.chart.OnAfterLoadData = [&](QObject*) { ++loaded; };
    const QString error = LoadError(chart.chart, path);
    EXPECT_EQ(error, *c.error ? QStringLiteral("Error Loading Data - ") + QLatin1String(c.error) : QString());
    EXPECT_EQ(loaded, *c.error ? 0 : 1);  // raised only after success
    EXPECT_EQ(Points(*chart.chart.Channel(0)), c.first);
    EXPECT_EQ(Points(*chart.chart.Channel(1)), c.second);
    EXPECT_FALSE(chart.chart.Updating());
  }
}

TEST(TextDataFile, LogFilesAreToldByTheirHeader) {
  struct Case { const char* file; std::vector<TPoint4> first, second; };
  for (const Case& c : std::initializer_list<Case>{
           // "(x)" in lower case is a log: field 0 is X of every channel.
           {"(x)\tA(Y)\tB(Y)\r\n1\t2\t3\r\n4\t\tnull\r\n\t9\t9\r\n", {{1, 2, false, false}}, {{1, 3, false, false}, {4, 0, true, false}}},
           // Channel 0 without a title: its data file begins with "(X)" too, but a later X column shows it.
           {"(X)\t(Y)\tB(X)\tB(Y)\r\n1\t2\t3\t4\r\n", {{1, 2, false, false}}, {{3, 4, false, false}}},
       }) {
    SCOPED_TRACE(c.file);
    QTemporaryDir dir;
    TChannels chart(2);
    chart.chart.LoadDataFromFile(PutFile(dir, "l.txt", c.file));
    EXPECT_EQ(Points(*chart.chart.Channel(0)), c.first);
    EXPECT_EQ(Points(*chart.chart.Channel(1)), c.second);
  }
}

// ---- compact-interval file ----

TEST(CompactDataFile, ThreeRowsOfOneChannelAre45Bytes) {
  QTemporaryDir dir;
  TChannels c(1);
  c.chart.SetDataFileFormat(ipdffCompactInterval);
  c.chart.Channel(0)->AddXY(10, 1);
  c.chart.Channel(0)->AddXY(10.5, 2);
  c.chart.Channel(0)->AddXY(11, 3);
  const QString path = dir.filePath("c.bin");
  c.chart.SaveDataToFile(path);
  const QByteArray expected = "Compact Interval\r\n1\r\n" + Floats({10, 1, 10.5, 2, 3, 2e38f});
  ASSERT_EQ(expected.size(), 45);
  EXPECT_EQ(FileBytes(path), expected);
  EXPECT_EQ(expected.mid(41), QByteArray::fromHex("9976167f"));  // 2e38 little-endian
  TChannels back(1);
  back.chart.LoadDataFromFile(path);
  // The third row's X continues the interval of the first two.
  EXPECT_EQ(Points(*back.chart.Channel(0)), (std::vector<TPoint4>{{10, 1, false, false}, {10.5, 2, false, false}, {11, 3, false, false}}));
}

// Longer than one block of rows, with a channel that ends early and a null point.
TEST(CompactDataFile, ALargeFileHoldsEveryRowInOrder) {
  QTemporaryDir dir;
  TChannels c(2);
  c.chart.SetDataFileFormat(ipdffCompactInterval);
  c.chart.BeginUpdate();
  for (int i = 0; i < 70000; ++i) c.chart.Channel(0)->AddXY(5 + i * 0.25, i % 977);
  c.chart.Channel(0)->SetNull(40000, true);
  for (int i = 0; i < 3; ++i) c.chart.Channel(1)->AddXY(i, -i);
  c.chart.EndUpdate();
  QByteArray expected = "Compact Interval\r\n2\r\n" + Floats({5, 0, 0, 0, 5.25, 1, 1, -1});
  for (int r = 2; r < 70000; ++r) expected += Floats({r == 40000 ? 1e38f : float(r % 977), r < 3 ? float(-r) : 1e38f});
  expected += Floats({2e38f});
  const QString path = dir.filePath("c.bin");
  c.chart.SaveDataToFile(path);
  EXPECT_TRUE(FileBytes(path) == expected);
}

TEST(CompactDataFile, MarksForMissingNullEmptyAndNonFiniteValues) {
  QTemporaryDir dir;
  TChannels c(2);
  c.chart.SetDataFileFormat(ipdffCompactInterval);
  TiPlotChannelCustom& a = *c.chart.Channel(0);
  a.AddXY(1, std::numeric_limits<double>::quiet_NaN());
  a.AddDataPoint(true, false, 2, 5);
  a.AddXY(3, 9.5e37);
  a.AddXY(4, -1e30);
  c.chart.Channel(1)->AddDataPoint(false, true, 7, 0);
  c.chart.SaveDataToFile(dir.filePath("m.bin"));
  EXPECT_EQ(FileBytes(dir.filePath("m.bin")),
            "Compact Interval\r\n2\r\n" + Floats({1, 1e38f, 7, 1e38f, 2, 1e38f, 1e38f, 1e38f, 1e38f, 1e38f, -1e30f, 1e38f, 2e38f}));
  TChannels back(2);
  back.chart.LoadDataFromFile(dir.filePath("m.bin"));
  EXPECT_EQ(Points(*back.chart.Channel(0)), (std::vector<TPoint4>{{4, -1e30f, false, false}}));
  EXPECT_TRUE(Points(*back.chart.Channel(1)).empty());
}

TEST(CompactDataFile, ReaderCases) {
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  struct Case { QByteArray file; std::vector<TPoint4> points; const char* error; };
  for (const Case& c : std::vector<Case>{
           {"Compact Interval\r\n0\r\n" + Floats({1, 2, 2e38f}), {}, ""},
           {"compact interval\r\n1\r\n" + Floats({1, 2}), {{1, 2, false, false}}, ""},                       // no end marker: a log
           {"Compact Interval\r\n1", {}, ""},                                                                   // count line without LF
           {"Compact Interval\r\n-1\r\n" + Floats({1, 2, 2e38f}), {}, "Invalid Data"},                         // would never end
           {"Compact Interval\r\nabc\r\n" + Floats({1, 2, 2e38f}), {}, "Invalid Data"},
           {"Compact Interval\r\n99999999999\r\n" + Floats({1, 2, 2e38f}), {}, "Invalid Data"},
           {"Compact Interval\r\n5\r\n" + Floats({1, 2, 3, 4, 2e38f}), {}, "Invalid Data"},                   // more channels than bytes
           {"Compact Interval\r\n5\r\n" + Floats({2e38f}), {}, ""},                                           // five empty channels
           {"Compact Interval\r\n1\r\n" + Floats({1, 2, 3}), {{1, 2, false, false}}, "Invalid Data"},         // truncated
           {"Compact Interval\r\n1\r\n" + Floats({1, nan, 2, 3, inf, 4, 2e38f}), {{2, 3, false, false}, {4, 4, false, false}}, ""},
           {"Compact Interval\r\n1\r\n" + Floats({1, 9.5e37f, 2, 1e38f, 5, 6, 2e38f, 7}), {{3, 5, false, false}, {4, 6, false, false}}, ""},
       }) {
    SCOPED_TRACE(c.file.toHex().toStdString());
    QTemporaryDir dir;
    TChannels chart(1);
    const QString error = LoadError(chart.chart, PutFile(dir, "r.bin", c.file));
    EXPECT_EQ(error, *c.error ? QStringLiteral("Error Loading Data - ") + QLatin1String(c.error) : QString());
    EXPECT_EQ(Points(*chart.chart.Channel(0)), c.points);
  }
}

TEST(CompactDataFile, TruncatedAtEveryOffsetLoadsOrSaysInvalidData) {
  QTemporaryDir dir;
  TChannels c(2);
  c.chart.SetDataFileFormat(ipdffCompactInterval);
  for (int i = 0; i < 5; ++i) {
    c.chart.Channel(0)->AddXY(i, i * i);
    c.chart.Channel(1)->AddXY(i, -i);
  }
  c.chart.SaveDataToFile(dir.filePath("full.bin"));
  const QByteArray full = FileBytes(dir.filePath("full.bin"));
  for (int size = 0; size < full.size(); ++size) {
    SCOPED_TRACE(size);
    TChannels chart(2);
    const QString error = LoadError(chart.chart, PutFile(dir, "cut.bin", full.left(size)));
    EXPECT_TRUE(error.isEmpty() || error == "Error Loading Data - Invalid Data") << error.toStdString();
    EXPECT_LE(chart.chart.Channel(0)->Count(), 5);
    EXPECT_FALSE(chart.chart.Updating());
  }
}

// ---- failed saves ----

TEST(DataFileSaves, AFullDiskIsAnErrorAndKeepsTheOldFile) {
  for (const TiPlotDataFileFormat format : {ipdffText, ipdffCompactInterval}) {
    SCOPED_TRACE(int(format));
    QTemporaryDir dir;
    TChannels c(1);
    c.chart.SetDataFileFormat(format);
    for (int i = 0; i < 30000; ++i) c.chart.Channel(0)->AddXY(i, i * 0.5);
    const QString path = PutFile(dir, "old.txt", "old contents");
    int saved = 0;
    c.chart.OnAfterSaveData = [&](QObject*) { ++saved; };
    {
      TFileSizeLimit limit(64 * 1024);
      ASSERT_TRUE(limit.Active());
      try {
        c.chart.SaveDataToFile(path);
        ADD_FAILURE() << "saved";
      } catch (const EiError& e) {
        EXPECT_TRUE(e.Message.startsWith("Error Saving Data - Cannot write file")) << e.Message.toStdString();
      }
    }
    EXPECT_EQ(saved, 0);
    EXPECT_EQ(FileBytes(path), "old contents");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.txt"});  // no temporary left
  }
  TChannels c(1);
  try {
    c.chart.SaveDataToFile(QStringLiteral("/nonexistent-folder/d.txt"));
    ADD_FAILURE();
  } catch (const EiError& e) {
    EXPECT_TRUE(e.Message.startsWith("Error Saving Data - Cannot create file")) << e.Message.toStdString();
  }
}

TEST(DataFileSaves, TheChannelsOwnFileIsStreamedAndReplacedWhole) {
  QTemporaryDir dir;
  TChannels c(1);
  for (int i = 0; i < 30000; ++i) c.chart.Channel(0)->AddXY(i, 1.0 / (i + 1));
  const QString path = PutFile(dir, "old.txt", "old contents");
  {
    TFileSizeLimit limit(64 * 1024);
    ASSERT_TRUE(limit.Active());
    EXPECT_THROW(c.chart.Channel(0)->SaveDataToFile(path), EInOutError);
  }
  EXPECT_EQ(FileBytes(path), "old contents");
  c.chart.Channel(0)->SaveDataToFile(path);
  const QByteArray bytes = FileBytes(path);
  EXPECT_TRUE(bytes.startsWith("0\t1\r\n1\t0.5\r\n2\t0.333333333333333\r\n"));
  EXPECT_EQ(bytes.count(QLatin1Char(10).toLatin1()), 30000);
}

// ---- logging ----

TEST(ChartLogging, MessagesAndAHeaderOnlyLog) {
  QTemporaryDir dir;
  TChannels c(2);
  auto message = [&](const std::function<void()>& f) {
    try {
      f();
    } catch (const EiError& e) {
      return e.Message;
    } catch (const EInOutError& e) {
      return e.Message;
    }
    return QString();
  };
  EXPECT_EQ(message([&] { c.chart.StartLogging(false); }), "Log File Name not Defined");
  c.chart.SetLogFileName(QStringLiteral("  "));
  EXPECT_EQ(message([&] { c.chart.StartLogging(false); }), "Log File Name not Defined");
  EXPECT_EQ(message([&] { c.chart.StopLogging(); }), "Logging not Active");
  c.chart.SetLogFileName(dir.filePath("missing.txt"));
  EXPECT_TRUE(message([&] { c.chart.StartLogging(true); }).startsWith("Cannot open file"));
  EXPECT_FALSE(c.chart.LoggingActive());
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing.txt")));
  c.chart.SetLogFileName(dir.filePath("log.txt"));
  c.chart.StartLogging(false);
  EXPECT_TRUE(c.chart.LoggingActive());
  EXPECT_EQ(message([&] { c.chart.StartLogging(false); }), "Logging Already Active");
  EXPECT_EQ(message([&] { c.chart.SetLogFileName("x"); }), "Log File Name can not be changed while logging is active.");
  c.chart.StopLogging();
  EXPECT_FALSE(c.chart.LoggingActive());
  EXPECT_EQ(FileBytes(dir.filePath("log.txt")), "(X)\tA(Y)\tB(Y)\r\n");
}

TEST(ChartLogging, RowsArePendingOnceEveryChannelHasThem) {
  QTemporaryDir dir;
  TChannels c(2);
  c.chart.Channel(0)->AddXY(-1, -1);  // present before logging: not logged
  c.chart.Channel(1)->AddXY(-1, -1);
  c.chart.SetLogFileName(dir.filePath("log.txt"));
  c.chart.StartLogging(false);
  EXPECT_EQ(c.chart.LogPendingCount(), 0);
  for (int i = 0; i < 3; ++i) c.chart.Channel(0)->AddXY(i, i * 10);
  c.chart.Channel(1)->AddXY(0, 0.5);
  c.chart.Channel(1)->AddDataPoint(true, false, 1, 0);
  EXPECT_EQ(c.chart.LogPendingCount(), 2);
  c.chart.LogFlush();
  EXPECT_EQ(c.chart.LogPendingCount(), 0);
  c.chart.Channel(1)->AddXY(2, std::numeric_limits<double>::infinity());
  c.chart.StopLogging();
  const QByteArray log = FileBytes(dir.filePath("log.txt"));
  EXPECT_EQ(log, "(X)\tA(Y)\tB(Y)\r\n0\t0\t0.5\r\n1\t10\tNull\r\n2\t20\t\r\n");
  // The log reads back as a log.
  TChannels back(2);
  back.chart.LoadDataFromFile(dir.filePath("log.txt"));
  EXPECT_EQ(Points(*back.chart.Channel(0)), (std::vector<TPoint4>{{0, 0, false, false}, {1, 10, false, false}, {2, 20, false, false}}));
  EXPECT_EQ(Points(*back.chart.Channel(1)), (std::vector<TPoint4>{{0, 0.5, false, false}, {1, 0, true, false}}));
  // Appending continues the file.
  c.chart.StartLogging(true);
  c.chart.Channel(0)->AddXY(3, 30);
  c.chart.Channel(1)->AddXY(3, 3);
  c.chart.StopLogging();
  EXPECT_EQ(FileBytes(dir.filePath("log.txt")), log + "3\t30\t3\r\n");
}

TEST(ChartLogging, CompactLogCarriesXInItsFirstTwoRows) {
  QTemporaryDir dir;
  TChannels c(1);
  c.chart.SetDataFileFormat(ipdffCompactInterval);
  c.chart.SetLogFileName(dir.filePath("log.bin"));
  c.chart.StartLogging(false);
  c.chart.Channel(0)->AddXY(5, 1);
  c.chart.LogFlush();
  c.chart.StopLogging();
  c.chart.StartLogging(true);  // the file's second row still carries X
  c.chart.Channel(0)->AddXY(6, 2);
  c.chart.Channel(0)->AddXY(7, 3);
  c.chart.StopLogging();
  EXPECT_EQ(FileBytes(dir.filePath("log.bin")), "Compact Interval\r\n1\r\n" + Floats({5, 1, 6, 2, 3}));
  TChannels back(1);
  back.chart.LoadDataFromFile(dir.filePath("log.bin"));
  EXPECT_EQ(Points(*back.chart.Channel(0)), (std::vector<TPoint4>{{5, 1, false, false}, {6, 2, false, false}, {7, 3, false, false}}));
  // A chart of another channel count cannot continue it.
  TChannels two(2);
  two.chart.SetDataFileFormat(ipdffCompactInterval);
  two.chart.SetLogFileName(dir.filePath("log.bin"));
  EXPECT_THROW(two.chart.StartLogging(true), EiError);
  EXPECT_FALSE(two.chart.LoggingActive());
}

TEST(ChartLogging, AFullDiskIsAnErrorAndStopsLogging) {
  QTemporaryDir dir;
  TChannels c(1);
  c.chart.SetLogFileName(dir.filePath("log.txt"));
  c.chart.StartLogging(false);
  for (int i = 0; i < 20000; ++i) c.chart.Channel(0)->AddXY(i, i);
  {
    TFileSizeLimit limit(4096);
    ASSERT_TRUE(limit.Active());
    EXPECT_THROW(c.chart.LogFlush(), EInOutError);
  }
  EXPECT_FALSE(c.chart.LoggingActive());
}

TEST(ChartLogging, NoChannelsGiveAHeaderOnly) {
  QTemporaryDir dir;
  TChannels c(0);
  c.chart.SetLogFileName(dir.filePath("log.txt"));
  c.chart.StartLogging(false);
  EXPECT_EQ(c.chart.LogPendingCount(), 0);
  c.chart.LogFlush();
  c.chart.StopLogging();
  EXPECT_EQ(FileBytes(dir.filePath("log.txt")), "(X)\r\n");
}

TEST(TextDataFile, HandlersThatRemoveChannelsDoNotUpsetTheLoad) {
  // The axes' range events of tracking come while points arrive or when the suspension ends; a
  // handler that takes the channels away must not leave the loader with a dangling channel.
  QTemporaryDir dir;
  TChannels c(2);
  int removals = 0;
  c.chart.OnXAxisMinSpanChange = [&](int, double, double, double, double) {
    ++removals;
    c.chart.RemoveAllChannels();
  };
  c.chart.OnYAxisMinSpanChange = c.chart.OnXAxisMinSpanChange;
  QByteArray text = "A(X)\tA(Y)\tB(X)\tB(Y)\r\n";
  for (int i = 0; i < 200; ++i) text += QByteArray::number(i * 1000) + "\t" + QByteArray::number(i * i) + "\t1\t2\r\n";
  int loaded = 0;
  c.chart.OnAfterLoadData = [&](QObject*) { ++loaded; };
  EXPECT_EQ(LoadError(c.chart, PutFile(dir, "d.txt", text)), QString());
  EXPECT_EQ(loaded, 1);
  EXPECT_GT(removals, 0);
  EXPECT_EQ(c.chart.ChannelCount(), 0);
}
