// The shared library shows the application exactly its exported functions, under their C names:
// nothing of its internals or of the C++ library it was built with.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <sstream>
#include <string>

namespace {

const std::set<std::string> kExports = {
    "BulkIn",         "BulkOut",         "CaptureStatus",         "ClosePod",
    "ControlIn",      "ControlOut",      "Copy",                  "CreateVectors",
    "DeleteBuffer",   "DemoData",        "DownloadFile",          "DownloadFirmware",
    "DownloadImage",  "EnumeratePods",   "GetFileBufferSize",     "GetMaxBufferSize",
    "InitializeKTLAPod", "InitializeKTPod", "LoggedData",         "MakeBuffer",
    "NewEnumeratePods", "OpenFileData",  "OpenFileDataAndConfig", "OpenPod",
    "Reset8051",      "SaveFileData",    "SaveFileDataAndConfig", "ScaleDataToScreen",
    "SearchForTrigger", "SingleCaptureStatus", "SpeedTest",       "StartCapture",
    "StopCapture",    "TestIt",
};

struct Symbol {
    char type;
    std::string name;
};

// The library's defined dynamic symbols as nm lists them: "address type name".
std::vector<Symbol> DefinedDynamicSymbols(std::string& failure) {
    const std::string command = std::string("nm -D --defined-only '") + PODCORE_LIBRARY + "'";
    const std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::vector<Symbol> symbols;
    if (!pipe) {
        failure = "cannot run " + command;
        return symbols;
    }
    char line[4096];
    while (std::fgets(line, sizeof line, pipe.get()) != nullptr) {
        std::istringstream fields(line);
        std::string address, type, name;
        if (fields >> address >> type >> name)
            symbols.push_back({type[0], name});
    }
    return symbols;
}

TEST(ExportedSymbols, ExactlyTheExportsWithCLinkage) {
    ASSERT_EQ(kExports.size(), 34u);
    std::string failure;
    const std::vector<Symbol> symbols = DefinedDynamicSymbols(failure);
    ASSERT_TRUE(failure.empty()) << failure;
    ASSERT_FALSE(symbols.empty()) << "nm listed nothing for " << PODCORE_LIBRARY;

    std::set<std::string> visible;
    for (const Symbol& symbol : symbols) {
        visible.insert(symbol.name);
        // C linkage: the plain name, not a mangled one, and a function in the text section.
        EXPECT_EQ(symbol.name.rfind("_Z", 0), std::string::npos) << "mangled: " << symbol.name;
        if (kExports.count(symbol.name) != 0)
            EXPECT_EQ(symbol.type, 'T') << symbol.name;
    }
    for (const std::string& name : kExports)
        EXPECT_EQ(visible.count(name), 1u) << "not exported: " << name;
    for (const std::string& name : visible)
        EXPECT_EQ(kExports.count(name), 1u) << "exported but not part of the interface: " << name;
}

} // namespace
