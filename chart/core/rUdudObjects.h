#pragma once
// The chart object model: the base of everything that announces itself to a chart, the chart
// object with its change, rename, focus, mouse and keyboard protocol, the manager object, the
// layout object that takes room around the data view, and the small clickable button.
#include <QString>
#include <cstddef>
#include <functional>
#include <memory>
#include <type_traits>

#include "chart/core/iPlotTypes.h"
#include "platform/Graphics.h"

class TCanvas;
class TTimer;
class TPopupMenu;
class TImageList;
class TiPlotObject;
struct TiPlotDeleter;

// Everything that passes through a chart's insert and remove handlers: chart objects, their
// collections, translation entries and the translation table.
class TiPlotPersistent : public TiPersistent {
 public:
  TiPlotPersistent() = default;
  virtual ~TiPlotPersistent();
  TiPlotPersistent(const TiPlotPersistent&) = delete;
  TiPlotPersistent& operator=(const TiPlotPersistent&) = delete;

  // Announces the coming destruction while the object is still whole (its removal handlers see
  // its real class). Owners destroy through TiPlotDeleter, which calls this first; the base
  // destructor calls it as a last resort. Runs once.
  void BeforeDestruction();
  bool Destroying() const { return destroying_; }
  // The destruction was announced from a destructor (a plain delete): the parts of the derived
  // classes are gone already, so only addresses may be compared, and no event reaches the
  // program's handlers with it.
  bool PartlyDestroyed() const { return partlyDestroyed_; }
  // Expires when the object is gone: menu actions and callbacks that may outlive an object, or
  // destroy it, check it before they touch the object again.
  std::weak_ptr<const void> LifeToken() const { return life_; }

 protected:
  virtual void DoBeforeDestruction() {}
  // For the destructors of classes with removal duties: announces the destruction unless the
  // deleter did so while the object was whole.
  void BeforeDestructionInDestructor();

 private:
  friend class TiPlotOwnershipHandOff;
  bool destroying_ = false;
  bool partlyDestroyed_ = false;
  std::shared_ptr<const void> life_ = std::make_shared<int>(0);
  // While a new item announces itself: the holder that owns it until a collection takes it.
  std::unique_ptr<TiPlotPersistent, TiPlotDeleter>* pendingOwner_ = nullptr;
};

struct TiPlotDeleter {
  void operator()(TiPlotPersistent* item) const;
};

// Watches an object across a call that may destroy it (a handler of the program, a menu
// command): Gone tells afterwards whether it did. Watching nothing counts as gone.
class TiPlotLifeGuard {
 public:
  TiPlotLifeGuard() = default;
  explicit TiPlotLifeGuard(const TiPlotPersistent* object) : life_(object ? object->LifeToken() : std::weak_ptr<const void>()) {}
  bool Gone() const { return life_.expired(); }

 private:
  std::weak_ptr<const void> life_;
};

// The owning pointer of the chart: destruction is announced before the destructors run.
template <class T>
using TiPlotPtr = std::unique_ptr<T, TiPlotDeleter>;

// Hands a new item to whichever collection takes it while it announces itself.
class TiPlotOwnershipHandOff {
 public:
  // Runs `announce` on the item. A collection that takes the item calls TakeOwnership during
  // the announcement. Returns true when a collection took it; otherwise the item is destroyed
  // (and when the announcement fails before that, the failure goes on after it).
  static bool Announce(TiPlotPtr<TiPlotPersistent> item, const std::function<void(TiPlotPersistent*)>& announce);
  // The ownership of an item that is announcing itself; empty when nobody may take it.
  static TiPlotPtr<TiPlotPersistent> TakeOwnership(TiPlotPersistent* item);
};

// The kinds of chart object that live in the chart's per-kind collections, in the order the
// chart routes its notifications through those collections. ipokNone: an object no such
// collection holds (buttons, the data view's layout placeholders, an object that left).
enum TiPlotObjectKind : int {
  ipokToolBar, ipokLegend, ipokTable, ipokXAxis, ipokYAxis, ipokChannel, ipokDataView, ipokDataCursor, ipokLimit,
  ipokLabel, ipokAnnotation, ipokNone
};
constexpr int kPlotObjectKindCount = ipokNone;

