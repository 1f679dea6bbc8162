// libFuzzer target for the key file: the input is a whole configs/keys.cfg.
// Each line goes through the splitter and processLine, checked against the
// independent line model; then the file is read as at start-up and checked
// against the file model. Any difference or broken invariant aborts.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "keyfile_support.h"
#include "keys.h"
#include "reader.h"

namespace {

keyfile::Sandbox* s_pSandbox = nullptr;

void check(bool fHolds)
{
    if (!fHolds)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // readConfigs reads configs/keys.cfg under the working directory, but
    // libFuzzer's own paths may be relative: the scratch directory is
    // entered only while a file is read.
    static keyfile::Sandbox sandbox;
    s_pSandbox = &sandbox;
    std::filesystem::current_path(sandbox.origin());
    key::init();
    createKeyMap();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string contents(reinterpret_cast<const char*>(data), size);

    keyfile::setBindings(keyfile::kDefaults);
    for (std::string const& line : keyfile::piecesOf(contents)) {
        const auto split = keyfile::splitLine(line);
        std::string name = "untouched";
        std::string value = "untouched";
        const bool accepted = extractLine(line, &name, &value);
        check(accepted == split.has_value());
        check(accepted ? name == split->first && value == split->second
                       : name == "untouched" && value == "untouched");
        const keyfile::Bindings expected = keyfile::applyModel(keyfile::Bindings::current(), line);
        processLine(line);
        check(keyfile::Bindings::current() == expected);
        check(keyfile::invariantsHold());
    }

    keyfile::setBindings(keyfile::kDefaults);
    s_pSandbox->write(contents);
    std::filesystem::current_path(s_pSandbox->directory());
    readConfigs();
    std::filesystem::current_path(s_pSandbox->origin());
    check(keyfile::invariantsHold());
    if (size < (1u << 20))
        check(keyfile::Bindings::current() == keyfile::fileModel(contents));
    return 0;
}
