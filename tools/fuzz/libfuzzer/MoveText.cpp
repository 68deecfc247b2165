// libFuzzer target: any bytes as move text, read as the console, xboard and
// UCI readers read it. A square is on the board or -1, whatever the text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "frontend/shared/GameRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (size_t at : {size_t(0), size_t(2)}) {
        if (at > text.size()) break;
        int square = SquareFromText(text.c_str() + at);
        if (square < -1 || square > 63) __builtin_trap();
    }
    return 0;
}
