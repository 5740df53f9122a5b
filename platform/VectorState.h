#pragma once
// Some of Qt's raster routines for AVX processors return with the upper halves of the vector
// registers still in use. Code built for the baseline instruction set (SSE) then runs at about half
// its speed on processors that make every SSE instruction merge with those halves. A hot loop that
// runs after drawing calls clears them first; the halves hold nothing a caller keeps across a call.
void ClearUpperVectorHalves();
