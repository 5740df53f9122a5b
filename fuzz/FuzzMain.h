#pragma once
// The entry points of a libFuzzer program: Qt runs offscreen with the program's fonts, and each
// input goes to one target of FuzzCases.h. An unexpected outcome aborts, which libFuzzer reports.
#include <QApplication>
#include <cstdlib>
#include <exception>

#include "fuzz/FuzzCases.h"
#include "platform/Graphics.h"

#define LUMIO_FUZZ_TARGET(target)                                                       \
  extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {                        \
    qputenv("QT_QPA_PLATFORM", "offscreen");                                            \
    /* never destroyed: Qt's thread storage is gone by the time statics are */        \
    static QApplication* app = new QApplication(*argc, *argv);                          \
    (void)app;                                                                          \
    RegisterPlatformFonts();                                                            \
    return 0;                                                                           \
  }                                                                                     \
  extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {   \
    try {                                                                               \
      fuzzcases::Run(target, data, size);                                               \
    } catch (const std::logic_error&) {                                                 \
      std::abort();                                                                     \
    } catch (const std::exception&) {                                                   \
      /* a platform error outside the loaders (a temporary file that cannot be made) */ \
    }                                                                                   \
    return 0;                                                                           \
  }
