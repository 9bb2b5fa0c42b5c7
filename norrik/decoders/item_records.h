// Decoded items as records for scripts: CSV with one header row, or JSON Lines, one object per
// item, with the samples each spans, its time from sample 0 and from the trigger, its kind and
// its bytes as the text shows them.
#pragma once

#include "decoders/decode_procedure.h"
#include "decoders/decoded_item.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <string>
#include <vector>

namespace norrik::decoders {

enum class RecordFormat { Csv, Jsonl };

class ItemRecords : public ItemSink {
public:
    // `samplesPerMicrosecond` is the capture's rate (0 when it is not known, and the times are
    // then left empty); `triggerSample` is where the trigger lies. The records go to `write`
    // in pieces of some kilobytes, so that a long run never holds them all.
    ItemRecords(RecordFormat format, DecoderKind decoder, uint32_t samplesPerMicrosecond,
                int64_t triggerSample, std::function<void(std::string_view)> write);

    void Add(const DecodedItem& item) override;
    void Problem(const std::string& message) override;
    void End() override { Flush(); }

    // Writes the records not yet written (a CSV's header row first).
    void Flush();
    // The problems that kept the run from decoding, each one line without its line end.
    const std::vector<std::string>& Problems() const { return problems_; }

private:
    void AppendTime(int64_t samples);
    void AppendHexCell(uint8_t value, bool twoDigits);
    void AppendEmptyCell();
    void AppendTextCell(std::string_view value);

    const RecordFormat format_;
    const DecoderKind decoder_;
    const uint32_t samplesPerMicrosecond_;
    const int64_t triggerSample_;
    const std::function<void(std::string_view)> write_;
    std::string text_; // not yet written
    std::vector<std::string> problems_;
};

} // namespace norrik::decoders
