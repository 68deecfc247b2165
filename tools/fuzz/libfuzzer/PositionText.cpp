// libFuzzer target: any bytes as position text, then what the front ends do
// with a position they were given: count the men, write the text back,
// and look for a legal move.
#include <cstddef>
#include <cstdint>
#include <string>

#include "board/Fen.h"
#include "core/Status.h"
#include "frontend/shared/GameRecord.h"
#include "movegen/LegalMoves.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = [] {
        MainStatus.initVars();
        MainBoard.InitRep();
        return true;
    }();
    (void)ready;
    const std::string text(reinterpret_cast<const char*>(data), size);
    SetupBoard(text.c_str());
    RefreshPieceCounts(MainBoard);
    (void)Pos2FenText(MainBoard);
    (void)HasLegalMove(MainBoard);
    return 0;
}
