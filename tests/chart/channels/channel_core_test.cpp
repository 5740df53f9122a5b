// The channel core: adding points with running statistics and the axes' tracking, clearing and
// deleting, marker extents, axis binding and the data file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <limits>

#include "chart/axes/rUdudAxis.h"
#include "chart/channels/rUdudChannelCustom.h"
#include "chart/core/iErrors.h"
#include "chart/core/rUdudComponent.h"
#include "chart/decorations/rUdudDataCursor.h"
#include "chart/decorations/rUdudLegend.h"
#include "platform/Convert.h"
#include "platform/TextFile.h"
#include "support/OneChannelChart.h"

namespace {

struct ChannelFixture : ::testing::Test, TOneChannelChart {
  TiPlotChannelCustom* ch = channel;
  QTemporaryDir dir;
  QString Path(const char* name) const { return dir.filePath(QLatin1String(name)); }
  QByteArray ReadAll(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
  }
  void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
  }
};

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

}  // namespace

TEST_F(ChannelFixture, StartsEmptyWithSentinelStatistics) {
  EXPECT_EQ(ch->Count(), 0);
  EXPECT_EQ(ch->DataStatCount(), 0);
  EXPECT_EQ(ch->DataXMin(), 1e300);
  EXPECT_EQ(ch->DataXMax(), -1e300);
  EXPECT_EQ(ch->DataYMean(), 0.0);
  EXPECT_EQ(ch->FirstDataIndex(), -1);
  EXPECT_EQ(ch->LastDataIndex(), -1);
  EXPECT_EQ(ch->FirstXValue(), -1.0);
  EXPECT_EQ(ch->LastYValue(), -1.0);
  EXPECT_EQ(ch->DataStyle(), ipdsStandard);
  EXPECT_EQ(ch->TraceLineWidth(), 1);
  EXPECT_EQ(ch->MarkersSize(), 3);
  EXPECT_TRUE(ch->XAxisTrackingEnabled());
  EXPECT_EQ(ch->MarkersFont()->Color(), clWhite);
}

TEST_F(ChannelFixture, RunningStatisticsOfTwoPoints) {
  EXPECT_EQ(ch->AddXY(1, 5), 0);
  EXPECT_EQ(ch->AddXY(2, 7), 1);
  EXPECT_EQ(ch->DataYMin(), 5.0);
  EXPECT_EQ(ch->DataYMax(), 7.0);
  EXPECT_EQ(ch->DataYMean(), 6.0);
  EXPECT_EQ(ch->DataXMean(), 1.5);
  EXPECT_EQ(ch->LastXValue(), 2.0);
  EXPECT_EQ(ch->LastYValue(), 7.0);
  ch->Clear();
  ch->AddXY(3, 4);
  EXPECT_EQ(ch->DataXMean(), 3.0);
  EXPECT_EQ(ch->DataYMean(), 4.0);
  EXPECT_EQ(ch->DataStatCount(), 1);
}

TEST_F(ChannelFixture, RingKeepsTwoPointsButTheStatisticsCoverAll) {
  ch->SetRingBufferSize(2);
  for (double v : {1.0, 2.0, 3.0}) ch->AddXY(v, v);
  EXPECT_EQ(ch->Count(), 2);
  EXPECT_EQ(ch->DataYMean(), 2.0);
  EXPECT_EQ(ch->DataYMin(), 1.0);
  ch->RecalculateStatistics();
  EXPECT_EQ(ch->DataYMean(), 2.5);
  EXPECT_EQ(ch->DataYMin(), 2.0);
}

TEST_F(ChannelFixture, NullPointCountsUntilRecalculated) {
  ch->AddXY(1, 10);
  ch->AddDataPoint(true, false, 3, 0.0);
  EXPECT_EQ(ch->DataYMin(), 0.0);
  EXPECT_EQ(ch->DataYMean(), 5.0);
  ch->RecalculateStatistics();
  EXPECT_EQ(ch->DataStatCount(), 1);
  EXPECT_EQ(ch->DataYMin(), 10.0);
  EXPECT_EQ(ch->DataXMean(), 1.0);
  // No valid point at all: the means stay 0.
  ch->SetNull(0, true);
  ch->RecalculateStatistics();
  EXPECT_EQ(ch->DataXMean(), 0.0);
  EXPECT_EQ(ch->DataXMin(), 1e300);
}

