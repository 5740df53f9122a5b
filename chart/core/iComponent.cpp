#include "chart/core/iComponent.h"

#include <QCursor>
#include <climits>

#include "chart/core/iErrors.h"

// ---- size constraints ----

const TiClassInfo& TiSizeConstraints::StaticClassInfo() {
  using C = TiSizeConstraints;
  static const TiClassInfo info = TiClassBuilder<C>(QStringLiteral("TSizeConstraints"), &TiPersistent::StaticClassInfo())
                                      .Integer(QStringLiteral("MaxHeight"), &C::MaxHeight, &C::SetMaxHeight, 0)
                                      .Integer(QStringLiteral("MaxWidth"), &C::MaxWidth, &C::SetMaxWidth, 0)
                                      .Integer(QStringLiteral("MinHeight"), &C::MinHeight, &C::SetMinHeight, 0)
                                      .Integer(QStringLiteral("MinWidth"), &C::MinWidth, &C::SetMinWidth, 0)
                                      .Build();
  return info;
}

// Limits are sizes on the chart and are held to its drawable range (a minimum is taken at once).
void TiSizeConstraints::SetMaxHeight(int value) {
  maxHeight_ = ClampCoordinate(value, 0);
  Apply();
}
void TiSizeConstraints::SetMaxWidth(int value) {
  maxWidth_ = ClampCoordinate(value, 0);
  Apply();
}
void TiSizeConstraints::SetMinHeight(int value) {
  minHeight_ = ClampCoordinate(value, 0);
  Apply();
}
void TiSizeConstraints::SetMinWidth(int value) {
  minWidth_ = ClampCoordinate(value, 0);
  Apply();
}

void TiSizeConstraints::Apply() {
  if (!control_) return;
  control_->setMinimumSize(minWidth_, minHeight_);
  control_->setMaximumSize(maxWidth_ > 0 ? maxWidth_ : iMaxCoordinate, maxHeight_ > 0 ? maxHeight_ : iMaxCoordinate);
}

// ---- component ----

const TiClassInfo& TiComponent::StaticClassInfo() {
  using C = TiComponent;
  static const TiClassInfo info =
      TiClassBuilder<C>(QStringLiteral("TiComponent"), &TiPersistent::StaticClassInfo())
          .String(QStringLiteral("Name"), &C::Name, &C::SetName)
          .Integer(QStringLiteral("Tag"), &C::Tag, &C::SetTag, 0)
          .Integer(QStringLiteral("Left"), &C::Left, &C::SetLeft)
          .Integer(QStringLiteral("Top"), &C::Top, &C::SetTop)
          .Integer(QStringLiteral("Width"), &C::Width, &C::SetWidth)
          .Integer(QStringLiteral("Height"), &C::Height, &C::SetHeight)
          .Integer(QStringLiteral("Cursor"), &C::Cursor, &C::SetCursor, crDefault)
          .String(QStringLiteral("Hint"), &C::Hint, &C::SetHint)
          .Object(QStringLiteral("Constraints"), &C::Constraints)
          .Boolean(QStringLiteral("Enabled"), &C::Enabled, &C::SetEnabled, true)
          .Boolean(QStringLiteral("ShowHint"), &C::ShowHint, &C::SetShowHint, false)
          .Boolean(QStringLiteral("Visible"), &C::Visible, &C::SetVisible, true)
          .Color(QStringLiteral("BackGroundColor"), &C::BackGroundColor, &C::SetBackGroundColor, clBtnFace)
          .Enumeration<TiBevelStyle>(QStringLiteral("BorderStyle"), &C::BorderStyle, &C::SetBorderStyle, ibsNone,
                                     {QStringLiteral("ibsNone"), QStringLiteral("ibsRaised"), QStringLiteral("ibsLowered")})
          .Integer(QStringLiteral("UpdateFrameRate"), &C::UpdateFrameRate, &C::SetUpdateFrameRate, 60)
          .Boolean(QStringLiteral("AutoFrameRate"), &C::AutoFrameRate, &C::SetAutoFrameRate, false)
          .Boolean(QStringLiteral("OptionSaveAllProperties"), &C::OptionSaveAllProperties, &C::SetOptionSaveAllProperties, false)
          .Build();
  return info;
}

TiComponent::TiComponent(QWidget* parent) : QWidget(parent) {
  // Every paint makes a bitmap of the client size; a control larger than the chart can draw
  // would only cost memory. The platform's own resizes are held to the same range.
  setMaximumSize(iMaxCoordinate, iMaxCoordinate);
}

TiComponent::~TiComponent() = default;

void TiComponent::SetBackGroundColor(TColor value) {
  if (backGroundColor_ == value) return;
  backGroundColor_ = value;
  BackGroundChange();
}

void TiComponent::SetBorderStyle(TiBevelStyle value) {
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  BackGroundChange();
}

