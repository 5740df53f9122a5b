// Colour names and the colour text of unnamed values.
#include <gtest/gtest.h>

#include "platform/ColorNames.h"

TEST(ColorNames, NamesReadBothWays) {
  struct Case {
    TColor color;
    const char* text;
  };
  for (const Case& c : std::initializer_list<Case>{{0x000000, "clBlack"},
                                                   {0x0000FF, "clRed"},
                                                   {0x00FF00, "clLime"},
                                                   {0xFFFFFF, "clWhite"},
                                                   {0x1FFFFFFF, "clNone"},
                                                   {static_cast<TColor>(0xFF00000Fu), "clBtnFace"},
                                                   {static_cast<TColor>(0xFF000018u), "clInfoBk"},
                                                   {0x00563412, "$00563412"},
                                                   {static_cast<TColor>(0xFF0000FEu), "$FF0000FE"}}) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ColorToString(c.color).toStdString(), c.text);
    TColor read = 1;
    EXPECT_TRUE(TryStringToColor(QString::fromLatin1(c.text), read));
    EXPECT_EQ(read, c.color);
  }
}

TEST(ColorNames, ReadingIgnoresCaseAndRefusesOtherText) {
  TColor c = 0;
  EXPECT_TRUE(TryStringToColor(QStringLiteral(" CLRED "), c));
  EXPECT_EQ(c, 0x0000FF);
  EXPECT_TRUE(TryStringToColor(QStringLiteral("$ff"), c));
  EXPECT_EQ(c, 0xFF);
  c = 7;
  for (const char* bad : {"", "red", "$", "$123456789", "$xyz", "clRedd"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(TryStringToColor(QString::fromLatin1(bad), c));
    EXPECT_EQ(c, 7);
  }
}

TEST(ColorNames, EveryNamedAndSystemColourIsListedOnce) {
  // 20 named colours, clNone and clDefault, and the 25 system colours.
  EXPECT_EQ(ColorNames().size(), 47u);
  for (std::size_t i = 0; i < ColorNames().size(); ++i)
    for (std::size_t j = i + 1; j < ColorNames().size(); ++j) EXPECT_NE(ColorNames()[i].Value, ColorNames()[j].Value) << i << " " << j;
}