TEST_F(ChannelFixture, CompensatedMeanKeepsSmallValuesBesideALargeOne) {
  // 1e16 + 1 + 1 - 1e16: a plain double sum loses both ones and gives 0.
  for (double v : {1e16, 1.0, 1.0, -1e16}) ch->AddXY(v, 0);
  EXPECT_EQ(ch->DataXMean(), 0.5);
}

TEST_F(ChannelFixture, NonFinitePointsAreStoredButLeftOutOfStatisticsAndTracking) {
  x->SetTrackingAlignFirstStyle(ipafsMin);
  ch->AddXY(kNaN, 1);
  ch->AddXY(2, kInf);
  EXPECT_EQ(ch->Count(), 2);
  EXPECT_TRUE(std::isnan(ch->GetX(0)));
  EXPECT_EQ(ch->DataStatCount(), 0);
  EXPECT_FALSE(x->TrackingFirstValueSeen());
  EXPECT_EQ(ch->GetYMaxExtent(), -1e300);
  ch->AddXY(5, 6);
  EXPECT_EQ(ch->DataXMean(), 5.0);
  EXPECT_EQ(x->Min(), 5.0);
}

TEST_F(ChannelFixture, AddReportsToBothAxesButAnInvalidYIsNotTracked) {
  x->SetTrackingAlignFirstStyle(ipafsMin);
  y->SetTrackingAlignFirstStyle(ipafsMin);
  ch->AddDataPoint(false, true, 7, 900);  // empty: X tracked, Y not
  EXPECT_EQ(x->Min(), 7.0);
  EXPECT_FALSE(y->TrackingFirstValueSeen());
  ch->AddXY(8, 30);
  EXPECT_EQ(y->Min(), 30.0);
  // Tracking switched off on the channel: the axis hears nothing.
  ch->SetXAxisTrackingEnabled(false);
  ch->AddXY(1000, 30);
  EXPECT_EQ(x->Span(), 100.0);
}

TEST_F(ChannelFixture, MarkersMakeTheAxesLeaveRoomForTheMarker) {
  // 500 pixels for 100 units: a half-size of 5 pixels is 1 unit.
  x->SetHorizontal(true);
  x->SetLayoutRect(TRect{0, 0, 500, 20});
  x->UpdateScaleArea(nullptr);
  ch->SetMarkersSize(5);
  ch->SetMarkersVisible(true);
  ch->SetYAxisTrackingEnabled(false);
  ch->AddXY(50, 0);  // first value: 51 sets the flag, 49 is the first tracked
  ch->AddXY(120, 0);
  EXPECT_NEAR(x->Min(), 0.0, 1e-9);
  EXPECT_NEAR(x->Max(), 121.0, 1e-9);
  // Now 121 units on 500 pixels: 5 pixels are 1.21 units.
  EXPECT_NEAR(ch->GetXPlusMarker(1), 121.21, 1e-9);
  EXPECT_NEAR(ch->GetXMinusMarker(1), 118.79, 1e-9);
}

TEST_F(ChannelFixture, MarkerExtentFailures) {
  ch->SetXAxisName(QStringLiteral("nowhere"));
  ch->SetYAxisTrackingEnabled(false);
  ch->SetXAxisTrackingEnabled(false);
  ch->AddXY(4, 5);
  ch->AddDataPoint(true, false, 6, 0);
  EXPECT_EQ(ch->GetXPlusMarker(0), 4.0);  // markers hidden: no axis needed
  try {
    ch->GetXPlusMarker(1);
    ADD_FAILURE();
  } catch (const EiError& e) {
    EXPECT_EQ(e.Message, "Data Point Null");
  }
  ch->SetMarkersVisible(true);
  try {
    ch->GetXMinusMarker(0);
    ADD_FAILURE();
  } catch (const EiError& e) {
    EXPECT_EQ(e.Message, "X-Axis not assigned");
  }
}

TEST_F(ChannelFixture, AxisBindingByNameFollowsRenameAndRemoval) {
  EXPECT_EQ(ch->XAxis(), x);
  EXPECT_TRUE(ch->AxesAssigned());
  x->SetName(QStringLiteral("Wavelength"));
  EXPECT_EQ(ch->XAxisName(), "Wavelength");
  ch->SetXAxisName(QStringLiteral("none"));
  EXPECT_EQ(ch->XAxis(), nullptr);
  EXPECT_EQ(ch->GetXText(1), "No X-Axis");
  ch->AddXY(1e6, 0);  // skipped for X without an axis
  EXPECT_EQ(x->Min(), 0.0);
  ch->SetXAxisName(QStringLiteral("wavelength"));
  EXPECT_EQ(ch->XAxis(), x);
  chart.DeleteYAxis(0);
  EXPECT_EQ(ch->YAxis(), nullptr);
  EXPECT_EQ(ch->GetYText(1), "No Y-Axis");
}

