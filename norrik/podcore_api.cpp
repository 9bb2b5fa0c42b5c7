#include "podcore_api.h"

#include <dlfcn.h>

namespace norrik {

std::vector<std::string> DefaultPodcoreCandidates(const std::string& programFolder) {
    return {programFolder + "/libpodcore.so", "libpodcore.so"};
}

bool LoadPodcore(const std::vector<std::string>& candidates, PodcoreApi& api, std::string& error) {
    void* library = nullptr;
    std::string reasons;
    for (const std::string& candidate : candidates) {
        library = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (library != nullptr)
            break;
        const char* reason = dlerror();
        reasons += "\n  " + (reason != nullptr ? std::string(reason) : candidate);
    }
    if (library == nullptr) {
        error = "The pod driver library libpodcore.so could not be loaded:" + reasons;
        return false;
    }
    PodcoreApi bound;
#define NORRIK_BIND_EXPORT(name)                                                                   \
    bound.name = reinterpret_cast<decltype(bound.name)>(dlsym(library, #name));                    \
    if (bound.name == nullptr) {                                                                   \
        error = "The pod driver library lacks the function " #name ".";                           \
        dlclose(library);                                                                          \
        return false;                                                                              \
    }
    NORRIK_PODCORE_EXPORTS(NORRIK_BIND_EXPORT)
#undef NORRIK_BIND_EXPORT
    // The library stays loaded for the life of the process, like the state it keeps.
    api = bound;
    return true;
}

PodcoreApi& Podcore() {
    static PodcoreApi api;
    return api;
}

} // namespace norrik
