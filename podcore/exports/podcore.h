// The pod driver library's exported interface: 34 plain C functions over one process-wide
// state. Callers load the library by name and bind these symbols; nothing else is visible.
#pragma once

#include <cstdint>

#define PODCORE_API extern "C" __attribute__((visibility("default")))

// Pod discovery and opening.
PODCORE_API int32_t EnumeratePods(uint32_t* podIds);
PODCORE_API int32_t NewEnumeratePods(uint32_t* podIds);
PODCORE_API int32_t OpenPod(uint32_t podId);
PODCORE_API int32_t ClosePod();
PODCORE_API int32_t InitializeKTLAPod(uint32_t podId);
PODCORE_API int32_t InitializeKTPod(uint32_t podId);

// Firmware loading.
PODCORE_API int32_t Reset8051(uint8_t holdInReset);
PODCORE_API int32_t DownloadImage(const uint8_t* image);
PODCORE_API int32_t DownloadFile(const char* path);
PODCORE_API int32_t DownloadFirmware(const char* path);

// Capture.
PODCORE_API int32_t StartCapture(uint32_t rateCode, uint32_t clockingMode,
                                 const uint32_t* triggerSteps, int32_t stepCount,
                                 const uint32_t* buffer, uint32_t bufferLength,
                                 uint32_t postTriggerSamples);
PODCORE_API int32_t CaptureStatus(uint8_t* breaks, uint8_t* running, uint8_t* triggered,
                                  int32_t* startP, int32_t* endP, int32_t* trigger,
                                  uint8_t* full);
PODCORE_API int32_t SingleCaptureStatus();
PODCORE_API int32_t StopCapture();
PODCORE_API int32_t SpeedTest();
PODCORE_API int32_t TestIt(uint8_t rateCode);

// Sample buffer and sample access.
PODCORE_API uint32_t GetMaxBufferSize();
PODCORE_API uint32_t* MakeBuffer(uint32_t samples);
PODCORE_API int32_t DeleteBuffer(uint32_t* buffer);
PODCORE_API int32_t LoggedData(uint32_t index);
PODCORE_API int32_t DemoData();
PODCORE_API int32_t Copy(int32_t first, int32_t last);

// Sample analysis.
PODCORE_API void ScaleDataToScreen(const uint32_t* source, uint8_t* bit0, uint8_t* bit1,
                                   uint8_t* bit2, uint8_t* bit3, uint8_t* bit4, uint8_t* bit5,
                                   uint8_t* bit6, uint8_t* bit7, uint8_t* bit8, uint8_t* bit9,
                                   uint8_t* bit10, uint8_t* bit11, uint8_t* bit12,
                                   uint8_t* bit13, uint8_t* bit14, uint8_t* bit15,
                                   uint8_t* bit16, uint8_t* bit17, uint8_t* bit18,
                                   uint8_t* bit19, uint8_t* bit20, int32_t start,
                                   uint32_t length, uint32_t scale, uint32_t subscale);
PODCORE_API void CreateVectors(const uint8_t* levels, uint32_t* vectors, uint32_t count);
PODCORE_API int32_t SearchForTrigger(const uint8_t* pattern, uint32_t stepCount, uint32_t from,
                                     uint32_t forward);

