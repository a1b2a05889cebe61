// Temporary stand-ins for the date/time axis routines of TScale, so that the scale links
// before the date/time drawing is in. This file is replaced by the date/time drawing
// (scale_datetime.cpp), which defines the same two members:
// - time axes decline, so they are drawn as numbers (with the 4 decimals that choosing
//   ftTime sets);
// - date/time axes are drawn as plain numbers.

#include "scales/Zel_Scale.h"

bool TScale::drawTimeScale(Canvas &, int)
{
    return false;
}

void TScale::drawDateTimeScale(Canvas &canvas, int baseLine)
{
    drawNumericAxis(canvas, baseLine);
}