TEST_F(ChannelFixture, DeleteFirstAndClear) {
  for (int i = 0; i < 4; ++i) ch->AddXY(i, i * 10);
  ch->DeleteFirst(0);
  EXPECT_EQ(ch->Count(), 4);
  ch->DeleteFirst(1);
  EXPECT_EQ(ch->Count(), 3);
  EXPECT_EQ(ch->GetY(0), 10.0);
  EXPECT_EQ(ch->GetYMinExtent(), 10.0);
  EXPECT_EQ(ch->DataStatCount(), 4);  // statistics keep what was added
  ch->DeleteFirst(3);                  // all of them: Clear
  EXPECT_EQ(ch->Count(), 0);
  EXPECT_EQ(ch->DataStatCount(), 0);
  EXPECT_EQ(ch->DataYMax(), -1e300);
  try {
    ch->GetX(0);
    ADD_FAILURE();
  } catch (const EiError& e) {
    EXPECT_EQ(e.Message, "Index out of Bounds");
  }
}

TEST_F(ChannelFixture, DataStyleReplacesTheListKeepingTemplateAndRing) {
  ch->SetColor(clLime);
  ch->SetRingBufferSize(5);
  ch->AddXY(1, 2);
  ch->SetDataStyle(ipdsCompact);
  EXPECT_EQ(ch->DataStyle(), ipdsCompact);
  EXPECT_EQ(ch->Count(), 0);
  EXPECT_EQ(ch->Color(), clLime);
  EXPECT_EQ(ch->RingBufferSize(), 5);
  EXPECT_EQ(ch->DataStatCount(), 1);  // kept until the next Clear
  EXPECT_THROW(ch->SetRingBufferSize(2147483647), EiError);  // more than any list holds
  EXPECT_EQ(ch->RingBufferSize(), 5);
}

TEST_F(ChannelFixture, SavesNonEmptyPointsWithTheChartsSeparator) {
  chart.SetDataFileColumnSeparator(ipdfcsComma);
  ch->AddXY(1, 2);
  ch->AddDataPoint(true, false, 3, 0);
  ch->AddDataPoint(false, true, 5, 0);
  ch->AddXY(0.25, -1e20);
  ch->AddXY(kNaN, 1);  // not finite: could not be read back
  ch->SaveDataToFile(Path("d.txt"));
  EXPECT_EQ(ReadAll(Path("d.txt")), QByteArray("1,2\r\n3,Null\r\n0.25,-1E20\r\n"));
}

TEST_F(ChannelFixture, LoadsTabOrCommaFilesAndSkipsLinesWithoutTheSeparator) {
  WriteAll(Path("t.txt"), "1\t2\r\n3\tnull\r\n,5\r\n\t9\r\n 4 \t 2,5 \r\n");
  ch->AddXY(100, 100);
  ch->LoadDataFromFile(Path("t.txt"), true);
  ASSERT_EQ(ch->Count(), 3);
  EXPECT_EQ(ch->GetX(0), 1.0);
  EXPECT_EQ(ch->GetY(0), 2.0);
  EXPECT_TRUE(ch->GetNull(1));
  EXPECT_EQ(ch->GetX(1), 3.0);
  EXPECT_EQ(ch->GetY(2), 2.5);  // a decimal comma is read too
  EXPECT_EQ(ch->DataStatCount(), 3);

  // Written and read back with the comma separator, appended to what is there.
  chart.SetDataFileColumnSeparator(ipdfcsComma);
  ch->SaveDataToFile(Path("c.txt"));
  ch->LoadDataFromFile(Path("c.txt"), false);
  ASSERT_EQ(ch->Count(), 6);
  EXPECT_TRUE(ch->GetNull(4));
  EXPECT_EQ(ch->GetY(5), 2.5);
}

