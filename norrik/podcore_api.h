// The binding to the pod driver library: loads libpodcore.so by name at run time and binds each
// export by name. The program never links the library, so a missing library or export is a
// clear message instead of a loader failure.
#pragma once

#include "exports/podcore.h"

#include <string>
#include <vector>

namespace norrik {

#define NORRIK_PODCORE_EXPORTS(X)                                                                  \
    X(EnumeratePods) X(NewEnumeratePods) X(OpenPod) X(ClosePod) X(InitializeKTLAPod)               \
    X(InitializeKTPod) X(Reset8051) X(DownloadImage) X(DownloadFile) X(DownloadFirmware)           \
    X(StartCapture) X(CaptureStatus) X(SingleCaptureStatus) X(StopCapture) X(SpeedTest) X(TestIt)  \
    X(GetMaxBufferSize) X(MakeBuffer) X(DeleteBuffer) X(LoggedData) X(DemoData) X(Copy)            \
    X(ScaleDataToScreen) X(CreateVectors) X(SearchForTrigger) X(SaveFileDataAndConfig)             \
    X(OpenFileDataAndConfig) X(GetFileBufferSize) X(SaveFileData) X(OpenFileData) X(BulkIn)        \
    X(BulkOut) X(ControlIn) X(ControlOut)

struct PodcoreApi {
#define NORRIK_DECLARE_EXPORT(name) decltype(&::name) name = nullptr;
    NORRIK_PODCORE_EXPORTS(NORRIK_DECLARE_EXPORT)
#undef NORRIK_DECLARE_EXPORT
};

// Where the library is looked for: the program's own folder first, then the normal search path.
std::vector<std::string> DefaultPodcoreCandidates(const std::string& programFolder);

// Loads the first candidate that opens and binds every export. On failure returns false and
// says why in `error`; the api is left unbound.
bool LoadPodcore(const std::vector<std::string>& candidates, PodcoreApi& api, std::string& error);

// The process-wide binding the application calls through.
PodcoreApi& Podcore();

} // namespace norrik
