// The global search object.
#include "search/SearchRoutines.h"

SearchRoutines Search;
int FTMoveList[600];

void SearchRoutines::AbortSearch() {
    Stop = 1;
    Abort = 1;
    TimeUp = 1;
    CommandStop = 1;
}
