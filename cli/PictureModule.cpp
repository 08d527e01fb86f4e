#include "PictureModule.h"

#include "GridlarkVersion.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

const PictureFunctions* open(std::string& error)
{
    std::error_code ignored;
    const fs::path program = fs::read_symlink("/proc/self/exe", ignored);
    const fs::path folder = program.parent_path();
    // Beside the program in the build tree; installed, in a folder of its own.
    const fs::path places[] = {folder, (folder / GRIDLARK_CLI_MODULE_DIR).lexically_normal()};
    for (const fs::path& place : places) {
        const fs::path file = place / PictureModule::kFileName;
        if (!fs::exists(file, ignored))
            continue;
        void* module = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            error = dlerror();
            return nullptr;
        }
        const auto entry = reinterpret_cast<decltype(&gridlark_cli_pictures)>(dlsym(module, "gridlark_cli_pictures"));
        if (!entry) {
            error = file.string() + ": no gridlark_cli_pictures in it";
            return nullptr;
        }
        const PictureFunctions* functions = entry();
        if (std::strcmp(functions->version, GRIDLARK_VERSION) != 0) {
            error = file.string() + " is from Gridlark " + functions->version + ", not " GRIDLARK_VERSION;
            return nullptr;
        }
        return functions;
    }
    error = "not found in " + places[0].string() + " nor in " + places[1].string();
    return nullptr;
}

} // namespace

const PictureFunctions* PictureModule::load()
{
    static std::string error;
    static const PictureFunctions* const functions = open(error);
    if (!functions)
        std::fprintf(stderr, "gridlark-cli: cannot load the picture module %s (%s); print and explain --format html "
                     "draw with it\n", kFileName, error.c_str());
    return functions;
}
