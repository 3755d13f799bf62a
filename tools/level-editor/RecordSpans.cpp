#include "tools/level-editor/RecordSpans.h"

#include <algorithm>

void RecordSpans::observe(void* spans, const ReadReport& report)
{
    static_cast<RecordSpans*>(spans)->take(report);
}

void RecordSpans::reach(std::size_t end) { spans.back().to = std::max(spans.back().to, end); }

void RecordSpans::beginRecord(LevelHeader header)
{
    if (count++ >= kept) {
        return;
    }
    RecordSpan span;
    span.headerWord = headerWord(header);
    span.at = wordAt;
    span.from = wordFrom;
    span.to = wordTo;
    if (header == LevelHeader::Image || header == LevelHeader::Size) {
        KeySpan key;
        key.key = header == LevelHeader::Image ? LevelKey::PictureName : LevelKey::SizeValues;
        key.from = wordFrom;
        key.to = wordTo;
        span.keys.push_back(key);
    }
    spans.push_back(span);
    inRecord = true;
}

void RecordSpans::endRecord(const LevelRecord& record)
{
    if (inRecord) {
        spans.back().record = record;
    }
    inRecord = false;
}

void RecordSpans::take(const ReadReport& report)
{
    const std::size_t end = report.offset + report.runLength;
    if (report.event == ReadEvent::Word) {
        wordFrom = report.offset;
        wordTo = end;
        wordAt = report.at;
        return;
    }
    if (!inRecord) {
        return;
    }
    RecordSpan& span = spans.back();
    switch (report.event) {
    case ReadEvent::Key:
        span.keys.push_back(KeySpan{report.key, report.offset, end, {}});
        reach(end);
        break;
    case ReadEvent::Name: {
        span.named = true;
        span.nameFrom = report.offset;
        span.nameTo = end;
        ValueSpan value;
        value.from = report.offset;
        value.to = end;
        value.parsed = true;
        value.isName = true;
        value.name = std::string(report.word);
        if (!span.keys.empty()) {
            span.keys.back().values.push_back(value);
        }
        reach(end);
        break;
    }
    case ReadEvent::Value: {
        ValueSpan value;
        value.from = report.offset;
        value.to = end;
        value.parsed = report.parsed;
        value.endOfText = report.endOfText;
        value.number = report.number;
        if (!span.keys.empty()) {
            span.keys.back().values.push_back(value);
        }
        if (report.parsed) {
            reach(end);
        }
        break;
    }
    case ReadEvent::Word:
    case ReadEvent::RecordEnd: break;
    }
}

int RecordSpans::recordAt(std::size_t offset) const
{
    // Records follow one another in the text: the last that begins at or before the offset.
    const auto after =
        std::upper_bound(spans.begin(), spans.end(), offset,
                         [](std::size_t at, const RecordSpan& span) { return at < span.from; });
    if (after == spans.begin()) {
        return -1;
    }
    const auto index = static_cast<int>(after - spans.begin()) - 1;
    const RecordSpan& span = spans[static_cast<std::size_t>(index)];
    return offset < std::max(span.to, span.from + 1) ? index : -1;
}
