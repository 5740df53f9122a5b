#pragma once
// The toolbar's pictures, by their names: 24 x 24 pixels ("ZOOMIN"), or 16 x 16 for the names
// with the prefix "SMALL" ("SMALLZOOMIN"). They use the 16 colours of the platform's basic
// palette, teal (0, 128, 128) standing for the transparent background.
#include <QImage>
#include <QString>
#include <QStringList>

// The picture of a name; an unknown name gives a picture that is all background.
QImage ToolBarGlyph(const QString& name);
// Every name of a large picture ("AUTO", "PAUSE", ...); the small ones add "SMALL".
QStringList ToolBarGlyphNames();
