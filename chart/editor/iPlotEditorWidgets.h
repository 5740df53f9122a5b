#pragma once
// Small widgets and helpers of the chart editor: the colour chooser, the value box of a nested
// object, and the guard that keeps failures inside Qt's slots.
#include <QComboBox>
#include <QLabel>
#include <QToolButton>
#include <QWidget>
#include <exception>
#include <functional>
#include <utility>

#include "platform/Graphics.h"

// Shows the message of a failure that reached a slot (a failure must not reach the event loop).
void ReportSlotFailure(const std::exception* error);

// Wraps a slot so that no failure leaves it: the message of a known failure is shown, anything
// else is swallowed. Callable only with the arguments the slot takes, so that Qt hands a signal
// no more arguments than that.
template <class F>
struct TiGuardedSlot {
  F Slot;
  template <class... A>
  auto operator()(A&&... args) const -> decltype(Slot(std::forward<A>(args)...), void()) {
    try {
      Slot(std::forward<A>(args)...);
    } catch (const std::exception& e) {
      ReportSlotFailure(&e);
    } catch (...) {
      ReportSlotFailure(nullptr);
    }
  }
};
template <class F>
TiGuardedSlot<F> Guarded(F f) {
  return {std::move(f)};
}

// "Arial, 19 px, Bold Italic": how a font's value reads folded.
QString FontSummary(const TFont& font);

// A swatch of the colour for lists and buttons (clNone is crossed out).
QIcon ColorSwatch(TColor color);

// A colour chooser: a list of the named and system colours by name, the value itself when it
// has no name, and a button for the colour dialog.
class TiColorBox : public QWidget {
  Q_OBJECT
 public:
  explicit TiColorBox(QWidget* parent = nullptr);
  void SetColor(TColor color);
  TColor Color() const { return color_; }
  QComboBox* List() const { return list_; }
  QToolButton* MoreButton() const { return more_; }
  // Runs when the user chose a colour.
  std::function<void(TColor)> OnPicked;

 private:
  void ShowInList(TColor color);
  QComboBox* list_;
  QToolButton* more_;
  TColor color_ = clBlack;
};

// The value box of a nested object: its summary, and for fonts a button for the font dialog.
class TiObjectBox : public QWidget {
  Q_OBJECT
 public:
  explicit TiObjectBox(QWidget* parent = nullptr);
  void SetText(const QString& text, bool isFont);
  QString Text() const { return label_->text(); }
  QToolButton* FontButton() const { return font_; }
  std::function<void()> OnEditFont;

 private:
  QLabel* label_;
  QToolButton* font_;
};
