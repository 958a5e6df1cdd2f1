// Takes away the two things that made the same benchmark give other medians from one run to the
// next on an otherwise quiet machine: where the system happened to place the program in memory,
// and which processor it happened to run on at each moment.
#pragma once

namespace kesto::bench {

// Starts the program again, once, with its memory laid out the same on every run (no address
// randomisation), and keeps it and the programs it starts on one processor. Says on standard
// output what it did and the machine's load, so a figure taken on a busy machine shows as such.
void SteadyThisProcess(char** argv);

}  // namespace kesto::bench
