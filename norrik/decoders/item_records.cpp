#include "decoders/item_records.h"

#include "decoders/byte_text.h"

#include <charconv>
#include <cstdlib>

namespace norrik::decoders {

namespace {

constexpr size_t kWriteSize = size_t{1} << 16;

// The columns after the kind, by decoder.
const char* ByteColumns(DecoderKind decoder) {
    switch (decoder) {
    case DecoderKind::TwoWire:
        return "value,rw";
    case DecoderKind::Spi:
        return "so,si";
    case DecoderKind::Serial:
        break;
    }
    return "value";
}

void AppendInteger(std::string& text, int64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text.append(digits, end);
}

} // namespace

ItemRecords::ItemRecords(RecordFormat format, DecoderKind decoder,
                         uint32_t samplesPerMicrosecond, int64_t triggerSample,
                         std::function<void(std::string_view)> write)
    : format_(format), decoder_(decoder), samplesPerMicrosecond_(samplesPerMicrosecond),
      triggerSample_(triggerSample), write_(std::move(write)) {
    if (format_ == RecordFormat::Csv) {
        text_ = "first_sample,last_sample,time_s,time_from_trigger_s,kind,";
        text_ += ByteColumns(decoder_);
        text_ += '\n';
    }
}

void ItemRecords::Add(const DecodedItem& item) {
    const bool json = format_ == RecordFormat::Jsonl;
    text_ += json ? "{\"first_sample\":" : "";
    AppendInteger(text_, item.firstSample);
    text_ += json ? ",\"last_sample\":" : ",";
    AppendInteger(text_, item.lastSample);
    text_ += json ? ",\"time_s\":" : ",";
    AppendTime(item.firstSample);
    text_ += json ? ",\"time_from_trigger_s\":" : ",";
    AppendTime(item.firstSample - triggerSample_);
    text_ += json ? ",\"kind\":" : ",";
    AppendTextCell(ItemKindName(item.kind));
    switch (decoder_) {
    case DecoderKind::TwoWire:
        text_ += json ? ",\"value\":" : ",";
        if (CarriesByte(item.kind))
            AppendHexCell(item.value, false);
        else
            AppendEmptyCell();
        text_ += json ? ",\"rw\":" : ",";
        if (item.kind == ItemKind::Address)
            AppendTextCell((item.value & 1) != 0 ? "read" : "write");
        else
            AppendEmptyCell();
        break;
    case DecoderKind::Spi:
        text_ += json ? ",\"so\":" : ",";
        AppendHexCell(item.value, true);
        text_ += json ? ",\"si\":" : ",";
        AppendHexCell(item.dataIn, true);
        break;
    case DecoderKind::Serial:
        text_ += json ? ",\"value\":" : ",";
        if (CarriesByte(item.kind))
            AppendHexCell(item.value, true);
        else
            AppendEmptyCell();
        break;
    }
    text_ += json ? "}\n" : "\n";
    if (text_.size() >= kWriteSize)
        Flush();
}

// A problem comes before any item, and then not even a header row is written.
void ItemRecords::Flush() {
    if (!text_.empty() && write_ && problems_.empty())
        write_(text_);
    text_.clear();
}

void ItemRecords::Problem(const std::string& message) {
    std::string line = message;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    problems_.push_back(line);
}

// Seconds with nine decimals, worked out in whole nanoseconds: every rate is a whole number of
// samples per microsecond, so no sample's time is lost to rounding in a double.
void ItemRecords::AppendTime(int64_t samples) {
    if (samplesPerMicrosecond_ == 0) {
        AppendEmptyCell();
        return;
    }
    if (samples < 0)
        text_ += '-';
    const int64_t rate = samplesPerMicrosecond_;
    const int64_t nanoseconds = (std::llabs(samples) * 2000 + rate) / (2 * rate);
    AppendInteger(text_, nanoseconds / 1'000'000'000);
    char fraction[10] = {'.'};
    int64_t rest = nanoseconds % 1'000'000'000;
    for (int place = 9; place >= 1; --place) {
        fraction[place] = static_cast<char>('0' + rest % 10);
        rest /= 10;
    }
    text_.append(fraction, sizeof fraction);
}

void ItemRecords::AppendHexCell(uint8_t value, bool twoDigits) {
    const bool json = format_ == RecordFormat::Jsonl;
    if (json)
        text_ += '"';
    if (twoDigits)
        AppendHexDigits(text_, value);
    else
        AppendShortHex(text_, value);
    if (json)
        text_ += '"';
}

void ItemRecords::AppendEmptyCell() {
    if (format_ == RecordFormat::Jsonl)
        text_ += "null";
}

// Every text cell is a fixed word without quotes, commas or control characters.
void ItemRecords::AppendTextCell(std::string_view value) {
    const bool json = format_ == RecordFormat::Jsonl;
    if (json)
        text_ += '"';
    text_ += value;
    if (json)
        text_ += '"';
}

} // namespace norrik::decoders
