// Logarithm and arc cosine for the game rules. The C library's versions may round
// differently from one machine to the next, and peers of a networked game must roll
// the same numbers: these use only +, -, *, / and sqrt, which IEEE arithmetic rounds
// the same way everywhere, so their results are the same bits on every machine.
// Both stay within an ulp or so of the exact value.
#pragma once

namespace Base {

// ln x; -infinity for 0, NaN below 0 and for NaN, infinity for infinity.
double PortableLog(double x);

// acos x in [0, pi]; NaN outside [-1, 1].
double PortableAcos(double x);

} // namespace Base
