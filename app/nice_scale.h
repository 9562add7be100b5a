// A value scale of round numbers: steps of 1, 2, 2.5 or 5 times a power of
// ten, so that every division value is one a person would write on an axis.
#pragma once

#include "app/settings.h"

// The round scale for drawn values from lowest to highest with at most
// divisions steps (1 to 100). The scale always reaches 0: it starts at 0 when
// no value is below 0 and ends at 0 when none is above. When even the
// coarsest step needs more divisions (one division cannot span values on
// both sides of 0), the fewest that can are taken.
RoundScale deriveNiceScale(double lowest, double highest, int divisions);

// Division j's value: the double nearest to its exact decimal value, which
// is also what the number reader gives for that value's text.
double roundScaleValue(const RoundScale& scale, int j);
