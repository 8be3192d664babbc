#pragma once
// Counts the heap a stretch of a benchmark uses, through the program's own
// operator new and delete (HeapCounter.cpp replaces them). It counts only
// between start() and stop(), so timed work pays nothing for it. Counting
// from a starting point gives live and peak bytes relative to that point:
// blocks freed meanwhile that were allocated before count as negative,
// exactly as in a full count.

namespace heapcounter {

void start();
void stop();
// Bytes since start(): held now, and the most held at any moment.
long long liveBytes();
long long peakBytes();

}  // namespace heapcounter
