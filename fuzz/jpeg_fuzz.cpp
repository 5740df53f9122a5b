// libFuzzer program: jpeg input loaded into a chart that is then painted.
#include "fuzz/FuzzMain.h"

LUMIO_FUZZ_TARGET(fuzzcases::TTarget::Jpeg)
