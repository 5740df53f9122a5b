#include "chart/channels/rUdudChannelCustom.h"

#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>

#include "chart/axes/rUdudAxis.h"
#include "chart/channels/rUdudDataLists.h"
#include "chart/core/iErrors.h"
#include "chart/core/iValueNames.h"
#include "chart/core/rUdudComponent.h"
#include "chart/files/iDataNumbers.h"
#include "platform/Convert.h"
#include "platform/FileReplace.h"
#include "platform/TextFile.h"

namespace {

TFont DefaultMarkersFont() {
  TFont font;
  font.Color = clWhite;
  font.Style = FontStyleBit(fsBold);
  return font;
}

// A point whose coordinates can take part in sums and ranges. A null or empty point's Y is no
// value, so only its X must be finite.
bool Finite(bool null, bool empty, double x, double y) {
  return std::isfinite(x) && (null || empty || std::isfinite(y));
}

}  // namespace

const TiClassInfo& TiPlotChannelCustom::StaticClassInfo() {
  using C = TiPlotChannelCustom;
  static const TiClassInfo info =
      TiClassBuilder<C>(QStringLiteral("TiPlotChannelCustom"), &TiPlotManagerObject::StaticClassInfo())
          .String(QStringLiteral("TitleText"), &C::TitleText, &C::SetTitleText, QString())
          .Color(QStringLiteral("Color"), &C::Color, &C::SetColor)
          .Boolean(QStringLiteral("TraceVisible"), &C::TraceVisible, &C::SetTraceVisible, true)
          .Enumeration<TiPlotLineStyle>(QStringLiteral("TraceLineStyle"), &C::TraceLineStyle, &C::SetTraceLineStyle, iplsSolid,
                                        {QStringLiteral("iplsSolid"), QStringLiteral("iplsDash"), QStringLiteral("iplsDot"),
                                         QStringLiteral("iplsDashDot"), QStringLiteral("iplsDashDotDot"), QStringLiteral("iplsClear"),
                                         QStringLiteral("iplsInsideFrame")})
          .Integer(QStringLiteral("TraceLineWidth"), &C::TraceLineWidth, &C::SetTraceLineWidth, 1)
          .Boolean(QStringLiteral("MarkersVisible"), &C::MarkersVisible, &C::SetMarkersVisible, false)
          .Integer(QStringLiteral("MarkersSize"), &C::MarkersSize, &C::SetMarkersSize, 3)
          .Enumeration<TiPlotMarkerStyle>(
              QStringLiteral("MarkersStyle"), &C::MarkersStyle, &C::SetMarkersStyle, ipmsCircle,
              {QStringLiteral("ipmsCircle"), QStringLiteral("ipmsSquare"), QStringLiteral("ipmsDiamond"), QStringLiteral("ipmsCross"),
               QStringLiteral("ipmsPlus"), QStringLiteral("ipmsTriangleUp"), QStringLiteral("ipmsTriangleDown"),
               QStringLiteral("ipmsTriangleLeft"), QStringLiteral("ipmsTriangleRight"), QStringLiteral("ipmsVerticalLine"),
               QStringLiteral("ipmsHorizontalLine"), QStringLiteral("ipmsCharacter")})
          .Color(QStringLiteral("MarkersPenColor"), &C::MarkersPenColor, &C::SetMarkersPenColor, clRed)
          .Enumeration<TPenStyle>(QStringLiteral("MarkersPenStyle"), &C::MarkersPenStyle, &C::SetMarkersPenStyle, psSolid, PenStyleNames())
          .Integer(QStringLiteral("MarkersPenWidth"), &C::MarkersPenWidth, &C::SetMarkersPenWidth, 0)
          .Color(QStringLiteral("MarkersBrushColor"), &C::MarkersBrushColor, &C::SetMarkersBrushColor, clRed)
          .Enumeration<TBrushStyle>(QStringLiteral("MarkersBrushStyle"), &C::MarkersBrushStyle, &C::SetMarkersBrushStyle, bsSolid,
                                    BrushStyleNames())
          .Boolean(QStringLiteral("MarkersPenUseChannelColor"), &C::MarkersPenUseChannelColor, &C::SetMarkersPenUseChannelColor, true)
          .Boolean(QStringLiteral("MarkersBrushUseChannelColor"), &C::MarkersBrushUseChannelColor, &C::SetMarkersBrushUseChannelColor,
                   true)
          .Boolean(QStringLiteral("MarkersAllowIndividual"), &C::MarkersAllowIndividual, &C::SetMarkersAllowIndividual, false)
          .Integer(QStringLiteral("MarkersTurnOffLimit"), &C::MarkersTurnOffLimit, &C::SetMarkersTurnOffLimit, 0)
          .Object(QStringLiteral("MarkersFont"), &C::MarkersFont)
          .Boolean(QStringLiteral("VisibleInLegend"), &C::VisibleInLegend, &C::SetVisibleInLegend, true)
          .Boolean(QStringLiteral("ClipToAxes"), &C::ClipToAxes, &C::SetClipToAxes, false)
          .Boolean(QStringLiteral("ShowDataPointHints"), &C::ShowDataPointHints, &C::SetShowDataPointHints, false)
          .Boolean(QStringLiteral("UserCanMoveDataPoints"), &C::UserCanMoveDataPoints, &C::SetUserCanMoveDataPoints, false)
          .Enumeration<TiPlotChannelDataPointMoveStyle>(
              QStringLiteral("UserCanMoveDataPointsStyle"), &C::UserCanMoveDataPointsStyle, &C::SetUserCanMoveDataPointsStyle,
              ipcdpmsXandY, {QStringLiteral("ipcdpmsXandY"), QStringLiteral("ipcdpmsXOnly"), QStringLiteral("ipcdpmsYOnly")})
          .Integer(QStringLiteral("RingBufferSize"), &C::RingBufferSize, &C::SetRingBufferSize, 0)
          .String(QStringLiteral("XAxisName"), &C::XAxisName, &C::SetXAxisName, QString())
          .String(QStringLiteral("YAxisName"), &C::YAxisName, &C::SetYAxisName, QString())
          .Boolean(QStringLiteral("XAxisTrackingEnabled"), &C::XAxisTrackingEnabled, &C::SetXAxisTrackingEnabled, true)
          .Boolean(QStringLiteral("YAxisTrackingEnabled"), &C::YAxisTrackingEnabled, &C::SetYAxisTrackingEnabled, true)
          .String(QStringLiteral("LogFileName"), &C::LogFileName, &C::SetLogFileName, QString())
          .Integer(QStringLiteral("LogBufferSize"), &C::LogBufferSize, &C::SetLogBufferSize, 0)
          .Enumeration<TiPlotDataStyle>(QStringLiteral("DataStyle"), &C::DataStyle, &C::SetDataStyle, ipdsStandard,
                                        {QStringLiteral("ipdsStandard"), QStringLiteral("ipdsCompact"),
                                         QStringLiteral("ipdsCompactInterval"), QStringLiteral("ipdsFullFeature")})
          .Build();
  return info;
}