// Capture files.
PODCORE_API int32_t SaveFileDataAndConfig(uint8_t* rateCode,
    uint32_t* sampleCount,
    uint8_t* byteField2,
    uint8_t* byteField3,
    uint8_t* byteField4,
    uint8_t* byteField5,
    uint8_t* byteField6,
    uint8_t* byteField7,
    uint8_t* byteField8,
    uint8_t* byteField9,
    uint8_t* byteField10,
    uint8_t* byteField11,
    uint8_t* byteField12,
    uint8_t* byteField13,
    uint8_t* byteField14,
    uint8_t* byteField15,
    uint8_t* byteField16,
    uint8_t* byteField17,
    uint8_t* byteField18,
    uint8_t* byteField19,
    uint8_t* byteField20,
    uint8_t* byteField21,
    uint8_t* byteField22,
    uint8_t* byteField23,
    uint8_t* byteField24,
    uint8_t* byteField25,
    uint8_t* byteField26,
    uint8_t* byteField27,
    uint8_t* byteField28,
    uint8_t* byteField29,
    uint8_t* byteField30,
    uint8_t* byteField31,
    uint8_t* byteField32,
    uint8_t* byteField33,
    uint8_t* byteField34,
    uint8_t* byteField35,
    uint8_t* byteField36,
    uint8_t* byteField37,
    uint8_t* byteField38,
    uint8_t* byteField39,
    uint8_t* byteField40,
    uint8_t* byteField41,
    uint8_t* byteField42,
    uint8_t* byteField43,
    uint8_t* byteField44,
    uint32_t* wordField1,
    uint32_t* wordField2,
    uint32_t* wordField3,
    uint32_t* wordField4,
    uint32_t* wordField5,
    uint32_t* wordField6,
    uint32_t* wordField7,
    uint32_t* wordField8,
    const char* fileName);
PODCORE_API int32_t OpenFileDataAndConfig(uint8_t* rateCode,
    uint32_t* sampleCount,
    uint8_t* byteField2,
    uint8_t* byteField3,
    uint8_t* byteField4,
    uint8_t* byteField5,
    uint8_t* byteField6,
    uint8_t* byteField7,
    uint8_t* byteField8,
    uint8_t* byteField9,
    uint8_t* byteField10,
    uint8_t* byteField11,
    uint8_t* byteField12,
    uint8_t* byteField13,
    uint8_t* byteField14,
    uint8_t* byteField15,
    uint8_t* byteField16,
    uint8_t* byteField17,
    uint8_t* byteField18,
    uint8_t* byteField19,
    uint8_t* byteField20,
    uint8_t* byteField21,
    uint8_t* byteField22,
    uint8_t* byteField23,
    uint8_t* byteField24,
    uint8_t* byteField25,
    uint8_t* byteField26,
    uint8_t* byteField27,
    uint8_t* byteField28,
    uint8_t* byteField29,
    uint8_t* byteField30,
    uint8_t* byteField31,
    uint8_t* byteField32,
    uint8_t* byteField33,
    uint8_t* byteField34,
    uint8_t* byteField35,
    uint8_t* byteField36,
    uint8_t* byteField37,
    uint8_t* byteField38,
    uint8_t* byteField39,
    uint8_t* byteField40,
    uint8_t* byteField41,
    uint8_t* byteField42,
    uint8_t* byteField43,
    uint8_t* byteField44,
    uint32_t* wordField1,
    uint32_t* wordField2,
    uint32_t* wordField3,
    uint32_t* wordField4,
    uint32_t* wordField5,
    uint32_t* wordField6,
    uint32_t* wordField7,
    uint32_t* wordField8,
    const char* fileName);
PODCORE_API int32_t GetFileBufferSize(uint32_t* sampleCount, const char* fileName);
PODCORE_API int32_t SaveFileData(char* text1, char* text2, char* text3, char* text4,
                                 char* text5, char* text6, char* text7, char* text8,
                                 uint8_t* byteField, const char* fileName);
PODCORE_API int32_t OpenFileData(char* text1, char* text2, char* text3, char* text4,
                                 char* text5, char* text6, char* text7, char* text8,
                                 uint8_t* byteField, const char* fileName);

// Raw transfers to the current pod.
PODCORE_API int32_t BulkIn(uint8_t pipe, uint32_t length, uint8_t* buffer);
PODCORE_API int32_t BulkOut(uint8_t pipe, uint32_t length, uint8_t* buffer);
PODCORE_API int32_t ControlIn(uint8_t request, uint32_t index, uint32_t value, uint32_t length,
                              uint8_t* buffer);
PODCORE_API int32_t ControlOut(uint8_t request, uint32_t index, uint32_t value, uint32_t length,
                               uint8_t* buffer);
