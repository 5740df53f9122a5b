#pragma once
// The value names of the platform's and the foundation's enumerations that chart properties
// use, in ordinal order: property tables register them, so that an editor can offer them and a
// property file cannot store an ordinal that names no value.
#include <QStringList>

const QStringList& PenStyleNames();       // TPenStyle
const QStringList& BrushStyleNames();     // TBrushStyle
const QStringList& FillDirectionNames();  // TiFillDirection