TiPlotChannelCustom::TiPlotChannelCustom(TiPlotOwner* owner, const TiPlotHandlers& handlers)
    : TiPlotManagerObject(owner, handlers), list_(CreateDataList(ipdsStandard)), markersFont_(DefaultMarkersFont()) {
  TiPlotPointTemplate& t = list_->PointTemplate();
  t.TraceColor = clRed;
  t.TraceLineWidth = 1;
  t.TraceLineStyle = iplsSolid;
  t.MarkerVisible = false;
  t.MarkerSize = 3;
  t.MarkerStyle = ipmsCircle;
  t.MarkerPenColor = clRed;
  t.MarkerPenWidth = 0;
  t.MarkerPenStyle = psSolid;
  t.MarkerBrushColor = clRed;
  t.MarkerBrushStyle = bsSolid;
  markersFont_.OnChange = [this] { DoChange(); };
}

TiPlotChannelCustom::~TiPlotChannelCustom() = default;

// ---------------------------------------------------------------------------------------------
// Properties

void TiPlotChannelCustom::SetTitleText(const QString& value) { SetAndChange(titleText_, value); }

template <class T>
void TiPlotChannelCustom::SetTemplate(T TiPlotPointTemplate::*field, T value) {
  T& stored = list_->PointTemplate().*field;
  if (stored == value) return;
  stored = value;
  DoChange();
}