void TiComponent::SetUpdateFrameRate(int value) {
  if (value < 0) value = 0;
  if (updateFrameRate_ == value) return;
  updateFrameRate_ = value;
  BackGroundChange();
}

void TiComponent::SetAutoFrameRate(bool value) {
  if (autoFrameRate_ == value) return;
  autoFrameRate_ = value;
  if (value)
    BackGroundChange();
  else
    EndUpdate();
}

void TiComponent::SetCursor(TCursor value) {
  cursor_ = value;
  setCursor(QCursor(CursorShapeOf(value)));
}

void TiComponent::SetHint(const QString& value) {
  hint_ = value;
  setToolTip(showHint_ ? hint_ : QString());
}

void TiComponent::SetShowHint(bool value) {
  showHint_ = value;
  setToolTip(showHint_ ? hint_ : QString());
}

void TiComponent::SetEnabled(bool value) {
  if (enabled_ == value) return;
  enabled_ = value;
  setEnabled(value);
  BackGroundChange();
}

void TiComponent::SetVisible(bool value) {
  if (visible_ == value) return;
  visible_ = value;
  setVisible(value);
}

// ---- repaint ----

void TiComponent::RequestRepaint() {
  ++repaintRequests_;
  update();
}

void TiComponent::InvalidateNow() {
  changePending_ = false;
  backGroundChangePending_ = false;
  lastInvalidateTime_ = Now();
  RequestRepaint();
}

void TiComponent::InvalidateChecked() {
  if (autoFrameRate_ && updateFrameRate_ != 0 && Now() <= lastInvalidateTime_ + 1.0 / (updateFrameRate_ * 86400.0)) return;
  InvalidateNow();
}

void TiComponent::InvalidateChange() {
  if (updating_) {
    changePending_ = true;
  } else if (autoFrameRate_) {
    changePending_ = true;
    InvalidateChecked();
  } else {
    InvalidateNow();
  }
}

void TiComponent::BackGroundChange() {
  backGroundChanged_ = true;
  if (updating_) {
    backGroundChangePending_ = true;
  } else if (autoFrameRate_) {
    backGroundChangePending_ = true;
    InvalidateChecked();
  } else {
    InvalidateNow();
  }
}

void TiComponent::BeginUpdate() { updating_ = true; }

void TiComponent::EndUpdate() {
  updating_ = false;
  if (changePending_ || backGroundChangePending_) InvalidateChecked();
}

// ---- background and border ----

void TiComponent::DrawBackGround(TCanvas& canvas, TColor color) {
  backGroundChanged_ = false;
  canvas.Brush().Style = bsSolid;
  canvas.Brush().Color = color;
  canvas.FillRect(Rect(0, 0, Width(), Height()));
  DrawBorder(canvas);
}

void TiComponent::DrawBorder(TCanvas& canvas) {
  const TRect r = Rect(0, 0, Width(), Height());
  switch (borderStyle_) {
    case ibsRaised: DrawBevel(canvas, r, 1); break;
    case ibsLowered: DrawBevel(canvas, r, 0); break;
    case ibsNone: break;
  }
}

// ---- focus hooks ----

void TiComponent::DoGotFocus() {
  hasFocus_ = true;
  RequestRepaint();
}

void TiComponent::DoLostFocus() {
  hasFocus_ = false;
  DoMouseUp(mbLeft, 0, 0, 0);
  RequestRepaint();
}

// ---- property files ----

QStringList TiComponent::PropertyFileExclusions() const {
  QStringList exclusions{QStringLiteral("Name")};
  if (!optionSaveAllProperties_)
    exclusions << QStringLiteral("Left") << QStringLiteral("Top") << QStringLiteral("Width") << QStringLiteral("Height")
               << QStringLiteral("Align") << QStringLiteral("Cursor") << QStringLiteral("ShowHint") << QStringLiteral("Tag")
               << QStringLiteral("Visible") << QStringLiteral("Enabled") << QStringLiteral("Hint") << QStringLiteral("HelpContext");
  return exclusions;
}

void TiComponent::SavePropertiesToFile(const QString& fileName) {
  try {
    QStringList lines{QStringLiteral("File Type = ") + ClassName()};
    WriteProperties(*this, QString(), lines, PropertyFileExclusions());
    WriteTextLines(fileName, lines);
  } catch (const std::exception& e) {
    throw EiError(QStringLiteral("Error Saving Properties - ") + ErrorMessage(e));
  }
}

void TiComponent::LoadPropertiesFromFile(const QString& fileName) {
  try {
    QStringList lines = ReadTextLines(fileName);
    BeginUpdate();
    try {
      ReadProperties(*this, QString(), lines);
    } catch (...) {
      // The suspension ends also after a failure, so the control does not stay frozen.
      EndUpdate();
      throw;
    }
    EndUpdate();
  } catch (const std::exception& e) {
    throw EiError(QStringLiteral("Error Loading Properties - ") + ErrorMessage(e));
  }
}
