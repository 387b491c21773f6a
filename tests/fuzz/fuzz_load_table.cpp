// libFuzzer target: the table reader must survive any bytes without crashing, hanging or
// allocating out of proportion, and whatever it loads must write and read back the same.
#include "core/store/cell_table.h"
#include "core/store/text_codec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    dw::CellTable table(3, 2);
    try {
        table.fromFileText(dw::decodeFileBytes(bytes), "fuzz.grd");
    } catch (const dw::TableFileError&) {
        return 0;
    }
    const std::string written = table.toFileText();
    dw::CellTable again(1, 1);
    again.fromFileText(written, "fuzz.grd");
    if (again.toFileText() != written)
        std::abort();
    return 0;
}