// A notification handler. It may carry the object that made it (its origin), so that a receiver
// can tell at the cost of a comparison that its handler is still the one its chart gave; storing
// any other function clears the origin, copies keep it.
class TiPlotNotifyEvent : public std::function<void(TiPlotPersistent*)> {
  using Function = std::function<void(TiPlotPersistent*)>;
  template <class F>
  using IfOther = std::enable_if_t<!std::is_same_v<std::decay_t<F>, TiPlotNotifyEvent> && std::is_constructible_v<Function, F>, int>;

 public:
  TiPlotNotifyEvent() noexcept = default;
  TiPlotNotifyEvent(std::nullptr_t) noexcept {}
  template <class F, IfOther<F> = 0>
  TiPlotNotifyEvent(F&& f) : Function(std::forward<F>(f)) {}
  TiPlotNotifyEvent(Function f, const void* origin) : Function(std::move(f)), origin_(origin) {}
  TiPlotNotifyEvent(const TiPlotNotifyEvent&) = default;
  TiPlotNotifyEvent(TiPlotNotifyEvent&&) noexcept = default;
  TiPlotNotifyEvent& operator=(const TiPlotNotifyEvent&) = default;
  TiPlotNotifyEvent& operator=(TiPlotNotifyEvent&&) noexcept = default;
  template <class F, IfOther<F> = 0>
  TiPlotNotifyEvent& operator=(F&& f) {
    Function::operator=(std::forward<F>(f));
    origin_ = nullptr;
    return *this;
  }

  const void* Origin() const { return origin_; }

 private:
  const void* origin_ = nullptr;
};
using TiPlotObjectCallback = std::function<void(TiPlotObject*)>;

// The four handlers a chart gives to every object and collection.
struct TiPlotHandlers {
  TiPlotNotifyEvent OnRename;
  TiPlotNotifyEvent OnRemove;
  TiPlotNotifyEvent OnInsert;
  TiPlotNotifyEvent OnChange;
};

// What an object needs of the chart that owns it. The chart component implements it; tests use
// a small fake.
class TiPlotOwner {
 public:
  virtual ~TiPlotOwner() = default;
  // The object handled a press, move, release or wheel turn over itself; the chart raises its
  // events (a release becomes a click).
  virtual void ObjectMouseDown(TiPlotObject* object, TMouseButton button, TShiftState shift, int x, int y) = 0;
  virtual void ObjectMouseMove(TiPlotObject* object, TShiftState shift, int x, int y) = 0;
  virtual void ObjectMouseUp(TiPlotObject* object, TMouseButton button, TShiftState shift, int x, int y) = 0;
  virtual void ObjectMouseWheel(TiPlotObject* object, int wheelDelta, TShiftState shift, int x, int y) = 0;
  // Raises the popup event of the object's kind; true when the handler cancels the menu.
  virtual bool ObjectPopupHandled(TiPlotObject* object, int screenX, int screenY) = 0;
  virtual void ObjectGotFocus(TiPlotObject* object) = 0;
  virtual void ObjectLostFocus(TiPlotObject* object) = 0;
  // A fixed text as mapped by the chart's translation table.
  virtual QString Translate(const QString& text) const = 0;
  virtual TPoint ClientToScreen(TPoint client) const = 0;
  // Lets the chart's OnGetMouseCursor event of the object's kind change the shape the object
  // chose; objects call it from their GetMouseCursor.
  virtual void ObjectGetMouseCursor(TiPlotObject* object, TCursor& cursor) {}
  // The chart is in select mode (its toolbar's Select button is down): objects that interact
  // only then ask it.
  virtual bool SelectMode() const { return false; }
  // The chart's picture lists (0 to 2) that labels show pictures from; nullptr for none.
  virtual TImageList* ImageList(int index) { return nullptr; }
};

// Text and position of a hint an object offers while the mouse moves over it.
struct TiPlotHintData {
  QString Text;
  int X = 0;
  int Y = 0;
};