void TiPlotChannelCustom::SetColor(TColor value) { SetTemplate(&TiPlotPointTemplate::TraceColor, value); }
void TiPlotChannelCustom::SetTraceVisible(bool value) { SetAndChange(traceVisible_, value); }
void TiPlotChannelCustom::SetTraceLineStyle(TiPlotLineStyle value) {
  SetTemplate(&TiPlotPointTemplate::TraceLineStyle, std::uint8_t(value));
}
void TiPlotChannelCustom::SetTraceLineWidth(int value) { SetTemplate(&TiPlotPointTemplate::TraceLineWidth, std::int32_t(value)); }
void TiPlotChannelCustom::SetMarkersVisible(bool value) { SetTemplate(&TiPlotPointTemplate::MarkerVisible, value); }
void TiPlotChannelCustom::SetMarkersSize(int value) { SetTemplate(&TiPlotPointTemplate::MarkerSize, std::int32_t(value)); }
void TiPlotChannelCustom::SetMarkersStyle(TiPlotMarkerStyle value) {
  SetTemplate(&TiPlotPointTemplate::MarkerStyle, std::uint8_t(value));
}
void TiPlotChannelCustom::SetMarkersPenColor(TColor value) { SetTemplate(&TiPlotPointTemplate::MarkerPenColor, value); }
void TiPlotChannelCustom::SetMarkersPenStyle(TPenStyle value) { SetTemplate(&TiPlotPointTemplate::MarkerPenStyle, std::uint8_t(value)); }
void TiPlotChannelCustom::SetMarkersPenWidth(int value) { SetTemplate(&TiPlotPointTemplate::MarkerPenWidth, std::int32_t(value)); }
void TiPlotChannelCustom::SetMarkersBrushColor(TColor value) { SetTemplate(&TiPlotPointTemplate::MarkerBrushColor, value); }
void TiPlotChannelCustom::SetMarkersBrushStyle(TBrushStyle value) {
  SetTemplate(&TiPlotPointTemplate::MarkerBrushStyle, std::uint8_t(value));
}
void TiPlotChannelCustom::SetMarkersPenUseChannelColor(bool value) { SetAndChange(markersPenUseChannelColor_, value); }
void TiPlotChannelCustom::SetMarkersBrushUseChannelColor(bool value) { SetAndChange(markersBrushUseChannelColor_, value); }
void TiPlotChannelCustom::SetMarkersAllowIndividual(bool value) { SetAndChange(markersAllowIndividual_, value); }
void TiPlotChannelCustom::SetMarkersTurnOffLimit(int value) { SetAndChange(markersTurnOffLimit_, value); }
void TiPlotChannelCustom::SetVisibleInLegend(bool value) { SetAndChange(visibleInLegend_, value); }
void TiPlotChannelCustom::SetClipToAxes(bool value) { SetAndChange(clipToAxes_, value); }
void TiPlotChannelCustom::SetXAxisTrackingEnabled(bool value) { SetAndChange(xAxisTrackingEnabled_, value); }
void TiPlotChannelCustom::SetYAxisTrackingEnabled(bool value) { SetAndChange(yAxisTrackingEnabled_, value); }

void TiPlotChannelCustom::SetRingBufferSize(int value) {
  // A size no list can hold (a stored file's absurd count) raises "Exceed Maximum List Size"
  // with the ring unchanged. The ring may drop the oldest points: the kept extents are worked
  // out again.
  list_->SetRingBufferSize(value);
  ++dataRevision_;
  extentsValid_ = false;
  DoChange();
}

