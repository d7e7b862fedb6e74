#pragma once

// Things the C library does on its own the first time they are needed, each of which opens a
// file: reading whether the kernel overcommits (the first time malloc gives back part of a
// worker thread's heap), the time zone (the first local or universal time), the message
// catalogue (the first error text), the number of processors. A process about to be sealed
// (Seal.h) does each of them once here, after which the C library keeps what it read; sealed,
// the first of them would kill it.
void SettleCLibrary();