// One mouse event as the chart hands it to an object. X and Y are the client position as
// received (hit tests use it); XR and YR are the same with x and y exchanged when the chart's
// XYAxesReverse is set (value computations use them).
struct TiPlotMouseParams {
  TMouseButton Button = mbLeft;
  TShiftState Shift = 0;
  int X = 0;
  int Y = 0;
  int XR = 0;
  int YR = 0;
  TPopupMenu* PopupMenu = nullptr;
  TPoint Screen;
  bool DblClickActive = false;
  TiPlotHintData* Hint = nullptr;   // moves only
};

// Builds the parameters of a mouse event for an object, exchanging x and y when reversed.
TiPlotMouseParams MakeMouseParams(TMouseButton button, TShiftState shift, int x, int y, bool xyAxesReverse,
                                  TPopupMenu* menu = nullptr, TPoint screen = {});

// The defaults of a chart object's published properties, each written once: objects start from
// them and the property table declares them.
struct TiPlotObjectDefaults {
  bool Visible = true;
  bool Enabled = true;
  int Layer = 100;
  bool PopupEnabled = true;
  bool CanFocus = true;
};
inline constexpr TiPlotObjectDefaults kPlotObjectDefaults{};

class TiPlotObject : public TiPlotPersistent {
  TI_PERSISTENT
 public:
  TiPlotObject(TiPlotOwner* owner, const TiPlotHandlers& handlers);
  ~TiPlotObject() override;

  // --- Virtual operations, in slot order (0 to 2 are the persistence operations). ---
  // 3
  virtual void SetVisible(bool value);
  // 4
  virtual void SetEnabled(bool value);
  // 5
  virtual void SetXYAxesReverse(bool value);
  // 6
  virtual void DoChange();
  // 7
  virtual void DoLayoutChange();
  // 8: another object or a collection is being removed; objects that refer to others drop it.
  virtual void NotifyRemoving(TiPlotPersistent* item);
  // 9: another object was renamed (its PreviousName holds the old name).
  virtual void NotifyRenamed(TiPlotObject* object);
  // 10: another object received the focus.
  virtual void NotifyFocus(TiPlotObject* object);
  // 11
  virtual void PrepareDraw(TCanvas* canvas);
  // 12
  virtual void Draw(TCanvas* canvas, TColor backgroundColor);
  // 13 to 15: the mouse protocol.
  virtual void MouseDown(const TiPlotMouseParams& params);
  virtual void MouseMove(const TiPlotMouseParams& params);
  virtual void MouseUp(const TiPlotMouseParams& params);
  // 16
  virtual bool HitTest(const TiPlotMouseParams& params);
  // 17
  virtual bool MouseWheel(int wheelDelta, TShiftState shift, TPoint point);
  // 18 to 22
  virtual void DoMouseHover(const TiPlotMouseParams& params);
  virtual void DoMouseDownLeft(const TiPlotMouseParams& params);
  virtual void DoMouseDownRight(const TiPlotMouseParams& params);
  virtual void DoMouseDrag(const TiPlotMouseParams& params);
  virtual void DoMouseUp(const TiPlotMouseParams& params);
  // (slot 23 is reserved and used by no class)
  // 24
  virtual bool DoMouseWheel(int wheelDelta, TShiftState shift, TPoint point);
  // 25, 26
  virtual void DoGotFocus();
  virtual void DoLostFocus();
  // 27
  virtual void DoMouseLeave();
  // 28
  virtual TiPlotObject* GetObjectAt(int x, int y);
  // 29
  virtual TCursor GetMouseCursor(const TiPlotMouseParams& params);
  // 30: the context-menu key and Shift+F10 open the object's menu.
  virtual void DoKeyDown(int& key, TShiftState shift, TPopupMenu* menu);
  // 31
  virtual void NotifyInsert();
  // 32: empties the menu; descendants then add their items.
  virtual void AddMenuItems(TPopupMenu* menu);

