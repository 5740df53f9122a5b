#include <gtest/gtest.h>
#include "chart/editor/iPlotEditor.h"
TEST(Editor, Builds) { TiPlotComponent chart; TiPlotEditorForm form(&chart); EXPECT_TRUE(form.Grid()); }
