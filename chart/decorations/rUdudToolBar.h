#pragma once
// The chart toolbar and its buttons.
#include <QString>
#include <array>
#include <vector>

#include "chart/core/rUdudObjects.h"
#include "platform/ImageList.h"

class TiPlotComponent;
class TiPlotToolBar;

// The toolbar's buttons by the number the toolbar events carry.
enum TiPlotToolBarButtonType : int {
  iptbbtResume, iptbbtPause, iptbbtScroll, iptbbtZoom, iptbbtSelect, iptbbtZoomBox, iptbbtZoomOut,
  iptbbtZoomIn, iptbbtCursor, iptbbtEdit, iptbbtCopy, iptbbtSave, iptbbtPrint, iptbbtPreview
};
inline constexpr int kToolBarButtonCount = iptbbtPreview + 1;

// One place on the toolbar's strip: a picture button, or a separator (a gap that shows while a
// button of the group before it shows). The buttons belong to their toolbar and never announce
// themselves to the chart: the toolbar hands them out from GetObjectAt.
class TiPlotToolBarButton : public TiPlotButton {
 public:
  // A picture button.
  TiPlotToolBarButton(TiPlotToolBar& toolBar, TiPlotToolBarButtonType type, const QString& hint, const QString& glyphName,
                      const QString& smallGlyphName, int group);
  // A separator after the buttons `after`.
  TiPlotToolBarButton(TiPlotToolBar& toolBar, std::vector<TiPlotToolBarButton*> after);
  // A button of no toolbar (it draws a plain face).
  TiPlotToolBarButton(TiPlotOwner* owner, const TiPlotHandlers& handlers);

  void DoMouseHover(const TiPlotMouseParams& params) override;   // 18
  void DoMouseLeave() override;                                   // 27

  bool IsSeparator() const { return separator_; }
  // The button's number; -1 for a separator.
  int ButtonType() const { return type_; }
  const QString& Hint() const { return hint_; }
  // The picture in use (large or small set) and the two names.
  const QString& GlyphName() const { return glyphName_; }
  const QString& LargeGlyphName() const { return largeGlyphName_; }
  const QString& SmallGlyphName() const { return smallGlyphName_; }
  // Between press and release.
  bool Pressed() const { return MouseIsDown(); }
  // The mouse is over it.
  bool Hover() const { return hover_; }
  // Its index in the toolbar's picture list; -1 until the toolbar loads it.
  int GlyphIndex() const { return glyphIndex_; }

  // Draws the face and the glyph (a separator draws nothing).
  void Draw(TCanvas* canvas, TColor backgroundColor) override;

 private:
  friend class TiPlotToolBar;
  TiPlotToolBar* toolBar_ = nullptr;
  int type_ = -1;
  QString hint_;
  QString glyphName_;
  QString largeGlyphName_;
  QString smallGlyphName_;
  bool separator_ = false;
  bool hover_ = false;
  int glyphIndex_ = -1;
  std::vector<TiPlotToolBarButton*> after_;
};

class TiPlotToolBar : public TiPlotLayoutObject {
  TI_PERSISTENT
 public:
  TiPlotToolBar(TiPlotOwner* owner, const TiPlotHandlers& handlers);
  ~TiPlotToolBar() override;

  // --- Overrides, in slot order. ---
  void Draw(TCanvas* canvas, TColor backgroundColor) override;   // 12
  TiPlotObject* GetObjectAt(int x, int y) override;               // 28
  int RequiredSize(TCanvas* canvas) override;                      // 36
  int RequiredEndMargin(TCanvas* canvas) override;                 // 37

  // The Select button's latched state, which is the chart's select mode, and its command
  // (toggle the button and run its follow-up).
  virtual bool SelectButtonDown() const;
  virtual void SelectCommand();
  // The Zoom Box button's latched state: the data view then drags zoom boxes.
  virtual bool ZoomBoxButtonDown() const;

  // It sits at the chart's top edge, and runs across the whole chart inside the bevel.
  bool PinnedToTopEdge() const override { return true; }
  void PlaceAlongSide(const TiPlotLayoutFrame& frame) override;

