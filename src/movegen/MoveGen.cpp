// The move list: the three generation entry points, reading moves out in
// place or best first, and the generator members nothing calls.
#include "movegen/MoveGen.h"

#include <climits>
#include <utility>

#ifdef __AVX512F__
#include <immintrin.h>
#endif

// The order of the generators is visible in every tie of the ordering
// values, so it must not change.
int MoveGen::GenerateAllMoves(char side, ChessBoard* board, char castling) {
    int index = GenCaptures(side, board);
    index = GenKnights(side, index);
    index = GenBishops(side, index);
    index = GenRooks(side, index);
    index = GenQueens(side, index);
    index = GenCastle(side, index, castling);
    index = GenKings(side, index);
    index = GenPawns(side, index);
    MoveCount = index;
    return index;
}

// Quiet pawn pushes come along with the pawn captures; the quiescence
// ordering gives them no value unless they promote.
int MoveGen::GenerateQuiesceMoves(char side, ChessBoard* board) {
    Board = board;
    int index = GenQueenCaptures(side, 0);
    index = GenRookCaptures(side, index);
    index = GenKnightCaptures(side, index);
    index = GenBishopCaptures(side, index);
    index = GenPawns(side, index);
    return GenKingCaptures(side, index);
}

int MoveGen::GenCaptures(char side, ChessBoard* board) {
    Board = board;
    int index = GenKnightCaptures(side, 0);
    index = GenBishopCaptures(side, index);
    index = GenRookCaptures(side, index);
    index = GenQueenCaptures(side, index);
    index = GenKingCaptures(side, index);
    MoveCount = index;
    return index;
}

int MoveGen::GenNonCaptures(char) { return 0; }
int MoveGen::GenChecks(char) { return 0; }
int MoveGen::GenerateMoves(char) { return 0; }

namespace {

// The first place of the highest of n values.
int FirstOfHighest(const i32* v, int n) {
#ifdef __AVX512F__
    // Sixteen values a step; the last step reads only the entries that exist.
    auto lanes = [n](int j) { return __mmask16(n - j >= 16 ? 0xffff : (1u << (n - j)) - 1); };
    __m512i m = _mm512_set1_epi32(INT32_MIN);
    for (int j = 0; j < n; j += 16)
        m = _mm512_mask_max_epi32(m, lanes(j), m, _mm512_maskz_loadu_epi32(lanes(j), v + j));
    const __m512i top = _mm512_set1_epi32(_mm512_reduce_max_epi32(m));
    for (int j = 0;; j += 16)
        if (const __mmask16 k = _mm512_mask_cmpeq_epi32_mask(lanes(j), _mm512_maskz_loadu_epi32(lanes(j), v + j), top))
            return j + __builtin_ctz(k);
#else
    int top = v[0];
    for (int j = 1; j < n; ++j) top = v[j] > top ? v[j] : top; // a loop the compiler turns into vector code
    int first = 0;
    while (v[first] != top) ++first;
    return first;
#endif
}

} // namespace

// The earliest of equal values comes out first. The quiescence arrays stay in place.
void MoveGen::SelectBest(int i, int count) {
    if (i >= count) return;
    const int best = i + FirstOfHighest(OrderValue + i, count - i);
    if (best != i) {
        std::swap(From[i], From[best]);
        std::swap(To[i], To[best]);
        std::swap(Promote[i], Promote[best]);
        std::swap(OrderValue[i], OrderValue[best]);
    }
}

Move MoveGen::NextMove(int i, int count) {
    SelectBest(i, count);
    return GetMove(i);
}