TEST_F(ChannelFixture, BadDataFilesFailKeepingThePointsReadSoFar) {
  struct Case {
    const char* name;
    QByteArray bytes;
    int count;
    bool fails;
  };
  // A last line cut before its separator is skipped like any line without one.
  for (const Case& c : std::initializer_list<Case>{{"empty", "", 0, false},
                                                   {"text", "1\t2\r\nabc\t3\r\n4\t5\r\n", 1, true},
                                                   {"inf", "1\t2\r\n2\tinf\r\n", 1, true},
                                                   {"nan", "nan\t2\r\n", 0, true},
                                                   {"missing", "1\t\r\n", 0, true},
                                                   {"truncated", "1\t2\r\n3", 1, false}}) {
    SCOPED_TRACE(c.name);
    ch->Clear();
    WriteAll(Path("bad.txt"), c.bytes);
    bool failed = false;
    try {
      ch->LoadDataFromFile(Path("bad.txt"), true);
    } catch (const EConvertError&) {
      failed = true;
    }
    EXPECT_EQ(failed, c.fails);
    EXPECT_EQ(ch->Count(), c.count);
  }
  EXPECT_THROW(ch->LoadDataFromFile(Path("absent.txt"), true), std::exception);
}

TEST_F(ChannelFixture, PropertyFileWritesAndReadsBack) {
  ch->SetTitleText(QStringLiteral("Sample"));
  ch->SetMarkersVisible(true);
  ch->SetRingBufferSize(7);
  ch->SetDataStyle(ipdsCompact);
  ch->SavePropertiesToFile(Path("p.txt"));
  const QByteArray bytes = ReadAll(Path("p.txt"));
  EXPECT_TRUE(bytes.startsWith("File Type = Plot Channel Config\r\nChannel."));
  EXPECT_TRUE(bytes.contains("\r\nChannel.TitleText = Sample\r\n"));
  EXPECT_TRUE(bytes.contains("\r\nChannel.MarkersVisible = 1\r\n"));
  EXPECT_TRUE(bytes.contains("\r\nChannel.RingBufferSize = 7\r\n"));
  EXPECT_TRUE(bytes.contains("\r\nChannel.DataStyle = 1\r\n"));
  EXPECT_FALSE(bytes.contains("Channel.Name"));

  chart.AddChannel();
  TiPlotChannelCustom* other = chart.Channel(1);
  other->LoadPropertiesFromFile(Path("p.txt"));
  EXPECT_EQ(other->TitleText(), "Sample");
  EXPECT_TRUE(other->MarkersVisible());
  EXPECT_EQ(other->DataStyle(), ipdsCompact);
  EXPECT_EQ(other->RingBufferSize(), 7);
  EXPECT_EQ(other->Name(), "Channel 2");
}

TEST_F(ChannelFixture, BadPropertyFilesFailWithThePrefix) {
  struct Case {
    const char* name;
    QByteArray bytes;
    const char* message;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"empty", "", "Error Loading Properties - Incompatible Plot Channel Configuration File Type"},
           {"chart file", "File Type = Plot Config\r\nChannel.TitleText = x\r\n",
            "Error Loading Properties - Incompatible Plot Channel Configuration File Type"},
           {"no type", "Channel.TitleText = x\r\n", "Error Loading Properties - Incompatible Plot Channel Configuration File Type"}}) {
    SCOPED_TRACE(c.name);
    WriteAll(Path("bad.txt"), c.bytes);
    try {
      ch->LoadPropertiesFromFile(Path("bad.txt"));
      ADD_FAILURE();
    } catch (const EiError& e) {
      EXPECT_EQ(e.Message, c.message);
    }
    EXPECT_EQ(ch->TitleText(), "Channel 1");
  }
  // A value that is not a number fails with the prefix; the lines before it are applied.
  WriteAll(Path("bad.txt"), "file type = plot channel config\r\nChannel.TitleText = y\r\nChannel.TraceLineWidth = wide\r\n");
  try {
    ch->LoadPropertiesFromFile(Path("bad.txt"));
    ADD_FAILURE();
  } catch (const EiError& e) {
    EXPECT_TRUE(e.Message.startsWith("Error Loading Properties - ")) << e.Message.toStdString();
  }
  EXPECT_EQ(ch->TitleText(), "y");
  EXPECT_EQ(ch->TraceLineWidth(), 1);
  // An absurd ring size is refused with its message, not allocated.
  WriteAll(Path("bad.txt"), "File Type = Plot Channel Config\r\nChannel.RingBufferSize = 2147483647\r\n");
  try {
    ch->LoadPropertiesFromFile(Path("bad.txt"));
    ADD_FAILURE() << "no error";
  } catch (const EiError& e) {
    EXPECT_EQ(e.Message, QStringLiteral("Error Loading Properties - Exceed Maximum List Size"));
  }
  EXPECT_EQ(ch->RingBufferSize(), 0);
  EXPECT_THROW(ch->SavePropertiesToFile(dir.filePath("missing/dir/p.txt")), EiError);
}

