#include "tools/replay/TraceWriter.h"

void TraceWriter::writeStart(Game& world) { writeStateBlock(out, 0, world); }

void TraceWriter::writeStep(int64_t step, Game& world) { writeStateBlock(out, step, world); }
