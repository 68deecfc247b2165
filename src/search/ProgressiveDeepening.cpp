// Iterative deepening with node-budget time management, the fixed-depth
// driver of the benchmarks, and input polling during a search.
#include <cstdio>
#include <cstring>

#include "board/HashKeys.h"
#include "core/Log.h"
#include "core/Platform.h"
#include "core/Status.h"
#include "frontend/GameLoop.h"
#include "frontend/UCIProtocol.h"
#include "movegen/MoveGen.h"
#include "search/MoveHistory.h"
#include "search/SearchRoutines.h"

namespace {

constexpr int PollWordSize = 201; // a longer word is cut

long long TotalNodes() { return (long long)(Search.Nodes + Search.QNodes); }

// Whole seconds since the search started, rounded.
int ElapsedSeconds() { return (ClockMs() - MainStatus.SearchStartTime + 500) / 1000; }

bool IsMateScore(int v) { return v > 109899 || (v >= -110000 && v <= -109900); }

void MoveText(char* buffer, u64 from, u64 to, char promote) {
    fillmovestring(buffer, 0, char(SquareOf(from)), char(SquareOf(to)), promote, Search.PV[0], Search.PVLength);
}

// Reads the waiting word and hands it to the interpreter of the mode. At
// the end of input the interpreters get "quit".
int HandleInputWord(char* word) {
    if (!ReadWord(word, PollWordSize)) std::strcpy(word, "quit");
    return MainStatus.UCImode ? UCI.UCIPrep(word) : DoCommand(word);
}

} // namespace

int SearchRoutines::InputDetected() {
    const Status& s = MainStatus;
    if (!s.xboard && !s.UCImode) return 0;
    return WordWaiting() ? 1 : 0;
}

void SearchRoutines::PrepareSearch(ChessBoard& board, bool pushKey) {
    Status& s = MainStatus;
    board.InitPieceCounts();
    for (int row = 0; row < PVSlots; ++row)
        for (int slot = 0; slot < PVSlots; ++slot) PV[row][slot] = PVEntry{0, 0};
    for (int ply = 0; ply < MaxSearchPly; ++ply) Killers[ply][0] = Killers[ply][1];
    s.SearchStartTime = ClockMs();
    genpawnhashcode(board.SideToMove, board, &board.PawnKingHash);
    u64 upper, lower;
    genhashcode(board.SideToMove, board.Castling, &upper, &lower, &board);
    if (pushKey) MoveList.InsertMoveHistory(upper, lower);
}

void SearchRoutines::SetBudget() {
    Status& s = MainStatus;
    if (s.ST) {
        s.TimePerMove = s.ST;
        LogF(" TimePeMove after ST = %d \n", s.TimePerMove);
        LogF(" EmergencyTimeThreshold after ST = %lld \n", (long long)s.EmergencyThreshold);
    } else if (s.MovesPerSession) {
        s.TimePerMove = i32(i64(s.TimeLeft) * 95 / s.MovesPerSession / 100);
        if (s.MovesPerSession < 4) s.TimePerMove /= 2;
    } else {
        s.TimePerMove = (s.GamePly > 120 && s.TimeInc <= 0) ? s.TimeLeft / 40 : s.TimeLeft / 30;
        if (!s.UCImode && s.GamePly <= BookPly + 7)
            s.TimePerMove += s.TimePerMove >> 1; // just out of the book
        else if ((s.GamePly % 10 == 0 || s.GamePly % 9 == 0) && s.TimeLeft > 60000)
            s.TimePerMove = (s.TimePerMove * 7) >> 2;
        LogF(" TimePerMove Before Inc = %d \n", s.TimePerMove);
        i64 emergency = i64(s.TimeInc > 0 ? s.TimeInc : 0) * 1000 + 2 * i64(s.TimePerMove);
        if (emergency > s.TimeLeft) {
            LogF("EmergencyTimeThreshold = %lld > TimeLeft %d\n", (long long)emergency, s.TimeLeft);
            emergency = i64(s.TimeInc) * 300;
        }
        LogF(" EmergencyTimeThreshold = %lld \n", (long long)emergency);
        if (s.TimeInc > 0) {
            if (s.TimeLeft > 20000)
                s.TimePerMove += s.TimeInc * 1000;
            else if (s.TimeLeft > 10000)
                s.TimePerMove += s.TimeInc * 500;
        }
        LogF(" TimePerMove After Inc = %d \n", s.TimePerMove);
        if (emergency <= i64(s.TimePerMove) + 1000) {
            s.TimePerMove = i32(emergency / 2);
            LogF(" Inc = %d \n", s.TimePerMove);
        }
        LogF(" Inc = %d \n", s.TimeInc);
        LogF(" EmergencyTimeThreshold after comparing to Inc = %lld \n", (long long)emergency);
        if (!s.xboard && !s.UCImode) {
            printf("Time Per Move = %d\n", s.TimePerMove);
            printf("Time Left = %d\n", s.TimeLeft);
            printf("DefaultMovesPerSession = %d\n", s.DefaultMovesPerSession);
        }
    }
    PollCountdown = s.Analyze ? s.NodesPerSecond / 8 : s.NodesPerSecond / 2;
    NodesPerMove = i64(s.NodesPerSecond / 2000) * s.TimePerMove;
    s.EmergencyThreshold = 2 * NodesPerMove;
    LogBudget();
}