void TiPlotChannelCustom::SetDataStyle(TiPlotDataStyle value) {
  if (value == list_->DataStyle()) return;
  // The pending points are written before the list that holds them goes.
  if (loggingActive_ && logCount_ > 0) LogFlush();
  std::unique_ptr<TiPlotDataCustomList> fresh = CreateDataList(value);
  fresh->SetPointTemplate(list_->PointTemplate());
  fresh->SetRingBufferSize(list_->RingBufferSize());
  list_ = std::move(fresh);
  ++dataRevision_;
  ResetOrder();
  extentsValid_ = false;
  DoChange();
}

void TiPlotChannelCustom::SetXAxisName(const QString& value) {
  if (xAxisName_ == value) return;
  xAxisName_ = value;
  xAxis_ = nullptr;
  DoChange();
}

void TiPlotChannelCustom::SetYAxisName(const QString& value) {
  if (yAxisName_ == value) return;
  yAxisName_ = value;
  yAxis_ = nullptr;
  DoChange();
}

// ---------------------------------------------------------------------------------------------
// Axes

TiPlotAxis* TiPlotChannelCustom::ResolveXAxis() {
  if (auto* lookup = dynamic_cast<TiPlotAxisLookup*>(Owner())) xAxis_ = lookup->FindXAxis(xAxisName_);
  return xAxis_;
}

TiPlotAxis* TiPlotChannelCustom::ResolveYAxis() {
  if (auto* lookup = dynamic_cast<TiPlotAxisLookup*>(Owner())) yAxis_ = lookup->FindYAxis(yAxisName_);
  return yAxis_;
}

void TiPlotChannelCustom::NotifyRemoving(TiPlotPersistent* item) {
  TiPlotManagerObject::NotifyRemoving(item);
  if (item == xAxis_) xAxis_ = nullptr;
  if (item == yAxis_) yAxis_ = nullptr;
}

void TiPlotChannelCustom::NotifyRenamed(TiPlotObject* object) {
  TiPlotManagerObject::NotifyRenamed(object);
  // The binding follows a rename of its axis.
  if (object && object == xAxis_) xAxisName_ = object->Name();
  if (object && object == yAxis_) yAxisName_ = object->Name();
}

QString TiPlotChannelCustom::GetXText(double value) {
  if (TiPlotAxis* axis = XAxis()) return axis->CursorText(value);
  return Owner() ? Owner()->Translate(QStringLiteral("No X-Axis")) : QStringLiteral("No X-Axis");
}

QString TiPlotChannelCustom::GetYText(double value) {
  if (TiPlotAxis* axis = YAxis()) return axis->CursorText(value);
  return Owner() ? Owner()->Translate(QStringLiteral("No Y-Axis")) : QStringLiteral("No Y-Axis");
}

// ---------------------------------------------------------------------------------------------
// Points

void TiPlotChannelCustom::FindChart() {
  chartOwner_ = Owner();
  chart_ = dynamic_cast<const TiPlotComponent*>(Owner());
  chartMaster_ = chart_ ? chart_->Master() : nullptr;
}

// Inline in AddXY.
[[gnu::always_inline]] inline bool TiPlotChannelCustom::ChangeRequestPending() {
  if (chartOwner_ != Owner()) FindChart();
  return chart_ && chart_->Updating() && chart_->ChangePending() && chartMaster_ && OnChange.Origin() == chartMaster_;
}

void TiPlotChannelCustom::ForgetOverwrittenExtreme() {
  if (list_->Count() != list_->RingBufferSize() || list_->Count() == 0) return;
  double ox, oy;
  bool oEmpty, oNull;
  list_->GetData(0, ox, oy, oEmpty, oNull);
  if (!oNull && !oEmpty && (ox <= extXMin_ || ox >= extXMax_ || oy <= extYMin_ || oy >= extYMax_)) extentsValid_ = false;
}

// The axis's question answered without its virtual call where the axis belongs to the
// channel's chart (the chart's answer then is the axis's).
[[gnu::always_inline]] inline bool TiPlotChannelCustom::RangeChangesHeld(const TiPlotAxis& axis) {
  if (chartOwner_ != Owner()) FindChart();
  if (chart_ && axis.Owner() == chartOwner_) return chart_->AxisRangeChangesHeld();
  return axis.RangeChangesHeld();
}

