// The global search object and its history-table upkeep.
#include "search/SearchRoutines.h"

#include <cstring>

SearchRoutines Search;
int FTMoveList[600];

void SearchRoutines::ClearHistory() {
    HistoryMax = 0;
    std::memset(History, 0, sizeof History);
}

void SearchRoutines::AbortSearch() {
    Stop = 1;
    Abort = 1;
    TimeUp = 1;
}