  // --- Properties and state. ---
  const QString& Name() const { return name_; }
  void SetName(const QString& value);
  const QString& PreviousName() const { return previousName_; }
  TiPlotOwner* Owner() const { return owner_; }
  TShiftState ShiftState() const { return shiftState_; }
  void SetShiftState(TShiftState value) { shiftState_ = value; }
  bool Visible() const { return visible_; }
  bool Enabled() const { return enabled_; }
  int Layer() const { return layer_; }
  void SetLayer(int value);
  bool PopupEnabled() const { return popupEnabled_; }
  void SetPopupEnabled(bool value);
  bool CanFocus() const { return canFocus_; }
  void SetCanFocus(bool value);
  bool HasFocus() const { return hasFocus_; }
  bool UserCanEdit() const { return userCanEdit_; }
  void SetUserCanEdit(bool value) { userCanEdit_ = value; }
  bool XYAxesReverse() const { return xyAxesReverse_; }
  bool ReadyToDraw() const { return readyToDraw_; }
  void SetReadyToDraw(bool value) { readyToDraw_ = value; }
  TiPlotObject* HoverTarget() const { return hoverTarget_; }
  void SetHoverTarget(TiPlotObject* value) { hoverTarget_ = value; }
  bool MouseIsDown() const { return mouseIsDown_; }
  bool PopupPending() const { return popupPending_; }
  // The kind of the collection that holds the object; that collection sets it when it takes it.
  TiPlotObjectKind Kind() const { return kind_; }
  void SetKind(TiPlotObjectKind value) { kind_ = value; }

  // Callbacks; an absent one is skipped.
  TiPlotNotifyEvent OnChange;
  TiPlotObjectCallback OnLayoutChange;
  TiPlotNotifyEvent OnRemove;
  TiPlotNotifyEvent OnInsert;
  TiPlotNotifyEvent OnRename;
  TiPlotObjectCallback OnGotFocus;
  TiPlotObjectCallback OnEdit;
  TiPlotObjectCallback OnFocusChange;

  // --- Other operations. ---
  void SetFocused(bool value);
  QString Translate(const QString& text) const;
  // Layer as decimal text left-padded with zeros to at least 6 characters (100 gives 000100).
  QString LayerKey() const;
  // Appends "Edit..." (translated) when the user may edit the object.
  void AddEditMenuItem(TPopupMenu* menu);
  // Cuts every link into the chart (its callbacks, its owner, the object under the mouse): the
  // object has left the chart but lives on with whoever took it.
  void DetachFromChart();

 protected:
  void DoBeforeDestruction() override;
  void SetMouseIsDown(bool value) { mouseIsDown_ = value; }
  // A drag that turns into something else (a zoom box) takes back the menu the press promised.
  void CancelPendingPopup() { popupPending_ = false; }
  // The change protocol of a property: compare, store, notify (a repaint, or a layout change for
  // properties that move the object).
  template <class T>
  void SetAndChange(T& field, const T& value) {
    if (field == value) return;
    field = value;
    DoChange();
  }
  template <class T>
  void SetAndLayoutChange(T& field, const T& value) {
    if (field == value) return;
    field = value;
    DoLayoutChange();
  }
  // The client rectangle whose centre anchors the keyboard-opened popup menu; false when the
  // object shows no menu from the keyboard.
  virtual bool PopupAnchorRect(TRect& rect) const;

 private:
  QString name_;
  QString previousName_;
  TiPlotOwner* owner_;
  TShiftState shiftState_ = 0;
  bool visible_ = kPlotObjectDefaults.Visible;
  bool enabled_ = kPlotObjectDefaults.Enabled;
  int layer_ = kPlotObjectDefaults.Layer;
  bool popupEnabled_ = kPlotObjectDefaults.PopupEnabled;
  bool canFocus_ = kPlotObjectDefaults.CanFocus;
  bool hasFocus_ = false;
  bool userCanEdit_ = true;
  bool xyAxesReverse_ = false;
  bool readyToDraw_ = false;
  TiPlotObject* hoverTarget_ = nullptr;
  bool mouseIsDown_ = false;
  bool popupPending_ = false;
  TiPlotObjectKind kind_ = ipokNone;