  // --- Buttons. ---
  // The button of a number (0 .. 13); "Index out of Bounds" otherwise.
  TiPlotToolBarButton* Button(int type) const;
  // The strip in its order: buttons and separators.
  const std::vector<TiPlotToolBarButton*>& Strip() const { return strip_; }
  // Runs a button's command as a click does: the before-event (which may cancel), the command,
  // the after-event.
  void ClickButton(TiPlotToolBarButtonType type);
  // Places the visible buttons in the layout rectangle, refreshes separators and the enabled
  // states of Resume and Pause (each draw does this first).
  void LayoutButtons();
  // The picture list the glyphs are loaded into (24 or 16 pixels square).
  const TImageList& Glyphs() const { return glyphs_; }

  // --- Published properties. ---
  bool ShowResumeButton() const;
  void SetShowResumeButton(bool value);
  bool ShowPauseButton() const;
  void SetShowPauseButton(bool value);
  bool ShowAxesModeButtons() const;
  void SetShowAxesModeButtons(bool value);
  bool ShowZoomInOutButtons() const;
  void SetShowZoomInOutButtons(bool value);
  bool ShowSelectButton() const;
  void SetShowSelectButton(bool value);
  bool ShowZoomBoxButton() const;
  void SetShowZoomBoxButton(bool value);
  bool ShowCursorButton() const;
  void SetShowCursorButton(bool value);
  bool ShowEditButton() const;
  void SetShowEditButton(bool value);
  bool ShowCopyButton() const;
  void SetShowCopyButton(bool value);
  bool ShowSaveButton() const;
  void SetShowSaveButton(bool value);
  bool ShowPrintButton() const;
  void SetShowPrintButton(bool value);
  bool ShowPreviewButton() const;
  void SetShowPreviewButton(bool value);
  // Span factor of one zoom step: at least 1 (below, and NaN, give 1) and at most
  // kMaxZoomInOutFactor, so a zoom step never reaches 0 or infinity.
  double ZoomInOutFactor() const { return zoomInOutFactor_; }
  void SetZoomInOutFactor(double value);
  static constexpr double kMaxZoomInOutFactor = 1000.0;
  bool FlatButtons() const { return flatButtons_; }
  void SetFlatButtons(bool value);
  bool FlatBorder() const { return flatBorder_; }
  void SetFlatBorder(bool value);
  bool SmallButtons() const { return smallButtons_; }
  void SetSmallButtons(bool value);

  // Button size and separator width in pixels.
  int ButtonSize() const { return smallButtons_ ? 22 : 30; }
  static constexpr int kSeparatorWidth = 10;

 private:
  friend class TiPlotToolBarButton;
  TiPlotComponent* Chart() const;
  bool ShowOf(std::initializer_list<int> types) const;
  void SetShowOf(std::initializer_list<int> types, bool value);
  // The commands, without their events.
  void RunCommand(TiPlotToolBarButtonType type);
  void ResumeCommand();
  void PauseCommand();
  void AxesModeCommand(bool zoom);
  void ZoomInOutCommand(bool in);
  void ZoomBoxCommand();
  void CursorCommand();
  bool OutputCommand(TiPlotToolBarButtonType type);
  // A command with its two events; false when the before-event cancelled it.
  bool RunWithEvents(TiPlotToolBarButtonType type);
  // The follow-ups when the Down of Select or Cursor changes.
  void SelectDownChanged();
  void CursorDownChanged();
  void RefreshEnabledStates();
  void LoadGlyphs();

  std::vector<TiPlotPtr<TiPlotToolBarButton>> owned_;
  std::vector<TiPlotToolBarButton*> strip_;
  std::array<TiPlotToolBarButton*, kToolBarButtonCount> buttons_{};
  TImageList glyphs_{24, 24};
  double zoomInOutFactor_ = 2.0;
  bool flatButtons_ = false;
  bool flatBorder_ = false;
  bool smallButtons_ = false;
};
