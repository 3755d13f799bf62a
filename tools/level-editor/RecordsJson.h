#pragma once

#include "tools/level-editor/DescriptionTables.h"
#include "tools/level-editor/JsonWriter.h"
#include "tools/level-editor/RecordSpans.h"

#include <vector>

// Writes the records as the "records" array of the description: each with its header, kind,
// bytes, line and column, keys with their word and value ranges, name, what the game read, and
// the indices of its findings (`findingsOf`, one list per record).
void writeRecords(JsonWriter& json, const std::vector<RecordSpan>& records,
                  const std::vector<std::vector<int>>& findingsOf);

// The same records as rows of the tables (DescriptionTables.h).
void tableRecords(DescriptionTables& tables, const std::vector<RecordSpan>& records,
                  const std::vector<std::vector<int>>& findingsOf);