int TiPlotChannelCustom::AddPoint(bool null, bool empty, double x, double y) {
  if (extentsValid_ && list_->RingActive()) ForgetOverwrittenExtreme();
  // From here on the point is what the list will hold (single precision, the interval's X).
  const double givenX = x, givenY = y;
  StoredValues(*list_, x, y);
  NoteAppend(x);
  const int result = AddToDataList(*list_, null, empty, givenX, givenY);
  // Stored as given, but a coordinate that is not finite takes no part in sums and ranges.
  if (Finite(null, empty, x, y)) {
    AddToStatistics(x, null || empty ? (std::isfinite(y) ? y : 0.0) : y);
    if (!null && !empty) WidenExtents(x, y);
    if (xAxisTrackingEnabled_ || yAxisTrackingEnabled_) {
      // While the chart holds its axes' range changes (update suspension) a tracking step calls
      // nobody back, so no handler can remove the channel meanwhile and its life need not be
      // watched; without markers that is one step per axis. The axes are the chart's: asking
      // one answers for both.
      TiPlotAxis* const xAxis = XAxis();
      TiPlotAxis* const yAxis = YAxis();
      const TiPlotAxis* const anyAxis = xAxis ? xAxis : yAxis;
      const bool held = !anyAxis || RangeChangesHeld(*anyAxis);
      if (held && !MarkersVisible()) {
        if (xAxisTrackingEnabled_ && xAxis) xAxis->NewTrackingData(x, true);
        if (yAxisTrackingEnabled_ && yAxis && !null && !empty) yAxis->NewTrackingData(y, true);
      } else if (!Track(null, empty, x, y, !held)) {
        // A handler of a range event removed the channel: nothing of it may be touched.
        return result;
      }
    }
  }
  if (loggingActive_) {
    ++logCount_;
    if (logCount_ >= logBufferSize_ || logBufferSize_ < 2) LogFlush();
  }
  if (!ChangeRequestPending()) DoChange();
  return result;
}

// The common case of AddXY while the chart holds its changes (update suspension with a repaint
// pending and the chart's own change handler): append, statistics and held tracking steps, with
// no call to anybody. Every condition is checked before anything changes, so any other case
// returns false and takes the full path, which gives the same result.
[[gnu::always_inline]] inline bool TiPlotChannelCustom::AddHeld(double x, double y, int& index) {
  constexpr double kLargest = std::numeric_limits<double>::max();
  // Statistics, extents and tracking take the values stored, as the full path does.
  const double givenX = x, givenY = y;
  StoredValues(*list_, x, y);
  if (!(std::fabs(x) <= kLargest && std::fabs(y) <= kLargest) || loggingActive_) return false;
  if (!ChangeRequestPending() || !chart_->AxisRangeChangesHeld()) return false;
  TiPlotDataCustomList& list = *list_;
  // A full block or a ring: growing or dropping the oldest point is the full path's work.
  if (list.RingActive() || list.Count() >= list.Capacity()) return false;
  const bool trackX = xAxisTrackingEnabled_, trackY = yAxisTrackingEnabled_;
  TiPlotAxis::TiPlotHeldStep xStep, yStep;
  if (trackX || trackY) {
    if (MarkersVisible()) return false;
    // The chart's axes only: their holding is the chart's.
    if (trackX && !(xAxis_ && xAxis_->Owner() == chartOwner_ && xAxis_->PlainHeldStep(x, xStep))) return false;
    if (trackY && !(yAxis_ && yAxis_->Owner() == chartOwner_ && yAxis_->PlainHeldStep(y, yStep))) return false;
  }
  NoteAppend(x);
  index = AddToDataList(list, false, false, givenX, givenY);
  AddToStatistics(x, y);
  WidenExtents(x, y);
  if (trackX) xAxis_->TakeHeldStep(xStep);
  if (trackY) yAxis_->TakeHeldStep(yStep);
  return true;
}

int TiPlotChannelCustom::AddXY(double x, double y) {
  int index;
  if (AddHeld(x, y, index)) return index;
  return AddPoint(false, false, x, y);
}

int TiPlotChannelCustom::AddDataPoint(bool null, bool empty, double x, double y) { return AddPoint(null, empty, x, y); }

