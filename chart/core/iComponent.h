#pragma once
// TiComponent: a custom-drawn windowed control. It owns the repaint policy (immediate requests,
// change requests held back during update suspension and by a frame-rate limit), the background
// and border, the input hooks that subclasses override, and the property files.
#include <QWidget>
#include <functional>

#include "chart/core/iGPFunctions.h"
#include "chart/core/iPersistent.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Input.h"

class TPopupMenu;

// Minimum and maximum size of a control; 0 means no limit.
class TiSizeConstraints : public TiPersistent {
  TI_PERSISTENT
 public:
  explicit TiSizeConstraints(QWidget* control) : control_(control) {}
  int MaxHeight() const { return maxHeight_; }
  void SetMaxHeight(int value);
  int MaxWidth() const { return maxWidth_; }
  void SetMaxWidth(int value);
  int MinHeight() const { return minHeight_; }
  void SetMinHeight(int value);
  int MinWidth() const { return minWidth_; }
  void SetMinWidth(int value);

 private:
  void Apply();
  QWidget* control_;
  int maxHeight_ = 0, maxWidth_ = 0, minHeight_ = 0, minWidth_ = 0;
};

class TiComponent : public QWidget, public TiPersistent {
  Q_OBJECT
  TI_PERSISTENT
 public:
  explicit TiComponent(QWidget* parent = nullptr);
  ~TiComponent() override;

  // ---- published properties of this layer ----
  TColor BackGroundColor() const { return backGroundColor_; }
  virtual void SetBackGroundColor(TColor value);
  TiBevelStyle BorderStyle() const { return borderStyle_; }
  virtual void SetBorderStyle(TiBevelStyle value);
  int UpdateFrameRate() const { return updateFrameRate_; }
  void SetUpdateFrameRate(int value);  // negative values count as 0 (no limit)
  bool AutoFrameRate() const { return autoFrameRate_; }
  void SetAutoFrameRate(bool value);
  bool OptionSaveAllProperties() const { return optionSaveAllProperties_; }
  void SetOptionSaveAllProperties(bool value) { optionSaveAllProperties_ = value; }

  // ---- general control properties ----
  QString Name() const { return objectName(); }
  void SetName(const QString& value) { setObjectName(value); }
  int Tag() const { return tag_; }
  void SetTag(int value) { tag_ = value; }
  // Placement and size, kept within the drawable range (see iMaxCoordinate).
  int Left() const { return x(); }
  void SetLeft(int value) { move(ClampCoordinate(value), y()); }
  int Top() const { return y(); }
  void SetTop(int value) { move(x(), ClampCoordinate(value)); }
  int Width() const { return width(); }
  void SetWidth(int value) { resize(ClampCoordinate(value, 0), height()); }
  int Height() const { return height(); }
  void SetHeight(int value) { resize(width(), ClampCoordinate(value, 0)); }
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);
  QString Hint() const { return hint_; }
  void SetHint(const QString& value);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  TiSizeConstraints* Constraints() { return &constraints_; }
  // The control's own popup menu, assigned by the program that holds it; not owned.
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* value) { popupMenu_ = value; }

  // ---- events of the platform ----
  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  std::function<void(TMouseButton, TShiftState, int, int)> OnMouseDown;
  std::function<void(TShiftState, int, int)> OnMouseMove;
  std::function<void(TMouseButton, TShiftState, int, int)> OnMouseUp;
  std::function<void(int& key, TShiftState)> OnKeyDown;
  std::function<void(QChar& key)> OnKeyPress;
  std::function<void(int& key, TShiftState)> OnKeyUp;
  std::function<void()> OnEnter;
  std::function<void()> OnExit;

  // ---- repaint requests ----
  // Repaints now: clears both pending flags, notes the time and asks the platform for a paint.
  void InvalidateNow();
  // After a content change: held back during update suspension and by the frame-rate limit.
  void InvalidateChange();
  // After a change of the background, size or border.
  void BackGroundChange();
  virtual void BeginUpdate();
  virtual void EndUpdate();
  // True while the control is being read from its stored definition.
  bool IsLoading() const { return loading_; }
  void SetLoading(bool value) { loading_ = value; }

  // The repaint state.
  double LastInvalidateTime() const { return lastInvalidateTime_; }
  bool Updating() const { return updating_; }
  bool ChangePending() const { return changePending_; }
  bool BackGroundChangePending() const { return backGroundChangePending_; }
  bool BackGroundChanged() const { return backGroundChanged_; }
  bool HasFocus() const { return hasFocus_; }

  virtual void DrawBackGround(TCanvas& canvas, TColor color);
  virtual void DrawBorder(TCanvas& canvas);

  virtual bool TimerRunning() const = 0;
  virtual void StartTimer(int firstDelay, int interval) = 0;
  virtual void StopTimer() = 0;

  // Draws the control's whole picture; painting, printing and picture export all call it.
  virtual void DoPaint(TCanvas& canvas) = 0;

  // A text file: "File Type = " and the class name, then the published properties. Failures
  // are raised as EiError with the prefix "Error Saving Properties - " or
  // "Error Loading Properties - ".
  virtual void SavePropertiesToFile(const QString& fileName);
  virtual void LoadPropertiesFromFile(const QString& fileName);
  // Names left out of property files: Name always, the placement and general control
  // properties unless OptionSaveAllProperties is set.
  virtual QStringList PropertyFileExclusions() const;

  // ---- input hooks, empty at this layer except the focus hooks ----
  virtual void DoGotFocus();
  virtual void DoLostFocus();
  virtual void DoWantSpecialKey(int& key, bool& result) {}
  virtual void DoKeyUp(int& key, TShiftState shift) {}
  virtual void DoKeyDown(int& key, TShiftState shift) {}
  virtual void DoKeyPress(QChar& key) {}
  virtual void DoMouseDown(TMouseButton button, TShiftState shift, int x, int y) {}
  virtual void DoMouseUp(TMouseButton button, TShiftState shift, int x, int y) {}
  virtual void DoMouseMove(TShiftState shift, int x, int y) {}
  virtual void DoDblClick() {}
  virtual bool DoMouseWheel(int wheelDelta, TShiftState shift, QPoint mousePos) { return false; }

  // How many times the platform was asked to repaint.
  int RepaintRequests() const { return repaintRequests_; }

 protected:
  // The platform's repaint request for the whole window.
  virtual void RequestRepaint();
  void SetHasFocus(bool value) { hasFocus_ = value; }

 private:
  void InvalidateChecked();

  TColor backGroundColor_ = clBtnFace;
  TiBevelStyle borderStyle_ = ibsNone;
  int updateFrameRate_ = 60;
  bool autoFrameRate_ = false;
  bool optionSaveAllProperties_ = false;

  int tag_ = 0;
  TCursor cursor_ = crDefault;
  QString hint_;
  bool showHint_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  TiSizeConstraints constraints_{this};
  TPopupMenu* popupMenu_ = nullptr;

  // Repaint state, in this order.
  double lastInvalidateTime_ = 0.0;
  bool updating_ = false;
  bool changePending_ = false;
  bool backGroundChangePending_ = false;
  bool backGroundChanged_ = true;
  bool hasFocus_ = false;

  bool loading_ = false;
  int repaintRequests_ = 0;
};