void SearchRoutines::LogBudget() const {
    const Status& s = MainStatus;
    LogF(" Initial Nodes Per Second = %d\n", s.NodesPerSecond);
    LogF(" Initial NodesPeMove  = %lld   Emergency Threshold = %lld\n", (long long)NodesPerMove,
         (long long)s.EmergencyThreshold);
    LogF("Current TimerPerMove is %d\n", s.TimePerMove);
}

// Turns the elapsed time into a new speed estimate and node budget.
void SearchRoutines::RemeasureSpeed(const char* label, bool announce) {
    Status& s = MainStatus;
    const int secs = ElapsedSeconds();
    LogF("Time Consumption for %s was %f \n", label, double(secs));
    if (secs > 0) {
        const long long total = TotalNodes();
        LogF("Current TimerPerMove is %d\n", s.TimePerMove);
        LogF("Previous NPS was %d\n", s.NodesPerSecond);
        LogF("Previous NodesPerMove was %lld\n", (long long)NodesPerMove);
        LogF("Nodes for the first 7 ply %lld\n", total);
        s.NodesPerSecond = ClampToI32((long long)(double(total) / secs));
        NodesPerMove = i64(s.NodesPerSecond / 1000) * s.TimePerMove;
        if (announce) {
            printf("info nps %d time %f\n", s.NodesPerSecond, secs * 1000.0);
            fflush(stdout);
        }
        LogF(" Dynamic Nodes Per Second = %d\n", s.NodesPerSecond);
        s.EmergencyThreshold = 2 * NodesPerMove;
        LogF(" NodesPeMove after Dynamic Adjustment = %lld   Emergency Threshold = %lld\n", (long long)NodesPerMove,
             (long long)s.EmergencyThreshold);
    }
    FirstHalfDone = 1;
}

void SearchRoutines::DoubleBudget() {
    Status& s = MainStatus;
    NodesPerMove *= 2;
    s.TimePerMove = ClampToI32(2LL * s.TimePerMove);
    s.EmergencyThreshold *= 2;
}

// The one fail-low extension of a move: twice the budget, four times if time was already up.
void SearchRoutines::GrantFailLowExtension() {
    DoubleBudget();
    TimerExtended = 1;
    WriteLogFile("Timer Extended - Failing Low\n");
    if (TimeUp) {
        DoubleBudget();
        TimeUp = 0;
    }
}

// Spends the one fail-low extension of the move, or ends the search.
bool SearchRoutines::ExtendOrStopAtBoundary() {
    if (FailingLow && !TimerExtended && MainStatus.ST == 0) {
        GrantFailLowExtension();
        FirstHalfDone = 2;
        return false;
    }
    TimeUp = Stop = Abort = 1;
    return true;
}

void SearchRoutines::PrintStatus() const {
    printf("stat01: %d %lld %d %d %d\n", (ClockMs() - MainStatus.SearchStartTime) / 10, TotalNodes(), IterationDepth,
           RootMoveCount - RootMovesSearched, RootMoveCount);
    fflush(stdout);
}

