#ifndef BENCHPLATFORM_H
#define BENCHPLATFORM_H

// What the benchmark needs of the operating system beyond the game's own platform layer.

// Where no display is named (no DISPLAY on X11), the game runs under SDL's dummy video driver,
// unless the caller picked a driver. Windows always has a desktop: nothing changes there.
void UseDummyVideoWithoutDisplay();

// Sends standard output nowhere until RestoreStandardOutput, flushing what was written before.
void SilenceStandardOutput();
void RestoreStandardOutput();

#endif
