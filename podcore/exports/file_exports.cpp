// Capture file exports: the application's settings format and the older text-field format.
#include "analysis/summary_cache.h"
#include "exports/capture_guard.h"
#include "exports/guard.h"
#include "exports/podcore.h"
#include "files/legacy_file.h"
#include "files/settings_file.h"

using namespace podcore;

// Both settings-file exports take the same 53 field pointers, in file order; they are named once
// here and gathered into one record for the format code.
// clang-format off
#define SETTINGS_FIELD_PARAMETERS \
    uint8_t* rateCode, uint32_t* sampleCount, uint8_t* byteField2, uint8_t* byteField3, \
    uint8_t* byteField4, uint8_t* byteField5, uint8_t* byteField6, uint8_t* byteField7, \
    uint8_t* byteField8, uint8_t* byteField9, uint8_t* byteField10, uint8_t* byteField11, \
    uint8_t* byteField12, uint8_t* byteField13, uint8_t* byteField14, uint8_t* byteField15, \
    uint8_t* byteField16, uint8_t* byteField17, uint8_t* byteField18, uint8_t* byteField19, \
    uint8_t* byteField20, uint8_t* byteField21, uint8_t* byteField22, uint8_t* byteField23, \
    uint8_t* byteField24, uint8_t* byteField25, uint8_t* byteField26, uint8_t* byteField27, \
    uint8_t* byteField28, uint8_t* byteField29, uint8_t* byteField30, uint8_t* byteField31, \
    uint8_t* byteField32, uint8_t* byteField33, uint8_t* byteField34, uint8_t* byteField35, \
    uint8_t* byteField36, uint8_t* byteField37, uint8_t* byteField38, uint8_t* byteField39, \
    uint8_t* byteField40, uint8_t* byteField41, uint8_t* byteField42, uint8_t* byteField43, \
    uint8_t* byteField44, uint32_t* wordField1, uint32_t* wordField2, uint32_t* wordField3, \
    uint32_t* wordField4, uint32_t* wordField5, uint32_t* wordField6, uint32_t* wordField7, \
    uint32_t* wordField8

#define GATHERED_SETTINGS_FIELDS \
    files::SettingsFields { \
        rateCode, sampleCount, \
        { \
            byteField2, byteField3, byteField4, byteField5, byteField6, byteField7, byteField8, \
            byteField9, byteField10, byteField11, byteField12, byteField13, byteField14, \
            byteField15, byteField16, byteField17, byteField18, byteField19, byteField20, \
            byteField21, byteField22, byteField23, byteField24, byteField25, byteField26, \
            byteField27, byteField28, byteField29, byteField30, byteField31, byteField32, \
            byteField33, byteField34, byteField35, byteField36, byteField37, byteField38, \
            byteField39, byteField40, byteField41, byteField42, byteField43, byteField44 \
        }, \
        { \
            wordField1, wordField2, wordField3, wordField4, wordField5, wordField6, wordField7, \
            wordField8 \
        } \
    }
// clang-format on

int32_t SaveFileDataAndConfig(SETTINGS_FIELD_PARAMETERS, const char* fileName) {
    return Guarded<int32_t>(
        0, [&] { return files::SaveSettingsFile(GATHERED_SETTINGS_FIELDS, fileName); });
}

int32_t OpenFileDataAndConfig(SETTINGS_FIELD_PARAMETERS, const char* fileName) {
    return GuardedUnlessCapturing("OpenFileDataAndConfig", 0, [&] {
        const int32_t samplesRead = files::OpenSettingsFile(GATHERED_SETTINGS_FIELDS, fileName);
        analysis::SummariseLibraryBuffer();
        return samplesRead;
    });
}

int32_t GetFileBufferSize(uint32_t* sampleCount, const char* fileName) {
    return Guarded<int32_t>(0,
                            [&] { return files::ReadSettingsSampleCount(sampleCount, fileName); });
}

int32_t SaveFileData(char* text1, char* text2, char* text3, char* text4, char* text5, char* text6,
                     char* text7, char* text8, uint8_t* byteField, const char* fileName) {
    const files::LegacyFields fields{{text1, text2, text3, text4, text5, text6, text7, text8},
                                     byteField};
    return Guarded<int32_t>(0, [&] { return files::SaveLegacyFile(fields, fileName); });
}

int32_t OpenFileData(char* text1, char* text2, char* text3, char* text4, char* text5, char* text6,
                     char* text7, char* text8, uint8_t* byteField, const char* fileName) {
    const files::LegacyFields fields{{text1, text2, text3, text4, text5, text6, text7, text8},
                                     byteField};
    return GuardedUnlessCapturing("OpenFileData", 0, [&] {
        const int32_t bytesRead = files::OpenLegacyFile(fields, fileName);
        analysis::SummariseLibraryBuffer();
        return bytesRead;
    });
}
