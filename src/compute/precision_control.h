#pragma once
// The x87 precision control of the calling thread. Formulas in `extended` keep their 64-bit
// significand only while it selects extended precision; a thread inherits the setting of the
// thread that started it, and a library may have lowered it. Every thread that computes sets it
// at its start, so a lowered setting cannot change a result.
bool extended_precision_selected();
// Selects extended precision, leaving the rest of the control word (rounding, exception masks)
// as it is.
void select_extended_precision();