bool TiPlotChannelCustom::Track(bool null, bool empty, double x, double y, bool watch) {
  std::weak_ptr<const void> life;
  if (watch) life = LifeToken();
  const auto gone = [&] { return watch && life.expired(); };
  if (MarkersVisible()) {
    const int last = Count() - 1;
    // The axes leave room for the whole marker.
    if (xAxisTrackingEnabled_ && !null)
      if (TiPlotAxis* axis = XAxis()) {
        axis->NewTrackingData(GetXPlusMarker(last), !watch);
        if (gone()) return false;
        axis->NewTrackingData(GetXMinusMarker(last), !watch);
        if (gone()) return false;
      }
    if (yAxisTrackingEnabled_ && !null && !empty)
      if (TiPlotAxis* axis = YAxis()) {
        axis->NewTrackingData(GetYPlusMarker(last), !watch);
        if (gone()) return false;
        axis->NewTrackingData(GetYMinusMarker(last), !watch);
      }
    return !gone();
  }
  if (xAxisTrackingEnabled_)
    if (TiPlotAxis* axis = XAxis()) {
      axis->NewTrackingData(x, !watch);
      if (gone()) return false;
    }
  if (yAxisTrackingEnabled_ && !null && !empty)
    if (TiPlotAxis* axis = YAxis()) axis->NewTrackingData(y, !watch);
  return !gone();
}

void TiPlotChannelCustom::Clear() {
  // The pending points are written while they are still there.
  if (loggingActive_) LogDeactivate();
  ResetStatistics();
  list_->Clear();
  ++dataRevision_;
  ResetOrder();
  extentsValid_ = true;
  extXMin_ = extYMin_ = 1e300;
  extXMax_ = extYMax_ = -1e300;
  DoChange();
}

void TiPlotChannelCustom::DeleteFirst(int n) {
  if (n == Count()) {
    Clear();
    return;
  }
  list_->DeleteFirst(n);
  ++dataRevision_;
  if (n > 0) extentsValid_ = false;
  DoChange();
}

void TiPlotChannelCustom::SetX(int index, double value) {
  list_->SetX(index, value);
  ++dataRevision_;
  xNonDecreasing_ = xNonIncreasing_ = false;
  extentsValid_ = false;
  DoChange();
}

void TiPlotChannelCustom::SetY(int index, double value) {
  list_->SetY(index, value);
  ++dataRevision_;
  extentsValid_ = false;
  DoChange();
}

void TiPlotChannelCustom::SetNull(int index, bool value) {
  list_->SetNull(index, value);
  ++dataRevision_;
  extentsValid_ = false;
  DoChange();
}

void TiPlotChannelCustom::SetEmpty(int index, bool value) {
  list_->SetEmpty(index, value);
  ++dataRevision_;
  extentsValid_ = false;
  DoChange();
}

double TiPlotChannelCustom::MarkerExtent(int index, bool xAxis, double sign) {
  if (list_->GetNull(index)) throw EiError(QStringLiteral("Data Point Null"));
  const double value = xAxis ? list_->GetX(index) : list_->GetY(index);
  if (!MarkersVisible()) return value;
  TiPlotAxis* axis = xAxis ? XAxis() : YAxis();
  if (!axis) throw EiError(xAxis ? QStringLiteral("X-Axis not assigned") : QStringLiteral("Y-Axis not assigned"));
  const double m = std::fabs(axis->PositionToValue(axis->PositionOfMin() + MarkersSize()) - axis->Min());
  return value + sign * m;
}

double TiPlotChannelCustom::GetXPlusMarker(int index) { return MarkerExtent(index, true, 1.0); }
double TiPlotChannelCustom::GetXMinusMarker(int index) { return MarkerExtent(index, true, -1.0); }
double TiPlotChannelCustom::GetYPlusMarker(int index) { return MarkerExtent(index, false, 1.0); }
double TiPlotChannelCustom::GetYMinusMarker(int index) { return MarkerExtent(index, false, -1.0); }

// ---------------------------------------------------------------------------------------------
// Statistics and extents