 public:
  // Whether the release at (x, y) that ends a press on the object is its click, which the chart
  // then raises as the click event of its kind. Objects that are clicked only inside a part of
  // themselves (the data view's rectangle, a channel's legend row) say so.
  virtual bool ReleaseIsClick(int /*x*/, int /*y*/) { return true; }

 protected:
  // ReleaseIsClick for objects clicked only where their hit test takes the release point.
  bool HitAt(int x, int y) { return HitTest(MakeMouseParams(mbLeft, 0, x, y, XYAxesReverse())); }
};

// A chart object that lives in a chart's collections: it insists on an owner and handlers.
class TiPlotManagerObject : public TiPlotObject {
 public:
  TiPlotManagerObject(TiPlotOwner* owner, const TiPlotHandlers& handlers);
};

// Checks the owner and the four handlers in the order the chart reports them; `ownerMessage`
// differs between objects and collections.
void CheckOwnerAndHandlers(const void* owner, const TiPlotHandlers& handlers, const QString& ownerMessage);

// What the layout pass tells a layout object about the chart when the object places itself.
struct TiPlotLayoutFrame {
  int Border = 0;   // the bevel's allowance: 2, or 0 without a bevel
  int Width = 0;
  int Height = 0;
  int OuterMarginLeft = 0;
  int OuterMarginRight = 0;
  TRect DataView;   // the data view's rectangle as the levels around it leave it
};

// The rounds in which objects that run through the data view are placed: Cartesian masters,
// then Cartesian children (at a value of a master), then axes aligned to another.
enum TiPlotLayoutRound : int { iplrCartesianMaster, iplrCartesianChild, iplrAligned };

// An object that takes room along one side of the data view.
class TiPlotLayoutObject : public TiPlotManagerObject {
  TI_PERSISTENT
 public:
  TiPlotLayoutObject(TiPlotOwner* owner, const TiPlotHandlers& handlers);
  // Announces the destruction while the layout part is whole, so that the layout manager can
  // still read its place even after a plain delete.
  ~TiPlotLayoutObject() override;

  bool HitTest(const TiPlotMouseParams& params) override;   // 16
  void NotifyInsert() override;                              // 31
  // 34 to 37
  virtual bool IsHorizontal() const;
  virtual bool IsVertical() const;
  virtual int RequiredSize(TCanvas* canvas);
  virtual int RequiredEndMargin(TCanvas* canvas);

  // --- How the object takes part in the layout; the layout manager and the layout pass ask
  // these instead of asking for the object's kind. ---
  // Whether it is listed on a side of the data view at all (the data view and its placeholders
  // are not).
  virtual bool InSideLists() const { return true; }
  // Whether it holds a ZOrder level among the objects of its orientation (the data view does not;
  // its placeholders do).
  virtual bool HoldsLevel() const { return true; }
  // Whether the layout manager follows its changes of ZOrder and orientation at once.
  virtual bool FollowsLayoutChanges() const { return true; }
  // The orientation it takes from the chart's XYAxesReverse, if it follows that flag (axes).
  virtual bool HorizontalFor(bool xyAxesReverse, bool& horizontal) const { return false; }
  // Whether it takes room across its side: level thickness, stacking and end margins count it.
  virtual bool TakesSideRoom() const { return true; }
  // Whether it is stacked at both ends whatever its neighbours' ZOrder.
  virtual bool ForcesStackingInLayout() const { return false; }
  // Whether, on top, it sits at the chart's top edge; alone on top it leaves room below itself for
  // the end labels of vertical axes (the toolbar).
  virtual bool PinnedToTopEdge() const { return false; }
  // Whether it lies inside that room next to the data view (axes) rather than above it.
  virtual bool InsideTopEdgeRoom() const { return false; }
  // Sets its extent along its side. By default it spans its StartPercent .. StopPercent of the
  // data view.
  virtual void PlaceAlongSide(const TiPlotLayoutFrame& frame);
  // Places it through the data view in the given round; nothing for objects beside it.
  virtual void PlaceThroughDataView(const TiPlotLayoutFrame& frame, TiPlotLayoutRound round, TCanvas* canvas) {}

