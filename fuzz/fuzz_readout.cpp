// SPDX-License-Identifier: GPL-3.0-or-later
// The read-out's text over any value and settings: the fifteen display types with every
// precision, separator, sign, date pattern, state text and overflow indicator, and the number
// formatting routines beneath them. Checked: scientific fields have their documented width,
// and a value the read-out cannot show gives the overflow indicator exactly.

#include "FuzzInput.h"
#include "FuzzTargets.h"
#include "scales/Zel_math2.h"
#include "widgets/Zel_NumLab.h"

#include <cmath>

int fuzzReadout(const std::uint8_t *data, std::size_t size)
{
    FuzzInput in(data, size);
    NumLabFormat format;
    format.displayType = TDisplay(in.intIn(0, 14));
    format.precision = in.intIn(0, 15);
    format.comma = in.flag();
    format.forcePlusSign = in.flag();
    if (in.flag())
        format.dtFormat = in.text(40);
    if (in.flag())
        format.stateText = in.text(20);
    if (in.flag())
        format.overflowIndicator = in.text(12);
    const double value = in.number();
    const QString text = FormatNumLabValue(format, value);
    if (!std::isfinite(value) && format.displayType != dtState)
        FUZZ_REQUIRE(text == format.overflowIndicator, "NaN and infinities overflow");

    const int width = in.intIn(-5000, 5000);
    const int decimals = in.intIn(-5, 1200);
    const long double x = in.number();
    const QString fixed = FormatFixed(width, decimals, x);
    const int m = std::min(std::abs(width), 4096);
    if (decimals != -2)
        FUZZ_REQUIRE(fixed.size() >= m, "fixed fields are at least m characters wide");
    else if (std::isfinite(double(x)))
        FUZZ_REQUIRE(fixed.size() == std::clamp(m, 8, 24),
                     "scientific fields are m characters wide, at least 8 and at most 24");
    FormatWithPrefix(in.intIn(-20, 20), in.number());
    return 0;
}
