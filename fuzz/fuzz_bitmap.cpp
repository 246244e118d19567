// The bitmap decoder on arbitrary bytes.
#include "bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string error;
    const auto image = decodeBitmap(data, size, &error);
    if (image) {
        const size_t expected = size_t(image->width) * size_t(image->height) * 3;
        if (image->width <= 0 || image->height <= 0 || image->pixels.size() != expected)
            __builtin_trap();
    } else if (error.empty()) {
        __builtin_trap();
    }
    return 0;
}