TEST_F(ChannelFixture, LogWritesEachPointOrEveryTenth) {
  ch->SetLogFileName(Path("log.txt"));
  ch->LogActivate(false);
  EXPECT_TRUE(ch->LoggingActive());
  ch->AddXY(1, 2);  // buffer size 0: written within its own AddXY
  EXPECT_EQ(ReadAll(Path("log.txt")), QByteArray("1\t2\r\n"));
  ch->SetLogBufferSize(10);
  for (int i = 0; i < 9; ++i) ch->AddXY(i, 0.5);
  EXPECT_EQ(ReadAll(Path("log.txt")).count('\n'), 1);
  ch->AddXY(9, 0.5);
  EXPECT_EQ(ReadAll(Path("log.txt")).count('\n'), 11);
  EXPECT_EQ(ch->LogCount(), 0);
  // Deactivating writes what is pending; a null point goes with its stored value.
  ch->AddDataPoint(true, false, 20, 0);
  ch->LogDeactivate();
  EXPECT_TRUE(ReadAll(Path("log.txt")).endsWith("9\t0.5\r\n20\t0\r\n"));
  // Appending continues the file.
  ch->LogActivate(true);
  ch->SetLogBufferSize(0);
  ch->AddXY(21, 1);
  EXPECT_TRUE(ReadAll(Path("log.txt")).endsWith("20\t0\r\n21\t1\r\n"));
}

TEST_F(ChannelFixture, LogFailuresAndStates) {
  auto expectFailure = [](const std::function<void()>& f, const char* message) {
    try {
      f();
      ADD_FAILURE() << message;
    } catch (const EiError& e) {
      EXPECT_EQ(e.Message, message);
    }
  };
  ch->SetLogFileName(QStringLiteral("  "));
  expectFailure([&] { ch->LogActivate(false); }, "Log File Name not Defined");
  expectFailure([&] { ch->LogDeactivate(); }, "Logging not Active");
  ch->SetLogFileName(Path("absent.txt"));
  EXPECT_THROW(ch->LogActivate(true), EInOutError);  // appending needs the file
  EXPECT_FALSE(ch->LoggingActive());
  ch->LogActivate(false);
  expectFailure([&] { ch->LogActivate(false); }, "Logging Already Active");
  expectFailure([&] { ch->SetLogFileName(Path("other.txt")); }, "Log File Name can not be changed while logging is active.");
  EXPECT_EQ(ch->LogFileName(), Path("absent.txt"));
  // Clear writes the pending points and stops logging.
  ch->SetLogBufferSize(5);
  ch->AddXY(1, 1);
  ch->Clear();
  EXPECT_FALSE(ch->LoggingActive());
  EXPECT_EQ(ReadAll(Path("absent.txt")), QByteArray("1\t1\r\n"));
}

TEST_F(ChannelFixture, LogAfterDroppedPointsStartsAtTheOldestLeft) {
  ch->SetRingBufferSize(2);
  ch->SetLogFileName(Path("ring.txt"));
  ch->LogActivate(false);
  ch->SetLogBufferSize(5);
  for (int i = 1; i <= 4; ++i) ch->AddXY(i, i);
  ch->LogDeactivate();
  EXPECT_EQ(ReadAll(Path("ring.txt")), QByteArray("3\t3\r\n4\t4\r\n"));
}

TEST_F(ChannelFixture, AFailedLogWriteStopsLoggingInsteadOfFailingEveryAdd) {
  ch->SetLogFileName(Path("gone/log.txt"));
  QDir().mkpath(Path("gone"));
  ch->LogActivate(false);
  QDir(Path("gone")).removeRecursively();
  EXPECT_THROW(ch->AddXY(1, 1), EInOutError);
  EXPECT_EQ(ch->Count(), 1);  // the point was added before the write
  EXPECT_FALSE(ch->LoggingActive());
  EXPECT_NO_THROW(ch->AddXY(2, 2));
}

