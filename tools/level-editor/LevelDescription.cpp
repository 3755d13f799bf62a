#include "tools/level-editor/LevelDescription.h"

#include "app/MainLoop.h"
#include "level/FormattedRead.h"
#include "tools/level-editor/RecordsJson.h"
#include "tools/level-editor/SceneJson.h"
#include "tools/lint-level/LevelLint.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace {

const char* const kLevelFile = "Level.txt";

// Where each line of the text begins, in bytes.
std::vector<std::size_t> lineStarts(const std::string& text)
{
    std::vector<std::size_t> starts{0};
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
        starts.push_back(at + 1);
    }
    return starts;
}

// A finding and where it stands in the bytes of the text.
struct PlacedFinding {
    const Diagnostic* diagnostic = nullptr; // of the description's diagnostics
    std::size_t offset = 0;
    std::size_t length = 0;
    int record = -1;
};

std::vector<PlacedFinding> placeFindings(const std::vector<Diagnostic>& diagnostics,
                                         const std::string& text, const RecordSpans& spans)
{
    const std::vector<std::size_t> starts = lineStarts(text);
    std::vector<PlacedFinding> placed;
    for (const Diagnostic& diagnostic : diagnostics) {
        PlacedFinding finding;
        finding.diagnostic = &diagnostic;
        const std::size_t line = diagnostic.at.line;
        if (diagnostic.located && line >= 1 && line <= starts.size()) {
            finding.offset = std::min(starts[line - 1] + diagnostic.at.column - 1, text.size());
            std::size_t end = finding.offset;
            while (end < text.size() && !isLevelSpace(static_cast<unsigned char>(text[end]))) {
                ++end;
            }
            finding.length = end - finding.offset;
            finding.record = spans.recordAt(finding.offset);
        }
        placed.push_back(finding);
    }
    return placed;
}

void writeFindings(JsonWriter& json, const std::vector<PlacedFinding>& findings)
{
    json.beginArray();
    for (const PlacedFinding& finding : findings) {
        const Diagnostic& diagnostic = *finding.diagnostic;
        json.beginObject();
        json.key("line").integer(diagnostic.located ? static_cast<int64_t>(diagnostic.at.line) : 0);
        json.key("column").integer(diagnostic.located ? static_cast<int64_t>(diagnostic.at.column)
                                                      : 0);
        json.key("offset").integer(static_cast<int64_t>(finding.offset));
        json.key("length").integer(static_cast<int64_t>(finding.length));
        json.key("severity").string(diagnostic.severity == Severity::Error ? "error" : "warning");
        json.key("message").string(diagnostic.message);
        json.key("file").string(diagnostic.file);
        json.key("located").boolean(diagnostic.located);
        json.key("record").integer(finding.record);
        json.endObject();
    }
    json.endArray();
}

void tableFindings(DescriptionTables& tables, const std::vector<PlacedFinding>& findings)
{
    for (const PlacedFinding& finding : findings) {
        const Diagnostic& diagnostic = *finding.diagnostic;
        const auto from = static_cast<int32_t>(tables.messages.size());
        tables.messages += wellFormedUtf8(diagnostic.message);
        const auto at = [&diagnostic](std::size_t value) {
            return diagnostic.located ? static_cast<int32_t>(value) : 0;
        };
        tables.findingRows.insert(
            tables.findingRows.end(),
            {at(diagnostic.at.line), at(diagnostic.at.column), static_cast<int32_t>(finding.offset),
             static_cast<int32_t>(finding.length), diagnostic.severity == Severity::Error ? 0 : 1,
             diagnostic.located ? 1 : 0, finding.record, from,
             static_cast<int32_t>(tables.messages.size()), tables.stringIndex(diagnostic.file)});
    }
}

std::string failureJson(const std::string& message)
{
    JsonWriter json;
    json.beginObject().key("ok").boolean(false).key("message").string(message).endObject();
    return json.text();
}

