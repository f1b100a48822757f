// The one pseudo-random generator of the particle effects. Every emitter draws from the same
// sequence, so a run always shows the same particles.
#pragma once

// The next value of the sequence, in 0 to 32767.
int KvRandom();

// Puts the sequence back to its first value. Tests only: the program never reseeds.
void KvResetRandomSourceForTesting();
