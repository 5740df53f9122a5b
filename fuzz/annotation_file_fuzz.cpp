// libFuzzer program: annotation file input loaded into a chart that is then painted.
#include "fuzz/FuzzMain.h"

LUMIO_FUZZ_TARGET(fuzzcases::TTarget::AnnotationFile)
