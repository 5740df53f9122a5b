#pragma once
// The font and colour dialogs behind one seam, so that tests can answer them without a window.
#include <optional>
#include <vector>

#include "platform/Graphics.h"

class TPickerDialogs {
 public:
  virtual ~TPickerDialogs() = default;
  // Shows the font dialog on font; on OK the font takes the chosen face, height and style (its
  // colour stays) and the result is true.
  virtual bool ExecuteFont(TFont& font) = 0;
  // Shows the colour dialog on color; on OK color receives the chosen colour.
  virtual bool ExecuteColor(TColor& color) = 0;
};

// The dialogs in force; the Qt dialogs parented to the active window unless a recorder is set.
TPickerDialogs& Pickers();
// Installs other dialogs (a test recorder); nullptr goes back to the Qt dialogs.
void SetPickers(TPickerDialogs* pickers);

// A recorder for tests: notes every request and answers from its script (no answer cancels).
class TPickerRecorder : public TPickerDialogs {
 public:
  TPickerRecorder();
  ~TPickerRecorder() override;
  TPickerRecorder(const TPickerRecorder&) = delete;
  TPickerRecorder& operator=(const TPickerRecorder&) = delete;

  bool ExecuteFont(TFont& font) override;
  bool ExecuteColor(TColor& color) override;

  std::optional<TFont> FontAnswer;
  std::optional<TColor> ColorAnswer;
  std::vector<TFont> FontRequests;
  std::vector<TColor> ColorRequests;

 private:
  TPickerDialogs* previous_;
};