// What the editor is told about a level folder, before it is written out.
struct Described {
    std::string failure; // why the folder cannot be described at all, or ""
    std::string text;
    std::vector<Diagnostic> diagnostics;
    std::string lintReport;
    RecordSpans spans{kSceneRecordLimit};
    LevelScene scene;
    std::vector<PlacedFinding> findings;
    std::vector<std::vector<int>> findingsOf; // per record: the indices of its findings
};

void describe(const std::string& folder, Described& described)
{
    std::error_code problem;
    if (!std::filesystem::is_directory(folder, problem)) {
        described.failure = "no folder '" + folder + "'";
        return;
    }
    const std::string path = (std::filesystem::path(folder) / kLevelFile).string();
    std::string& text = described.text;
    std::string unreadable;
    const bool readable = readLevelText(path, text, unreadable);
    if (readable) {
        LintFindings lint = lintText(text, kLevelFile, GameFolder{folder, ""});
        sortDiagnostics(lint.diagnostics);
        described.lintReport = lintOutput(lint, kLevelFile);
        described.diagnostics = std::move(lint.diagnostics);
    } else {
        // As quillfen-lint says it; the game plays its built-in scene alone.
        described.diagnostics.push_back(Diagnostic{
            kLevelFile, false, TextPosition{}, Severity::Error, "cannot be read: " + unreadable});
        described.lintReport = unreadableOutput(kLevelFile, unreadable);
    }
    described.scene = readScene(folder, readable ? &text : nullptr, described.spans);
    described.findings = placeFindings(described.diagnostics, text, described.spans);
    described.findingsOf.resize(described.spans.records().size());
    for (std::size_t index = 0; index < described.findings.size(); ++index) {
        const int record = described.findings[index].record;
        if (record >= 0) {
            described.findingsOf[static_cast<std::size_t>(record)].push_back(
                static_cast<int>(index));
        }
    }
}

// The description as JSON; with `tables`, its records, overlay, findings and lint report go
// there instead, and the scene leaves out the lines and arcs that the overlay draws.
std::string describedJson(const Described& described, DescriptionTables* tables)
{
    if (!described.failure.empty()) {
        return failureJson(described.failure);
    }
    const LevelScene& scene = described.scene;
    JsonWriter json;
    json.beginObject().key("ok").boolean(true);
    json.key("world").beginObject();
    const Vec2 size = scene.world ? scene.world->renderer.worldSize : Vec2{3000.0f, 680.0f};
    json.key("width").number(size.x).key("height").number(size.y);
    json.key("winningX").number(kWinningX).endObject();
    if (tables == nullptr) {
        json.key("records");
        writeRecords(json, described.spans.records(), described.findingsOf);
    } else {
        tableRecords(*tables, described.spans.records(), described.findingsOf);
        tableOverlay(*tables, scene);
    }
    json.key("scene");
    writeScene(json, scene, tables == nullptr);
    if (tables == nullptr) {
        json.key("overlay");
        writeOverlay(json, scene);
        json.key("findings");
        writeFindings(json, described.findings);
        json.key("lint").string(described.lintReport);
    } else {
        tableFindings(*tables, described.findings);
        tables->report = wellFormedUtf8(described.lintReport);
    }
    if (!scene.failure.empty()) {
        json.key("stops").string(scene.failure);
    }
    if (scene.cutAt >= 0) {
        // Only the first records are described and built; the lint has read them all.
        json.key("recordCount").integer(static_cast<int64_t>(described.spans.recordCount()));
        json.key("cutAt").integer(scene.cutAt);
    }
    if (tables != nullptr) {
        json.key("strings").beginArray();
        for (const std::string& text : tables->strings) {
            json.string(text);
        }
        json.endArray();
    }
    json.endObject();
    return json.text();
}

} // namespace

std::string describeLevel(const std::string& folder)
{
    Described described;
    describe(folder, described);
    return describedJson(described, nullptr);
}

std::string describeLevel(const std::string& folder, DescriptionTables& tables)
{
    tables = DescriptionTables{};
    Described described;
    describe(folder, described);
    return describedJson(described, &tables);
}
