#pragma once

// Standard input, output and error as the programs rely on them.

// Puts /dev/null, opened for reading only, in place of each of the three standard streams that
// the process was started without. A closed standard output would otherwise be taken by the
// next file or socket the process opens (the X connection, say) and the log written into it.
// Writing to the stand-in fails, as writing to the closed stream would have.
void reserveStandardStreams();

// Whether the log (standard output) has failed to take a write: a full disk, a closed or
// broken output.
bool logIsLost();

// Says once on standard error, with `program` as its prefix, that the log is being lost, the
// first time it is called after the log has failed. The game plays on without its log.
void warnOnceIfLogIsLost(const char* program);