void TiPlotChannelCustom::ResetStatistics() {
  statCount_ = 0;
  xMin_ = yMin_ = 1e300;
  xMax_ = yMax_ = -1e300;
  xSum_ = {};
  ySum_ = {};
}

void TiPlotChannelCustom::RecalculateStatistics() {
  ResetStatistics();
  VisitDataList(*list_, [&](const auto& points) {
    points.ForEachPoint(0, points.Count() - 1, [&](int, TiPlotPoint p) {
      if (!p.Null && !p.Empty && std::isfinite(p.X) && std::isfinite(p.Y)) AddToStatistics(p.X, p.Y);
    });
  });
}

void TiPlotChannelCustom::RecalculateExtents() {
  extXMin_ = extYMin_ = 1e300;
  extXMax_ = extYMax_ = -1e300;
  extentsValid_ = true;
  VisitDataList(*list_, [&](const auto& points) {
    points.ForEachPoint(0, points.Count() - 1, [&](int, TiPlotPoint p) {
      if (!p.Null && !p.Empty && std::isfinite(p.X) && std::isfinite(p.Y)) WidenExtents(p.X, p.Y);
    });
  });
}

double TiPlotChannelCustom::GetXMaxExtent() {
  if (!extentsValid_) RecalculateExtents();
  return extXMax_;
}
double TiPlotChannelCustom::GetXMinExtent() {
  if (!extentsValid_) RecalculateExtents();
  return extXMin_;
}
double TiPlotChannelCustom::GetYMaxExtent() {
  if (!extentsValid_) RecalculateExtents();
  return extYMax_;
}
double TiPlotChannelCustom::GetYMinExtent() {
  if (!extentsValid_) RecalculateExtents();
  return extYMin_;
}

// ---------------------------------------------------------------------------------------------
// Data file

QChar TiPlotChannelCustom::SeparatorChar() const {
  const auto* chart = dynamic_cast<const TiPlotComponent*>(Owner());
  return chart ? chart->DataFileColumnSeparatorChar() : QLatin1Char('\t');
}

void TiPlotChannelCustom::SaveDataToFile(const QString& fileName) {
  const char separator = static_cast<char>(SeparatorChar().unicode());
  // Written beside the old file and streamed, so that a failure leaves the old file and a large
  // channel is never held as text in memory.
  TReplacingFile file(fileName);
  for (int i = 0; i < Count(); ++i) {
    double x, y;
    bool empty, null;
    list_->GetData(i, x, y, empty, null);
    // Empty points are gaps; a coordinate that is not finite could not be read back.
    if (empty || !Finite(null, false, x, y)) continue;
    char* start = file.Reserve(2 * kDataNumberMaxChars + 8);
    char* out = WriteDataNumber(start, x);
    *out++ = separator;
    if (null) {
      std::memcpy(out, "Null", 4);
      out += 4;
    } else {
      out = WriteDataNumber(out, y);
    }
    *out++ = '\r';
    *out++ = '\n';
    file.Advance(static_cast<std::size_t>(out - start));
  }
  file.Commit();
}

void TiPlotChannelCustom::LoadDataFromFile(const QString& fileName, bool clearFirst) {
  if (loggingActive_) LogDeactivate();
  const QStringList lines = ReadTextLines(fileName);
  if (clearFirst) Clear();
  if (lines.isEmpty()) return;
  loadedSeparator_ = lines.first().contains(QLatin1Char('\t')) ? QLatin1Char('\t') : QLatin1Char(',');
  for (const QString& line : lines) {
    const int at = line.indexOf(loadedSeparator_);
    if (at < 0) continue;
    const QString xText = line.left(at).trimmed();
    if (xText.isEmpty()) continue;
    const QString yText = line.mid(at + 1).trimmed();
    const double x = ParseDataNumber(xText);
    if (yText.compare(QStringLiteral("Null"), Qt::CaseInsensitive) == 0) AddDataPoint(true, false, x, 0.0);
    else AddDataPoint(false, false, x, ParseDataNumber(yText));
  }
}

// ---------------------------------------------------------------------------------------------
// Log file