bool SearchRoutines::Poll(int ply, int depth) {
    Status& s = MainStatus;
    PollPly = ply;
    PollDepth = depth;
    bool handled = false;
    if ((s.xboard || s.UCImode) && InputDetected()) {
        char word[PollWordSize];
        if (HandleInputWord(word) == 2) {
            printf(" Search Aborted due to receiveing following string: %s\n", word);
            Stop = Abort = TimeUp = 1;
            CommandStop = 1;
            return true;
        }
        if (!s.UCImode) DiscardBufferedInput();
        handled = true;
    }
    if (!handled && IterationDepth > 7 && s.Analyze == 1 && s.xboard == 1) PrintStatus();
    if (s.Analyze) {
        PollCountdown = s.NodesPerSecond / 8;
        return false;
    }
    if (s.Pondering) {
        PollCountdown = s.NodesPerSecond / 2;
        return false;
    }

    // The budget. An extension is granted once per move while failing low.
    auto extendOrStop = [&]() -> bool {
        if (FailingLow && !TimerExtended) {
            if (s.ST) {
                Abort = TimeUp = 1;
                return true;
            }
            GrantFailLowExtension();
            return false;
        }
        if (s.ST) {
            Abort = TimeUp = 1;
            return true;
        }
        TimeUp = 1; // the root ends after the current move
        return false;
    };
    const long long total = TotalNodes();
    if (FirstHalfDone == 0) {
        if (total > NodesPerMove || Stop == 1) {
            RemeasureSpeed("first half of search", true);
            if ((TotalNodes() > NodesPerMove || Stop == 1) && extendOrStop()) return true;
        }
    } else {
        // After a fail-low extension at an iteration boundary only the emergency limit applies.
        if (FirstHalfDone == 1 && (total > NodesPerMove || Stop == 1) && extendOrStop()) return true;
        if (total >= s.EmergencyThreshold || Stop == 1) {
            Abort = 1;
            return true;
        }
    }
    PollCountdown = s.Analyze ? s.NodesPerSecond / 8 : s.NodesPerSecond / 2;
    return false;
}

