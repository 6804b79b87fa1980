#pragma once
// Precise short delays for bit timing on the parallel port.

// Busy-waits 0.95 of one period of rate (kHz) on the steady clock and returns the rate
// achieved in kHz. rate 0 (or a negative or non-finite rate) returns 0 at once. Never
// yields to the event loop: the periods are in the order of ten microseconds.
float attesaPrecisa(float rate);