void TiPlotChannelCustom::SetLogFileName(const QString& value) {
  if (value == logFileName_) return;
  if (loggingActive_) {
    const QString text = QStringLiteral("Log File Name can not be changed while logging is active.");
    throw EiError(Owner() ? Owner()->Translate(text) : text);
  }
  logFileName_ = value;
  DoChange();
}

void TiPlotChannelCustom::LogActivate(bool append) {
  if (logFileName_.trimmed().isEmpty()) throw EiError(QStringLiteral("Log File Name not Defined"));
  if (loggingActive_) throw EiError(QStringLiteral("Logging Already Active"));
  TTextFile file(logFileName_);
  if (append) {
    // Appending continues a log that exists.
    if (!QFileInfo(logFileName_).isFile()) throw EInOutError(QStringLiteral("Cannot open file \"%1\": No such file or directory").arg(logFileName_), ENOENT);
    file.Append();
  } else {
    file.Rewrite();
  }
  file.Close();
  loggingActive_ = true;
  logCount_ = 0;
}

void TiPlotChannelCustom::LogDeactivate() {
  if (!loggingActive_) throw EiError(QStringLiteral("Logging not Active"));
  loggingActive_ = false;
  if (logCount_ > 0) LogFlush();
}

void TiPlotChannelCustom::LogFlush() {
  // Points a ring or DeleteFirst dropped since the last write are gone: start at the oldest left.
  const int first = std::max(0, Count() - logCount_);
  const QChar separator = SeparatorChar();
  try {
    TTextFile file(logFileName_);
    file.Append();
    for (int i = first; i < Count(); ++i) {
      double x, y;
      bool empty, null;
      list_->GetData(i, x, y, empty, null);
      // As in the data file, a coordinate that is not finite is left out: "NAN" and "INF"
      // could not be read back.
      if (!std::isfinite(x) || !std::isfinite(y)) continue;
      file.WriteLine((FloatToStr(x) + separator + FloatToStr(y)).left(255));
    }
    file.Close();
  } catch (...) {
    loggingActive_ = false;
    logCount_ = 0;
    throw;
  }
  logCount_ = 0;
}

// ---------------------------------------------------------------------------------------------
// Property file

void TiPlotChannelCustom::SavePropertiesToFile(const QString& fileName) {
  try {
    QStringList lines{QStringLiteral("File Type = Plot Channel Config")};
    WriteProperties(*this, QStringLiteral("Channel"), lines, {QStringLiteral("Channel.Name")});
    WriteTextLines(fileName, lines);
  } catch (const std::exception& e) {
    throw EiError(QStringLiteral("Error Saving Properties - ") + ErrorMessage(e));
  }
}

void TiPlotChannelCustom::LoadPropertiesFromFile(const QString& fileName) {
  try {
    QStringList lines = ReadTextLines(fileName);
    // The file type comes first; nothing is applied from a file of another kind.
    bool compatible = false;
    while (!lines.isEmpty()) {
      const QString line = lines.takeFirst();
      const int at = line.indexOf(QLatin1Char('='));
      if (at < 0 || line.left(at).trimmed().compare(QStringLiteral("File Type"), Qt::CaseInsensitive) != 0) continue;
      compatible = line.mid(at + 1).trimmed().compare(QStringLiteral("Plot Channel Config"), Qt::CaseInsensitive) == 0;
      break;
    }
    if (!compatible) throw EiError(QStringLiteral("Incompatible Plot Channel Configuration File Type"));
    // The Name of another channel is not taken over.
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [](const QString& l) {
                                 return l.section(QLatin1Char('='), 0, 0).trimmed().compare(QStringLiteral("Channel.Name"),
                                                                                           Qt::CaseInsensitive) == 0;
                               }),
                lines.end());
    ReadProperties(*this, QStringLiteral("Channel"), lines);
  } catch (const std::exception& e) {
    throw EiError(QStringLiteral("Error Loading Properties - ") + ErrorMessage(e));
  }
}

bool TiPlotChannelCustom::PopupAnchorRect(TRect& rect) const {
  rect = legendRect_;
  return true;
}