// Two points at X = 1e308: a plain sum overflows to infinity and the mean to NaN.
TEST_F(ChannelFixture, TheMeanOfHugeValuesStaysFinite) {
  ch->AddXY(1e308, -1e308);
  ch->AddXY(1e308, -1e308);
  EXPECT_EQ(ch->DataXMean(), 1e308);
  EXPECT_EQ(ch->DataYMean(), -1e308);
  ch->AddXY(4e307, 0);
  EXPECT_DOUBLE_EQ(ch->DataXMean(), 8e307);  // (1e308 + 1e308 + 4e307) / 3
  ch->RecalculateStatistics();
  EXPECT_DOUBLE_EQ(ch->DataXMean(), 8e307);  // (1e308 + 1e308 + 4e307) / 3
  EXPECT_DOUBLE_EQ(ch->DataYMean(), -1e308 / 3 * 2);
}

// The log leaves out points that are not finite, as the data file does, so it reads back.
TEST_F(ChannelFixture, TheLogLeavesOutPointsThatAreNotFinite) {
  ch->SetLogFileName(Path("log.txt"));
  ch->LogActivate(false);
  for (double y : {1.0, kNaN, kInf, 2.0}) ch->AddXY(1, y);
  ch->AddXY(-kInf, 3);
  ch->LogDeactivate();
  EXPECT_EQ(ReadAll(Path("log.txt")), QByteArray("1\t1\r\n1\t2\r\n"));
  ch->Clear();
  ch->LoadDataFromFile(Path("log.txt"), true);
  EXPECT_EQ(ch->Count(), 2);
}

// Focus: the channel gives it up to another object, but not to the legend that selects it or
// to a data cursor bound to it. Its mouse cursor is the hand, which the chart's event may change.
TEST(ChannelFocus, GivenUpExceptToTheLegendAndItsOwnCursor) {
  TOneChannelChart c;
  c.chart.AddLegend();
  c.chart.AddDataCursor();
  TiPlotChannelCustom* ch = c.channel;
  ch->SetFocused(true);
  c.chart.Legend(0)->SetFocused(true);
  EXPECT_TRUE(ch->HasFocus());
  TiPlotDataCursor* cursor = c.chart.DataCursor(0);
  cursor->SetChannelName(ch->Name());
  cursor->SetFocused(true);
  EXPECT_TRUE(ch->HasFocus());
  c.x->SetFocused(true);
  EXPECT_FALSE(ch->HasFocus());
  EXPECT_TRUE(c.x->HasFocus());

  const TiPlotMouseParams p = MakeMouseParams(mbLeft, 0, 5, 5, false);
  EXPECT_EQ(ch->GetMouseCursor(p), crHandPoint);
  int asked = -1;
  c.chart.OnGetMouseCursorChannel = [&](int index, TCursor& cursor) {
    asked = index;
    cursor = crDrag;
  };
  EXPECT_EQ(ch->GetMouseCursor(p), crDrag);
  EXPECT_EQ(asked, 0);
}

// Extents and tracking take what the list stores: the interval layout's own X, single precision
// (1e300 is stored as infinity and takes no part). The held path inside BeginUpdate/EndUpdate
// gives the same result as the plain one.
TEST(StoredValues, FitAndTrackingFollowTheStoredPoints) {
  for (const bool held : {false, true}) {
    SCOPED_TRACE(held ? "held" : "plain");
    TOneChannelChart c;
    c.channel->SetDataStyle(ipdsCompactInterval);
    if (held) c.chart.BeginUpdate();
    for (const double x : {0.0, 1.0, 2.0, 3.0, 1000.0}) c.channel->AddXY(x, x + 1);
    c.channel->AddXY(7, 1e300);  // stored at X 5 as infinity
    if (held) c.chart.EndUpdate();
    EXPECT_EQ(c.channel->Count(), 6);
    EXPECT_EQ(c.channel->GetX(4), 4.0);
    EXPECT_EQ(c.channel->DataXMax(), 4.0);
    EXPECT_EQ(c.channel->DataYMax(), 1001.0f);
    c.x->FitToData();
    c.y->FitToData();
    EXPECT_EQ(c.x->Min(), 0.0);
    EXPECT_EQ(c.x->Max(), 4.0);
    EXPECT_EQ(c.y->Min(), 1.0);
    EXPECT_EQ(c.y->Max(), 1001.0);
    // Tracking never widened to the X handed in (1000) or to the Y stored as infinity.
    TOneChannelChart t;
    t.channel->SetDataStyle(ipdsCompact);
    if (held) t.chart.BeginUpdate();
    t.channel->AddXY(0, 0);
    t.channel->AddXY(1, 1e300);
    if (held) t.chart.EndUpdate();
    EXPECT_LT(t.y->Max(), 1e30);
    EXPECT_EQ(t.channel->DataYMax(), 0.0);
  }
}
