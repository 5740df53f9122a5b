#include "chart/decorations/rUdudToolBar.h"

#include <cmath>

#include "chart/core/iErrors.h"
#include "chart/core/iGPFunctions.h"
#include "chart/core/rUdudComponent.h"
#include "chart/decorations/rUdudToolBarGlyphs.h"
#include "chart/output/rUdudRenderer.h"
#include "platform/Dialogs.h"

namespace {

// The face of a button that is pressed or latched down.
constexpr TColor kDownFace = RGB(239, 239, 239);
// The gap between the toolbar's edge and its first button, across and along.
constexpr int kInset = 3;

// The platform's three-dimensional frame: top and left in one colour, right and bottom in the
// other, one pixel wide, inside the rectangle (right and bottom exclusive).
void Frame3D(TCanvas& canvas, const TRect& r, TColor topLeft, TColor bottomRight) {
  const int right = r.Right - 1;
  const int bottom = r.Bottom - 1;
  canvas.Pen() = TPen{topLeft, psSolid, 1, pmCopy};
  const TPoint upper[] = {{r.Left, bottom}, {r.Left, r.Top}, {right, r.Top}};
  canvas.Polyline(upper, 3);
  canvas.Pen() = TPen{bottomRight, psSolid, 1, pmCopy};
  const TPoint lower[] = {{right, r.Top}, {right, bottom}, {r.Left - 1, bottom}};
  canvas.Polyline(lower, 3);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TiPlotToolBarButton

TiPlotToolBarButton::TiPlotToolBarButton(TiPlotToolBar& toolBar, TiPlotToolBarButtonType type, const QString& hint,
                                         const QString& glyphName, const QString& smallGlyphName, int group)
    : TiPlotButton(toolBar.Owner(), TiPlotHandlers()),
      toolBar_(&toolBar),
      type_(type),
      hint_(hint),
      glyphName_(glyphName),
      largeGlyphName_(glyphName),
      smallGlyphName_(smallGlyphName) {
  SetGroupIndex(group);
  SetName(QStringLiteral("PlotToolBarButton") + QString::number(type));
}

TiPlotToolBarButton::TiPlotToolBarButton(TiPlotToolBar& toolBar, std::vector<TiPlotToolBarButton*> after)
    : TiPlotButton(toolBar.Owner(), TiPlotHandlers()), toolBar_(&toolBar), separator_(true), after_(std::move(after)) {
  SetName(QStringLiteral("PlotToolBarSeparator"));
}

TiPlotToolBarButton::TiPlotToolBarButton(TiPlotOwner* owner, const TiPlotHandlers& handlers) : TiPlotButton(owner, handlers) {}

void TiPlotToolBarButton::DoMouseHover(const TiPlotMouseParams& params) {
  TiPlotButton::DoMouseHover(params);
  if (!toolBar_) return;
  if (!hover_) {
    hover_ = true;
    if (toolBar_->FlatButtons()) toolBar_->DoChange();
  }
  if (separator_ || !params.Hint) return;
  const TRect r = GetButtonRect();
  params.Hint->Text = Translate(hint_);
  params.Hint->X = r.Left;
  params.Hint->Y = r.Bottom + 3;
  if (TiPlotComponent* chart = toolBar_->Chart())
    chart->DispatchObjectEvent<TiPlotObjectCustomizeTextEvent>(toolBar_, {{ipokToolBar, &chart->OnToolBarCustomizeHint}},
                                                               params.Hint->Text);
}

void TiPlotToolBarButton::DoMouseLeave() {
  TiPlotButton::DoMouseLeave();
  if (!hover_ || !toolBar_) return;
  hover_ = false;
  if (toolBar_->FlatButtons()) toolBar_->DoChange();
}

void TiPlotToolBarButton::Draw(TCanvas* canvas, TColor) {
  if (!canvas || separator_ || !Visible()) return;
  const TRect r = GetButtonRect();
  if (!toolBar_) {
    DrawBevel(*canvas, r, Pressed() || Down() ? 0 : 1);
    return;
  }
  const bool active = Pressed() || Down();
  const bool enabled = Enabled();
  if (!toolBar_->FlatButtons()) {
    if (active) {
      canvas->Brush() = TBrush{kDownFace, bsSolid};
      canvas->FillRect(r);
      DrawBevel(*canvas, r, 0);
    } else {
      DrawBevel(*canvas, r, 1);
    }
  } else {
    if (active && !hover_) {
      canvas->Brush() = TBrush{kDownFace, bsSolid};
      canvas->FillRect(r);
    }
    const TRect inner = Rect(r.Left, r.Top, r.Right - 1, r.Bottom - 1);
    if (enabled && active)
      Frame3D(*canvas, inner, clBtnShadow, clBtnHighlight);
    else if (enabled && hover_)
      Frame3D(*canvas, inner, clBtnHighlight, clBtnShadow);
  }
  const TImageList& glyphs = toolBar_->Glyphs();
  const int shift = active ? 1 : 0;
  const int x = r.Left + (ButtonWidth() - glyphs.Width()) / 2 + shift;
  const int y = r.Top + (ButtonHeight() - glyphs.Height()) / 2 + shift;
  glyphs.Draw(*canvas, x, y, glyphIndex_, enabled);
}

// ---------------------------------------------------------------------------------------------
// TiPlotToolBar

const TiClassInfo& TiPlotToolBar::StaticClassInfo() {
  using C = TiPlotToolBar;
  static const TiClassInfo info =
      TiClassBuilder<C>(QStringLiteral("TiPlotToolBar"), &TiPlotLayoutObject::StaticClassInfo())
          .Boolean(QStringLiteral("ShowResumeButton"), &C::ShowResumeButton, &C::SetShowResumeButton, true)
          .Boolean(QStringLiteral("ShowPauseButton"), &C::ShowPauseButton, &C::SetShowPauseButton, true)
          .Boolean(QStringLiteral("ShowAxesModeButtons"), &C::ShowAxesModeButtons, &C::SetShowAxesModeButtons, true)
          .Boolean(QStringLiteral("ShowZoomInOutButtons"), &C::ShowZoomInOutButtons, &C::SetShowZoomInOutButtons, true)
          .Boolean(QStringLiteral("ShowSelectButton"), &C::ShowSelectButton, &C::SetShowSelectButton, false)
          .Boolean(QStringLiteral("ShowZoomBoxButton"), &C::ShowZoomBoxButton, &C::SetShowZoomBoxButton, true)
          .Boolean(QStringLiteral("ShowCursorButton"), &C::ShowCursorButton, &C::SetShowCursorButton, true)
          .Boolean(QStringLiteral("ShowEditButton"), &C::ShowEditButton, &C::SetShowEditButton, true)
          .Boolean(QStringLiteral("ShowCopyButton"), &C::ShowCopyButton, &C::SetShowCopyButton, true)
          .Boolean(QStringLiteral("ShowSaveButton"), &C::ShowSaveButton, &C::SetShowSaveButton, true)
          .Boolean(QStringLiteral("ShowPrintButton"), &C::ShowPrintButton, &C::SetShowPrintButton, true)
          .Boolean(QStringLiteral("ShowPreviewButton"), &C::ShowPreviewButton, &C::SetShowPreviewButton, false)
          .Float(QStringLiteral("ZoomInOutFactor"), &C::ZoomInOutFactor, &C::SetZoomInOutFactor)
          .Boolean(QStringLiteral("FlatButtons"), &C::FlatButtons, &C::SetFlatButtons, false)
          .Boolean(QStringLiteral("FlatBorder"), &C::FlatBorder, &C::SetFlatBorder, false)
          .Boolean(QStringLiteral("SmallButtons"), &C::SmallButtons, &C::SetSmallButtons, false)
          .Build();
  return info;
}

TiPlotToolBar::TiPlotToolBar(TiPlotOwner* owner, const TiPlotHandlers& handlers) : TiPlotLayoutObject(owner, handlers) {
  struct TSpec {
    TiPlotToolBarButtonType type;
    const char* hint;
    const char* glyph;
    int group;
    bool shown;
  };
  auto add = [this](const TSpec& s) {
    const QString glyph = QString::fromLatin1(s.glyph);
    owned_.emplace_back(new TiPlotToolBarButton(*this, s.type, QString::fromLatin1(s.hint), glyph,
                                                QStringLiteral("SMALL") + glyph, s.group));
    TiPlotToolBarButton* button = owned_.back().get();
    button->SetVisible(s.shown);
    button->OnClick = [this, type = s.type](TiPlotObject*) { ClickButton(type); };
    buttons_[static_cast<size_t>(s.type)] = button;
    strip_.push_back(button);
  };
  auto separator = [this](std::initializer_list<TiPlotToolBarButtonType> after) {
    std::vector<TiPlotToolBarButton*> group;
    for (TiPlotToolBarButtonType t : after) group.push_back(buttons_[static_cast<size_t>(t)]);
    owned_.emplace_back(new TiPlotToolBarButton(*this, std::move(group)));
    strip_.push_back(owned_.back().get());
  };
  add({iptbbtResume, "Resume All (Tracking)", "AUTO", 0, true});
  add({iptbbtPause, "Pause All (Tracking)", "PAUSE", 0, true});
  separator({iptbbtResume, iptbbtPause});
  add({iptbbtScroll, "Scroll (Axes)", "SCROLL", 2, true});
  add({iptbbtZoom, "Zoom (Axes)", "ZOOM", 2, true});
  separator({iptbbtScroll, iptbbtZoom});
  add({iptbbtZoomOut, "Zoom Out All Axes", "ZOOMOUT", 0, true});
  add({iptbbtZoomIn, "Zoom In All Axes", "ZOOMIN", 0, true});
  separator({iptbbtZoomOut, iptbbtZoomIn});
  add({iptbbtSelect, "Select", "SELECT", -1, false});
  add({iptbbtZoomBox, "Zoom Box", "SCROLLBOX", -1, true});
  add({iptbbtCursor, "Cursor", "CURSOR", -2, true});
  // Select belongs to the group before this gap too: shown alone it would otherwise run
  // straight into the Edit button.
  separator({iptbbtSelect, iptbbtZoomBox, iptbbtCursor});
  add({iptbbtEdit, "Properties", "PROPERTIES", 0, true});
  separator({iptbbtEdit});
  add({iptbbtCopy, "Copy to Clipboard", "COPY", 0, true});
  add({iptbbtSave, "Save to File", "SAVE", 0, true});
  add({iptbbtPrint, "Print", "PRINTER", 0, true});
  add({iptbbtPreview, "Preview", "PREVIEW", 0, false});
  // Scroll starts down, as the axes start in scroll mode.
  Button(iptbbtScroll)->SetDown(true);
  for (TiPlotToolBarButton* button : strip_) button->OnInvalidate = [this](TiPlotObject*) { DoChange(); };
  Button(iptbbtSelect)->OnDownChange = [this](TiPlotObject*) { SelectDownChanged(); };
  Button(iptbbtCursor)->OnDownChange = [this](TiPlotObject*) { CursorDownChanged(); };
  // A toolbar lies along the top; set before it announces itself.
  SetHorizontal(true);
}

TiPlotToolBar::~TiPlotToolBar() {
  BeforeDestructionInDestructor();
  // The buttons go first: their callbacks point into the toolbar.
  for (auto& button : owned_) button->DetachFromChart();
  owned_.clear();
}

TiPlotComponent* TiPlotToolBar::Chart() const { return dynamic_cast<TiPlotComponent*>(Owner()); }

TiPlotToolBarButton* TiPlotToolBar::Button(int type) const {
  CheckIndex(type, kToolBarButtonCount);
  return buttons_[static_cast<size_t>(type)];
}

// --- Properties ---

bool TiPlotToolBar::ShowOf(std::initializer_list<int> types) const { return Button(*types.begin())->Visible(); }

void TiPlotToolBar::SetShowOf(std::initializer_list<int> types, bool value) {
  bool changed = false;
  for (int t : types) {
    changed = changed || Button(t)->Visible() != value;
    Button(t)->SetVisible(value);
  }
  if (changed) DoChange();
}

bool TiPlotToolBar::ShowResumeButton() const { return ShowOf({iptbbtResume}); }
void TiPlotToolBar::SetShowResumeButton(bool value) { SetShowOf({iptbbtResume}, value); }
bool TiPlotToolBar::ShowPauseButton() const { return ShowOf({iptbbtPause}); }
void TiPlotToolBar::SetShowPauseButton(bool value) { SetShowOf({iptbbtPause}, value); }
bool TiPlotToolBar::ShowAxesModeButtons() const { return ShowOf({iptbbtScroll, iptbbtZoom}); }
void TiPlotToolBar::SetShowAxesModeButtons(bool value) { SetShowOf({iptbbtScroll, iptbbtZoom}, value); }
bool TiPlotToolBar::ShowZoomInOutButtons() const { return ShowOf({iptbbtZoomOut, iptbbtZoomIn}); }
void TiPlotToolBar::SetShowZoomInOutButtons(bool value) { SetShowOf({iptbbtZoomOut, iptbbtZoomIn}, value); }
bool TiPlotToolBar::ShowSelectButton() const { return ShowOf({iptbbtSelect}); }
void TiPlotToolBar::SetShowSelectButton(bool value) { SetShowOf({iptbbtSelect}, value); }
bool TiPlotToolBar::ShowZoomBoxButton() const { return ShowOf({iptbbtZoomBox}); }
void TiPlotToolBar::SetShowZoomBoxButton(bool value) { SetShowOf({iptbbtZoomBox}, value); }
bool TiPlotToolBar::ShowCursorButton() const { return ShowOf({iptbbtCursor}); }
void TiPlotToolBar::SetShowCursorButton(bool value) { SetShowOf({iptbbtCursor}, value); }
bool TiPlotToolBar::ShowEditButton() const { return ShowOf({iptbbtEdit}); }
void TiPlotToolBar::SetShowEditButton(bool value) { SetShowOf({iptbbtEdit}, value); }
bool TiPlotToolBar::ShowCopyButton() const { return ShowOf({iptbbtCopy}); }
void TiPlotToolBar::SetShowCopyButton(bool value) { SetShowOf({iptbbtCopy}, value); }
bool TiPlotToolBar::ShowSaveButton() const { return ShowOf({iptbbtSave}); }
void TiPlotToolBar::SetShowSaveButton(bool value) { SetShowOf({iptbbtSave}, value); }
bool TiPlotToolBar::ShowPrintButton() const { return ShowOf({iptbbtPrint}); }
void TiPlotToolBar::SetShowPrintButton(bool value) { SetShowOf({iptbbtPrint}, value); }
bool TiPlotToolBar::ShowPreviewButton() const { return ShowOf({iptbbtPreview}); }
void TiPlotToolBar::SetShowPreviewButton(bool value) { SetShowOf({iptbbtPreview}, value); }

void TiPlotToolBar::SetZoomInOutFactor(double value) {
  // Below 1 a "zoom out" would zoom in; NaN and infinity would reach the axes' arithmetic.
  if (!(value >= 1.0)) value = 1.0;
  if (value > kMaxZoomInOutFactor) value = kMaxZoomInOutFactor;
  SetAndChange(zoomInOutFactor_, value);
}

void TiPlotToolBar::SetFlatButtons(bool value) { SetAndChange(flatButtons_, value); }
void TiPlotToolBar::SetFlatBorder(bool value) { SetAndChange(flatBorder_, value); }

void TiPlotToolBar::SetSmallButtons(bool value) {
  if (smallButtons_ == value) return;
  smallButtons_ = value;
  const int size = value ? 16 : 24;
  glyphs_ = TImageList(size, size);
  for (TiPlotToolBarButton* button : strip_) {
    button->glyphName_ = value ? button->smallGlyphName_ : button->largeGlyphName_;
    button->glyphIndex_ = -1;
  }
  DoLayoutChange();
}

// --- Layout ---

int TiPlotToolBar::RequiredSize(TCanvas*) { return smallButtons_ ? 28 : 36; }
int TiPlotToolBar::RequiredEndMargin(TCanvas*) { return 0; }

void TiPlotToolBar::PlaceAlongSide(const TiPlotLayoutFrame& frame) {
  if (!IsHorizontal()) {
    // Standing beside the data view it spans its share of the view's height, as a legend does.
    TiPlotLayoutObject::PlaceAlongSide(frame);
    return;
  }
  const int width = frame.Width - 2 * frame.Border;
  SetExtentAlong(frame.Border + RoundEven(StartPercent() / 100.0 * width), frame.Border + RoundEven(StopPercent() / 100.0 * width) - 1);
}

void TiPlotToolBar::RefreshEnabledStates() {
  bool anyPaused = false;
  bool anyTracking = false;
  if (TiPlotComponent* chart = Chart()) {
    auto look = [&](TiPlotAxis* axis) { (axis->TrackingEnabled() ? anyTracking : anyPaused) = true; };
    for (int i = 0; i < chart->XAxisCount(); ++i) look(chart->XAxis(i));
    for (int i = 0; i < chart->YAxisCount(); ++i) look(chart->YAxis(i));
  }
  Button(iptbbtResume)->SetEnabled(anyPaused);
  Button(iptbbtPause)->SetEnabled(anyTracking);
}

void TiPlotToolBar::LayoutButtons() {
  for (TiPlotToolBarButton* button : strip_) {
    if (!button->separator_) continue;
    bool shown = false;
    for (const TiPlotToolBarButton* b : button->after_) shown = shown || b->Visible();
    // Silently: a separator is part of the drawing, not a change of the toolbar.
    if (button->Visible() != shown) button->SetVisible(shown);
  }
  RefreshEnabledStates();
  const TRect r = GetLayoutRect();
  const int s = ButtonSize();
  const bool horizontal = IsHorizontal();
  int along = (horizontal ? r.Left : r.Top) + kInset;
  for (TiPlotToolBarButton* button : strip_) {
    if (!button->Visible()) {
      button->SetButtonRect(TRect());
      continue;
    }
    const int length = button->separator_ ? kSeparatorWidth : s;
    if (horizontal)
      button->SetButtonRect(Rect(along, r.Top + kInset, along + length, r.Top + kInset + s));
    else
      button->SetButtonRect(Rect(r.Left + kInset, along, r.Left + kInset + s, along + length));
    along += length;
  }
}

// --- Drawing ---

void TiPlotToolBar::LoadGlyphs() {
  for (TiPlotToolBarButton* button : strip_)
    if (!button->separator_ && button->glyphIndex_ < 0)
      button->glyphIndex_ = glyphs_.Add(ToolBarGlyph(button->glyphName_));
}

void TiPlotToolBar::Draw(TCanvas* canvas, TColor) {
  if (!canvas || !Visible()) return;
  LayoutButtons();
  TRect r = GetLayoutRect();
  r.Right += 1;
  canvas->Brush() = TBrush{clBtnFace, bsSolid};
  canvas->FillRect(r);
  if (!flatBorder_) DrawBevel(*canvas, r, 1);
  LoadGlyphs();
  for (TiPlotToolBarButton* button : strip_) button->Draw(canvas, clBtnFace);
}

// --- Input ---

TiPlotObject* TiPlotToolBar::GetObjectAt(int x, int y) {
  TiPlotObject* self = TiPlotLayoutObject::GetObjectAt(x, y);
  for (TiPlotToolBarButton* button : strip_)
    if (!button->separator_ && button->Visible() && PtInRect(button->GetButtonRect(), {x, y})) return button;
  return self;
}

// --- Commands ---

bool TiPlotToolBar::SelectButtonDown() const { return Button(iptbbtSelect)->Down(); }
bool TiPlotToolBar::ZoomBoxButtonDown() const { return Button(iptbbtZoomBox)->Down(); }

void TiPlotToolBar::ClickButton(TiPlotToolBarButtonType type) { RunWithEvents(type); }

bool TiPlotToolBar::RunWithEvents(TiPlotToolBarButtonType type) {
  TiPlotComponent* chart = Chart();
  int index = -1;
  if (chart) chart->ObjectKind(this, &index);
  // A handler may remove the toolbar: nothing of it is touched once it has gone.
  const TiPlotLifeGuard life(this);
  bool cancel = false;
  if (chart) chart->RaiseEvent(chart->OnBeforeToolBarButtonClick, index, type, cancel);
  if (cancel || life.Gone()) return false;
  switch (type) {
    case iptbbtEdit:
      // The editor is the whole of this command; it reports its own opening and closing.
      if (chart) chart->ShowEditor(nullptr);
      return true;
    case iptbbtCopy:
    case iptbbtSave:
    case iptbbtPrint:
    case iptbbtPreview:
      // A failure was shown to the user; it is not reported as a click done.
      if (!OutputCommand(type)) return true;
      break;
    default: RunCommand(type); break;
  }
  if (chart && !life.Gone()) chart->RaiseEvent(chart->OnToolBarButtonClick, index, type);
  return true;
}

void TiPlotToolBar::RunCommand(TiPlotToolBarButtonType type) {
  switch (type) {
    case iptbbtResume: ResumeCommand(); break;
    case iptbbtPause: PauseCommand(); break;
    case iptbbtScroll: AxesModeCommand(false); break;
    case iptbbtZoom: AxesModeCommand(true); break;
    case iptbbtZoomOut: ZoomInOutCommand(false); break;
    case iptbbtZoomIn: ZoomInOutCommand(true); break;
    case iptbbtSelect: SelectCommand(); break;
    case iptbbtZoomBox: ZoomBoxCommand(); break;
    case iptbbtCursor: CursorCommand(); break;
    case iptbbtEdit:
    case iptbbtCopy:
    case iptbbtSave:
    case iptbbtPrint:
    case iptbbtPreview: break;
  }
}

void TiPlotToolBar::ResumeCommand() {
  // Focus handlers run by the Cursor follow-up may remove the toolbar.
  const TiPlotLifeGuard life(this);
  if (Button(iptbbtCursor)->Down()) CursorCommand();
  if (life.Gone()) return;
  if (Button(iptbbtSelect)->Down()) SelectCommand();
  if (life.Gone()) return;
  TiPlotComponent* chart = Chart();
  if (!chart) return;
  chart->Master()->DeselectAll();
  chart->EnableAllTracking();
}

void TiPlotToolBar::PauseCommand() {
  if (TiPlotComponent* chart = Chart()) chart->DisableAllTracking();
}

void TiPlotToolBar::AxesModeCommand(bool zoom) {
  Button(iptbbtScroll)->SetDown(!zoom);
  Button(iptbbtZoom)->SetDown(zoom);
  TiPlotComponent* chart = Chart();
  if (!chart) return;
  const TiPlotAxis::TiPlotControlMode mode = zoom ? TiPlotAxis::ipcmZoom : TiPlotAxis::ipcmScroll;
  for (int i = 0; i < chart->XAxisCount(); ++i) chart->XAxis(i)->SetControlMode(mode);
  for (int i = 0; i < chart->YAxisCount(); ++i) chart->YAxis(i)->SetControlMode(mode);
}

void TiPlotToolBar::ZoomInOutCommand(bool in) {
  const TiPlotLifeGuard life(this);
  RunWithEvents(iptbbtPause);
  if (life.Gone()) return;
  TiPlotComponent* chart = Chart();
  if (!chart) return;
  // The factor is kept within 1 .. kMaxZoomInOutFactor by its setter.
  const double linear = in ? 1.0 / zoomInOutFactor_ : zoomInOutFactor_;
  const double decades = in ? -1.0 : 1.0;
  auto zoom = [&](TiPlotAxis* axis) { axis->Zoom(axis->IsLogarithmic() ? decades : linear); };
  for (int i = 0; i < chart->XAxisCount(); ++i) zoom(chart->XAxis(i));
  for (int i = 0; i < chart->YAxisCount(); ++i) zoom(chart->YAxis(i));
}

void TiPlotToolBar::SelectCommand() {
  TiPlotToolBarButton* select = Button(iptbbtSelect);
  select->SetDown(!select->Down());
  Button(iptbbtZoomBox)->SetDown(false);
}

void TiPlotToolBar::ZoomBoxCommand() {
  Button(iptbbtSelect)->SetDown(false);
  TiPlotToolBarButton* box = Button(iptbbtZoomBox);
  box->SetDown(!box->Down());
}

void TiPlotToolBar::CursorCommand() {
  TiPlotToolBarButton* cursor = Button(iptbbtCursor);
  cursor->SetDown(!cursor->Down());
}

void TiPlotToolBar::SelectDownChanged() {
  // The chart's select mode is this button's state; going down also stops the traces moving
  // under the mouse.
  TiPlotComponent* chart = Chart();
  if (chart && SelectButtonDown()) chart->DisableAllTracking();
  DoChange();
}

void TiPlotToolBar::CursorDownChanged() {
  TiPlotComponent* chart = Chart();
  if (!chart) return;
  const bool down = Button(iptbbtCursor)->Down();
  for (int i = 0; i < chart->DataCursorCount(); ++i) chart->DataCursor(i)->SetVisible(down);
  if (!down) return;
  chart->DisableAllTracking();
  if (chart->DataCursorCount() > 0) chart->DataCursor(0)->SetFocused(true);
}

bool TiPlotToolBar::OutputCommand(TiPlotToolBarButtonType type) {
  TiPlotComponent* chart = Chart();
  if (!chart) return false;
  switch (type) {
    case iptbbtCopy: return chart->CopyCommand();
    case iptbbtSave: return chart->SaveCommand();
    case iptbbtPrint: return chart->PrintCommand();
    case iptbbtPreview:
      try {
        chart->ShowPrintPreview();
        return true;
      } catch (...) {
        ShowMessage(FailureText(std::current_exception()));
        return false;
      }
    default: return false;
  }
}
