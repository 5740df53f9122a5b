#include "platform/Locale.h"

TFormatSettings& FormatSettings() {
  static TFormatSettings settings;
  return settings;
}
