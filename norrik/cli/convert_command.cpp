#include "convert_command.h"

#include "interchange/capture_io.h"
#include "interchange/rate_choice.h"
#include "option_words.h"
#include "podcore_api.h"

namespace norrik::cli {

using interchange::CaptureFormat;

std::string ConvertUsage() {
    return "Usage: norrik-cli convert [--format nrk|sr|vcd|csv] [--rate MSPS]\n"
           "    [--csv-rows changes|samples] IN OUT\n"
           "Converts a capture between the program's own files (.nrk), sessions of other\n"
           "analyzers (.sr), value change dumps (.vcd) and tables (.csv). The input's format is\n"
           "told by its content, the output's by --format or else by OUT's extension.\n"
           "  --rate MSPS       read the input at 1, 2, 3, 4, 6, 8, 12, 16 or 24 million samples\n"
           "                    per second instead of the rate it records\n"
           "  --csv-rows ROWS   a table row per change (the default) or per sample\n"
           "What reading the input changed goes to standard error as notes.\n"
           "Exit status: 0 converted, 2 bad arguments, an input that cannot be read or an\n"
           "output that cannot be written.\n";
}

bool ParseConvertArguments(const std::vector<std::string>& arguments, ConvertRequest& request,
                           std::string& error) {
    std::vector<std::string> files;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i].rfind("--", 0) != 0) {
            files.push_back(arguments[i]);
            continue;
        }
        std::string name;
        std::string value;
        if (!TakeOption(arguments, i, name, value, error))
            return false;
        if (name == "--format") {
            request.format = interchange::FormatOfName(value);
            if (!request.format) {
                error = "unknown format '" + value + "': choose nrk, sr, vcd or csv";
                return false;
            }
        } else if (name == "--rate") {
            request.rateCode = interchange::RateCodeOfMsps(value);
            if (!request.rateCode) {
                error = "--rate takes 1, 2, 3, 4, 6, 8, 12, 16 or 24, not '" + value + "'";
                return false;
            }
        } else if (name == "--csv-rows") {
            if (value != "changes" && value != "samples") {
                error = "--csv-rows takes changes or samples, not '" + value + "'";
                return false;
            }
            request.write.csvRows =
                value == "samples" ? interchange::CsvRows::Samples : interchange::CsvRows::Changes;
        } else {
            error = "unknown option " + name + " for convert";
            return false;
        }
    }
    if (files.size() != 2) {
        error = "convert takes an input and an output file, not " + std::to_string(files.size()) +
                " files";
        return false;
    }
    request.input = files[0];
    request.output = files[1];
    if (!interchange::OutputFormat(request.output, request.format)) {
        error =
            "cannot tell the format of '" + request.output + "' from its extension: give --format";
        return false;
    }
    return true;
}

bool RunConvert(const ConvertRequest& request, std::vector<std::string>& notes,
                std::string& error) {
    PodcoreApi& pod = Podcore();
    interchange::OpenedCapture opened;
    if (!interchange::OpenCaptureIntoBuffer(pod, request.input, request.rateCode, opened, error)) {
        error = "cannot read '" + request.input + "': " + error;
        return false;
    }
    notes = opened.notes;
    const CaptureFormat format = *interchange::OutputFormat(request.output, request.format);
    if (!interchange::WriteBufferToFile(pod, opened.buffer, opened.fields, request.output, format,
                                        request.write, {}, error)) {
        error = "cannot write '" + request.output + "': " + error;
        return false;
    }
    return true;
}

} // namespace norrik::cli