  double StopPercent() const { return stopPercent_; }
  void SetStopPercent(double value);
  double StartPercent() const { return startPercent_; }
  void SetStartPercent(double value);
  int ZOrder() const { return zOrder_; }
  void SetZOrder(int value);
  bool Horizontal() const { return horizontal_; }
  void SetHorizontal(bool value);
  bool FarSide() const { return farSide_; }
  void SetFarSide(bool value);
  bool StackedAtStart() const { return stackedAtStart_; }
  void SetStackedAtStart(bool value) { stackedAtStart_ = value; }
  bool StackedAtEnd() const { return stackedAtEnd_; }
  void SetStackedAtEnd(bool value) { stackedAtEnd_ = value; }

  TRect GetLayoutRect() const { return layoutRect_; }
  // Sets the four edges without notification.
  void SetLayoutRect(const TRect& rect) { layoutRect_ = rect; }
  int LayoutWidth() const { return layoutRect_.Right - layoutRect_.Left; }
  int LayoutHeight() const { return layoutRect_.Bottom - layoutRect_.Top; }
  // Sort keys of the side lists: ZOrder, and StartPercent rounded (ties to even), each as decimal
  // text left-padded with zeros to at least 3 characters.
  QString ZOrderKey() const;
  QString StartKey() const;

 protected:
  bool PopupAnchorRect(TRect& rect) const override;
  // Its span from `origin` over `length` pixels: StartPercent .. StopPercent of it, rounded to
  // the nearest pixel, as Left .. Right (horizontal) or Bottom .. Top (vertical, counted upward
  // from origin).
  void SpanAlong(int origin, int length);
  // Sets the two edges along its side (Left and Right, or Top and Bottom) without notification.
  void SetExtentAlong(int first, int second);

 private:
  double stopPercent_ = 100.0;
  double startPercent_ = 0.0;
  int zOrder_ = 0;
  bool horizontal_ = false;
  bool farSide_ = false;
  TRect layoutRect_;
  bool stackedAtStart_ = false;
  bool stackedAtEnd_ = false;
};

// A small clickable button inside a legend, toolbar or table, optionally repeating while held
// (first after 500 ms, then every 50 ms).
class TiPlotButton : public TiPlotObject {
 public:
  TiPlotButton(TiPlotOwner* owner, const TiPlotHandlers& handlers);
  ~TiPlotButton() override;

  void SetEnabled(bool value) override;                         // 4
  void DoMouseDownLeft(const TiPlotMouseParams& params) override;  // 19
  void DoMouseDrag(const TiPlotMouseParams& params) override;      // 21
  void DoMouseUp(const TiPlotMouseParams& params) override;        // 22

  TRect GetButtonRect() const { return buttonRect_; }
  void SetButtonRect(const TRect& rect) { buttonRect_ = rect; }
  int ButtonWidth() const { return buttonRect_.Right - buttonRect_.Left; }
  int ButtonHeight() const { return buttonRect_.Bottom - buttonRect_.Top; }
  bool Down() const { return down_; }
  void SetDown(bool value);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value) { groupIndex_ = value; }
  bool AutoRepeat() const { return autoRepeat_; }
  void SetAutoRepeat(bool value) { autoRepeat_ = value; }
  // The repeat timer, or nullptr while the button has none.
  TTimer* RepeatTimer() const { return repeatTimer_.get(); }
  bool FirstRepeat() const { return firstRepeat_; }

  TiPlotObjectCallback OnClick;
  TiPlotObjectCallback OnGroupClick;   // the owner keeps one button of a group down
  TiPlotObjectCallback OnInvalidate;
  TiPlotObjectCallback OnDownChange;

 protected:
  void DoBeforeDestruction() override;

 private:
  void RepeatTick();
  void DiscardTimer();

  TRect buttonRect_;
  bool down_ = false;
  int groupIndex_ = 0;
  std::unique_ptr<TTimer> repeatTimer_;
  bool inTick_ = false;
  bool firstRepeat_ = false;
  bool autoRepeat_ = false;
};