int SearchRoutines::ProgressiveDeepening(ChessBoard board, char maxDepthArg, u64* bestFrom, u64* bestTo,
                                         char* bestPromote) {
    Status& s = MainStatus;
    s.SelDepth = 0;
    s.TimeLastPly = 0;
    int maxDepth = maxDepthArg < 1 ? 100 : maxDepthArg;
    CacheHits = Nodes = QNodes = 0;
    BookMove = TimerExtended = Abort = TimeUp = Stop = CommandStop = 0;
    RootScore = 0;
    RootLegalMoves = 0;
    PrepareSearch(board, s.xboard != 0);

    if (s.FD == 0) {
        SetBudget();
        FirstHalfDone = 0;
    } else {
        s.DepthReached = s.FD;
        LogBudget();
        FirstHalfDone = 0;
        maxDepth = s.FD;
    }
    if (MainBoard.MaxDepth >= 1 && maxDepth > MainBoard.MaxDepth) maxDepth = MainBoard.MaxDepth;

    char text[MoveTextSize];
    int v = -110000, d = 1;
    bool easyMove = false;
    for (;; ++d) {
        if (!s.Pondering && !s.Analyze && !s.FD && TotalNodes() > NodesPerMove && d > 1) {
            if (FirstHalfDone == 0) {
                RemeasureSpeed("first 7 ply", false);
                if (TotalNodes() > NodesPerMove && ExtendOrStopAtBoundary()) break;
            } else if (FirstHalfDone == 1) {
                if (ExtendOrStopAtBoundary()) break;
            } else {
                TimeUp = Abort = Stop = 1;
                break;
            }
        }
        if (s.Analyze) {
            const int secs = ElapsedSeconds();
            if (secs > 0) s.NodesPerSecond = ClampToI32(TotalNodes() / secs);
            printf("info nps %d\ninfo time %d\n", s.NodesPerSecond, s.TimeLastPly * 1000);
            fflush(stdout);
        }

        s.SelDepth = 0;
        BestMoveChanges = -1;
        FailingLow = 0;
        board.MaxPly = d <= 6 ? 2 * d : 4 * d;
        const int previous = v;
        ChessBoard copy = board;
        v = SearchTreeRoot(MainBoard.SideToMove, copy, -110000, 110000, d, bestFrom, bestTo, bestPromote,
                           MainBoard.Castling);
        RootScore = v;

        if (BookMove) {
            printf("tellics kibitz Opening Book Move\n");
            fflush(stdout);
            WriteLogFile("Opening Book Move\n");
            break;
        }
        s.TimeLastPly = s.NodesPerSecond > 0 ? i32(TotalNodes() / s.NodesPerSecond) : 0;
        MoveText(text, *bestFrom, *bestTo, *bestPromote);
        if (s.TimeLastPly > 3) {
            LogF("Move Time: %d milliseconds", s.TimeLastPly);
            LogF(" %d  %d %d  %lld %s", d, v, s.TimeLastPly, TotalNodes(), text);
        }
        if (Abort) {
            LogF("New v from PreviousBestValue %d\n", previous);
            v = previous;
        }

        if (s.Post && s.TimeLastPly > 3) {
            printf("%d %d %d %lld %s\n", d, v / 10, s.TimeLastPly, TotalNodes(), text);
            fflush(stdout);
        }
        if (s.Post || s.Analyze) {
            if (s.UCImode)
                printf("info depth %d score cp %d time %d nodes %lld pv%s", d, v / 10, s.TimeLastPly * 1000,
                       TotalNodes(), text);
            else
                printf("%d %d %d %lld %s\n", d, v / 10, s.TimeLastPly, TotalNodes(), text);
            fflush(stdout);
        }

        if (Stop && !s.Pondering) {
            // A command ends the search without a move; the clock only ends the deepening.
            if (CommandStop) return v;
            break;
        }
        if (!s.FD && !s.Pondering) {
            if (s.ST) {
                if (ClockMs() - s.SearchStartTime > s.ST) break;
            } else {
                if (d == 1) easyMove = v - 2949 > SecondBest;
                if (d > 10 && BestMoveChanges == 0 && !FailingLow && easyMove) break;
                if (TotalNodes() >= NodesPerMove) {
                    s.DepthReached = d;
                    break;
                }
            }
        }
        if (s.Pondering) {
            if (v > 109899 || (v >= -110000 && v <= -109900) || RootLegalMoves == 1 || (v == 0 && d > 71)) {
                WaitWhilePondering();
                break;
            }
        }
        if (IsMateScore(v) || RootLegalMoves == 1 || s.FD == d || d + 1 > maxDepth) break;
    }

    // Finish: play the move and report it.
    if (v != 110001 && v != -110000 && (*bestFrom & (MainBoard.SideToMove ? MainBoard.BlackPieces
                                                                          : MainBoard.WhitePieces))) {
        char castleMask;
        MainBoard.MakeMove(*bestFrom, *bestTo, *bestPromote, &castleMask);
        MainBoard.Castling &= castleMask;
    }
    MoveText(text, *bestFrom, *bestTo, *bestPromote);
    if (s.Post && !Stop && !s.UCImode) {
        printf("%d %d %d %lld %s\n", d, v / 10, s.TimeLastPly, TotalNodes(), text);
        fflush(stdout);
    }
    if (s.UCImode) {
        // Without a legal move there is no line to show.
        printf("info depth %d score cp %d time %d nodes %lld", d, v / 10, s.TimeLastPly * 1000, TotalNodes());
        printf(*bestFrom != *bestTo ? " pv%s" : "\n", text);
        fflush(stdout);
    }
    if (s.Kibitz && !s.UCImode) {
        if (BookMove)
            printf("tellics kibitz Book Move\n");
        else
            printf("tellics kibitz ply=%d v=%d centipawns millisecs=%d Nodes=%lld nps=%d %s\n", s.DepthReached,
                   v / 10, s.TimeLastPly > 1 ? s.TimeLastPly : 1, TotalNodes(), s.NodesPerSecond, text);
        fflush(stdout);
    }
    return v;
}

// Pondering ends with the first command that arrives.
void SearchRoutines::WaitWhilePondering() {
    const Status& s = MainStatus;
    if (!s.xboard && !s.UCImode) return;
    while (!InputDetected()) WaitForInput();
    char word[PollWordSize];
    HandleInputWord(word);
    printf(" Search Aborted due to receiveing following string: %s\n", word);
    Stop = Abort = TimeUp = 1;
}

int SearchRoutines::SearchExactDepth(ChessBoard board, char depth, u64* bestFrom, u64* bestTo, char* bestPromote) {
    Status& s = MainStatus;
    s.TimeLastPly = s.SelDepth = 0;
    CacheHits = Nodes = QNodes = 0;
    int d = depth;
    if (d < 1) {
        d = 200;
        board.MaxPly = 400;
    } else {
        board.MaxPly = 2 * d;
    }
    BookMove = TimeUp = Abort = Stop = CommandStop = 0;
    RootLegalMoves = 0;
    PrepareSearch(board, true);
    s.DepthReached = s.FD;
    TimerExtended = 0;
    RootScore = 0;
    ChessBoard copy = board;
    return SearchTreeRoot(board.SideToMove, copy, -110000, 110000, d, bestFrom, bestTo, bestPromote, board.Castling);
}
