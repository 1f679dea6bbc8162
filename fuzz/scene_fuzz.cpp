// libFuzzer target for the scene reader: the input is a whole file's text.
// Whatever the bytes, the reader must end with a scene or a reason, without
// a crash or a sanitizer report; a scene it reads must write out as text it
// reads back to the same scene.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "scene.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    scene::Scene scene;
    std::string error;
    if (!scene::parse(text, scene, error)) {
        if (error.empty())
            std::abort();
        return 0;
    }
    const std::string written = scene::write(scene);
    scene::Scene again;
    if (!scene::parse(written, again, error) || scene::write(again) != written)
        std::abort();
    return 0;
}
