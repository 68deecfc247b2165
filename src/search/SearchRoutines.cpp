// The global search object and the observer it starts with.
#include "search/SearchRoutines.h"

namespace {

// Hears nothing and answers no: the search as the tests and tools run it.
SearchObserver silentObserver;

} // namespace

SearchRoutines Search;
int FTMoveList[FTMoveListSize];

SearchRoutines::SearchRoutines() : Observer(&silentObserver) {}
